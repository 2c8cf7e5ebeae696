// The month as a picture: each sector's 31 days as bars on its page and as a
// strip on the overview, from the figures the run left.
#include "display/Screen.h"
#include "display/TfrmRelatorio.h"
#include "display/TfrmfuncionarioSetorBase.h"
#include "tests/app/IniFixture.h"
#include "tests/common/FixtureDb.h"

#include <QDate>
#include <QDir>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QByteArray rodar(const QStringList& args)
{
    QProcess p;
    p.start(TOLVANEO_EXE, args);
    EXPECT_TRUE(p.waitForFinished(180000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

QString mes()
{
    QProcess gen;
    gen.start(TOLVANEO_DEMO_DB, {"--end", "2026-11-05", "--now", "15:40", "--sectors", "3"});
    gen.waitForFinished(60000);
    return QString::fromUtf8(gen.readAllStandardOutput());
}

QJsonObject lerJson(const QString& caminho)
{
    QFile f(caminho);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << caminho.toStdString();
    return QJsonDocument::fromJson(f.readAll()).object();
}

} // namespace

// The bars of each sector are its daily figures as --report gives the rows
// behind them: each day's mean of its rows' percentages (a row without one
// counting as 0), the last bar the reading day's, a day without rows
// without a bar; on the sector pages and on the overview, at 1920×1080 and
// 3840×2160 alike.
TEST(Tendencia, TheBarsAreTheDailySectorFiguresOfTheReport)
{
    const FixtureDb db(mes());
    IniFolder pasta(QStringLiteral("[Tolvaneo]\nDataBase=2026-11-05\nSimplificado=S\nSetores=01,02,03\nResumo=S\n"
                                   "Meta=85\nTendencia=S\n[Paths]\nDB=%1\n")
                        .arg(db.path())
                        .toUtf8());
    const QJsonObject relatorio = QJsonDocument::fromJson(rodar({"--report", "--dir", pasta.path()})).object();
    QHash<QString, QHash<QString, std::pair<double, int>>> somas; // sector, day
    for (const QJsonValue& v : relatorio["tempo_setor"].toArray()) {
        const QJsonObject l = v.toObject();
        auto& [soma, n] = somas[l["SETOR"].toString()][l["DATA"].toString()];
        soma += l["PERC_EFICIENCIA"].toDouble(0);
        ++n;
    }
    auto esperado = [&](const QString& setor) {
        QJsonArray dias;
        for (int i = 30; i >= 0; --i) {
            const QString dia = QDate(2026, 11, 5).addDays(-i).toString(Qt::ISODate);
            const auto it = somas[setor].find(dia);
            dias.append(it == somas[setor].end() ? QJsonValue() : QJsonValue(qint64(std::llround(it->first / it->second))));
        }
        return dias;
    };
    ASSERT_GE(somas.size(), 3);

    QTemporaryDir saida;
    for (const char* tamanho : {"1920x1080", "3840x2160"}) {
        rodar({"--dir", pasta.path(), "--snapshot", saida.filePath(tamanho), "--size", tamanho});
        const QJsonObject paginas = lerJson(saida.filePath(QString(tamanho) + "/pages.json"));
        int setores = 0, resumos = 0;
        for (const QJsonValue& v : paginas["paginas"].toArray()) {
            const QJsonObject p = v.toObject();
            if (p["resumo"].toBool()) {
                for (const QJsonValue& s : p["setores"].toArray()) {
                    EXPECT_EQ(s["tendencia"].toArray(), esperado(s["codigo"].toString())) << tamanho;
                    ++resumos;
                }
            } else {
                EXPECT_EQ(p["tendencia"].toArray(), esperado(p["setor"].toString())) << tamanho;
                ++setores;
            }
        }
        EXPECT_EQ(resumos, 3) << tamanho;
        EXPECT_GE(setores, 3) << tamanho;
    }
    // Some days have no rows (Sundays), and the rest differ: the bars are
    // more than one figure repeated.
    EXPECT_TRUE(esperado("01").contains(QJsonValue()));
}

// Readable from across the floor: at 1920 wide every bar is at least 20 px,
// and the bars take the last row's place, so the rows keep their size.
TEST(Tendencia, BarsAreWideEnoughAndTakeTheLastRowsPlace)
{
    setScreenWidth(1920);
    TfrmRelatorio semBarras(true, 1000);
    TfrmRelatorio comBarras(true, 1000, nullptr, true);
    for (TfrmRelatorio* p : {&semBarras, &comBarras}) {
        p->resize(1920, 997);
        p->show();
    }
    ASSERT_NE(comBarras.tendencia, nullptr);
    EXPECT_EQ(semBarras.tendencia, nullptr);
    EXPECT_EQ(comBarras.FuncionariosPorPagina(), semBarras.FuncionariosPorPagina() - 1);
    EXPECT_EQ(comBarras.linhas[0]->height(), semBarras.linhas[0]->height());
    std::vector<std::optional<double>> dias(31, 90.0);
    comBarras.setTendencia(dias, QDate(2026, 11, 5));
    const int folga = std::max(1, comBarras.tendencia->coluna(0).width() / 6);
    EXPECT_GE(comBarras.tendencia->coluna(0).width() - folga, 20);
    EXPECT_EQ(comBarras.tendencia->geometry().top(), semBarras.linhas.last()->geometry().top());
    setScreenWidth(0);
}
