#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TCriteria;

// One optional SQL condition of a criteria query.
class TCriterionItem {
public:
    explicit TCriterionItem(TCriteria* collection = nullptr) : FCollection(collection) {}

    bool Enabled() const { return FEnabled; }
    void setEnabled(bool v) { FEnabled = v; }
    const QString& Name() const { return FName; }
    // Stores the name with blanks and control characters trimmed from both ends.
    void setName(const QString& v);
    const QString& Criterion() const { return FCriterion; }
    void setCriterion(const QString& v) { FCriterion = v; }

    // Name, or "Item %d" with the position in the collection when unnamed.
    QString DisplayName() const;
    // Copies Name (untrimmed), Enabled and Criterion.
    void Assign(const TCriterionItem& source);

private:
    friend class TCriteria;
    TCriteria* FCollection;
    bool FEnabled = true;
    QString FName;
    QString FCriterion;
};

// The criteria of a query, in merge order.
class TCriteria {
public:
    explicit TCriteria(void* owner = nullptr) : FOwner(owner) {}
    TCriteria(const TCriteria&) = delete;
    TCriteria& operator=(const TCriteria&) = delete;

    void* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TCriterionItem* Add();
    TCriterionItem* Insert(int position);
    // The first criterion whose name equals the argument without regard to case.
    TCriterionItem* criterionByName(const QString& name) const;
    TCriterionItem* GetItem(int position) const { return FItems.at(size_t(position)).get(); }
    void SetItem(int position, const TCriterionItem& value) { GetItem(position)->Assign(value); }
    int IndexOf(const TCriterionItem* item) const;

private:
    void* FOwner;
    std::vector<std::unique_ptr<TCriterionItem>> FItems;
};

// A named text parameter of a criteria query: [Name] in the statement is
// replaced by Value, as raw SQL text.
class TStringParam {
public:
    QString Name;
    QString Value;
};

// Display name of a collection item: its name, or "Item %d" with its position.
QString itemDisplayName(const QString& name, int position);
