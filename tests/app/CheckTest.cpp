#include "app/Check.h"
#include "data/Platform.h"
#include "tests/app/IniFixture.h"
#include "tests/common/FirebirdServer.h"
#include "tests/common/FixtureDb.h"
#include "tests/common/Isql.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct CheckRun {
    int exitCode;
    QString out, err;
};

CheckRun tolvaneo(const QStringList& args, const QString& lock = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");
    if (!lock.isEmpty())
        env.insert("FIREBIRD_LOCK", lock);
    p.setProcessEnvironment(env);
    p.start(TOLVANEO_EXE, args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// The check in this process, as --check runs it in its own.
CheckRun verificar(const QString& pasta)
{
    platform::setAppFolder(pasta);
    QString texto;
    QTextStream out(&texto);
    const int status = verificarConfiguracoes(out);
    out.flush();
    platform::setAppFolder({});
    return {status, texto, {}};
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
commit;
create index IDX_DTSAIDA_PS on PRODUCAO_SETOR (DTSAIDA_PS);
create index IDX_DATA_SAIDA_FS on FICHA_CORTE_ATU_SETOR (DATA_SAIDA_FS);
create descending index IDX_DTBAIXA_CX on CODCXUNIT (DTBAIXA_CX);
)";

} // namespace

TEST(Check, ReadyDatabaseAndMissingOneGiveZeroAndOne)
{
    FixtureDb db(kFactory);
    IniFolder good(QStringLiteral("[Tolvaneo]\nDataBase=2026-11-05\nSetores=03\n[Paths]\nDB=%1\n").arg(db.path()).toUtf8());
    const CheckRun ok = tolvaneo({"--check", "--dir", good.path()}); // the program itself, once
    EXPECT_EQ(ok.exitCode, 0) << ok.out.toStdString() << ok.err.toStdString();
    EXPECT_TRUE(ok.out.contains("Dia de leitura: 05/11/2026")) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains(QRegularExpression("03  Costura\\s+2 registros no dia"))) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains(QRegularExpression("Setores\\s+= 03\\s+\\(arquivo\\)"))) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains(QRegularExpression("TempoTroca\\s+= 5\\s+\\(padrão\\)"))) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.trimmed().endsWith("OK")) << ok.out.toStdString();
    // The same day in the short form, read day first without a locale.
    IniFolder curta(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=03\n[Paths]\nDB=%1\n").arg(db.path()).toUtf8());
    const CheckRun ok2 = verificar(curta.path());
    EXPECT_TRUE(ok2.out.contains("Dia de leitura: 05/11/2026")) << ok2.out.toStdString();
    EXPECT_TRUE(ok2.out.trimmed().endsWith("OK")) << ok2.out.toStdString();
    EXPECT_FALSE(QFile::exists(good.path() + "/sqlProdSetor.sql")); // nothing written

    IniFolder missing(QStringLiteral("[Tolvaneo]\nSetores=03\n[Paths]\nDB=%1/nao-existe.fdb\n").arg(db.folder()).toUtf8());
    const CheckRun bad = verificar(missing.path());
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.out.contains("FALHA: Arquivo do banco de dados não encontrado: I/O error during \"open\"")) << bad.out.toStdString();
    EXPECT_TRUE(bad.out.contains(" / ")) << bad.out.toStdString(); // every line of the client's message

    QTemporaryDir empty;
    const CheckRun none = verificar(empty.path());
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.contains("arquivo de configurações não encontrado")) << none.out.toStdString();
}

