#include "calc/TdmMarvessa.h"
#include "calc/BuscaParalela.h"

#include "calc/CamposSetorFunc.h"
#include "data/SqlConnection.h"

#include <iterator>

TdmMarvessa* dmMarvessa = nullptr;

TdmMarvessa::TdmMarvessa()
    : cdsProdExped("cdsProdExped"),
      cdsOperacaoSetor("cdsOperacaoSetor"),
      cdsSetorAg("cdsSetorAg"),
      cdsProdTempo("cdsProdTempo"),
      cdsTempoSetor("cdsTempoSetor"),
      cdsSetores("cdsSetores"),
      cdsSetorFunc("cdsSetorFunc")
{
    // Design-time set-up: fixed statement texts, providers, links.
    sqlOperacaoSetor.sql() << QStringLiteral("select * from PRODUCAO_OPERACAO_SETOR")
                           << QStringLiteral("order by OPERACAO_PS, SETOR_PS");
    sqlSetorAg.sql() << QStringLiteral("select s.cod_se, s.setor_agrup_se from setor s");

    dspProdExped.DataSet = &sqlProdExped;
    dspOperacaoSetor.DataSet = &sqlOperacaoSetor;
    dspSetorAg.DataSet = &sqlSetorAg;
    dspProdTempo.DataSet = &sqlProdTempo;
    cdsProdExped.setSource(dspProdExped.DataSet);
    cdsOperacaoSetor.setSource(dspOperacaoSetor.DataSet);
    cdsSetorAg.setSource(dspSetorAg.DataSet);
    cdsSetorAg.setIndexFieldNames(QStringLiteral("COD_SE"));
    cdsProdTempo.setSource(dspProdTempo.DataSet);

    declareFields();

    DataModuleCreate();
}

TdmMarvessa::~TdmMarvessa()
{
    DataModuleDestroy();
    if (dmMarvessa == this)
        dmMarvessa = nullptr;
}

