#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <utility>
#include <vector>

// A read-only INI file: [section] headers and key=value lines. Section and
// key names match without regard to case; blanks around names and values
// are dropped; lines starting with ';' or '#' are comments. The first
// occurrence of a key in a section wins. The text may be UTF-8 (with or
// without a byte-order mark) or, when it is not valid UTF-8, Windows-1252.
class IniFile {
public:
    static IniFile fromBytes(const QByteArray& bytes);
    // Fails with std::runtime_error when the file cannot be read or is
    // larger than kMaxBytes.
    static IniFile load(const QString& path);
    static constexpr qint64 kMaxBytes = 1024 * 1024;

    std::optional<QString> value(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& def) const;
    // Decimal integer, or hexadecimal after "0x" when the value is longer than
    // two characters; the default when the value is not a 32-bit integer.
    int readInteger(const QString& section, const QString& key, int def) const;
    // Every section and key read, lower case, in order.
    std::vector<std::pair<QString, QString>> keys() const;
    // Sections ("[s]") and keys ("[s] k") that stand more than once, lower
    // case, in the order of their repetition. The keys of every copy of a
    // section are read; of a key that stands twice, the first.
    const QStringList& repetidos() const { return repetidos_; }
    // The file starts with UTF-8's byte-order mark but has bytes that are
    // not UTF-8 (a Windows-1252 text saved with a mark): they read as U+FFFD.
    bool bomSemUtf8() const { return bomSemUtf8_; }

private:
    std::map<std::pair<QString, QString>, QString> values_;
    QStringList repetidos_;
    bool bomSemUtf8_ = false;
};

// Decodes the bytes of a text file: UTF-8 with or without BOM, else Windows-1252.
QString decodeTextFile(const QByteArray& bytes);

// The integer reading rule of the configuration, on its own.
std::optional<int> parseIniInteger(const QString& text);
