#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file that the program keeps up to date (a statement's trace
// file, status.json): written beside it, checked to the last byte (a full
// disk fails here, and the old file stays), and renamed over it, so that no
// reader sees it empty or cut. What stands at the path and is not a regular
// file (a planted symbolic link, a FIFO) is refused, never followed. A file
// left by another user is replaced, as the folder allows; in a folder that
// refuses new files, a file that this user may write is rewritten in place.
// Answers the error text, or an empty text once written.
QString gravarArquivo(const QString& path, const QByteArray& bytes);
