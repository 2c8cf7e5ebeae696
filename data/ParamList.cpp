#include "data/ParamList.h"

qsizetype ParamList::indexOf(const QString& name) const
{
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        const QString& e = entries_[i];
        qsizetype eq = e.indexOf(QLatin1Char('='));
        QString entryName = eq < 0 ? e : e.left(eq);
        if (entryName.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void ParamList::setValue(const QString& name, const QString& value)
{
    qsizetype i = indexOf(name);
    if (value.isEmpty()) {
        if (i >= 0)
            entries_.removeAt(i);
        return;
    }
    QString entry = name + QLatin1Char('=') + value;
    if (i >= 0)
        entries_[i] = entry;
    else
        entries_.append(entry);
}

std::optional<QString> ParamList::value(const QString& name) const
{
    qsizetype i = indexOf(name);
    if (i < 0)
        return std::nullopt;
    const QString& e = entries_[i];
    qsizetype eq = e.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : e.mid(eq + 1);
}
