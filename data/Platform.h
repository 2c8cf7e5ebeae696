#pragma once

#include <QDateTime>
#include <QString>

// The few things the system takes from its surroundings, behind seams that
// tests can set: the clock, message boxes, the application folder and the
// request to end the program.
namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that never goes back (durations, deadlines);
    // by default the system's monotonic clock.
    virtual qint64 monotonicMs() const;
};

enum class MsgIcon { Error, Warning, Information, Question };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Ok, Yes, No };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgResult show(const QString& caption, const QString& text, MsgIcon icon, MsgButtons buttons) = 0;
};

// Message boxes written to standard error as "caption: text"; a yes/no
// question is answered yes. Used where there is no window.
class StderrMessageBoxes : public MessageBoxes {
public:
    MsgResult show(const QString& caption, const QString& text, MsgIcon icon, MsgButtons buttons) override;
};

// The installed seams. With nothing installed: the system clock, message
// boxes on standard error, the executable's folder.
const Clock& clock();
void setClock(const Clock* clock);

MessageBoxes& messageBoxes();
void setMessageBoxes(MessageBoxes* boxes);

// The application folder, with its trailing separator.
QString appFolder();
void setAppFolder(const QString& folder);

// Asking the application to end takes effect when the event loop starts.
void requestTerminate();
bool terminateRequested();
void clearTerminateRequest();

} // namespace platform
