#include "app/GenerationWorker.h"
#include "app/TdmPrinc.h"
#include "data/DatabaseError.h"
#include "data/Log.h"
#include "calc/TdmMarvessa.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"
#include "display/TfrmPrincipal.h"
#include "display/TfrmRelatorio.h"
#include "tests/app/IniFixture.h"
#include "tests/common/Fakes.h"
#include "tests/common/FirebirdServer.h"
#include "tests/common/FixtureDb.h"
#include "tests/common/Isql.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString sectorSql(const QString& cod, const QString& nome, int ordem, const QString& func, int ficha)
{
    return QStringLiteral(
               "insert into SETOR values ('%1', '%2', %3, '%1');\n"
               "insert into PRODUTO_TEMPO values ('P%1', '%1', 60);\n"
               "insert into PRODUCAO_EXPEDIENTE values ('2026-11-05', '%1', '%4', '08:00', '16:00', 0, null, null, 0, 1, 0);\n"
               "insert into ITENSPV values (1, %5, 1, 'P%1');\n"
               "insert into PRODUCAO_SETOR values (1, %5, '%1', '2026-11-05 10:00', '10:00', 240, '%4');\n")
        .arg(cod, nome)
        .arg(ordem)
        .arg(func)
        .arg(ficha);
}

// A factory reached through a server of the test's own, the indicator on it
// with a generation worker.
class Unattended : public ::testing::Test {
protected:
    void start(const QString& setores, const QString& dataBase = QStringLiteral("DataBase=05/11/2026\n"))
    {
        folder = std::make_unique<IniFolder>(QStringLiteral("[Tolvaneo]\n%3Simplificado=S\n"
                                                           "TempoTroca=3600\nSetores=%1\n[Paths]\nDB=%2\n")
                                                 .arg(setores, server.url(db.path()), dataBase)
                                                 .toUtf8());
        bool ok = false;
        dm = CreateDmPrinc(&ok);
        ASSERT_TRUE(ok) << (fakes.boxes.shown.empty() ? "" : fakes.boxes.shown[0].text.toStdString());
        worker = std::make_unique<GenerationWorker>(dm->sqlCon, dmMarvessa->DataLeitura(),
                                                    dmMarvessa->ExpedienteProducaoPorFunc(), dm->DataFixa());
        window = std::make_unique<TfrmPrincipal>(*dm, *dmMarvessa);
        window->setWorker(worker.get());
        window->resize(1280, 720);
        window->FormCreate();
    }
    // The indicator as the program starts it: the settings read, the window
    // up, the worker to attach (or, with conectado, attached already). The
    // test may set the worker and the window up further before iniciar().
    void abrir(const QString& ini, bool conectado = false)
    {
        folder = std::make_unique<IniFolder>(ini.toUtf8());
        dm = std::make_unique<TdmPrinc>();
        dm->setGeracaoInicialAdiada(true);
        dm->setConexaoAdiada(!conectado);
        dm->DataModuleCreate();
        worker = std::make_unique<GenerationWorker>(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario());
        window = std::make_unique<TfrmPrincipal>(*dm);
        window->setWorker(worker.get());
        window->resize(1280, 720);
    }
    QString iniServidor(const QString& setores = QStringLiteral("03,11")) const
    {
        return QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=%1\n[Paths]\nDB=%2\n")
            .arg(setores, server.url(db.path()));
    }
    void fechar()
    {
        logfmt::setSink({});
        window.reset();
        worker.reset();
        dm.reset();
    }
    // Shows sectors until the cycle ends and waits for the run it starts.
    void finishCycle()
    {
        for (int i = 0; i < 5 && !window->aguardandoGeracao(); ++i)
            window->ProximaPagina();
        ASSERT_TRUE(window->aguardandoGeracao());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 60000));
    }
    QJsonObject status() const
    {
        QFile f(folder->path() + "/status.json");
        f.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(f.readAll()).object();
    }
    void TearDown() override
    {
        logfmt::setSink({});
        window.reset();
        worker.reset();
        dm.reset();
    }

    void SetUp() override { fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0))); }

    PlatformFakes fakes;
    ScopedEnv locale{"LC_ALL", QByteArray("C")};
    FixtureDb db{sectorSql("03", "Costura", 3, "001", 1) + sectorSql("11", "Montagem", 11, "002", 2)};
    FirebirdServer server{"plonqubir"};
    std::unique_ptr<IniFolder> folder;
    std::unique_ptr<TdmPrinc> dm;
    std::unique_ptr<GenerationWorker> worker;
    std::unique_ptr<TfrmPrincipal> window;
    QStringList log;
    void captureLog()
    {
        logfmt::setSink([this](const QString& l) {
            QMutexLocker lock(&logMutex);
            log << l;
        });
    }
    QStringList logLines(const QString& event)
    {
        QMutexLocker lock(&logMutex);
        return log.filter(QRegularExpression(" event=" + event + "( |$)"));
    }
    QMutex logMutex;
};

} // namespace

