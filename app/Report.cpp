#include "app/Report.h"

#include "app/Configuracoes.h"
#include "app/EnderecoBanco.h"

#include "app/ErrorReport.h"
#include "app/Geracao.h"
#include "app/TdmPrinc.h"
#include "calc/PlanoGeracao.h"
#include "data/DayNumber.h"
#include "data/Platform.h"
#include "data/WorkTable.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

QJsonObject configurationJson(const TdmPrinc& dm)
{
    QJsonObject c;
    c[QStringLiteral("DataIndicador")] = daynum::toDateTime(dm.DataIndicador()).toString(Qt::ISODate);
    c[nome(Ajuste::Simplificado)] = dm.Simplificado();
    c[nome(Ajuste::TempoTroca)] = dm.TempoTroca();
    c[nome(Ajuste::Funcionarios)] = dm.Funcionarios();
    c[QStringLiteral("PorFuncionario")] = dm.PorFuncionario();
    c[nome(Ajuste::Setores)] = dm.Setores();
    c[QStringLiteral("Database")] = dm.ConnectionParams().Database;
    c[QStringLiteral("DatabaseAccess")] = dm.ConnectionParams().DatabaseAccess;
    c[QStringLiteral("Versao")] = dm.Versao();
    return c;
}

QJsonObject rowJson(const WorkTable& table)
{
    QJsonObject row;
    for (const auto& f : table.fields()) {
        QJsonValue v;
        if (!f->isNull()) {
            switch (f->type()) {
            case FieldType::Text:
                v = f->asString();
                break;
            case FieldType::Integer:
                v = f->asInteger();
                break;
            case FieldType::Float:
                v = f->asFloat();
                break;
            case FieldType::Date:
                v = daynum::toDate(f->asDateTime()).toString(Qt::ISODate);
                break;
            case FieldType::DateTime:
                v = daynum::toDateTime(f->asDateTime()).toString(Qt::ISODate);
                break;
            }
        }
        row[f->name()] = v;
    }
    return row;
}

QJsonArray tableJson(WorkTable& table)
{
    QJsonArray rows;
    if (!table.active())
        return rows;
    for (table.first(); !table.eof(); table.next())
        rows.append(rowJson(table));
    return rows;
}

namespace {

// A value's indented text as it stands `nivel` levels deep in a document:
// every line after the first moved right, no line end after the last.
QByteArray aninhado(const QJsonDocument& doc, int nivel)
{
    QByteArray texto = doc.toJson(QJsonDocument::Indented);
    texto.chop(1);
    return texto.replace("\n", "\n" + QByteArray(4 * nivel, ' '));
}

// The report, written as QJsonDocument writes it indented (its members in
// the order of their names), with the tables a row at a time: no second copy
// of them is made.
class EscritaRelatorio {
public:
    explicit EscritaRelatorio(std::FILE* out) : out_(out) { escrever("{\n"); }
    void membro(const char* nome, const QByteArray& valor)
    {
        abrir(nome);
        escrever(valor);
    }
    void tabela(const char* nome, WorkTable* table)
    {
        abrirTabela(nome);
        if (table && table->active()) {
            for (table->first(); !table->eof(); table->next())
                linha(*table);
        }
        fecharTabela();
    }
    // A table given a row at a time: its current row each.
    void abrirTabela(const char* nome)
    {
        abrir(nome);
        escrever("[\n");
        primeiraLinha_ = true;
    }
    void linha(const WorkTable& table)
    {
        static const QByteArray recuo(8, ' ');
        escrever(primeiraLinha_ ? recuo : ",\n" + recuo);
        escrever(aninhado(QJsonDocument(rowJson(table)), 2));
        primeiraLinha_ = false;
    }
    void fecharTabela() { escrever(primeiraLinha_ ? "    ]" : "\n    ]"); }
    void fechar()
    {
        escrever(primeiro_ ? "}\n" : "\n}\n");
        std::fflush(out_);
    }

private:
    void abrir(const char* nome)
    {
        escrever(primeiro_ ? "    \"" : ",\n    \"");
        escrever(nome);
        escrever("\": ");
        primeiro_ = false;
    }
    void escrever(const QByteArray& b) { std::fwrite(b.constData(), 1, size_t(b.size()), out_); }
    void escrever(const char* s) { std::fputs(s, out_); }

    std::FILE* out_;
    bool primeiro_ = true;
    bool primeiraLinha_ = true;
};

} // namespace

int runReport(QCoreApplication&, int ciclos)
{
    static platform::StderrMessageBoxes boxes;
    platform::setMessageBoxes(&boxes);
    // Settings with no database say so as the screen does, before any
    // attach could answer with the client's words for an empty path.
    try {
        if (const std::optional<IniFile> ini = lerArquivoConfiguracoes()) {
            const QString db = lerTexto(*ini, Ajuste::DB);
            const QString erro = db.isEmpty() ? QString::fromUtf8(kSemBanco) : lerEnderecoBanco(db).erro;
            if (!erro.isEmpty()) {
                reportException(std::runtime_error(erro.toStdString()));
                return 1;
            }
        }
    } catch (const std::exception&) {
        // An unreadable file is reported by the loading below, as before.
    }
    std::unique_ptr<TdmPrinc> dm;
    QJsonArray execucoes;
    bool ultimaOk = true;
    if (ciclos > 0) {
        dm = std::make_unique<TdmPrinc>();
        dmPrinc = dm.get();
        dm->setGeracaoInicialAdiada(true);
        try {
            dm->DataModuleCreate();
        } catch (const std::exception& e) {
            reportException(e);
            return 1;
        }
        if (platform::terminateRequested() || !dmMarvessa)
            return 1;
        PlanoGeracao plano(dm->MinutosCompleto());
        for (int i = 0; i < ciclos; ++i) {
            const QDateTime agora = platform::clock().now();
            const double dia = dm->DataFixa() ? dm->DataIndicador() : daynum::fromDate(agora.date());
            const ExecucaoGeracao e = executarGeracao(*dmMarvessa, dm->sqlCon, plano, dia, agora);
            QJsonObject o;
            o[QStringLiteral("tipo")] = e.completa ? QStringLiteral("completa") : QStringLiteral("dia");
            o[QStringLiteral("segundos")] = e.segundos;
            o[QStringLiteral("registros")] = qint64(e.registros);
            if (!e.ok)
                o[QStringLiteral("erro")] = e.erro;
            execucoes.append(o);
            ultimaOk = e.ok;
        }
    } else {
        bool ok = false;
        dm = CreateDmPrinc(&ok);
        if (!ok || platform::terminateRequested())
            return 1;
    }
    EscritaRelatorio out(stdout);
    out.membro("configuracao", aninhado(QJsonDocument(configurationJson(*dm)), 1));
    if (ciclos > 0)
        out.membro("execucoes", aninhado(QJsonDocument(execucoes), 1));
    if (dmMarvessa) {
        out.tabela("setor_func", &dmMarvessa->cdsSetorFunc);
        out.tabela("setores", &dmMarvessa->cdsSetores);
        // The run's rows shown in the table one at a time: never all of them
        // as table rows.
        out.abrirTabela("tempo_setor");
        dmMarvessa->PercorrerTempoSetor([&](const WorkTable& t) { out.linha(t); });
        out.fecharTabela();
    }
    out.fechar();
    return ultimaOk ? 0 : 1;
}
