#include "app/Check.h"

#include "app/Configuracoes.h"
#include "app/DescricaoErro.h"
#include "app/EnderecoBanco.h"
#include "app/FiltroFuncionarios.h"
#include "app/IniFile.h"
#include "app/LeituraFontes.h"
#include "app/RegionalDate.h"
#include "app/TdmPrinc.h"
#include "calc/TdmMarvessa.h"
#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/Platform.h"
#include "data/SqlConnection.h"
#include "data/SqlQuery.h"
#include "data/TextLists.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>

namespace {

class Out {
public:
    explicit Out(QTextStream& s) : s_(s) {}
    template <typename T>
    Out& operator<<(const T& v)
    {
        s_ << v;
        return *this;
    }
    ~Out() { s_.flush(); }

private:
    QTextStream& s_;
};

// Text after a value that looks like a comment the reader kept.
bool looksLikeComment(const QString& value)
{
    static const QRegularExpression re(QStringLiteral("\\s[;#]"));
    return re.match(value).hasMatch();
}

// How many source records each sector has on the day; the records that
// cannot be real go to absurdos.
QMap<QString, qint64> recordsOfTheDay(TdmMarvessa& calc, double day, QStringList& absurdos)
{
    QMap<QString, qint64> count;
    calc.setGravarConsultas(false);
    calc.PeriodoProducao()->setDataIni(day);
    calc.PeriodoProducao()->setDataFim(day);
    struct Stage {
        SqlQuery* q;
        const char *setor, *funcionario, *qtde, *prog, *ficha;
    };
    const Stage stages[] = {{&calc.sqlProdSetor, "SETOR_PS", "FUNCIONAR_PS", "QTDE_PS", "PROG_PS", "FICHA_PS"},
                            {&calc.sqlCorteSetor, "setor_fs", "funcionario_fs", "QTDE", nullptr, nullptr},
                            {&calc.sqlCodCxUnitSetor, "setor_cx", "funcionario_cx", "QTDE", "prog_cx", "ficha_cx"}};
    calc.AbrirSqlProdSetor();
    calc.AbrirSqlCorteSetor();
    calc.AbrirSqlCodCxUnitSetor();
    for (const Stage& st : stages) {
        SqlQuery* q = st.q;
        auto col = [&](const char* name) { return name ? q->columnIndex(QString::fromLatin1(name)) : -1; };
        const int c = col(st.setor), f = col(st.funcionario), qt = col(st.qtde), t = col("TEMPO"), p = col(st.prog),
                  fi = col(st.ficha);
        for (; !q->eof(); q->next()) {
            ++count[q->value(c).asText()];
            const double qtde = q->value(qt).asFloat(), tempo = q->value(t).asFloat();
            if (TdmMarvessa::registroAbsurdo(qtde, tempo))
                absurdos << QStringLiteral("ficha %1, setor %2, funcionário %3: quantidade %4, tempo %5")
                                .arg(p < 0 ? QStringLiteral("de corte") : q->value(p).asText() + QLatin1Char('/') + q->value(fi).asText(),
                                     q->value(c).asText(), q->value(f).asText(), QString::number(qtde, 'g', 15),
                                     QString::number(tempo, 'g', 15));
        }
        q->close();
    }
    return count;
}

// A text for the terminal: control characters shown as \xNN, never sent.
QString legivel(const QString& texto)
{
    QString out;
    out.reserve(texto.size());
    for (QChar c : texto) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

struct EmUso {
    QString valor, motivo;
    bool aviso = true; // false: the same value, shown as it is read
};

// The value the program uses for a setting written as `escrito`, when it is
// not what was written.
std::optional<EmUso> valorEmUso(Ajuste id, const QString& escrito, const TdmPrinc& dm)
{
    const auto n = parseIniInteger(escrito);
    const QString naoNumero = QStringLiteral("não é um número inteiro");
    // What a setting that is not a number reads as: its default.
    const QString padrao = QStringLiteral("%1 (padrão)").arg(QString::fromUtf8(configuracao(id).padrao));
    if (id == Ajuste::Simplificado) {
        if (escrito == QLatin1String("S") || escrito == QLatin1String("N"))
            return std::nullopt;
        return EmUso{dm.Simplificado() ? QStringLiteral("S") : QStringLiteral("N (layout completo)"),
                     QStringLiteral("só \"S\" escolhe o layout simplificado")};
    }
    if (id == Ajuste::Meta) {
        if (escrito.trimmed().isEmpty() || lerMeta(escrito))
            return std::nullopt;
        return EmUso{QStringLiteral("nenhuma (sem cores)"), QStringLiteral("não é um percentual acima de 0")};
    }
    // The switches: only "S" turns one on.
    const bool resumo = id == Ajuste::Resumo, relogio = id == Ajuste::Relogio, tendencia = id == Ajuste::Tendencia;
    if (resumo || relogio || tendencia) {
        if (escrito == QLatin1String("S") || escrito == QLatin1String("N"))
            return std::nullopt;
        return resumo    ? EmUso{QStringLiteral("N (sem visão geral)"), QStringLiteral("só \"S\" liga a visão geral")}
               : relogio ? EmUso{QStringLiteral("N (sem relógio)"), QStringLiteral("só \"S\" liga o relógio")}
                         : EmUso{QStringLiteral("N (sem barras)"), QStringLiteral("só \"S\" liga as barras dos 31 dias")};
    }
    if (id == Ajuste::TempoTroca) {
        if (!n)
            return EmUso{padrao, naoNumero};
        if (*n <= 0)
            return EmUso{QStringLiteral("%1: as páginas não mudam").arg(*n), QStringLiteral("zero ou negativo")};
        if (qint64(*n) * 1000 > std::numeric_limits<std::int32_t>::max())
            return EmUso{QStringLiteral("as páginas não mudam"), QStringLiteral("mais de 2147483 segundos")};
        if (QString::number(*n) != escrito)
            return EmUso{QString::number(*n), QStringLiteral("segundos")};
        return std::nullopt;
    }
    if (id == Ajuste::AgruparFuncionario) {
        if (!n)
            return EmUso{padrao, naoNumero};
        return std::nullopt;
    }
    if (id == Ajuste::MinutosCompleto) {
        if (!n)
            return EmUso{padrao, naoNumero};
        if (const int minimo = *configuracao(id).minimo; *n < minimo)
            return EmUso{QString::number(minimo), QStringLiteral("negativo: toda execução é completa")};
        return std::nullopt;
    }
    if (id == Ajuste::ConsultasParalelas) {
        const QString t = escrito.trimmed().toUpper();
        if (t == QLatin1String("S") || t == QLatin1String("N") || t == QLatin1String("1"))
            return std::nullopt;
        return EmUso{QStringLiteral("S (lado a lado)"), QStringLiteral("só \"N\" ou \"1\" lê uma consulta de cada vez")};
    }
    if (id == Ajuste::Chave) {
        if (!n)
            return EmUso{padrao, naoNumero};
        return std::nullopt;
    }
    if (id == Ajuste::Setores) {
        const QString emUso = QString(dm.Setores()).remove(QLatin1Char('\'')).replace(QLatin1Char(','), QStringLiteral(","));
        QString normalizado = splitCommaText(QString(escrito).replace(QChar(0), QLatin1Char(' '))).join(QLatin1Char(','));
        if (emUso == normalizado)
            return std::nullopt;
        return EmUso{emUso.isEmpty() ? QStringLiteral("nenhum") : emUso,
                     escrito.contains(QChar(0)) ? QStringLiteral("um caractere NUL termina a lista")
                                                : QStringLiteral("como a lista é lida")};
    }
    if (id == Ajuste::DataBase) {
        if (!dm.DataFixa())
            return std::nullopt; // warned about below
        const QDateTime lido = daynum::toDateTime(dm.DataIndicador());
        // A short date is shown as read (day first without a locale): the
        // same value, no warning.
        if (QRegularExpression(QStringLiteral("^\\s*\\d{4}")).match(escrito).hasMatch())
            return std::nullopt;
        return EmUso{QLocale(QLocale::Portuguese, QLocale::Brazil).toString(lido.date(), QStringLiteral("d 'de' MMMM 'de' yyyy")) +
                         (lido.time() != QTime(0, 0) ? lido.time().toString(QStringLiteral(", HH:mm")) : QString()),
                     QStringLiteral("como a data é lida"), false};
    }
    return std::nullopt;
}

// The date columns the statements select the period by, and whether an
// index starts with each: without one, a refresh of the day reads the whole
// table.
QStringList datasSemIndice(SqlConnection& con)
{
    const std::pair<const char*, const char*> colunas[] = {
        {"PRODUCAO_SETOR", "DTSAIDA_PS"}, {"FICHA_CORTE_ATU_SETOR", "DATA_SAIDA_FS"}, {"CODCXUNIT", "DTBAIXA_CX"}};
    QStringList avisos;
    for (const auto& [tabela, coluna] : colunas) {
        SqlQuery q(&con);
        q.sql() = QStringList{QStringLiteral("select count(*) from RDB$INDICES i join RDB$INDEX_SEGMENTS s on "
                                             "s.RDB$INDEX_NAME = i.RDB$INDEX_NAME where i.RDB$RELATION_NAME = '%1' and "
                                             "s.RDB$FIELD_NAME = '%2' and s.RDB$FIELD_POSITION = 0 and "
                                             "coalesce(i.RDB$INDEX_INACTIVE, 0) = 0")
                                  .arg(QLatin1String(tabela), QLatin1String(coluna))};
        q.open();
        if (q.value(0).asInteger() == 0)
            avisos << QStringLiteral("A coluna %1.%2 não tem índice: cada execução do dia lê a tabela inteira. "
                                     "Com um índice ela lê só o dia: create index IDX_%2 on %1 (%2);")
                          .arg(QLatin1String(tabela), QLatin1String(coluna));
        q.close();
    }
    return avisos;
}

} // namespace

int runCheck(QCoreApplication&)
{
    static platform::StderrMessageBoxes boxes;
    platform::setMessageBoxes(&boxes);
    QTextStream saida(stdout);
    return verificarConfiguracoes(saida);
}

int verificarConfiguracoes(QTextStream& texto)
{
    Out out(texto);
    const QString path = caminhoConfiguracoes();
    out << "Tolvaneo " << QCoreApplication::applicationVersion() << ": verificação das configurações\n";
    out << "Arquivo: " << legivel(path) << "\n\n";
    IniFile ini;
    try {
        const std::optional<IniFile> lido = lerArquivoConfiguracoes();
        if (!lido) {
            out << "FALHA: arquivo de configurações não encontrado.\n";
            return 1;
        }
        ini = *lido;
    } catch (const std::exception& e) {
        out << "FALHA: " << legivel(QString::fromUtf8(e.what())) << "\n";
        return 1;
    }

    // The settings as the program reads them, before anything is shown.
    TdmPrinc dm;
    dmPrinc = &dm;
    // The module lives as long as the check: nothing may find it after.
    const std::unique_ptr<TdmPrinc*, void (*)(TdmPrinc**)> esquecer(&dmPrinc, [](TdmPrinc** p) { *p = nullptr; });
    QString falhaCarga;
    try {
        dm.CarregarConfiguracoes();
    } catch (const ErroConfiguracao& e) {
        falhaCarga = QString::fromUtf8(e.what()) + (e.detalhe().isEmpty() ? QString() : QStringLiteral(" ") + e.detalhe());
    } catch (const std::exception& e) {
        falhaCarga = QString::fromUtf8(e.what());
    }
    const bool carregado = falhaCarga.isEmpty();

    QStringList avisos, falhas;
    const bool usuarioProprio = !lerTexto(ini, Ajuste::Usuario).isEmpty();
    QString secao;
    for (const Configuracao& s : configuracoes()) {
        const QString section = QString::fromLatin1(s.secao), key = QString::fromLatin1(s.chave);
        const Ajuste id = s.id;
        // A user of the site's own replaces the fixed passwords: "Chave" is
        // then not read at all.
        if (usuarioProprio && id == Ajuste::Chave)
            continue;
        if (!usuarioProprio && (id == Ajuste::SenhaArquivo || id == Ajuste::SenhaCredencial))
            continue;
        if (section != secao) {
            out << "[" << section << "]\n";
            secao = section;
        }
        const std::optional<QString> v = ini.value(section, key);
        // SenhaArquivo and SenhaCredencial name where the password is, never the password.
        const QString shown = v ? *v : QString::fromUtf8(s.semValor ? s.semValor : s.padrao);
        out << "  " << key.leftJustified(20) << " = " << legivel(shown).leftJustified(30)
            << (v ? "  (arquivo)" : "  (padrão)");
        if (v && carregado) {
            if (const auto uso = valorEmUso(id, *v, dm)) {
                out << "  → " << legivel(uso->valor) << ": " << uso->motivo;
                if (uso->aviso)
                    avisos << QStringLiteral("\"%1\" (%2): o valor em uso é %3 (%4).")
                              .arg(key, legivel(*v), legivel(uso->valor), uso->motivo);
            }
        }
        out << "\n";
        if (v && looksLikeComment(*v))
            avisos << QStringLiteral("\"%1\": o texto depois do valor parece um comentário, e faz parte do valor; "
                                     "comentários ficam em linhas próprias.")
                          .arg(key);
    }
    if (const auto d = lerEscrito(ini, Ajuste::DataBase);
        d && !d->isEmpty() && !parseRegionalDateTime(*d, environmentTimeLocale()))
        avisos << QStringLiteral("\"%1\" (%2) não é uma data: cada execução lê o dia em que roda.")
                      .arg(nome(Ajuste::DataBase), legivel(*d));
    if (const auto c = lerEscrito(ini, Ajuste::Chave); c && !usuarioProprio) {
        const auto n = parseIniInteger(*c);
        if (n && (*n < 1 || *n > 3))
            falhas << QStringLiteral("\"%1\" (%2) fora de 1 a 3: nenhuma senha para ela.")
                          .arg(nome(Ajuste::Chave), legivel(*c));
    }
    bool reconhecida = false;
    for (const auto& [section, key] : ini.keys()) {
        bool known = false;
        for (const Configuracao& s : configuracoes())
            known |= section == QString::fromLatin1(s.secao).toLower() && key == QString::fromLatin1(s.chave).toLower();
        reconhecida |= known;
        if (!known)
            avisos << QStringLiteral("Configuração desconhecida: [%1] %2.").arg(legivel(section), legivel(key));
    }
    if (!reconhecida)
        avisos << QStringLiteral("Nenhuma configuração reconhecida no arquivo: confira as seções ([Tolvaneo], [Paths], "
                                 "[Banco]) e a codificação (UTF-8 ou Windows-1252).");
    for (const QString& r : ini.repetidos())
        avisos << (r.contains(QLatin1Char(' '))
                       ? QStringLiteral("%1 aparece mais de uma vez: vale a primeira.").arg(legivel(r))
                       : QStringLiteral("%1 aparece mais de uma vez: valem as configurações de todas as cópias "
                                        "(de uma configuração repetida, a primeira).")
                             .arg(legivel(r)));
    if (ini.bomSemUtf8())
        avisos << QStringLiteral("O arquivo começa com a marca de UTF-8 (BOM), mas tem bytes que não são UTF-8: "
                                 "os acentos são lidos como \"\uFFFD\". Grave-o em UTF-8, ou em Windows-1252 sem a marca.");

    auto terminar = [&](int status) {
        out << "\n";
        for (const QString& a : avisos)
            out << "Aviso: " << a << "\n";
        for (const QString& f : falhas)
            out << "FALHA: " << f << "\n";
        if (status == 0)
            out << (avisos.isEmpty() ? "OK\n" : "OK, com avisos\n");
        return status;
    };
    if (!carregado) {
        falhas << legivel(falhaCarga);
        return terminar(1);
    }
    if (dm.ConnectionParams().Database.isEmpty()) {
        falhas << QStringLiteral("nenhum banco de dados configurado: falta [Paths] DB.");
        return terminar(1);
    }
    if (const QString erro = lerEnderecoBanco(dm.ConnectionParams().Database).erro; !erro.isEmpty()) {
        falhas << legivel(erro);
        return terminar(1);
    }
    // A file on this PC is opened by the embedded engine, whose lock files
    // need a folder this user may write.
    if (bancoNestePC(dm.ConnectionParams().Database)) {
        const QString lock = qEnvironmentVariable("FIREBIRD_LOCK");
        if (lock.isEmpty())
            avisos << QStringLiteral("\"DB\" é um arquivo neste PC: o Firebird embutido guarda suas travas na pasta "
                                     "FIREBIRD_LOCK, que não está definida (o padrão /tmp/firebird é do grupo "
                                     "firebird); o serviço usa /run/tolvaneo.");
    }
    // What the screen would refuse, with the screen's own words.
    if (dm.Setores().isEmpty())
        falhas << QStringLiteral("Nenhum setor configurado em \"Setores\".");
    if (const QString erro = erroFiltroFuncionarios(dm.Funcionarios()); !erro.isEmpty())
        falhas << erro;

    const QStringList setores = splitCommaText(QString(dm.Setores()).remove(QLatin1Char('\'')));
    const double dia = dm.DataFixa() ? dm.DataIndicador() : daynum::fromDate(platform::clock().now().date());
    out << "\nDia de leitura: " << daynum::toDate(dia).toString(QStringLiteral("dd/MM/yyyy"))
        << (dm.DataFixa() ? "" : " (hoje)") << "\n";
    out << "Banco de dados: " << legivel(dm.ConnectionParams().Database) << " como "
        << (dm.ConnectionParams().User.isEmpty() ? QStringLiteral("SYSDBA") : legivel(dm.ConnectionParams().User))
        << "\n";
    out << (dm.ConsultasParalelas()
                ? "Consultas de produção: as três lado a lado, em três conexões; o servidor usa até três núcleos "
                  "por menos tempo, o mesmo trabalho no total (ConsultasParalelas=N: uma de cada vez)\n"
                : "Consultas de produção: uma de cada vez, numa conexão (ConsultasParalelas=S: as três lado a lado, "
                  "mais depressa, com até três núcleos do servidor)\n");

    dm.setGeracaoInicialAdiada(true);
    try {
        dm.sqlCon.open();
        const TiposFontes tipos = lerTiposFontes(dm.sqlCon);
        avisos << tipos.avisos;
        // Sector codes of a number column: the settings' '01' is the sector 1.
        auto setor = [&](const QString& codigo) {
            return tipos.setoresNumericos ? codigoPorValor(codigo) : codigo;
        };
        // A read of each source table as the configured user: a grant that
        // is missing fails here by name, not as a run's error on the screen.
        if (const QStringList negadas = tabelasSemLeitura(dm.sqlCon); !negadas.isEmpty()) {
            falhas << QStringLiteral("O usuário %1 não pode ler %2: sem permissão de leitura. Rode "
                                     "/usr/share/doc/tolvaneo/read-only-user.sql no banco, como SYSDBA, para "
                                     "dar as permissões.")
                          .arg(dm.ConnectionParams().User.isEmpty() ? QStringLiteral("SYSDBA")
                                                                    : legivel(dm.ConnectionParams().User),
                               negadas.join(QStringLiteral(", ")));
            return terminar(1);
        }
        TdmMarvessa calc;
        calc.setSQLCOnnection(&dm.sqlCon);
        calc.setCodigosNumericos(tipos.setoresNumericos, tipos.funcionariosNumericos);
        SqlQuery nomes(&dm.sqlCon);
        nomes.sql() = QStringList{QStringLiteral("select COD_SE, NOME_SE from SETOR")};
        nomes.open();
        QMap<QString, QString> nome;
        for (; !nomes.eof(); nomes.next())
            nome[setor(nomes.value(0).asText())] = nomes.value(1).asText();
        nomes.close();
        avisos << datasSemIndice(dm.sqlCon);
        QStringList absurdos;
        QMap<QString, qint64> registros;
        for (const auto& [codigo, n] : recordsOfTheDay(calc, dia, absurdos).asKeyValueRange())
            registros[setor(codigo)] += n;
        const qsizetype n = TdmMarvessa::kAbsurdosNomeados;
        for (const QString& a : absurdos.mid(0, n))
            avisos << QStringLiteral("Registro impossível no dia (contado como está): %1.").arg(legivel(a));
        if (absurdos.size() > n)
            avisos << QStringLiteral("Mais %1 registros impossíveis no dia.").arg(absurdos.size() - n);
        out << "Conexão: ok\n\nSetores configurados:\n";
        qint64 doDia = 0;
        QStringList ausentes;
        for (const QString& s : setores) {
            doDia += registros.value(setor(s));
            if (!nome.contains(setor(s))) {
                out << "  " << legivel(s).leftJustified(4) << "(sem linha em SETOR)\n";
                ausentes << legivel(s);
                continue;
            }
            out << "  " << legivel(s).leftJustified(4) << legivel(nome[setor(s)]).leftJustified(40) << " "
                << registros.value(setor(s)) << " registros no dia\n";
        }
        if (!setores.isEmpty() && ausentes.size() == setores.size())
            falhas << QStringLiteral("Nenhum dos setores configurados existe na tabela SETOR (%1): a tela mostraria "
                                     "\"Sem indicadores.\".")
                          .arg(ausentes.join(QStringLiteral(", ")));
        else
            for (const QString& s : ausentes)
                avisos << QStringLiteral("O setor \"%1\" não existe na tabela SETOR.").arg(s);
        if (!setores.isEmpty() && ausentes.size() < setores.size() && doDia == 0)
            avisos << QStringLiteral("Nenhum setor configurado tem registros em %1: confira DataBase e Setores.")
                          .arg(daynum::toDate(dia).toString(QStringLiteral("dd/MM/yyyy")));
    } catch (const std::exception& e) {
        // The cause as the screen gives it, and the client's whole message.
        falhas << QStringLiteral("%1: %2").arg(descreverErro(causaDe(e)).titulo,
                                               legivel(QString::fromUtf8(e.what()).replace(QLatin1Char('\n'), QStringLiteral(" / "))));
        return terminar(1);
    }
    return terminar(falhas.isEmpty() ? 0 : 1);
}
