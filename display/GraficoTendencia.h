#pragma once

#include <QDate>
#include <QWidget>

#include <optional>
#include <vector>

// A sector's days as bars, one per day, the last (the reading day) marked
// with a dark rim: each bar as tall as that day's figure, coloured by the
// target's classes with a target (and a dashed line at the target), in one
// blue without; grey and hatched when the figures are old. The full size
// writes each day's figure above its bar and the day of the month below;
// the compact one (the overview's strip) draws the bars alone.
class GraficoTendencia : public QWidget {
    Q_OBJECT
public:
    GraficoTendencia(QWidget* parent, bool compacto);

    // The days' figures, the last being ultimo's.
    void setDias(std::vector<std::optional<double>> dias, const QDate& ultimo);
    const std::vector<std::optional<double>>& dias() const { return dias_; }
    void setMeta(std::optional<double> meta);
    void setApagado(bool v);

    // Where bar i stands (its full column, whatever its height).
    QRect coluna(int i) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool compacto_;
    std::vector<std::optional<double>> dias_;
    QDate ultimo_;
    std::optional<double> meta_;
    bool apagado_ = false;
};
