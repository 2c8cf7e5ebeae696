#include "data/VigiaServidor.h"

#include "data/FbAttachment.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

struct VigiaServidor::Estado {
    QString database, user, password;
    int intervaloMs = 30000;
    std::atomic<std::int64_t> respostas{0};
    std::mutex mutex;
    std::condition_variable acordar;
    bool parar = false;
    std::optional<fb::Attachment> conexao; // guarded by mutex while it changes
    fb::Attachment* emUso = nullptr;       // the one a ping may hang on

    // The first question comes after one interval: a run shorter than that
    // costs the server no second connection.
    void rodar()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            acordar.wait_for(lock, std::chrono::milliseconds(intervaloMs), [this] { return parar; });
            if (parar)
                break;
            lock.unlock();
            const bool respondeu = perguntar();
            lock.lock();
            if (respondeu)
                ++respostas;
        }
        emUso = nullptr;
        lock.unlock();
        conexao.reset();
    }

    // One question: an attach when there is no connection, a ping on it
    // otherwise. A failure drops the connection; the next question attaches.
    bool perguntar()
    {
        try {
            if (!conexao) {
                fb::Attachment nova(database, user, password, 3);
                std::lock_guard lock(mutex);
                if (parar)
                    return false;
                conexao.emplace(std::move(nova));
                emUso = &*conexao;
                return true;
            }
            conexao->ping();
            return true;
        } catch (...) {
            std::lock_guard lock(mutex);
            emUso = nullptr;
            conexao.reset();
            return false;
        }
    }
};

VigiaServidor::VigiaServidor(QString database, QString user, QString password, int intervaloMs)
    : estado_(std::make_shared<Estado>())
{
    estado_->database = std::move(database);
    estado_->user = std::move(user);
    estado_->password = std::move(password);
    estado_->intervaloMs = intervaloMs;
    std::thread([estado = estado_] { estado->rodar(); }).detach();
}

VigiaServidor::~VigiaServidor()
{
    std::lock_guard lock(estado_->mutex);
    estado_->parar = true;
    if (estado_->emUso)
        estado_->emUso->cancel(true);
    estado_->acordar.notify_all();
}

std::int64_t VigiaServidor::respostas() const
{
    return estado_->respostas;
}
