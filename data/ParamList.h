#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A connection's parameter list: name=value entries in order. Names match
// without regard to case.
class ParamList {
public:
    ParamList() = default;
    explicit ParamList(const QStringList& entries) : entries_(entries) {}

    // A non-empty value replaces the entry of that name or appends one; an
    // empty value removes the entry.
    void setValue(const QString& name, const QString& value);
    std::optional<QString> value(const QString& name) const;
    const QStringList& entries() const { return entries_; }

private:
    qsizetype indexOf(const QString& name) const;
    QStringList entries_;
};
