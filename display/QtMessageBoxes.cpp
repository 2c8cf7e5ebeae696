#include "display/QtMessageBoxes.h"

#include <QMessageBox>

platform::MsgResult QtMessageBoxes::show(const QString& caption, const QString& text, platform::MsgIcon icon,
                                         platform::MsgButtons buttons)
{
    QMessageBox box;
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
        return box.exec() == QMessageBox::Yes ? platform::MsgResult::Yes : platform::MsgResult::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return platform::MsgResult::Ok;
}
