// status.json on a disk that fills up and frees again.
#include "app/StatusFile.h"
#include "data/Log.h"
#include "tests/app/IniFixture.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QJsonObject lido(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QJsonParseError erro{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &erro);
    EXPECT_EQ(erro.error, QJsonParseError::NoError) << "status.json is not whole";
    return doc.object();
}

} // namespace

TEST(StatusFile, AFullDiskNeverLeavesItEmptyAndItIsWrittenAgainOnceThereIsRoom)
{
    IniFolder folder;
    QStringList log;
    logfmt::setSink([&](const QString& l) { log << l; });
    const QString path = folder.path() + "/status.json";
    StatusFile status(QStringLiteral("1.0"));
    status.setEstado(QStringLiteral("calculando"));
    status.gravar();
    ASSERT_EQ(lido(path)["estado"].toString(), "calculando");

    rlimit antes{};
    ::getrlimit(RLIMIT_FSIZE, &antes);
    auto* sinal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit cheio = antes;
    cheio.rlim_cur = 16; // less than any status.json
    ::setrlimit(RLIMIT_FSIZE, &cheio);
    status.setEstado(QStringLiteral("rotacao"));
    for (int i = 0; i < 20; ++i) {
        status.setSetor(QString::number(i % 3));
        status.gravar();
        EXPECT_EQ(lido(path)["estado"].toString(), "calculando");
    }
    ::setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, sinal);
    EXPECT_TRUE(status.falhando());

    // Nothing changes, and still the write is tried again.
    status.gravar();
    logfmt::setSink({});
    EXPECT_FALSE(status.falhando());
    EXPECT_EQ(lido(path)["estado"].toString(), "rotacao");
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].contains("event=status-failed")) << log[0].toStdString();
    EXPECT_TRUE(log[0].contains("error=")) << log[0].toStdString();
    EXPECT_TRUE(log[1].contains("event=status-recovered")) << log[1].toStdString();
}
