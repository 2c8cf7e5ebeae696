// The indicator's cycle on its own: a screen that records what it is asked
// to draw, an executor whose runs end when the test says, and a clock the
// test moves. No database, no window, no waits.
#include "app/ExecutorGeracao.h"
#include "app/StatusFile.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "data/Platform.h"
#include "display/CicloIndicador.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Estado = CicloIndicador::Estado;

class RelogioManual : public platform::Clock {
public:
    QDateTime now() const override { return inicio_.addMSecs(ms_); }
    qint64 monotonicMs() const override { return ms_; }
    void avancar(qint64 ms) { ms_ += ms; }

private:
    QDateTime inicio_{QDate(2026, 11, 5), QTime(9, 0)};
    qint64 ms_ = 1000000;
};

class TelaGravada : public TelaCiclo {
public:
    void mostrarPagina(const PaginaSetor& p) override
    {
        paginas << p.codigo;
        ultima = p;
    }
    void mostrarResumo(const PaginaRotacao& p) override
    {
        paginas << QStringLiteral("resumo-%1").arg(p.paginaResumo);
        resumo = p;
    }
    void esconderPagina() override { ++escondida; }
    void mostrarEstado() override { ++estados; }
    QStringList paginas;
    PaginaSetor ultima;
    PaginaRotacao resumo;
    int escondida = 0;
    int estados = 0;
};

class ExecutorManual : public ExecutorGeracao {
public:
    void iniciar() override
    {
        ++iniciadas;
        emAndamento = true;
    }
    void cancelar(bool abortar) override { (abortar ? abortos : cancelamentos)++; }
    bool emOutraThread() const override { return true; }
    bool precisaConectar() const override { return false; }
    double diaLeitura() const override { return daynum::fromDate(QDate(2026, 11, 5)); }
    int tipoExecucao() const override { return tipo; }
    std::int64_t registrosLidos() const override { return registros; }
    std::int64_t atividade() const override { return atividadeAtual; }
    std::int64_t respostasServidor() const override { return respostas; }
    const ExecucaoGeracao& ultima() const override { return ultima_; }
    Figuras figuras(const QString&, const QString&) override
    {
        ++leituras;
        return proximas;
    }

    // The run going on ends.
    void terminar(bool ok, double segundos = 1, bool completa = true, CausaFalha causa = CausaFalha::Outra,
                  const QString& erro = {})
    {
        ASSERT_TRUE(emAndamento);
        emAndamento = false;
        ultima_ = {};
        ultima_.ok = ok;
        ultima_.erro = ok ? QString() : erro;
        ultima_.causa = causa;
        ultima_.completa = completa;
        ultima_.segundos = segundos;
        ultima_.dia = diaLeitura();
        emit concluida(ok, ultima_.erro);
    }

    int iniciadas = 0, cancelamentos = 0, abortos = 0, leituras = 0;
    bool emAndamento = false;
    int tipo = 1;
    std::int64_t registros = 0, atividadeAtual = 0;
    std::int64_t respostas = 0; // -1: a local file, no server to ask
    Figuras proximas;

private:
    ExecucaoGeracao ultima_;
};

PaginaSetor setor(const QString& codigo, double diario = 80)
{
    PaginaSetor p;
    p.codigo = codigo;
    p.nome = QStringLiteral("Setor ") + codigo;
    p.diario = diario;
    LinhaSetorFuncionario ana;
    ana.setor = codigo;
    ana.nomeFuncionario = QStringLiteral("Ana");
    ana.mediaEficiencia = ana.mediaEficienciaMes = diario;
    p.funcionarios = {ana};
    return p;
}

Figuras figuras(std::initializer_list<const char*> codigos, QSet<QString> existentes = {})
{
    Figuras f;
    f.dia = daynum::fromDate(QDate(2026, 11, 5));
    for (const char* c : codigos)
        f.setores.push_back(setor(QString::fromLatin1(c)));
    f.setoresExistentes = std::move(existentes);
    return f;
}

