#pragma once

#include <QString>
#include <QStringList>

namespace fb {

// A statement text with its named parameters (:NAME) replaced by the
// positional markers the server takes; names keeps, per marker, the
// parameter's name in upper case. Quoted texts, quoted names and comments
// are left alone.
struct PositionalSql {
    QString sql;
    QStringList names;
};

PositionalSql toPositional(const QString& sql);

} // namespace fb
