#pragma once

#include <QWidget>

class QLabel;
class TFuncionario;

// One employee row of the sector page: rank, name, a top line and an
// alternating background. The row refers to a record it does not own.
class TfrmfuncionarioSetorBase : public QWidget {
    Q_OBJECT
public:
    explicit TfrmfuncionarioSetorBase(QWidget* parent = nullptr);

    TFuncionario* Funcionario() const { return FFuncionario; }
    virtual void setFuncionario(TFuncionario* v);
    bool ExibirConteudo() const { return FExibirConteudo; }
    virtual void setExibirConteudo(bool v);
    int Index() const { return FIndex; }
    void setIndex(int i);
    bool Par() const { return FPar; }

    // Re-centres the labels vertically.
    virtual void Redimensionar();

    QWidget* shapeTop;
    QLabel* lblRank;
    QLabel* lblNome;

    static QString formatRank(int rank);

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The width the name may take.
    virtual int larguraNome() const;
    // Whether the name may grow where the row has the height for it.
    virtual bool nomeCresce() const { return false; }
    void setBackground(const QColor& color);

    TFuncionario* FFuncionario = nullptr;
    QString FNome;
    bool FPar = false;
    int FIndex = 0;
    bool FExibirConteudo = false;

private:
    // A row much taller than its name (a portrait screen) draws the name
    // larger, on up to two lines; false when it does not, or when even the
    // designed size takes more than two lines.
    bool nomeEmDuasLinhas();
};
