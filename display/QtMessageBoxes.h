#pragma once

#include "data/Platform.h"

class QCoreApplication;

// Message boxes as modal Qt dialogs. On a wall with no keyboard a question
// nobody answers answers "no" by itself after a while.
class QtMessageBoxes : public platform::MessageBoxes {
public:
    platform::MsgResult show(const QString& caption, const QString& text, platform::MsgIcon icon,
                             platform::MsgButtons buttons) override;

    // How long a yes/no question waits, in milliseconds (default a minute).
    void setTempoResposta(int ms) { FTempoResposta = ms; }

private:
    int FTempoResposta = 60000;
};

// Installs Qt's own translations of its dialogs (the buttons' "Sim" and
// "Não"): the system locale's, or Portuguese where the locale has none.
// English needs none. Returns the language installed, empty for none.
QString instalarTraducoes(QCoreApplication& app);
