#include "app/LeituraFontes.h"

#include "calc/SourceStatements.h"
#include "data/DatabaseError.h"
#include "data/SqlConnection.h"
#include "data/SqlQuery.h"

#include <QMap>

#include <span>

QStringList tabelasSemLeitura(SqlConnection& con)
{
    QStringList negadas;
    for (const QString& tabela : sourcesql::kTabelasLidas) {
        SqlQuery q(&con);
        q.sql() = QStringList{QStringLiteral("select count(*) from %1 where 1 = 0").arg(tabela)};
        try {
            q.open();
            q.close();
        } catch (const fb::DatabaseError& e) {
            if (e.causa() != CausaFalha::SemPermissao)
                throw;
            negadas << tabela;
        }
    }
    return negadas;
}

namespace {

// A column's type in SQL words, from the system tables' codes.
struct Tipo {
    int codigo = 0, escala = 0, subtipo = 0, tamanho = 0;

    bool texto() const { return codigo == 14 || codigo == 37; }
    bool numero() const
    {
        return codigo == 7 || codigo == 8 || codigo == 16 || codigo == 10 || codigo == 27 || codigo == 24 ||
               codigo == 25 || codigo == 26;
    }
    bool inteiro() const { return (codigo == 7 || codigo == 8 || codigo == 16 || codigo == 26) && escala == 0; }
    QString nome() const
    {
        switch (codigo) {
        case 7:
        case 8:
        case 16:
        case 26:
            if (escala < 0)
                return QStringLiteral("NUMERIC(%1)").arg(-escala);
            return codigo == 7 ? QStringLiteral("SMALLINT") : codigo == 8 ? QStringLiteral("INTEGER")
                                                            : codigo == 16 ? QStringLiteral("BIGINT")
                                                                           : QStringLiteral("INT128");
        case 10:
            return QStringLiteral("FLOAT");
        case 27:
            return QStringLiteral("DOUBLE PRECISION");
        case 24:
        case 25:
            return QStringLiteral("DECFLOAT");
        case 12:
            return QStringLiteral("DATE");
        case 13:
            return QStringLiteral("TIME");
        case 28:
            return QStringLiteral("TIME WITH TIME ZONE");
        case 35:
            return QStringLiteral("TIMESTAMP");
        case 29:
            return QStringLiteral("TIMESTAMP WITH TIME ZONE");
        case 14:
            return QStringLiteral("CHAR(%1)").arg(tamanho);
        case 37:
            return QStringLiteral("VARCHAR(%1)").arg(tamanho);
        case 261:
            return QStringLiteral("BLOB");
        case 23:
            return QStringLiteral("BOOLEAN");
        }
        return QStringLiteral("tipo %1").arg(codigo);
    }
};

// The columns whose type decides how the program reads them.
const char* const kCodigosFuncionario[] = {"PRODUCAO_SETOR.FUNCIONAR_PS", "FICHA_CORTE_ATU_SETOR.FUNCIONARIO_FS",
                                           "CODCXUNIT.FUNCIONARIO_CX", "PRODUCAO_EXPEDIENTE.FUNCIONARIO_PE"};
const char* const kCodigosSetor[] = {"PRODUCAO_SETOR.SETOR_PS",      "FICHA_CORTE_ATU_SETOR.SETOR_FS",
                                     "CODCXUNIT.SETOR_CX",           "PRODUCAO_EXPEDIENTE.SETOR_PE",
                                     "SETOR.COD_SE",                 "SETOR.SETOR_AGRUP_SE",
                                     "PRODUTO_TEMPO.SETOR_PT",       "PRODUCAO_OPERACAO_SETOR.SETOR_PS"};
const char* const kRelogios[] = {"PRODUCAO_EXPEDIENTE.HORA_INICIO_PE", "PRODUCAO_EXPEDIENTE.HORA_FIM_PE",
                                 "PRODUCAO_EXPEDIENTE.HORA_INICIO_HE_PE", "PRODUCAO_EXPEDIENTE.HORA_FIM_HE_PE"};
const char* const kSaidas[] = {"PRODUCAO_SETOR.DTSAIDA_PS", "FICHA_CORTE_ATU_SETOR.DATA_SAIDA_FS",
                               "CODCXUNIT.DTBAIXA_CX"};
const char* const kQuantidades[] = {"PRODUCAO_SETOR.QTDE_PS", "PRODUTO_TEMPO.TEMPO_PT", "FICHA_CORTE.QTDE_TOT_FC",
                                    "FACA.TEMPO_PRODUCAO_FC", "PRODUCAO_EXPEDIENTE.MINUTOS_INTERVALO_ALMOCO_PE",
                                    "PRODUCAO_EXPEDIENTE.MINUTOS_INATIVO_PE",
                                    "PRODUCAO_EXPEDIENTE.QTDE_FUNCIONARIOS_PE",
                                    "PRODUCAO_EXPEDIENTE.QTDE_FUNCIONARIOS_HE_PE"};

// Codes that the program matches as text in memory (a production record to
// its shift row, a sector to its grouping sector, its product times and its
// ticket-change time): all text, or all whole numbers, as the database
// itself would match them. Text against a number would not match "8" to
// "008" where the database does. True when they are whole numbers.
bool codigosDeUmTipo(const QMap<QString, Tipo>& tipos, std::span<const char* const> colunas, const char* oQue,
                     QStringList& recusas)
{
    QStringList textos, numeros;
    for (const char* c : colunas) {
        const auto t = tipos.find(QString::fromLatin1(c));
        if (t == tipos.end())
            continue;
        if (t->texto())
            textos << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(c), t->nome());
        else if (t->inteiro())
            numeros << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(c), t->nome());
        else
            recusas << QStringLiteral("A coluna %1 é %2: um código de %3 deve ser texto (CHAR ou VARCHAR) ou um "
                                      "número inteiro.")
                           .arg(QString::fromLatin1(c), t->nome(), QString::fromUtf8(oQue));
    }
    if (!textos.isEmpty() && !numeros.isEmpty())
        recusas << QStringLiteral("Os códigos de %1 não têm um só tipo: %2 são números e %3 são texto. O programa "
                                  "liga as tabelas pelo texto do código, e \"8\" não seria \"008\": os números "
                                  "dariam errados. Os códigos de %1 precisam ser todos texto ou todos "
                                  "números inteiros.")
                       .arg(QString::fromUtf8(oQue), numeros.join(QStringLiteral(", ")),
                            textos.join(QStringLiteral(", ")));
    return !numeros.isEmpty();
}

} // namespace

