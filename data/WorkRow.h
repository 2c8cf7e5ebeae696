#pragma once

#include "data/Cell.h"

#include <QtGlobal>

#include <cstdint>
#include <string>
#include <vector>

enum class FieldType;

// One row of a working table: its cells, its place in the order of
// appending, and its place in the table's view (-1: not visible).
struct WorkRow {
    std::vector<Cell> cells;
    std::uint64_t seq = 0;
    qsizetype viewPos = -1;
};

// A typed binary key of cells: texts and nulls in a text field compare alike
// (an empty text finds a null), numbers by their value.
using RowKey = std::string;
void appendKey(RowKey& key, FieldType type, const Cell& c);

// Orders two cells as index fields order rows: nulls first, then texts as
// texts, numbers by value. -1, 0 or 1.
int compareCells(const Cell& a, const Cell& b);
