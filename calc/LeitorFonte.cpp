#include "calc/LeitorFonte.h"

#include "data/DatabaseError.h"
#include "data/FbValue.h"
#include "data/SqlQuery.h"

#include <cstring>
#include <limits>

namespace {

const fb::Value& coluna(SqlQuery& q, const char* nome)
{
    static const fb::Value nenhuma;
    return nome ? q.value(q.columnIndex(QString::fromLatin1(nome))) : nenhuma;
}

bool igual(const QString& a, const QString& b)
{
    return a.size() == b.size() &&
           (a.constData() == b.constData() ||
            std::memcmp(a.constData(), b.constData(), size_t(a.size()) * sizeof(QChar)) == 0);
}

} // namespace

// The values are the query's own objects, the same from row to row.
LeitorFonte::LeitorFonte(SqlQuery& q, const ColunasFonte& c)
    : date_(coluna(q, c.dateTime)), setor_(coluna(q, c.setor)), funcionario_(coluna(q, c.funcionario)),
      qtde_(coluna(q, c.qtde)), prod_(coluna(q, c.prod)), hora_(coluna(q, c.horaSaida)), tempo_(coluna(q, "TEMPO")),
      nomeSetor_(coluna(q, "NOME_SETOR")), ordem_(coluna(q, "ORDEM_SETOR")),
      nomeFuncionario_(coluna(q, "NOME_FUNCIONARIO")), prog_(coluna(q, c.prog)), ficha_(coluna(q, c.ficha)),
      temTicket_(c.prog != nullptr)
{
}

const RegistroFonte& LeitorFonte::ler()
{
    const std::int64_t ordem = ordem_.asInteger();
    if (ordem < std::numeric_limits<std::int32_t>::min() || ordem > std::numeric_limits<std::int32_t>::max())
        throw fb::ConversionError("ORDEM_SETOR out of range for an integer");
    r_.ordem = std::int32_t(ordem);
    r_.dateTime = date_.asDateTime();
    r_.qtde = qtde_.asFloat();
    r_.tempo = tempo_.asFloat();
    r_.setor = &setor_.asText(texto_[0]);
    r_.funcionario = &funcionario_.asText(texto_[1]);
    r_.prod = &prod_.asText(texto_[2]);
    r_.horaSaida = &hora_.asText(texto_[3]);
    r_.nomeSetor = &nomeSetor_.asText(texto_[4]);
    r_.nomeFuncionario = &nomeFuncionario_.asText(texto_[5]);
    return r_;
}

QString LeitorFonte::ticket() const
{
    return temTicket_ ? prog_.asText() + QLatin1Char('/') + ficha_.asText() : QString();
}

std::int32_t RegistrosGuardados::numero(int coluna, const QString& texto)
{
    // Records come in runs of the same sector and employee: the column's
    // last text is looked at first.
    std::int32_t& ultimo = ultimo_[coluna];
    if (ultimo >= 0 && igual(textos_[size_t(ultimo)], texto))
        return ultimo;
    auto it = numeros_.constFind(texto);
    if (it == numeros_.cend()) {
        it = numeros_.insert(texto, std::int32_t(textos_.size()));
        textos_.push_back(texto);
    }
    return ultimo = it.value();
}

void RegistrosGuardados::guardar(const RegistroFonte& r, const QString& ticket)
{
    Registro g{r.dateTime, r.qtde, r.tempo, r.ordem, {}};
    const QString* campos[6] = {r.setor, r.funcionario, r.prod, r.horaSaida, r.nomeSetor, r.nomeFuncionario};
    for (int c = 0; c < 6; ++c)
        g.texto[c] = numero(c, *campos[c]);
    if (!ticket.isEmpty())
        tickets_.emplace_back(registros_.size(), ticket);
    registros_.push_back(g);
}
