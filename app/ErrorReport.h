#pragma once

#include <QString>

#include <exception>

// The application's standard error report: a message box with the
// application's title as caption, the failure's text and an error icon.
QString applicationTitle(const QString& executableName);
// Appends a full stop when the text's last character's code is greater than
// that of the full stop.
QString withFullStop(const QString& text);
void reportError(const QString& text);
void reportException(const std::exception& e);
QString exceptionText(const std::exception& e);
