#include "data/ArquivoGravado.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

QString erroDoSistema(const char* onde, int erro)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(onde), QString::fromLocal8Bit(std::strerror(erro)));
}

// Closes on every path out.
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    // The close's own error: a write the kernel kept back may fail only here.
    int fechar()
    {
        const int r = ::close(std::exchange(fd, -1));
        return r == 0 ? 0 : errno;
    }
};

// Every byte, or the error of the write that failed (a full disk: ENOSPC).
int escreverTudo(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype falta = bytes.size();
    while (falta > 0) {
        const ssize_t n = ::write(fd, p, size_t(falta));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        p += n;
        falta -= n;
    }
    return 0;
}

// Something other than a regular file where the file should be (a link
// planted in the folder, a FIFO, a folder) is never followed nor replaced.
QString recusado(const struct stat& st)
{
    if (S_ISREG(st.st_mode))
        return {};
    return S_ISLNK(st.st_mode) ? QStringLiteral("é um link simbólico: não foi seguido")
                               : QStringLiteral("não é um arquivo comum: não foi substituído");
}

// The new text beside the file, renamed over it once whole: a reader sees
// the old text or the new one, never part of one. The rename replaces the
// folder's entry, whatever it pointed to, and follows nothing.
// Answers errno of a folder that refuses new files (-1 for other failures,
// with the text in erro), or 0 once written.
int substituir(const QByteArray& nome, const QByteArray& bytes, const struct stat* anterior, QString& erro)
{
    // A name of its own beside the file, made only if nothing stands there;
    // a new file gets the process's umask, as any file it makes.
    QByteArray temp;
    Fd fd;
    for (int tentativa = 0; tentativa < 100 && fd.fd < 0; ++tentativa) {
        temp = nome + '.' + QByteArray::number(QRandomGenerator::system()->generate(), 36);
        fd.fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd.fd < 0 && errno != EEXIST)
            break;
    }
    if (fd.fd < 0) {
        const int e = errno;
        erro = erroDoSistema("criar o arquivo temporário", e);
        return e == EACCES || e == EPERM || e == EROFS ? e : -1;
    }
    auto falhou = [&](const char* onde, int e) {
        ::unlink(temp.constData());
        erro = erroDoSistema(onde, e);
        return -1;
    };
    // The mode the file had.
    if (anterior && ::fchmod(fd.fd, anterior->st_mode & 07777) != 0)
        return falhou("chmod", errno);
    if (const int e = escreverTudo(fd.fd, bytes))
        return falhou("gravar", e);
    if (::fdatasync(fd.fd) != 0)
        return falhou("gravar", errno);
    if (const int e = fd.fechar())
        return falhou("gravar", e);
    if (::rename(temp.constData(), nome.constData()) != 0)
        return falhou("renomear", errno);
    return 0;
}

// In a folder that takes no new file, an existing regular file that this
// user may write is rewritten in place: not whole-or-nothing, but the only
// way such a folder allows. Opened without following a link, and never
// through a second name of another file.
QString reescrever(const QByteArray& nome, const QByteArray& bytes)
{
    Fd fd{::open(nome.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
    if (fd.fd < 0)
        return erroDoSistema("abrir", errno);
    struct stat st {};
    if (::fstat(fd.fd, &st) != 0)
        return erroDoSistema("stat", errno);
    if (const QString r = recusado(st); !r.isEmpty())
        return r;
    if (st.st_nlink != 1)
        return QStringLiteral("tem outro nome no disco: não foi reescrito");
    if (::ftruncate(fd.fd, 0) != 0)
        return erroDoSistema("truncar", errno);
    if (const int e = escreverTudo(fd.fd, bytes))
        return erroDoSistema("gravar", e);
    if (const int e = fd.fechar())
        return erroDoSistema("gravar", e);
    return {};
}

} // namespace

QString gravarArquivo(const QString& path, const QByteArray& bytes)
{
    const QByteArray nome = QFile::encodeName(path);
    struct stat st {};
    const bool existe = ::lstat(nome.constData(), &st) == 0;
    if (existe) {
        if (const QString r = recusado(st); !r.isEmpty())
            return r;
    }
    QString erro;
    const int r = substituir(nome, bytes, existe ? &st : nullptr, erro);
    if (r > 0 && existe)
        return reescrever(nome, bytes);
    return erro;
}
