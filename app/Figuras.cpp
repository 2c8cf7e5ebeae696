#include "app/Figuras.h"

#include "app/FiltroFuncionarios.h"
#include "calc/TdmMarvessa.h"
#include "data/DayNumber.h"
#include "data/FilterExpression.h"
#include "data/TextLists.h"

Figuras lerFiguras(TdmMarvessa& calc, const QString& setores, const QString& funcionarios)
{
    Figuras f;
    f.dia = calc.DataLeitura();
    f.setoresPorValor = calc.SetoresNumericos();
    if (calc.cdsSetorAg.active()) {
        const WorkField& cod = calc.cdsSetorAg.fieldByName(QStringLiteral("COD_SE"));
        for (calc.cdsSetorAg.first(); !calc.cdsSetorAg.eof(); calc.cdsSetorAg.next())
            f.setoresExistentes.insert(f.setoresPorValor ? codigoPorValor(cod.asString()) : cod.asString());
    }

    // The configured sectors, by the sector list of the settings; each
    // one's employees, by the employee filter.
    const FilterExpression doSetor(QStringLiteral("COD IN(") + setores + QStringLiteral(")"),
                                   {{QStringLiteral("COD"), true, f.setoresPorValor}});
    const std::vector<FilterExpression::FieldInfo> campos =
        camposFiltroFuncionarios(f.setoresPorValor, calc.FuncionariosNumericos());
    const std::vector<LinhaSetorFuncionario> linhas = calc.LinhasSetorFuncionario();
    std::vector<std::vector<Cell>> valores;
    valores.reserve(linhas.size());
    for (const LinhaSetorFuncionario& l : linhas)
        valores.push_back(celulas(l));

    // Each sector's figures of the 31 days ending on the reading day.
    const double ultimo = daynum::datePart(f.dia);
    QHash<QString, std::vector<std::optional<double>>> tendencias;
    for (const LinhaSetorDia& d : calc.LinhasSetorDia()) {
        const double i = d.data - (ultimo - Figuras::kDiasTendencia + 1);
        if (i < 0 || i >= Figuras::kDiasTendencia)
            continue;
        auto& t = tendencias[d.setor];
        t.resize(Figuras::kDiasTendencia);
        t[size_t(i)] = d.mediaEficiencia;
    }

    for (const LinhaSetor& s : calc.LinhasSetores()) {
        if (!doSetor.matches({Cell(s.codigo)}))
            continue;
        PaginaSetor p;
        p.codigo = s.codigo;
        p.nome = s.nome;
        p.ordem = s.ordem;
        p.diario = s.mediaEficiencia.value_or(0);
        p.mensal = s.mediaEficienciaMes;
        p.tendencia = tendencias.value(s.codigo, std::vector<std::optional<double>>(Figuras::kDiasTendencia));
        const FilterExpression doFuncionario(filtroFuncionarios(funcionarios, p.codigo), campos);
        for (size_t i = 0; i < linhas.size(); ++i)
            if (doFuncionario.matches(valores[i]))
                p.funcionarios.push_back(linhas[i]);
        f.setores.push_back(std::move(p));
    }
    return f;
}

bool Figuras::setorExiste(const QString& codigo) const
{
    return setoresExistentes.isEmpty() ||
           setoresExistentes.contains(setoresPorValor ? codigoPorValor(codigo) : codigo);
}
