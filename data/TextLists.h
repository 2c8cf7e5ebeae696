#pragma once

#include <QString>
#include <QStringList>

// Splits a comma-separated list the way the factory's programs read such
// settings: commas, blanks and control characters (codes 1 to 32) separate
// items; an item that begins with a double quote runs to its closing quote
// and loses the quotes (a doubled quote inside stands for one); two commas
// with only blanks between them, a comma at the start and a comma as the very
// last character give empty items.
QStringList splitCommaText(const QString& text);

// Each item between single quotes, a single quote inside doubled, joined
// with commas: the form an SQL IN list takes.
QString quoteSqlList(const QStringList& items);
