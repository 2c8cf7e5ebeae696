// One month, typed as different factories type it: the figures are those of
// the month typed as the statements assume, or the program says plainly
// which column it cannot read.
#include "tests/app/IniFixture.h"
#include "tests/common/FixtureDb.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

struct Saida {
    int status = -1;
    QByteArray out, err;
};

Saida tolvaneo(const QString& db, const QString& opcao, const QString& mais = {})
{
    IniFolder folder(
        QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=01,02,03\n%2[Paths]\nDB=%1\n").arg(db, mais).toUtf8());
    QProcess p;
    QStringList args{opcao};
    if (opcao == QLatin1String("--snapshot"))
        args << folder.path() + QStringLiteral("/fotos");
    p.start(TOLVANEO_EXE, args << "--dir" << folder.path());
    EXPECT_TRUE(p.waitForFinished(300000));
    Saida s{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    if (opcao == QLatin1String("--snapshot")) {
        QFile paginas(folder.path() + QStringLiteral("/fotos/pages.json"));
        paginas.open(QIODevice::ReadOnly);
        s.out = paginas.readAll();
    }
    return s;
}

QByteArray tabelas(const Saida& s)
{
    const QJsonObject out = QJsonDocument::fromJson(s.out).object();
    QByteArray t;
    for (const char* nome : {"tempo_setor", "setores", "setor_func"})
        t += QJsonDocument(out[nome].toArray()).toJson(QJsonDocument::Indented);
    return t;
}

// A column typed anew, at its place, with the month's values converted by
// the engine (or the value given, in terms of the old column).
QString retipar(const char* tabela, const char* coluna, int posicao, const char* tipo, const QString& valor = {})
{
    return QStringLiteral("alter table %1 add NOVA %3;\ncommit;\nupdate %1 set NOVA = %4;\ncommit;\n"
                          "alter table %1 drop %2;\ncommit;\nalter table %1 alter NOVA to %2;\n"
                          "alter table %1 alter %2 position %5;\ncommit;\n")
        .arg(QLatin1String(tabela), QLatin1String(coluna), QLatin1String(tipo),
             valor.isEmpty() ? QLatin1String(coluna) : valor)
        .arg(posicao);
}

QString mes()
{
    static const QString sql = [] {
        QProcess gen;
        gen.start(TOLVANEO_DEMO_DB, {"--end", "2026-11-05", "--now", "15:40", "--sectors", "3"});
        gen.waitForFinished(60000);
        return QString::fromUtf8(gen.readAllStandardOutput());
    }();
    return sql;
}

} // namespace

TEST(SchemaTypes, ClocksAsTimeOrWithSecondsGiveTheSameTables)
{
    const FixtureDb base(mes());
    const Saida esperada = tolvaneo(base.path(), "--report");
    ASSERT_EQ(esperada.status, 0) << esperada.err.toStdString();
    ASSERT_GT(tabelas(esperada).size(), 1000);
    QString relogiosTime, relogiosSegundos;
    int posicao = 4;
    for (const char* c : {"HORA_INICIO_PE", "HORA_FIM_PE"}) {
        relogiosTime += retipar("PRODUCAO_EXPEDIENTE", c, posicao, "time");
        relogiosSegundos +=
            retipar("PRODUCAO_EXPEDIENTE", c, posicao, "varchar(8)", QStringLiteral("%1 || ':00'").arg(c));
        ++posicao;
    }
    posicao = 7;
    for (const char* c : {"HORA_INICIO_HE_PE", "HORA_FIM_HE_PE"}) {
        relogiosTime += retipar("PRODUCAO_EXPEDIENTE", c, posicao, "time");
        relogiosSegundos +=
            retipar("PRODUCAO_EXPEDIENTE", c, posicao, "varchar(8)", QStringLiteral("%1 || ':00'").arg(c));
        ++posicao;
    }
    const struct {
        const char* nome;
        QString sql;
    } casos[] = {
        {"clocks typed TIME", relogiosTime},
        {"clocks as hh:mm:ss text", relogiosSegundos},
        {"codes as CHAR", retipar("PRODUCAO_SETOR", "FUNCIONAR_PS", 7, "char(3)") +
                              retipar("PRODUCAO_EXPEDIENTE", "FUNCIONARIO_PE", 3, "char(3)")},
        {"times as DOUBLE PRECISION", retipar("PRODUTO_TEMPO", "TEMPO_PT", 3, "double precision")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        FixtureDb db(mes());
        db.exec(c.sql);
        const Saida s = tolvaneo(db.path(), "--report");
        ASSERT_EQ(s.status, 0) << s.err.toStdString();
        EXPECT_TRUE(tabelas(s) == tabelas(esperada));
        EXPECT_EQ(tolvaneo(db.path(), "--check").status, 0);
    }
}

TEST(SchemaTypes, WhatCannotBeReadRightIsRefusedByNameAndWhatLosesTheHourIsWarned)
{
    const struct {
        const char* nome;
        QString sql;
        int status;
        const char* linha;
    } casos[] = {
        {"an employee code that is a number where the shift's is text",
         retipar("PRODUCAO_SETOR", "FUNCIONAR_PS", 7, "integer"), 1,
         "Os códigos de funcionário não têm um só tipo: PRODUCAO_SETOR.FUNCIONAR_PS (INTEGER) são números"},
        {"a sector code that is a number where the others are text",
         retipar("PRODUCAO_EXPEDIENTE", "SETOR_PE", 2, "integer"), 1,
         "Os códigos de setor não têm um só tipo: PRODUCAO_EXPEDIENTE.SETOR_PE (INTEGER) são números"},
        {"a clock that is a date", retipar("PRODUCAO_EXPEDIENTE", "HORA_FIM_PE", 5, "timestamp", "null"), 1,
         "A coluna PRODUCAO_EXPEDIENTE.HORA_FIM_PE é TIMESTAMP: um horário do expediente deve ser TIME ou texto"},
        {"an exit without its hour", retipar("PRODUCAO_SETOR", "DTSAIDA_PS", 4, "date"), 0,
         "Aviso: A coluna PRODUCAO_SETOR.DTSAIDA_PS é DATE, sem a hora"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        FixtureDb db(mes());
        db.exec(c.sql);
        const Saida check = tolvaneo(db.path(), "--check");
        EXPECT_EQ(check.status, c.status) << check.out.toStdString();
        EXPECT_TRUE(check.out.contains(c.linha)) << check.out.toStdString();
        if (c.status == 0)
            continue;
        // A run stops with the same words, and no figure.
        const Saida report = tolvaneo(db.path(), "--report");
        EXPECT_EQ(report.status, 1);
        EXPECT_TRUE(report.err.contains(c.linha)) << report.err.toStdString();
        EXPECT_TRUE(report.out.isEmpty());
    }
}

namespace {

// The codes of a report's tables as a database of numeric codes holds them:
// "008" is 8.
QByteArray codigosComoNumeros(QByteArray tabelas)
{
    static const QRegularExpression codigo(QStringLiteral("(\"(?:SETOR|FUNCIONARIO|COD)\": \")0*(\\d+)\""));
    return QString::fromUtf8(tabelas).replace(codigo, QStringLiteral("\\1\\2\"")).toUtf8();
}

// The primary keys of the tables whose sector codes change type: a column
// in a key cannot be dropped.
const char* const kSemChaves = R"(set term ^ ;
execute block as
  declare t varchar(63);
  declare c varchar(63);
begin
  for select trim(RDB$RELATION_NAME), trim(RDB$CONSTRAINT_NAME) from RDB$RELATION_CONSTRAINTS
      where RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'
        and RDB$RELATION_NAME in ('SETOR', 'PRODUTO_TEMPO', 'PRODUCAO_OPERACAO_SETOR') into t, c do
    execute statement 'alter table ' || t || ' drop constraint ' || c;
end^
set term ; ^
commit;
)";

} // namespace

// Codes typed INTEGER in every table: the database matches them, and the
// settings written with zeros ('01', '001') select what they select when the
// codes are text, in the statements and in the pages' filters alike.
TEST(SchemaTypes, CodesTypedAsNumbersEverywhereGiveTheSameFiguresAndTheSameFilters)
{
    const QString filtro = QStringLiteral("Funcionarios= and (FUNCIONARIO IN ('001','004','012')\n");
    const FixtureDb base(mes());
    const Saida esperada = tolvaneo(base.path(), "--report");
    const Saida paginasEsperadas = tolvaneo(base.path(), "--snapshot", filtro);
    ASSERT_EQ(esperada.status, 0) << esperada.err.toStdString();
    ASSERT_EQ(paginasEsperadas.status, 0) << paginasEsperadas.err.toStdString();

    FixtureDb db(mes());
    db.exec(QString::fromLatin1(kSemChaves) + retipar("PRODUCAO_SETOR", "FUNCIONAR_PS", 7, "integer") +
            retipar("FICHA_CORTE_ATU_SETOR", "FUNCIONARIO_FS", 4, "integer") +
            retipar("CODCXUNIT", "FUNCIONARIO_CX", 6, "integer") +
            retipar("PRODUCAO_EXPEDIENTE", "FUNCIONARIO_PE", 3, "integer") +
            retipar("PRODUCAO_SETOR", "SETOR_PS", 3, "integer") + retipar("FICHA_CORTE_ATU_SETOR", "SETOR_FS", 2, "integer") +
            retipar("CODCXUNIT", "SETOR_CX", 4, "integer") + retipar("PRODUCAO_EXPEDIENTE", "SETOR_PE", 2, "integer") +
            retipar("SETOR", "COD_SE", 1, "integer") + retipar("SETOR", "SETOR_AGRUP_SE", 4, "integer") +
            retipar("PRODUTO_TEMPO", "SETOR_PT", 2, "integer") +
            retipar("PRODUCAO_OPERACAO_SETOR", "SETOR_PS", 2, "integer"));
    const Saida s = tolvaneo(db.path(), "--report");
    ASSERT_EQ(s.status, 0) << s.err.toStdString();
    EXPECT_EQ(tabelas(s), codigosComoNumeros(tabelas(esperada)));
    const Saida check = tolvaneo(db.path(), "--check");
    EXPECT_EQ(check.status, 0) << check.out.toStdString() << check.err.toStdString();

    // The pages: the same sectors, each with the same employees.
    const Saida paginas = tolvaneo(db.path(), "--snapshot", filtro);
    ASSERT_EQ(paginas.status, 0) << paginas.err.toStdString();
    auto nomes = [](const QByteArray& json) {
        std::vector<std::string> out;
        for (const QJsonValue& p : QJsonDocument::fromJson(json).object()[QStringLiteral("paginas")].toArray()) {
            QStringList linhas;
            for (const QJsonValue& l : p.toObject()[QStringLiteral("linhas")].toArray())
                if (l.toObject()[QStringLiteral("exibe")].toBool())
                    linhas << l.toObject()[QStringLiteral("nome")].toString();
            out.push_back(linhas.join(QLatin1Char('|')).toStdString());
        }
        return out;
    };
    EXPECT_GT(nomes(paginasEsperadas.out).size(), 1);
    EXPECT_EQ(nomes(paginas.out), nomes(paginasEsperadas.out));
}
