#include "app/LeituraFontes.h"

#include "calc/SourceStatements.h"
#include "data/DatabaseError.h"
#include "data/SqlConnection.h"
#include "data/SqlQuery.h"

QStringList tabelasSemLeitura(SqlConnection& con)
{
    QStringList negadas;
    for (const QString& tabela : sourcesql::kTabelasLidas) {
        SqlQuery q(&con);
        q.sql() = QStringList{QStringLiteral("select count(*) from %1 where 1 = 0").arg(tabela)};
        try {
            q.open();
            q.close();
        } catch (const fb::DatabaseError& e) {
            if (e.causa() != CausaFalha::SemPermissao)
                throw;
            negadas << tabela;
        }
    }
    return negadas;
}
