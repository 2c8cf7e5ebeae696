#include "tests/app/IniFixture.h"
#include "tests/common/FirebirdServer.h"
#include "tests/common/FixtureDb.h"
#include "tests/common/Isql.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CheckRun {
    int exitCode;
    QString out, err;
};

CheckRun tolvaneo(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");
    p.setProcessEnvironment(env);
    p.start(TOLVANEO_EXE, args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

const char* kFactory = R"(
insert into SETOR values ('03', 'Costura', 3, '03');
insert into TABELA values ('38', '001', 'Ana');
insert into PRODUTO_TEMPO values ('P1', '03', 60);
insert into PRODUCAO_EXPEDIENTE values ('2026-11-05', '03', '001', '08:00', '16:00', 0, null, null, 0, 1, 0);
insert into ITENSPV values (1, 1, 1, 'P1');
insert into ITENSPV values (1, 2, 1, 'P1');
insert into PRODUCAO_SETOR values (1, 1, '03', '2026-11-05 10:00', '10:00', 240, '001');
insert into PRODUCAO_SETOR values (1, 2, '03', '2026-11-05 11:00', '11:00', 10, '001');
)";

} // namespace

TEST(Check, ReadyDatabaseAndMissingOneGiveZeroAndOne)
{
    FixtureDb db(kFactory);
    IniFolder good(QStringLiteral("[Tolvaneo]\nDataBase=2026-11-05\nSetores=03\n[Paths]\nDB=%1\n").arg(db.path()).toUtf8());
    const CheckRun ok = tolvaneo({"--check", "--dir", good.path()});
    EXPECT_EQ(ok.exitCode, 0) << ok.out.toStdString() << ok.err.toStdString();
    EXPECT_TRUE(ok.out.contains("Dia de leitura: 05/11/2026")) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains(QRegularExpression("03  Costura\\s+2 registros no dia"))) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains(QRegularExpression("Setores\\s+= 03\\s+\\(arquivo\\)"))) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains(QRegularExpression("TempoTroca\\s+= 5\\s+\\(padrão\\)"))) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.trimmed().endsWith("OK")) << ok.out.toStdString();
    // The same day in the short form, read day first without a locale.
    IniFolder curta(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=03\n[Paths]\nDB=%1\n").arg(db.path()).toUtf8());
    const CheckRun ok2 = tolvaneo({"--check", "--dir", curta.path()});
    EXPECT_TRUE(ok2.out.contains("Dia de leitura: 05/11/2026")) << ok2.out.toStdString();
    EXPECT_TRUE(ok2.out.trimmed().endsWith("OK")) << ok2.out.toStdString();
    EXPECT_FALSE(QFile::exists(good.path() + "/sqlProdSetor.sql")); // nothing written

    IniFolder missing(QStringLiteral("[Tolvaneo]\nSetores=03\n[Paths]\nDB=%1/nao-existe.fdb\n").arg(db.folder()).toUtf8());
    const CheckRun bad = tolvaneo({"--check", "--dir", missing.path()});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.out.contains("FALHA: o banco de dados não respondeu")) << bad.out.toStdString();

    QTemporaryDir empty;
    const CheckRun none = tolvaneo({"--check", "--dir", empty.path()});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.contains("arquivo de configurações não encontrado")) << none.out.toStdString();
}

TEST(Check, WarnsAboutValuesThatLookMistaken)
{
    FixtureDb db(kFactory);
    struct Case {
        QString ini, warning;
        int exitCode;
    };
    const Case cases[] = {
        {"[Tolvaneo]\nSetores=03 ; the sectors\n", "\"Setores\": o texto depois do valor parece um comentário", 0},
        {"[Tolvaneo]\nSetores=03\nDataBase=amanhã\n", "\"DataBase\" (amanhã) não é uma data", 0},
        {"[Tolvaneo]\nSetores=03\nSetor=04\n", "Configuração desconhecida: [tolvaneo] setor.", 0},
        {"[Tolvaneo]\nSetores=03\n[Extra]\nX=1\n", "Configuração desconhecida: [extra] x.", 0},
        {"[Tolvaneo]\nSetores=03,77\n", "O setor \"77\" não existe na tabela SETOR.", 0},
        {"[Tolvaneo]\nSetores=03\n[Banco]\nChave=9\n", "\"Chave\" (9) fora de 1 a 3.", 1},
        {"[Tolvaneo]\n", "Nenhum setor em \"Setores\"", 0},
        // Without a locale (LC_ALL=C here) a short date is read day first:
        // 11 May has no records.
        {"[Tolvaneo]\nSetores=03\nDataBase=11/05/2026\n",
         "Nenhum setor configurado tem registros em 11/05/2026: confira DataBase e Setores.", 0},
    };
    for (const Case& c : cases) {
        IniFolder folder((c.ini + QStringLiteral("[Paths]\nDB=%1\n").arg(db.path())).toUtf8());
        const CheckRun r = tolvaneo({"--check", "--dir", folder.path()});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.ini.toStdString() << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("Aviso: " + c.warning)) << c.ini.toStdString() << r.out.toStdString();
        EXPECT_FALSE(r.out.contains("plonqubir"));
    }
}

TEST(Check, AReadOnlyUserOfTheSitesOwnReadsAndIsRefusedWhenItWrites)
{
    FixtureDb db(kFactory);
    FirebirdServer server("s3gr3d0-SYSDBA");
    const QString url = server.url(db.path());
    QFile script(QStringLiteral(TOLVANEO_SOURCE_DIR "/tools/read-only-user.sql"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    runIsql(url, QString::fromUtf8(script.readAll()).replace("'change-me'", "'leitura-123'"), "SYSDBA", "s3gr3d0-SYSDBA");

    QTemporaryDir secrets;
    const QString senha = secrets.filePath("senha");
    {
        QFile f(senha);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("leitura-123\n");
    }
    IniFolder folder(QStringLiteral("[Tolvaneo]\nDataBase=2026-11-05\nSetores=03\n[Paths]\nDB=%1\n"
                                    "[Banco]\nUsuario=TOLVANEO\nSenhaArquivo=%2\n")
                         .arg(url, senha)
                         .toUtf8());
    const CheckRun check = tolvaneo({"--check", "--dir", folder.path()});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();
    EXPECT_TRUE(check.out.contains("como TOLVANEO")) << check.out.toStdString();
    const CheckRun report = tolvaneo({"--report", "--dir", folder.path()});
    EXPECT_EQ(report.exitCode, 0) << report.err.toStdString();
    EXPECT_TRUE(report.out.contains("\"NOME_FUNCIONARIO\": \"Ana\"")) << report.out.toStdString();
    for (const CheckRun& r : {check, report})
        EXPECT_FALSE((r.out + r.err).contains("leitura-123"));

    // Writing is refused by the server itself.
    EXPECT_ANY_THROW(runIsql(url, "insert into SETOR values ('99', 'X', 99, '99');\ncommit;", "TOLVANEO", "leitura-123"));
    EXPECT_ANY_THROW(runIsql(url, "delete from PRODUCAO_SETOR;\ncommit;", "TOLVANEO", "leitura-123"));

    // A wrong password in the file is a refused attach.
    {
        QFile f(senha);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("errada\n");
    }
    const CheckRun refused = tolvaneo({"--check", "--dir", folder.path()});
    EXPECT_EQ(refused.exitCode, 1) << refused.out.toStdString();
    EXPECT_FALSE((refused.out + refused.err).contains("errada"));
}
