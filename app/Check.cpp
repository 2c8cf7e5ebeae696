#include "app/Check.h"

#include "app/IniFile.h"
#include "app/RegionalDate.h"
#include "app/TdmPrinc.h"
#include "calc/TdmMarvessa.h"
#include "data/DayNumber.h"
#include "data/Platform.h"
#include "data/SqlQuery.h"
#include "data/TextLists.h"

#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

namespace {

struct Setting {
    const char* section;
    const char* key;
    const char* padrao; // the default as the program reads it
};

const Setting kSettings[] = {
    {"Tolvaneo", "DataBase", "o dia de cada execução"},
    {"Tolvaneo", "Simplificado", "N"},
    {"Tolvaneo", "TempoTroca", "5"},
    {"Tolvaneo", "Funcionarios", ""},
    {"Tolvaneo", "AgruparFuncionario", "1"},
    {"Tolvaneo", "Setores", ""},
    {"Tolvaneo", "MinutosCompleto", "30"},
    {"Paths", "DB", ""},
    {"Paths", "ACESSO", ""},
    {"Banco", "Chave", "1"},
    {"Banco", "Usuario", "SYSDBA"},
    {"Banco", "SenhaArquivo", ""},
    {"Banco", "SenhaCredencial", "tolvaneo-senha"},
};

class Out {
public:
    Out() : s_(stdout) {}
    template <typename T>
    Out& operator<<(const T& v)
    {
        s_ << v;
        return *this;
    }
    ~Out() { s_.flush(); }

private:
    QTextStream s_;
};

// Text after a value that looks like a comment the reader kept.
bool looksLikeComment(const QString& value)
{
    static const QRegularExpression re(QStringLiteral("\\s[;#]"));
    return re.match(value).hasMatch();
}

// How many source records each sector has on the day.
QMap<QString, qint64> recordsOfTheDay(TdmMarvessa& calc, double day)
{
    QMap<QString, qint64> count;
    calc.setGravarConsultas(false);
    calc.PeriodoProducao()->setDataIni(day);
    calc.PeriodoProducao()->setDataFim(day);
    const std::pair<SqlQuery*, const char*> stages[] = {
        {&calc.sqlProdSetor, "SETOR_PS"}, {&calc.sqlCorteSetor, "setor_fs"}, {&calc.sqlCodCxUnitSetor, "setor_cx"}};
    calc.AbrirSqlProdSetor();
    calc.AbrirSqlCorteSetor();
    calc.AbrirSqlCodCxUnitSetor();
    for (const auto& [q, column] : stages) {
        const int c = q->columnIndex(QString::fromLatin1(column));
        for (; !q->eof(); q->next())
            ++count[q->value(c).asText()];
        q->close();
    }
    return count;
}

} // namespace

