#include "app/TdmPrinc.h"
#include "calc/TdmMarvessa.h"
#include "data/Log.h"
#include "display/MarcaMeta.h"
#include "display/Screen.h"
#include "display/Snapshot.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"
#include "display/TfrmPrincipal.h"
#include "display/TfrmRelatorio.h"
#include "display/TfrmResumo.h"
#include "tests/app/IniFixture.h"
#include "tests/common/Fakes.h"
#include "tests/common/FixtureDb.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Sectors 03 and 11 with employees on the reading day 2026-11-05; sector 07
// has figures but is not configured.
const char* kFactory = R"(
insert into SETOR values ('03', 'Costura', 3, '03');
insert into SETOR values ('11', 'Montagem', 11, '11');
insert into SETOR values ('07', 'Expedição', 7, '07');
insert into TABELA values ('38', '001', 'Ana');
insert into TABELA values ('38', '002', 'Bruno');
insert into TABELA values ('38', '003', 'Carla');
insert into PRODUTO_TEMPO values ('P1', '03', 60);
insert into PRODUTO_TEMPO values ('P1', '11', 60);
insert into PRODUTO_TEMPO values ('P1', '07', 60);
insert into PRODUCAO_EXPEDIENTE values ('2026-11-05', '03', '001', '08:00', '16:00', 0, null, null, 0, 1, 0);
insert into PRODUCAO_EXPEDIENTE values ('2026-11-05', '03', '002', '08:00', '16:00', 0, null, null, 0, 1, 0);
insert into PRODUCAO_EXPEDIENTE values ('2026-11-05', '11', '003', '08:00', '16:00', 0, null, null, 0, 1, 0);
insert into PRODUCAO_EXPEDIENTE values ('2026-11-05', '07', '001', '08:00', '16:00', 0, null, null, 0, 1, 0);
insert into ITENSPV values (1, 1, 1, 'P1');
insert into ITENSPV values (1, 2, 1, 'P1');
insert into ITENSPV values (1, 3, 1, 'P1');
insert into ITENSPV values (1, 4, 1, 'P1');
insert into PRODUCAO_SETOR values (1, 1, '03', '2026-11-05 10:00', '10:00', 240, '001');
insert into PRODUCAO_SETOR values (1, 2, '03', '2026-11-05 10:00', '10:00', 384, '002');
insert into PRODUCAO_SETOR values (1, 3, '11', '2026-11-05 10:00', '10:00', 120, '003');
insert into PRODUCAO_SETOR values (1, 4, '07', '2026-11-05 10:00', '10:00', 120, '001');
)";

class MainWindow : public ::testing::Test {
protected:
    void start(const QString& setores, const QString& extra = {})
    {
        fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0))); // the reading day is past
        folder = std::make_unique<IniFolder>(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSimplificado=S\nTempoTroca=3600\n"
                                                           "Setores=%1\n%2\n[Paths]\nDB=%3\n")
                                                 .arg(setores, extra, db.path())
                                                 .toUtf8());
        bool ok = false;
        dm = CreateDmPrinc(&ok);
        ASSERT_TRUE(ok);
        ASSERT_NE(dmMarvessa, nullptr);
        dmMarvessa->setProgressEvent([this](int, int, const QString& msg, bool first) {
            if (first && msg == QStringLiteral("Calculando Eficiência"))
                ++runs;
        });
        window = std::make_unique<TfrmPrincipal>(*dm, *dmMarvessa);
        window->resize(1920, 1080);
        window->FormCreate();
    }
    QStringList names() const
    {
        QStringList out;
        for (auto* row : window->frmRelatorio()->linhas)
            if (row->ExibirConteudo())
                out << row->lblRank->text() + " " + row->lblNome->text();
        return out;
    }

    PlatformFakes fakes;
    ScopedEnv locale{"LC_ALL", QByteArray("C")};
    FixtureDb db{kFactory};
    std::unique_ptr<IniFolder> folder;
    std::unique_ptr<TdmPrinc> dm;
    std::unique_ptr<TfrmPrincipal> window;
    int runs = 0;
};

} // namespace

