#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// The screen width the display scales to; tests and snapshots set it.
int screenWidth();
void setScreenWidth(int width); // 0: the primary screen's own width

// Scale factor f = width × 100 / 1920, rounded to a 32-bit float.
float scaleFactor(int width);
// S(q) = trunc((q / 100) × f), in double precision from f as stored.
int scaled(double q, float f);

// A font of the given family and point size, sized in pixels as at 96 dpi.
QFont fontPt(const QString& family, int points, bool bold);

// A colour given as the stored value 0x00BBGGRR.
QColor storedColor(quint32 bgr);

class QWidget;
// The widget paints its background in the colour.
void setFill(QWidget* widget, const QColor& color);
// The widget's text colour.
void setTextColor(QWidget* widget, const QColor& color);
