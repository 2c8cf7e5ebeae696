#include "app/IniFile.h"
#include "app/RegionalDate.h"
#include "app/TdmPrinc.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "tests/app/IniFixture.h"
#include "tests/common/Fakes.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct Settings {
    double dataIndicador;
    bool simplificado;
    int tempoTroca;
    QString funcionarios;
    bool porFuncionario;
    QString setores;
    QString database;
    QString access;
    QString password;
};

Settings load(const QByteArray& ini)
{
    IniFolder folder(ini);
    TdmPrinc dm;
    dm.CarregarConfiguracoes();
    return {dm.DataIndicador(),
            dm.Simplificado(),
            dm.TempoTroca(),
            dm.Funcionarios(),
            dm.PorFuncionario(),
            dm.Setores(),
            dm.ConnectionParams().Database,
            dm.ConnectionParams().DatabaseAccess,
            dm.ConnectionParams().Password};
}

const double kToday = 46331.0; // 2026-11-05, the fake clock's day

} // namespace

TEST(Configuration, DefaultsWhenKeysAreAbsent)
{
    PlatformFakes fakes;
    Settings s = load("[Tolvaneo]\n");
    EXPECT_EQ(s.dataIndicador, kToday);
    EXPECT_FALSE(s.simplificado);
    EXPECT_EQ(s.tempoTroca, 5000);
    EXPECT_EQ(s.funcionarios, "");
    EXPECT_TRUE(s.porFuncionario);
    EXPECT_EQ(s.setores, "");
    EXPECT_EQ(s.database, "");
    EXPECT_EQ(s.access, "");
    EXPECT_EQ(s.password, "plonqubir");
    EXPECT_TRUE(fakes.boxes.shown.empty());
}

TEST(Configuration, ReadsEveryKeyOfAFullFile)
{
    PlatformFakes fakes;
    ScopedEnv lang("LC_ALL", QByteArray("pt_BR.UTF-8"));
    Settings s = load("[Tolvaneo]\r\nDataBase = 05/11/2026 14:30\r\nSimplificado=S\r\nTempoTroca=10\r\n"
                      "Funcionarios= and (FUNCIONARIO IN ('001','002')\r\nAgruparFuncionario=0\r\nSetores=03, 11\r\n"
                      "[Paths]\r\nDB=fabrica:/dados/FABRICA.FDB\r\nACESSO=/dados/ACESSO.FDB\r\n[Banco]\r\nChave=3\r\n");
    EXPECT_DOUBLE_EQ(s.dataIndicador, kToday + 14.5 / 24);
    EXPECT_TRUE(s.simplificado);
    EXPECT_EQ(s.tempoTroca, 10000);
    EXPECT_EQ(s.funcionarios, "and (FUNCIONARIO IN ('001','002')");
    EXPECT_FALSE(s.porFuncionario);
    EXPECT_EQ(s.setores, "'03','11'");
    EXPECT_EQ(s.database, "fabrica:/dados/FABRICA.FDB");
    EXPECT_EQ(s.access, "/dados/ACESSO.FDB");
    EXPECT_EQ(s.password, "BravTu47");
}

