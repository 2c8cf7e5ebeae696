#include "app/FiltroFuncionarios.h"

#include "calc/CamposSetorFunc.h"
#include "data/FilterExpression.h"

#include <QRegularExpression>

#include <utility>
#include <vector>

namespace {

bool soDigitos(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// The filter language's reason, in the technician's language.
QString motivo(const QString& detalhe)
{
    static const std::pair<QRegularExpression, QString> traducoes[] = {
        {QRegularExpression(QStringLiteral("^unterminated text$")), QStringLiteral("texto sem a aspa que o fecha")},
        {QRegularExpression(QStringLiteral("^unexpected character '(.*)'$")), QStringLiteral("caractere inesperado '\\1'")},
        {QRegularExpression(QStringLiteral("^empty expression$")), QStringLiteral("condição vazia")},
        {QRegularExpression(QStringLiteral("^unexpected end of expression$")),
         QStringLiteral("o texto acaba no meio de uma condição")},
        {QRegularExpression(QStringLiteral("^unexpected '\\)'$")),
         QStringLiteral("')' a mais: o programa já fecha o parêntese")},
        {QRegularExpression(QStringLiteral("^unexpected '(.*)'$")), QStringLiteral("'\\1' inesperado")},
        {QRegularExpression(QStringLiteral("^nesting deeper than (\\d+) levels$")),
         QStringLiteral("mais de \\1 parênteses abertos um dentro do outro")},
        {QRegularExpression(QStringLiteral("^expected an operator, IN or IS before '(.*)'$")),
         QStringLiteral("falta um operador (=, <>, <, >, IN, IS) antes de '\\1'")},
        {QRegularExpression(QStringLiteral("^expected a field, a text or a number before '(.*)'$")),
         QStringLiteral("falta um campo, um texto ou um número antes de '\\1'")},
        {QRegularExpression(QStringLiteral("^expected '\\)'$")), QStringLiteral("falta fechar um parêntese")},
        {QRegularExpression(QStringLiteral("^expected (.*)$")), QStringLiteral("esperava \\1")},
        {QRegularExpression(QStringLiteral("^unknown field '(.*)'$")),
         QStringLiteral("campo desconhecido '\\1' (os campos são, por exemplo, FUNCIONARIO e NOME_FUNCIONARIO)")},
        {QRegularExpression(QStringLiteral("^IN predicate list may not be empty$")),
         QStringLiteral("lista de IN vazia")},
    };
    for (const auto& [re, pt] : traducoes) {
        const QRegularExpressionMatch m = re.match(detalhe);
        if (m.hasMatch()) {
            QString out = pt;
            for (int i = 1; i <= m.lastCapturedIndex(); ++i)
                out.replace(QStringLiteral("\\%1").arg(i), m.captured(i));
            return out;
        }
    }
    return detalhe.isEmpty() ? QStringLiteral("texto não reconhecido") : detalhe;
}

// Parentheses the text opens and closes, outside quoted texts.
int saldoParenteses(const QString& texto)
{
    int saldo = 0;
    bool aspas = false;
    for (QChar c : texto) {
        if (c == QLatin1Char('\''))
            aspas = !aspas;
        else if (!aspas && c == QLatin1Char('('))
            ++saldo;
        else if (!aspas && c == QLatin1Char(')'))
            --saldo;
    }
    return saldo;
}

bool compila(const QString& funcionarios)
{
    try {
        FilterExpression(filtroFuncionarios(funcionarios, QStringLiteral("00")), camposFiltroFuncionarios());
        return true;
    } catch (const FilterError&) {
        return false;
    }
}

} // namespace

std::vector<FilterExpression::FieldInfo> camposFiltroFuncionarios(bool setoresPorValor, bool funcionariosPorValor)
{
    std::vector<FilterExpression::FieldInfo> out;
    for (const CampoDeclarado& c : kCamposSetorFunc) {
        const bool porValor = (c.codigo == CodigoCampo::Setor && setoresPorValor) ||
                              (c.codigo == CodigoCampo::Funcionario && funcionariosPorValor);
        out.push_back({QString::fromLatin1(c.nome), c.tipo == FieldType::Text, porValor});
    }
    return out;
}

QString filtroFuncionarios(const QString& funcionarios, const QString& codigo)
{
    QString constante = codigo;
    if (!soDigitos(codigo))
        constante = QLatin1Char('\'') + QString(codigo).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    QString filtro = QStringLiteral("Setor=") + constante;
    if (!funcionarios.isEmpty())
        filtro += funcionarios + QStringLiteral(")");
    return filtro;
}

QString erroFiltroFuncionarios(const QString& funcionarios)
{
    try {
        FilterExpression(filtroFuncionarios(funcionarios, QStringLiteral("00")), camposFiltroFuncionarios());
        return {};
    } catch (const FilterError& e) {
        // The position within the setting, after "Setor=00"; past its end
        // (the ")" the program adds) is its end.
        const qsizetype antes = QStringLiteral("Setor=00").size();
        const qsizetype pos = e.position() - antes;
        const QString onde = pos >= 1 && pos <= funcionarios.size()
                                 ? QStringLiteral("posição %1").arg(pos)
                                 : QStringLiteral("no fim do texto");
        QString texto = QStringLiteral("Configuração inválida em \"Funcionarios\", %1: %2").arg(onde, motivo(e.detail()));
        // A text that closes its own parenthesis: the program closes it.
        QString sem = funcionarios;
        while (sem.endsWith(QLatin1Char(' ')))
            sem.chop(1);
        if (saldoParenteses(funcionarios) == 0 && sem.endsWith(QLatin1Char(')'))) {
            sem.chop(1);
            if (compila(sem))
                texto += QStringLiteral(". O programa fecha o último parêntese: escreva \"%1\"").arg(sem.trimmed());
        }
        return texto;
    }
}
