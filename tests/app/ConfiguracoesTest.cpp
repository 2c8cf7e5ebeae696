// The list of settings against what the technician reads: the package's
// template and the README name every setting in its section and nothing
// else, and the version stands once.
#include "app/Configuracoes.h"
#include "app/IniFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <string_view>

namespace {

QString lerArquivo(const QString& relativo)
{
    QFile f(QStringLiteral(TOLVANEO_SOURCE_DIR "/") + relativo);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << relativo.toStdString();
    return QString::fromUtf8(f.readAll());
}

// "[secao] chave" of every key line, written or commented out, lower case.
QSet<QString> chavesEscritas(const QString& texto)
{
    static const QRegularExpression secao(QStringLiteral("^\\[(\\w+)\\]\\s*$"));
    static const QRegularExpression chave(QStringLiteral("^;?([A-Za-z]+)="));
    QSet<QString> chaves;
    QString atual;
    for (const QString& linha : texto.split(QLatin1Char('\n'))) {
        if (const auto m = secao.match(linha); m.hasMatch())
            atual = m.captured(1).toLower();
        else if (const auto k = chave.match(linha); k.hasMatch())
            chaves.insert(QStringLiteral("[%1] %2").arg(atual, k.captured(1).toLower()));
    }
    return chaves;
}

QSet<QString> chavesDaLista()
{
    QSet<QString> chaves;
    for (const Configuracao& c : configuracoes())
        chaves.insert(QStringLiteral("[%1] %2").arg(QString::fromLatin1(c.secao), QString::fromLatin1(c.chave)).toLower());
    return chaves;
}

TEST(Configuracoes, TheTemplateAndTheReadmeNameEverySettingAndNoOther)
{
    const QString readme = lerArquivo(QStringLiteral("README.md"));
    const qsizetype inicio = readme.indexOf(QStringLiteral("```ini"), readme.indexOf(QStringLiteral("## Configuring a site")));
    ASSERT_GE(inicio, 0);
    const QString blocoReadme = readme.mid(inicio, readme.indexOf(QStringLiteral("```"), inicio + 6) - inicio);
    for (const auto& [nome, texto] : {std::pair{"packaging/Marvessa.ini", lerArquivo(QStringLiteral("packaging/Marvessa.ini"))},
                                      std::pair{"README.md", blocoReadme}}) {
        const QSet<QString> escritas = chavesEscritas(texto), lista = chavesDaLista();
        for (const QString& c : lista - escritas)
            ADD_FAILURE() << nome << " does not name " << c.toStdString();
        for (const QString& c : escritas - lista)
            ADD_FAILURE() << nome << " names " << c.toStdString() << ", which the program does not read";
    }
}

// The README's reload section says what each change calls for as the list
// does: the page settings in its first point, those of a run in its second
// (the password's three keys as "the user or password").
TEST(Configuracoes, TheReadmesReloadListFollowsWhatEachSettingCallsFor)
{
    const QString readme = lerArquivo(QStringLiteral("README.md"));
    const qsizetype secao = readme.indexOf(QStringLiteral("### Reading the settings again"));
    ASSERT_GE(secao, 0);
    const QStringList pontos = readme.mid(secao).split(QStringLiteral("\n- "));
    ASSERT_GE(pontos.size(), 3);
    const QString tela = pontos[1].simplified(), execucao = pontos[2].simplified();
    for (const Configuracao& c : configuracoes()) {
        const QString nome = QStringLiteral("`%1`").arg(QString::fromLatin1(c.chave));
        if (c.chave == std::string_view("ACESSO"))
            continue; // read, never opened: nothing to say
        if (c.secao == std::string_view("Banco") && c.chave != std::string_view("Usuario")) {
            EXPECT_TRUE(execucao.contains(QStringLiteral("password"))) << c.chave;
            continue;
        }
        const bool naTela = tela.contains(nome), naExecucao = execucao.contains(nome) ||
                                                               (c.chave == std::string_view("Usuario") &&
                                                                execucao.contains(QStringLiteral("the user")));
        EXPECT_EQ(naTela, c.parte == ParteRecarga::Tela) << c.chave;
        EXPECT_EQ(naExecucao, c.parte != ParteRecarga::Tela) << c.chave;
    }
}

TEST(Configuracoes, EveryDefaultReadsAsItsKind)
{
    const IniFile vazio = IniFile::fromBytes({});
    QSet<QString> vistas;
    for (const Configuracao& c : configuracoes()) {
        EXPECT_FALSE(vistas.contains(QString::fromLatin1(c.chave).toLower())) << c.chave << " stands twice";
        vistas.insert(QString::fromLatin1(c.chave).toLower());
        EXPECT_EQ(lerTexto(vazio, c.id), QString::fromUtf8(c.padrao));
        EXPECT_EQ(&configuracao(c.id), &c) << c.chave; // each id finds its own row
        if (c.leitura == Leitura::Inteiro) {
            EXPECT_TRUE(parseIniInteger(QString::fromUtf8(c.padrao))) << c.chave;
        }
        EXPECT_GT(std::strlen(c.significado), 10u) << c.chave;
    }
    EXPECT_EQ(lerInteiro(vazio, Ajuste::TempoTroca), 5);
    EXPECT_EQ(lerInteiro(IniFile::fromBytes("[tolvaneo]\ntempotroca=0x10\n"), Ajuste::TempoTroca), 16);
}

TEST(Configuracoes, ThePackageCarriesTheProgramsVersion)
{
    const QString v = versaoPrograma();
    ASSERT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(v).hasMatch()) << v.toStdString();
    EXPECT_TRUE(lerArquivo(QStringLiteral("debian/changelog")).startsWith(QStringLiteral("tolvaneo (%1)").arg(v)));
    EXPECT_TRUE(lerArquivo(QStringLiteral("packaging/tolvaneo.1")).contains(QStringLiteral("\"tolvaneo %1\"").arg(v)));
}

} // namespace
