#pragma once

#include "data/WorkRow.h"

#include <functional>
#include <memory>
#include <vector>

// The visible rows of a working table, in order, and the cursor over them.
// The view is rebuilt when a change may have moved rows (dirty); the cursor
// keeps its row across a rebuild while the row stays visible.
class RowView {
public:
    bool dirty() const { return dirty_; }
    void markDirty() { dirty_ = true; }
    // The rows that pass visible, ordered by the index fields (stable: equal
    // keys keep the order of appending).
    void rebuild(const std::vector<std::unique_ptr<WorkRow>>& rows, const std::function<bool(const WorkRow&)>& visible,
                 const std::vector<int>& indexFields);
    // An appended row at the end of an unordered, unfiltered view.
    void appendVisible(WorkRow* row);
    // Takes a visible row out, keeping the places of those after it.
    void erase(WorkRow* row);
    void clear();

    const std::vector<WorkRow*>& rows() const { return rows_; }
    int count() const { return int(rows_.size()); }

    // The cursor.
    WorkRow* current() const { return current_; }
    qsizetype pos() const { return pos_; }
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    // Stands on the row at pos, held within the view; none when it is empty.
    void setCurrent(qsizetype pos);
    // Stands on a row just appended; its place is known once it is in the
    // view (at once for appendVisible, else after the next rebuild).
    void standOn(WorkRow* row);
    // Forgets the current row: the next rebuild stands on pos.
    void forget(qsizetype pos = 0);
    void next();
    void prior();

private:
    std::vector<WorkRow*> rows_;
    bool dirty_ = true;
    WorkRow* current_ = nullptr;
    qsizetype pos_ = 0;
    bool eof_ = true;
    bool bof_ = true;
};