TEST(Check, WarnsAboutValuesThatLookMistakenAndFailsWhereTheScreenWould)
{
    FixtureDb db(kFactory);
    struct Case {
        QString ini, line;
        int exitCode;
    };
    const Case cases[] = {
        {"[Tolvaneo]\nSetores=03 ; the sectors\n", "Aviso: \"Setores\": o texto depois do valor parece um comentário", 0},
        {"[Tolvaneo]\nSetores=03\nDataBase=amanhã\n", "Aviso: \"DataBase\" (amanhã) não é uma data", 0},
        {"[Tolvaneo]\nSetores=03\nSetor=04\n", "Aviso: Configuração desconhecida: [tolvaneo] setor.", 0},
        {"[Tolvaneo]\nSetores=03\n[Extra]\nX=1\n", "Aviso: Configuração desconhecida: [extra] x.", 0},
        {"[Tolvaneo]\nSetores=03,77\n", "Aviso: O setor \"77\" não existe na tabela SETOR.", 0},
        {"[Tolvaneo]\nSetores=03\n[Banco]\nChave=9\n", "FALHA: \"Chave\" (9) fora de 1 a 3: nenhuma senha para ela.", 1},
        // Without a locale (LC_ALL=C here) a short date is read day first:
        // 11 May has no records.
        {"[Tolvaneo]\nSetores=03\nDataBase=11/05/2026\n",
         "Aviso: Nenhum setor configurado tem registros em 11/05/2026: confira DataBase e Setores.", 0},
        // Values the program reads otherwise than written.
        {"[Tolvaneo]\nSetores=03\nTempoTroca=8 ; segundos\n",
         "Aviso: \"TempoTroca\" (8 ; segundos): o valor em uso é 5 (padrão) (não é um número inteiro).", 0},
        {"[Tolvaneo]\nSetores=03\nTempoTroca=99999999999999999999999\n",
         "Aviso: \"TempoTroca\" (99999999999999999999999): o valor em uso é 5 (padrão)", 0},
        {"[Tolvaneo]\nSetores=03\nTempoTroca=-5\n", "o valor em uso é -5: as páginas não mudam (zero ou negativo).", 0},
        {"[Tolvaneo]\nSetores=03\nSimplificado=S ; layout simples\n",
         "Aviso: \"Simplificado\" (S ; layout simples): o valor em uso é N (layout completo)", 0},
        {"[Tolvaneo]\nSetores=03\nRelogio=sim\n",
         "Aviso: \"Relogio\" (sim): o valor em uso é N (sem relógio) (só \"S\" liga o relógio).", 0},
        {"[Tolvaneo]\nSetores=03\nResumo=1\n",
         "Aviso: \"Resumo\" (1): o valor em uso é N (sem visão geral) (só \"S\" liga a visão geral).", 0},
        {"[Tolvaneo]\nSetores=03\nMeta=85%\n",
         "Aviso: \"Meta\" (85%): o valor em uso é nenhuma (sem cores) (não é um percentual acima de 0).", 0},
        {"[Tolvaneo]\nSetores=03\nMinutosCompleto=-7\n",
         "Aviso: \"MinutosCompleto\" (-7): o valor em uso é 0 (negativo: toda execução é completa).", 0},
        {"[Tolvaneo]\nSetores=03\nAgruparFuncionario=abc\n",
         "Aviso: \"AgruparFuncionario\" (abc): o valor em uso é 1 (padrão)", 0},
        {"[Tolvaneo]\nSetores=03\n[Banco]\nChave=99999999999999\n",
         "Aviso: \"Chave\" (99999999999999): o valor em uso é 1 (padrão)", 0},
        {"[Tolvaneo]\nSetores=03\n[Banco]\nConsultasParalelas=3\n",
         "Aviso: \"ConsultasParalelas\" (3): o valor em uso é S (lado a lado) (só \"N\" ou \"1\" lê uma consulta de cada vez).",
         0},
        {"[Tolvaneo]\nSetores=03\n[Banco]\nConsultasParalelas=1\n", "Consultas de produção: uma de cada vez, numa conexão", 0},
        {"[Tolvaneo]\nSetores=03\n", "Consultas de produção: as três lado a lado, em três conexões", 0},
        {"[Tolvaneo]\nSetores=03\nSetores=04\n", "Aviso: [tolvaneo] setores aparece mais de uma vez: vale a primeira.", 0},
        {"[Tolvaneo]\nSetores=03\n[Tolvaneo]\nTempoTroca=9\n",
         "Aviso: [tolvaneo] aparece mais de uma vez: valem as configurações de todas as cópias "
         "(de uma configuração repetida, a primeira).", 0},

        {QString("[Tolvaneo]\nSetores=03") + QChar(0) + "04\n",
         "Aviso: \"Setores\" (03\\x0004): o valor em uso é 03 (um caractere NUL termina a lista).", 0},
        // What the screen refuses, with the screen's words.
        {"[Tolvaneo]\n", "FALHA: Nenhum setor configurado em \"Setores\".", 1},
        {"[Tolvaneo]\nSetores=03\nFuncionarios=and (FUNCIONARIO = 001)\n",
         "FALHA: Configuração inválida em \"Funcionarios\", no fim do texto: ')' a mais", 1},
        {"[Tolvaneo]\nSetores=1,2,5\n",
         "FALHA: Nenhum dos setores configurados existe na tabela SETOR (1, 2, 5): a tela mostraria \"Sem indicadores.\".",
         1},
    };
    for (const Case& c : cases) {
        IniFolder folder((c.ini + QStringLiteral("[Paths]\nDB=%1\n").arg(db.path())).toUtf8());
        const CheckRun r = verificar(folder.path());
        EXPECT_EQ(r.exitCode, c.exitCode) << c.ini.toStdString() << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(c.line)) << c.ini.toStdString() << r.out.toStdString();
        EXPECT_FALSE(r.out.contains("plonqubir"));
        EXPECT_FALSE(r.out.contains(QChar(0)));
    }
}

