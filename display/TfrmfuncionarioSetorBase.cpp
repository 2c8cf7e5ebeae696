#include "display/TfrmfuncionarioSetorBase.h"

#include "display/Colunas.h"
#include "display/Screen.h"
#include "display/TFuncionario.h"

#include <QLabel>
#include <QResizeEvent>

TfrmfuncionarioSetorBase::TfrmfuncionarioSetorBase(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmfuncionarioSetorBase"));
    setBackground(storedColor(13421772));
    resize(1400, 273);

    // A 1-px black outline around a white fill, 2 px high: a black line.
    shapeTop = new QWidget(this);
    shapeTop->setObjectName(QStringLiteral("shapeTop"));
    setFill(shapeTop, Qt::black);

    lblRank = new QLabel(QStringLiteral("000"), this);
    lblRank->setObjectName(QStringLiteral("lblRank"));
    lblRank->setFont(fontPt(QStringLiteral("Arial"), 24, true));
    lblRank->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblRank->setTextFormat(Qt::PlainText);
    setTextColor(lblRank, Qt::black);
    lblRank->setGeometry(0, 0, colunas(false).larguraRank, 38);

    lblNome = new QLabel(QStringLiteral("Sem nome"), this);
    lblNome->setObjectName(QStringLiteral("lblNome"));
    lblNome->setFont(fontPt(QStringLiteral("Arial"), 24, true));
    lblNome->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNome->setTextFormat(Qt::PlainText);
    setTextColor(lblNome, Qt::black);
    lblNome->move(colunas(false).xNome, 0);
    lblNome->adjustSize();
}

QString TfrmfuncionarioSetorBase::formatRank(int rank)
{
    return rank < 0 ? QString::number(rank) : QStringLiteral("%1").arg(rank, 3, 10, QLatin1Char('0'));
}

void TfrmfuncionarioSetorBase::setBackground(const QColor& color)
{
    setFill(this, color);
}

void TfrmfuncionarioSetorBase::setFuncionario(TFuncionario* v)
{
    FFuncionario = v;
    FNome = v->Nome();
    lblRank->setText(formatRank(v->Rank()));
    Redimensionar();
}

void TfrmfuncionarioSetorBase::setExibirConteudo(bool v)
{
    FExibirConteudo = v;
    lblRank->setVisible(v);
    lblNome->setVisible(v);
}

void TfrmfuncionarioSetorBase::setIndex(int i)
{
    FIndex = i;
    FPar = i % 2 == 0;
    setBackground(FPar ? storedColor(14869218) : storedColor(13421772));
}

int TfrmfuncionarioSetorBase::larguraNome() const
{
    return width() - lblNome->x() - 10;
}

void TfrmfuncionarioSetorBase::Redimensionar()
{
    // The name fits between its left edge and what stands right of it.
    if (FFuncionario && !nomeEmDuasLinhas()) {
        lblNome->setWordWrap(false);
        setFittedText(lblNome, FNome, larguraNome());
        lblNome->adjustSize();
        lblNome->resize(std::min(lblNome->width(), std::max(1, larguraNome())), lblNome->height());
    }
    lblNome->move(lblNome->x(), (height() - lblNome->height()) / 2);
    lblRank->move(lblRank->x(), (height() - lblRank->height()) / 2);
}

bool TfrmfuncionarioSetorBase::nomeEmDuasLinhas()
{
    if (!nomeCresce())
        return false;
    const QVariant base = lblNome->property("tolvaneoBasePixelSize");
    const int desenho = base.isValid() ? base.toInt() : lblNome->font().pixelSize();
    // Up to twice the designed size, two lines of it taking at most two
    // fifths of the row.
    const int maior = std::min(desenho * 2, height() / 5);
    const int largura = std::max(1, larguraNome());
    if (maior <= desenho)
        return false;
    QFont fonte = lblNome->font();
    for (int px = maior; px > desenho; --px) {
        fonte.setPixelSize(px);
        const QFontMetrics fm(fonte);
        const QRect caixa = fm.boundingRect(QRect(0, 0, largura, 1 << 20), Qt::TextWordWrap, FNome);
        bool palavrasCabem = true;
        for (const QString& palavra : FNome.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            palavrasCabem &= fm.horizontalAdvance(palavra) <= largura;
        if (palavrasCabem && caixa.width() <= largura && caixa.height() <= 2 * fm.lineSpacing()) {
            if (!base.isValid())
                lblNome->setProperty("tolvaneoBasePixelSize", desenho);
            lblNome->setFont(fonte);
            lblNome->setWordWrap(true);
            lblNome->setText(FNome);
            lblNome->resize(largura, caixa.height());
            return true;
        }
    }
    return false;
}

void TfrmfuncionarioSetorBase::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    shapeTop->setGeometry(0, 0, width(), 2);
    Redimensionar();
}
