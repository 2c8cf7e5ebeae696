#include "display/CursorOcioso.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>

CursorOcioso::CursorOcioso(int ms, QObject* parent) : QObject(parent), FTimer(new QTimer(this))
{
    FTimer->setSingleShot(true);
    FTimer->setInterval(ms);
    connect(FTimer, &QTimer::timeout, this, &CursorOcioso::ocultar);
    qApp->installEventFilter(this);
    FTimer->start();
}

CursorOcioso::~CursorOcioso()
{
    qApp->removeEventFilter(this);
    mostrar();
}

bool CursorOcioso::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        mostrar();
        FTimer->start();
    }
    return QObject::eventFilter(watched, event);
}

void CursorOcioso::ocultar()
{
    if (FOculto)
        return;
    FOculto = true;
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
}

void CursorOcioso::mostrar()
{
    if (!FOculto)
        return;
    FOculto = false;
    QGuiApplication::restoreOverrideCursor();
}