TEST(Check, EachFailureToReachTheDatabaseNamesItsCause)
{
    FixtureDb db(kFactory);
    FirebirdServer server("s3gr3d0-SYSDBA");
    QTemporaryDir secrets;
    auto senha = [&](const QByteArray& texto) {
        QFile f(secrets.filePath("senha"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(texto);
        return f.fileName();
    };
    auto ini = [&](const QString& dbPath, const QString& arquivo) {
        return QStringLiteral("[Tolvaneo]\nDataBase=2026-11-05\nSetores=03\n[Paths]\nDB=%1\n[Banco]\nUsuario=SYSDBA\n"
                              "SenhaArquivo=%2\n")
            .arg(dbPath, arquivo)
            .toUtf8();
    };
    IniFolder errada(ini(server.url(db.path()), senha("outra\n")));
    CheckRun r = verificar(errada.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("FALHA: Senha do banco de dados recusada: ")) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("outra"));

    IniFolder certa(ini(server.url(db.path()), senha("s3gr3d0-SYSDBA\n")));
    EXPECT_EQ(verificar(certa.path()).exitCode, 0);
    server.stop();
    r = verificar(certa.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("FALHA: Sem conexão com o servidor do banco de dados: ")) << r.out.toStdString();

    // A local file with a lock folder the user may not write.
    IniFolder local(QStringLiteral("[Tolvaneo]\nSetores=03\n[Paths]\nDB=%1\n").arg(db.path()).toUtf8());
    QTemporaryDir travada;
    ::chmod(QFile::encodeName(travada.path()).constData(), 0500);
    if (::geteuid() != 0) { // root writes anywhere
        r = tolvaneo({"--check", "--dir", local.path()}, travada.path() + "/sub");
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.contains("FALHA: Sem acesso à pasta de travas do Firebird: ")) << r.out.toStdString();
    }
    r = tolvaneo({"--check", "--dir", local.path()}, "/proc/tolvaneo-travas");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("FALHA: Sem acesso à pasta de travas do Firebird: ")) << r.out.toStdString();
    ::chmod(QFile::encodeName(travada.path()).constData(), 0700);
}

