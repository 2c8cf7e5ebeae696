#pragma once

#include <QByteArray>
#include <QString>

// A small file the program reads whole (the settings, a password): opened
// without blocking and accepted only as a regular file of at most maxBytes,
// so that a FIFO or a device put in its place cannot hold the program. On
// failure, erro says why in Portuguese ("não é um arquivo comum", "passa de
// 1 MB", "não pode ser lido: …") and the bytes are empty.
QByteArray lerArquivoComum(const QString& path, qint64 maxBytes, QString& erro);
