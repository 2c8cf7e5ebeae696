#include "data/ArquivoLido.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString tamanho(qint64 bytes)
{
    return bytes % (1024 * 1024) == 0 ? QStringLiteral("%1 MB").arg(bytes / (1024 * 1024))
                                      : QStringLiteral("%1 KB").arg(bytes / 1024);
}

} // namespace

QByteArray lerArquivoComum(const QString& path, qint64 maxBytes, QString& erro)
{
    erro.clear();
    auto ilegivel = [&](int e) {
        erro = QStringLiteral("não pode ser lido: ") + QString::fromLocal8Bit(std::strerror(e));
        return QByteArray();
    };
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return ilegivel(errno);
    struct Fd {
        int fd;
        ~Fd() { ::close(fd); }
    } guard{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return ilegivel(errno);
    if (!S_ISREG(st.st_mode)) {
        erro = QStringLiteral("não é um arquivo comum");
        return {};
    }
    // The size is read again as the bytes come: a file that grows while it
    // is read is judged by what was read.
    QByteArray bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ilegivel(errno);
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
        if (bytes.size() > maxBytes) {
            erro = QStringLiteral("passa de ") + tamanho(maxBytes);
            return {};
        }
    }
    return bytes;
}
