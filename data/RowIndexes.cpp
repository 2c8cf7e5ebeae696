#include "data/RowIndexes.h"

#include "data/WorkField.h"

RowKey RowIndexes::keyOf(const std::vector<int>& fields, const std::vector<Cell>& cells) const
{
    RowKey key;
    for (int f : fields)
        appendKey(key, types_[size_t(f)], cells[size_t(f)]);
    return key;
}

const RowIndexes::Map& RowIndexes::index(const std::vector<int>& fields,
                                         const std::vector<std::unique_ptr<WorkRow>>& rows)
{
    for (HashIndex& idx : indexes_)
        if (idx.fields == fields)
            return idx.map;
    HashIndex& idx = indexes_.emplace_back();
    idx.fields = fields;
    idx.map.reserve(rows.size());
    for (const auto& row : rows)
        idx.map.emplace(keyOf(fields, row->cells), row.get());
    return idx.map;
}

void RowIndexes::insert(WorkRow* row)
{
    for (HashIndex& idx : indexes_)
        idx.map.emplace(keyOf(idx.fields, row->cells), row);
}

void RowIndexes::remove(WorkRow* row)
{
    for (HashIndex& idx : indexes_)
        remove(idx, row);
}

void RowIndexes::remove(HashIndex& idx, WorkRow* row)
{
    auto range = idx.map.equal_range(keyOf(idx.fields, row->cells));
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == row) {
            idx.map.erase(it);
            break;
        }
    }
}

std::vector<int> RowIndexes::leaveChanged(WorkRow* row, const std::vector<Cell>& novas)
{
    // Only the indexes whose fields change are touched.
    std::vector<int> changed;
    for (size_t i = 0; i < indexes_.size(); ++i) {
        for (int f : indexes_[i].fields) {
            if (compareCells(row->cells[size_t(f)], novas[size_t(f)]) != 0 ||
                row->cells[size_t(f)].index() != novas[size_t(f)].index()) {
                changed.push_back(int(i));
                break;
            }
        }
    }
    for (int i : changed)
        remove(indexes_[size_t(i)], row);
    return changed;
}

void RowIndexes::reinsert(WorkRow* row, const std::vector<int>& which)
{
    for (int i : which)
        indexes_[size_t(i)].map.emplace(keyOf(indexes_[size_t(i)].fields, row->cells), row);
}
