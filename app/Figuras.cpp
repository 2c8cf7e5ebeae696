#include "app/Figuras.h"

#include "app/FiltroFuncionarios.h"
#include "calc/TdmMarvessa.h"
#include "data/TextLists.h"

namespace {

// The filters the pages set, taken off again however the reading ends.
class SemFiltros {
public:
    explicit SemFiltros(TdmMarvessa& calc) : calc_(calc) { limpar(); }
    ~SemFiltros() { limpar(); }
    SemFiltros(const SemFiltros&) = delete;
    SemFiltros& operator=(const SemFiltros&) = delete;

private:
    void limpar()
    {
        calc_.cdsSetores.setFiltered(false);
        calc_.cdsSetores.setFilter(QString());
        calc_.cdsSetorFunc.setFiltered(false);
        calc_.cdsSetorFunc.setFilter(QString());
    }
    TdmMarvessa& calc_;
};

} // namespace

Figuras lerFiguras(TdmMarvessa& calc, const QString& setores, const QString& funcionarios)
{
    Figuras f;
    f.dia = calc.DataLeitura();
    for (WorkTable* t : {&calc.cdsTempoSetor, &calc.cdsSetores, &calc.cdsSetorFunc})
        if (!t->active())
            calc.LimparCds(*t);
    f.setoresPorValor = calc.SetoresNumericos();
    if (calc.cdsSetorAg.active()) {
        const WorkField& cod = calc.cdsSetorAg.fieldByName(QStringLiteral("COD_SE"));
        for (calc.cdsSetorAg.first(); !calc.cdsSetorAg.eof(); calc.cdsSetorAg.next())
            f.setoresExistentes.insert(f.setoresPorValor ? codigoPorValor(cod.asString()) : cod.asString());
    }

    const SemFiltros semFiltros(calc);
    WorkTable& tabSetores = calc.cdsSetores;
    tabSetores.setFiltered(true);
    tabSetores.setFilter(QStringLiteral("COD IN(") + setores + QStringLiteral(")"));
    const WorkField& cod = *calc.cdsSetoresCOD;
    const WorkField& nome = *calc.cdsSetoresNOME;
    const WorkField& ordem = *calc.cdsSetoresORDEM;
    const WorkField& diario = *calc.cdsSetoresMEDIA_EFICIENCIA;
    const WorkField& mensal = *calc.cdsSetoresMEDIA_EFICIENCIA_MES;

    WorkTable& funcs = calc.cdsSetorFunc;
    const WorkField& nomeFunc = *calc.cdsSetorFuncNOME_FUNCIONARIO;
    const WorkField& diarioFunc = *calc.cdsSetorFuncMEDIA_EFICIENCIA;
    const WorkField& mensalFunc = *calc.cdsSetorFuncMEDIA_EFICIENCIA_MES;
    funcs.setFiltered(true);

    for (tabSetores.first(); !tabSetores.eof(); tabSetores.next()) {
        PaginaSetor p;
        p.codigo = cod.asString();
        p.nome = nome.asString();
        p.ordem = ordem.asInteger();
        p.diario = diario.asFloat();
        p.mensal = mensal.asFloat();
        funcs.setFilter(filtroFuncionarios(funcionarios, p.codigo));
        for (funcs.first(); !funcs.eof(); funcs.next())
            p.funcionarios.push_back({nomeFunc.asString(), diarioFunc.asFloat(), mensalFunc.asFloat()});
        f.setores.push_back(std::move(p));
    }
    return f;
}

bool Figuras::setorExiste(const QString& codigo) const
{
    return setoresExistentes.isEmpty() ||
           setoresExistentes.contains(setoresPorValor ? codigoPorValor(codigo) : codigo);
}
