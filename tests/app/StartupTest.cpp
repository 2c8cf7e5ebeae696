#include "app/ErrorReport.h"
#include "app/TdmPrinc.h"
#include "data/DatabaseError.h"
#include "tests/app/IniFixture.h"
#include "tests/common/Fakes.h"
#include "tests/common/FirebirdServer.h"
#include "tests/common/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

QByteArray iniFor(const QString& db, int chave = 1)
{
    return QStringLiteral("[Tolvaneo]\nSetores=01\n[Paths]\nDB=%1\nACESSO=%1\n[Banco]\nChave=%2\n")
        .arg(db)
        .arg(chave)
        .toUtf8();
}

} // namespace

TEST(Startup, AttachesToTheConfiguredDatabase)
{
    PlatformFakes fakes;
    FixtureDb db;
    IniFolder folder(iniFor(db.path()));
    auto dm = CreateDmPrinc();
    EXPECT_EQ(dmPrinc, dm.get());
    EXPECT_TRUE(dm->sqlCon.connected());
    EXPECT_FALSE(dm->sqlConAcesso.connected());
    EXPECT_EQ(dm->Versao(), "1.1.68");
    EXPECT_EQ(dm->PathOcor(), folder.path() + "/ocorrencias.xml");
    EXPECT_TRUE(dm->ConnectionParams().Loaded);
    EXPECT_EQ(dm->sqlCon.params().value("Database").value(), db.path());
    EXPECT_EQ(dm->sqlCon.params().value("Password").value(), "plonqubir");
    EXPECT_EQ(dm->sqlCon.params().value("User_Name").value(), "SYSDBA");
    EXPECT_TRUE(fakes.boxes.shown.empty());
}

TEST(Startup, AfterConnectCreatesTheCalculationModule)
{
    PlatformFakes fakes;
    FixtureDb db;
    IniFolder folder(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026 14:30\nAgruparFuncionario=0\n[Paths]\nDB=%1\n")
                         .arg(db.path())
                         .toUtf8());
    ScopedEnv lang("LC_ALL", QByteArray("C"));
    auto dm = CreateDmPrinc();
    ASSERT_NE(dmMarvessa, nullptr);
    EXPECT_EQ(dmMarvessa->SQLCOnnection(), &dm->sqlCon);
    EXPECT_DOUBLE_EQ(dm->DataIndicador(), 46331.0 + 14.5 / 24);
    EXPECT_EQ(dmMarvessa->DataLeitura(), dm->DataIndicador());
    EXPECT_FALSE(dmMarvessa->ExpedienteProducaoPorFunc());
    dm.reset();
    EXPECT_EQ(dmMarvessa, nullptr);
}

