#include "app/DescricaoErro.h"

#include <initializer_list>

namespace {

bool contem(const QString& texto, std::initializer_list<const char*> partes)
{
    for (const char* p : partes)
        if (texto.contains(QLatin1String(p), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

DescricaoErro descreverErro(const QString& erro)
{
    // The client's messages, matched by their stable parts.
    if (erro.startsWith(QStringLiteral("Geração cancelada")))
        return {QStringLiteral("O servidor do banco de dados não responde"),
                QStringLiteral("servidor do banco de dados não responde")};
    if (contem(erro, {"user name and password are not defined", "password", "login"}))
        return {QStringLiteral("Senha do banco de dados recusada"), QStringLiteral("senha do banco de dados recusada")};
    if (contem(erro, {"I/O error during \"open\"", "No such file or directory", "file not found",
                      "is not a valid database"}))
        return {QStringLiteral("Arquivo do banco de dados não encontrado"),
                QStringLiteral("arquivo do banco de dados não encontrado")};
    if (contem(erro, {"network request", "connection refused", "Failed to establish a connection",
                      "connection lost", "connection shutdown", "data from the connection",
                      "data to the connection", "Connection reset", "timed out", "host",
                      "The database connection is not open"}))
        return {QStringLiteral("Sem conexão com o servidor do banco de dados"),
                QStringLiteral("sem conexão com o banco de dados")};
    return {QStringLiteral("Erro ao calcular os indicadores"), QStringLiteral("erro ao calcular")};
}
