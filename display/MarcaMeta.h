#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

// A percentage against the target: at or above it, within 10 points below
// it, or further below. None without a target.
enum class ClasseMeta { Nenhuma, Acima, Perto, Abaixo };

// The class of a percentage as drawn (the whole number on the page).
ClasseMeta classeMeta(long long percentual, std::optional<double> meta);
// "acima", "perto", "abaixo"; empty for none.
QString nomeClasseMeta(ClasseMeta c);

// How a class is drawn: the figure on a rounded chip of its own colour,
// with a mark beside it, so that the classes differ in more than hue and
// stay readable on every row and band colour (a white rim parts the chip
// from any background).
struct EstiloMeta {
    QColor fundo;
    QColor texto;
    QString marca; // ▲ at or above, ► close below, ▼ further below
};
EstiloMeta estiloMeta(ClasseMeta c);

class QLabel;
class FundoMeta;

// Draws a percentage label (its text already set) in its class against the
// target: the chip behind it and the text colour; as designed without a
// target or a figure. Returns the class.
ClasseMeta marcarPercentual(QLabel& label, FundoMeta& fundo, std::optional<long long> percentual,
                            std::optional<double> meta);

// The chip behind a percentage label, with the class's mark at its left.
class FundoMeta : public QWidget {
    Q_OBJECT
public:
    explicit FundoMeta(QWidget* parent);
    // Around the text of label (centred in it, top aligned), for class c;
    // hidden for none.
    void cobrir(const QWidget& label, const QFont& fonte, const QString& texto, ClasseMeta c);
    ClasseMeta classe() const { return classe_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ClasseMeta classe_ = ClasseMeta::Nenhuma;
    int margemMarca_ = 0;
};
