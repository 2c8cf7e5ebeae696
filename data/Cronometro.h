#pragma once

#include <QtGlobal>

#include <optional>

// A stopwatch on the clock seam's monotonic time (tests move it).
class Cronometro {
public:
    void start();
    bool isValid() const { return inicio_ >= 0; }
    // Milliseconds since start(); 0 before it.
    qint64 elapsed() const;

private:
    qint64 inicio_ = -1;
};

// A deadline on the clock seam's monotonic time; none until set.
class Prazo {
public:
    void setRestante(qint64 ms);
    // Milliseconds left, 0 once passed; -1 when none is set.
    qint64 restante() const;
    bool expirou() const;

private:
    std::optional<qint64> fim_;
};
