#include "display/Screen.h"
#include "display/TFuncionario.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

TEST(Scaling, WidthsOfTheTable)
{
    struct Case {
        int width;
        float f;
        int s1036, s1450, s708, s1203, s24, s48, s90;
    };
    const Case cases[] = {
        {1280, 66.666664f, 690, 966, 471, 801, 15, 31, 59},
        {1366, 71.145836f, 737, 1031, 503, 855, 17, 34, 64},
        {1920, 100.0f, 1036, 1450, 708, 1203, 24, 48, 90},
        {3840, 200.0f, 2072, 2900, 1416, 2406, 48, 96, 180},
    };
    for (const Case& c : cases) {
        const float f = scaleFactor(c.width);
        EXPECT_EQ(f, c.f) << c.width;
        EXPECT_EQ(scaled(1036, f), c.s1036) << c.width;
        EXPECT_EQ(scaled(1450, f), c.s1450) << c.width;
        EXPECT_EQ(scaled(708, f), c.s708) << c.width;
        EXPECT_EQ(scaled(1203, f), c.s1203) << c.width;
        EXPECT_EQ(scaled(24, f), c.s24) << c.width;
        EXPECT_EQ(scaled(48, f), c.s48) << c.width;
        EXPECT_EQ(scaled(90, f), c.s90) << c.width;
    }
    EXPECT_EQ(scaled(90, scaleFactor(1024)), 47); // the float rounding of f matters here
}

TEST(Row, RankAndPercentFormats)
{
    EXPECT_EQ(TfrmfuncionarioSetorBase::formatRank(0), "000");
    EXPECT_EQ(TfrmfuncionarioSetorBase::formatRank(7), "007");
    EXPECT_EQ(TfrmfuncionarioSetorBase::formatRank(42), "042");
    EXPECT_EQ(TfrmfuncionarioSetorBase::formatRank(1234), "1234");
    EXPECT_EQ(TfrmFuncionarioSetorSimplificado::formatPercent(87.5, 100), "88%");
    EXPECT_EQ(TfrmFuncionarioSetorSimplificado::formatPercent(87.49, 100), "87%");
    EXPECT_EQ(TfrmFuncionarioSetorSimplificado::formatPercent(112.3, 100), "112%");
    EXPECT_EQ(TfrmFuncionarioSetorSimplificado::formatPercent(-2.5, 100), "-3%");
    EXPECT_EQ(TfrmFuncionarioSetorSimplificado::formatPercent(45, 50), "90%");
}

TEST(Row, ShowsTheBoundRecordAndCentresItsLabels)
{
    setScreenWidth(1366);
    TfrmFuncionarioSetorSimplificado row;
    EXPECT_EQ(row.lblRank->font().pixelSize(), 45); // 34 pt
    EXPECT_EQ(row.lblDia->font().pixelSize(), 85);  // 64 pt
    EXPECT_EQ(row.lblDia->x(), 737);
    EXPECT_EQ(row.lblMes->x(), 1031);
    EXPECT_EQ(row.lblNome->x(), 170);
    TFuncionario f;
    EXPECT_EQ(f.MaximoDiario(), 100.0);
    f.setNome("Ana Souza");
    f.setRank(3);
    f.setValorDiario(87.5);
    f.setValorMensal(64.2);
    row.show();
    row.resize(1366, 120);
    row.setFuncionario(&f);
    row.setExibirConteudo(true);
    EXPECT_EQ(row.lblRank->text(), "003");
    EXPECT_EQ(row.lblNome->text(), "Ana Souza");
    EXPECT_EQ(row.lblDia->text(), "88%");
    EXPECT_EQ(row.lblMes->text(), "64%");
    EXPECT_EQ(row.lblNome->y(), (120 - row.lblNome->height()) / 2);
    // Rank and percentages are centred on the name's line: the rank's box
    // is 72 px at the designed scale (51 here), the percentages' 139 (99),
    // set 15 (11) px low as the designed row has them.
    EXPECT_EQ(row.lblRank->height(), 51);
    EXPECT_EQ(row.lblRank->y(), (120 - 51) / 2);
    EXPECT_EQ(row.lblDia->height(), 99);
    EXPECT_EQ(row.lblDia->y(), (120 - 99 + 11) / 2);
    row.resize(1366, 20);
    EXPECT_EQ(row.lblRank->y(), (20 - 51) / 2); // negative tops truncate toward zero
    setScreenWidth(0);
}

