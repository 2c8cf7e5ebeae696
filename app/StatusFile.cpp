#include "app/StatusFile.h"

#include "data/ArquivoGravado.h"

#include "data/Log.h"
#include "data/Platform.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

QJsonValue orNull(const QString& s)
{
    return s.isEmpty() ? QJsonValue() : QJsonValue(s);
}

QJsonValue orNull(const QDateTime& t)
{
    return t.isValid() ? QJsonValue(t.toString(Qt::ISODate)) : QJsonValue();
}

} // namespace

StatusFile::StatusFile(QString versao) : versao_(std::move(versao)) {}

void StatusFile::setGeracao(const QDateTime& fim, std::optional<double> segundos)
{
    ultimaGeracao_ = fim;
    duracao_ = segundos;
}

void StatusFile::setErro(const QString& erro, const QDateTime& hora)
{
    erro_ = erro;
    horaErro_ = hora;
}

void StatusFile::limparErro()
{
    erro_.clear();
}

void StatusFile::setRecargaRecusada(const QString& erro, const QDateTime& hora)
{
    recusa_ = erro;
    horaRecusa_ = hora;
}

QByteArray StatusFile::texto() const
{
    QJsonObject o;
    o[QStringLiteral("versao")] = versao_;
    o[QStringLiteral("inicio")] = orNull(inicio_);
    o[QStringLiteral("estado")] = orNull(estado_);
    o[QStringLiteral("dia_leitura")] = diaLeitura_.isValid() ? QJsonValue(diaLeitura_.toString(Qt::ISODate)) : QJsonValue();
    o[QStringLiteral("ultima_geracao")] = orNull(ultimaGeracao_);
    o[QStringLiteral("ultima_duracao_s")] = duracao_ ? QJsonValue(std::round(*duracao_ * 100) / 100) : QJsonValue();
    o[QStringLiteral("dados_antigos")] = dadosAntigos_;
    o[QStringLiteral("motivo")] = orNull(motivo_);
    // A run's error first; a refused settings file stays until a reload works.
    const bool recusa = erro_.isEmpty() && !recusa_.isEmpty();
    o[QStringLiteral("ultimo_erro")] = orNull(recusa ? recusa_ : erro_);
    o[QStringLiteral("hora_ultimo_erro")] =
        recusa ? orNull(horaRecusa_) : erro_.isEmpty() ? QJsonValue() : orNull(horaErro_);
    o[QStringLiteral("setor_em_exibicao")] = orNull(setor_);
    return QJsonDocument(o).toJson();
}

void StatusFile::gravar()
{
    const QByteArray bytes = texto();
    if (bytes == gravado_)
        return;
    const QString path = platform::appFolder() + QStringLiteral("status.json");
    const QString erro = gravarArquivo(path, bytes);
    // Only what reached the disk counts as written: a write that failed is
    // tried again, with the same text or a newer one.
    if (erro.isEmpty())
        gravado_ = bytes;
    // A failure that goes on is logged when it starts and when it ends, not
    // at every change of content.
    if (!erro.isEmpty() && !falhando_) {
        falhando_ = true;
        logfmt::write(QStringLiteral("status-failed"), {{"file", path}, {"error", erro}});
    } else if (erro.isEmpty() && falhando_) {
        falhando_ = false;
        logfmt::write(QStringLiteral("status-recovered"), {{"file", path}});
    }
}