TEST_F(MainWindow, RotatesTheConfiguredSectorsAndRecomputesAfterTheLast)
{
    start("03,11");
    ASSERT_TRUE(fakes.boxes.shown.empty()) << fakes.boxes.shown[0].text.toStdString();
    TfrmRelatorio* page = window->frmRelatorio();
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    EXPECT_EQ(names(), QStringList({"001 Bruno", "002 Ana"}));
    EXPECT_EQ(page->faixaSetor->lblDia->text(), "65%"); // (80 + 50) / 2
    EXPECT_EQ(page->OrdemSetor(), 3);
    EXPECT_TRUE(page->trocaPagina->isActive());

    window->ProximaPagina();
    EXPECT_EQ(window->lblTItulo->text(), "Montagem");
    EXPECT_EQ(names(), QStringList({"001 Carla"}));
    EXPECT_EQ(page->OrdemSetor(), 11);
    EXPECT_EQ(runs, 0);

    window->ProximaPagina(); // past the last sector: a new run, then the first sector
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    EXPECT_FALSE(window->showBg());
}

TEST_F(MainWindow, EmployeeFilterTakesTheConfiguredContinuation)
{
    start("03", "Funcionarios=and (FUNCIONARIO IN ('001')");
    EXPECT_EQ(window->filtroFuncionarios("03"), "Setor=03and (FUNCIONARIO IN ('001'))");
    EXPECT_EQ(window->filtroFuncionarios("A1"), "Setor='A1'and (FUNCIONARIO IN ('001'))");
    EXPECT_EQ(names(), QStringList({"001 Ana"}));
}

TEST_F(MainWindow, NoMatchingSectorShowsTheTiledEmptyState)
{
    start("99");
    EXPECT_TRUE(window->showBg());
    EXPECT_TRUE(!window->frmRelatorio() || !window->frmRelatorio()->isVisibleTo(window.get()));
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(window->lblIndicadores->text(), "Sem indicadores.");
    // Sector 99 is not in the sector table: the screen says so.
    EXPECT_EQ(window->lblDetalhe->text(), "Nenhum dos setores configurados existe na tabela SETOR: 99.");
    QImage shot = window->grab().toImage();
    const QColor tile = shot.pixelColor(20, 400);
    EXPECT_TRUE(tile.name() == "#6cb6ff" || tile.name() == "#aed7ff") << tile.name().toStdString();
    EXPECT_TRUE(window->lblIndicadores->isVisibleTo(window.get()));
    EXPECT_EQ(window->lblIndicadores->y(), (1080 - 39) / 2);
}

