// Reading the settings again: what changed, and what each change calls for.
#include "app/Configuracoes.h"
#include "app/MudancasConfiguracao.h"
#include "app/TdmPrinc.h"
#include "tests/app/IniFixture.h"
#include "tests/common/Fakes.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string_view>

namespace {

const QByteArray kBase = "[Tolvaneo]\nDataBase=05/11/2026\nSimplificado=S\nTempoTroca=5\nSetores=01,02\nMeta=85\n"
                         "[Paths]\nDB=/dados/fabrica.fdb\n[Banco]\nChave=1\n";

// The base file with one line replaced (or, with an empty de, added).
QByteArray com(const QByteArray& de, const QByteArray& para)
{
    QByteArray ini = kBase;
    if (de.isEmpty())
        return ini.replace("[Paths]", para + "\n[Paths]");
    return ini.replace(de, para);
}

std::unique_ptr<TdmPrinc> ler(const IniFolder& pasta, const QByteArray& ini)
{
    pasta.write(ini);
    auto dm = std::make_unique<TdmPrinc>();
    dm->RecarregarConfiguracoes();
    return dm;
}

} // namespace

TEST(Recarga, EachSettingIsComparedAsItIsReadAndSaysWhatItCallsFor)
{
    PlatformFakes fakes;
    IniFolder pasta;
    const auto antes = ler(pasta, kBase);
    struct Caso {
        QByteArray de, para;
        QStringList chaves;
        bool exibicao, geracao, conexao;
    };
    const Caso casos[] = {
        // Written differently, read the same: no change.
        {"TempoTroca=5", "TempoTroca=0x5", {}, false, false, false},
        {"Setores=01,02", "Setores= 01 02", {}, false, false, false},
        {"Meta=85", "Meta=85,0", {}, false, false, false},
        {"DataBase=05/11/2026", "DataBase=2026-11-05", {}, false, false, false},
        // The pages.
        {"TempoTroca=5", "TempoTroca=30", {"TempoTroca"}, true, false, false},
        {"Meta=85", "Meta=90", {"Meta"}, true, false, false},
        {"Simplificado=S", "Simplificado=N", {"Simplificado"}, true, false, false},
        {"", "Relogio=S\nResumo=S", {"Resumo", "Relogio"}, true, false, false},
        // The figures.
        {"Setores=01,02", "Setores=02,01", {"Setores"}, false, true, false},
        {"", "Funcionarios=and FUNCIONARIO <> '9'", {"Funcionarios"}, false, true, false},
        {"DataBase=05/11/2026", "DataBase=", {"DataBase"}, false, true, false},
        {"", "MinutosCompleto=0\nAgruparFuncionario=0", {"AgruparFuncionario", "MinutosCompleto"}, false, true, false},
        // The connection.
        {"DB=/dados/fabrica.fdb", "DB=servidor:/dados/fabrica.fdb", {"DB"}, false, true, true},
        {"Chave=1", "Chave=2", {"senha"}, false, true, true},
        // Both kinds at once.
        {"Setores=01,02\nMeta=85", "Setores=03\nMeta=70", {"Setores", "Meta"}, true, true, false},
    };
    for (const Caso& c : casos) {
        const auto depois = ler(pasta, com(c.de, c.para));
        const MudancasConfiguracao m = compararConfiguracoes(*antes, *depois);
        EXPECT_EQ(m.chaves, c.chaves) << c.para.toStdString();
        EXPECT_EQ(m.exibicao, c.exibicao) << c.para.toStdString();
        EXPECT_EQ(m.geracao, c.geracao) << c.para.toStdString();
        EXPECT_EQ(m.conexao, c.conexao) << c.para.toStdString();
    }
}

