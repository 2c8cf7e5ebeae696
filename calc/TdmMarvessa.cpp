#include "calc/TdmMarvessa.h"

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
      cdsSetorFunc("cdsSetorFunc"),
      cdsSetorData("cdsSetorData"),
      cdsSetorProdTempo("cdsSetorProdTempo")
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
    dtsSetorData.DataSet = &cdsSetorData;
    cdsSetorProdTempo.setIndexFieldNames(QStringLiteral("SETOR"));
    cdsSetorProdTempo.setMasterSource(dtsSetorData.DataSet, QStringLiteral("COD_SETOR"));

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
    cdsTempoSetorNOME_FUNCIONARIO = &ts.addField(QStringLiteral("NOME_FUNCIONARIO"), text, 40);
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
    cdsSetoresNOME = &s.addField(QStringLiteral("NOME"), text, 30);
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

    WorkTable& sd = cdsSetorData;
    const QString whole = QStringLiteral("###,##0");
    const QString twoDecimals = QStringLiteral("#,##0.00");
    auto field = [&](const char* name, FieldType type, int size, const QString& label, const QString& format) {
        WorkField& f = sd.addField(QString::fromLatin1(name), type, size);
        f.displayLabel = label;
        f.displayFormat = format;
        return &f;
    };
    auto onTimeChange = [this](WorkField& f) { cdsSetorData_CamposTempoChange(f); };
    cdsSetorData_COD_SETOR = field("COD_SETOR", text, 2, QStringLiteral("Setor"), {});
    cdsSetorData_NOME_SETOR = field("NOME_SETOR", text, 30, QStringLiteral("Nome Setor"), {});
    cdsSetorData_DATA_SETOR = field("DATA_SETOR", date, 0, QStringLiteral("Data"), QStringLiteral("dd\"/\"mm\"/\"yyyy"));
    cdsSetorData_EXPEDIENTE = field("EXPEDIENTE", integer, 0, QStringLiteral("Expediente (Min)"), whole);
    cdsSetorData_QTDE_FUNC = field("QTDE_FUNC", integer, 0, QStringLiteral("Qtde Func."), whole);
    cdsSetorData_TOT_MIN_EXPED = field("TOT_MIN_EXPED", integer, 0, QStringLiteral("Tempo Disp. (Min)"), whole);
    cdsSetorData_MIN_HE = field("MIN_HE", integer, 0, QStringLiteral("Exp. H.E."), whole);
    cdsSetorData_QTDE_FUNC_HE = field("QTDE_FUNC_HE", integer, 0, QStringLiteral("Qtde Func. H.E."), whole);
    cdsSetorData_TOT_MIN_HE = field("TOT_MIN_HE", integer, 0, QStringLiteral("Tempo H.E."), whole);
    cdsSetorData_TOT_MIN_DISP = field("TOT_MIN_DISP", integer, 0, QStringLiteral("Tempo Disponível (Min)"), whole);
    cdsSetorData_QTDE_PRODUCAO = field("QTDE_PRODUCAO", integer, 0, QStringLiteral("Qtde Produção"), whole);
    cdsSetorData_TEMPO_NECES = field("TEMPO_NECES", integer, 0, QStringLiteral("Tempo Necessário (Min)"), whole);
    cdsSetorData_SALDO_TEMPO = field("SALDO_TEMPO", integer, 0, QStringLiteral("Saldo Tempo (Min)"), whole);
    cdsSetorData_PESSOAL_NECES = field("PESSOAL_NECES", real, 0, QStringLiteral("Pessoal Neces."), twoDecimals);
    cdsSetorData_SALDO_PESSOAL = field("SALDO_PESSOAL", real, 0, QStringLiteral("Saldo Pessoal"), twoDecimals);
    cdsSetorData_QTDE_DIAS = field("QTDE_DIAS", integer, 0, QStringLiteral("Dias"), {});
    cdsSetorData_QTDE_DIAS->displayWidth = 3;
    for (WorkField* f : {cdsSetorData_EXPEDIENTE, cdsSetorData_QTDE_FUNC, cdsSetorData_MIN_HE, cdsSetorData_QTDE_FUNC_HE})
        f->onChange = onTimeChange;

    WorkTable& sp = cdsSetorProdTempo;
    cdsSetorProdTempo_SETOR = &sp.addField(QStringLiteral("SETOR"), text, 2);
    cdsSetorProdTempo_PROD = &sp.addField(QStringLiteral("PROD"), text, 8);
    cdsSetorProdTempo_TEMPO = &sp.addField(QStringLiteral("TEMPO"), real);
    cdsSetorProdTempo_QTDE = &sp.addField(QStringLiteral("QTDE"), integer);
    cdsSetorProdTempo_TEMPO_POR_PAR = &sp.addField(QStringLiteral("TEMPO_POR_PAR"), real);
}

void TdmMarvessa::DataModuleCreate()
{
    FRegCalcTempoProd = std::make_unique<TRegCalcTempoProd>();
    FPeriodoProducao = std::make_unique<TPeriodoProducao>();
    FCodOperacaoTrocaFicha = QStringLiteral("TR");
    FGerandoCdsSetorData = false;
    FProdTempoDecimal = QStringLiteral("-");
}

void TdmMarvessa::DataModuleDestroy()
{
    FRegCalcTempoProd.reset();
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
    for (WorkField* f : {cdsTempoSetorSETOR, cdsSetoresCOD, cdsSetorFuncSETOR})
        f->byValue = setor;
    for (WorkField* f : {cdsTempoSetorFUNCIONARIO, cdsSetorFuncFUNCIONARIO})
        f->byValue = funcionario;
}
