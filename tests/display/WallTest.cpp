// The indicator on the screens a factory hangs on a wall: sizes and shapes,
// states read from across the floor, no keyboard, no window manager.
#include "app/GenerationWorker.h"
#include "app/TdmPrinc.h"
#include "calc/TdmMarvessa.h"
#include "data/DatabaseError.h"
#include "display/QtMessageBoxes.h"
#include "display/Screen.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"
#include "display/TfrmPrincipal.h"
#include "display/TfrmRelatorio.h"
#include "tests/app/IniFixture.h"
#include "tests/common/Fakes.h"
#include "tests/common/FirebirdServer.h"
#include "tests/common/FixtureDb.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Two sectors, seven employees in the first (two pages), names with markup
// and a long one.
QString factory()
{
    QString sql = "insert into SETOR values ('03', 'Costura', 3, '03');\n"
                  "insert into SETOR values ('11', 'Montagem e Acabamento de Calçados Fem', 11, '11');\n"
                  "insert into PRODUTO_TEMPO values ('P1', '03', 60);\n"
                  "insert into PRODUTO_TEMPO values ('P1', '11', 60);\n";
    const QStringList names = {"José <b>&amp;</b>", "Maria Aparecida dos Santos Nascimento Ferreira da Silva Lima",
                               "Ana", "Bruno Lima", "Carla Souza", "Davi Rocha", "Eva Melo"};
    for (int i = 0; i < names.size(); ++i) {
        const QString cod = QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0'));
        const QString setor = i < 6 ? "03" : "11";
        sql += QStringLiteral("insert into TABELA values ('38', '%1', '%2');\n").arg(cod, QString(names[i]).replace("'", "''"));
        sql += QStringLiteral("insert into PRODUCAO_EXPEDIENTE values ('2026-11-05', '%1', '%2', '08:00', '16:00', 0, "
                              "null, null, 0, 1, 0);\n")
                   .arg(setor, cod);
        sql += QStringLiteral("insert into ITENSPV values (1, %1, 1, 'P1');\n").arg(i + 1);
        sql += QStringLiteral("insert into PRODUCAO_SETOR values (1, %1, '%2', '2026-11-05 10:00', '10:00', %3, '%4');\n")
                   .arg(i + 1)
                   .arg(setor)
                   .arg(100 + 50 * i)
                   .arg(cod);
    }
    return sql;
}

QString ini(const QString& db, const QString& extra = {})
{
    return QStringLiteral("[Tolvaneo]\nDataBase=2026-11-05\nSimplificado=S\nTempoTroca=3600\nSetores=03,11\n%2"
                          "[Paths]\nDB=%1\n")
        .arg(db, extra);
}

struct ProcessRun {
    int exitCode;
    QByteArray out, err;
};

ProcessRun tolvaneo(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
             int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(TOLVANEO_EXE, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// Mean absolute difference per channel, 0 to 255.
double meanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int r = 0; r < x.height(); ++r) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(r));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(r));
        for (int c = 0; c < x.width(); ++c)
            sum += std::abs(qRed(p[c]) - qRed(q[c])) + std::abs(qGreen(p[c]) - qGreen(q[c])) +
                   std::abs(qBlue(p[c]) - qBlue(q[c]));
    }
    return sum / (3.0 * x.width() * x.height());
}

class Wall : public ::testing::Test {
protected:
    void SetUp() override { setScreenSize({1920, 1080}); }
    void TearDown() override { setScreenSize({}); }
    PlatformFakes fakes;
    ScopedEnv locale{"LC_ALL", QByteArray("C")};
    FixtureDb db{factory()};
};

} // namespace