// Every setting of the list, changed alone: the reload names it, calls for
// what the list says, and once applied (the pages' part at once, the run's
// before the next run) the settings in force are those read. A setting
// added to the list without a case here fails.
TEST(Recarga, EverySettingChangedAloneIsNamedAndApplied)
{
    PlatformFakes fakes;
    IniFolder pasta;
    QTemporaryDir senhas;
    QFile senha(senhas.filePath("senha"));
    ASSERT_TRUE(senha.open(QIODevice::WriteOnly));
    senha.write("outra\n");
    senha.close();
    const struct {
        const char* chave;
        QByteArray de, para;
        const char* nomeada; // as the reload names it
    } casos[] = {
        {"DataBase", "DataBase=05/11/2026", "DataBase=06/11/2026", "DataBase"},
        {"Simplificado", "Simplificado=S", "Simplificado=N", "Simplificado"},
        {"TempoTroca", "TempoTroca=5", "TempoTroca=9", "TempoTroca"},
        {"Funcionarios", "", "Funcionarios= and FUNCIONARIO <> '9'", "Funcionarios"},
        {"AgruparFuncionario", "", "AgruparFuncionario=0", "AgruparFuncionario"},
        {"Setores", "Setores=01,02", "Setores=03", "Setores"},
        {"MinutosCompleto", "", "MinutosCompleto=5", "MinutosCompleto"},
        {"Resumo", "", "Resumo=S", "Resumo"},
        {"Relogio", "", "Relogio=S", "Relogio"},
        {"Meta", "Meta=85", "Meta=70", "Meta"},
        {"Tendencia", "", "Tendencia=S", "Tendencia"},
        {"Contato", "", "Contato=TI — ramal 214", "Contato"},
        {"DB", "DB=/dados/fabrica.fdb", "DB=/dados/outra.fdb", "DB"},
        {"ACESSO", "DB=/dados/fabrica.fdb", "DB=/dados/fabrica.fdb\nACESSO=/dados/acesso.fdb", "ACESSO"},
        {"Chave", "Chave=1", "Chave=3", "senha"},
        {"Usuario", "Chave=1", "Chave=1\nUsuario=LEITOR\nSenhaArquivo=" + senha.fileName().toUtf8(), "Usuario"},
        {"SenhaArquivo", "Chave=1", "Chave=1\nUsuario=SYSDBA\nSenhaArquivo=" + senha.fileName().toUtf8(), "senha"},
        {"SenhaCredencial", "Chave=1", "Chave=1\nSenhaCredencial=outra", ""},
        {"ConsultasParalelas", "Chave=1", "Chave=1\nConsultasParalelas=N", "ConsultasParalelas"},
    };
    QSet<QString> cobertas;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.chave);
        cobertas.insert(QString::fromLatin1(c.chave));
        const auto emUso = ler(pasta, kBase);
        const auto lido = ler(pasta, com(c.de, c.para));
        const MudancasConfiguracao m = compararConfiguracoes(*emUso, *lido);
        // SenhaCredencial counts only without SenhaArquivo and with Usuario,
        // through the service's credential: here nothing changes.
        if (!*c.nomeada) {
            EXPECT_TRUE(m.chaves.isEmpty());
            continue;
        }
        EXPECT_TRUE(m.chaves.contains(QString::fromLatin1(c.nomeada))) << m.chaves.join(',').toStdString();
        ParteRecarga parte{};
        for (const Configuracao& k : configuracoes())
            if (std::string_view(k.chave) == c.chave)
                parte = k.parte;
        EXPECT_EQ(m.exibicao, parte == ParteRecarga::Tela);
        EXPECT_EQ(m.geracao, parte != ParteRecarga::Tela);
        EXPECT_EQ(m.conexao, parte == ParteRecarga::Conexao);
        emUso->assumirExibicao(*lido);
        if (m.geracao)
            emUso->assumirGeracao(*lido);
        EXPECT_TRUE(compararConfiguracoes(*emUso, *lido).chaves.isEmpty())
            << compararConfiguracoes(*emUso, *lido).chaves.join(',').toStdString();
    }
    for (const Configuracao& c : configuracoes())
        EXPECT_TRUE(cobertas.contains(QString::fromLatin1(c.chave))) << c.chave << " has no case here";
}

TEST(Recarga, TheCurrentDayIsTheSameSettingOnAnyDay)
{
    PlatformFakes fakes;
    IniFolder pasta;
    const QByteArray ini = com("DataBase=05/11/2026", "DataBase=");
    const auto ontem = ler(pasta, ini);
    fakes.clock.set(QDateTime(QDate(2026, 11, 6), QTime(0, 5)));
    EXPECT_TRUE(compararConfiguracoes(*ontem, *ler(pasta, ini)).chaves.isEmpty());
}

TEST(Recarga, AFileThatCannotBeReadFailsWithoutABoxOrAnEnd)
{
    PlatformFakes fakes;
    IniFolder pasta;
    TdmPrinc dm;
    QFile::remove(pasta.path() + "/Marvessa.ini");
    EXPECT_THROW(dm.RecarregarConfiguracoes(), std::runtime_error);
    pasta.write(com("Chave=1", "Chave=7"));
    EXPECT_THROW(dm.RecarregarConfiguracoes(), std::runtime_error);
    EXPECT_TRUE(fakes.boxes.shown.empty());
    EXPECT_FALSE(platform::terminateRequested());
}
