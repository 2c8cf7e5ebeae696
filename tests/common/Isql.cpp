#include "tests/common/Isql.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

#include <stdexcept>

QString sqlQuoted(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString firebirdTool(const QString& name, const QString& fallback)
{
    // Debian 13's /usr/bin and /usr/sbin hold wrappers that choose a
    // version and set FIREBIRD to its root, over the test's own: the newest
    // version's program is run itself.
    const QDir versions(QStringLiteral("/usr/lib/firebird"));
    const QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    for (const QString& v : found) {
        const QString path = versions.filePath(v) + QStringLiteral("/bin/") + name;
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return fallback;
}

void runIsql(const QString& database, const QString& script, const QString& user, const QString& password,
             const QProcessEnvironment& env)
{
    QTemporaryFile file;
    if (!file.open())
        throw std::runtime_error("cannot create a script file");
    file.write(script.toUtf8());
    file.write("\n");
    file.flush();

    QStringList args{QStringLiteral("-q"), QStringLiteral("-bail"), QStringLiteral("-ch"), QStringLiteral("UTF8")};
    if (!user.isEmpty())
        args << QStringLiteral("-user") << user;
    if (!password.isEmpty())
        args << QStringLiteral("-password") << password;
    args << QStringLiteral("-i") << file.fileName();
    if (!database.isEmpty())
        args << database;

    QProcess isql;
    isql.setProcessEnvironment(env);
    isql.setProcessChannelMode(QProcess::MergedChannels);
    static const QString program = firebirdTool(QStringLiteral("isql-fb"), QStringLiteral("isql-fb"));
    isql.start(program, args);
    if (!isql.waitForFinished(120000) || isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0) {
        throw std::runtime_error(("isql-fb failed: " + QString::fromLocal8Bit(isql.readAll()) + "\nscript:\n" + script)
                                     .toStdString());
    }
}