TEST(Configuration, ReadingRulesPerKey)
{
    PlatformFakes fakes;
    struct Case {
        QByteArray line;
        std::function<void(const Settings&)> check;
    };
    const Case cases[] = {
        {"Simplificado=s", [](const Settings& s) { EXPECT_FALSE(s.simplificado); }},
        {"Simplificado=Sim", [](const Settings& s) { EXPECT_FALSE(s.simplificado); }},
        {"Simplificado=SIM", [](const Settings& s) { EXPECT_FALSE(s.simplificado); }},
        {"AgruparFuncionario=0", [](const Settings& s) { EXPECT_FALSE(s.porFuncionario); }},
        {"AgruparFuncionario=2", [](const Settings& s) { EXPECT_TRUE(s.porFuncionario); }},
        {"AgruparFuncionario=-1", [](const Settings& s) { EXPECT_TRUE(s.porFuncionario); }},
        {"AgruparFuncionario=N", [](const Settings& s) { EXPECT_TRUE(s.porFuncionario); }},
        {"AgruparFuncionario=0x0", [](const Settings& s) { EXPECT_FALSE(s.porFuncionario); }},
        {"TempoTroca=0x0A", [](const Settings& s) { EXPECT_EQ(s.tempoTroca, 10000); }},
        {"TempoTroca=0X0a", [](const Settings& s) { EXPECT_EQ(s.tempoTroca, 10000); }},
        {"TempoTroca=ten", [](const Settings& s) { EXPECT_EQ(s.tempoTroca, 5000); }},
        {"TempoTroca=0x", [](const Settings& s) { EXPECT_EQ(s.tempoTroca, 5000); }},
        {"TempoTroca=0", [](const Settings& s) { EXPECT_EQ(s.tempoTroca, 0); }},
        {"TempoTroca=-3", [](const Settings& s) { EXPECT_EQ(s.tempoTroca, -3000); }},
        {"TempoTroca=99999999", [](const Settings& s) { EXPECT_EQ(s.tempoTroca, 2147483647); }},
        {"DataBase=", [](const Settings& s) { EXPECT_EQ(s.dataIndicador, kToday); }},
        {"DataBase=ontem", [](const Settings& s) { EXPECT_EQ(s.dataIndicador, kToday); }},
        {"DataBase=31/02/2026", [](const Settings& s) { EXPECT_EQ(s.dataIndicador, kToday); }},
        {"DataBase=01/10/2026", [](const Settings& s) { EXPECT_EQ(s.dataIndicador, kToday - 35); }},
        {"DataBase=01/10/26", [](const Settings& s) { EXPECT_EQ(s.dataIndicador, kToday - 35); }},
        {"DataBase=2026-10-01", [](const Settings& s) { EXPECT_EQ(s.dataIndicador, kToday - 35); }},
        {"Setores=01 05,\"12 A\"", [](const Settings& s) { EXPECT_EQ(s.setores, "'01','05','12 A'"); }},
        {"Setores=O'X", [](const Settings& s) { EXPECT_EQ(s.setores, "'O''X'"); }},
        {"Setores=03,,11", [](const Settings& s) { EXPECT_EQ(s.setores, "'03','','11'"); }},
        {"setores = 07 ", [](const Settings& s) { EXPECT_EQ(s.setores, "'07'"); }},
    };
    ScopedEnv lang("LC_ALL", QByteArray("pt_BR.UTF-8"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        c.check(load("[Tolvaneo]\n" + c.line + "\n"));
    }
}

TEST(Configuration, SectionAndKeyNamesIgnoreCase)
{
    PlatformFakes fakes;
    Settings s = load("[tolvaneo]\nsimplificado=S\ntempotroca=7\n[PATHS]\ndb=/x.fdb\n[banco]\nCHAVE=2\n");
    EXPECT_TRUE(s.simplificado);
    EXPECT_EQ(s.tempoTroca, 7000);
    EXPECT_EQ(s.database, "/x.fdb");
    EXPECT_EQ(s.password, "bravtu47");
}

TEST(Configuration, ChaveSelectsThePassword)
{
    PlatformFakes fakes;
    EXPECT_EQ(load("[Banco]\nChave=1\n").password, "plonqubir");
    EXPECT_EQ(load("[Banco]\nChave=2\n").password, "bravtu47");
    EXPECT_EQ(load("[Banco]\nChave=3\n").password, "BravTu47");
    EXPECT_EQ(load("[Banco]\nChave=abc\n").password, "plonqubir");
    for (QByteArray bad : {"0", "4", "-1"}) {
        IniFolder folder("[Tolvaneo]\nTempoTroca=9\n[Banco]\nChave=" + bad + "\n");
        TdmPrinc dm;
        try {
            dm.CarregarConfiguracoes();
            FAIL() << "Chave " << bad.constData() << " was accepted";
        } catch (const ErroConfiguracao& e) {
            EXPECT_STREQ(e.what(), "Falha ao carregar o arquivo de configurações.");
        }
        // Settings read before the failing step keep their new values.
        EXPECT_EQ(dm.TempoTroca(), 9000);
        EXPECT_EQ(dm.ConnectionParams().Password, "");
    }
}

TEST(Configuration, RegionalDateOrderFollowsTheEnvironment)
{
    struct Case {
        const char* lcAll;
        const char* lcTime;
        const char* lang;
        QDate expected;
    };
    const Case cases[] = {
        {"pt_BR.UTF-8", nullptr, nullptr, QDate(2026, 11, 5)},
        {"en_US.UTF-8", nullptr, nullptr, QDate(2026, 5, 11)},
        {nullptr, "pt_BR.UTF-8", "en_US.UTF-8", QDate(2026, 11, 5)},
        {nullptr, nullptr, "en_US", QDate(2026, 5, 11)},
        {"", "", "de_DE.UTF-8", QDate(2026, 11, 5)},
        // A PC without a desktop names no locale, or C: day first, the
        // order of the factories this serves.
        {"C.UTF-8", nullptr, nullptr, QDate(2026, 11, 5)},
        {nullptr, nullptr, "POSIX", QDate(2026, 11, 5)},
        {"", "", "", QDate(2026, 11, 5)},
        // A locale the machine may not have installed reads the same.
        {nullptr, nullptr, "pt_BR.UTF-8", QDate(2026, 11, 5)},
    };
    for (const auto& c : cases) {
        auto opt = [](const char* v) { return v ? std::optional<QByteArray>(v) : std::nullopt; };
        ScopedEnv a("LC_ALL", opt(c.lcAll)), b("LC_TIME", opt(c.lcTime)), d("LANG", opt(c.lang));
        auto day = parseRegionalDateTime("05/11/2026", environmentTimeLocale());
        ASSERT_TRUE(day.has_value());
        EXPECT_EQ(daynum::toDate(*day), c.expected) << (c.lcAll ? c.lcAll : "") << (c.lang ? c.lang : "");
    }
}

TEST(Configuration, IniTextMayBeUtf8OrWindows1252)
{
    const QByteArray utf8 = "[Tolvaneo]\nFuncionarios=Jo\xC3\xA3o\n";
    const QByteArray bom = "\xEF\xBB\xBF" + utf8;
    const QByteArray win1252 = "[Tolvaneo]\nFuncionarios=Jo\xE3o\n";
    for (const QByteArray& bytes : {utf8, bom, win1252})
        EXPECT_EQ(IniFile::fromBytes(bytes).readString("tolvaneo", "funcionarios", {}), QStringLiteral("João"));
}

TEST(Configuration, TheReadmeExampleGivesTheValuesItsCommentsDescribe)
{
    QFile readme(QStringLiteral(TOLVANEO_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype start = text.indexOf("```ini\n");
    ASSERT_GE(start, 0);
    const qsizetype end = text.indexOf("```", start + 7);
    const QByteArray ini = text.mid(start + 7, end - start - 7).toUtf8();

    ScopedEnv locale("LC_ALL", QByteArray("pt_BR.UTF-8"));
    IniFolder folder(ini);
    TdmPrinc dm;
    dm.CarregarConfiguracoes();
    EXPECT_EQ(dm.DataIndicador(), 46331.0); // 5 November 2026
    EXPECT_TRUE(dm.DataFixa());
    EXPECT_TRUE(dm.Simplificado());
    EXPECT_EQ(dm.TempoTroca(), 5000);
    EXPECT_EQ(dm.Funcionarios(), "and (FUNCIONARIO IN ('001','002')");
    EXPECT_TRUE(dm.PorFuncionario());
    EXPECT_EQ(dm.Setores(), "'01','02','05'");
    EXPECT_EQ(dm.MinutosCompleto(), 30);
    EXPECT_EQ(dm.ConnectionParams().Database, "server:/data/FACTORY.FDB");
    EXPECT_EQ(dm.ConnectionParams().DatabaseAccess, "");
    EXPECT_EQ(dm.ConnectionParams().Password, "plonqubir");
}

TEST(Configuration, ReadingDayIsFixedOnlyWhenDataBaseReadsAsADay)
{
    PlatformFakes fakes;
    const std::pair<QByteArray, bool> cases[] = {
        {"[Tolvaneo]\nDataBase=2026-11-05\n", true},
        {"[Tolvaneo]\n", false},
        {"[Tolvaneo]\nDataBase=\n", false},
        {"[Tolvaneo]\nDataBase=amanhã\n", false},
    };
    for (const auto& [ini, fixa] : cases) {
        IniFolder folder(ini);
        TdmPrinc dm;
        dm.CarregarConfiguracoes();
        EXPECT_EQ(dm.DataFixa(), fixa) << ini.constData();
        EXPECT_EQ(dm.DataIndicador(), kToday) << ini.constData();
    }
}

TEST(Configuration, AnOversizedFileIsRefusedWithoutReadingItWhole)
{
    PlatformFakes fakes;
    QByteArray ini = "[Tolvaneo]\nSetores=01\n";
    ini += QByteArray(IniFile::kMaxBytes, ';');
    IniFolder folder(ini);
    QStringList log;
    logfmt::setSink([&](const QString& l) { log << l; });
    TdmPrinc dm;
    EXPECT_THROW(dm.CarregarConfiguracoes(), ErroConfiguracao);
    logfmt::setSink({});
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains("event=config-error")) << log[0].toStdString();
    EXPECT_TRUE(log[0].contains("passa de 1 MB")) << log[0].toStdString();
}
