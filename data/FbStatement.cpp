#include "data/FbStatement.h"

#include "data/Charset.h"
#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/FbApi.h"
#include "data/FbAttachment.h"
#include "data/FbResultSet.h"
#include "data/FbTransaction.h"
#include "data/NamedParams.h"

#include <ibase.h>

#include <cstring>
#include <utility>
#include <vector>

namespace fb {

namespace {

ISC_DATE toIscDate(const QDate& d)
{
    return ISC_DATE(d.toJulianDay() - 2400001);
}

ISC_TIME toIscTime(int ms)
{
    return ISC_TIME(ms) * 10;
}

// Releases a reference-counted metadata object.
struct MetadataRef {
    Firebird::IMessageMetadata* p = nullptr;
    ~MetadataRef()
    {
        if (p)
            p->release();
    }
};

} // namespace

struct Statement::InputMessage {
    MetadataRef metadata;
    std::vector<unsigned char> buffer;
};

Statement::Statement(Attachment& attachment, Transaction& transaction, const QString& sql)
    : attachment_(attachment), transaction_(transaction)
{
    PositionalSql positional = toPositional(sql);
    names_ = positional.names;
    QByteArray text = toWindows1252(positional.sql);
    Status st;
    handle_ = attachment.handle()->prepare(st.get(), transaction.handle(), 0, text.constData(),
                                           unsigned(attachment.dialect()), Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    st.check();
}

Statement::~Statement()
{
    if (!handle_)
        return;
    try {
        Status st;
        handle_->free(st.get());
        if (st.failed())
            handle_->release();
    } catch (...) {
    }
}

void Statement::setParam(const QString& name, const Value& value)
{
    QString key = name.toUpper();
    if (!names_.contains(key))
        throw DatabaseError(QStringLiteral("Parameter '%1' not found").arg(name).toStdString());
    values_[key] = value;
}

Statement::InputMessage Statement::buildInput()
{
    InputMessage msg;
    Status st;
    MetadataRef described;
    described.p = handle_->getInputMetadata(st.get());
    st.check();
    unsigned count = described.p->getCount(st.get());
    st.check();
    if (count == 0)
        return msg;

    Firebird::IMetadataBuilder* builder = described.p->getBuilder(st.get());
    st.check();
    struct BuilderRef {
        Firebird::IMetadataBuilder* p;
        ~BuilderRef() { p->release(); }
    } builderRef{builder};

    std::vector<Value> values(count);
    std::vector<QByteArray> texts(count);
    for (unsigned i = 0; i < count; ++i) {
        if (i < unsigned(names_.size())) {
            auto it = values_.find(names_[int(i)]);
            if (it != values_.end())
                values[i] = it->second;
        }
        const Value& v = values[i];
        switch (v.kind()) {
        case Value::Kind::Null:
            continue; // keep the server's own type, sent as null
        case Value::Kind::Text:
            texts[i] = toWindows1252(v.asText());
            builder->setType(st.get(), i, SQL_VARYING + 1);
            builder->setCharSet(st.get(), i, CsNone);
            builder->setLength(st.get(), i, unsigned(std::max<qsizetype>(1, texts[i].size())));
            break;
        case Value::Kind::Integer:
            builder->setType(st.get(), i, SQL_INT64 + 1);
            builder->setScale(st.get(), i, 0);
            builder->setLength(st.get(), i, sizeof(ISC_INT64));
            break;
        case Value::Kind::Decimal:
            builder->setType(st.get(), i, SQL_DOUBLE + 1);
            builder->setScale(st.get(), i, 0);
            builder->setLength(st.get(), i, sizeof(double));
            break;
        case Value::Kind::Float:
            builder->setType(st.get(), i, SQL_DOUBLE + 1);
            builder->setScale(st.get(), i, 0);
            builder->setLength(st.get(), i, sizeof(double));
            break;
        case Value::Kind::Date:
            builder->setType(st.get(), i, SQL_TYPE_DATE + 1);
            builder->setLength(st.get(), i, sizeof(ISC_DATE));
            break;
        case Value::Kind::Time:
            builder->setType(st.get(), i, SQL_TYPE_TIME + 1);
            builder->setLength(st.get(), i, sizeof(ISC_TIME));
            break;
        case Value::Kind::Timestamp:
            builder->setType(st.get(), i, SQL_TIMESTAMP + 1);
            builder->setLength(st.get(), i, sizeof(ISC_TIMESTAMP));
            break;
        }
        st.check();
    }
    msg.metadata.p = builder->getMetadata(st.get());
    st.check();

    Firebird::IMessageMetadata* meta = msg.metadata.p;
    msg.buffer.assign(meta->getMessageLength(st.get()), 0);
    st.check();
    for (unsigned i = 0; i < count; ++i) {
        unsigned char* data = msg.buffer.data() + meta->getOffset(st.get(), i);
        short* nullFlag = reinterpret_cast<short*>(msg.buffer.data() + meta->getNullOffset(st.get(), i));
        st.check();
        const Value& v = values[i];
        if (v.isNull()) {
            *nullFlag = -1;
            continue;
        }
        *nullFlag = 0;
        switch (v.kind()) {
        case Value::Kind::Text: {
            auto len = static_cast<unsigned short>(texts[i].size());
            std::memcpy(data, &len, sizeof len);
            std::memcpy(data + sizeof len, texts[i].constData(), len);
            break;
        }
        case Value::Kind::Integer: {
            ISC_INT64 n = v.asInteger();
            std::memcpy(data, &n, sizeof n);
            break;
        }
        case Value::Kind::Decimal:
        case Value::Kind::Float: {
            double d = v.asFloat();
            std::memcpy(data, &d, sizeof d);
            break;
        }
        case Value::Kind::Date: {
            ISC_DATE d = toIscDate(daynum::toDate(v.asDateTime()));
            std::memcpy(data, &d, sizeof d);
            break;
        }
        case Value::Kind::Time: {
            ISC_TIME t = toIscTime(daynum::timeOfDayMs(v.asDateTime()));
            std::memcpy(data, &t, sizeof t);
            break;
        }
        case Value::Kind::Timestamp: {
            QDateTime dt = daynum::toDateTime(v.asDateTime());
            ISC_TIMESTAMP ts{toIscDate(dt.date()), toIscTime(dt.time().msecsSinceStartOfDay())};
            std::memcpy(data, &ts, sizeof ts);
            break;
        }
        case Value::Kind::Null:
            break;
        }
    }
    return msg;
}

std::unique_ptr<ResultSet> Statement::openCursor()
{
    InputMessage in = buildInput();
    Status st;
    MetadataRef out;
    out.p = handle_->getOutputMetadata(st.get());
    st.check();
    Firebird::IResultSet* cursor = handle_->openCursor(st.get(), transaction_.handle(), in.metadata.p,
                                                       in.buffer.empty() ? nullptr : in.buffer.data(), out.p, 0);
    st.check();
    Firebird::IMessageMetadata* metadata = std::exchange(out.p, nullptr);
    return std::make_unique<ResultSet>(attachment_, transaction_, cursor, metadata); // takes both
}

void Statement::execute()
{
    InputMessage in = buildInput();
    Status st;
    handle_->execute(st.get(), transaction_.handle(), in.metadata.p, in.buffer.empty() ? nullptr : in.buffer.data(),
                     nullptr, nullptr);
    st.check();
}

} // namespace fb
