#include "display/TfrmPrincipal.h"

#include "app/TdmPrinc.h"
#include "data/Platform.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

TfrmPrincipal::TfrmPrincipal(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("Tolvaneo"));
    setWindowFlag(Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    lblTitulo = new QLabel(this);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    lblTitulo->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("Arial"), 28, QFont::Bold);
    lblTitulo->setFont(f);
    lblTitulo->setText(dmPrinc && dmPrinc->sqlCon.connected() ? QStringLiteral("Tolvaneo")
                                                              : QStringLiteral("Sem indicadores."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitulo);
}

void TfrmPrincipal::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmPrincipal::closeEvent(QCloseEvent* event)
{
    auto answer = platform::messageBoxes().show(QStringLiteral("Tolvaneo"), QStringLiteral("Deseja finalizar o programa?"),
                                                platform::MsgIcon::Question, platform::MsgButtons::YesNo);
    if (answer == platform::MsgResult::Yes)
        event->accept();
    else
        event->ignore();
}
