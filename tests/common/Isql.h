#pragma once

#include <QProcessEnvironment>
#include <QString>

// Runs an SQL script through isql-fb (UTF-8 client character set, stop at
// the first error). database is empty when the script creates its own.
// Fails the test's setup with the tool's output on error.
void runIsql(const QString& database, const QString& script, const QString& user = QStringLiteral("SYSDBA"),
             const QString& password = {}, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

QString sqlQuoted(const QString& text);

// The path of a Firebird program (isql-fb, firebird) of the newest version
// installed, run as itself rather than through a wrapper; fallback where
// the release has no versioned folder of programs.
QString firebirdTool(const QString& name, const QString& fallback);
