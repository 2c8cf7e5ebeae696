#include "data/ArquivoGravado.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString tentar(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString().isEmpty() ? QStringLiteral("write failed") : file.errorString();
    return {};
}

} // namespace

QString gravarArquivo(const QString& path, const QByteArray& bytes)
{
    const QString erro = tentar(path, bytes);
    if (erro.isEmpty())
        return erro;
    // Qt will not replace a file that this user may not write, although the
    // folder lets it go: it is taken away and written anew.
    const QFileInfo info(path);
    if (info.exists() && !info.isWritable() && QFile::remove(path))
        return tentar(path, bytes);
    return erro;
}
