#include "display/SeguidorTela.h"

#include <QGuiApplication>
#include <QScreen>
#include <qpa/qplatformscreen.h>

SeguidorTela::SeguidorTela(std::function<void(const QSize&)> onMudanca, QObject* parent)
    : QObject(parent), onMudanca_(std::move(onMudanca)), ultimo_(tamanhoFisico())
{
    // A mode change comes as several signals: the size is looked at once
    // they stop.
    espera_.setSingleShot(true);
    espera_.setInterval(700);
    connect(&espera_, &QTimer::timeout, this, &SeguidorTela::verificar);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &SeguidorTela::acompanhar);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this] { espera_.start(); });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this] { espera_.start(); });
    acompanhar(QGuiApplication::primaryScreen());
}

QSize SeguidorTela::tamanhoFisico()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    // The platform's own geometry is in device pixels, before any scale.
    return screen->handle() ? screen->handle()->geometry().size() : screen->size() * screen->devicePixelRatio();
}

void SeguidorTela::acompanhar(QScreen* screen)
{
    if (tela_)
        disconnect(tela_, nullptr, this, nullptr);
    tela_ = screen;
    if (screen)
        connect(screen, &QScreen::geometryChanged, this, [this] { espera_.start(); });
    espera_.start();
}

void SeguidorTela::verificar()
{
    const QSize agora = tamanhoFisico();
    if (agora.isEmpty() || agora == ultimo_)
        return;
    ultimo_ = agora;
    onMudanca_(agora);
}