TiposFontes lerTiposFontes(SqlConnection& con)
{
    QMap<QString, Tipo> tipos;
    SqlQuery q(&con);
    q.sql() = QStringList{
        QStringLiteral("select trim(rf.RDB$RELATION_NAME), trim(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE,"),
        QStringLiteral("  coalesce(f.RDB$FIELD_SCALE, 0), coalesce(f.RDB$FIELD_SUB_TYPE, 0),"),
        QStringLiteral("  coalesce(f.RDB$CHARACTER_LENGTH, f.RDB$FIELD_LENGTH, 0)"),
        QStringLiteral("from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE"),
        QStringLiteral("where rf.RDB$RELATION_NAME in ('%1')").arg(sourcesql::kTabelasLidas.join(QStringLiteral("','")))};
    q.open();
    for (; !q.eof(); q.next())
        tipos.insert(q.value(0).asText() + QLatin1Char('.') + q.value(1).asText(),
                     Tipo{int(q.value(2).asInteger()), int(q.value(3).asInteger()), int(q.value(4).asInteger()),
                          int(q.value(5).asInteger())});
    q.close();

    TiposFontes r;
    r.funcionariosNumericos = codigosDeUmTipo(tipos, kCodigosFuncionario, "funcionário", r.recusas);
    r.setoresNumericos = codigosDeUmTipo(tipos, kCodigosSetor, "setor", r.recusas);
    for (const char* c : kRelogios) {
        const auto t = tipos.find(QString::fromLatin1(c));
        if (t != tipos.end() && !t->texto() && t->codigo != 13)
            r.recusas << QStringLiteral("A coluna %1 é %2: um horário do expediente deve ser TIME ou texto "
                                        "\"hh:mm\" (ou \"hh:mm:ss\").")
                             .arg(QString::fromLatin1(c), t->nome());
    }
    for (const char* c : kSaidas) {
        const auto t = tipos.find(QString::fromLatin1(c));
        if (t == tipos.end() || t->codigo == 35 || t->codigo == 29)
            continue;
        if (t->codigo == 12)
            r.avisos << QStringLiteral("A coluna %1 é DATE, sem a hora: cada registro conta às 00:00, e as horas "
                                       "extras e o relógio do dia não podem ser separados (o total do dia e do mês "
                                       "fica certo). O esperado é TIMESTAMP.")
                            .arg(QString::fromLatin1(c));
        else
            r.recusas << QStringLiteral("A coluna %1 é %2: a saída deve ser TIMESTAMP (ou DATE).")
                             .arg(QString::fromLatin1(c), t->nome());
    }
    for (const char* c : kQuantidades) {
        const auto t = tipos.find(QString::fromLatin1(c));
        if (t != tipos.end() && !t->numero())
            r.recusas << QStringLiteral("A coluna %1 é %2: deve ser um número.").arg(QString::fromLatin1(c), t->nome());
    }
    return r;
}
