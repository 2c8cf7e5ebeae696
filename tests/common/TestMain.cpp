// The main of every test executable: a Qt application object, and a lock
// folder of the tests' own for the embedded Firebird engine.
#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#ifdef TOLVANEO_GUI_TESTS
#include <QApplication>
#endif

int main(int argc, char** argv)
{
    if (!std::getenv("FIREBIRD_LOCK")) {
        QString lock = QDir::temp().filePath(QStringLiteral("tolvaneo-tests-%1/lock").arg(::getuid()));
        QDir().mkpath(lock);
        ::setenv("FIREBIRD_LOCK", QFile::encodeName(lock).constData(), 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
#ifdef TOLVANEO_GUI_TESTS
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
