#include "display/QtMessageBoxes.h"

#include "display/Screen.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

#include <functional>

namespace {

// A layer over the whole of the indicator's window: the page stays in sight
// around the question, the layer takes the clicks meant for it, stays on
// top of pages made while it shows and follows the window's size.
class Camada : public QWidget {
public:
    explicit Camada(QWidget* dono) : QWidget(dono)
    {
        setObjectName(QStringLiteral("camadaPergunta"));
        setGeometry(dono->rect());
        dono->installEventFilter(this);
    }

    std::function<void()> aoEscape, aoEnter;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == parent()) {
            if (e->type() == QEvent::Resize)
                setGeometry(parentWidget()->rect());
            else if (e->type() == QEvent::ChildAdded)
                QTimer::singleShot(0, this, [this] { raise(); });
        }
        return false;
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape && aoEscape)
            aoEscape();
        else if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && aoEnter)
            aoEnter();
    }
};

// A question's or a message's look: its frame, its text and its buttons in
// the same large type.
QString estilo(const QString& moldura, int texto)
{
    return moldura + QStringLiteral(" { border: 4px solid #214D8C; background: white; }"
                          "QLabel { font-family: Tahoma; font-size: %1px; min-width: 16em; padding: 0.4em; }"
                          "QPushButton { font-family: Tahoma; font-size: %1px; min-width: 5em;"
                          " padding: 0.3em 1em; }")
        .arg(texto);
}

// The question inside the window itself, not as a second window: a kiosk
// compositor that does not place one (Debian 13's cage) still shows it, and
// no window manager is needed. Escape answers no, as the dialog's did.
platform::MsgResult perguntarNaJanela(QWidget* dono, const QString& text, int texto, int tempoResposta)
{
    Camada camada(dono);
    auto* caixa = new QFrame(&camada);
    caixa->setObjectName(QStringLiteral("caixaPergunta"));
    caixa->setStyleSheet(estilo(QStringLiteral("#caixaPergunta"), texto));
    auto* rotulo = new QLabel(text, caixa);
    rotulo->setAlignment(Qt::AlignCenter);
    rotulo->setWordWrap(true);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, Qt::Horizontal, caixa);
    botoes->setCenterButtons(true);
    auto* coluna = new QVBoxLayout(caixa);
    coluna->setContentsMargins(texto, texto / 2, texto, texto / 2);
    coluna->addWidget(rotulo);
    coluna->addWidget(botoes);
    // Low on the page: the sector's band and its first rows stay in sight.
    auto* meio = new QGridLayout(&camada);
    meio->setContentsMargins(texto / 2, texto / 2, texto / 2, texto / 2);
    meio->addWidget(caixa, 0, 0, Qt::AlignHCenter | Qt::AlignBottom);

    QEventLoop espera;
    platform::MsgResult resposta = platform::MsgResult::No;
    auto responder = [&](platform::MsgResult r) {
        resposta = r;
        espera.quit();
    };
    QObject::connect(botoes->button(QDialogButtonBox::Yes), &QPushButton::clicked, &espera,
                     [&] { responder(platform::MsgResult::Yes); });
    QObject::connect(botoes->button(QDialogButtonBox::No), &QPushButton::clicked, &espera,
                     [&] { responder(platform::MsgResult::No); });
    camada.aoEscape = [&] { responder(platform::MsgResult::No); };
    camada.aoEnter = [&] {
        auto* b = qobject_cast<QPushButton*>(QApplication::focusWidget());
        responder(b == botoes->button(QDialogButtonBox::Yes) ? platform::MsgResult::Yes : platform::MsgResult::No);
    };
    QTimer::singleShot(tempoResposta, &espera, [&] { responder(platform::MsgResult::No); });
    camada.show();
    camada.raise();
    botoes->button(QDialogButtonBox::No)->setFocus();
    espera.exec();
    return resposta;
}

} // namespace

platform::MsgResult QtMessageBoxes::show(const QString& caption, const QString& text, platform::MsgIcon icon,
                                         platform::MsgButtons buttons)
{
    // The indicator's window, when it shows: a question is asked inside it.
    // Before it shows (a settings error at start) a dialog of its own, large
    // and without a title bar, is read from across the floor.
    QWidget* dono = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmPrincipal") && w->isVisible())
            dono = w;
    // A question over the pages: in the type of the pages' names, growing
    // with the screen as they do.
    if (dono && buttons == platform::MsgButtons::YesNo)
        return perguntarNaJanela(dono, text, fontPt(QStringLiteral("Tahoma"), scaled(48, displayScaleFactor()), false).pixelSize(),
                                 FTempoResposta);
    const int texto = fontPt(QStringLiteral("Tahoma"), 28, false).pixelSize();

    QMessageBox box(dono);
    box.setWindowFlag(Qt::FramelessWindowHint);
    box.setStyleSheet(estilo(QStringLiteral("QMessageBox"), texto));
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case platform::MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case platform::MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case platform::MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case platform::MsgIcon::Question:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (buttons == platform::MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        QTimer::singleShot(FTempoResposta, &box, [&box] { box.done(QMessageBox::No); });
        return box.exec() == QMessageBox::Yes ? platform::MsgResult::Yes : platform::MsgResult::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return platform::MsgResult::Ok;
}

QString instalarTraducoes(QCoreApplication& app)
{
    const QLocale locale;
    if (locale.language() == QLocale::English)
        return {};
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* tradutor = new QTranslator(&app);
    if (locale.language() != QLocale::C && tradutor->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), pasta)) {
        QCoreApplication::installTranslator(tradutor);
        return tradutor->language();
    }
    if (tradutor->load(QStringLiteral("qtbase_pt_BR"), pasta)) {
        QCoreApplication::installTranslator(tradutor);
        return tradutor->language();
    }
    delete tradutor;
    return {};
}
