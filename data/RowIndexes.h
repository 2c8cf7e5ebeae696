#pragma once

#include "data/WorkRow.h"

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

// The hash indexes of a working table's rows, one per list of fields that a
// lookup has asked for: made on first use, kept up to date on every change.
class RowIndexes {
public:
    using Map = std::unordered_multimap<RowKey, WorkRow*>;

    // The fields' types, by field number; the table owns them.
    explicit RowIndexes(const std::vector<FieldType>& types) : types_(types) {}

    RowKey keyOf(const std::vector<int>& fields, const std::vector<Cell>& cells) const;
    // The index of these fields, made from rows when it does not exist yet.
    const Map& index(const std::vector<int>& fields, const std::vector<std::unique_ptr<WorkRow>>& rows);

    void insert(WorkRow* row);
    void remove(WorkRow* row);
    // Before a row's cells change to novas: it leaves the indexes whose
    // fields change; reinsert() puts it back into them once changed.
    std::vector<int> leaveChanged(WorkRow* row, const std::vector<Cell>& novas);
    void reinsert(WorkRow* row, const std::vector<int>& which);
    void clear() { indexes_.clear(); }

private:
    struct HashIndex {
        std::vector<int> fields;
        Map map;
    };
    void remove(HashIndex& idx, WorkRow* row);

    const std::vector<FieldType>& types_;
    std::vector<HashIndex> indexes_;
};
