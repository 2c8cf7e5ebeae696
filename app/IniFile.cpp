#include "app/IniFile.h"

#include "data/Charset.h"

#include "data/ArquivoLido.h"
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <limits>
#include <stdexcept>

QString decodeTextFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fb::fromWindows1252(bytes);
}

std::optional<int> parseIniInteger(const QString& text)
{
    bool ok = false;
    qlonglong v = 0;
    if (text.size() > 2 && text[0] == QLatin1Char('0') && (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X'))) {
        QString digits = text.mid(2);
        if (digits.startsWith(QLatin1Char('+')) || digits.startsWith(QLatin1Char('-')))
            return std::nullopt;
        qulonglong u = digits.toULongLong(&ok, 16);
        if (!ok || u > 0xFFFFFFFFull)
            return std::nullopt;
        return int(static_cast<quint32>(u)); // eight hex digits give the 32-bit pattern
    }
    v = text.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(v);
}

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    IniFile ini;
    const QString text = decodeTextFile(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decodificado = utf8.decode(bytes.mid(3));
        ini.bomSemUtf8_ = utf8.hasError();
    }
    QString section;
    QSet<QString> secoes;
    const auto lines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (const QString& raw : lines) {
        QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            qsizetype close = line.indexOf(QLatin1Char(']'));
            section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toLower();
            if (secoes.contains(section))
                ini.repetidos_ << QStringLiteral("[%1]").arg(section);
            secoes.insert(section);
            continue;
        }
        qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        auto key = std::make_pair(section, line.left(eq).trimmed().toLower());
        if (!ini.values_.try_emplace(key, line.mid(eq + 1).trimmed()).second)
            ini.repetidos_ << QStringLiteral("[%1] %2").arg(key.first, key.second);
    }
    return ini;
}

IniFile IniFile::load(const QString& path)
{
    // A settings file is a few lines; anything this large is damaged, and
    // reading it whole would take the memory of the screen PC.
    QString erro;
    const QByteArray bytes = lerArquivoComum(path, kMaxBytes, erro);
    if (erro.startsWith(QLatin1String("passa de")))
        throw std::runtime_error((path + " passa de 1 MB: não é um arquivo de configurações").toStdString());
    if (!erro.isEmpty())
        throw std::runtime_error(("não foi possível abrir " + path + ": " + erro).toStdString());
    return fromBytes(bytes);
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    auto it = values_.find({section.toLower(), key.toLower()});
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    return value(section, key).value_or(def);
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    auto v = value(section, key);
    if (!v)
        return def;
    return parseIniInteger(*v).value_or(def);
}

std::vector<std::pair<QString, QString>> IniFile::keys() const
{
    std::vector<std::pair<QString, QString>> out;
    for (const auto& [key, value] : values_)
        out.push_back(key);
    return out;
}