TEST(Startup, MissingFileShowsOneBoxAndEndsTheProgram)
{
    PlatformFakes fakes;
    IniFolder folder; // no Marvessa.ini
    bool ok = true;
    auto dm = CreateDmPrinc(&ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(platform::terminateRequested());
    ASSERT_EQ(fakes.boxes.shown.size(), 2u);
    EXPECT_EQ(fakes.boxes.shown[0].caption, "Falha ao carregar as configurações");
    EXPECT_EQ(fakes.boxes.shown[0].text, "Arquivo de configurações não encontrado.");
    EXPECT_EQ(fakes.boxes.shown[0].icon, platform::MsgIcon::Error);
    // The attach without a database path fails next, and is reported as such.
    EXPECT_EQ(fakes.boxes.shown[1].icon, platform::MsgIcon::Error);
    EXPECT_EQ(dm->ConnectionParams().Password, "plonqubir");
    EXPECT_FALSE(dm->sqlCon.params().value("Database").has_value());
    EXPECT_FALSE(dm->sqlCon.connected());
}

TEST(Startup, FailingChaveLeavesTheConnectionClosedAndIsReportedOnce)
{
    PlatformFakes fakes;
    FixtureDb db;
    IniFolder folder(iniFor(db.path(), 4));
    bool ok = true;
    auto dm = CreateDmPrinc(&ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(dm->sqlCon.connected());
    EXPECT_EQ(dm->PathOcor(), "");
    ASSERT_EQ(fakes.boxes.shown.size(), 1u);
    EXPECT_EQ(fakes.boxes.shown[0].text, "Falha ao carregar o arquivo de configurações.");
    EXPECT_EQ(fakes.boxes.shown[0].caption, "app_tests");

    // A reading that failed is not repeated, even when the file is mended.
    folder.write("[Tolvaneo]\nTempoTroca=9\n[Banco]\nChave=1\n");
    try {
        dm->sqlCon.open(); // the embedded engine needs no password
    } catch (const fb::DatabaseError&) {
    }
    EXPECT_EQ(dm->TempoTroca(), 5000);
    EXPECT_EQ(dm->ConnectionParams().Password, "");
    EXPECT_FALSE(dm->sqlCon.params().value("Password").has_value());
}

TEST(Startup, TheConfigurationIsReadOnlyOnce)
{
    PlatformFakes fakes;
    FixtureDb db;
    FixtureDb access;
    IniFolder folder(QStringLiteral("[Tolvaneo]\nTempoTroca=7\n[Paths]\nDB=%1\nACESSO=%2\n")
                         .arg(db.path(), access.path())
                         .toUtf8());
    auto dm = CreateDmPrinc();
    ASSERT_TRUE(dm->sqlCon.connected());
    folder.write("[Tolvaneo]\nTempoTroca=9\n");
    dm->sqlConAcesso.open();
    EXPECT_TRUE(dm->sqlConAcesso.connected());
    EXPECT_EQ(dm->TempoTroca(), 7000);
    EXPECT_EQ(dm->sqlConAcesso.params().value("Database").value(), access.path());
}

TEST(Startup, AttachFailureCarriesTheClientText)
{
    PlatformFakes fakes;
    IniFolder folder(iniFor("/nonexistent/FABRICA.FDB"));
    bool ok = true;
    auto dm = CreateDmPrinc(&ok);
    EXPECT_FALSE(ok);
    ASSERT_EQ(fakes.boxes.shown.size(), 1u);
    EXPECT_TRUE(fakes.boxes.shown[0].text.contains("/nonexistent/FABRICA.FDB")) << fakes.boxes.shown[0].text.toStdString();
    EXPECT_TRUE(fakes.boxes.shown[0].text.endsWith('.'));
}

TEST(Startup, ServerAttachUsesThePasswordThatChaveSelects)
{
    PlatformFakes fakes;
    FixtureDb db;
    FirebirdServer server("bravtu47");
    {
        IniFolder folder(iniFor(server.url(db.path()), 2));
        bool ok = false;
        auto dm = CreateDmPrinc(&ok);
        EXPECT_TRUE(ok) << (fakes.boxes.shown.empty() ? "" : fakes.boxes.shown[0].text.toStdString());
        EXPECT_TRUE(dm->sqlCon.connected());
    }
    {
        IniFolder folder(iniFor(server.url(db.path()), 1));
        bool ok = true;
        auto dm = CreateDmPrinc(&ok);
        EXPECT_FALSE(ok);
        EXPECT_FALSE(dm->sqlCon.connected());
        ASSERT_EQ(fakes.boxes.shown.size(), 1u);
        EXPECT_EQ(fakes.boxes.shown[0].text, "Your user name and password are not defined. Ask your database "
                                             "administrator to set up a Firebird login.");
    }
}

TEST(ErrorReport, TitleAndFullStopRules)
{
    EXPECT_EQ(applicationTitle("/opt/tolvaneo/Tolvaneo.exe"), "Tolvaneo");
    EXPECT_EQ(applicationTitle("/opt/TOLVANEO"), "Tolvaneo");
    EXPECT_EQ(applicationTitle("tolvaneo.bin.old"), "tolvaneo");
    EXPECT_EQ(withFullStop("Falhou"), "Falhou.");
    EXPECT_EQ(withFullStop("Falhou."), "Falhou.");
    EXPECT_EQ(withFullStop("Falhou!"), "Falhou!");
    EXPECT_EQ(withFullStop("(3)"), "(3)");
    EXPECT_EQ(withFullStop("valor 3"), "valor 3.");
    EXPECT_EQ(withFullStop(""), "");
}