TEST_F(MainWindow, SettingsThatCannotWorkAreShownInThePageAreaWithoutABox)
{
    struct Case {
        QString setores, extra, detalhe;
    };
    const Case cases[] = {
        {"", "", "Nenhum setor configurado em \"Setores\"."},
        // The program closes the continuation's parenthesis: a fault there is
        // at the end of the text the technician wrote.
        {"03", "Funcionarios=and (FUNCIONARIO IN ('001',",
         "Configuração inválida em \"Funcionarios\", no fim do texto: falta um campo, um texto ou um número antes de ')'"},
        {"03", "Funcionarios=and (FUNCIONARIO # 3",
         "Configuração inválida em \"Funcionarios\", posição 18: caractere inesperado '#'"},
        {"03", "Funcionarios=and " + QString(14000, QLatin1Char('(')),
         "Configuração inválida em \"Funcionarios\", posição 69: mais de 64 parênteses abertos um dentro do outro"},
    };
    for (const Case& c : cases) {
        QStringList log;
        logfmt::setSink([&](const QString& l) { log << l; });
        start(c.setores, c.extra);
        logfmt::setSink({});
        EXPECT_TRUE(fakes.boxes.shown.empty()) << fakes.boxes.shown[0].text.toStdString();
        EXPECT_EQ(window->ciclo().estado(), CicloIndicador::Estado::ErroConfiguracao);
        EXPECT_TRUE(!window->frmRelatorio() || !window->frmRelatorio()->isVisibleTo(window.get()));
        EXPECT_EQ(window->lblIndicadores->text(), "Erro na configuração");
        EXPECT_EQ(window->lblDetalhe->text().toStdString(), c.detalhe.toStdString() + "\n\nChame o responsável.");
        EXPECT_EQ(window->lblTItulo->text(), "");
        EXPECT_TRUE(log.join('\n').contains("event=config-error error=")) << log.join('\n').toStdString();
        QFile f(folder->path() + "/status.json");
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QJsonObject status = QJsonDocument::fromJson(f.readAll()).object();
        EXPECT_EQ(status["estado"].toString(), "erro-configuracao");
        EXPECT_EQ(status["ultimo_erro"].toString().toStdString(), c.detalhe.toStdString());
        window.reset();
        dm.reset();
    }
}

TEST_F(MainWindow, EscapeAsksBeforeClosing)
{
    start("03");
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    fakes.boxes.answer = platform::MsgResult::No;
    QTest::keyClick(window.get(), Qt::Key_Escape);
    ASSERT_EQ(fakes.boxes.shown.size(), 1u);
    EXPECT_EQ(fakes.boxes.shown[0].caption, "Tolvaneo");
    EXPECT_EQ(fakes.boxes.shown[0].text, "Deseja finalizar o programa?");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->frmRelatorio()->trocaPagina->isActive());
    fakes.boxes.answer = platform::MsgResult::Yes;
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, TheClockShowsTheTimeOfDayOnlyWhenAskedAndFollowsTheClock)
{
    start("03");
    EXPECT_FALSE(window->lblRelogio->isVisibleTo(window.get()));
    const int tituloSemRelogio = window->lblTItulo->width();
    window.reset();
    dm.reset();

    start("03", "Relogio=S");
    ASSERT_TRUE(window->lblRelogio->isVisibleTo(window.get()));
    EXPECT_EQ(window->lblRelogio->text(), "09:00");
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 1, 59)));
    window->atualizarRelogio();
    EXPECT_EQ(window->lblRelogio->text(), "09:01");
    // The clock stands at the right end, clear of the reading day and of the
    // title, which stays centred.
    const QRect relogio = window->lblRelogio->geometry(), info = window->lblInfo->geometry(),
                titulo = window->lblTItulo->geometry();
    EXPECT_EQ(relogio.right(), window->width() - 21);
    EXPECT_LE(info.right(), relogio.left());
    EXPECT_LE(titulo.right(), info.left() + info.width() - window->lblInfo->fontMetrics().horizontalAdvance(window->lblInfo->text()));
    EXPECT_EQ(titulo.left(), window->width() - 1 - titulo.right());
    EXPECT_LT(window->lblTItulo->width(), tituloSemRelogio);
    EXPECT_EQ(window->lblRelogio->font(), window->lblTItulo->font()); // as large as the sector's name
}

