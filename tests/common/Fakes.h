#pragma once

#include "data/Platform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <optional>

// Records every message box and answers questions with a preset answer.
class FakeMessageBoxes : public platform::MessageBoxes {
public:
    struct Shown {
        QString caption;
        QString text;
        platform::MsgIcon icon;
        platform::MsgButtons buttons;
    };
    platform::MsgResult show(const QString& caption, const QString& text, platform::MsgIcon icon,
                             platform::MsgButtons buttons) override
    {
        shown.push_back({caption, text, icon, buttons});
        return buttons == platform::MsgButtons::YesNo ? answer : platform::MsgResult::Ok;
    }
    std::vector<Shown> shown;
    platform::MsgResult answer = platform::MsgResult::Yes;
};

class FakeClock : public platform::Clock {
public:
    explicit FakeClock(QDateTime t) : now_(std::move(t)) {}
    QDateTime now() const override { return now_; }
    void set(const QDateTime& t) { now_ = t; }

private:
    QDateTime now_;
};

// Installs fakes for the length of a test and takes them back after.
class PlatformFakes {
public:
    PlatformFakes()
    {
        platform::setMessageBoxes(&boxes);
        platform::setClock(&clock);
        platform::clearTerminateRequest();
    }
    ~PlatformFakes()
    {
        platform::setMessageBoxes(nullptr);
        platform::setClock(nullptr);
        platform::setAppFolder({});
        platform::clearTerminateRequest();
    }
    FakeMessageBoxes boxes;
    FakeClock clock{QDateTime(QDate(2026, 11, 5), QTime(10, 15))};
};

// Sets (or unsets, with nullopt) an environment variable for a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<QByteArray>& value) : name_(name)
    {
        const char* old = std::getenv(name);
        hadOld_ = old != nullptr;
        if (old)
            old_ = QByteArray(old);
        if (value)
            ::setenv(name, value->constData(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (hadOld_)
            ::setenv(name_, old_.constData(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool hadOld_ = false;
    QByteArray old_;
};
