#pragma once

#include "data/Cell.h"
#include "data/FbValue.h"

#include <QString>

#include <functional>

class WorkTable;

enum class FieldType { Date, DateTime, Text, Integer, Float };

// One field of a working table. Reads and writes go to the table's current
// row (its edit buffer while the row is edited or appended). An empty field
// reads as 0 or the empty text.
class WorkField {
public:
    WorkField(WorkTable* table, int index, const QString& name, FieldType type, int size);

    const QString& name() const { return name_; }
    FieldType type() const { return type_; }
    int size() const { return size_; }
    int index() const { return index_; }
    WorkTable* table() const { return table_; }

    bool isNull() const;
    QString asString() const;
    std::int32_t asInteger() const;
    double asFloat() const;
    double asDateTime() const;
    fb::Value value() const;

    // Writes need the row in edit or append mode. Texts longer than the
    // field are cut; an integer field rounds a float half to even; a date
    // field drops the time of day.
    void setAsString(const QString& v);
    void setAsInteger(std::int64_t v);
    void setAsFloat(double v);
    void setAsDateTime(double v);
    void setValue(const fb::Value& v);
    void clear();

    // Display attributes, for a view of the table.
    QString displayLabel;
    QString displayFormat;
    int displayWidth = 0;
    // A text field of codes read from a numeric column: the filter compares
    // it with whole numbers by value, as the database would.
    bool byValue = false;

    // Called after each value stored in the field while its row is edited or appended.
    std::function<void(WorkField&)> onChange;

    // The cell a value becomes in this field (conversions and cutting applied).
    Cell toCell(const fb::Value& v) const;

private:
    const Cell& cell() const;
    void store(Cell c);

    WorkTable* table_;
    int index_;
    QString name_;
    FieldType type_;
    int size_;
};
