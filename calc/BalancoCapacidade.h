#pragma once

#include "calc/CalcTypes.h"
#include "calc/TCalcExpediente.h"
#include "calc/TdmMarvessa.h"
#include "data/WorkTable.h"

#include <cstdint>
#include <memory>

// The sector capacity balance, for calling programs: available staff minutes
// over a number of days against the standard minutes of a product list, per
// sector and start day. It reads the shifts and the product times through
// the calculation module's statements (and sets its period), and keeps
// nothing of the efficiency figures.
class BalancoCapacidade {
public:
    explicit BalancoCapacidade(TdmMarvessa& fontes);
    BalancoCapacidade(const BalancoCapacidade&) = delete;
    BalancoCapacidade& operator=(const BalancoCapacidade&) = delete;

    WorkTable cdsSetorData;
    WorkField *cdsSetorData_COD_SETOR, *cdsSetorData_NOME_SETOR, *cdsSetorData_DATA_SETOR, *cdsSetorData_EXPEDIENTE,
        *cdsSetorData_QTDE_FUNC, *cdsSetorData_TOT_MIN_EXPED, *cdsSetorData_MIN_HE, *cdsSetorData_QTDE_FUNC_HE,
        *cdsSetorData_TOT_MIN_HE, *cdsSetorData_TOT_MIN_DISP, *cdsSetorData_QTDE_PRODUCAO, *cdsSetorData_TEMPO_NECES,
        *cdsSetorData_SALDO_TEMPO, *cdsSetorData_PESSOAL_NECES, *cdsSetorData_SALDO_PESSOAL, *cdsSetorData_QTDE_DIAS;
    // The products of each sector row, linked to it by the sector.
    WorkTable cdsSetorProdTempo;
    WorkField *cdsSetorProdTempo_SETOR, *cdsSetorProdTempo_PROD, *cdsSetorProdTempo_TEMPO, *cdsSetorProdTempo_QTDE,
        *cdsSetorProdTempo_TEMPO_POR_PAR;
    TDataSource dtsSetorData;

    // What the caller describes: its sector-day table, its product list and
    // their field names.
    TRegCalcTempoProd* RegCalcTempoProd() const { return FRegCalcTempoProd.get(); }

    // The balance of the source that RegCalcTempoProd describes; a gap in
    // the description is said in a message box, and nothing changes.
    void GerarCdsSetorData();
    // Recomputes the derived fields of the current cdsSetorData row (in edit
    // or append state).
    void RecalcTempo();
    bool GerandoCdsSetorData() const { return FGerandoCdsSetorData; }

private:
    void declararCampos();
    void cdsSetorData_CamposTempoChange(WorkField& Sender);
    bool ValidarRegCalcTempoProd();
    QString getListaProdutos();
    void ProcessarSetorData();
    void ObterPeriodoSetorData();
    void GerarLinhaSetorData();
    bool LocalizarExpediente(std::int32_t Dia, double& Cursor, const QString& Setor);
    void GerarProdutosSetor(const QString& Setor);
    double getPessoalNecessario();
    double getSaldoPessoal();

    TdmMarvessa& FFontes;
    std::unique_ptr<TRegCalcTempoProd> FRegCalcTempoProd = std::make_unique<TRegCalcTempoProd>();
    bool FGerandoCdsSetorData = false;
    // The shift-time calculator, during a balance only.
    std::unique_ptr<TCalcExpediente> FCalcExpediente;
};
