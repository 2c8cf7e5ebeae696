#pragma once

#include <QStringList>

// The fixed lines of the statements sent to the factory database, exactly as
// the server receives them (joined by line breaks).
namespace sourcesql {

extern const QStringList kProdSetor;
extern const QStringList kCorteSetor;
extern const QStringList kCorteSetorGroupBy;
extern const QStringList kCodCxUnitSetor;
extern const QStringList kCodCxUnitSetorGroupBy;
extern const QStringList kProdExped;
extern const QString kProdTempoPrefix;
extern const QString kParam;

} // namespace sourcesql