TEST_F(Unattended, ServerOutageShowsANoticeAndTheRotationGoesOn)
{
    captureLog();
    start("03,11");
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    EXPECT_FALSE(window->lblAviso->isVisibleTo(window.get()));

    server.stop();
    finishCycle();
    EXPECT_TRUE(fakes.boxes.shown.empty()); // no modal box
    EXPECT_TRUE(window->lblAviso->isVisibleTo(window.get()));
    EXPECT_TRUE(window->lblAviso->text().startsWith("Dados de 09:00")) << window->lblAviso->text().toStdString();
    EXPECT_EQ(window->lblTItulo->text(), "Costura"); // the last good figures, from the first sector
    EXPECT_EQ(window->frmRelatorio()->faixaSetor->lblDia->text(), "50%");
    EXPECT_TRUE(window->frmRelatorio()->troca->isActive());
    EXPECT_FALSE(status()["ultimo_erro"].isNull());
    EXPECT_EQ(status()["ultima_geracao"].toString(), "2026-12-01T09:00:00");
    // The first failure after the server stopped names the connection, on
    // screen and in status.json alike.
    EXPECT_TRUE(window->lblAviso->text().endsWith("sem conexão com o banco de dados")) << window->lblAviso->text().toStdString();
    EXPECT_TRUE(status()["dados_antigos"].toBool());
    EXPECT_EQ(status()["motivo"].toString().toStdString(), "sem conexão com o banco de dados");
    const QStringList failed = logLines("run-failed");
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0].startsWith("time=2026-12-01T09:00:00 event=run-failed day=2026-11-05 seconds=")) << failed[0].toStdString();
    EXPECT_TRUE(failed[0].contains(" error=\"")) << failed[0].toStdString();
    EXPECT_EQ(logLines("stale").size(), 1);

    server.start();
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 30)));
    finishCycle();
    EXPECT_FALSE(window->lblAviso->isVisibleTo(window.get()));
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    const QJsonObject s = status();
    EXPECT_TRUE(s["ultimo_erro"].isNull());
    EXPECT_FALSE(s["dados_antigos"].toBool());
    EXPECT_TRUE(s["motivo"].isNull());
    EXPECT_EQ(s["ultima_geracao"].toString(), "2026-12-01T09:30:00");
    EXPECT_EQ(s["setor_em_exibicao"].toString(), "03");
    EXPECT_EQ(s["dia_leitura"].toString(), "2026-11-05");
    EXPECT_TRUE(s["ultima_duracao_s"].isDouble());
    const QStringList runs = logLines("run");
    ASSERT_EQ(runs.size(), 1); // the first run was the start's own
    EXPECT_TRUE(QRegularExpression("^time=2026-12-01T09:30:00 event=run kind=full day=2026-11-05 seconds=[0-9]+\\.[0-9]{2} "
                                   "records=2 rows=2$")
                    .match(runs[0])
                    .hasMatch())
        << runs[0].toStdString();
    EXPECT_EQ(logLines("recovered").size(), 1);
}

TEST_F(Unattended, TheRotationGoesOnWithTheNextSectorWhenARunEnds)
{
    start("03,11");
    finishCycle(); // the cycle starts again on 03 while the run goes on, and the run ends
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    window->ProximaPagina();
    EXPECT_EQ(window->lblTItulo->text(), "Montagem");
}

TEST_F(Unattended, SectorOnShowIsInTheStatusFileAsItChanges)
{
    start("03,11");
    EXPECT_EQ(status()["setor_em_exibicao"].toString(), "03");
    window->ProximaPagina();
    EXPECT_EQ(status()["setor_em_exibicao"].toString(), "11");
}

