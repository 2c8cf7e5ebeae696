#include "calc/LinhasEficiencia.h"

#include "calc/CamposSetorFunc.h"
#include "calc/TdmMarvessa.h"

namespace {

std::optional<double> opcional(const WorkField& f)
{
    return f.isNull() ? std::nullopt : std::optional<double>(f.asFloat());
}

// A declared field's value in the row, as the table stores it.
Cell celula(const LinhaSetorFuncionario& l, const MembroLinha& m)
{
    return std::visit(
        [&](auto membro) -> Cell {
            const auto& v = l.*membro;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::optional<double>>)
                return v ? Cell(*v) : Cell();
            else if constexpr (std::is_same_v<T, std::int32_t>)
                return std::int64_t(v);
            else
                return v;
        },
        m);
}

// A declared field of the table's current row into the typed row.
void ler(LinhaSetorFuncionario& l, const MembroLinha& m, const WorkField& f)
{
    std::visit(
        [&](auto membro) {
            auto& v = l.*membro;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QString>)
                v = f.asString();
            else if constexpr (std::is_same_v<T, std::optional<double>>)
                v = opcional(f);
            else if constexpr (std::is_same_v<T, double>)
                v = f.asFloat();
            else
                v = f.asInteger();
        },
        m);
}

} // namespace

std::vector<Cell> celulas(const LinhaSetorFuncionario& l)
{
    std::vector<Cell> c;
    c.reserve(std::size(kCamposSetorFunc));
    for (const CampoDeclarado& campo : kCamposSetorFunc)
        c.push_back(celula(l, campo.membro));
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
    const auto& campos = cdsSetorFunc.fields(); // the declared fields, in their order
    for (cdsSetorFunc.first(); !cdsSetorFunc.eof(); cdsSetorFunc.next()) {
        LinhaSetorFuncionario& l = out.emplace_back();
        for (size_t i = 0; i < std::size(kCamposSetorFunc); ++i)
            ler(l, kCamposSetorFunc[i].membro, *campos[i]);
    }
    return out;
}

std::vector<LinhaSetorDia> TdmMarvessa::LinhasSetorDia() const
{
    std::vector<LinhaSetorDia> out;
    QStringList setores = FSomaSetorDia.keys();
    setores.sort();
    for (const QString& setor : setores)
        for (const auto& [dia, sq] : FSomaSetorDia.value(setor))
            out.push_back({setor, dia, sq.first / sq.second, sq.second});
    return out;
}
