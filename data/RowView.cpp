#include "data/RowView.h"

#include <algorithm>

void RowView::rebuild(const std::vector<std::unique_ptr<WorkRow>>& rows,
                      const std::function<bool(const WorkRow&)>& visible, const std::vector<int>& indexFields)
{
    rows_.clear();
    for (const auto& row : rows) {
        row->viewPos = -1;
        if (visible(*row))
            rows_.push_back(row.get());
    }
    if (!indexFields.empty()) {
        std::stable_sort(rows_.begin(), rows_.end(), [&indexFields](const WorkRow* a, const WorkRow* b) {
            for (int f : indexFields) {
                int c = compareCells(a->cells[size_t(f)], b->cells[size_t(f)]);
                if (c != 0)
                    return c < 0;
            }
            return false;
        });
    }
    for (size_t i = 0; i < rows_.size(); ++i)
        rows_[i]->viewPos = qsizetype(i);
    dirty_ = false;
    const bool wasEof = eof_ && current_;
    if (current_ && current_->viewPos >= 0) {
        pos_ = current_->viewPos;
        current_ = rows_[size_t(pos_)];
        bof_ = false;
        eof_ = wasEof;
    } else {
        setCurrent(pos_);
    }
}

void RowView::appendVisible(WorkRow* row)
{
    row->viewPos = qsizetype(rows_.size());
    rows_.push_back(row);
}

void RowView::erase(WorkRow* row)
{
    rows_.erase(rows_.begin() + row->viewPos);
    for (size_t i = size_t(row->viewPos); i < rows_.size(); ++i)
        rows_[i]->viewPos = qsizetype(i);
    row->viewPos = -1;
}

void RowView::clear()
{
    rows_.clear();
    dirty_ = true;
    current_ = nullptr;
    pos_ = 0;
    eof_ = bof_ = true;
}

void RowView::setCurrent(qsizetype pos)
{
    if (rows_.empty()) {
        current_ = nullptr;
        pos_ = 0;
        eof_ = bof_ = true;
        return;
    }
    pos_ = std::clamp<qsizetype>(pos, 0, qsizetype(rows_.size()) - 1);
    current_ = rows_[size_t(pos_)];
    eof_ = bof_ = false;
}

void RowView::standOn(WorkRow* row)
{
    current_ = row;
    eof_ = bof_ = false;
    if (row->viewPos >= 0)
        pos_ = row->viewPos;
}

void RowView::forget(qsizetype pos)
{
    current_ = nullptr;
    pos_ = pos;
}

void RowView::next()
{
    if (eof_ || !current_)
        return;
    bof_ = false;
    if (pos_ + 1 < qsizetype(rows_.size()))
        setCurrent(pos_ + 1);
    else
        eof_ = true;
}

void RowView::prior()
{
    if (bof_ || !current_)
        return;
    eof_ = false;
    if (pos_ > 0)
        setCurrent(pos_ - 1);
    else
        bof_ = true;
}