TEST_F(MainWindow, ATargetDrawsEachPercentageInItsClass)
{
    start("03", "Meta=75");
    TfrmRelatorio* page = window->frmRelatorio();
    auto* bruno = qobject_cast<TfrmFuncionarioSetorSimplificado*>(page->linhas[0]);
    auto* ana = qobject_cast<TfrmFuncionarioSetorSimplificado*>(page->linhas[1]);
    auto* vazia = qobject_cast<TfrmFuncionarioSetorSimplificado*>(page->linhas[2]);
    ASSERT_TRUE(bruno && ana && vazia);
    // Bruno 80% at or above 75, the sector's 65% within 10 points below,
    // Ana 50% further below; a row without an employee has no chip.
    EXPECT_EQ(bruno->lblDia->text(), "80%");
    EXPECT_EQ(page->faixaSetor->lblDia->text(), "65%");
    EXPECT_EQ(ana->lblDia->text(), "50%");
    EXPECT_EQ(bruno->classeDiario(), ClasseMeta::Acima);
    EXPECT_EQ(page->faixaSetor->classeDiario(), ClasseMeta::Perto);
    EXPECT_EQ(ana->classeDiario(), ClasseMeta::Abaixo);
    EXPECT_EQ(vazia->classeDiario(), ClasseMeta::Nenhuma);
    const QJsonObject descricao = describePage(*window);
    EXPECT_EQ(descricao["faixa"].toObject()["classe_diario"].toString(), "perto");
    EXPECT_EQ(descricao["linhas"].toArray()[0].toObject()["classe_diario"].toString(), "acima");
    EXPECT_EQ(descricao["linhas"].toArray()[1].toObject()["classe_diario"].toString(), "abaixo");
    EXPECT_FALSE(descricao["linhas"].toArray()[2].toObject().contains("classe_diario"));
    // The figure stands on its chip, in the chip's text colour.
    for (auto* row : {bruno, ana}) {
        const QImage imagem = row->grab().toImage();
        auto* fundo = row->findChildren<FundoMeta*>().value(0);
        ASSERT_TRUE(fundo && fundo->isVisibleTo(row));
        EXPECT_TRUE(fundo->geometry().intersects(row->lblDia->geometry()));
        const QColor dentro = imagem.pixelColor(fundo->geometry().center().x() + fundo->width() / 3,
                                                fundo->geometry().top() + 4);
        EXPECT_EQ(dentro, estiloMeta(row->classeDiario()).fundo) << dentro.name().toStdString();
    }

    // Without a target no chip and no class: the pages as designed.
    window.reset();
    dm.reset();
    start("03");
    auto* semMeta = qobject_cast<TfrmFuncionarioSetorSimplificado*>(window->frmRelatorio()->linhas[0]);
    EXPECT_EQ(semMeta->classeDiario(), ClasseMeta::Nenhuma);
    for (auto* fundo : semMeta->findChildren<FundoMeta*>())
        EXPECT_FALSE(fundo->isVisibleTo(semMeta));
    EXPECT_FALSE(describePage(*window)["linhas"].toArray()[0].toObject().contains("classe_diario"));
}

TEST_F(MainWindow, AnOverviewOfEverySectorComesFirstWhenAsked)
{
    start("03,11", "Resumo=S\nMeta=60");
    ASSERT_TRUE(window->frmResumo());
    EXPECT_TRUE(window->frmResumo()->isVisibleTo(window.get()));
    EXPECT_EQ(window->lblTItulo->text(), "Visão geral");
    const QJsonObject resumo = describeResumo(*window);
    EXPECT_TRUE(resumo["resumo"].toBool());
    const QJsonArray setores = resumo["setores"].toArray();
    ASSERT_EQ(setores.size(), 2);
    EXPECT_EQ(setores[0].toObject()["codigo"].toString(), "03");
    EXPECT_EQ(setores[0].toObject()["nome"].toString(), "03 · Costura"); // the code first, beside the name
    EXPECT_EQ(setores[0].toObject()["diario"].toString(), "65%");
    EXPECT_EQ(setores[0].toObject()["classe_diario"].toString(), "acima");
    EXPECT_EQ(setores[1].toObject()["codigo"].toString(), "11");
    // After the overview's time, the sectors as before.
    window->ProximaPagina();
    EXPECT_FALSE(window->frmResumo()->isVisibleTo(window.get()));
    EXPECT_EQ(window->lblTItulo->text(), "Costura");
    EXPECT_EQ(names(), QStringList({"001 Bruno", "002 Ana"}));
}
