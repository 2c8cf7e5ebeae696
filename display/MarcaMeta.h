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
// from any background). The classes differ in lightness too (light green
// at or above, amber close below, dark red further below), so that eyes
// that tell red from green poorly still tell above from below.
struct EstiloMeta {
    QColor fundo;
    QColor texto;
    QString marca; // ▲ at or above, ► close below, ▼ further below
};
EstiloMeta estiloMeta(ClasseMeta c);
// Old figures' chips: grey and hatched whatever the class, the mark kept.
EstiloMeta estiloApagado(ClasseMeta c);

class QLabel;
class FundoMeta;

// Draws a percentage label (its text already set) in its class against the
// target: the chip behind it and the text colour; as designed without a
// target or a figure. Returns the class.
// Old figures (apagado) are drawn grey: the text in apagadoSemClasse off a
// chip, the chip grey and hatched.
ClasseMeta marcarPercentual(QLabel& label, FundoMeta& fundo, std::optional<long long> percentual,
                            std::optional<double> meta, const QColor& semClasse = Qt::black, bool apagado = false,
                            const QColor& apagadoSemClasse = QColor(0x66, 0x66, 0x66));

// The chip behind a percentage label, with the class's mark at its left.
class FundoMeta : public QWidget {
    Q_OBJECT
public:
    explicit FundoMeta(QWidget* parent);
    // Around the text of label (centred in it, top aligned), for class c;
    // hidden for none.
    void cobrir(const QWidget& label, const QFont& fonte, const QString& texto, ClasseMeta c, bool apagado = false);
    // How far a chip for a text in this font reaches past the text: to the
    // left (the mark and the margin) and to the right (the margin).
    struct Alcance {
        int esquerda, direita;
    };
    static Alcance alcance(const QFont& fonte);
    // The widest figure a chip holds, for room kept for it: three digits.
    static QString maiorTexto() { return QStringLiteral("000%"); }
    ClasseMeta classe() const { return classe_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ClasseMeta classe_ = ClasseMeta::Nenhuma;
    bool apagado_ = false;
    int margemMarca_ = 0;
};
