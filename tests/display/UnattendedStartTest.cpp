// The unattended indicator from its start: connecting, refused attaches,
// first runs, causes and settings that cannot work.
#include "tests/display/UnattendedFixture.h"

using namespace unattended;

TEST_F(Unattended, TheWindowSaysItIsConnectingFromItsFirstSecond)
{
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    server.pause(); // the network path cut: the attach hangs
    abrir(iniServidor());
    EXPECT_FALSE(dm->sqlCon.connected()); // the settings alone
    window->iniciar();
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "Conectando ao banco de dados — aguarde");
    EXPECT_EQ(window->lblDetalhe->text(), "Servidor 127.0.0.1/" + QString::number(server.port()));
    QTest::qWait(300);
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "Conectando ao banco de dados — aguarde");
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
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "Calculando — aguarde");
    EXPECT_EQ(window->estadoTela(), "aguarde");
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
        // What is wrong, and that a person must act.
        EXPECT_EQ(window->lblDetalhe->text().toStdString(), std::string(erro) + "\n\nChame o responsável.");
        EXPECT_EQ(window->estadoTela(), "chame-o-responsavel");
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
    // The server answers on the side while the rows come slowly: no limit
    // of silence is reached, however short.
    worker->intervaloVigiaMs = 100;
    window->ciclo().setLimiteSemResposta(1000, 500);
    window->iniciar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->lblDetalhe->text().contains("registros lidos"); }, 20000));
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "Calculando — aguarde");
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
    worker->intervaloVigiaMs = 200;
    window->ciclo().setLimiteSemResposta(1000, 1000);
    window->iniciar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->ciclo().estado() == CicloIndicador::Estado::SemDados; }, 30000));
    server.resume();
    EXPECT_EQ(window->lblIndicadores->text().toStdString(), "O servidor do banco de dados não responde");
    const QStringList cancel = logLines("run-cancel");
    ASSERT_EQ(cancel.size(), 1);
    EXPECT_TRUE(cancel[0].contains("reason=no-answer")) << cancel[0].toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 30000));
}

TEST_F(Unattended, AServerKilledUnderAnOpenConnectionIsNamedAsTheConnection)
{
    captureLog();
    start("03,11");
    finishCycle(); // the worker's connection is open
    server.kill();
    finishCycle();
    EXPECT_EQ(window->lblAvisoDetalhe->text().toStdString(), "sem conexão com o banco de dados");
    EXPECT_EQ(status()["motivo"].toString().toStdString(), "sem conexão com o banco de dados");
    EXPECT_TRUE(status()["dados_antigos"].toBool());
    const QStringList failed = logLines("run-failed");
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0].contains(" cause=conexao reason=\"sem conexão com o banco de dados\" ")) << failed[0].toStdString();
    server.start();
}