TEST_F(Unattended, WithoutAConfiguredDayTheReadingDayMovesOnAtMidnight)
{
    captureLog();
    fakes.clock.set(QDateTime(QDate(2026, 11, 5), QTime(23, 50)));
    start("03,11", {});
    finishCycle();
    EXPECT_EQ(status()["dia_leitura"].toString(), "2026-11-05");
    EXPECT_EQ(window->frmRelatorio()->faixaSetor->lblDia->text(), "50%");

    fakes.clock.set(QDateTime(QDate(2026, 11, 6), QTime(0, 5)));
    finishCycle();
    EXPECT_EQ(status()["dia_leitura"].toString(), "2026-11-06");
    const QStringList runs = logLines("run");
    ASSERT_EQ(runs.size(), 2);
    EXPECT_TRUE(runs[0].contains(" day=2026-11-05 ")) << runs[0].toStdString();
    EXPECT_TRUE(runs[1].contains(" day=2026-11-06 ")) << runs[1].toStdString();
    // The new day has no tickets yet; the month still holds the day before.
    window->reiniciarRotacao();
    EXPECT_EQ(window->frmRelatorio()->faixaSetor->lblDia->text(), "0%");
    EXPECT_EQ(window->frmRelatorio()->faixaSetor->lblMes->text(), "50%");
}

TEST_F(Unattended, AConfiguredDayStaysAfterMidnight)
{
    fakes.clock.set(QDateTime(QDate(2026, 11, 6), QTime(0, 5)));
    start("03,11");
    finishCycle();
    EXPECT_EQ(status()["dia_leitura"].toString(), "2026-11-05");
    EXPECT_EQ(window->frmRelatorio()->faixaSetor->lblDia->text(), "50%");
}

TEST_F(Unattended, AHungServerIsCancelledWhileTheRotationGoesOn)
{
    captureLog();
    start("03,11");
    finishCycle(); // the worker's connection is open
    window->ciclo().setLimiteGeracao(1000, 1000);
    server.pause();
    for (int i = 0; i < 5 && !window->aguardandoGeracao(); ++i)
        window->ProximaPagina(); // the run starts and hangs on the frozen server
    ASSERT_TRUE(window->aguardandoGeracao());
    // The rotation goes on with the last good figures meanwhile.
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    window->ProximaPagina();
    EXPECT_EQ(window->lblTItulo->text(), "Montagem");
    EXPECT_TRUE(window->frmRelatorio()->troca->isActive());
    // Cancelled, then cut off, within the limit; counted as failed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->ciclo().ultimoErro().isEmpty(); }, 20000));
    EXPECT_TRUE(window->ciclo().ultimoErro().startsWith("Geração cancelada após")) << window->ciclo().ultimoErro().toStdString();
    EXPECT_TRUE(window->lblAviso->isVisibleTo(window.get()));
    EXPECT_TRUE(window->lblAviso->text().endsWith("servidor do banco de dados não responde")) << window->lblAviso->text().toStdString();
    EXPECT_FALSE(status()["ultimo_erro"].isNull());
    EXPECT_EQ(logLines("run-cancel").size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 20000));
    EXPECT_EQ(logLines("run-failed").size(), 1);
    EXPECT_TRUE(window->ciclo().saudavel());
    server.resume();
    // The next cycle attaches again and recovers.
    window->ciclo().setLimiteGeracao(120000, 10000);
    finishCycle();
    EXPECT_TRUE(window->ciclo().ultimoErro().isEmpty());
}

TEST_F(Unattended, PagesThatNeverTurnStillGetNewFigures)
{
    start("03,11");
    window.reset();
    worker.reset();
    dm.reset();
    folder->write(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSimplificado=S\nTempoTroca=0\nSetores=03,11\n"
                                 "[Paths]\nDB=%1\n")
                      .arg(server.url(db.path()))
                      .toUtf8());
    bool ok = false;
    dm = CreateDmPrinc(&ok);
    ASSERT_TRUE(ok);
    worker = std::make_unique<GenerationWorker>(dm->sqlCon, dmMarvessa->DataLeitura(), true, true);
    window = std::make_unique<TfrmPrincipal>(*dm, *dmMarvessa);
    window->setWorker(worker.get());
    window->ciclo().setIntervaloRecalculo(200);
    window->setIntervaloNovaTentativa(200); // the cycle's timer ticks often enough
    window->resize(1280, 720);
    window->FormCreate();
    EXPECT_FALSE(window->frmRelatorio()->troca->isActive());
    EXPECT_EQ(window->frmRelatorio()->faixaSetor->lblDia->text(), "50%");
    runIsql(server.url(db.path()),
            "insert into PRODUCAO_SETOR values (1, 1, '03', '2026-11-05 11:00', '11:00', 240, '001');\ncommit;", "SYSDBA",
            "plonqubir");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frmRelatorio()->faixaSetor->lblDia->text() == "100%"; }, 30000));
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    // The cycle length is the recompute interval: the stale rule works.
    fakes.clock.set(fakes.clock.now().addSecs(3600));
    window->atualizarIdade();
    EXPECT_TRUE(window->dadosAntigos());
}

