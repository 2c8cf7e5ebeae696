#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file that the program keeps up to date (a statement's trace
// file, status.json): written beside it and renamed over it, so that no
// reader sees half of it. A file left by another user that this one may not
// write (a run as root) is replaced, as the folder allows; in a folder that
// refuses new files, a file that this user may write is rewritten in place.
// Answers the error text, or an empty text once written.
QString gravarArquivo(const QString& path, const QByteArray& bytes);
