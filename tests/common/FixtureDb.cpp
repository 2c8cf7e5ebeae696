#include "tests/common/FixtureDb.h"

#include "tests/common/Isql.h"

#include <QDir>
#include <QFile>

#include <mutex>
#include <stdexcept>

namespace {

QString readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + path).toStdString());
    return QString::fromUtf8(f.readAll());
}

// The empty schema is built once per test process and copied for each fixture.
const QString& templatePath()
{
    static QTemporaryDir dir;
    static QString path;
    static std::once_flag once;
    std::call_once(once, [] {
        path = dir.filePath(QStringLiteral("template.fdb"));
        QString script = QStringLiteral("create database %1 user 'SYSDBA' default character set WIN1252;\n")
                             .arg(sqlQuoted(path)) +
                         readFile(QStringLiteral(TOLVANEO_FIXTURES_DIR "/schema.sql"));
        runIsql({}, script);
    });
    return path;
}

} // namespace

FixtureDb::FixtureDb(const QString& sql)
{
    folder_ = dir_.path();
    path_ = dir_.filePath(QStringLiteral("factory.fdb"));
    if (!QFile::copy(templatePath(), path_))
        throw std::runtime_error("cannot copy the fixture database");
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup |
                                     QFile::ReadOther | QFile::WriteOther);
    if (!sql.isEmpty())
        exec(sql);
}

void FixtureDb::exec(const QString& sql) const
{
    runIsql(path_, sql + QStringLiteral("\ncommit;"));
}