class Ciclo : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::setClock(&relogio);
        platform::setAppFolder(pasta.path());
        logfmt::setSink([this](const QString& l) { log << l; });
    }
    void TearDown() override
    {
        ciclo.reset();
        logfmt::setSink({});
        platform::setClock(nullptr);
        platform::setAppFolder({});
    }
    void criar(ConfigCiclo config = {QStringLiteral("/dados/fabrica.fdb"), QStringLiteral("'01','02','03'"), {}, 8})
    {
        ciclo = std::make_unique<CicloIndicador>(tela, executor, status, config);
    }
    // The cycle's timer, ticking every second over the given time.
    void passar(qint64 ms, bool progresso = false)
    {
        for (qint64 t = 0; t < ms; t += 1000) {
            relogio.avancar(1000);
            if (progresso)
                ++executor.atividadeAtual;
            ciclo->tick();
        }
    }
    QJsonObject statusJson() const { return QJsonDocument::fromJson(status.texto()).object(); }
    bool registrou(const QString& trecho) const { return log.join('\n').contains(trecho); }

    QTemporaryDir pasta;
    RelogioManual relogio;
    TelaGravada tela;
    ExecutorManual executor;
    StatusFile status{QStringLiteral("9.9")};
    std::unique_ptr<CicloIndicador> ciclo;
    QStringList log;
};

TEST_F(Ciclo, PagesFollowTheFiguresAndTheCycleEndStartsTheNextRun)
{
    criar();
    ciclo->iniciar();
    EXPECT_EQ(ciclo->estado(), Estado::Calculando);
    ASSERT_EQ(executor.iniciadas, 1);
    executor.proximas = figuras({"01", "02", "03"});
    executor.terminar(true);
    EXPECT_EQ(ciclo->estado(), Estado::Rotacao);
    EXPECT_EQ(tela.paginas, QStringList({"01"}));
    EXPECT_EQ(statusJson()["setor_em_exibicao"].toString(), "01");

    ciclo->proximaPagina();
    ciclo->proximaPagina();
    EXPECT_EQ(tela.paginas, QStringList({"01", "02", "03"}));
    // Past the last sector: a run starts, the rotation starts over with the
    // figures it has.
    ciclo->proximaPagina();
    EXPECT_EQ(executor.iniciadas, 2);
    EXPECT_EQ(tela.paginas.last(), "01");

    // New figures while 01 shows, without 02: the next page is the one after
    // 01 in the new figures, with its new numbers.
    Figuras novas = figuras({"01", "03", "04"});
    novas.setores[1].diario = 97;
    executor.proximas = novas;
    executor.terminar(true);
    EXPECT_EQ(tela.paginas.last(), "01"); // the page on show stays until its time ends
    ciclo->proximaPagina();
    EXPECT_EQ(tela.paginas.last(), "03");
    EXPECT_EQ(tela.ultima.diario, 97);
    EXPECT_EQ(ciclo->rotacao().codigoAtual(), "03");
}

TEST_F(Ciclo, SettingsThatCannotWorkStopEverythingAndNoFiguresAreRead)
{
    const ConfigCiclo casos[] = {
        {{}, QStringLiteral("'01'"), {}, 8},
        {QStringLiteral("f.fdb"), {}, {}, 8},
        {QStringLiteral("f.fdb"), QStringLiteral("'01'"), QStringLiteral("and (FUNCIONARIO #"), 8},
        // A Windows path with no server: the form to write is on the screen.
        {QStringLiteral("C:\\Dados\\F.FDB"), QStringLiteral("'01'"), {}, 8},
    };
    for (const ConfigCiclo& c : casos) {
        criar(c);
        ciclo->iniciar();
        EXPECT_EQ(ciclo->estado(), Estado::ErroConfiguracao);
        EXPECT_FALSE(ciclo->motivo().isEmpty());
        EXPECT_EQ(statusJson()["estado"].toString(), "erro-configuracao");
        passar(300000);
        EXPECT_EQ(executor.iniciadas, 0);
        EXPECT_EQ(executor.leituras, 0);
        EXPECT_TRUE(tela.paginas.isEmpty());
    }
}

