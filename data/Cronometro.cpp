#include "data/Cronometro.h"

#include "data/Platform.h"

#include <algorithm>

void Cronometro::start()
{
    inicio_ = platform::clock().monotonicMs();
}

qint64 Cronometro::elapsed() const
{
    return isValid() ? platform::clock().monotonicMs() - inicio_ : 0;
}

void Prazo::setRestante(qint64 ms)
{
    fim_ = platform::clock().monotonicMs() + ms;
}

qint64 Prazo::restante() const
{
    return fim_ ? std::max<qint64>(0, *fim_ - platform::clock().monotonicMs()) : -1;
}

bool Prazo::expirou() const
{
    return fim_ && platform::clock().monotonicMs() >= *fim_;
}
