#pragma once

#include "data/Cell.h"
#include "data/FbValue.h"
#include "data/RowIndexes.h"
#include "data/RowView.h"
#include "data/WorkField.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

class FilterExpression;
class SqlQuery;

class WorkTableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An in-memory table of typed, named fields. A built table gets its fields
// declared and is created empty; a fetched table takes its fields and rows
// from a statement when opened. Rows keep the order in which they were
// appended unless index fields set another. Locate and find key go through
// hash indexes kept up to date on every change, and answer as a scan of the
// visible rows would: the first matching row in the current order.
//
// The table keeps the rows (in the order of appending) and its settings;
// RowIndexes holds the hash indexes and RowView the visible rows in order
// with the cursor.
class WorkTable {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit WorkTable(const QString& name = {});
    ~WorkTable();
    WorkTable(const WorkTable&) = delete;
    WorkTable& operator=(const WorkTable&) = delete;

    const QString& name() const { return name_; }

    // Definition of a built table; fields may only be added while closed.
    WorkField& addField(const QString& name, FieldType type, int size = 0);
    void createDataSet();
    void setLogChanges(bool on) { logChanges_ = on; }
    bool logChanges() const { return logChanges_; }

    // Fetched table: opening runs the statement and copies every row.
    void setSource(SqlQuery* source) { source_ = source; }
    SqlQuery* source() const { return source_; }

    void open();
    // A fetched table read a row at a time: each row of the statement, in
    // its order, stands as the table's only row while eachRow runs, and is
    // dropped after. The table is left open and empty.
    void openEach(const std::function<void()>& eachRow);
    void close();
    bool active() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    // Navigation over the visible rows.
    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;
    int recordCount() const;
    // 1-based position of the current row among the visible ones; 0 when none.
    int recNo() const;
    bool isEmpty() const { return recordCount() == 0; }

    void append();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Deletes every visible row (first, then delete until the end).
    void deleteVisible();

    WorkField& fieldByName(const QString& name) const;
    WorkField* findField(const QString& name) const;
    const std::vector<std::unique_ptr<WorkField>>& fields() const { return fields_; }

    bool locate(const QString& fieldNames, const std::vector<fb::Value>& values);

    void setIndexFieldNames(const QString& names);
    const QString& indexFieldNames() const { return indexFieldNames_; }
    bool findKey(const std::vector<fb::Value>& values);

    void setFilter(const QString& text);
    const QString& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    // Master link: only the rows whose leading index field equals the master
    // field of the master's current row are visible, following the master.
    void setMasterSource(WorkTable* master, const QString& masterFields);
    WorkTable* masterSource() const { return master_; }
    const QString& masterFields() const { return masterFields_; }

    // Exchanges the rows of two tables of the same layout; both stand on
    // their first row afterwards. Filters, index fields and links stay with
    // their table.
    void swapRows(WorkTable& other);

    // Takes every row out (in the order of appending), leaving the table
    // empty and open; the rows keep their cells. appendRow() gives one back,
    // to this table or one of the same layout, as append() and post() would
    // have made it: no cell is copied.
    std::vector<std::unique_ptr<WorkRow>> takeRows();
    void appendRow(std::unique_ptr<WorkRow> row);

    // A bookmark of the current row (0 when there is none): the row's place in
    // the order of appending, so a fetched table reopened on the same rows
    // finds the same row again.
    std::uint64_t bookmark() const;
    bool gotoBookmark(std::uint64_t bookmark);

private:
    friend class WorkField;
    using Row = WorkRow;

    const Cell& readCell(int field) const;
    void writeCell(int field, Cell c);
    void requireActive() const;
    void checkBrowseMode();
    void ensureView() const;
    bool visible(const Row& row) const;
    RowKey keyOfValues(const std::vector<int>& fields, const std::vector<fb::Value>& values) const;
    const std::vector<int>& fieldList(const QString& names) const;
    bool seekFirst(const std::vector<int>& fields, const std::vector<fb::Value>& values);
    std::optional<RowKey> masterKey() const;
    void clearRows();
    // Opening a fetched table: the statement run and the fields made from
    // its columns; the field's column for each field; one row of the
    // statement's current values; the state of an open table.
    void openSource();
    std::vector<int> sourceColumns() const;
    std::unique_ptr<WorkRow> rowFromSource(const std::vector<int>& from);
    void finishOpen();
    // A new row at the end: numbered, indexed and in the view.
    void adopt(std::unique_ptr<Row> owned);
    void compileFilter();

    QString name_;
    std::vector<std::unique_ptr<WorkField>> fields_;
    std::vector<FieldType> types_; // of fields_, by number
    SqlQuery* source_ = nullptr;
    bool logChanges_ = true;
    State state_ = State::Inactive;

    std::vector<std::unique_ptr<Row>> rows_;
    std::uint64_t nextSeq_ = 1;
    std::vector<Cell> buffer_;
    RowIndexes indexes_{types_};
    mutable std::unordered_map<QString, std::vector<int>> fieldLists_;

    QString indexFieldNames_;
    std::vector<int> indexFields_;
    QString filterText_;
    bool filtered_ = false;
    std::unique_ptr<FilterExpression> filterExpr_;
    WorkTable* master_ = nullptr;
    QString masterFields_;

    mutable RowView view_;
    mutable std::optional<RowKey> viewMasterKey_;
};