void TdmMarvessa::declareFields()
{
    auto date = FieldType::Date;
    auto text = FieldType::Text;
    auto integer = FieldType::Integer;
    auto real = FieldType::Float;

    WorkTable& ts = cdsTempoSetor;
    cdsTempoSetorDATA = &ts.addField(QStringLiteral("DATA"), date);
    cdsTempoSetorSETOR = &ts.addField(QStringLiteral("SETOR"), text, 2);
    cdsTempoSetorFUNCIONARIO = &ts.addField(QStringLiteral("FUNCIONARIO"), text, 3);
    cdsTempoSetorNOME_FUNCIONARIO = &ts.addField(QStringLiteral("NOME_FUNCIONARIO"), text, 60);
    cdsTempoSetorTEMPO_TOT = &ts.addField(QStringLiteral("TEMPO_TOT"), real);
    cdsTempoSetorTEMPO_TOT_HE = &ts.addField(QStringLiteral("TEMPO_TOT_HE"), real);
    cdsTempoSetorMINUTOS_EXPEDIENTE = &ts.addField(QStringLiteral("MINUTOS_EXPEDIENTE"), integer);
    cdsTempoSetorMINUTOS_EXTRAS = &ts.addField(QStringLiteral("MINUTOS_EXTRAS"), integer);
    cdsTempoSetorMINUTOS_INATIVO = &ts.addField(QStringLiteral("MINUTOS_INATIVO"), integer);
    cdsTempoSetorQTDE_FUNCIONARIOS = &ts.addField(QStringLiteral("QTDE_FUNCIONARIOS"), integer);
    cdsTempoSetorQTDE_FUNCIONARIOS_HE = &ts.addField(QStringLiteral("QTDE_FUNCIONARIOS_HE"), integer);
    cdsTempoSetorPERC_EFICIENCIA = &ts.addField(QStringLiteral("PERC_EFICIENCIA"), real);
    cdsTempoSetorNOME_SETOR = &ts.addField(QStringLiteral("NOME_SETOR"), text, 40);
    cdsTempoSetorORDEM_SETOR = &ts.addField(QStringLiteral("ORDEM_SETOR"), integer);
    cdsTempoSetorQTDE_FICHAS = &ts.addField(QStringLiteral("QTDE_FICHAS"), integer);

    WorkTable& s = cdsSetores;
    cdsSetoresCOD = &s.addField(QStringLiteral("COD"), text, 2);
    // The names keep the whole source column (TABELA.DESC_TA, SETOR.NOME_SE):
    // a name cut short could make two sectors, or two employees, look alike.
    cdsSetoresNOME = &s.addField(QStringLiteral("NOME"), text, 40);
    cdsSetoresORDEM = &s.addField(QStringLiteral("ORDEM"), integer);
    cdsSetoresMEDIA_EFICIENCIA = &s.addField(QStringLiteral("MEDIA_EFICIENCIA"), real);
    cdsSetoresMEDIA_EFICIENCIA_MES = &s.addField(QStringLiteral("MEDIA_EFICIENCIA_MES"), real);
    cdsSetoresSOMA_EFICIENCIA = &s.addField(QStringLiteral("SOMA_EFICIENCIA"), real);
    cdsSetoresSOMA_EFICIENCIA_MES = &s.addField(QStringLiteral("SOMA_EFICIENCIA_MES"), real);
    cdsSetoresQTDE_EFICIENCIA = &s.addField(QStringLiteral("QTDE_EFICIENCIA"), integer);
    cdsSetoresQTDE_EFICIENCIA_MES = &s.addField(QStringLiteral("QTDE_EFICIENCIA_MES"), integer);

    WorkTable& sf = cdsSetorFunc;
    WorkField** const camposSf[] = {&cdsSetorFuncSETOR,           &cdsSetorFuncFUNCIONARIO,
                                    &cdsSetorFuncNOME_FUNCIONARIO, &cdsSetorFuncMEDIA_EFICIENCIA,
                                    &cdsSetorFuncMEDIA_EFICIENCIA_MES, &cdsSetorFuncSOMA_EFICIENCIA,
                                    &cdsSetorFuncSOMA_EFICIENCIA_MES, &cdsSetorFuncQTDE_EFICIENCIA,
                                    &cdsSetorFuncQTDE_EFICIENCIA_MES};
    static_assert(std::size(camposSf) == std::size(kCamposSetorFunc));
    for (size_t i = 0; i < std::size(kCamposSetorFunc); ++i) {
        const CampoDeclarado& c = kCamposSetorFunc[i];
        *camposSf[i] = &sf.addField(QString::fromLatin1(c.nome), c.tipo, c.tamanho);
    }

}

void TdmMarvessa::DataModuleCreate()
{
    FPeriodoProducao = std::make_unique<TPeriodoProducao>();
    FCodOperacaoTrocaFicha = QStringLiteral("TR");
    FProdTempoDecimal = QStringLiteral("-");
}

void TdmMarvessa::DataModuleDestroy()
{
    FPeriodoProducao.reset();
}

void TdmMarvessa::setSQLCOnnection(SqlConnection* Value)
{
    FSQLConnection = Value;
    for (SqlQuery* q : {&sqlProdSetor, &sqlProdExped, &sqlOperacaoSetor, &sqlCorteSetor, &sqlCodCxUnitSetor,
                        &sqlProdTempo, &sqlAux, &sqlSetorAg})
        q->setConnection(FSQLConnection);
}


void TdmMarvessa::setCodigosNumericos(bool setor, bool funcionario)
{
    FSetoresNumericos = setor;
    FFuncionariosNumericos = funcionario;
    for (WorkField* f : {cdsTempoSetorSETOR, cdsSetoresCOD, cdsSetorFuncSETOR})
        f->byValue = setor;
    for (WorkField* f : {cdsTempoSetorFUNCIONARIO, cdsSetorFuncFUNCIONARIO})
        f->byValue = funcionario;
}
