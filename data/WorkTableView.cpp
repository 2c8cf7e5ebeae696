// The view side of a working table: which rows are visible (filter and
// master link), in what order, and the cursor over them.
#include "data/WorkTable.h"

#include "data/FilterExpression.h"

std::optional<RowKey> WorkTable::masterKey() const
{
    if (!master_ || indexFields_.empty())
        return std::nullopt;
    WorkField* mf = master_->findField(masterFields_.section(QLatin1Char(';'), 0, 0).trimmed());
    if (!mf || !master_->active())
        return RowKey(); // no master row: nothing is visible
    master_->ensureView();
    if (!master_->view_.current() && master_->state_ != State::Insert)
        return RowKey();
    RowKey key;
    appendKey(key, fields_[size_t(indexFields_[0])]->type(), master_->readCell(mf->index()));
    return key;
}

bool WorkTable::visible(const Row& row) const
{
    if (filtered_ && filterExpr_ && !filterExpr_->matches(row.cells))
        return false;
    if (master_ && !indexFields_.empty()) {
        RowKey key;
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
            view_.markDirty();
            view_.forget(); // a new master row starts on the first detail row
        }
    }
    if (view_.dirty())
        view_.rebuild(rows_, [this](const Row& row) { return visible(row); }, indexFields_);
}

void WorkTable::first()
{
    checkBrowseMode();
    ensureView();
    view_.setCurrent(0);
}

void WorkTable::last()
{
    checkBrowseMode();
    ensureView();
    view_.setCurrent(qsizetype(view_.count()) - 1);
}

void WorkTable::next()
{
    checkBrowseMode();
    ensureView();
    view_.next();
}

void WorkTable::prior()
{
    checkBrowseMode();
    ensureView();
    view_.prior();
}

bool WorkTable::eof() const
{
    if (!active())
        return true;
    ensureView();
    return view_.eof();
}

bool WorkTable::bof() const
{
    if (!active())
        return true;
    ensureView();
    return view_.bof();
}

int WorkTable::recordCount() const
{
    requireActive();
    ensureView();
    return view_.count();
}

int WorkTable::recNo() const
{
    if (!active())
        return 0;
    ensureView();
    return view_.current() ? int(view_.pos()) + 1 : 0;
}

void WorkTable::setIndexFieldNames(const QString& names)
{
    if (active()) {
        checkBrowseMode();
        indexFields_ = fieldList(names);
    }
    indexFieldNames_ = names;
    view_.markDirty();
}

void WorkTable::compileFilter()
{
    filterExpr_.reset();
    if (!filtered_ || filterText_.trimmed().isEmpty() || fields_.empty())
        return;
    std::vector<FilterExpression::FieldInfo> infos;
    for (const auto& f : fields_)
        infos.push_back({f->name(), f->type() == FieldType::Text, f->byValue});
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
        view_.markDirty();
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
        view_.markDirty();
        first();
    }
}

void WorkTable::setMasterSource(WorkTable* master, const QString& masterFields)
{
    master_ = master;
    masterFields_ = master ? masterFields : QString();
    viewMasterKey_.reset();
    view_.markDirty();
    if (active()) {
        ensureView();
        view_.setCurrent(0);
    }
}

std::uint64_t WorkTable::bookmark() const
{
    if (!active())
        return 0;
    ensureView();
    return view_.current() ? view_.current()->seq : 0;
}

bool WorkTable::gotoBookmark(std::uint64_t bookmark)
{
    checkBrowseMode();
    ensureView();
    for (Row* r : view_.rows()) {
        if (r->seq == bookmark) {
            view_.setCurrent(r->viewPos);
            return true;
        }
    }
    return false;
}