TEST_F(Ciclo, NoConfiguredSectorWithFiguresNamesTheMissingOnesAndTriesAgain)
{
    criar();
    ciclo->setIntervaloNovaTentativa(60000);
    ciclo->iniciar();
    executor.proximas = figuras({}, {"01", "05"});
    executor.terminar(true);
    EXPECT_EQ(ciclo->estado(), Estado::SemIndicadores);
    EXPECT_EQ(ciclo->motivo(), "Nenhum setor configurado tem números em 05/11/2026. Setores configurados: 01, 02, 03."
                               " Sem linha na tabela SETOR: 02, 03.");
    passar(59000);
    EXPECT_EQ(executor.iniciadas, 1);
    passar(2000);
    EXPECT_EQ(executor.iniciadas, 2);
    executor.proximas = figuras({}, {"07"});
    executor.terminar(true);
    EXPECT_EQ(ciclo->motivo(), "Nenhum dos setores configurados existe na tabela SETOR: 01, 02, 03.");
    executor.iniciadas = 0;
    passar(61000);
    executor.proximas = figuras({"02"});
    executor.terminar(true);
    EXPECT_EQ(ciclo->estado(), Estado::Rotacao);
    EXPECT_EQ(tela.paginas, QStringList({"02"}));
}

TEST_F(Ciclo, AFailedFirstRunIsRetriedAndAFailureInRotationMarksTheFiguresOld)
{
    criar();
    ciclo->setIntervaloConexao(30000);
    ciclo->iniciar();
    executor.terminar(false, 1, true, CausaFalha::Conexao, QStringLiteral("connection refused"));
    EXPECT_EQ(ciclo->estado(), Estado::SemDados);
    EXPECT_EQ(ciclo->proximaTentativa(), relogio.now().addSecs(30));
    passar(29000);
    EXPECT_EQ(executor.iniciadas, 1);
    passar(1000);
    EXPECT_EQ(executor.iniciadas, 2);
    executor.proximas = figuras({"01"});
    executor.terminar(true);
    EXPECT_TRUE(registrou("event=first-figures"));
    EXPECT_FALSE(ciclo->dadosAntigos());

    // The next run fails: the rotation goes on with the figures it has,
    // marked old, and the status file says why.
    ciclo->proximaPagina();
    executor.terminar(false, 1, true, CausaFalha::Conexao, QStringLiteral("connection refused"));
    EXPECT_EQ(ciclo->estado(), Estado::Rotacao);
    EXPECT_TRUE(ciclo->dadosAntigos());
    EXPECT_TRUE(statusJson()["dados_antigos"].toBool());
    EXPECT_EQ(statusJson()["ultimo_erro"].toString(), "connection refused");
    ciclo->proximaPagina();
    executor.terminar(true);
    EXPECT_FALSE(ciclo->dadosAntigos());
    EXPECT_TRUE(registrou("event=recovered"));
}

TEST_F(Ciclo, FiguresOlderThanTwoCycleLengthsAreOld)
{
    criar();
    ciclo->iniciar();
    executor.proximas = figuras({"01"});
    executor.terminar(true);
    // Two cycles of 10 s measure the cycle length; the figures are from the
    // end of the first, and the run of the second hangs.
    passar(10000);
    ciclo->proximaPagina();
    executor.terminar(true);
    passar(10000);
    ciclo->proximaPagina();
    ASSERT_TRUE(executor.emAndamento);
    passar(10000, true);
    EXPECT_FALSE(ciclo->dadosAntigos());
    passar(1000, true);
    EXPECT_TRUE(ciclo->dadosAntigos());
    EXPECT_EQ(ciclo->motivoAviso(), "cálculo demorando");
    EXPECT_TRUE(registrou("event=stale"));
}

