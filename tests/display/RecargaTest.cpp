// systemctl reload on a running indicator: settings read again without
// closing the window.
#include "display/Recarga.h"
#include "tests/display/UnattendedFixture.h"

#include <csignal>

using namespace unattended;

namespace {

QString ini(const QString& db, const QString& tolvaneo)
{
    return QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSimplificado=S\n%1\n[Paths]\nDB=%2\n").arg(tolvaneo, db);
}

// The indicator as its own process, offscreen, with what it writes on
// standard error.
struct Processo {
    QProcess indicator;
    QByteArray err;

    explicit Processo(const QString& pasta)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        indicator.setProcessEnvironment(env);
        indicator.start(TOLVANEO_EXE, {"--dir", pasta});
    }
    // Waits until the log has the text.
    bool espera(const QByteArray& trecho)
    {
        return QTest::qWaitFor(
            [&] {
                err += indicator.readAllStandardError();
                return err.contains(trecho);
            },
            30000);
    }
    pid_t pid() const { return pid_t(indicator.processId()); }
};

} // namespace

TEST_F(Unattended, AReloadChangesThePageTimeAndTheTargetOnTheRunningWindow)
{
    captureLog();
    const QString url = server.url(db.path());
    abrir(ini(url, "TempoTroca=3600\nSetores=03,11"));
    Recarga recarga(*dm, *worker, *window);
    window->show();
    window->iniciar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->codigoAtual() == "03" && window->frmRelatorio(); }, 30000));
    QPointer<TfrmRelatorio> pagina = window->frmRelatorio();
    EXPECT_EQ(pagina->faixaSetor->classeDiario(), ClasseMeta::Nenhuma);

    folder->write(ini(url, "TempoTroca=1\nMeta=75\nSetores=03,11").toUtf8());
    recarga.recarregar();
    ASSERT_EQ(logLines("reload").size(), 1);
    EXPECT_TRUE(logLines("reload")[0].contains("result=applied")) << logLines("reload")[0].toStdString();
    EXPECT_TRUE(logLines("reload")[0].contains("changed=TempoTroca,Meta")) << logLines("reload")[0].toStdString();
    // The page on show stays whole, with no run, until the new page time
    // ends (not the old hour); the next page has the new time and target.
    EXPECT_EQ(window->frmRelatorio(), pagina.data());
    EXPECT_TRUE(pagina->isVisible());
    EXPECT_FALSE(window->aguardandoGeracao());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->codigoAtual() == "11"; }, 5000));
    EXPECT_TRUE(pagina.isNull());
    ASSERT_TRUE(window->frmRelatorio() && window->frmRelatorio()->isVisible());
    EXPECT_EQ(window->frmRelatorio()->trocaPagina->interval(), 1000);
    EXPECT_NE(window->frmRelatorio()->faixaSetor->classeDiario(), ClasseMeta::Nenhuma);
    EXPECT_EQ(window->ciclo().estado(), CicloIndicador::Estado::Rotacao);

    // A file that cannot be used changes nothing, and says so.
    folder->write(ini(url, "TempoTroca=600\nSetores=").toUtf8());
    recarga.recarregar();
    ASSERT_EQ(logLines("reload").size(), 2);
    EXPECT_TRUE(logLines("reload")[1].contains("result=refused")) << logLines("reload")[1].toStdString();
    EXPECT_EQ(status()["ultimo_erro"].toString(), "Nenhum setor configurado em \"Setores\".");
    EXPECT_EQ(dm->TempoTroca(), 1000);
    EXPECT_EQ(dm->Setores(), "'03','11'");
    EXPECT_TRUE(window->panelAviso->isVisible());
    EXPECT_EQ(window->lblAviso->text().toStdString(), "CONFIGURAÇÃO RECUSADA");
    EXPECT_EQ(window->lblAvisoDetalhe->text().toStdString(),
              "a tela segue as anteriores: Nenhum setor configurado em \"Setores\".");
    EXPECT_EQ(window->estadoTela(), "configuracao-recusada");
    EXPECT_EQ(window->ciclo().estado(), CicloIndicador::Estado::Rotacao);

    // New sectors: a run, while the figures on show stay on screen.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 30000));
    folder->write(ini(url, "TempoTroca=1\nMeta=75\nSetores=11").toUtf8());
    recarga.recarregar();
    EXPECT_TRUE(logLines("reload")[2].contains("changed=Setores")) << logLines("reload")[2].toStdString();
    EXPECT_TRUE(window->aguardandoGeracao());
    EXPECT_FALSE(window->panelAviso->isVisible());
    EXPECT_EQ(status()["ultimo_erro"], QJsonValue::Null);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->ciclo().rotacao().setores() == 1; }, 30000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->codigoAtual() == "11"; }, 5000));
    EXPECT_EQ(window->lblTItulo->text(), "Montagem");
}