TEST_F(Unattended, FiguresOlderThanTwoCyclesSaySo)
{
    start("03,11");
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 10)));
    finishCycle(); // a cycle ends at 09:10, figures of 09:10
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 20)));
    worker->beforeRun = [] { QThread::msleep(2000); };
    for (int i = 0; i < 5 && !window->aguardandoGeracao(); ++i)
        window->ProximaPagina(); // a cycle of 10 minutes ends; its run hangs
    window->atualizarIdade();
    EXPECT_FALSE(window->lblAviso->isVisibleTo(window.get()));
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 31)));
    window->atualizarIdade();
    EXPECT_TRUE(window->lblAviso->isVisibleTo(window.get()));
    EXPECT_EQ(window->lblAviso->text().toStdString(), "Dados de 09:10 — cálculo demorando");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 30000));
    EXPECT_FALSE(window->lblAviso->isVisibleTo(window.get()));
}

TEST_F(Unattended, EscapeIsAnsweredWhileARunGoesOn)
{
    start("03,11");
    worker->beforeRun = [] { QThread::msleep(1500); };
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->ProximaPagina();
    window->ProximaPagina(); // the run starts
    ASSERT_TRUE(window->aguardandoGeracao());
    fakes.boxes.answer = platform::MsgResult::No;
    QElapsedTimer t;
    t.start();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_LT(t.elapsed(), 200);
    ASSERT_EQ(fakes.boxes.shown.size(), 1u);
    EXPECT_EQ(fakes.boxes.shown[0].text, "Deseja finalizar o programa?");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 30000));
}

TEST_F(Unattended, NoIndicatorsStateEndsOnceFiguresAppear)
{
    start("05");
    EXPECT_TRUE(window->showBg());
    EXPECT_EQ(window->lblDetalhe->text(), "Nenhum dos setores configurados existe na tabela SETOR: 05.");
    window->setIntervaloNovaTentativa(200);
    window->ProximaPagina(); // still nothing: the state stays, the retry timer runs
    EXPECT_TRUE(window->showBg());
    runIsql(server.url(db.path()), sectorSql("05", "Expedição", 5, "003", 3) + "commit;", "SYSDBA", "plonqubir");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->showBg(); }, 30000));
    EXPECT_EQ(window->lblTItulo->text(), "Expedição");
    EXPECT_TRUE(window->frmRelatorio()->isVisibleTo(window.get()));
}

TEST_F(Unattended, TheWindowSaysItIsConnectingFromItsFirstSecond)
{
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    server.pause(); // the network path cut: the attach hangs
    abrir(iniServidor());
    EXPECT_FALSE(dm->sqlCon.connected()); // the settings alone
    window->iniciar();
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "Conectando ao banco de dados…");
    EXPECT_EQ(window->lblDetalhe->text(), "Servidor 127.0.0.1/" + QString::number(server.port()));
    QTest::qWait(300);
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "Conectando ao banco de dados…");
    server.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frmRelatorio() != nullptr; }, 30000));
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
}

