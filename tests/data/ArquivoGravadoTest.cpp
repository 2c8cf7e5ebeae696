// Files the program keeps (status.json, trace files): whole or not at all,
// and nothing planted in their folder is followed.
#include "data/ArquivoGravado.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray conteudo(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

// A disk with room for `bytes` more bytes in any one file, as this process
// sees it: a write past it fails (EFBIG) as a full disk's does (ENOSPC).
class DiscoCheio {
public:
    explicit DiscoCheio(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &antes_);
        sinal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit cheio = antes_;
        cheio.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &cheio);
    }
    ~DiscoCheio()
    {
        ::setrlimit(RLIMIT_FSIZE, &antes_);
        std::signal(SIGXFSZ, sinal_);
    }

private:
    rlimit antes_{};
    void (*sinal_)(int) = nullptr;
};

} // namespace

TEST(ArquivoGravado, AFullDiskKeepsTheOldFileWholeAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("status.json");
    ASSERT_TRUE(gravarArquivo(path, "{\"estado\": \"rotacao\"}\n").isEmpty());
    QString erro;
    {
        DiscoCheio cheio(8);
        erro = gravarArquivo(path, QByteArray(4096, 'x'));
    }
    EXPECT_FALSE(erro.isEmpty());
    EXPECT_EQ(conteudo(path), "{\"estado\": \"rotacao\"}\n");
    // No half-written copy is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"status.json"});
    // Room again: the next write goes through.
    EXPECT_TRUE(gravarArquivo(path, "{}\n").isEmpty());
    EXPECT_EQ(conteudo(path), "{}\n");
}

TEST(ArquivoGravado, WhatIsPlantedInTheFolderIsNeitherFollowedNorReplaced)
{
    QTemporaryDir dir;
    const QString alvo = dir.filePath("outro-arquivo");
    {
        QFile f(alvo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("do usuário");
    }
    struct Caso {
        const char* nome;
        std::function<bool(const QString&)> plantar;
        const char* erro;
    } casos[] = {
        {"a link to another file", [&](const QString& p) { return QFile::link(alvo, p); }, "link simbólico"},
        {"a link to a file not there yet",
         [&](const QString& p) { return QFile::link(dir.filePath("criado-fora"), p); }, "link simbólico"},
        {"a FIFO", [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; },
         "não é um arquivo comum"},
        {"a folder", [](const QString& p) { return QDir().mkdir(p); }, "não é um arquivo comum"},
    };
    int i = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const QString path = dir.filePath(QStringLiteral("status%1.json").arg(i++));
        ASSERT_TRUE(c.plantar(path));
        const QString erro = gravarArquivo(path, "{}\n");
        EXPECT_TRUE(erro.contains(QString::fromUtf8(c.erro))) << erro.toStdString();
    }
    EXPECT_EQ(conteudo(alvo), "do usuário");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("criado-fora")));
    // Nothing else was made in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot).size(), 5);
}

TEST(ArquivoGravado, ANewFileTakesTheUmaskAndAnOldOneKeepsItsMode)
{
    QTemporaryDir dir;
    const mode_t antes = ::umask(027);
    const QString novo = dir.filePath("status.json");
    const QString velho = dir.filePath("sqlProdSetor.sql");
    ASSERT_TRUE(gravarArquivo(velho, "1").isEmpty());
    ASSERT_EQ(::chmod(QFile::encodeName(velho).constData(), 0604), 0);
    const QString erroNovo = gravarArquivo(novo, "{}\n");
    const QString erroVelho = gravarArquivo(velho, "2");
    ::umask(antes);
    ASSERT_TRUE(erroNovo.isEmpty() && erroVelho.isEmpty());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(novo).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    ASSERT_EQ(::stat(QFile::encodeName(velho).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
}
