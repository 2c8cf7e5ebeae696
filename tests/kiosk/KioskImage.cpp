// Pictures for the kiosk test, which has no other way to see the screen:
//   tolvaneo-kiosk-image grab OUT.png WxH   the X screen's top-left WxH (DISPLAY)
//   tolvaneo-kiosk-image diff A.png B.png   the mean difference of two pictures
//                                           of one size, per channel, 0 to 255
//   tolvaneo-kiosk-image colours A.png      how many colours the picture has
//   tolvaneo-kiosk-image changed A.png B.png  "x y w h" of the region where two
//                                           pictures of one size differ
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QSet>

#include <cstdio>
#include <cstdlib>

namespace {

int grab(const QString& out, const QString& size)
{
    const QStringList wh = size.split(QLatin1Char('x'));
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || wh.size() != 2)
        return 2;
    const QPixmap shot = screen->grabWindow(0, 0, 0, wh[0].toInt(), wh[1].toInt());
    return shot.save(out) ? 0 : 1;
}

int diff(const QString& a, const QString& b)
{
    const QImage x = QImage(a).convertToFormat(QImage::Format_RGB32);
    const QImage y = QImage(b).convertToFormat(QImage::Format_RGB32);
    if (x.isNull() || x.size() != y.size()) {
        std::printf("sizes differ\n");
        return 1;
    }
    double total = 0;
    for (int r = 0; r < x.height(); ++r) {
        const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(r));
        const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(r));
        for (int c = 0; c < x.width(); ++c)
            total += std::abs(qRed(p[c]) - qRed(q[c])) + std::abs(qGreen(p[c]) - qGreen(q[c])) +
                     std::abs(qBlue(p[c]) - qBlue(q[c]));
    }
    std::printf("%.3f\n", total / (3.0 * x.width() * x.height()));
    return 0;
}

int colours(const QString& a)
{
    const QImage x = QImage(a).convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> seen;
    for (int r = 0; r < x.height(); ++r) {
        const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(r));
        for (int c = 0; c < x.width(); ++c)
            seen.insert(p[c]);
    }
    std::printf("%lld\n", static_cast<long long>(seen.size()));
    return 0;
}

int changed(const QString& a, const QString& b)
{
    const QImage x = QImage(a).convertToFormat(QImage::Format_RGB32);
    const QImage y = QImage(b).convertToFormat(QImage::Format_RGB32);
    if (x.isNull() || x.size() != y.size()) {
        std::printf("sizes differ\n");
        return 1;
    }
    QRect region;
    for (int r = 0; r < x.height(); ++r) {
        const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(r));
        const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(r));
        for (int c = 0; c < x.width(); ++c)
            if (p[c] != q[c])
                region |= QRect(c, r, 1, 1);
    }
    std::printf("%d %d %d %d\n", region.x(), region.y(), region.width(), region.height());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("grab") && argc == 4) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        QGuiApplication app(argc, argv);
        return grab(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (mode == QLatin1String("diff") && argc == 4)
        return diff(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (mode == QLatin1String("changed") && argc == 4)
        return changed(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (mode == QLatin1String("colours") && argc == 3)
        return colours(QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "usage: tolvaneo-kiosk-image grab OUT.png WxH | diff A.png B.png | colours A.png\n");
    return 2;
}
