// The settings reader: any bytes, read as the program reads Marvessa.ini.
#include "app/IniFile.h"
#include "app/RegionalDate.h"
#include "data/TextLists.h"

#include <QLocale>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > std::size_t(IniFile::kMaxBytes))
        return 0;
    const IniFile ini = IniFile::fromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QString t = QStringLiteral("Tolvaneo");
    for (const char* key : {"DataBase", "Simplificado", "Funcionarios", "Setores"}) {
        const QString v = ini.readString(t, QString::fromLatin1(key), {});
        (void)quoteSqlList(splitCommaText(v));
        (void)parseRegionalDateTime(v, QLocale(QLocale::Portuguese, QLocale::Brazil));
        (void)parseRegionalDateTime(v, QLocale(QLocale::English, QLocale::UnitedStates));
    }
    for (const char* key : {"TempoTroca", "AgruparFuncionario"})
        (void)ini.readInteger(t, QString::fromLatin1(key), 5);
    (void)ini.readInteger(QStringLiteral("Banco"), QStringLiteral("Chave"), 1);
    return 0;
}
