#include "tests/app/RelatorioGerado.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

QString mesGerado(const QString& agora)
{
    QProcess gen;
    gen.start(TOLVANEO_DEMO_DB, {"--end", "2026-11-05", "--now", agora, "--sectors", "7", "--fresh"});
    EXPECT_TRUE(gen.waitForFinished(60000));
    EXPECT_EQ(gen.exitCode(), 0);
    return QString::fromUtf8(gen.readAllStandardOutput());
}

std::string primeiraDiferenca(const QByteArray& a, const QByteArray& b)
{
    const QList<QByteArray> x = a.split('\n'), y = b.split('\n');
    for (qsizetype i = 0; i < std::min(x.size(), y.size()); ++i)
        if (x[i] != y[i])
            return "line " + std::to_string(i + 1) + ": " + x[i].toStdString() + " | " + y[i].toStdString();
    return "lengths " + std::to_string(x.size()) + " and " + std::to_string(y.size());
}

Relatorio relatorio(const IniFolder& folder, const QString& db, const QString& dataBase, int ciclos,
                    const QByteArray& banco)
{
    folder.write(QStringLiteral("[Tolvaneo]\nDataBase=%1\nSetores=01,02,03,04,05,06,07\n[Paths]\nDB=%2\n")
                     .arg(dataBase, db)
                     .toUtf8() +
                 (banco.isEmpty() ? QByteArray() : "[Banco]\n" + banco + "\n"));
    QProcess p;
    p.start(TOLVANEO_EXE, {"--report", "--ciclos", QString::number(ciclos), "--dir", folder.path()});
    EXPECT_TRUE(p.waitForFinished(300000));
    const QByteArray err = p.readAllStandardError();
    EXPECT_EQ(p.exitCode(), 0) << err.toStdString();
    const QJsonObject out = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    Relatorio r;
    r.tempoSetor = out["tempo_setor"].toArray();
    for (const char* t : {"tempo_setor", "setores", "setor_func"})
        r.tabelas += QJsonDocument(out[t].toArray()).toJson(QJsonDocument::Indented);
    for (const QJsonValue& e : out["execucoes"].toArray())
        r.tipos << e.toObject()["tipo"].toString();
    return r;
}
