#pragma once

#include <QObject>

class QTimer;

// Hides the mouse pointer after a few seconds without movement, and shows it
// again when the mouse moves: nobody points at a wall screen.
class CursorOcioso : public QObject {
    Q_OBJECT
public:
    explicit CursorOcioso(int ms = 3000, QObject* parent = nullptr);
    ~CursorOcioso() override;
    bool oculto() const { return FOculto; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ocultar();
    void mostrar();

    QTimer* FTimer;
    bool FOculto = false;
};
