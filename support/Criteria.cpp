#include "support/Criteria.h"

namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 32;
}

} // namespace

QString itemDisplayName(const QString& name, int position)
{
    return name.isEmpty() ? QStringLiteral("Item %1").arg(position) : name;
}

void TCriterionItem::setName(const QString& v)
{
    qsizetype start = 0, end = v.size();
    while (start < end && isBlankOrControl(v[start]))
        ++start;
    while (end > start && isBlankOrControl(v[end - 1]))
        --end;
    FName = v.mid(start, end - start);
}

QString TCriterionItem::DisplayName() const
{
    return itemDisplayName(FName, FCollection ? FCollection->IndexOf(this) : 0);
}

void TCriterionItem::Assign(const TCriterionItem& source)
{
    FName = source.FName;
    FEnabled = source.FEnabled;
    FCriterion = source.FCriterion;
}

TCriterionItem* TCriteria::Add()
{
    FItems.push_back(std::make_unique<TCriterionItem>(this));
    return FItems.back().get();
}

TCriterionItem* TCriteria::Insert(int position)
{
    position = std::clamp(position, 0, Count());
    auto it = FItems.insert(FItems.begin() + position, std::make_unique<TCriterionItem>(this));
    return it->get();
}

TCriterionItem* TCriteria::criterionByName(const QString& name) const
{
    for (const auto& item : FItems)
        if (item->Name().compare(name, Qt::CaseInsensitive) == 0)
            return item.get();
    return nullptr;
}

int TCriteria::IndexOf(const TCriterionItem* item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item)
            return int(i);
    return -1;
}
