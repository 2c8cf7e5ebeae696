#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QTimer>

#include <functional>

class QScreen;

// Watches the screen the window is on: a change of its size or orientation,
// or another screen becoming the primary one (a TV switched on after the PC
// booted, a new mode), is reported once it has settled, with the screen's
// size in device pixels.
class SeguidorTela : public QObject {
    Q_OBJECT
public:
    explicit SeguidorTela(std::function<void(const QSize& fisico)> onMudanca, QObject* parent = nullptr);

    // The size in device pixels of the primary screen now.
    static QSize tamanhoFisico();

private:
    void acompanhar(QScreen* screen);
    void verificar();

    std::function<void(const QSize&)> onMudanca_;
    QPointer<QScreen> tela_;
    QSize ultimo_;
    QTimer espera_;
};