TEST_F(Unattended, SighupReloadsTheRunningProgram)
{
    folder = std::make_unique<IniFolder>(ini(server.url(db.path()), "TempoTroca=3600\nSetores=03,11").toUtf8());
    Processo p(folder->path());
    ASSERT_TRUE(p.indicator.waitForStarted(10000));
    QProcess& indicator = p.indicator;
    QByteArray& err = p.err;
    auto espera = [&](const QByteArray& trecho) { return p.espera(trecho); };
    ASSERT_TRUE(espera("event=first-figures")) << err.toStdString();
    folder->write(ini(server.url(db.path()), "TempoTroca=20\nRelogio=S\nSetores=03,11").toUtf8());
    ::kill(pid_t(indicator.processId()), SIGHUP);
    ASSERT_TRUE(espera("event=reload result=applied")) << err.toStdString();
    EXPECT_TRUE(err.contains("changed=TempoTroca,Relogio")) << err.toStdString();
    folder->write("[Tolvaneo]\nSetores=03\n");
    ::kill(pid_t(indicator.processId()), SIGHUP);
    ASSERT_TRUE(espera("event=reload result=refused")) << err.toStdString();
    EXPECT_EQ(indicator.state(), QProcess::Running);
    indicator.terminate();
    ASSERT_TRUE(indicator.waitForFinished(10000));
    err += indicator.readAllStandardError();
    EXPECT_TRUE(err.contains("event=stop signal=SIGTERM")) << err.toStdString();
}

TEST_F(Unattended, AReloadToAnotherDatabaseDuringARunNeverShowsTheOldDatabasesFiguresAsNew)
{
    captureLog();
    FixtureDb outro{sectorSql("03", "Costura Nova", 3, "001", 1)};
    abrir(ini(server.url(db.path()), "TempoTroca=3600\nSetores=03"));
    Recarga recarga(*dm, *worker, *window);
    window->show();
    window->iniciar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->codigoAtual() == "03" && !window->aguardandoGeracao(); }, 30000));
    EXPECT_EQ(window->lblTItulo->text(), "Costura");

    // The next run is held before it reads the old database; the reload to
    // the other one comes meanwhile.
    std::atomic<bool> segura{true};
    std::atomic<int> execucoes{0};
    worker->beforeRun = [&] {
        if (execucoes++ == 0)
            while (segura)
                QThread::msleep(10);
    };
    window->ProximaPagina();
    ASSERT_TRUE(window->aguardandoGeracao());
    ASSERT_TRUE(QTest::qWaitFor([&] { return execucoes == 1; }, 10000));
    folder->write(ini(server.url(outro.path()), "TempoTroca=3600\nSetores=03").toUtf8());
    recarga.recarregar();
    ASSERT_TRUE(logLines("reload").value(0).contains("changed=DB")) << logLines("reload").value(0).toStdString();
    // The old database's figures stay on show, marked old.
    EXPECT_TRUE(status()["dados_antigos"].toBool());
    EXPECT_EQ(status()["motivo"].toString().toStdString(), "banco de dados novo em cálculo");
    const QJsonValue geracao = status()["ultima_geracao"];

    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 5)));
    segura = false;
    // The run begun before the reload ends and is thrown away; the new
    // database's run follows, and only its figures are new.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !logLines("run-discarded").isEmpty(); }, 30000));
    EXPECT_TRUE(window->aguardandoGeracao());
    EXPECT_EQ(status()["ultima_geracao"], geracao);
    EXPECT_TRUE(status()["dados_antigos"].toBool());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 30000));
    EXPECT_EQ(execucoes, 2);
    EXPECT_FALSE(status()["dados_antigos"].toBool());
    EXPECT_EQ(status()["ultima_geracao"].toString(), "2026-12-01T09:05:00");
    window->ProximaPagina();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->lblTItulo->text() == "Costura Nova"; }, 10000))
        << window->lblTItulo->text().toStdString();
    EXPECT_EQ(logLines("run-discarded").size(), 1);
}

TEST_F(Unattended, AFifoForTheSettingsAndASignalFloodDoNotKeepSigtermWaiting)
{
    folder = std::make_unique<IniFolder>(ini(server.url(db.path()), "TempoTroca=3600\nSetores=03,11").toUtf8());
    Processo p(folder->path());
    ASSERT_TRUE(p.indicator.waitForStarted(10000));
    QProcess& indicator = p.indicator;
    QByteArray& err = p.err;
    auto espera = [&](const QByteArray& trecho) { return p.espera(trecho); };
    ASSERT_TRUE(espera("event=first-figures")) << err.toStdString();
    // The settings file replaced by a FIFO nobody writes, then far more
    // reload signals than the signal pipe holds.
    const QByteArray ini = QFile::encodeName(folder->path() + "/Marvessa.ini");
    ASSERT_EQ(::unlink(ini.constData()), 0);
    ASSERT_EQ(::mkfifo(ini.constData(), 0600), 0);
    const pid_t pid = pid_t(indicator.processId());
    for (int i = 0; i < 200000; ++i)
        ::kill(pid, SIGHUP);
    ASSERT_TRUE(espera("event=reload result=refused")) << err.toStdString();
    EXPECT_TRUE(err.contains("não é um arquivo comum")) << err.toStdString();
    // Signals that came together made few reloads, not one each.
    QTest::qWait(1000);
    err += indicator.readAllStandardError();
    EXPECT_LT(err.count("event=reload "), 20) << err.count("event=reload ");
    QElapsedTimer relogio;
    relogio.start();
    indicator.terminate();
    ASSERT_TRUE(indicator.waitForFinished(10000)) << err.toStdString();
    EXPECT_LT(relogio.elapsed(), 6000);
    err += indicator.readAllStandardError();
    EXPECT_TRUE(err.contains("event=stop signal=SIGTERM")) << err.toStdString();
}
