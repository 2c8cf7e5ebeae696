#include "tests/display/UnattendedFixture.h"

using namespace unattended;

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
    EXPECT_EQ(window->lblAviso->text().toStdString(), "DADOS ANTIGOS — desde 09:00");
    EXPECT_EQ(window->estadoTela(), "dados-antigos");
    EXPECT_EQ(window->lblTItulo->text(), "Costura"); // the last good figures, from the first sector
    EXPECT_EQ(window->frmRelatorio()->faixaSetor->lblDia->text(), "50%");
    EXPECT_TRUE(window->frmRelatorio()->trocaPagina->isActive());
    EXPECT_FALSE(status()["ultimo_erro"].isNull());
    EXPECT_EQ(status()["ultima_geracao"].toString(), "2026-12-01T09:00:00");
    // The first failure after the server stopped names the connection, on
    // screen and in status.json alike.
    // The cause in Portuguese, never the client's words.
    EXPECT_EQ(window->lblAvisoDetalhe->text().toStdString(), "sem conexão com o banco de dados");
    EXPECT_TRUE(status()["dados_antigos"].toBool());
    EXPECT_EQ(status()["motivo"].toString().toStdString(), "sem conexão com o banco de dados");
    const QStringList failed = logLines("run-failed");
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0].startsWith("time=2026-12-01T09:00:00 event=run-failed day=2026-11-05 seconds=")) << failed[0].toStdString();
    EXPECT_TRUE(failed[0].contains(" error=\"")) << failed[0].toStdString();
    EXPECT_TRUE(failed[0].contains(" database=" + server.url(db.path()) + " ")) << failed[0].toStdString();
    ASSERT_EQ(logLines("stale").size(), 1);
    EXPECT_TRUE(logLines("stale")[0].contains("reason=\"sem conexão com o banco de dados\"")) << logLines("stale")[0].toStdString();
    EXPECT_TRUE(logLines("fresh").isEmpty());

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
    EXPECT_EQ(logLines("stale").size(), 1);
    EXPECT_EQ(logLines("fresh").size(), 1);
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
    worker->intervaloVigiaMs = 200;
    window->ciclo().setLimiteSemResposta(1000, 1000);
    server.pause();
    for (int i = 0; i < 5 && !window->aguardandoGeracao(); ++i)
        window->ProximaPagina(); // the run starts and hangs on the frozen server
    ASSERT_TRUE(window->aguardandoGeracao());
    // The rotation goes on with the last good figures meanwhile.
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    window->ProximaPagina();
    EXPECT_EQ(window->lblTItulo->text(), "Montagem");
    EXPECT_TRUE(window->frmRelatorio()->trocaPagina->isActive());
    // Cancelled, then cut off, within the limit; counted as failed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->ciclo().ultimoErro().isEmpty(); }, 20000));
    EXPECT_TRUE(window->ciclo().ultimoErro().startsWith("Geração cancelada após")) << window->ciclo().ultimoErro().toStdString();
    EXPECT_TRUE(window->lblAviso->isVisibleTo(window.get()));
    EXPECT_EQ(window->lblAvisoDetalhe->text().toStdString(), "servidor do banco de dados não responde");
    EXPECT_FALSE(status()["ultimo_erro"].isNull());
    EXPECT_EQ(logLines("run-cancel").size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 20000));
    EXPECT_EQ(logLines("run-failed").size(), 1);
    EXPECT_TRUE(window->ciclo().saudavel());
    server.resume();
    // The next cycle attaches again and recovers.
    window->ciclo().setLimiteSemResposta(120000, 10000);
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
    EXPECT_FALSE(window->frmRelatorio()->trocaPagina->isActive());
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
    EXPECT_EQ(window->lblAviso->text().toStdString(), "DADOS ANTIGOS — desde 09:10");
    EXPECT_EQ(window->lblAvisoDetalhe->text().toStdString(), "cálculo demorando");
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

