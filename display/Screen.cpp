#include "display/Screen.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <private/qhighdpiscaling_p.h>

#include <algorithm>
#include <cmath>

namespace {
QSize forcedSize;
}

QSize screenSize()
{
    if (forcedSize.width() > 0)
        return forcedSize;
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1920, 1080);
}

int screenWidth()
{
    return screenSize().width();
}

void setScreenWidth(int width)
{
    forcedSize = width > 0 ? QSize(width, 0) : QSize();
}

void setScreenSize(const QSize& size)
{
    forcedSize = size.isEmpty() ? QSize() : size;
}

float displayScaleFactor()
{
    const QSize s = screenSize();
    const float byWidth = scaleFactor(s.width());
    if (s.height() <= 0)
        return byWidth;
    const float byHeight = float(double(s.height()) * 100 / 1080);
    return std::min(byWidth, byHeight);
}

double deviceScale(const QSize& physical)
{
    if (physical.isEmpty())
        return 1;
    return std::max(1.0, std::min(physical.width() / 1920.0, physical.height() / 1080.0));
}

bool applyDeviceScale(const QSize& physical)
{
    const double s = deviceScale(physical);
    if (s <= 1 || qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        return false;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(s, 'g', 10));
    // Marks the factor as the program's own, for a restart and for a later
    // change of screen.
    qputenv("TOLVANEO_ESCALA_DA_TELA", "1");
    return true;
}

namespace {
double escalaAtual = 0;
}

double currentDeviceScale()
{
    if (escalaAtual > 0)
        return escalaAtual;
    bool ok = false;
    const double env = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && env > 0 ? env : 1;
}

void setDeviceScale(double scale)
{
    if (scale <= 0 || scale == currentDeviceScale())
        return;
    QHighDpiScaling::setGlobalFactor(scale);
    escalaAtual = scale;
}

bool deviceScaleFromScreen()
{
    return !qEnvironmentVariableIsSet("QT_SCALE_FACTOR") || qEnvironmentVariableIsSet("TOLVANEO_ESCALA_DA_TELA");
}

float scaleFactor(int width)
{
    return float(double(width) * 100 / 1920);
}

int scaled(double q, float f)
{
    return int(std::trunc((q / 100) * double(f)));
}

int scaledSize(double q, float f)
{
    return int(std::lround(q * double(f) / 100));
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

void setFittedText(QLabel* label, const QString& text, int maxWidth)
{
    // The font the label was designed with is kept, so that each text is
    // fitted from it and not from the last one's.
    QVariant base = label->property("tolvaneoBasePixelSize");
    if (!base.isValid()) {
        base = label->font().pixelSize();
        label->setProperty("tolvaneoBasePixelSize", base);
    }
    const int designed = base.toInt();
    QFont font = label->font();
    font.setPixelSize(designed);
    maxWidth = std::max(1, maxWidth);
    int size = designed;
    auto advance = [&](const QFont& f) { return QFontMetrics(f, label).horizontalAdvance(text); };
    while (size > designed * 6 / 10 && advance(font) > maxWidth)
        font.setPixelSize(--size);
    if (label->textFormat() != Qt::PlainText)
        label->setTextFormat(Qt::PlainText);
    if (label->font().pixelSize() != size)
        label->setFont(font);
    const QFontMetrics metrics(font, label);
    label->setText(metrics.horizontalAdvance(text) > maxWidth ? metrics.elidedText(text, Qt::ElideRight, maxWidth)
                                                                : text);
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

namespace {

double luminancia(const QColor& c)
{
    auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

} // namespace

double contraste(const QColor& a, const QColor& b)
{
    const double la = luminancia(a), lb = luminancia(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor textoSobre(const QColor& fundo)
{
    return contraste(fundo, Qt::black) >= contraste(fundo, Qt::white) ? QColor(Qt::black) : QColor(Qt::white);
}
