#include "app/Report.h"

#include "app/TdmPrinc.h"
#include "data/DayNumber.h"
#include "data/Platform.h"

#include <QJsonDocument>

#include <cstdio>

QJsonObject configurationJson(const TdmPrinc& dm)
{
    QJsonObject c;
    c[QStringLiteral("DataIndicador")] = daynum::toDateTime(dm.DataIndicador()).toString(Qt::ISODate);
    c[QStringLiteral("Simplificado")] = dm.Simplificado();
    c[QStringLiteral("TempoTroca")] = dm.TempoTroca();
    c[QStringLiteral("Funcionarios")] = dm.Funcionarios();
    c[QStringLiteral("PorFuncionario")] = dm.PorFuncionario();
    c[QStringLiteral("Setores")] = dm.Setores();
    c[QStringLiteral("Database")] = dm.ConnectionParams().Database;
    c[QStringLiteral("DatabaseAccess")] = dm.ConnectionParams().DatabaseAccess;
    c[QStringLiteral("Versao")] = dm.Versao();
    return c;
}

int runReport(QCoreApplication&)
{
    static platform::StderrMessageBoxes boxes;
    platform::setMessageBoxes(&boxes);
    bool ok = false;
    auto dm = CreateDmPrinc(&ok);
    if (!ok || platform::terminateRequested())
        return 1;
    QJsonObject root;
    root[QStringLiteral("configuracao")] = configurationJson(*dm);
    const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fflush(stdout);
    return 0;
}
