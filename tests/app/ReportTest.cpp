#include "tests/app/IniFixture.h"
#include "tests/app/RelatorioGerado.h"
#include "tests/common/FixtureDb.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct ReportRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

ReportRun runReport(const QString& dir)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "pt_BR.UTF-8");
    p.setProcessEnvironment(env);
    p.start(TOLVANEO_EXE, {"--report", "--dir", dir});
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

TEST(Report, PrintsTheSettingsWithoutThePassword)
{
    FixtureDb db;
    IniFolder folder(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSimplificado=S\nTempoTroca=8\n"
                                    "Funcionarios=and X\nAgruparFuncionario=0\nSetores=03,11\n"
                                    "[Paths]\nDB=%1\nACESSO=/a.fdb\n[Banco]\nChave=1\n")
                         .arg(db.path())
                         .toUtf8());
    ReportRun r = runReport(folder.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject c = QJsonDocument::fromJson(r.out).object()["configuracao"].toObject();
    EXPECT_EQ(c["DataIndicador"].toString(), "2026-11-05T00:00:00");
    EXPECT_EQ(c["Simplificado"].toBool(), true);
    EXPECT_EQ(c["TempoTroca"].toInt(), 8000);
    EXPECT_EQ(c["Funcionarios"].toString(), "and X");
    EXPECT_EQ(c["PorFuncionario"].toBool(), false);
    EXPECT_EQ(c["Setores"].toString(), "'03','11'");
    EXPECT_EQ(c["Database"].toString(), db.path());
    EXPECT_EQ(c["DatabaseAccess"].toString(), "/a.fdb");
    EXPECT_EQ(c["Versao"].toString(), "1.1.68");
    EXPECT_FALSE(r.out.contains("plonqubir"));
}

TEST(Report, HoldsTheWorkingTablesAfterTheFirstRun)
{
    FixtureDb db(R"(
insert into SETOR values ('02', 'Costura', 2, '02');
insert into TABELA values ('38', '001', 'Ana');
insert into PRODUTO_TEMPO values ('P1', '02', 30);
insert into PRODUCAO_EXPEDIENTE values ('2026-11-05', '02', '001', '07:00', '15:00', 0, null, null, 0, 1, 0);
insert into PRODUCAO_SETOR values (1, 1, '02', '2026-11-05 10:00', '10:00', 480, '001');
insert into ITENSPV values (1, 1, 1, 'P1');
)");
    IniFolder folder(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\n[Paths]\nDB=%1\n").arg(db.path()).toUtf8());
    ReportRun r = runReport(folder.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject root = QJsonDocument::fromJson(r.out).object();
    ASSERT_EQ(root["tempo_setor"].toArray().size(), 1);
    QJsonObject row = root["tempo_setor"].toArray()[0].toObject();
    EXPECT_EQ(row["DATA"].toString(), "2026-11-05");
    EXPECT_EQ(row["SETOR"].toString(), "02");
    EXPECT_EQ(row["NOME_FUNCIONARIO"].toString(), "Ana");
    EXPECT_EQ(row["TEMPO_TOT"].toDouble(), 14400);
    EXPECT_EQ(row["MINUTOS_EXPEDIENTE"].toInt(), 480);
    EXPECT_TRUE(row["TEMPO_TOT_HE"].isNull());
    EXPECT_EQ(row["PERC_EFICIENCIA"].toDouble(), 50);
    QJsonObject setor = root["setores"].toArray()[0].toObject();
    EXPECT_EQ(setor["COD"].toString(), "02");
    EXPECT_EQ(setor["MEDIA_EFICIENCIA"].toDouble(), 50);
    QJsonObject func = root["setor_func"].toArray()[0].toObject();
    EXPECT_EQ(func["FUNCIONARIO"].toString(), "001");
    EXPECT_EQ(func["MEDIA_EFICIENCIA_MES"].toDouble(), 50);
}

TEST(Report, AnAccentedPathOpensWhateverTheLocale)
{
    FixtureDb db("insert into SETOR values ('02', 'Costura', 2, '02');");
    const QString pasta = db.folder() + QStringLiteral("/Produção");
    ASSERT_TRUE(QDir().mkpath(pasta));
    const QString path = pasta + QStringLiteral("/Fábrica.fdb");
    ASSERT_TRUE(QFile::rename(db.path(), path));
    for (const char* locale : {"C", "pt_BR.UTF-8", "C.UTF-8"}) {
        SCOPED_TRACE(locale);
        IniFolder folder(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\n[Paths]\nDB=%1\n").arg(path).toUtf8());
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", locale);
        env.insert("LANG", locale);
        p.setProcessEnvironment(env);
        p.start(TOLVANEO_EXE, {"--report", "--dir", folder.path()});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        EXPECT_TRUE(p.readAllStandardOutput().contains("\"Database\": \"" + path.toUtf8() + "\""));
    }
    QFile::rename(path, db.path());
}

TEST(Report, FailingRunEndsWithStatusOne)
{
    FixtureDb db("drop table CODCXUNIT;");
    IniFolder folder(QStringLiteral("[Paths]\nDB=%1\n").arg(db.path()).toUtf8());
    ReportRun r = runReport(folder.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("tolvaneo: ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("CODCXUNIT")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(Report, FailuresGoToStandardErrorWithExitStatusOne)
{
    {
        IniFolder folder; // no file
        ReportRun r = runReport(folder.path());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.startsWith("Falha ao carregar as configurações: Arquivo de configurações não encontrado.\n"))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    {
        IniFolder folder("[Banco]\nChave=0\n[Paths]\nDB=/x.fdb\n");
        ReportRun r = runReport(folder.path());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.endsWith("tolvaneo: Falha ao carregar o arquivo de configurações.\n")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("event=config-error")) << r.err.toStdString();
    }
    {
        // No database: the screen's words, not the client's for an empty path.
        IniFolder folder("[Tolvaneo]\nSetores=03\n");
        ReportRun r = runReport(folder.path());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.toStdString(), "tolvaneo: Nenhum banco de dados configurado: falta [Paths] DB.\n");
        EXPECT_TRUE(r.out.isEmpty());
    }
}

// The report is written a row at a time, as Qt writes the whole document:
// read back and written again by Qt, it is the same bytes. With runs and
// without, with rows and with empty tables.
TEST(Report, WrittenRowByRowItIsTheDocumentQtWouldWrite)
{
    const FixtureDb mes(mesGerado());
    const FixtureDb vazio;
    for (const QString& db : {mes.path(), vazio.path()}) {
        for (const QStringList& extra : {QStringList{}, QStringList{"--ciclos", "2"}}) {
            SCOPED_TRACE((db + ' ' + extra.join(' ')).toStdString());
            IniFolder folder(
                QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=01,02,03\n[Paths]\nDB=%1\n").arg(db).toUtf8());
            QProcess p;
            p.start(TOLVANEO_EXE, QStringList{"--report", "--dir", folder.path()} + extra);
            ASSERT_TRUE(p.waitForFinished(120000));
            ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
            const QByteArray out = p.readAllStandardOutput();
            QJsonParseError erro{};
            const QJsonDocument doc = QJsonDocument::fromJson(out, &erro);
            ASSERT_EQ(erro.error, QJsonParseError::NoError) << erro.errorString().toStdString();
            EXPECT_TRUE(doc.toJson(QJsonDocument::Indented) == out)
                << primeiraDiferenca(doc.toJson(QJsonDocument::Indented), out);
            if (db == mes.path()) {
                EXPECT_GT(doc["tempo_setor"].toArray().size(), 100);
            }
        }
    }
}