TEST_F(Wall, LargerScreensShowTheDesignScaledUpWhole)
{
    IniFolder folder(ini(db.path()).toUtf8());
    QTemporaryDir out;
    for (const char* size : {"1920x1080", "3840x2160", "2560x1440"}) {
        const ProcessRun r = tolvaneo({"--dir", folder.path(), "--snapshot", out.filePath(size), "--size", size});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    const QStringList pages = QDir(out.filePath("1920x1080")).entryList({"*.png"}, QDir::Files, QDir::Name);
    ASSERT_EQ(pages.size(), 3); // two pages of 03, one of 11
    for (const char* size : {"3840x2160", "2560x1440"}) {
        for (const QString& page : pages) {
            const QImage design(out.filePath("1920x1080/" + page));
            const QImage big(out.filePath(QString(size) + "/" + page));
            ASSERT_EQ(QString("%1x%2").arg(big.width()).arg(big.height()), QString(size));
            const QImage down = big.scaled(1920, 1080, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const double d = meanDifference(design, down);
            EXPECT_LT(d, 3.0) << size << " " << page.toStdString();
            if (page == pages.first())
                down.save(out.filePath(QString("down-") + size + ".png"));
        }
    }
}

TEST_F(Wall, EveryTextStaysInsideItsBoxOnEveryShape)
{
    IniFolder folder(ini(db.path()).toUtf8());
    bool ok = false;
    auto dm = CreateDmPrinc(&ok);
    ASSERT_TRUE(ok);
    for (const QSize size : {QSize(1080, 1920), QSize(1280, 1024), QSize(1920, 1080), QSize(1366, 768), QSize(2560, 1080), QSize(2580, 1080)}) {
        setScreenSize(size);
        TfrmPrincipal window(*dm, *dmMarvessa);
        window.resize(size);
        window.FormCreate();
        window.show();
        for (int sector = 0; sector < 2; ++sector) {
            for (int page = 0; page < window.frmRelatorio()->Paginas(); ++page) {
                window.frmRelatorio()->setPaginaAtual(page);
                QApplication::processEvents();
                for (QLabel* l : window.findChildren<QLabel*>()) {
                    if (!l->isVisibleTo(&window) || l->text().isEmpty() || !l->pixmap().isNull())
                        continue;
                    const QFontMetrics m = l->fontMetrics();
                    const QString where = QString("%1x%2 %3 \"%4\"")
                                              .arg(size.width())
                                              .arg(size.height())
                                              .arg(l->objectName(), l->text());
                    if (!l->wordWrap()) {
                        EXPECT_LE(m.horizontalAdvance(l->text()), l->width()) << where.toStdString();
                    }
                    EXPECT_LE(m.height(), l->height() + 2) << where.toStdString();
                    // Inside the window.
                    const QRect r(l->mapTo(&window, QPoint(0, 0)), l->size());
                    EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(r)) << where.toStdString();
                }
                // The percentages on the line of their names.
                for (auto* row : window.frmRelatorio()->linhas) {
                    auto* s = qobject_cast<TfrmFuncionarioSetorSimplificado*>(row);
                    if (!s || !row->ExibirConteudo())
                        continue;
                    const int nome = row->lblNome->geometry().center().y();
                    EXPECT_NEAR(s->lblDia->geometry().center().y(), nome, row->height() / 6 + 8)
                        << size.width() << "x" << size.height();
                }
            }
            window.ProximaPagina();
        }
        if (size == QSize(1080, 1920))
            window.grab().save(QDir::temp().filePath("tolvaneo-portrait.png"));
    }
    setScreenSize({});
}

TEST_F(Wall, StateTextsForAStoppedServerAMissingFileAndARefusedPassword)
{
    FirebirdServer server("plonqubir");
    // A lost connection is waited for; a missing file or a refused password
    // calls a person, named when the settings name one.
    struct Case {
        QString db, extra, titulo, estado, pede;
        bool stop;
    };
    const Case cases[] = {
        {server.url(db.path()), "", "Sem conexão com o servidor do banco de dados", "sem-conexao", "Aguarde.", true},
        {server.url(db.folder() + "/nao-existe.fdb"), "[Tolvaneo]\nContato=TI — ramal 214\n",
         "Arquivo do banco de dados não encontrado", "chame-o-responsavel", "Chame o responsável: TI — ramal 214.", false},
        {server.url(db.path()), "[Banco]\nChave=2\n", "Senha do banco de dados recusada", "chame-o-responsavel",
         "Chame o responsável.", false},
    };
    for (const Case& c : cases) {
        if (c.stop)
            server.stop();
        else
            server.start();
        IniFolder folder(ini(c.db, c.extra).toUtf8());
        TdmPrinc dm;
        dm.setGeracaoInicialAdiada(true);
        QString erro;
        CausaFalha causa = CausaFalha::Outra;
        try {
            dm.DataModuleCreate();
        } catch (const fb::DatabaseError& e) {
            erro = QString::fromUtf8(e.what());
            causa = e.causa();
        }
        ASSERT_FALSE(erro.isEmpty());
        GenerationWorker worker(dm.sqlCon, dm.DataIndicador(), dm.PorFuncionario());
        TfrmPrincipal window(dm);
        window.setWorker(&worker);
        window.resize(1920, 1080);
        window.iniciar(erro, causa);
        window.show();
        QTest::qWait(50);
        EXPECT_EQ(window.lblIndicadores->text().toStdString(), c.titulo.toStdString());
        EXPECT_TRUE(window.lblDetalhe->text().contains("Nova tentativa às") ||
                    window.lblDetalhe->text().contains("Tentando novamente"))
            << window.lblDetalhe->text().toStdString();
        EXPECT_EQ(window.estadoTela().toStdString(), c.estado.toStdString());
        EXPECT_TRUE(window.lblDetalhe->text().contains(c.pede)) << window.lblDetalhe->text().toStdString();
        // The client's own words (English) go to the log, not to the floor.
        EXPECT_FALSE(window.lblDetalhe->text().contains(erro.section('\n', 0, 0))) << window.lblDetalhe->text().toStdString();
        // No time of figures that never were.
        EXPECT_FALSE(window.panelAviso->isVisibleTo(&window));
        EXPECT_FALSE(window.grab().isNull());
        EXPECT_GE(window.lblIndicadores->font().pixelSize(), 50); // large type
        window.grab().save(QDir::temp().filePath("tolvaneo-" + QString::number(&c - cases) + ".png"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.aguardandoGeracao(); }, 60000));
    }
}

