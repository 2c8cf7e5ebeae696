#include "app/DescricaoErro.h"

DescricaoErro descreverErro(CausaFalha causa)
{
    switch (causa) {
    case CausaFalha::TempoEsgotado:
        return {QStringLiteral("O servidor do banco de dados não responde"),
                QStringLiteral("servidor do banco de dados não responde"), false};
    case CausaFalha::Senha:
        return {QStringLiteral("Senha do banco de dados recusada"), QStringLiteral("senha do banco de dados recusada"), true};
    case CausaFalha::Arquivo:
        return {QStringLiteral("Arquivo do banco de dados não encontrado"),
                QStringLiteral("arquivo do banco de dados não encontrado"), true};
    case CausaFalha::PastaTrava:
        return {QStringLiteral("Sem acesso à pasta de travas do Firebird"),
                QStringLiteral("sem acesso à pasta de travas do Firebird (FIREBIRD_LOCK)"), true};
    case CausaFalha::Desligado:
        return {QStringLiteral("Banco de dados desligado"), QStringLiteral("banco de dados desligado"), false};
    case CausaFalha::Conexao:
        return {QStringLiteral("Sem conexão com o servidor do banco de dados"),
                QStringLiteral("sem conexão com o banco de dados"), false};
    case CausaFalha::SemPermissao:
        return {QStringLiteral("Sem permissão para ler o banco de dados"),
                QStringLiteral("sem permissão de leitura no banco de dados (rode read-only-user.sql)"), true};
    case CausaFalha::Indisponivel:
        return {QStringLiteral("O servidor não abre o banco de dados"),
                QStringLiteral("o servidor não abre o banco de dados"), true};
    case CausaFalha::TipoColuna:
        return {QStringLiteral("Coluna do banco de dados de um tipo que o programa não lê"),
                QStringLiteral("coluna de um tipo que o programa não lê"), true};
    case CausaFalha::Outra:
        break;
    }
    // An error of no known cause: trying again rarely mends it.
    return {QStringLiteral("Erro ao calcular os indicadores"), QStringLiteral("erro ao calcular"), true};
}
