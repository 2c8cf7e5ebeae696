#include "data/FbAttachment.h"

#include "data/DatabaseError.h"
#include "data/FbApi.h"

#include <QElapsedTimer>

#include <ibase.h>

#include <utility>

namespace fb {

namespace {

// The dispatcher is reference counted: one per attach, released after.
struct Dispatcher {
    Firebird::IProvider* p = master()->getDispatcher();
    ~Dispatcher() { p->release(); }
};

// A Firebird 4 or later server is asked to hand its newer types over in the
// forms this program reads: a time with a time zone as one in the session's
// zone, DECFLOAT as DOUBLE PRECISION, INT128 (NUMERIC of 19 to 38 digits)
// as BIGINT. An older server knows neither the types nor the statement,
// and says so; that is ignored.
void pedirTiposLegados(Firebird::IAttachment* attachment)
{
    static const char* const comandos[] = {"SET BIND OF TIME ZONE TO LEGACY", "SET BIND OF DECFLOAT TO LEGACY",
                                           "SET BIND OF INT128 TO LEGACY"};
    Status st;
    const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version,
                                 isc_tpb_nowait};
    Firebird::ITransaction* tr = attachment->startTransaction(st.get(), sizeof tpb, tpb);
    if (st.failed() || !tr)
        return;
    for (const char* sql : comandos) {
        Status execucao;
        attachment->execute(execucao.get(), tr, 0, sql, 3, nullptr, nullptr, nullptr, nullptr);
        if (execucao.failed())
            break; // an older server
    }
    Status fim;
    tr->commit(fim.get());
    if (fim.failed())
        tr->release();
}

} // namespace

Attachment::Attachment(const QString& database, const QString& user, const QString& password, int dialect)
    : dialect_(dialect)
{
    XpbBuilder dpb(Firebird::IXpbBuilder::DPB);
    if (!user.isEmpty())
        dpb.insertString(isc_dpb_user_name, user.toUtf8().constData());
    if (!password.isEmpty())
        dpb.insertString(isc_dpb_password, password.toUtf8().constData());
    dpb.insertInt(isc_dpb_sql_dialect, dialect);
    // A server that accepts the connection but never answers (a stopped
    // process) ends the attach after this many seconds.
    dpb.insertInt(isc_dpb_connect_timeout, kConnectTimeoutSeconds);
    // The path goes in UTF-8 and says so, whatever the locale: an accented
    // folder opens under LANG=C as under pt_BR.UTF-8.
    dpb.insertTag(isc_dpb_utf8_filename);

    Dispatcher dispatcher;
    Status st;
    const QByteArray path = database.toUtf8();
    QElapsedTimer relogio;
    relogio.start();
    handle_ = dispatcher.p->attachDatabase(st.get(), path.constData(), dpb.length(), dpb.buffer());
    try {
        st.check();
    } catch (const DatabaseError& e) {
        // An attach that ran into its timeout reads as a refusal in the
        // client's words; it is the server not answering.
        if (relogio.elapsed() >= kConnectTimeoutSeconds * 1000 - 500 && e.causa() == CausaFalha::Conexao)
            throw DatabaseError(QStringLiteral("O servidor não respondeu em %1 s.\n").arg(kConnectTimeoutSeconds).toStdString() +
                                    e.what(),
                                e.code(), e.sqlState(), e.codes(), CausaFalha::TempoEsgotado);
        throw;
    }
    pedirTiposLegados(handle_);
}

Attachment::~Attachment()
{
    reset();
}

Attachment::Attachment(Attachment&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), dialect_(other.dialect_)
{
}

Attachment& Attachment::operator=(Attachment&& other) noexcept
{
    if (this != &other) {
        reset();
        handle_ = std::exchange(other.handle_, nullptr);
        dialect_ = other.dialect_;
    }
    return *this;
}

void Attachment::cancel(bool abort) noexcept
{
    if (!handle_)
        return;
    try {
        Status st;
        handle_->cancelOperation(st.get(), abort ? fb_cancel_abort : fb_cancel_raise);
    } catch (...) {
    }
}

void Attachment::ping()
{
    Status st;
    handle_->ping(st.get());
    st.check();
}

void Attachment::reset() noexcept
{
    if (!handle_)
        return;
    try {
        Status st;
        handle_->detach(st.get());
        if (st.failed())
            handle_->release();
    } catch (...) {
    }
    handle_ = nullptr;
}

} // namespace fb
