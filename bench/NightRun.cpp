// A whole night of the indicator in fast time: the window (offscreen), its
// worker and its cycle run against a factory database while the clock seam
// runs faster than the real one, across midnight. Prints, at every sample,
// the memory, the threads and the timers of the process, and the runs so far.
//
//   night-run FOLDER START(YYYY-MM-DDTHH:MM) HOURS REAL_SECONDS
//
// FOLDER holds Marvessa.ini (without "DataBase", so the day moves on).
#include "app/GenerationWorker.h"
#include "app/TdmPrinc.h"
#include "calc/TdmMarvessa.h"
#include "data/Log.h"
#include "data/Platform.h"
#include "display/TfrmPrincipal.h"
#include "bench/ProcStatus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {

class FastClock : public platform::Clock {
public:
    FastClock(QDateTime start, double factor) : start_(std::move(start)), factor_(factor) { real_.start(); }
    QDateTime now() const override { return start_.addMSecs(qint64(double(real_.elapsed()) * factor_)); }

private:
    QDateTime start_;
    double factor_;
    QElapsedTimer real_;
};

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: night-run FOLDER START HOURS REAL_SECONDS\n");
        return 2;
    }
    const QDateTime start = QDateTime::fromString(QString::fromLocal8Bit(argv[2]), Qt::ISODate);
    const double hours = std::atof(argv[3]);
    const double seconds = std::atof(argv[4]);
    FastClock clock(start, hours * 3600 / seconds);
    platform::setClock(&clock);
    platform::setAppFolder(QString::fromLocal8Bit(argv[1]));

    int runs = 0, failed = 0;
    QStringList days;
    logfmt::setSink([&](const QString& line) {
        if (line.contains(QLatin1String(" event=run ")))
            ++runs;
        if (line.contains(QLatin1String(" event=run-failed ")))
            ++failed;
        const qsizetype at = line.indexOf(QLatin1String(" day="));
        if (line.contains(QLatin1String(" event=run")) && at >= 0 && !days.contains(line.mid(at + 5, 10)))
            days << line.mid(at + 5, 10);
    });

    auto dm = std::make_unique<TdmPrinc>();
    dmPrinc = dm.get();
    dm->setGeracaoInicialAdiada(true);
    dm->DataModuleCreate();
    GenerationWorker worker(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario(), dm->DataFixa(),
                            dm->MinutosCompleto());
    TfrmPrincipal window(*dm);
    window.setWorker(&worker);
    window.resize(1920, 1080);
    window.show();
    window.iniciar();

    std::printf("%8s %16s %8s %8s %8s %8s %6s %6s\n", "real_s", "clock", "rss_kb", "threads", "timers", "objects",
                "runs", "failed");
    QElapsedTimer real;
    real.start();
    auto sample = [&] {
        const QList<QTimer*> timers = window.findChildren<QTimer*>() + app.findChildren<QTimer*>();
        int active = 0;
        for (QTimer* t : timers)
            active += t->isActive();
        std::printf("%8.0f %16s %8ld %8ld %3d/%-4d %8lld %6d %6d\n", double(real.elapsed()) / 1000,
                    qPrintable(clock.now().toString(QStringLiteral("yyyy-MM-dd HH:mm"))), statusValue("VmRSS:"),
                    statusValue("Threads:"), active, int(timers.size()),
                    qlonglong(window.findChildren<QObject*>().size()), runs, failed);
        std::fflush(stdout);
    };
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, sample);
    sampler.start(int(seconds * 1000 / 24));
    QTimer::singleShot(int(seconds * 1000), &app, [&] {
        sample();
        QApplication::quit();
    });
    app.exec();
    std::printf("reading days computed: %s\n", qPrintable(days.join(QStringLiteral(", "))));
    std::fflush(nullptr);
    std::_Exit(0);
}
