#pragma once

#include "data/WorkTable.h"

#include <cstdint>

class TCriteriaQuery;

// A working table that reads its rows through a criteria query.
class TCriteriaDataSet : public WorkTable {
public:
    explicit TCriteriaDataSet(TCriteriaQuery* query = nullptr);
    TCriteriaQuery* CriteriaQuery() const { return FCriteriaQuery; }
    void setCriteriaQuery(TCriteriaQuery* query);

    // One stored row position; 0 when none.
    std::uint64_t SavedBookmark = 0;

private:
    TCriteriaQuery* FCriteriaQuery = nullptr;
};

// Refresh of a criteria dataset: keep the current row, merge the criteria
// again, and come back to the row after reopening.
void GuardarPosicao(TCriteriaDataSet& dataSet);
void AplicarCriterios(TCriteriaDataSet& dataSet);
// Fails when the stored row cannot be reached.
void RestaurarPosicao(TCriteriaDataSet& dataSet);
