#include "data/FbValue.h"

#include "data/DatabaseError.h"
#include "data/DayNumber.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace fb {

namespace {

double pow10(int n)
{
    double r = 1;
    for (int i = 0; i < n; ++i)
        r *= 10;
    return r;
}

QString decimalText(std::int64_t unscaled, int scale)
{
    if (scale >= 0)
        return QString::number(unscaled);
    const int digits = -scale;
    bool negative = unscaled < 0;
    // Work on the magnitude as unsigned so INT64_MIN is safe.
    std::uint64_t mag = negative ? std::uint64_t(0) - std::uint64_t(unscaled) : std::uint64_t(unscaled);
    QString s = QString::number(mag).rightJustified(digits + 1, QLatin1Char('0'));
    s.insert(s.size() - digits, QLatin1Char('.'));
    return negative ? QLatin1Char('-') + s : s;
}

[[noreturn]] void notA(const QString& what, const QString& text)
{
    throw ConversionError(QStringLiteral("'%1' is not a valid %2").arg(text, what).toStdString());
}

std::int64_t roundToInteger(double v)
{
    if (!std::isfinite(v) || v >= 9.2e18 || v <= -9.2e18)
        throw ConversionError("Value out of range for an integer");
    return static_cast<std::int64_t>(std::rint(v));
}

} // namespace

Value Value::text(const QString& v)
{
    Value r;
    r.kind_ = Kind::Text;
    r.text_ = v;
    return r;
}

Value Value::integer(std::int64_t v)
{
    Value r;
    r.kind_ = Kind::Integer;
    r.int_ = v;
    return r;
}

Value Value::floating(double v)
{
    Value r;
    r.kind_ = Kind::Float;
    r.float_ = v;
    return r;
}

Value Value::decimal(std::int64_t unscaled, int scale)
{
    Value r;
    r.kind_ = Kind::Decimal;
    r.int_ = unscaled;
    r.scale_ = scale;
    return r;
}

Value Value::date(double dayNumber)
{
    Value r;
    r.kind_ = Kind::Date;
    r.float_ = daynum::datePart(dayNumber);
    return r;
}

Value Value::time(double dayFraction)
{
    Value r;
    r.kind_ = Kind::Time;
    r.float_ = dayFraction;
    return r;
}

Value Value::timestamp(double dayNumber)
{
    Value r;
    r.kind_ = Kind::Timestamp;
    r.float_ = dayNumber;
    return r;
}

QString Value::asText() const
{
    switch (kind_) {
    case Kind::Null:
        return {};
    case Kind::Text:
        return text_;
    case Kind::Integer:
        return QString::number(int_);
    case Kind::Float:
        return QString::number(float_, 'g', 15);
    case Kind::Decimal:
        return decimalText(int_, scale_);
    case Kind::Date:
        return daynum::toDate(float_).toString(Qt::ISODate);
    case Kind::Time:
        return QTime::fromMSecsSinceStartOfDay(daynum::timeOfDayMs(float_)).toString(QStringLiteral("HH:mm:ss"));
    case Kind::Timestamp:
        return daynum::toDateTime(float_).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return {};
}

std::int64_t Value::asInteger() const
{
    switch (kind_) {
    case Kind::Null:
        return 0;
    case Kind::Text: {
        bool ok = false;
        qlonglong v = text_.trimmed().toLongLong(&ok);
        if (!ok)
            notA(QStringLiteral("integer value"), text_);
        return v;
    }
    case Kind::Integer:
        return int_;
    case Kind::Decimal:
        return scale_ == 0 ? int_ : roundToInteger(asFloat());
    default:
        return roundToInteger(asFloat());
    }
}

double Value::asFloat() const
{
    switch (kind_) {
    case Kind::Null:
        return 0;
    case Kind::Text: {
        bool ok = false;
        double v = text_.trimmed().toDouble(&ok);
        if (!ok)
            notA(QStringLiteral("floating point value"), text_);
        return v;
    }
    case Kind::Integer:
        return double(int_);
    case Kind::Decimal:
        return scale_ < 0 ? double(int_) / pow10(-scale_) : double(int_) * pow10(scale_);
    default:
        return float_;
    }
}

double Value::asDateTime() const
{
    switch (kind_) {
    case Kind::Null:
        return 0;
    case Kind::Text: {
        QString t = text_.trimmed();
        QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
        if (!dt.isValid()) {
            QDate d = QDate::fromString(t, Qt::ISODate);
            if (d.isValid())
                return daynum::fromDate(d);
            notA(QStringLiteral("date and time"), text_);
        }
        return daynum::fromDateTime(dt);
    }
    case Kind::Integer:
    case Kind::Decimal:
        return asFloat();
    default:
        return float_;
    }
}

} // namespace fb