TEST_F(Unattended, RefusedAttachAtStartIsTriedAgainUntilTheServerIsUp)
{
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    server.stop();
    folder = std::make_unique<IniFolder>(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=03,11\n[Paths]\nDB=%1\n")
                                             .arg(server.url(db.path()))
                                             .toUtf8());
    dm = std::make_unique<TdmPrinc>();
    dm->setGeracaoInicialAdiada(true);
    QString erro;
    CausaFalha causa = CausaFalha::Outra;
    try {
        dm->DataModuleCreate();
    } catch (const fb::DatabaseError& e) {
        erro = QString::fromUtf8(e.what());
        causa = e.causa();
    }
    ASSERT_FALSE(erro.isEmpty());
    worker = std::make_unique<GenerationWorker>(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario());
    window = std::make_unique<TfrmPrincipal>(*dm);
    window->setWorker(worker.get());
    window->setIntervaloConexao(200);
    window->resize(1280, 720);
    window->iniciar(erro, causa);
    // What is wrong, in the page area; no time of figures that never were.
    EXPECT_EQ(window->ciclo().estado(), CicloIndicador::Estado::SemDados);
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "Sem conexão com o servidor do banco de dados");
    EXPECT_FALSE(window->lblAviso->isVisibleTo(window.get()));
    QTest::qWait(600); // a few refused tries
    EXPECT_EQ(window->frmRelatorio(), nullptr);
    const QJsonObject s = status();
    EXPECT_TRUE(s["ultima_geracao"].isNull());
    EXPECT_TRUE(s["ultima_duracao_s"].isNull());
    EXPECT_FALSE(s["ultimo_erro"].isNull());
    EXPECT_EQ(s["dia_leitura"].toString(), "2026-11-05");
    EXPECT_EQ(s["inicio"].toString(), "2026-12-01T09:00:00");
    EXPECT_EQ(s["estado"].toString(), "sem-dados");
    EXPECT_EQ(s["motivo"].toString().toStdString(), "Sem conexão com o servidor do banco de dados");
    EXPECT_FALSE(s["dados_antigos"].toBool()); // no figures, old or new
    server.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frmRelatorio() != nullptr; }, 30000));
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    EXPECT_FALSE(window->lblAviso->isVisibleTo(window.get()));
    EXPECT_TRUE(fakes.boxes.shown.empty());
    EXPECT_EQ(status()["ultima_geracao"].toString(), "2026-12-01T09:00:00");
}

TEST_F(Unattended, FirstRunShowsCalculandoOnlyWhileItRuns)
{
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    folder = std::make_unique<IniFolder>(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=03,11\n[Paths]\nDB=%1\n")
                                             .arg(server.url(db.path()))
                                             .toUtf8());
    dm = std::make_unique<TdmPrinc>();
    dm->setGeracaoInicialAdiada(true);
    dm->DataModuleCreate();
    worker = std::make_unique<GenerationWorker>(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario());
    worker->beforeRun = [] { QThread::msleep(300); };
    window = std::make_unique<TfrmPrincipal>(*dm);
    window->setWorker(worker.get());
    window->resize(1280, 720);
    window->iniciar();
    EXPECT_EQ(window->lblIndicadores->text(), "Calculando…");
    EXPECT_TRUE(status()["ultima_geracao"].isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frmRelatorio() != nullptr; }, 30000));
    EXPECT_FALSE(window->lblIndicadores->isVisibleTo(window.get()));
}

