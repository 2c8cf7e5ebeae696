#include "app/Report.h"

#include "app/TdmPrinc.h"
#include "data/DayNumber.h"
#include "data/Platform.h"
#include "data/WorkTable.h"

#include <QJsonArray>
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

QJsonArray tableJson(WorkTable& table)
{
    QJsonArray rows;
    if (!table.active())
        return rows;
    for (table.first(); !table.eof(); table.next()) {
        QJsonObject row;
        for (const auto& f : table.fields()) {
            QJsonValue v;
            if (!f->isNull()) {
                switch (f->type()) {
                case FieldType::Text:
                    v = f->asString();
                    break;
                case FieldType::Integer:
                    v = f->asInteger();
                    break;
                case FieldType::Float:
                    v = f->asFloat();
                    break;
                case FieldType::Date:
                    v = daynum::toDate(f->asDateTime()).toString(Qt::ISODate);
                    break;
                case FieldType::DateTime:
                    v = daynum::toDateTime(f->asDateTime()).toString(Qt::ISODate);
                    break;
                }
            }
            row[f->name()] = v;
        }
        rows.append(row);
    }
    return rows;
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
    if (dmMarvessa) {
        root[QStringLiteral("tempo_setor")] = tableJson(dmMarvessa->cdsTempoSetor);
        root[QStringLiteral("setores")] = tableJson(dmMarvessa->cdsSetores);
        root[QStringLiteral("setor_func")] = tableJson(dmMarvessa->cdsSetorFunc);
    }
    const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fflush(stdout);
    return 0;
}
