#pragma once

#include "data/SqlQuery.h"
#include "support/Criteria.h"

#include <QStringList>

#include <memory>
#include <vector>

// An SQL query whose statement is its base statement with the enabled
// criteria merged into the WHERE clause and its [Name] markers replaced by
// the values of its string parameters.
class TCriteriaQuery : public SqlQuery {
public:
    explicit TCriteriaQuery(SqlConnection* connection = nullptr);

    QStringList& BaseSQL() { return FBaseSQL; }
    TCriteria& Criteria() { return FCriteria; }
    std::vector<TStringParam>& StringParams() { return FStringParams; }
    QString StringParamDisplayName(int position) const
    {
        return itemDisplayName(FStringParams.at(size_t(position)).Name, position);
    }

    // Rebuilds sql() from the base statement, the criteria and the parameters.
    void MergeCriteria();
    void CollectParamNames();
    void CollectParamNamesFrom(const QString& text);
    // Copies of the enabled criteria, in order.
    std::unique_ptr<TCriteria> EnabledCriteria();
    // The line of the statement's own (outermost) keyword: the first line
    // holding the keyword, without regard to case, where no parenthesis is
    // open before it; -1 when there is none.
    static int FindKeywordLine(const QStringList& lines, const QString& keyword);
    int ParamIndexOf(const QString& name) const;

private:
    QStringList FBaseSQL;
    TCriteria FCriteria;
    std::vector<TStringParam> FStringParams;
};
