// Closing the indicator: Escape, from whatever child has the focus, asks
// first; the answer and the question go to the log.
#include "display/TfrmPrincipal.h"

#include "data/Log.h"
#include "data/Platform.h"

#include <QCloseEvent>
#include <QKeyEvent>

bool TfrmPrincipal::eventFilter(QObject* watched, QEvent* event)
{
    // While the close question shows, its keys are its own.
    if (event->type() == QEvent::KeyPress && isActiveWindow() && !FPerguntaFechar) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmPrincipal::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !FPerguntaFechar) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmPrincipal::closeEvent(QCloseEvent* event)
{
    if (FPerguntaFechar) {
        event->ignore();
        return;
    }
    logfmt::write(QStringLiteral("close-question"), {});
    FPerguntaFechar = true;
    auto answer = platform::messageBoxes().show(QStringLiteral("Tolvaneo"), QStringLiteral("Deseja finalizar o programa?"),
                                                platform::MsgIcon::Question, platform::MsgButtons::YesNo);
    FPerguntaFechar = false;
    logfmt::write(QStringLiteral("close-answer"),
                  {{"answer", answer == platform::MsgResult::Yes ? QStringLiteral("sim") : QStringLiteral("nao")}});
    if (answer == platform::MsgResult::Yes)
        event->accept();
    else
        event->ignore();
}