TEST(Check, AServerThatHangsPastTheAttachTimeoutIsNamedAsNotAnswering)
{
    FixtureDb db(kFactory);
    FirebirdServer server("plonqubir");
    IniFolder folder(QStringLiteral("[Tolvaneo]\nSetores=03\n[Paths]\nDB=%1\n").arg(server.url(db.path())).toUtf8());
    server.pause(); // holds the connection open and answers nothing
    const CheckRun r = verificar(folder.path());
    server.resume();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("FALHA: O servidor do banco de dados não responde: O servidor não respondeu em 30 s."))
        << r.out.toStdString();
}

TEST(Check, ListsTheReadingDaysRecordsThatCannotBeReal)
{
    FixtureDb db(QString(kFactory) + "insert into ITENSPV values (1, 3, 1, 'P1');\n"
                                     "insert into PRODUCAO_SETOR values (1, 3, '03', '2026-11-05 12:00', '12:00', "
                                     "200000, '001');\n");
    IniFolder folder(QStringLiteral("[Tolvaneo]\nDataBase=2026-11-05\nSetores=03\n[Paths]\nDB=%1\n").arg(db.path()).toUtf8());
    const CheckRun r = verificar(folder.path());
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Aviso: Registro impossível no dia (contado como está): ficha 1/3, setor 03, "
                               "funcionário 001: quantidade 200000, tempo 60."))
        << r.out.toStdString();
}

TEST(Check, NamesTheIndexThatWouldMakeARefreshReadTheDayAlone)
{
    FixtureDb db("insert into SETOR values ('03', 'Costura', 3, '03');\ncommit;\n"
                 "create index IDX_DTSAIDA_PS on PRODUCAO_SETOR (DTSAIDA_PS);\n");
    IniFolder folder(QStringLiteral("[Tolvaneo]\nDataBase=2026-11-05\nSetores=03\n[Paths]\nDB=%1\n").arg(db.path()).toUtf8());
    const CheckRun r = verificar(folder.path());
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("PRODUCAO_SETOR.DTSAIDA_PS não tem índice")) << r.out.toStdString();
    for (const char* aviso : {"Aviso: A coluna FICHA_CORTE_ATU_SETOR.DATA_SAIDA_FS não tem índice: cada execução do dia lê "
                              "a tabela inteira. Com um índice ela lê só o dia: create index IDX_DATA_SAIDA_FS on "
                              "FICHA_CORTE_ATU_SETOR (DATA_SAIDA_FS);",
                              "Aviso: A coluna CODCXUNIT.DTBAIXA_CX não tem índice"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(aviso))) << r.out.toStdString();
}

TEST(Check, ThePackageTemplateReadsAsItsCommentsSay)
{
    FixtureDb db(kFactory);
    QFile f(QStringLiteral(TOLVANEO_SOURCE_DIR "/packaging/Marvessa.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QRegularExpression("\nDB=[^\n]*"), "\nDB=" + db.path());
    text.replace("Setores=01,02,03", "Setores=03");
    IniFolder folder(text.toUtf8());
    const CheckRun r = verificar(folder.path());
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("Configuração desconhecida")) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("o valor em uso")) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("parece um comentário")) << r.out.toStdString();
}

TEST(Check, AFileWithNothingRecognisedNamesWhatIsMissing)
{
    const QByteArray utf16 = QByteArray("\xFF\xFE", 2) +
                             QByteArray(reinterpret_cast<const char*>(u"[Paths]\nDB=/x.fdb\n"), 36);
    for (const QByteArray& bytes : {QByteArray(), QByteArray("[Tolvaneo]\nSetores=03\n"), utf16,
                                    QByteArray("\x01\x1b[31m\x7f\xff binary\n")}) {
        IniFolder folder(bytes);
        const CheckRun r = verificar(folder.path());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.contains("FALHA: nenhum banco de dados configurado: falta [Paths] DB.")) << r.out.toStdString();
        EXPECT_FALSE(r.out.contains(QChar(0x1b))) << r.out.toStdString();
    }
    IniFolder vazio(QByteArray{});
    EXPECT_TRUE(verificar(vazio.path()).out.contains("Nenhuma configuração reconhecida"));
}