int runCheck(QCoreApplication&)
{
    static platform::StderrMessageBoxes boxes;
    platform::setMessageBoxes(&boxes);
    Out out;
    const QString path = platform::appFolder() + QStringLiteral("Marvessa.ini");
    out << "Tolvaneo " << QCoreApplication::applicationVersion() << ": verificação das configurações\n";
    out << "Arquivo: " << path << "\n\n";
    if (!QFileInfo::exists(path)) {
        out << "FALHA: arquivo de configurações não encontrado.\n";
        return 1;
    }

    IniFile ini;
    try {
        ini = IniFile::load(path);
    } catch (const std::exception& e) {
        out << "FALHA: " << QString::fromUtf8(e.what()) << "\n";
        return 1;
    }

    QStringList avisos;
    QString secao;
    for (const Setting& s : kSettings) {
        const QString section = QString::fromLatin1(s.section), key = QString::fromLatin1(s.key);
        if (section != secao) {
            out << "[" << section << "]\n";
            secao = section;
        }
        const std::optional<QString> v = ini.value(section, key);
        // SenhaArquivo and SenhaCredencial name where the password is, never the password.
        const QString shown = v ? *v : QString::fromUtf8(s.padrao);
        out << "  " << key.leftJustified(20) << " = " << shown.leftJustified(30) << (v ? "  (arquivo)" : "  (padrão)")
            << "\n";
        if (v && looksLikeComment(*v))
            avisos << QStringLiteral("\"%1\": o texto depois do valor parece um comentário, e faz parte do valor; "
                                     "comentários ficam em linhas próprias.")
                          .arg(key);
    }
    if (const auto d = ini.value(QStringLiteral("Tolvaneo"), QStringLiteral("DataBase"));
        d && !d->isEmpty() && !parseRegionalDateTime(*d, environmentTimeLocale()))
        avisos << QStringLiteral("\"DataBase\" (%1) não é uma data: cada execução lê o dia em que roda.").arg(*d);
    if (const auto c = ini.value(QStringLiteral("Banco"), QStringLiteral("Chave"))) {
        const auto n = parseIniInteger(*c);
        if (!n || *n < 1 || *n > 3)
            avisos << QStringLiteral("\"Chave\" (%1) fora de 1 a 3.").arg(*c);
    }
    for (const auto& [section, key] : ini.keys()) {
        bool known = false;
        for (const Setting& s : kSettings)
            known |= section == QString::fromLatin1(s.section).toLower() && key == QString::fromLatin1(s.key).toLower();
        if (!known)
            avisos << QStringLiteral("Configuração desconhecida: [%1] %2.").arg(section, key);
    }
    auto avisar = [&] {
        for (const QString& a : avisos)
            out << "Aviso: " << a << "\n";
    };

    TdmPrinc dm;
    dmPrinc = &dm;
    try {
        dm.CarregarConfiguracoes();
    } catch (const std::exception& e) {
        out << "\n";
        avisar();
        out << "\nFALHA: " << QString::fromUtf8(e.what()) << "\n";
        return 1;
    }
    if (dm.Setores().isEmpty())
        avisos << QStringLiteral("Nenhum setor em \"Setores\": nada será exibido.");

    const QStringList setores = splitCommaText(QString(dm.Setores()).remove(QLatin1Char('\'')));
    const double dia = dm.DataFixa() ? dm.DataIndicador() : daynum::fromDate(platform::clock().now().date());
    out << "\nDia de leitura: " << daynum::toDate(dia).toString(QStringLiteral("dd/MM/yyyy"))
        << (dm.DataFixa() ? "" : " (hoje)") << "\n";
    out << "Banco de dados: " << dm.ConnectionParams().Database << " como "
        << (dm.ConnectionParams().User.isEmpty() ? QStringLiteral("SYSDBA") : dm.ConnectionParams().User) << "\n";

    dm.setGeracaoInicialAdiada(true);
    try {
        dm.sqlCon.open();
        TdmMarvessa calc;
        calc.setSQLCOnnection(&dm.sqlCon);
        SqlQuery nomes(&dm.sqlCon);
        nomes.sql() = QStringList{QStringLiteral("select COD_SE, NOME_SE from SETOR")};
        nomes.open();
        QMap<QString, QString> nome;
        for (; !nomes.eof(); nomes.next())
            nome[nomes.value(0).asText()] = nomes.value(1).asText();
        nomes.close();
        const QMap<QString, qint64> registros = recordsOfTheDay(calc, dia);
        out << "Conexão: ok\n\nSetores configurados:\n";
        qint64 doDia = 0;
        for (const QString& s : setores)
            doDia += registros.value(s);
        if (!setores.isEmpty() && doDia == 0)
            avisos << QStringLiteral("Nenhum setor configurado tem registros em %1: confira DataBase e Setores.")
                          .arg(daynum::toDate(dia).toString(QStringLiteral("dd/MM/yyyy")));
        for (const QString& s : setores) {
            if (!nome.contains(s)) {
                out << "  " << s.leftJustified(4) << "(sem linha em SETOR)\n";
                avisos << QStringLiteral("O setor \"%1\" não existe na tabela SETOR.").arg(s);
                continue;
            }
            out << "  " << s.leftJustified(4) << nome[s].leftJustified(40) << " " << registros.value(s)
                << " registros no dia\n";
        }
    } catch (const std::exception& e) {
        out << "\n";
        avisar();
        out << "\nFALHA: o banco de dados não respondeu: " << QString::fromUtf8(e.what()).section(QLatin1Char('\n'), 0, 0)
            << "\n";
        return 1;
    }
    out << "\n";
    avisar();
    out << (avisos.isEmpty() ? "OK\n" : "OK, com avisos\n");
    return 0;
}
