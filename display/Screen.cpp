#include "display/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {
int forcedWidth = 0;
}

int screenWidth()
{
    if (forcedWidth > 0)
        return forcedWidth;
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().width() : 1920;
}

void setScreenWidth(int width)
{
    forcedWidth = width;
}

float scaleFactor(int width)
{
    return float(double(width) * 100 / 1920);
}

int scaled(double q, float f)
{
    return int(std::trunc((q / 100) * double(f)));
}

QFont fontPt(const QString& family, int points, bool bold)
{
    QFont font(family);
    font.setPixelSize(std::max(1, int(std::lround(points * 96.0 / 72.0))));
    font.setBold(bold);
    return font;
}

QColor storedColor(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void setFill(QWidget* widget, const QColor& color)
{
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, color);
    widget->setPalette(p);
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    widget->setPalette(p);
}