TEST_F(Wall, StaleFiguresShowABannerAcrossThePage)
{
    FirebirdServer server("plonqubir");
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    IniFolder folder(ini(server.url(db.path())).toUtf8());
    bool ok = false;
    auto dm = CreateDmPrinc(&ok);
    ASSERT_TRUE(ok);
    GenerationWorker worker(dm->sqlCon, dmMarvessa->DataLeitura(), true);
    TfrmPrincipal window(*dm, *dmMarvessa);
    window.setWorker(&worker);
    window.resize(1920, 1080);
    window.FormCreate();
    window.show();
    EXPECT_FALSE(window.panelAviso->isVisibleTo(&window));
    EXPECT_EQ(window.lblInfo->text(), "05/11/2026   1/2");
    EXPECT_EQ(window.frmRelatorio()->y(), 83);
    server.stop();
    fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 40)));
    for (int i = 0; i < 5 && !window.aguardandoGeracao(); ++i)
        window.ProximaPagina();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.aguardandoGeracao(); }, 60000));
    ASSERT_TRUE(window.panelAviso->isVisibleTo(&window));
    EXPECT_EQ(window.lblAviso->text().toStdString(), "DADOS ANTIGOS — desde 09:00")
        << window.ciclo().ultimoErro().toStdString();
    EXPECT_EQ(window.lblAvisoDetalhe->text().toStdString(), "sem conexão com o banco de dados");
    // Across the page, at least as tall as a row's name, white on dark grey.
    EXPECT_EQ(window.panelAviso->width(), 1920);
    EXPECT_GE(window.lblAviso->font().pixelSize(), window.frmRelatorio()->linhas[0]->lblNome->font().pixelSize());
    EXPECT_GE(window.panelAviso->height(), window.frmRelatorio()->linhas[0]->lblNome->fontMetrics().height());
    EXPECT_EQ(window.frmRelatorio()->y(), 83 + window.panelAviso->height()); // the page below it, nothing covered
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(5, 83 + 5)).name(), "#3a3a3a");
    // The figures on show are old: the percentages grey, never in the
    // colours of figures that stand.
    EXPECT_EQ(window.frmRelatorio()->faixaSetor->lblDia->palette().color(QPalette::WindowText).name(), "#404040");
    EXPECT_EQ(window.frmRelatorio()->linhas[0]->findChild<QLabel*>("lblDia")->palette().color(QPalette::WindowText).name(),
              "#666666");
    // Pages made again while the figures are old (settings of the screen
    // read again) are grey from their first page too.
    window.aplicarConfiguracoes(true);
    for (int i = 0; i < 3; ++i) {
        window.ProximaPagina();
        ASSERT_TRUE(window.frmRelatorio());
        EXPECT_EQ(window.frmRelatorio()->faixaSetor->lblDia->palette().color(QPalette::WindowText).name(), "#404040")
            << i;
    }
    shot.save(QDir::temp().filePath("tolvaneo-stale.png"));
}

