#include "app/ExecutorGeracao.h"

#include "app/ErrorReport.h"
#include "calc/TdmMarvessa.h"
#include "data/DatabaseError.h"
#include "data/CausaFalha.h"

void ExecutorLocal::iniciar()
{
    ultima_ = {};
    try {
        if (!calc_)
            throw std::runtime_error("no calculation module");
        ultima_.dia = calc_->DataLeitura();
        calc_->GerarCdsEficiencia();
        ultima_.ok = true;
    } catch (const std::exception& e) {
        ultima_.erro = exceptionText(e);
        ultima_.causa = causaDe(e);
    }
    emit concluida(ultima_.ok, ultima_.erro);
}

Figuras ExecutorLocal::figuras(const QString& setores, const QString& funcionarios)
{
    if (!calc_)
        return {};
    return lerFiguras(*calc_, setores, funcionarios);
}