TEST(Row, AlternatingBackgroundsAndHiddenContent)
{
    TfrmfuncionarioSetorBase row;
    const QStringList expected = {"#e2e2e2", "#cccccc", "#e2e2e2", "#cccccc", "#e2e2e2"};
    for (int i = 0; i < 5; ++i) {
        row.setIndex(i);
        EXPECT_EQ(row.palette().color(QPalette::Window).name(), expected[i]);
    }
    row.setExibirConteudo(false);
    EXPECT_FALSE(row.lblRank->isVisibleTo(&row));
    EXPECT_FALSE(row.lblNome->isVisibleTo(&row));
    EXPECT_TRUE(row.shapeTop->isVisibleTo(&row));
}

TEST(Row, TitleRowNeverShowsItsRank)
{
    TfrmFuncionarioSetorSimplificado band;
    TFuncionario f;
    f.setNome("Eficiência do setor");
    band.setTitulo(true);
    band.setFuncionario(&f);
    band.setExibirConteudo(true);
    EXPECT_FALSE(band.lblRank->isVisibleTo(&band));
    EXPECT_TRUE(band.lblNome->isVisibleTo(&band));
    EXPECT_EQ(band.lblDia->text(), "0%");
    EXPECT_EQ(band.lblMes->text(), "0%");

    // Titulo written after ExibirConteudo takes effect at the next write.
    TfrmFuncionarioSetorSimplificado row;
    row.setFuncionario(&f);
    row.setExibirConteudo(true);
    row.setTitulo(true);
    EXPECT_TRUE(row.lblRank->isVisibleTo(&row));
    row.setExibirConteudo(true);
    EXPECT_FALSE(row.lblRank->isVisibleTo(&row));
}

TEST(Row, DatabaseTextsArePlainAndFitTheirBoxes)
{
    for (int width : {1920, 1366, 1080}) {
        setScreenWidth(width);
        TfrmFuncionarioSetorSimplificado row;
        row.show();
        row.resize(width, 150);
        struct Case {
            QString nome;
            double diario;
        };
        const Case cases[] = {
            {"José <b>&amp;</b>", 87},
            {"Maria Aparecida dos Santos Nascimento Ferreira da Silva Oliveira", 3314017973765428.5},
            {"Ana", -1e300},
        };
        for (const Case& c : cases) {
            TFuncionario f;
            f.setNome(c.nome);
            f.setValorDiario(c.diario);
            row.setFuncionario(&f);
            row.setExibirConteudo(true);
            EXPECT_EQ(row.lblNome->textFormat(), Qt::PlainText);
            if (c.nome.startsWith("José")) {
                EXPECT_EQ(row.lblNome->text(), "José <b>&amp;</b>");
            }
            // Every text inside its box, and no box over its neighbour.
            for (QLabel* l : {row.lblNome, row.lblDia, row.lblMes}) {
                const int advance = l->fontMetrics().horizontalAdvance(l->text());
                EXPECT_LE(advance, l->width()) << width << " " << l->objectName().toStdString() << " " << l->text().toStdString();
                EXPECT_LE(l->fontMetrics().height(), l->height() + 2) << width << " " << l->objectName().toStdString();
            }
            EXPECT_LT(row.lblNome->geometry().right(), row.lblDia->x()) << width;
            EXPECT_LT(row.lblDia->geometry().right(), row.lblMes->x()) << width;
            EXPECT_LE(row.lblMes->geometry().right(), width) << width;
        }
    }
    setScreenWidth(0);
}

// With a target, the chips sit where they can never cover a name, and two
// of the widest side by side keep a clear gap: at every screen width and in
// both layouts, with names long enough to reach them.
TEST(Row, WithATargetNoChipCoversTheNameAndChipsKeepAGap)
{
    for (int width : {1920, 3840, 1366, 1080}) {
        for (bool simplificado : {true, false}) {
            setScreenWidth(width);
            TfrmFuncionarioSetorSimplificado row(nullptr, simplificado);
            row.show();
            row.resize(width, 150);
            row.setMeta(85);
            for (const char* nome : {"Sandra Conceição Rodrigues", "Maria Aparecida da Conceição Rodrigues de Albuquerque"}) {
                for (double valor : {101.0, 888.0, 7.0}) {
                    TFuncionario f;
                    f.setNome(QString::fromUtf8(nome));
                    f.setValorDiario(valor);
                    f.setValorMensal(valor);
                    row.setFuncionario(&f);
                    row.setExibirConteudo(true);
                    const auto chips = row.findChildren<FundoMeta*>();
                    ASSERT_EQ(chips.size(), 2);
                    QRect dia = chips[0]->geometry(), mes = chips[1]->geometry();
                    if (dia.x() > mes.x())
                        std::swap(dia, mes);
                    ASSERT_TRUE(chips[0]->isVisible() && chips[1]->isVisible());
                    const int fimNome =
                        row.lblNome->x() + row.lblNome->fontMetrics().horizontalAdvance(row.lblNome->text());
                    const std::string onde = std::to_string(width) + (simplificado ? " S " : " N ") + nome + " " +
                                             std::to_string(valor);
                    EXPECT_LT(fimNome, dia.left()) << onde;
                    EXPECT_GE(mes.left() - dia.right(), 8) << onde;
                }
            }
        }
    }
    setScreenWidth(0);
}

