#include "data/WorkTable.h"

#include "data/FbResultSet.h"
#include "data/FilterExpression.h"
#include "data/SqlQuery.h"

#include <algorithm>

namespace {

const Cell kNull;

FieldType fieldTypeOf(const fb::Column& c)
{
    switch (c.type) {
    case fb::ColumnType::Text:
    case fb::ColumnType::Blob:
    case fb::ColumnType::Time: // a clock: "hh:mm:ss", as a text column would hold it
        return FieldType::Text;
    case fb::ColumnType::Integer:
    case fb::ColumnType::Boolean:
        return FieldType::Integer;
    case fb::ColumnType::Date:
        return FieldType::Date;
    case fb::ColumnType::Timestamp:
        return FieldType::DateTime;
    default:
        return FieldType::Float;
    }
}

} // namespace

WorkTable::WorkTable(const QString& name) : name_(name) {}

WorkTable::~WorkTable() = default;

WorkField& WorkTable::addField(const QString& name, FieldType type, int size)
{
    if (active())
        throw WorkTableError("Cannot add a field to an open table");
    fieldLists_.clear();
    fields_.push_back(std::make_unique<WorkField>(this, int(fields_.size()), name, type, size));
    types_.push_back(type);
    return *fields_.back();
}

void WorkTable::createDataSet()
{
    if (fields_.empty())
        throw WorkTableError(QStringLiteral("%1: no fields defined").arg(name_).toStdString());
    close();
    state_ = State::Browse;
    view_.markDirty();
    compileFilter();
    indexFields_ = fieldList(indexFieldNames_);
    view_.setCurrent(0);
}

void WorkTable::open()
{
    if (active())
        return;
    openSource();
    std::vector<int> from = sourceColumns();
    for (; !source_->eof(); source_->next())
        rows_.push_back(rowFromSource(from));
    source_->close();
    finishOpen();
}

void WorkTable::openEach(const std::function<void()>& eachRow)
{
    if (active())
        close();
    openSource();
    std::vector<int> from = sourceColumns();
    finishOpen();
    for (; !source_->eof(); source_->next()) {
        // The view and the indexes are made anew for each row: nothing may
        // point at the row dropped before it.
        view_.clear();
        rows_.push_back(rowFromSource(from));
        eachRow();
        indexes_.clear();
        view_.clear();
        rows_.clear();
    }
    source_->close();
}

void WorkTable::openSource()
{
    if (!source_)
        throw WorkTableError(QStringLiteral("%1: missing data provider or data packet").arg(name_).toStdString());
    clearRows();
    source_->close();
    source_->open();
    fields_.clear();
    types_.clear();
    fieldLists_.clear();
    for (const auto& c : source_->columns()) {
        fields_.push_back(std::make_unique<WorkField>(this, int(fields_.size()), c.name, fieldTypeOf(c), c.size));
        types_.push_back(fields_.back()->type());
    }
}

std::vector<int> WorkTable::sourceColumns() const
{
    // Each field takes the value of the first column of its name.
    std::vector<int> from;
    for (const auto& f : fields_)
        from.push_back(source_->columnIndex(f->name()));
    return from;
}

std::unique_ptr<WorkRow> WorkTable::rowFromSource(const std::vector<int>& from)
{
    auto row = std::make_unique<Row>();
    row->seq = nextSeq_++;
    row->cells.reserve(fields_.size());
    for (size_t i = 0; i < fields_.size(); ++i)
        row->cells.push_back(fields_[i]->toCell(source_->value(from[i])));
    return row;
}

void WorkTable::finishOpen()
{
    state_ = State::Browse;
    view_.markDirty();
    indexFields_ = fieldList(indexFieldNames_);
    compileFilter();
    view_.setCurrent(0);
}

void WorkTable::close()
{
    clearRows();
    state_ = State::Inactive;
}

void WorkTable::clearRows()
{
    rows_.clear();
    nextSeq_ = 1; // a reopened table numbers its rows from the start again, so bookmarks carry over
    indexes_.clear();
    buffer_.clear();
    view_.clear();
}

