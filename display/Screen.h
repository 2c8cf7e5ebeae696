#pragma once

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

// The screen the display scales to, in logical pixels (after the device
// scale below); tests and snapshots set it.
int screenWidth();
QSize screenSize();
void setScreenWidth(int width); // 0: the primary screen's own width
void setScreenSize(const QSize& size); // an empty size: the primary screen's own

// Scale factor f = width × 100 / 1920, rounded to a 32-bit float.
float scaleFactor(int width);
// The display's factor: f of the screen width, held to the screen height's
// own (height × 100 / 1080) on screens wider than 16:9, so that text sized
// by it fits the rows that the height allows. On 16:9 and narrower screens it
// is f of the width.
float displayScaleFactor();

// Screens larger than the 1920×1080 design show the design scaled up whole:
// the device scale max(1, min(W / 1920, H / 1080)), for Qt's QT_SCALE_FACTOR,
// set before the application object exists.
double deviceScale(const QSize& physical);
// Sets QT_SCALE_FACTOR for a screen of the given physical size (unless the
// environment already chose one); true when it set a factor.
bool applyDeviceScale(const QSize& physical);
// The device scale in force (QT_SCALE_FACTOR as the program started, or the
// last one set below).
double currentDeviceScale();
// Changes the device scale while the program runs; only while no window has
// a native window of its own (Qt lays windows out with it as they are made).
void setDeviceScale(double scale);
// Whether the device scale is the program's own choice from the screen, not
// one that the environment gave.
bool deviceScaleFromScreen();
// S(q) = trunc((q / 100) × f), in double precision from f as stored.
int scaled(double q, float f);
// A designed size (a box's width or height) at the factor, rounded: exact at
// f = 100, where trunc of the float product can fall one pixel short.
int scaledSize(double q, float f);

// A font of the given family and point size, sized in pixels as at 96 dpi.
QFont fontPt(const QString& family, int points, bool bold);

// A colour given as the stored value 0x00BBGGRR.
QColor storedColor(quint32 bgr);

class QLabel;
// Shows a text from the database in the label as plain text, fitted to the
// width: the label's own font while it fits, else a smaller one (down to
// 60%), else elided with "…". The label's height is left alone.
void setFittedText(QLabel* label, const QString& text, int maxWidth);

class QWidget;
// The widget paints its background in the colour.
void setFill(QWidget* widget, const QColor& color);
// The widget's text colour.
void setTextColor(QWidget* widget, const QColor& color);
// The contrast of two colours, as the web's accessibility rules measure it
// (1 to 21).
double contraste(const QColor& a, const QColor& b);
// Black or white, whichever reads better on the colour.
QColor textoSobre(const QColor& fundo);