namespace {

// The luminance of a colour as eyes without red (protanopia) or green
// (deuteranopia) cones see it (Machado, Oliveira and Fernandes 2009, full
// severity, in linear RGB), or as typical eyes do.
double luminanciaVista(const QColor& c, const double (*m)[3])
{
    auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const double rgb[3] = {linear(c.redF()), linear(c.greenF()), linear(c.blueF())};
    double out[3];
    for (int i = 0; i < 3; ++i) {
        out[i] = m ? m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2] : rgb[i];
        out[i] = std::clamp(out[i], 0.0, 1.0);
    }
    return 0.2126 * out[0] + 0.7152 * out[1] + 0.0722 * out[2];
}

double contrasteVisto(const QColor& a, const QColor& b, const double (*m)[3])
{
    const double la = luminanciaVista(a, m), lb = luminanciaVista(b, m);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

// Above and below the target differ in lightness, not only in hue, for
// eyes that tell red from green poorly; every text on a chip or on the
// sector band reads at 4.5:1 or better.
TEST(Row, TargetClassesDifferInLightnessForEveryEye)
{
    static const double deuteranopia[3][3] = {
        {0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}};
    static const double protanopia[3][3] = {
        {0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}};
    const QColor acima = estiloMeta(ClasseMeta::Acima).fundo, abaixo = estiloMeta(ClasseMeta::Abaixo).fundo;
    for (const double(*m)[3] : {static_cast<const double(*)[3]>(nullptr), deuteranopia, protanopia})
        EXPECT_GE(contrasteVisto(acima, abaixo, m), 3.0);
    // The old green and red: the same lightness, told apart only by the mark.
    EXPECT_LT(contrasteVisto(QColor(0x1B, 0x6E, 0x2F), QColor(0xB7, 0x1C, 0x1C), deuteranopia), 1.5);

    for (ClasseMeta c : {ClasseMeta::Acima, ClasseMeta::Perto, ClasseMeta::Abaixo}) {
        const EstiloMeta e = estiloMeta(c);
        EXPECT_GE(contraste(e.fundo, e.texto), 4.5) << nomeClasseMeta(c).toStdString();
    }
    // The band's texts on any colour it may wear: every sector colour of
    // the palette and every class colour.
    setScreenWidth(1920);
    TfrmFuncionarioSetorSimplificado faixa;
    QList<QColor> cores = {QColor(0x80, 0x40, 0x40), QColor(0xA4, 0x35, 0x00), QColor(0x80, 0, 0), Qt::green, Qt::red};
    for (ClasseMeta c : {ClasseMeta::Acima, ClasseMeta::Perto, ClasseMeta::Abaixo})
        cores << estiloMeta(c).fundo;
    for (const QColor& cor : cores) {
        faixa.setCor(cor);
        for (QLabel* l : {faixa.lblNome, faixa.lblDia, faixa.lblMes})
            EXPECT_GE(contraste(cor, l->palette().color(QPalette::WindowText)), 4.5) << cor.name().toStdString();
    }
    setScreenWidth(0);
}

// A portrait screen's rows are twice as tall as the design's: the name
// grows into that height, on up to two lines, still inside its room; a
// landscape row keeps the designed size.
TEST(Row, ANameGrowsIntoATallRowOnTwoLines)
{
    struct Case {
        int largura, altura;
        bool cresce;
    };
    for (Case c : {Case{1080, 298, true}, Case{1920, 158, false}, Case{3840, 316, false}}) {
        setScreenWidth(c.largura);
        TfrmFuncionarioSetorSimplificado row;
        const int desenho = row.lblNome->font().pixelSize();
        row.show();
        row.resize(c.largura, c.altura);
        TFuncionario f;
        f.setNome(QStringLiteral("Gabriel Silva Carvalho"));
        row.setFuncionario(&f);
        row.setExibirConteudo(true);
        EXPECT_EQ(row.lblNome->font().pixelSize() > desenho, c.cresce) << c.largura;
        EXPECT_EQ(row.lblNome->text(), "Gabriel Silva Carvalho") << c.largura; // whole, never cut
        EXPECT_LT(row.lblNome->geometry().right(), row.lblDia->x()) << c.largura;
        EXPECT_LE(row.lblNome->height(), c.altura) << c.largura;
    }
    setScreenWidth(0);
}