// Slow is not dead: a run goes on for hours while rows come in or the
// server answers the questions asked on the side; one whose server answers
// nothing for two minutes is cancelled, and a cancel that does not come back
// cuts the connection. A local file's runs are never cut.
TEST_F(Ciclo, RunsAreCutWhenTheServerStopsAnsweringNotWhenTheyAreSlow)
{
    criar();
    ciclo->iniciar();
    executor.registros = 2900000;
    passar(30 * 60 * 1000, true); // half an hour, records coming in
    EXPECT_EQ(executor.cancelamentos, 0);
    EXPECT_TRUE(registrou("event=run-progress seconds=30 records=2900000"));
    executor.proximas = figuras({"01"});
    executor.terminar(true, 1800);
    EXPECT_EQ(ciclo->estado(), Estado::Rotacao);

    // A refresh sorting its rows for an hour before the first comes: no row,
    // but the server answers every 30 s.
    ciclo->proximaPagina();
    executor.tipo = 0;
    for (int i = 0; i < 120; ++i) {
        passar(30000);
        ++executor.respostas;
    }
    EXPECT_EQ(executor.cancelamentos, 0);
    executor.terminar(true, 3600, false);
    EXPECT_TRUE(ciclo->ultimoErro().isEmpty());

    // The server stops answering: two minutes later the run is cancelled,
    // and 10 s after that, with no answer, the connection is cut and the
    // run counts as failed.
    ciclo->proximaPagina();
    passar(120000);
    EXPECT_EQ(executor.cancelamentos, 0);
    passar(2000);
    EXPECT_EQ(executor.cancelamentos, 1);
    EXPECT_TRUE(registrou("reason=no-answer limit_seconds=120"));
    passar(11000);
    EXPECT_EQ(executor.abortos, 1);
    EXPECT_TRUE(ciclo->ultimoErro().startsWith("Geração cancelada após"));
    EXPECT_EQ(ciclo->ultimaCausa(), CausaFalha::TempoEsgotado);
    EXPECT_TRUE(ciclo->saudavel());
    passar(11 * 60 * 1000);
    EXPECT_FALSE(ciclo->saudavel()); // the watchdog restarts the program
    executor.terminar(false, 900, false, CausaFalha::TempoEsgotado, QStringLiteral("cancelled"));

    // A local file: a day without a row is not cut.
    executor.respostas = -1;
    ciclo->proximaPagina();
    ASSERT_TRUE(executor.emAndamento);
    passar(24 * 3600 * 1000);
    EXPECT_EQ(executor.cancelamentos, 1);
}

TEST_F(Ciclo, PagesThatNeverTurnAreComputedAgainAndShowTheFirstSector)
{
    criar({QStringLiteral("f.fdb"), QStringLiteral("'01','02'"), {}, 0});
    ciclo->setIntervaloRecalculo(60000);
    ciclo->iniciar();
    executor.proximas = figuras({"01", "02"});
    executor.terminar(true);
    EXPECT_TRUE(ciclo->trocaParada());
    passar(59000);
    EXPECT_EQ(executor.iniciadas, 1);
    passar(2000);
    EXPECT_EQ(executor.iniciadas, 2);
    Figuras novas = figuras({"01", "02"});
    novas.setores[0].diario = 55;
    executor.proximas = novas;
    executor.terminar(true);
    EXPECT_EQ(tela.paginas.last(), "01");
    EXPECT_EQ(tela.ultima.diario, 55);
}

