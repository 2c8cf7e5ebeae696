#pragma once

#include <QString>
#include <QStringList>

#include <optional>

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

// A whole number written as text, blanks around it allowed, as the database
// reads a text set against a numeric column; nullopt for any other text.
std::optional<qint64> codigoInteiro(const QString& codigo);

// A code of a whole-number column as one text per value, as the database
// compares it: "008", " 8" and "8" all give "8"; a text that is no whole
// number is kept as it is.
QString codigoPorValor(const QString& codigo);
