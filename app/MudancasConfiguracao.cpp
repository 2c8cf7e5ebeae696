#include "app/MudancasConfiguracao.h"

#include "app/Configuracoes.h"
#include "app/TdmPrinc.h"

#include <cstring>
#include <functional>

namespace {

// How a setting's value in force is compared; what a change calls for is
// the settings list's. The password, read through Chave, SenhaArquivo or
// SenhaCredencial, is compared as read ("senha").
struct Comparacao {
    const char* chave;
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
    {"DataBase", mesmoDia},
    {"Simplificado", mesmo(&TdmPrinc::Simplificado)},
    {"TempoTroca", mesmo(&TdmPrinc::TempoTroca)},
    {"Funcionarios", mesmo(&TdmPrinc::Funcionarios)},
    {"AgruparFuncionario", mesmo(&TdmPrinc::PorFuncionario)},
    {"Setores", mesmo(&TdmPrinc::Setores)},
    {"MinutosCompleto", mesmo(&TdmPrinc::MinutosCompleto)},
    {"Resumo", mesmo(&TdmPrinc::Resumo)},
    {"Relogio", mesmo(&TdmPrinc::Relogio)},
    {"Meta", mesmo(&TdmPrinc::Meta)},
    {"DB", mesmoParametro(&TConnectionParams::Database)},
    {"ACESSO", mesmoParametro(&TConnectionParams::DatabaseAccess)},
    {"Usuario", mesmoParametro(&TConnectionParams::User)},
    {"senha", mesmoParametro(&TConnectionParams::Password)},
};

} // namespace

MudancasConfiguracao compararConfiguracoes(const TdmPrinc& antes, const TdmPrinc& depois)
{
    MudancasConfiguracao m;
    for (const Comparacao& c : kComparacoes) {
        if (c.igual(antes, depois))
            continue;
        m.chaves << QString::fromLatin1(c.chave);
        const ParteRecarga parte =
            std::strcmp(c.chave, "senha") == 0 ? ParteRecarga::Conexao : configuracao(c.chave).parte;
        m.exibicao |= parte == ParteRecarga::Tela;
        m.geracao |= parte != ParteRecarga::Tela;
        m.conexao |= parte == ParteRecarga::Conexao;
    }
    return m;
}
