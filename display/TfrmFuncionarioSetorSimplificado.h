#pragma once

#include "display/TfrmfuncionarioSetorBase.h"

#include "display/MarcaMeta.h"

#include <QFont>

#include <optional>

// The employee row of both layouts, placed and sized by the layout's
// columns (display/Colunas.h): rank, name, the daily and monthly
// percentages, scaled to the screen width; as a title row it never shows
// its rank.
class TfrmFuncionarioSetorSimplificado : public TfrmfuncionarioSetorBase {
    Q_OBJECT
public:
    explicit TfrmFuncionarioSetorSimplificado(QWidget* parent = nullptr, bool layoutSimplificado = true);

    void setFuncionario(TFuncionario* v) override;
    void setExibirConteudo(bool v) override;
    bool Titulo() const { return FTitulo; }
    void setTitulo(bool v) { FTitulo = v; }
    // Refreshes the percentages from the bound record.
    void UPdate();

    // The background of a band row, set by the page from its palette.
    // Its texts in black or white, whichever reads better on it.
    void setCor(const QColor& color);
    // Old figures: the percentages and their chips grey.
    void setApagado(bool v);
    bool Apagado() const { return FApagado; }

    QLabel* lblDia;
    QLabel* lblMes;

    void Redimensionar() override;

    // 100 × value / maximum, rounded half away from zero, followed by "%".
    static QString formatPercent(double value, double maximum);
    // The whole number formatPercent draws; nullopt when there is none.
    static std::optional<long long> percentual(double value, double maximum);

    // The target the percentages are drawn against (none: as designed).
    void setMeta(std::optional<double> meta);
    ClasseMeta classeDiario() const { return fundoDia->classe(); }
    ClasseMeta classeMensal() const { return fundoMes->classe(); }

protected:
    int larguraNome() const override;
    bool nomeCresce() const override { return FNomeCresce; }
    // Puts the chips of the target's classes behind the percentages where
    // they now stand.
    void marcarMeta();

private:
    void colocarPercentual(QLabel* label, int x, const QString& texto);
    // The figures' font for the target in force; the gap kept beside a chip.
    void ajustarFontePercentual();
    int folgaChips() const;

    FundoMeta* fundoDia;
    FundoMeta* fundoMes;
    std::optional<double> FMeta;
    bool FTitulo = false;
    int FAjustePercentual = 0;
    int FLargura = 0;
    QFont FFontePercentual;
    QFont FFonteDesenho; // the figures' font as designed
    QColor FCorTexto = Qt::black; // texts off a chip
    bool FApagado = false;
    bool FNomeCresce = false; // names of the simplified layout, which scale with the screen
    int FXDia = 0, FXMes = 0;
};
