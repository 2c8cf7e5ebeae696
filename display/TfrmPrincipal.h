#pragma once

#include <QWidget>

class QLabel;

// The main window: borderless and full screen; Escape, or any other request
// to close, asks before the program ends.
class TfrmPrincipal : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPrincipal(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* lblTitulo;
};
