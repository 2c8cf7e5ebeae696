#include "support/URotinas.h"

#include "support/TCriteriaQuery.h"

TCriteriaDataSet::TCriteriaDataSet(TCriteriaQuery* query)
{
    setCriteriaQuery(query);
}

void TCriteriaDataSet::setCriteriaQuery(TCriteriaQuery* query)
{
    FCriteriaQuery = query;
    setSource(query);
}

void GuardarPosicao(TCriteriaDataSet& dataSet)
{
    dataSet.SavedBookmark = dataSet.bookmark();
}

void AplicarCriterios(TCriteriaDataSet& dataSet)
{
    if (dataSet.CriteriaQuery())
        dataSet.CriteriaQuery()->MergeCriteria();
}

void RestaurarPosicao(TCriteriaDataSet& dataSet)
{
    if (dataSet.SavedBookmark == 0)
        return;
    if (!dataSet.gotoBookmark(dataSet.SavedBookmark))
        throw WorkTableError(QStringLiteral("%1: Record not found").arg(dataSet.name()).toStdString());
}
