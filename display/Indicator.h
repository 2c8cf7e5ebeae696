#pragma once

class QApplication;

// The indicator with its window: start, then the event loop.
int runIndicator(QApplication& app);
