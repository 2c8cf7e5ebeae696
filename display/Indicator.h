#pragma once

class QApplication;
class QWidget;

// The indicator with its window: start, then the event loop.
int runIndicator(QApplication& app);

// Shows the window over the whole screen, with or without a window manager.
void mostrarEmTelaCheia(QWidget& window);
