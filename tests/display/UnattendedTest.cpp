#include "app/GenerationWorker.h"
#include "app/TdmPrinc.h"
#include "data/DatabaseError.h"
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
    void start(const QString& setores)
    {
        fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
        folder = std::make_unique<IniFolder>(QStringLiteral("[Tolvaneo]\nDataBase=11/05/2026\nSimplificado=S\n"
                                                           "TempoTroca=3600\nSetores=%1\n[Paths]\nDB=%2\n")
                                                 .arg(setores, server.url(db.path()))
                                                 .toUtf8());
        bool ok = false;
        dm = CreateDmPrinc(&ok);
        ASSERT_TRUE(ok) << (fakes.boxes.shown.empty() ? "" : fakes.boxes.shown[0].text.toStdString());
        worker = std::make_unique<GenerationWorker>(dm->sqlCon, dmMarvessa->DataLeitura(),
                                                    dmMarvessa->ExpedienteProducaoPorFunc());
        window = std::make_unique<TfrmPrincipal>(*dm, *dmMarvessa);
        window->setWorker(worker.get());
        window->resize(1280, 720);
        window->FormCreate();
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
        window.reset();
        worker.reset();
        dm.reset();
    }

    PlatformFakes fakes;
    ScopedEnv locale{"LC_ALL", QByteArray("C")};
    FixtureDb db{sectorSql("03", "Costura", 3, "001", 1) + sectorSql("11", "Montagem", 11, "002", 2)};
    FirebirdServer server{"plonqubir"};
    std::unique_ptr<IniFolder> folder;
    std::unique_ptr<TdmPrinc> dm;
    std::unique_ptr<GenerationWorker> worker;
    std::unique_ptr<TfrmPrincipal> window;
};

} // namespace

TEST_F(Unattended, ServerOutageShowsANoticeAndTheRotationGoesOn)
{
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

    server.start();
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 30)));
    finishCycle();
    EXPECT_FALSE(window->lblAviso->isVisibleTo(window.get()));
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    const QJsonObject s = status();
    EXPECT_TRUE(s["ultimo_erro"].isNull());
    EXPECT_EQ(s["ultima_geracao"].toString(), "2026-12-01T09:30:00");
    EXPECT_EQ(s["setor_em_exibicao"].toString(), "03");
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
    EXPECT_EQ(window->lblAviso->text(), "Dados de 09:10");
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
    window->setIntervaloNovaTentativa(200);
    window->ProximaPagina(); // still nothing: the state stays, the retry timer runs
    EXPECT_TRUE(window->showBg());
    runIsql(server.url(db.path()), sectorSql("05", "Expedição", 5, "003", 3) + "commit;", "SYSDBA", "plonqubir");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->showBg(); }, 30000));
    EXPECT_EQ(window->lblTItulo->text(), "Expedição");
    EXPECT_TRUE(window->frmRelatorio()->isVisibleTo(window.get()));
}

TEST_F(Unattended, RefusedAttachAtStartIsTriedAgainUntilTheServerIsUp)
{
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    server.stop();
    folder = std::make_unique<IniFolder>(QStringLiteral("[Tolvaneo]\nDataBase=11/05/2026\nSetores=03,11\n[Paths]\nDB=%1\n")
                                             .arg(server.url(db.path()))
                                             .toUtf8());
    dm = std::make_unique<TdmPrinc>();
    dm->setGeracaoInicialAdiada(true);
    QString erro;
    try {
        dm->DataModuleCreate();
    } catch (const fb::DatabaseError& e) {
        erro = QString::fromUtf8(e.what());
    }
    ASSERT_FALSE(erro.isEmpty());
    worker = std::make_unique<GenerationWorker>(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario());
    window = std::make_unique<TfrmPrincipal>(*dm);
    window->setWorker(worker.get());
    window->setIntervaloConexao(200);
    window->resize(1280, 720);
    window->iniciar(erro);
    EXPECT_EQ(window->lblIndicadores->text(), "Calculando…");
    EXPECT_TRUE(window->lblAviso->isVisibleTo(window.get()));
    QTest::qWait(600); // a few refused tries
    EXPECT_EQ(window->frmRelatorio(), nullptr);
    server.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frmRelatorio() != nullptr; }, 30000));
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    EXPECT_FALSE(window->lblAviso->isVisibleTo(window.get()));
    EXPECT_TRUE(fakes.boxes.shown.empty());
}
