#pragma once

#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>

// Whether a database server still answers while a long statement runs on
// another connection: a thread of its own attaches a second, light
// connection and pings the server through it every intervaloMs (the first
// time after one interval), counting the answers. A slow statement leaves the count moving; a server that has
// stopped (or a network that no longer carries anything) stops it. The
// count is all the caller reads; it measures the time itself.
//
// An attach or a ping may hang as long as the server does: the destructor
// cuts the ping and does not wait for the thread, which ends by itself once
// the client lets it go.
class VigiaServidor {
public:
    VigiaServidor(QString database, QString user, QString password, int intervaloMs);
    ~VigiaServidor();
    VigiaServidor(const VigiaServidor&) = delete;
    VigiaServidor& operator=(const VigiaServidor&) = delete;

    // Answers so far.
    std::int64_t respostas() const;

    struct Estado;

private:
    std::shared_ptr<Estado> estado_;
};