TEST_F(Unattended, EachCauseIsTheSameOnScreenInTheLogInStatusJsonAndInCheck)
{
    struct Case {
        const char* nome;
        QString db, banco;
        const char* causa;  // the log's word
        const char* titulo; // the screen's, status.json's and --check's words
    };
    QTemporaryDir secrets;
    {
        QFile f(secrets.filePath("errada"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("outra\n");
    }
    const Case cases[] = {
        {"senha", server.url(db.path()), "Usuario=SYSDBA\nSenhaArquivo=" + secrets.filePath("errada") + "\n", "senha",
         "Senha do banco de dados recusada"},
        {"arquivo", server.url(db.folder() + "/nao-existe.fdb"), "Chave=1\n", "arquivo",
         "Arquivo do banco de dados não encontrado"},
        {"parado", server.url(db.path()), "Chave=1\n", "conexao", "Sem conexão com o servidor do banco de dados"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        if (QLatin1String(c.nome) == QLatin1String("parado"))
            server.stop();
        log.clear();
        captureLog();
        abrir(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=03\n[Paths]\nDB=%1\n[Banco]\n%2").arg(c.db, c.banco));
        window->setIntervaloConexao(60000);
        window->iniciar();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->ciclo().estado() == CicloIndicador::Estado::SemDados; }, 40000));
        EXPECT_EQ(window->lblIndicadores->text().toStdString(), c.titulo);
        EXPECT_EQ(status()["motivo"].toString().toStdString(), c.titulo);
        const QStringList failed = logLines("run-failed");
        ASSERT_EQ(failed.size(), 1);
        EXPECT_TRUE(failed[0].contains(QStringLiteral(" cause=%1 ").arg(c.causa))) << failed[0].toStdString();
        EXPECT_FALSE(failed[0].contains("outra")); // never the password

        QProcess check;
        check.start(TOLVANEO_EXE, {"--check", "--dir", folder->path()});
        ASSERT_TRUE(check.waitForFinished(60000));
        EXPECT_EQ(check.exitCode(), 1);
        const QString out = QString::fromUtf8(check.readAllStandardOutput());
        EXPECT_TRUE(out.contains(QStringLiteral("FALHA: %1: ").arg(QString::fromUtf8(c.titulo)))) << out.toStdString();
        fechar();
    }
}

TEST_F(Unattended, SettingsThatCannotWorkShowFromTheFirstSecondWithoutARun)
{
    const std::pair<QString, const char*> cases[] = {
        {"[Tolvaneo]\nSetores=03\n", "Nenhum banco de dados configurado: falta [Paths] DB."},
        {"[Tolvaneo]\nSetores=03\nFuncionarios=and (NOME = 'x'\n[Paths]\nDB=" + server.url(db.path()) + "\n",
         "Configuração inválida em \"Funcionarios\", posição 6: campo desconhecido 'NOME' (os campos são, por exemplo, "
         "FUNCIONARIO e NOME_FUNCIONARIO)"},
    };
    for (const auto& [ini, erro] : cases) {
        log.clear();
        captureLog();
        abrir(ini);
        window->iniciar();
        EXPECT_EQ(window->ciclo().estado(), CicloIndicador::Estado::ErroConfiguracao);
        EXPECT_EQ(window->lblIndicadores->text(), "Erro na configuração");
        EXPECT_EQ(window->lblDetalhe->text().toStdString(), erro);
        EXPECT_EQ(status()["motivo"].toString().toStdString(), erro);
        QTest::qWait(200);
        EXPECT_FALSE(window->aguardandoGeracao());
        EXPECT_TRUE(logLines("run").isEmpty() && logLines("run-failed").isEmpty());
        fechar();
    }
}

TEST_F(Unattended, AFirstRunLongerThanTheOldLimitEndsInFiguresAndSaysHowFarItIs)
{
    captureLog();
    abrir(iniServidor());
    // A slow PC: every record and row takes 1.5 s, the whole run about 6 s.
    worker->calc().setProgressEvent([](int, int, const QString&, bool) { QThread::msleep(1500); });
    window->ciclo().setLimiteGeracao(500, 500); // the old rule would cancel it after half a second
    window->iniciar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->lblDetalhe->text().contains("registros lidos"); }, 20000));
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "Calculando…");
    EXPECT_TRUE(QRegularExpression("^2 registros lidos em [0-9]+ s$").match(window->lblDetalhe->text()).hasMatch())
        << window->lblDetalhe->text().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frmRelatorio() != nullptr; }, 30000));
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    EXPECT_TRUE(logLines("run-cancel").isEmpty());
}

TEST_F(Unattended, AServerThatStallsIsCancelledEvenOnTheFirstRun)
{
    captureLog();
    abrir(iniServidor(), true);
    worker->beforeRun = [this] { server.pause(); }; // then nothing more comes from it
    window->ciclo().setLimiteSemProgresso(1000);
    window->ciclo().setLimiteGeracao(1000, 1000);
    window->iniciar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->ciclo().estado() == CicloIndicador::Estado::SemDados; }, 30000));
    server.resume();
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "O servidor do banco de dados não responde");
    const QStringList cancel = logLines("run-cancel");
    ASSERT_EQ(cancel.size(), 1);
    EXPECT_TRUE(cancel[0].contains("reason=no-progress")) << cancel[0].toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 30000));
}

TEST_F(Unattended, AServerKilledUnderAnOpenConnectionIsNamedAsTheConnection)
{
    captureLog();
    start("03,11");
    finishCycle(); // the worker's connection is open
    server.kill();
    finishCycle();
    EXPECT_TRUE(window->lblAviso->text().endsWith("sem conexão com o banco de dados")) << window->lblAviso->text().toStdString();
    EXPECT_EQ(status()["motivo"].toString().toStdString(), "sem conexão com o banco de dados");
    EXPECT_TRUE(status()["dados_antigos"].toBool());
    const QStringList failed = logLines("run-failed");
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0].contains(" cause=conexao reason=\"sem conexão com o banco de dados\" ")) << failed[0].toStdString();
    server.start();
}
