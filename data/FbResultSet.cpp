#include "data/FbResultSet.h"

#include "data/Charset.h"
#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/FbApi.h"
#include "data/FbAttachment.h"
#include "data/FbTransaction.h"

#include <ibase.h>

#include <cstring>

namespace fb {

struct ResultSet::Layout {
    unsigned type = 0;
    unsigned subType = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
    unsigned charset = 0;
    int scale = 0;
};

namespace {

template <typename T>
T load(const unsigned char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Firebird counts days from 1858-11-17; day numbers from 1899-12-30.
constexpr double kIscDateOfDayZero = 15018;

double dayNumber(ISC_DATE d, ISC_TIME t)
{
    return daynum::fromDayAndMs(double(d) - kIscDateOfDayZero, int(t / 10));
}

// Types of later servers that reach this client only when the server is
// not asked for their older forms.
const char* nomeTipo(unsigned type)
{
    switch (type) {
    case 32748:
    case 32754:
        return "TIMESTAMP WITH TIME ZONE";
    case 32750:
    case 32756:
        return "TIME WITH TIME ZONE";
    case 32752:
        return "INT128 / NUMERIC(38)";
    case 32760:
        return "DECFLOAT(16)";
    case 32762:
        return "DECFLOAT(34)";
    default:
        return "desconhecido";
    }
}

ColumnType columnType(unsigned type, int scale, const QString& coluna)
{
    switch (type) {
    case SQL_TEXT:
    case SQL_VARYING:
        return ColumnType::Text;
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return scale < 0 ? ColumnType::Decimal : ColumnType::Integer;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return ColumnType::Float;
    case SQL_TYPE_DATE:
        return ColumnType::Date;
    case SQL_TYPE_TIME:
        return ColumnType::Time;
    case SQL_TIMESTAMP:
        return ColumnType::Timestamp;
    case SQL_BLOB:
        return ColumnType::Blob;
    case SQL_BOOLEAN:
        return ColumnType::Boolean;
    case SQL_NULL:
        return ColumnType::Null;
    default:
        throw DatabaseError(QStringLiteral("A coluna %1 tem um tipo que o programa não lê: %2 (código %3).")
                                .arg(coluna, QLatin1String(nomeTipo(type)))
                                .arg(type)
                                .toStdString());
    }
}

Value scaled(std::int64_t n, int scale)
{
    return scale < 0 ? Value::decimal(n, scale) : Value::integer(n);
}

} // namespace

ResultSet::ResultSet(Attachment& attachment, Transaction& transaction, Firebird::IResultSet* cursor,
                     Firebird::IMessageMetadata* metadata)
    : attachment_(attachment), transaction_(transaction), cursor_(cursor), metadata_(metadata)
{
    try {
        Status st;
        unsigned count = metadata_->getCount(st.get());
        st.check();
        for (unsigned i = 0; i < count; ++i) {
            Layout l;
            l.type = metadata_->getType(st.get(), i) & ~1u;
            l.subType = unsigned(metadata_->getSubType(st.get(), i));
            l.length = metadata_->getLength(st.get(), i);
            l.offset = metadata_->getOffset(st.get(), i);
            l.nullOffset = metadata_->getNullOffset(st.get(), i);
            l.charset = metadata_->getCharSet(st.get(), i);
            l.scale = metadata_->getScale(st.get(), i);
            const char* alias = metadata_->getAlias(st.get(), i);
            st.check();
            Column c;
            c.name = QString::fromUtf8(alias);
            const QString relation = QString::fromUtf8(metadata_->getRelation(st.get(), i)).trimmed();
            const QString field = QString::fromUtf8(metadata_->getField(st.get(), i)).trimmed();
            c.type = columnType(l.type, l.scale, relation.isEmpty() ? c.name : relation + QLatin1Char('.') + field);
            c.scale = l.scale;
            unsigned bytesPerChar = (l.charset & 0xFF) == CsUtf8 ? 4 : (l.charset & 0xFF) == CsUnicodeFss ? 3 : 1;
            c.size = c.type == ColumnType::Text ? int(l.length / bytesPerChar) : 0;
            columns_.push_back(c);
            layout_.push_back(l);
        }
        buffer_ = std::make_unique<unsigned char[]>(metadata_->getMessageLength(st.get()));
        st.check();
        row_.resize(columns_.size());
    } catch (...) {
        close();
        throw;
    }
}

ResultSet::~ResultSet()
{
    try {
        close();
    } catch (...) {
    }
}

void ResultSet::close()
{
    if (cursor_) {
        Status st;
        cursor_->close(st.get());
        if (st.failed())
            cursor_->release();
        cursor_ = nullptr;
    }
    if (metadata_) {
        metadata_->release();
        metadata_ = nullptr;
    }
}

int ResultSet::indexOf(const QString& name) const
{
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

bool ResultSet::fetch()
{
    if (!cursor_)
        return false;
    Status st;
    int result = cursor_->fetchNext(st.get(), buffer_.get());
    st.check();
    if (result != Firebird::IStatus::RESULT_OK) {
        for (auto& v : row_)
            v = Value();
        return false;
    }
    for (size_t i = 0; i < layout_.size(); ++i)
        row_[i] = decode(i);
    return true;
}

Value ResultSet::decode(size_t i) const
{
    const Layout& l = layout_[i];
    const unsigned char* base = buffer_.get();
    if (load<short>(base + l.nullOffset) != 0)
        return Value();
    const unsigned char* p = base + l.offset;
    switch (l.type) {
    case SQL_TEXT: {
        QString s = decodeText(reinterpret_cast<const char*>(p), int(l.length), l.charset);
        // Fixed-length texts come padded with blanks; the value is without them.
        qsizetype end = s.size();
        while (end > 0 && s[end - 1] == QLatin1Char(' '))
            --end;
        s.truncate(end);
        return Value::text(s);
    }
    case SQL_VARYING: {
        auto len = load<unsigned short>(p);
        return Value::text(decodeText(reinterpret_cast<const char*>(p + 2), len, l.charset));
    }
    case SQL_SHORT:
        return scaled(load<short>(p), l.scale);
    case SQL_LONG:
        return scaled(load<ISC_LONG>(p), l.scale);
    case SQL_INT64:
        return scaled(load<ISC_INT64>(p), l.scale);
    case SQL_FLOAT:
        return Value::floating(double(load<float>(p)));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return Value::floating(load<double>(p));
    case SQL_TYPE_DATE:
        return Value::date(double(load<ISC_DATE>(p)) - kIscDateOfDayZero);
    case SQL_TYPE_TIME:
        return Value::time(load<ISC_TIME>(p) / 864000000.0);
    case SQL_TIMESTAMP: {
        auto ts = load<ISC_TIMESTAMP>(p);
        return Value::timestamp(dayNumber(ts.timestamp_date, ts.timestamp_time));
    }
    case SQL_BOOLEAN:
        return Value::integer(*p ? 1 : 0);
    case SQL_BLOB: {
        // Large objects are read whole.
        auto id = load<ISC_QUAD>(p);
        Status st;
        Firebird::IBlob* blob = attachment_.handle()->openBlob(st.get(), transaction_.handle(), &id, 0, nullptr);
        st.check();
        QByteArray bytes;
        char chunk[16384];
        for (;;) {
            unsigned got = 0;
            int r = blob->getSegment(st.get(), sizeof chunk, chunk, &got);
            if (st.failed()) {
                blob->release();
                st.check();
            }
            bytes.append(chunk, got);
            if (r == Firebird::IStatus::RESULT_NO_DATA)
                break;
        }
        blob->close(st.get());
        if (st.failed())
            blob->release();
        return Value::text(l.subType == 1 ? decodeText(bytes.constData(), int(bytes.size()), l.charset)
                                          : fromWindows1252(bytes));
    }
    case SQL_NULL:
    default:
        return Value();
    }
}

} // namespace fb