TEST_F(Ciclo, AnOverviewStartsEachRotationTwelveSectorsToAPage)
{
    ConfigCiclo config{QStringLiteral("f.fdb"), QStringLiteral("'01'"), {}, 8000, 12};
    criar(config);
    ciclo->iniciar();
    Figuras muitas;
    for (int i = 1; i <= 13; ++i)
        muitas.setores.push_back(setor(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))));
    executor.proximas = muitas;
    executor.terminar(true);
    EXPECT_EQ(tela.paginas, QStringList({"resumo-0"}));
    ASSERT_EQ(tela.resumo.resumo.size(), 12u);
    EXPECT_EQ(tela.resumo.resumo.front()->codigo, "01");
    EXPECT_EQ(tela.resumo.paginasResumo, 2);
    EXPECT_EQ(statusJson()["setor_em_exibicao"], QJsonValue::Null);
    ciclo->proximaPagina();
    EXPECT_EQ(tela.paginas.last(), "resumo-1");
    ASSERT_EQ(tela.resumo.resumo.size(), 1u);
    EXPECT_EQ(tela.resumo.resumo.front()->codigo, "13");
    ciclo->proximaPagina();
    EXPECT_EQ(tela.paginas.last(), "01");
    for (int i = 1; i < 13; ++i)
        ciclo->proximaPagina();
    EXPECT_EQ(tela.paginas.last(), "13");
    ciclo->proximaPagina(); // the cycle ends: a run, and the overview again
    EXPECT_EQ(executor.iniciadas, 2);
    EXPECT_EQ(tela.paginas.last(), "resumo-0");
    // New figures while the overview shows: the page after it comes next.
    executor.terminar(true);
    ciclo->proximaPagina();
    EXPECT_EQ(tela.paginas.last(), "resumo-1");

    // Fewer sectors while the second overview page shows: it stays the
    // overview on show, and the first sector follows it.
    for (int i = 0; i < 13; ++i)
        ciclo->proximaPagina();
    ciclo->proximaPagina(); // the cycle ends: a run, and the overview again
    ASSERT_EQ(executor.iniciadas, 3);
    ciclo->proximaPagina();
    ASSERT_EQ(tela.paginas.last(), "resumo-1");
    executor.proximas = figuras({"01", "02"});
    executor.terminar(true);
    EXPECT_EQ(ciclo->rotacao().codigoAtual(), "");
    ASSERT_TRUE(ciclo->rotacao().atual());
    EXPECT_EQ(ciclo->rotacao().atual()->setor, nullptr);
    ciclo->proximaPagina();
    EXPECT_EQ(tela.paginas.last(), "01");
}

// Settings read again while the indicator runs.
TEST_F(Ciclo, ReloadedSettingsThatChangeFiguresRunAfterTheRunGoingOnAndKeepThePagesTurning)
{
    criar();
    ciclo->iniciar();
    executor.proximas = figuras({"01", "02", "03"});
    executor.terminar(true);
    ciclo->proximaPagina();
    ASSERT_EQ(tela.paginas.last(), "02");

    // No run going on: the executor takes its settings, then a run starts;
    // the figures on show stay, and the page goes on.
    ConfigCiclo novo{QStringLiteral("/dados/outra.fdb"), QStringLiteral("'03','01'"), {}, 8};
    QStringList ordem;
    ciclo->reconfigurar(novo, [&] { ordem << QStringLiteral("executor@%1").arg(executor.iniciadas); });
    EXPECT_EQ(ordem, QStringList({"executor@1"}));
    EXPECT_EQ(executor.iniciadas, 2);
    EXPECT_EQ(ciclo->estado(), Estado::Rotacao);
    EXPECT_EQ(tela.paginas.last(), "02");
    EXPECT_EQ(ciclo->config().setores, "'03','01'");

    // A second reload while that run goes on: the executor's settings wait
    // for its end, the later reload's replacing the earlier's; one run
    // follows at once.
    ciclo->reconfigurar(novo, [&] { ordem << "primeira"; });
    ciclo->reconfigurar(novo, [&] { ordem << "segunda"; });
    EXPECT_EQ(executor.iniciadas, 2);
    executor.proximas = figuras({"03", "01"});
    executor.terminar(false, 1, true, CausaFalha::Outra, "conexão perdida");
    EXPECT_EQ(ordem, QStringList({"executor@1", "segunda"}));
    EXPECT_EQ(executor.iniciadas, 3);
    executor.terminar(true);
    EXPECT_FALSE(ciclo->dadosAntigos());
    ciclo->proximaPagina(); // 02 is gone: the first sector
    EXPECT_EQ(tela.paginas.last(), "03");

    // Display settings alone start no run.
    ciclo->reconfigurar({novo.banco, novo.setores, {}, 30000});
    EXPECT_EQ(executor.iniciadas, 3);
}

