#include "data/WorkField.h"

#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/WorkTable.h"

#include <cmath>
#include <limits>

namespace {

std::int64_t roundHalfEven(double v)
{
    if (!std::isfinite(v))
        throw fb::ConversionError("Value out of range for an integer");
    return static_cast<std::int64_t>(std::rint(v));
}

double numberOf(const Cell& c)
{
    if (std::holds_alternative<std::int64_t>(c))
        return double(std::get<std::int64_t>(c));
    if (std::holds_alternative<double>(c))
        return std::get<double>(c);
    return 0;
}

} // namespace

WorkField::WorkField(WorkTable* table, int index, const QString& name, FieldType type, int size)
    : table_(table), index_(index), name_(name), type_(type), size_(size)
{
}

const Cell& WorkField::cell() const
{
    return table_->readCell(index_);
}

void WorkField::store(Cell c)
{
    table_->writeCell(index_, std::move(c));
}

bool WorkField::isNull() const
{
    return cellIsNull(cell());
}

fb::Value WorkField::value() const
{
    const Cell& c = cell();
    if (cellIsNull(c))
        return fb::Value();
    switch (type_) {
    case FieldType::Text:
        return fb::Value::text(std::get<QString>(c));
    case FieldType::Integer:
        return fb::Value::integer(std::get<std::int64_t>(c));
    case FieldType::Float:
        return fb::Value::floating(numberOf(c));
    case FieldType::Date:
        return fb::Value::date(numberOf(c));
    case FieldType::DateTime:
        return fb::Value::timestamp(numberOf(c));
    }
    return fb::Value();
}

QString WorkField::asString() const
{
    const Cell& c = cell();
    if (std::holds_alternative<QString>(c))
        return std::get<QString>(c);
    if (cellIsNull(c))
        return {};
    return value().asText();
}

std::int32_t WorkField::asInteger() const
{
    const Cell& c = cell();
    if (cellIsNull(c))
        return 0;
    std::int64_t v = std::holds_alternative<std::int64_t>(c) ? std::get<std::int64_t>(c) : value().asInteger();
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw fb::ConversionError(QStringLiteral("Value of field '%1' out of range for an integer").arg(name_).toStdString());
    return std::int32_t(v);
}

double WorkField::asFloat() const
{
    const Cell& c = cell();
    if (std::holds_alternative<double>(c))
        return std::get<double>(c);
    if (std::holds_alternative<std::int64_t>(c))
        return double(std::get<std::int64_t>(c));
    if (cellIsNull(c))
        return 0;
    return value().asFloat();
}

double WorkField::asDateTime() const
{
    return value().asDateTime();
}

Cell WorkField::toCell(const fb::Value& v) const
{
    if (v.isNull())
        return {};
    switch (type_) {
    case FieldType::Text: {
        QString s = v.asText();
        if (size_ > 0 && s.size() > size_)
            s.truncate(size_);
        return s;
    }
    case FieldType::Integer: {
        std::int64_t n = 0;
        if (v.kind() == fb::Value::Kind::Integer || v.kind() == fb::Value::Kind::Text)
            n = v.asInteger();
        else
            n = roundHalfEven(v.asFloat());
        if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
            throw fb::ConversionError(
                QStringLiteral("Value %1 out of range for field '%2'").arg(v.asText(), name_).toStdString());
        return n;
    }
    case FieldType::Float:
        return v.asFloat();
    case FieldType::Date:
        return daynum::datePart(v.asDateTime());
    case FieldType::DateTime:
        return v.asDateTime();
    }
    return {};
}

void WorkField::setValue(const fb::Value& v)
{
    store(toCell(v));
}

void WorkField::setAsString(const QString& v)
{
    if (type_ == FieldType::Text)
        store(size_ > 0 && v.size() > size_ ? v.left(size_) : v);
    else
        setValue(fb::Value::text(v));
}

void WorkField::setAsInteger(std::int64_t v)
{
    if (type_ == FieldType::Integer && v >= std::numeric_limits<std::int32_t>::min() &&
        v <= std::numeric_limits<std::int32_t>::max())
        store(v);
    else
        setValue(fb::Value::integer(v));
}

void WorkField::setAsFloat(double v)
{
    if (type_ == FieldType::Float || type_ == FieldType::DateTime)
        store(v);
    else
        setValue(fb::Value::floating(v));
}

void WorkField::setAsDateTime(double v)
{
    setValue(fb::Value::timestamp(v));
}

void WorkField::clear()
{
    store(Cell{});
}