TEST(WallQuestion, CloseQuestionSpeaksPortugueseAndAnswersNoByItself)
{
    ScopedEnv lang("LANG", QByteArray("C"));
    ScopedEnv lcAll("LC_ALL", std::nullopt);
    EXPECT_EQ(instalarTraducoes(*qApp), "pt_BR");
    QtMessageBoxes boxes;
    boxes.setTempoResposta(300);
    QStringList buttons;
    QTimer::singleShot(100, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            for (QAbstractButton* b : box->buttons())
                buttons << b->text().remove('&');
    });
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(boxes.show("Tolvaneo", "Deseja finalizar o programa?", platform::MsgIcon::Question,
                         platform::MsgButtons::YesNo),
              platform::MsgResult::No);
    EXPECT_GE(t.elapsed(), 250);
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"Não", "Sim"}));
}

// Over the indicator's window the question is drawn inside it: no second
// window for a kiosk compositor to place (or not). Large, in the middle,
// above a page made while it shows; Escape says no, Sim says yes.
TEST(WallQuestion, CloseQuestionIsDrawnInsideTheWindow)
{
    ScopedEnv lang("LANG", QByteArray("C"));
    ScopedEnv lcAll("LC_ALL", std::nullopt);
    instalarTraducoes(*qApp);
    setScreenWidth(1920);
    QWidget janela;
    janela.setObjectName("frmPrincipal");
    janela.resize(1920, 1080);
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    QtMessageBoxes boxes;

    struct Visto {
        bool cobre = false, embaixo = false, acimaDaPagina = false;
        int texto = 0;
        QStringList botoes;
    } visto;
    auto olhar = [&](const char* tecla) {
        QTimer::singleShot(200, [&, tecla] {
            auto* camada = janela.findChild<QWidget*>("camadaPergunta");
            if (!camada)
                return;
            visto.cobre = camada->isVisible() && camada->geometry() == janela.rect();
            auto* caixa = camada->findChild<QWidget*>("caixaPergunta");
            // Centred across, low on the page: the band and the first rows
            // stay in sight above it.
            const QRect g = caixa->geometry();
            visto.embaixo = std::abs(g.center().x() - 960) < 10 && g.top() > 1080 / 2 && g.bottom() < 1080;
            visto.texto = camada->findChild<QLabel*>()->fontInfo().pixelSize();
            // A page made while the question shows stays under it.
            auto* pagina = new QWidget(&janela);
            pagina->show();
            QTest::qWait(50);
            visto.acimaDaPagina = janela.children().indexOf(camada) > janela.children().indexOf(pagina);
            visto.botoes.clear();
            for (QAbstractButton* b : camada->findChildren<QAbstractButton*>())
                visto.botoes << b->text().remove('&');
            if (QString(tecla) == "Escape")
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                for (QAbstractButton* b : camada->findChildren<QAbstractButton*>())
                    if (b->text().remove('&') == tecla)
                        b->click();
        });
    };
    olhar("Escape");
    EXPECT_EQ(boxes.show("Tolvaneo", "Deseja finalizar o programa?", platform::MsgIcon::Question,
                         platform::MsgButtons::YesNo),
              platform::MsgResult::No);
    EXPECT_TRUE(visto.cobre);
    EXPECT_TRUE(visto.embaixo);
    EXPECT_TRUE(visto.acimaDaPagina);
    EXPECT_GE(visto.texto, 60); // the pages' names' type at 1920 wide
    visto.botoes.sort();
    EXPECT_EQ(visto.botoes, QStringList({"Não", "Sim"}));
    EXPECT_EQ(janela.findChild<QWidget*>("camadaPergunta"), nullptr); // gone with the answer

    olhar("Sim");
    EXPECT_EQ(boxes.show("Tolvaneo", "Deseja finalizar o programa?", platform::MsgIcon::Question,
                         platform::MsgButtons::YesNo),
              platform::MsgResult::Yes);
    setScreenWidth(0);
}

