#include "app/MudancasConfiguracao.h"

#include "app/TdmPrinc.h"

#include <functional>

namespace {

enum class Efeito { Exibicao, Geracao, Conexao };

struct Comparacao {
    const char* chave;
    Efeito efeito;
    std::function<bool(const TdmPrinc&, const TdmPrinc&)> igual;
};

template <typename Valor>
auto mesmo(Valor (TdmPrinc::*leitura)() const)
{
    return [leitura](const TdmPrinc& a, const TdmPrinc& b) { return (a.*leitura)() == (b.*leitura)(); };
}

auto mesmoParametro(QString TConnectionParams::*campo)
{
    return [campo](const TdmPrinc& a, const TdmPrinc& b) {
        return a.ConnectionParams().*campo == b.ConnectionParams().*campo;
    };
}

// A day read each run is the same setting whatever day it was read on.
bool mesmoDia(const TdmPrinc& a, const TdmPrinc& b)
{
    return a.DataFixa() == b.DataFixa() && (!a.DataFixa() || a.DataIndicador() == b.DataIndicador());
}

const Comparacao kComparacoes[] = {
    {"DataBase", Efeito::Geracao, mesmoDia},
    {"Simplificado", Efeito::Exibicao, mesmo(&TdmPrinc::Simplificado)},
    {"TempoTroca", Efeito::Exibicao, mesmo(&TdmPrinc::TempoTroca)},
    {"Funcionarios", Efeito::Geracao, mesmo(&TdmPrinc::Funcionarios)},
    {"AgruparFuncionario", Efeito::Geracao, mesmo(&TdmPrinc::PorFuncionario)},
    {"Setores", Efeito::Geracao, mesmo(&TdmPrinc::Setores)},
    {"MinutosCompleto", Efeito::Geracao, mesmo(&TdmPrinc::MinutosCompleto)},
    {"Resumo", Efeito::Exibicao, mesmo(&TdmPrinc::Resumo)},
    {"Relogio", Efeito::Exibicao, mesmo(&TdmPrinc::Relogio)},
    {"Meta", Efeito::Exibicao, mesmo(&TdmPrinc::Meta)},
    {"DB", Efeito::Conexao, mesmoParametro(&TConnectionParams::Database)},
    {"ACESSO", Efeito::Geracao, mesmoParametro(&TConnectionParams::DatabaseAccess)},
    {"Usuario", Efeito::Conexao, mesmoParametro(&TConnectionParams::User)},
    {"senha", Efeito::Conexao, mesmoParametro(&TConnectionParams::Password)},
};

} // namespace

MudancasConfiguracao compararConfiguracoes(const TdmPrinc& antes, const TdmPrinc& depois)
{
    MudancasConfiguracao m;
    for (const Comparacao& c : kComparacoes) {
        if (c.igual(antes, depois))
            continue;
        m.chaves << QString::fromLatin1(c.chave);
        m.exibicao |= c.efeito == Efeito::Exibicao;
        m.geracao |= c.efeito != Efeito::Exibicao;
        m.conexao |= c.efeito == Efeito::Conexao;
    }
    return m;
}
