#pragma once

#include "data/Platform.h"

// Message boxes as modal Qt dialogs.
class QtMessageBoxes : public platform::MessageBoxes {
public:
    platform::MsgResult show(const QString& caption, const QString& text, platform::MsgIcon icon,
                             platform::MsgButtons buttons) override;
};
