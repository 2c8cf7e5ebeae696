#include "calc/LinhasEficiencia.h"

#include "calc/CamposSetorFunc.h"
#include "calc/TdmMarvessa.h"

namespace {

Cell celula(const std::optional<double>& v)
{
    return v ? Cell(*v) : Cell();
}

std::optional<double> opcional(const WorkField& f)
{
    return f.isNull() ? std::nullopt : std::optional<double>(f.asFloat());
}

} // namespace

std::vector<Cell> celulas(const LinhaSetorFuncionario& l)
{
    std::vector<Cell> c{l.setor,
                        l.funcionario,
                        l.nomeFuncionario,
                        celula(l.mediaEficiencia),
                        l.mediaEficienciaMes,
                        celula(l.somaEficiencia),
                        l.somaEficienciaMes,
                        std::int64_t(l.qtdeEficiencia),
                        std::int64_t(l.qtdeEficienciaMes)};
    // One value per declared field, in the same order.
    static_assert(std::size(kCamposSetorFunc) == 9);
    return c;
}

std::vector<LinhaSetor> TdmMarvessa::LinhasSetores()
{
    std::vector<LinhaSetor> out;
    if (!cdsSetores.active())
        return out;
    out.reserve(size_t(cdsSetores.recordCount()));
    for (cdsSetores.first(); !cdsSetores.eof(); cdsSetores.next())
        out.push_back({cdsSetoresCOD->asString(), cdsSetoresNOME->asString(), cdsSetoresORDEM->asInteger(),
                       opcional(*cdsSetoresMEDIA_EFICIENCIA), cdsSetoresMEDIA_EFICIENCIA_MES->asFloat()});
    return out;
}

std::vector<LinhaSetorFuncionario> TdmMarvessa::LinhasSetorFuncionario()
{
    std::vector<LinhaSetorFuncionario> out;
    if (!cdsSetorFunc.active())
        return out;
    out.reserve(size_t(cdsSetorFunc.recordCount()));
    for (cdsSetorFunc.first(); !cdsSetorFunc.eof(); cdsSetorFunc.next())
        out.push_back({cdsSetorFuncSETOR->asString(), cdsSetorFuncFUNCIONARIO->asString(),
                       cdsSetorFuncNOME_FUNCIONARIO->asString(), opcional(*cdsSetorFuncMEDIA_EFICIENCIA),
                       opcional(*cdsSetorFuncSOMA_EFICIENCIA), cdsSetorFuncMEDIA_EFICIENCIA_MES->asFloat(),
                       cdsSetorFuncSOMA_EFICIENCIA_MES->asFloat(), cdsSetorFuncQTDE_EFICIENCIA->asInteger(),
                       cdsSetorFuncQTDE_EFICIENCIA_MES->asInteger()});
    return out;
}
