#pragma once

#include <QString>

#include <cstdint>

namespace fb {

// One value read from or sent to the database. Every value can be read as
// text, integer, float and date-time (a day number); a null reads as the
// empty text or 0.
class Value {
public:
    enum class Kind { Null, Text, Integer, Float, Decimal, Date, Time, Timestamp };

    Value() = default;
    static Value text(const QString& v);
    static Value integer(std::int64_t v);
    static Value floating(double v);
    static Value decimal(std::int64_t unscaled, int scale); // scale <= 0, as Firebird keeps it
    static Value date(double dayNumber);                     // whole day
    static Value time(double dayFraction);                   // time of day, 0 <= f < 1
    static Value timestamp(double dayNumber);

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }

    QString asText() const;
    // The text without a copy: the value's own for a text, else the
    // conversion, made in buffer.
    const QString& asText(QString& buffer) const
    {
        if (kind_ == Kind::Text)
            return text_;
        buffer = asText();
        return buffer;
    }
    std::int64_t asInteger() const; // floats round half to even
    double asFloat() const;
    double asDateTime() const;      // day number

    bool operator==(const Value& other) const = default;

private:
    Kind kind_ = Kind::Null;
    QString text_;
    std::int64_t int_ = 0;
    double float_ = 0;
    int scale_ = 0;
};

} // namespace fb
