#include "display/ConfigCiclo.h"

#include "app/Configuracoes.h"
#include "app/EnderecoBanco.h"

#include "app/FiltroFuncionarios.h"
#include "data/DayNumber.h"
#include "data/TextLists.h"

#include <cstdint>
#include <limits>

bool ConfigCiclo::trocaParada() const
{
    return tempoTroca <= 0 || tempoTroca == std::numeric_limits<std::int32_t>::max();
}

QString ConfigCiclo::erroInicial() const
{
    // Settings that cannot work are found before anything runs: no
    // database, an empty sector list, or an employee filter continuation
    // that does not compile.
    if (banco.isEmpty())
        return QString::fromUtf8(kSemBanco);
    if (const QString erro = lerEnderecoBanco(banco).erro; !erro.isEmpty())
        return erro;
    if (setores.isEmpty())
        return QStringLiteral("Nenhum setor configurado em \"Setores\".");
    return erroFiltroFuncionarios(funcionarios);
}

QString ConfigCiclo::motivoSemIndicadores(const Figuras& f) const
{
    const QStringList lista = splitCommaText(QString(setores).remove(QLatin1Char('\'')));
    QStringList ausentes;
    for (const QString& s : lista)
        if (!f.setorExiste(s))
            ausentes << s;
    if (!ausentes.isEmpty() && ausentes.size() == lista.size())
        return QStringLiteral("Nenhum dos setores configurados existe na tabela SETOR: %1.")
            .arg(ausentes.join(QStringLiteral(", ")));
    QString texto = QStringLiteral("Nenhum setor configurado tem números em %1. Setores configurados: %2.")
                        .arg(daynum::toDate(f.dia).toString(QStringLiteral("dd/MM/yyyy")),
                             lista.join(QStringLiteral(", ")));
    if (!ausentes.isEmpty())
        texto += QStringLiteral(" Sem linha na tabela SETOR: %1.").arg(ausentes.join(QStringLiteral(", ")));
    return texto;
}