TEST_F(Ciclo, ARefusedReloadIsShownForOneRotationAndInTheStatusUntilAReloadWorks)
{
    criar();
    ciclo->iniciar();
    executor.proximas = figuras({"01", "02", "03"});
    executor.terminar(true);
    ciclo->proximaPagina(); // 02 on show

    ciclo->recargaRecusada(QStringLiteral("Nenhum setor configurado em \"Setores\"."));
    EXPECT_EQ(ciclo->avisoRecarga(), "Nenhum setor configurado em \"Setores\".");
    EXPECT_EQ(statusJson()["ultimo_erro"].toString(), "Nenhum setor configurado em \"Setores\".");
    EXPECT_EQ(ciclo->config().setores, "'01','02','03'");
    // One rotation of three pages after the refusal, then no notice.
    for (int i = 0; i < 3; ++i) {
        ciclo->proximaPagina();
        EXPECT_FALSE(ciclo->avisoRecarga().isEmpty()) << i;
        if (executor.emAndamento)
            executor.terminar(true);
    }
    ciclo->proximaPagina();
    EXPECT_TRUE(ciclo->avisoRecarga().isEmpty());
    // A run's own error comes first in the status; the refusal stays after it.
    EXPECT_EQ(statusJson()["ultimo_erro"].toString(), "Nenhum setor configurado em \"Setores\".");
    ciclo->reconfigurar(ciclo->config());
    EXPECT_EQ(statusJson()["ultimo_erro"], QJsonValue::Null);

    // Pages that do not turn: the notice goes after a minute.
    ciclo->reconfigurar({QStringLiteral("f.fdb"), QStringLiteral("'01'"), {}, 0});
    ciclo->recargaRecusada(QStringLiteral("x"));
    passar(59000);
    EXPECT_FALSE(ciclo->avisoRecarga().isEmpty());
    passar(2000);
    EXPECT_TRUE(ciclo->avisoRecarga().isEmpty());
}

TEST_F(Ciclo, AReloadMendsSettingsThatCouldNotWorkAndSwitchesTheOverview)
{
    criar({QStringLiteral("f.fdb"), {}, {}, 8});
    ciclo->iniciar();
    ASSERT_EQ(ciclo->estado(), Estado::ErroConfiguracao);
    bool tomou = false;
    ciclo->reconfigurar({QStringLiteral("f.fdb"), QStringLiteral("'01','02'"), {}, 8}, [&] { tomou = true; });
    EXPECT_TRUE(tomou);
    EXPECT_EQ(ciclo->estado(), Estado::Calculando);
    EXPECT_EQ(statusJson()["ultimo_erro"], QJsonValue::Null);
    ASSERT_EQ(executor.iniciadas, 1);
    executor.proximas = figuras({"01", "02"});
    executor.terminar(true);
    EXPECT_EQ(tela.paginas, QStringList({"01"}));

    // The overview switched on while 01 shows: the rotation goes on to 02,
    // and the next rotation starts with the overview.
    ciclo->reconfigurar({QStringLiteral("f.fdb"), QStringLiteral("'01','02'"), {}, 8, 12});
    EXPECT_EQ(ciclo->rotacao().codigoAtual(), "01");
    ciclo->proximaPagina();
    ciclo->proximaPagina();
    executor.terminar(true);
    EXPECT_EQ(tela.paginas, QStringList({"01", "02", "resumo-0"}));
    // Switched off while the overview shows: the first sector comes next.
    ciclo->reconfigurar({QStringLiteral("f.fdb"), QStringLiteral("'01','02'"), {}, 8, 0});
    ciclo->proximaPagina();
    EXPECT_EQ(tela.paginas.last(), "01");
}

} // namespace
