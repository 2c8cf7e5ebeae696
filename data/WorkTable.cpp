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

// Typed binary key of one cell: texts and nulls in a text field compare
// alike (an empty text finds a null), numbers by their value.
void appendKey(std::string& key, FieldType type, const Cell& c)
{
    if (type == FieldType::Text) {
        const QString empty;
        const QString& text = std::holds_alternative<QString>(c) ? std::get<QString>(c) : empty;
        const auto length = std::uint32_t(text.size());
        key += 'T';
        key.append(reinterpret_cast<const char*>(&length), sizeof length);
        key.append(reinterpret_cast<const char*>(text.constData()), size_t(text.size()) * sizeof(QChar));
    } else if (cellIsNull(c)) {
        key += 'Z';
    } else {
        double v = std::holds_alternative<std::int64_t>(c) ? double(std::get<std::int64_t>(c)) : std::get<double>(c);
        if (v == 0)
            v = 0; // one key for 0 and -0
        key += 'N';
        key.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
}

int compareCells(const Cell& a, const Cell& b)
{
    const bool an = cellIsNull(a), bn = cellIsNull(b);
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    if (std::holds_alternative<QString>(a) || std::holds_alternative<QString>(b)) {
        const QString& x = std::holds_alternative<QString>(a) ? std::get<QString>(a) : QString();
        const QString& y = std::holds_alternative<QString>(b) ? std::get<QString>(b) : QString();
        int c = x.compare(y);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    auto num = [](const Cell& c) {
        return std::holds_alternative<std::int64_t>(c) ? double(std::get<std::int64_t>(c)) : std::get<double>(c);
    };
    double x = num(a), y = num(b);
    return x < y ? -1 : (x > y ? 1 : 0);
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
    return *fields_.back();
}

void WorkTable::createDataSet()
{
    if (fields_.empty())
        throw WorkTableError(QStringLiteral("%1: no fields defined").arg(name_).toStdString());
    close();
    state_ = State::Browse;
    viewDirty_ = true;
    compileFilter();
    indexFields_ = fieldList(indexFieldNames_);
    setCurrent(0);
}

void WorkTable::open()
{
    if (active())
        return;
    if (!source_)
        throw WorkTableError(QStringLiteral("%1: missing data provider or data packet").arg(name_).toStdString());
    clearRows();
    source_->close();
    source_->open();
    fields_.clear();
    fieldLists_.clear();
    const auto& columns = source_->columns();
    // Each field takes the value of the first column of its name.
    std::vector<int> from;
    for (const auto& c : columns) {
        fields_.push_back(std::make_unique<WorkField>(this, int(fields_.size()), c.name, fieldTypeOf(c), c.size));
        from.push_back(source_->columnIndex(c.name));
    }
    for (; !source_->eof(); source_->next()) {
        auto row = std::make_unique<Row>();
        row->seq = nextSeq_++;
        row->cells.reserve(fields_.size());
        for (size_t i = 0; i < fields_.size(); ++i)
            row->cells.push_back(fields_[i]->toCell(source_->value(from[i])));
        rows_.push_back(std::move(row));
    }
    source_->close();
    state_ = State::Browse;
    viewDirty_ = true;
    indexFields_ = fieldList(indexFieldNames_);
    compileFilter();
    setCurrent(0);
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
    hashIndexes_.clear();
    buffer_.clear();
    view_.clear();
    viewDirty_ = true;
    current_ = nullptr;
    pos_ = 0;
    eof_ = bof_ = true;
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

std::optional<WorkTable::Key> WorkTable::masterKey() const
{
    if (!master_ || indexFields_.empty())
        return std::nullopt;
    WorkField* mf = master_->findField(masterFields_.section(QLatin1Char(';'), 0, 0).trimmed());
    if (!mf || !master_->active())
        return Key(); // no master row: nothing is visible
    master_->ensureView();
    if (!master_->current_ && master_->state_ != State::Insert)
        return Key();
    Key key;
    appendKey(key, fields_[size_t(indexFields_[0])]->type(), master_->readCell(mf->index()));
    return key;
}

bool WorkTable::visible(const Row& row) const
{
    if (filtered_ && filterExpr_ && !filterExpr_->matches(row.cells))
        return false;
    if (master_ && !indexFields_.empty()) {
        Key key;
        appendKey(key, fields_[size_t(indexFields_[0])]->type(), row.cells[size_t(indexFields_[0])]);
        if (!viewMasterKey_ || key != *viewMasterKey_)
            return false;
    }
    return true;
}

void WorkTable::ensureView() const
{
    if (!active())
        return;
    if (master_) {
        auto key = masterKey();
        if (key != viewMasterKey_) {
            viewMasterKey_ = key;
            viewDirty_ = true;
            current_ = nullptr; // a new master row starts on the first detail row
            pos_ = 0;
        }
    }
    if (viewDirty_)
        rebuildView();
}

void WorkTable::rebuildView() const
{
    view_.clear();
    for (const auto& row : rows_) {
        row->viewPos = -1;
        if (visible(*row))
            view_.push_back(row.get());
    }
    if (!indexFields_.empty()) {
        std::stable_sort(view_.begin(), view_.end(), [this](const Row* a, const Row* b) {
            for (int f : indexFields_) {
                int c = compareCells(a->cells[size_t(f)], b->cells[size_t(f)]);
                if (c != 0)
                    return c < 0;
            }
            return false;
        });
    }
    for (size_t i = 0; i < view_.size(); ++i)
        view_[i]->viewPos = qsizetype(i);
    viewDirty_ = false;
    const bool wasEof = eof_ && current_;
    if (current_ && current_->viewPos >= 0) {
        pos_ = current_->viewPos;
        current_ = view_[size_t(pos_)];
        bof_ = false;
        eof_ = wasEof;
    } else {
        setCurrent(pos_);
    }
}

void WorkTable::setCurrent(qsizetype pos) const
{
    if (view_.empty()) {
        current_ = nullptr;
        pos_ = 0;
        eof_ = bof_ = true;
        return;
    }
    pos_ = std::clamp<qsizetype>(pos, 0, qsizetype(view_.size()) - 1);
    current_ = view_[size_t(pos_)];
    eof_ = bof_ = false;
}

void WorkTable::first()
{
    checkBrowseMode();
    ensureView();
    setCurrent(0);
}

void WorkTable::last()
{
    checkBrowseMode();
    ensureView();
    setCurrent(qsizetype(view_.size()) - 1);
}

void WorkTable::next()
{
    checkBrowseMode();
    ensureView();
    if (eof_ || !current_)
        return;
    bof_ = false;
    if (pos_ + 1 < qsizetype(view_.size()))
        setCurrent(pos_ + 1);
    else
        eof_ = true;
}

void WorkTable::prior()
{
    checkBrowseMode();
    ensureView();
    if (bof_ || !current_)
        return;
    eof_ = false;
    if (pos_ > 0)
        setCurrent(pos_ - 1);
    else
        bof_ = true;
}

bool WorkTable::eof() const
{
    if (!active())
        return true;
    ensureView();
    return eof_;
}

bool WorkTable::bof() const
{
    if (!active())
        return true;
    ensureView();
    return bof_;
}

int WorkTable::recordCount() const
{
    requireActive();
    ensureView();
    return int(view_.size());
}

int WorkTable::recNo() const
{
    if (!active())
        return 0;
    ensureView();
    return current_ ? int(pos_) + 1 : 0;
}

const Cell& WorkTable::readCell(int field) const
{
    if (state_ == State::Edit || state_ == State::Insert)
        return buffer_[size_t(field)];
    if (!active())
        throw WorkTableError(QStringLiteral("%1: cannot perform this operation on a closed table").arg(name_).toStdString());
    ensureView();
    return current_ ? current_->cells[size_t(field)] : kNull;
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
    if (!current_) {
        append();
        return;
    }
    buffer_ = current_->cells;
    state_ = State::Edit;
}

void WorkTable::post()
{
    requireActive();
    if (state_ == State::Insert) {
        auto owned = std::make_unique<Row>();
        Row* row = owned.get();
        row->cells = std::move(buffer_);
        row->seq = nextSeq_++;
        rows_.push_back(std::move(owned));
        indexInsert(row);
        state_ = State::Browse;
        // Appended at the end of an unordered, unfiltered view: no rebuild needed.
        if (!viewDirty_ && indexFields_.empty() && !(filtered_ && filterExpr_) && !master_) {
            row->viewPos = qsizetype(view_.size());
            view_.push_back(row);
        } else {
            viewDirty_ = true;
        }
        current_ = row;
        eof_ = bof_ = false;
        ensureView();
        if (row->viewPos >= 0)
            pos_ = row->viewPos;
        buffer_.clear();
        return;
    }
    if (state_ == State::Edit) {
        Row* row = current_;
        bool moved = (filtered_ && filterExpr_) || master_;
        for (int f : indexFields_)
            if (compareCells(row->cells[size_t(f)], buffer_[size_t(f)]) != 0)
                moved = true;
        // Only the hash indexes whose fields changed are touched.
        std::vector<HashIndex*> changed;
        for (HashIndex& idx : hashIndexes_) {
            for (int f : idx.fields) {
                if (compareCells(row->cells[size_t(f)], buffer_[size_t(f)]) != 0 ||
                    row->cells[size_t(f)].index() != buffer_[size_t(f)].index()) {
                    changed.push_back(&idx);
                    break;
                }
            }
        }
        for (HashIndex* idx : changed)
            indexRemove(*idx, row);
        row->cells = std::move(buffer_);
        for (HashIndex* idx : changed)
            idx->map.emplace(keyOf(idx->fields, row->cells), row);
        buffer_.clear();
        state_ = State::Browse;
        if (moved)
            viewDirty_ = true;
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
    if (!current_)
        throw WorkTableError(QStringLiteral("%1: cannot perform this operation on an empty table").arg(name_).toStdString());
    Row* row = current_;
    indexRemove(row);
    view_.erase(view_.begin() + pos_);
    for (size_t i = size_t(pos_); i < view_.size(); ++i)
        view_[i]->viewPos = qsizetype(i);
    rows_.erase(std::find_if(rows_.begin(), rows_.end(), [row](const auto& r) { return r.get() == row; }));
    current_ = nullptr;
    setCurrent(pos_);
}

void WorkTable::deleteVisible()
{
    checkBrowseMode();
    ensureView();
    if (view_.empty())
        return;
    rows_.erase(std::remove_if(rows_.begin(), rows_.end(), [](const auto& r) { return r->viewPos >= 0; }),
                rows_.end());
    hashIndexes_.clear(); // rebuilt on the next locate
    view_.clear();
    current_ = nullptr;
    viewDirty_ = true;
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

WorkTable::Key WorkTable::keyOf(const std::vector<int>& fields, const std::vector<Cell>& cells) const
{
    Key key;
    for (int f : fields)
        appendKey(key, fields_[size_t(f)]->type(), cells[size_t(f)]);
    return key;
}

WorkTable::Key WorkTable::keyOfValues(const std::vector<int>& fields, const std::vector<fb::Value>& values) const
{
    Key key;
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

WorkTable::HashIndex& WorkTable::hashIndex(const std::vector<int>& fields)
{
    for (HashIndex& idx : hashIndexes_)
        if (idx.fields == fields)
            return idx;
    HashIndex& idx = hashIndexes_.emplace_back();
    idx.fields = fields;
    idx.map.reserve(rows_.size());
    for (const auto& row : rows_)
        idx.map.emplace(keyOf(fields, row->cells), row.get());
    return idx;
}

void WorkTable::indexInsert(Row* row)
{
    for (HashIndex& idx : hashIndexes_)
        idx.map.emplace(keyOf(idx.fields, row->cells), row);
}

void WorkTable::indexRemove(Row* row)
{
    for (HashIndex& idx : hashIndexes_)
        indexRemove(idx, row);
}

void WorkTable::indexRemove(HashIndex& idx, Row* row)
{
    auto range = idx.map.equal_range(keyOf(idx.fields, row->cells));
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == row) {
            idx.map.erase(it);
            break;
        }
    }
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
    HashIndex& idx = hashIndex(fields);
    auto range = idx.map.equal_range(keyOfValues(fields, values));
    Row* best = nullptr;
    for (auto it = range.first; it != range.second; ++it) {
        Row* r = it->second;
        if (r->viewPos >= 0 && (!best || r->viewPos < best->viewPos))
            best = r;
    }
    if (!best)
        return false;
    setCurrent(best->viewPos);
    return true;
}

bool WorkTable::locate(const QString& fieldNames, const std::vector<fb::Value>& values)
{
    checkBrowseMode();
    return seekFirst(fieldList(fieldNames), values);
}

void WorkTable::setIndexFieldNames(const QString& names)
{
    if (active()) {
        checkBrowseMode();
        indexFields_ = fieldList(names);
    }
    indexFieldNames_ = names;
    viewDirty_ = true;
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

void WorkTable::compileFilter()
{
    filterExpr_.reset();
    if (!filtered_ || filterText_.trimmed().isEmpty() || fields_.empty())
        return;
    std::vector<FilterExpression::FieldInfo> infos;
    for (const auto& f : fields_)
        infos.push_back({f->name(), f->type() == FieldType::Text});
    filterExpr_ = std::make_unique<FilterExpression>(filterText_, infos);
}

void WorkTable::setFilter(const QString& text)
{
    const QString old = filterText_;
    filterText_ = text;
    if (filtered_ && active()) {
        checkBrowseMode();
        try {
            compileFilter();
        } catch (...) {
            filterText_ = old;
            compileFilter();
            throw;
        }
        viewDirty_ = true;
        first();
    }
}

void WorkTable::setFiltered(bool on)
{
    if (on == filtered_)
        return;
    if (active())
        checkBrowseMode();
    filtered_ = on;
    if (active()) {
        try {
            compileFilter();
        } catch (...) {
            filtered_ = false;
            filterExpr_.reset();
            throw;
        }
        viewDirty_ = true;
        first();
    }
}

void WorkTable::setMasterSource(WorkTable* master, const QString& masterFields)
{
    master_ = master;
    masterFields_ = master ? masterFields : QString();
    viewMasterKey_.reset();
    viewDirty_ = true;
    if (active()) {
        ensureView();
        setCurrent(0);
    }
}

std::uint64_t WorkTable::bookmark() const
{
    if (!active())
        return 0;
    ensureView();
    return current_ ? current_->seq : 0;
}

bool WorkTable::gotoBookmark(std::uint64_t bookmark)
{
    checkBrowseMode();
    ensureView();
    for (Row* r : view_) {
        if (r->seq == bookmark) {
            setCurrent(r->viewPos);
            return true;
        }
    }
    return false;
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
        t->hashIndexes_.clear();
        t->view_.clear();
        t->viewDirty_ = true;
        t->current_ = nullptr;
        t->pos_ = 0;
        t->ensureView();
        t->setCurrent(0);
    }
}
