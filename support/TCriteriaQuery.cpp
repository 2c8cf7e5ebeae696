#include "support/TCriteriaQuery.h"

#include <QRegularExpression>

namespace {

QString toText(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

QStringList toLines(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(breaks);
    if (!lines.isEmpty() && lines.last().isEmpty() && !text.isEmpty())
        lines.removeLast(); // the break that ends the last line
    return lines;
}

int depthChange(QStringView text)
{
    return int(text.count(QLatin1Char('('))) - int(text.count(QLatin1Char(')')));
}

// A line break before the first occurrence of the keyword (exact case),
// unless it already begins a line or lies inside parentheses.
QString breakBefore(const QString& text, const QString& keyword)
{
    const qsizetype p = text.indexOf(keyword);
    if (p < 0)
        return text;
    if (p >= 2 && text.mid(p - 2, 2) == QLatin1String("\r\n"))
        return text;
    if (depthChange(QStringView(text).left(p)) != 0)
        return text;
    return text.left(p) + QStringLiteral("\r\n") + text.mid(p);
}

} // namespace

TCriteriaQuery::TCriteriaQuery(SqlConnection* connection) : SqlQuery(connection), FCriteria(this) {}

int TCriteriaQuery::ParamIndexOf(const QString& name) const
{
    for (size_t i = 0; i < FStringParams.size(); ++i)
        if (FStringParams[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void TCriteriaQuery::CollectParamNamesFrom(const QString& text)
{
    qsizetype a = text.indexOf(QLatin1Char('['));
    while (a >= 0) {
        const qsizetype b = text.indexOf(QLatin1Char(']'), a + 1);
        if (b < 0)
            return;
        const QString name = text.mid(a + 1, b - a - 1);
        if (ParamIndexOf(name) < 0)
            FStringParams.push_back({name, QString()});
        a = text.indexOf(QLatin1Char('['), b + 1);
    }
}

void TCriteriaQuery::CollectParamNames()
{
    CollectParamNamesFrom(toText(FBaseSQL));
    for (int i = 0; i < FCriteria.Count(); ++i)
        CollectParamNamesFrom(FCriteria.GetItem(i)->Criterion());
}

std::unique_ptr<TCriteria> TCriteriaQuery::EnabledCriteria()
{
    auto enabled = std::make_unique<TCriteria>(this);
    for (int i = 0; i < FCriteria.Count(); ++i)
        if (FCriteria.GetItem(i)->Enabled())
            enabled->Add()->Assign(*FCriteria.GetItem(i));
    return enabled;
}

int TCriteriaQuery::FindKeywordLine(const QStringList& lines, const QString& keyword)
{
    int depth = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        for (qsizetype at = line.indexOf(keyword, 0, Qt::CaseInsensitive); at >= 0;
             at = line.indexOf(keyword, at + 1, Qt::CaseInsensitive)) {
            if (depth + depthChange(QStringView(line).left(at)) == 0)
                return i;
        }
        depth += depthChange(line);
    }
    return -1;
}

void TCriteriaQuery::MergeCriteria()
{
    CollectParamNames();
    const std::unique_ptr<TCriteria> enabled = EnabledCriteria();
    QStringList lines = FBaseSQL;
    struct Store {
        TCriteriaQuery* q;
        QStringList& lines;
        ~Store() { q->sql() = lines; } // what was built so far, even after a failure
    } store{this, lines};

    if (enabled->Count() > 0) {
        for (const char* keyword : {"WHERE", "GROUP BY", "ORDER BY"})
            lines = toLines(breakBefore(toText(lines), QString::fromLatin1(keyword)));
        int where = toText(lines).contains(QLatin1String("WHERE")) ? FindKeywordLine(lines, QStringLiteral("WHERE")) : -1;
        int i = 0;
        if (where >= 0) {
            i = where + 1;
        } else {
            // No WHERE of the statement's own: one goes before GROUP BY or
            // ORDER BY, or at the end.
            i = FindKeywordLine(lines, QStringLiteral("GROUP BY"));
            if (i < 0)
                i = FindKeywordLine(lines, QStringLiteral("ORDER BY"));
            if (i < 0)
                i = int(lines.size());
            lines.insert(i, QStringLiteral("WHERE"));
            ++i;
        }
        for (int c = 0; c < enabled->Count(); ++c) {
            QString line = QStringLiteral("       ") + enabled->GetItem(c)->Criterion();
            if (c + 1 < enabled->Count())
                line += QStringLiteral(" AND ");
            lines.insert(i++, line);
        }
    }
    for (const TStringParam& p : FStringParams)
        lines = toLines(toText(lines).replace(QLatin1Char('[') + p.Name + QLatin1Char(']'), p.Value));
}