TEST(WallCommandLine, VersionAndHelpNeedNoDisplay)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(v);
    const ProcessRun version = tolvaneo({"--version"}, env);
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, "tolvaneo 1.1.68\n");
    const ProcessRun help = tolvaneo({"--help"}, env);
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains("--snapshot")) << help.out.toStdString();
}

namespace {

// An X server of the test's own, with no window manager.
class Xvfb {
public:
    explicit Xvfb(const QString& screen)
    {
        // A display number nobody holds, and the server ready to answer.
        display_ = 50 + int(QCoreApplication::applicationPid() % 100);
        while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display_)) ||
               QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display_)))
            ++display_;
        process_.start("Xvfb", {name(), "-screen", "0", screen, "-nolisten", "tcp"});
        process_.waitForStarted(10000);
        if (!QTest::qWaitFor([&] { return answers(); }, 15000))
            ADD_FAILURE() << "Xvfb did not start";
        QTest::qWait(500); // the server resets when the probe leaves
    }
    bool answers() const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", name());
        p.setProcessEnvironment(env);
        p.start("xwininfo", {"-root"});
        p.waitForFinished(5000);
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    ~Xvfb()
    {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    QString name() const { return QStringLiteral(":%1").arg(display_); }

private:
    int display_ = 0;
    QProcess process_;
};

// The geometry of the top-level window with this title, from xwininfo.
QRect windowGeometry(const QString& display, const QString& title)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    p.setProcessEnvironment(env);
    p.start("xwininfo", {"-name", title});
    p.waitForFinished(5000);
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    auto value = [&](const char* key) {
        const QRegularExpressionMatch m = QRegularExpression(QString(key) + ":\\s+(-?\\d+)").match(out);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    if (p.exitCode() != 0)
        return {};
    return QRect(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"));
}

} // namespace

TEST_F(Wall, CoversABareXScreenWithoutAWindowManager)
{
    IniFolder folder(ini(db.path()).toUtf8());
    for (const QString& screen : {QStringLiteral("1366x768x24"), QStringLiteral("3840x2160x24")}) {
        Xvfb x(screen);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", x.name());
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.remove("QT_SCALE_FACTOR");
        // libxkbcommon-x11 hands strndup a buffer shorter than the length it
        // names; a strict sanitizer build stops there, in the X library.
        if (env.contains("ASAN_OPTIONS"))
            env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":strict_string_checks=0");
        QProcess indicator;
        indicator.setProcessEnvironment(env);
        indicator.start(TOLVANEO_EXE, {"--dir", folder.path()});
        ASSERT_TRUE(indicator.waitForStarted(10000));
        const QStringList wh = screen.split('x');
        const QRect full(0, 0, wh[0].toInt(), wh[1].toInt());
        // Looked at once the indicator holds its connection: every client
        // that leaves an X server with no other one makes it reset.
        QByteArray err;
        (void)QTest::qWaitFor(
            [&] {
                err += indicator.readAllStandardError();
                return err.contains("event=start");
            },
            30000);
        QRect got;
        (void)QTest::qWaitFor([&] { return (got = windowGeometry(x.name(), "Tolvaneo")) == full; }, 30000);
        EXPECT_EQ(got, full) << screen.toStdString() << " " << (err + indicator.readAllStandardError()).toStdString();
        indicator.terminate();
        indicator.waitForFinished(10000);
    }
}