void WorkTable::requireActive() const
{
    if (!active())
        throw WorkTableError(QStringLiteral("%1: cannot perform this operation on a closed table").arg(name_).toStdString());
}

void WorkTable::checkBrowseMode()
{
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert)
        post();
}

const Cell& WorkTable::readCell(int field) const
{
    if (state_ == State::Edit || state_ == State::Insert)
        return buffer_[size_t(field)];
    if (!active())
        throw WorkTableError(QStringLiteral("%1: cannot perform this operation on a closed table").arg(name_).toStdString());
    ensureView();
    return view_.current() ? view_.current()->cells[size_t(field)] : kNull;
}

void WorkTable::writeCell(int field, Cell c)
{
    if (state_ != State::Edit && state_ != State::Insert)
        throw WorkTableError(QStringLiteral("%1: table not in edit or insert mode").arg(name_).toStdString());
    buffer_[size_t(field)] = std::move(c);
    WorkField& f = *fields_[size_t(field)];
    if (f.onChange)
        f.onChange(f);
}

void WorkTable::append()
{
    checkBrowseMode();
    buffer_.assign(fields_.size(), Cell{});
    state_ = State::Insert;
}

void WorkTable::edit()
{
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    ensureView();
    if (!view_.current()) {
        append();
        return;
    }
    buffer_ = view_.current()->cells;
    state_ = State::Edit;
}

void WorkTable::post()
{
    requireActive();
    if (state_ == State::Insert) {
        auto owned = std::make_unique<Row>();
        owned->cells = std::move(buffer_);
        state_ = State::Browse;
        adopt(std::move(owned));
        buffer_.clear();
        return;
    }
    if (state_ == State::Edit) {
        Row* row = view_.current();
        bool moved = (filtered_ && filterExpr_) || master_;
        for (int f : indexFields_)
            if (compareCells(row->cells[size_t(f)], buffer_[size_t(f)]) != 0)
                moved = true;
        const std::vector<int> changed = indexes_.leaveChanged(row, buffer_);
        row->cells = std::move(buffer_);
        indexes_.reinsert(row, changed);
        buffer_.clear();
        state_ = State::Browse;
        if (moved)
            view_.markDirty();
    }
}

void WorkTable::cancel()
{
    if (state_ == State::Edit || state_ == State::Insert)
        state_ = State::Browse;
    buffer_.clear();
}

void WorkTable::deleteRecord()
{
    requireActive();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    ensureView();
    Row* row = view_.current();
    if (!row)
        throw WorkTableError(QStringLiteral("%1: cannot perform this operation on an empty table").arg(name_).toStdString());
    const qsizetype pos = view_.pos();
    indexes_.remove(row);
    view_.erase(row);
    rows_.erase(std::find_if(rows_.begin(), rows_.end(), [row](const auto& r) { return r.get() == row; }));
    view_.forget(pos);
    view_.setCurrent(pos);
}

void WorkTable::adopt(std::unique_ptr<Row> owned)
{
    Row* row = owned.get();
    row->seq = nextSeq_++;
    row->viewPos = -1;
    rows_.push_back(std::move(owned));
    indexes_.insert(row);
    // Appended at the end of an unordered, unfiltered view: no rebuild needed.
    if (!view_.dirty() && indexFields_.empty() && !(filtered_ && filterExpr_) && !master_)
        view_.appendVisible(row);
    else
        view_.markDirty();
    view_.standOn(row);
    ensureView();
}

std::vector<std::unique_ptr<WorkRow>> WorkTable::takeRows()
{
    checkBrowseMode();
    std::vector<std::unique_ptr<Row>> rows;
    rows.swap(rows_);
    indexes_.clear();
    view_.clear();
    ensureView();
    return rows;
}

void WorkTable::appendRow(std::unique_ptr<WorkRow> row)
{
    checkBrowseMode();
    if (!row || row->cells.size() != fields_.size())
        throw WorkTableError(QStringLiteral("%1: a row of another layout").arg(name_).toStdString());
    adopt(std::move(row));
}

