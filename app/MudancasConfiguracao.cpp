#include "app/MudancasConfiguracao.h"

#include "app/Configuracoes.h"
#include "app/TdmPrinc.h"

#include <functional>
#include <optional>

namespace {

// How a setting's value in force is compared; what a change calls for is
// the settings list's. The password, read through Chave, SenhaArquivo or
// SenhaCredencial, is compared as read ("senha").
struct Comparacao {
    std::optional<Ajuste> id; // none: the password as read
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
    {Ajuste::DataBase, mesmoDia},
    {Ajuste::Simplificado, mesmo(&TdmPrinc::Simplificado)},
    {Ajuste::TempoTroca, mesmo(&TdmPrinc::TempoTroca)},
    {Ajuste::Funcionarios, mesmo(&TdmPrinc::Funcionarios)},
    {Ajuste::AgruparFuncionario, mesmo(&TdmPrinc::PorFuncionario)},
    {Ajuste::Setores, mesmo(&TdmPrinc::Setores)},
    {Ajuste::MinutosCompleto, mesmo(&TdmPrinc::MinutosCompleto)},
    {Ajuste::Resumo, mesmo(&TdmPrinc::Resumo)},
    {Ajuste::Relogio, mesmo(&TdmPrinc::Relogio)},
    {Ajuste::Meta, mesmo(&TdmPrinc::Meta)},
    {Ajuste::Tendencia, mesmo(&TdmPrinc::Tendencia)},
    {Ajuste::Contato, mesmo(&TdmPrinc::Contato)},
    {Ajuste::DB, mesmoParametro(&TConnectionParams::Database)},
    {Ajuste::ACESSO, mesmoParametro(&TConnectionParams::DatabaseAccess)},
    {Ajuste::Usuario, mesmoParametro(&TConnectionParams::User)},
    {Ajuste::ConsultasParalelas, mesmo(&TdmPrinc::ConsultasParalelas)},
    {std::nullopt, mesmoParametro(&TConnectionParams::Password)},
};

} // namespace

MudancasConfiguracao compararConfiguracoes(const TdmPrinc& antes, const TdmPrinc& depois)
{
    MudancasConfiguracao m;
    for (const Comparacao& c : kComparacoes) {
        if (c.igual(antes, depois))
            continue;
        m.chaves << (c.id ? nome(*c.id) : QStringLiteral("senha"));
        const ParteRecarga parte = c.id ? configuracao(*c.id).parte : ParteRecarga::Conexao;
        m.exibicao |= parte == ParteRecarga::Tela;
        m.geracao |= parte != ParteRecarga::Tela;
        m.conexao |= parte == ParteRecarga::Conexao;
    }
    return m;
}
