#include "display/QtMessageBoxes.h"

#include "display/Screen.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

platform::MsgResult QtMessageBoxes::show(const QString& caption, const QString& text, platform::MsgIcon icon,
                                         platform::MsgButtons buttons)
{
    // Over the indicator's window, whose child it is: a kiosk compositor
    // centres it there, and no window manager is needed to place it. Read
    // from across the floor: large type and no title bar.
    QWidget* dono = QApplication::activeWindow();
    if (!dono)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmPrincipal") && w->isVisible())
                dono = w;
    QMessageBox box(dono);
    box.setWindowFlag(Qt::FramelessWindowHint);
    const int texto = fontPt(QStringLiteral("Tahoma"), 28, false).pixelSize();
    box.setStyleSheet(QStringLiteral("QMessageBox { border: 4px solid #214D8C; background: white; }"
                                     "QLabel { font-family: Tahoma; font-size: %1px; min-width: 16em; padding: 0.4em; }"
                                     "QPushButton { font-family: Tahoma; font-size: %2px; min-width: 5em;"
                                     " padding: 0.3em 1em; }")
                          .arg(texto)
                          .arg(texto * 3 / 4));
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case platform::MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case platform::MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case platform::MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case platform::MsgIcon::Question:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (buttons == platform::MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        QTimer::singleShot(FTempoResposta, &box, [&box] { box.done(QMessageBox::No); });
        return box.exec() == QMessageBox::Yes ? platform::MsgResult::Yes : platform::MsgResult::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return platform::MsgResult::Ok;
}

QString instalarTraducoes(QCoreApplication& app)
{
    const QLocale locale;
    if (locale.language() == QLocale::English)
        return {};
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* tradutor = new QTranslator(&app);
    if (locale.language() != QLocale::C && tradutor->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), pasta)) {
        QCoreApplication::installTranslator(tradutor);
        return tradutor->language();
    }
    if (tradutor->load(QStringLiteral("qtbase_pt_BR"), pasta)) {
        QCoreApplication::installTranslator(tradutor);
        return tradutor->language();
    }
    delete tradutor;
    return {};
}