void WorkTable::deleteVisible()
{
    checkBrowseMode();
    ensureView();
    if (view_.count() == 0)
        return;
    rows_.erase(std::remove_if(rows_.begin(), rows_.end(), [](const auto& r) { return r->viewPos >= 0; }),
                rows_.end());
    indexes_.clear(); // rebuilt on the next locate
    view_.clear();
    ensureView();
}

WorkField* WorkTable::findField(const QString& name) const
{
    for (const auto& f : fields_)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

WorkField& WorkTable::fieldByName(const QString& name) const
{
    WorkField* f = findField(name);
    if (!f)
        throw WorkTableError(QStringLiteral("%1: Field '%2' not found").arg(name_, name).toStdString());
    return *f;
}

const std::vector<int>& WorkTable::fieldList(const QString& names) const
{
    auto it = fieldLists_.find(names);
    if (it != fieldLists_.end())
        return it->second;
    std::vector<int> out;
    for (const QString& part : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            out.push_back(fieldByName(part.trimmed()).index());
    }
    return fieldLists_.emplace(names, std::move(out)).first->second;
}

RowKey WorkTable::keyOfValues(const std::vector<int>& fields, const std::vector<fb::Value>& values) const
{
    RowKey key;
    for (size_t i = 0; i < fields.size(); ++i) {
        const WorkField& f = *fields_[size_t(fields[i])];
        const fb::Value& v = values[i];
        Cell c;
        if (!v.isNull()) {
            switch (f.type()) {
            case FieldType::Text:
                c = v.asText();
                break;
            case FieldType::Integer:
            case FieldType::Float:
                c = v.asFloat();
                break;
            case FieldType::Date:
            case FieldType::DateTime:
                c = v.asDateTime();
                break;
            }
        }
        appendKey(key, f.type(), c);
    }
    return key;
}

bool WorkTable::seekFirst(const std::vector<int>& fields, const std::vector<fb::Value>& values)
{
    if (values.size() != fields.size())
        throw WorkTableError(QStringLiteral("%1: %2 values given for %3 fields")
                                 .arg(name_)
                                 .arg(values.size())
                                 .arg(fields.size())
                                 .toStdString());
    ensureView();
    const RowIndexes::Map& idx = indexes_.index(fields, rows_);
    auto range = idx.equal_range(keyOfValues(fields, values));
    Row* best = nullptr;
    for (auto it = range.first; it != range.second; ++it) {
        Row* r = it->second;
        if (r->viewPos >= 0 && (!best || r->viewPos < best->viewPos))
            best = r;
    }
    if (!best)
        return false;
    view_.setCurrent(best->viewPos);
    return true;
}

bool WorkTable::locate(const QString& fieldNames, const std::vector<fb::Value>& values)
{
    checkBrowseMode();
    return seekFirst(fieldList(fieldNames), values);
}

bool WorkTable::findKey(const std::vector<fb::Value>& values)
{
    checkBrowseMode();
    if (indexFields_.empty())
        throw WorkTableError(QStringLiteral("%1: no index fields set").arg(name_).toStdString());
    if (values.empty() || values.size() > indexFields_.size())
        throw WorkTableError(QStringLiteral("%1: wrong number of key values").arg(name_).toStdString());
    return seekFirst(std::vector<int>(indexFields_.begin(), indexFields_.begin() + qsizetype(values.size())), values);
}

void WorkTable::swapRows(WorkTable& other)
{
    checkBrowseMode();
    other.checkBrowseMode();
    bool same = fields_.size() == other.fields_.size();
    for (size_t i = 0; same && i < fields_.size(); ++i)
        same = fields_[i]->type() == other.fields_[i]->type() &&
               fields_[i]->name().compare(other.fields_[i]->name(), Qt::CaseInsensitive) == 0;
    if (!same)
        throw WorkTableError(QStringLiteral("%1: tables of different layouts").arg(name_).toStdString());
    rows_.swap(other.rows_);
    std::swap(nextSeq_, other.nextSeq_);
    for (WorkTable* t : {this, &other}) {
        t->indexes_.clear();
        t->view_.clear();
        t->ensureView();
        t->view_.setCurrent(0);
    }
}
