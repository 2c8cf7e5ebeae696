#pragma once

#include "calc/CalcTypes.h"

#include <QSet>
#include <QStringList>

class SqlQuery;

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

// Every table the statements read: the user the program attaches as needs
// SELECT on each (the package's read-only-user.sql grants them).
extern const QStringList kTabelasLidas;

} // namespace sourcesql

// The filters a caller sets on the source statements.
struct FiltrosFonte {
    TFiltroApenasExceto funcionarios;
    TFiltroApenasExceto setor;
    QString excetoSetoresProducao; // sectors the production stage leaves out
    bool setoresNumericos = false;  // sector codes held in whole-number columns
};

// Each statement's whole text: its fixed lines with the filters' clauses.
namespace sourcesql {
QStringList prodSetor(const FiltrosFonte& f);
QStringList corteSetor(const FiltrosFonte& f);
QStringList codCxUnitSetor(const FiltrosFonte& f);
QStringList prodExped(const FiltrosFonte& f);
} // namespace sourcesql

// Writes one of the statement trace files; the error text, or empty when written.
QString writeTraceFile(const QString& path, const QByteArray& bytes);

// The statements' trace files in the application folder, in Windows-1252
// with CR LF line ends, for a technician. One that cannot be written is
// logged and the run goes on; a file that keeps failing is logged when it
// starts and when it ends.
class ArquivosConsulta {
public:
    void setAtivo(bool ativo) { ativo_ = ativo; }
    void gravar(const SqlQuery& q, const QString& nomeArquivo);

private:
    bool ativo_ = true;
    QSet<QString> falhas_;
};
