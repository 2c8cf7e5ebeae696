#include "app/Configuracoes.h"

#include "data/Platform.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#ifndef TOLVANEO_VERSION
#error "TOLVANEO_VERSION comes from the project's version"
#endif

namespace {

const Configuracao kConfiguracoes[] = {
    {Ajuste::DataBase, "Tolvaneo", "DataBase", "", "o dia de cada execução", Leitura::Data, ParteRecarga::Execucao,
     "Dia de leitura (data curta regional ou AAAA-MM-DD); sem ele cada execução lê o dia corrente."},
    {Ajuste::Simplificado, "Tolvaneo", "Simplificado", "N", nullptr, Leitura::SimNao, ParteRecarga::Tela,
     "S: layout simplificado, com os números do próprio setor; outro valor: layout completo."},
    {Ajuste::TempoTroca, "Tolvaneo", "TempoTroca", "5", nullptr, Leitura::Inteiro, ParteRecarga::Tela,
     "Segundos que cada página fica na tela; 0 ou negativo: as páginas não mudam."},
    {Ajuste::Funcionarios, "Tolvaneo", "Funcionarios", "", nullptr, Leitura::Texto, ParteRecarga::Execucao,
     "Texto que continua o filtro de funcionários de cada setor; o programa fecha o último parêntese."},
    {Ajuste::AgruparFuncionario, "Tolvaneo", "AgruparFuncionario", "1", nullptr, Leitura::Inteiro, ParteRecarga::Execucao,
     "0: o expediente é lançado por setor; outro valor: por funcionário."},
    {Ajuste::Setores, "Tolvaneo", "Setores", "", nullptr, Leitura::Lista, ParteRecarga::Execucao, "Os setores a mostrar, por código, em ordem."},
    {Ajuste::MinutosCompleto, "Tolvaneo", "MinutosCompleto", "30", nullptr, Leitura::Inteiro, ParteRecarga::Execucao,
     "Minutos entre execuções completas (31 dias); entre elas só o dia de leitura. 0: toda execução é completa.", 0},
    {Ajuste::Resumo, "Tolvaneo", "Resumo", "N", nullptr, Leitura::SimNao, ParteRecarga::Tela,
     "S: cada rotação começa com a visão geral de todos os setores com números, 12 por página."},
    {Ajuste::Relogio, "Tolvaneo", "Relogio", "N", nullptr, Leitura::SimNao, ParteRecarga::Tela,
     "S: a hora do dia (hh:mm) na barra do topo, atualizada a cada minuto: uma tela parada se mostra."},
    {Ajuste::Meta, "Tolvaneo", "Meta", "", "nenhuma", Leitura::Texto, ParteRecarga::Tela,
     "Percentual alvo: cada percentual da tela numa cor com uma marca (▲ na meta ou acima, ► até 10 pontos abaixo, "
     "▼ mais abaixo); sem ele, sem cores."},
    {Ajuste::Tendencia, "Tolvaneo", "Tendencia", "N", nullptr, Leitura::SimNao, ParteRecarga::Tela,
     "S: em cada página de setor, uma barra por dia dos 31 dias com a eficiência do setor naquele dia (o dia de "
     "leitura marcado); na visão geral, uma faixa pequena de 31 barras por setor."},
    {Ajuste::Contato, "Tolvaneo", "Contato", "", "ninguém", Leitura::Texto, ParteRecarga::Tela,
     "Quem chamar quando a tela pede uma pessoa (erro de configuração, senha, permissão), por exemplo "
     "\"TI — ramal 214\"."},
    {Ajuste::DB, "Paths", "DB", "", nullptr, Leitura::Texto, ParteRecarga::Conexao,
     "O banco de produção: servidor:caminho, ou um arquivo neste PC (motor embutido)."},
    {Ajuste::ACESSO, "Paths", "ACESSO", "", nullptr, Leitura::Texto, ParteRecarga::Execucao, "Banco de acesso (mantido por compatibilidade, não é aberto)."},
    {Ajuste::Chave, "Banco", "Chave", "1", nullptr, Leitura::Inteiro, ParteRecarga::Conexao,
     "Sem Usuario: qual das três senhas fixas do SYSDBA (1, 2 ou 3)."},
    {Ajuste::Usuario, "Banco", "Usuario", "", "SYSDBA", Leitura::Texto, ParteRecarga::Conexao, "Um usuário de leitura do próprio site, no lugar do SYSDBA."},
    {Ajuste::SenhaArquivo, "Banco", "SenhaArquivo", "", nullptr, Leitura::Texto, ParteRecarga::Conexao, "Com Usuario: o arquivo que guarda só a senha."},
    {Ajuste::SenhaCredencial, "Banco", "SenhaCredencial", "tolvaneo-senha", nullptr, Leitura::Texto, ParteRecarga::Conexao,
     "Com Usuario e sem SenhaArquivo: a credencial do serviço que traz a senha."},
    {Ajuste::ConsultasParalelas, "Banco", "ConsultasParalelas", "S", nullptr, Leitura::Texto, ParteRecarga::Execucao,
     "S: as três consultas de produção correm lado a lado, cada uma na sua conexão: o servidor usa até três "
     "núcleos por menos tempo, com o mesmo trabalho no total. N ou 1: uma de cada vez, numa conexão só (um "
     "servidor ocupado)."},
};

} // namespace

QString caminhoConfiguracoes()
{
    return platform::appFolder() + QLatin1String(kArquivoConfiguracoes);
}

std::optional<IniFile> lerArquivoConfiguracoes()
{
    const QString caminho = caminhoConfiguracoes();
    if (!QFileInfo::exists(caminho))
        return std::nullopt;
    return IniFile::load(caminho);
}

std::optional<double> lerMeta(const QString& texto)
{
    bool ok = false;
    const double v = QString(texto).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(v) || v <= 0 || v > 10000)
        return std::nullopt;
    return v;
}

bool lerConsultasParalelas(const QString& texto)
{
    const QString t = texto.trimmed().toUpper();
    return t != QLatin1String("N") && t != QLatin1String("1");
}

QString versaoPrograma()
{
    return QStringLiteral(TOLVANEO_VERSION);
}

std::span<const Configuracao> configuracoes()
{
    return kConfiguracoes;
}

const Configuracao& configuracao(Ajuste id)
{
    const Configuracao& c = kConfiguracoes[size_t(id)];
    if (c.id != id)
        throw std::logic_error("the settings list is not in the order of its ids");
    return c;
}

QString nome(Ajuste id)
{
    return QString::fromLatin1(configuracao(id).chave);
}

QString lerTexto(const IniFile& ini, Ajuste id)
{
    const Configuracao& c = configuracao(id);
    return ini.readString(QString::fromLatin1(c.secao), QString::fromLatin1(c.chave), QString::fromUtf8(c.padrao));
}

int lerInteiro(const IniFile& ini, Ajuste id)
{
    const Configuracao& c = configuracao(id);
    const int v = ini.readInteger(QString::fromLatin1(c.secao), QString::fromLatin1(c.chave),
                                  parseIniInteger(QString::fromUtf8(c.padrao)).value_or(0));
    return c.minimo ? std::max(*c.minimo, v) : v;
}

std::optional<QString> lerEscrito(const IniFile& ini, Ajuste id)
{
    const Configuracao& c = configuracao(id);
    return ini.value(QString::fromLatin1(c.secao), QString::fromLatin1(c.chave));
}