TEST(Check, AWindowsPathWithoutItsServerOrAShareSaysWhatToWrite)
{
    for (const char* db : {"C:\\Dados\\FABRICA.FDB", "\\\\servidor\\dados\\x.fdb"}) {
        IniFolder folder(QStringLiteral("[Tolvaneo]\nSetores=03\n[Paths]\nDB=%1\n").arg(QString::fromUtf8(db)).toUtf8());
        const CheckRun r = verificar(folder.path());
        EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("FALHA: \"" + QString::fromUtf8(db) + "\" é um ")) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("servidor:C:\\Dados\\FABRICA.FDB")) << r.out.toStdString();
    }
}

TEST(Check, AByteOrderMarkBeforeWindows1252TextIsWarnedAbout)
{
    FixtureDb db(kFactory);
    const QByteArray texto = "[Tolvaneo]\nSetores=03\nFuncionarios=and (NOME_FUNCIONARIO <> 'Jos\xE9'\n[Paths]\nDB=" +
                             QFile::encodeName(db.path()) + "\n";
    IniFolder comMarca("\xEF\xBB\xBF" + texto);
    const CheckRun r = verificar(comMarca.path());
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Aviso: O arquivo começa com a marca de UTF-8 (BOM), mas tem bytes que não são UTF-8"))
        << r.out.toStdString();
    // Without the mark the same bytes read as Windows-1252, with no warning.
    IniFolder semMarca(texto);
    EXPECT_FALSE(verificar(semMarca.path()).out.contains("BOM"));
}

TEST(Check, AUserOfTheSitesOwnReplacesChaveAndItsPasswordFileMustBeARegularFile)
{
    FixtureDb db(kFactory);
    QTemporaryDir secrets;
    const QString fifo = secrets.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& arquivo : {fifo, secrets.path(), secrets.filePath("nao-existe")}) {
        IniFolder folder(QStringLiteral("[Tolvaneo]\nSetores=03\n[Paths]\nDB=%1\n[Banco]\nChave=2\nUsuario=LEITOR\n"
                                        "SenhaArquivo=%2\n")
                             .arg(db.path(), arquivo)
                             .toUtf8());
        const CheckRun r = verificar(folder.path()); // a FIFO must not block it
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.contains("FALHA: Falha ao carregar o arquivo de configurações. o arquivo da senha " + arquivo))
            << r.out.toStdString();
        EXPECT_FALSE(r.out.contains(QRegularExpression("Chave\\s+=")));
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
    const CheckRun check = verificar(folder.path());
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

    // A grant missing on one table: --check names it and the fix, and a run
    // fails as a matter of permission, not of calculation.
    runIsql(url, "revoke select on PRODUCAO_EXPEDIENTE from user TOLVANEO;\ncommit;", "SYSDBA", "s3gr3d0-SYSDBA");
    const CheckRun semGrant = verificar(folder.path());
    EXPECT_EQ(semGrant.exitCode, 1) << semGrant.out.toStdString();
    EXPECT_TRUE(semGrant.out.contains("FALHA: O usuário TOLVANEO não pode ler PRODUCAO_EXPEDIENTE: sem permissão de "
                                      "leitura. Rode /usr/share/doc/tolvaneo/read-only-user.sql"))
        << semGrant.out.toStdString();
    const CheckRun semGrantReport = tolvaneo({"--report", "--ciclos", "1", "--dir", folder.path()});
    EXPECT_EQ(semGrantReport.exitCode, 1);
    EXPECT_TRUE(semGrantReport.err.contains("cause=sem-permissao")) << semGrantReport.err.toStdString();

    // A wrong password in the file is a refused attach.
    {
        QFile f(senha);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("errada\n");
    }
    const CheckRun refused = verificar(folder.path());
    EXPECT_EQ(refused.exitCode, 1) << refused.out.toStdString();
    EXPECT_FALSE((refused.out + refused.err).contains("errada"));
}
