#pragma once

#include "calc/AcumulacaoTempos.h"
#include "calc/CalcTypes.h"
#include "calc/LinhasEficiencia.h"
#include "calc/RegraExpediente.h"
#include "calc/SourceStatements.h"
#include "calc/TCalcExpediente.h"
#include "calc/TPeriodoProducao.h"
#include "data/SqlQuery.h"
#include "data/WorkTable.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <cstdint>
#include <cstring>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class SqlConnection;
class BuscaParalela;

// Binds a fetched working table to the statement whose rows it copies.
struct TDataSetProvider {
    SqlQuery* DataSet = nullptr;
};

// A link on a working table: where a view of the table, or a detail table's
// master link, attaches.
struct TDataSource {
    WorkTable* DataSet = nullptr;
};

// The calculation module: the statements that read the factory database,
// the working tables the calculation fills, and the settings a caller sets
// before asking for a calculation.
class TdmMarvessa {
public:
    TdmMarvessa();
    ~TdmMarvessa();
    TdmMarvessa(const TdmMarvessa&) = delete;
    TdmMarvessa& operator=(const TdmMarvessa&) = delete;

    // Statements.
    SqlQuery sqlProdSetor, sqlCorteSetor, sqlCodCxUnitSetor;
    SqlQuery sqlProdExped, sqlOperacaoSetor, sqlSetorAg, sqlProdTempo;
    SqlQuery sqlAux;

    // Providers and fetched tables.
    TDataSetProvider dspProdExped, dspOperacaoSetor, dspSetorAg, dspProdTempo;
    WorkTable cdsProdExped, cdsOperacaoSetor, cdsSetorAg, cdsProdTempo;

    // Built tables and their fields.
    WorkTable cdsTempoSetor;
    WorkField *cdsTempoSetorDATA, *cdsTempoSetorSETOR, *cdsTempoSetorFUNCIONARIO, *cdsTempoSetorNOME_FUNCIONARIO,
        *cdsTempoSetorTEMPO_TOT, *cdsTempoSetorTEMPO_TOT_HE, *cdsTempoSetorMINUTOS_EXPEDIENTE,
        *cdsTempoSetorMINUTOS_EXTRAS, *cdsTempoSetorMINUTOS_INATIVO, *cdsTempoSetorQTDE_FUNCIONARIOS,
        *cdsTempoSetorQTDE_FUNCIONARIOS_HE, *cdsTempoSetorPERC_EFICIENCIA, *cdsTempoSetorNOME_SETOR,
        *cdsTempoSetorORDEM_SETOR, *cdsTempoSetorQTDE_FICHAS;

    WorkTable cdsSetores;
    WorkField *cdsSetoresCOD, *cdsSetoresNOME, *cdsSetoresORDEM, *cdsSetoresMEDIA_EFICIENCIA,
        *cdsSetoresMEDIA_EFICIENCIA_MES, *cdsSetoresSOMA_EFICIENCIA, *cdsSetoresSOMA_EFICIENCIA_MES,
        *cdsSetoresQTDE_EFICIENCIA, *cdsSetoresQTDE_EFICIENCIA_MES;

    WorkTable cdsSetorFunc;
    WorkField *cdsSetorFuncSETOR, *cdsSetorFuncFUNCIONARIO, *cdsSetorFuncNOME_FUNCIONARIO,
        *cdsSetorFuncMEDIA_EFICIENCIA, *cdsSetorFuncMEDIA_EFICIENCIA_MES, *cdsSetorFuncSOMA_EFICIENCIA,
        *cdsSetorFuncSOMA_EFICIENCIA_MES, *cdsSetorFuncQTDE_EFICIENCIA, *cdsSetorFuncQTDE_EFICIENCIA_MES;


    // Properties.
    double DataLeitura() const { return FDataLeitura; }
    void setDataLeitura(double v) { FDataLeitura = v; }
    double DataInicial() const { return FDataInicial; }
    void setDataInicial(double v) { FDataInicial = v; }
    double DataFinal() const { return FDataFinal; }
    void setDataFinal(double v) { FDataFinal = v; }
    // Whether a run reads its three sources side by side, each on an
    // attachment of its own (on by default): the same work for the server,
    // on three of its cores for a shorter time. Off: one after another, on
    // the run's connection alone. The tables are the same either way.
    void setConsultasParalelas(bool v) { FConsultasParalelas = v; }
    bool ConsultasParalelas() const { return FConsultasParalelas; }
    // For tests: runs on the fetching thread of each source read beside the
    // run (1, 2) after its first record, with that source's connection.
    void setAoBuscar(std::function<void(int fonte, SqlConnection&)> f) { FAoBuscar = std::move(f); }
    // Whether the statements' texts are written to their files (on by default).
    void setGravarConsultas(bool v) { FArquivosConsulta.setAtivo(v); }
    // Source records the last generation run read.
    std::int64_t RegistrosLidos() const { return FRegistrosLidos; }
    // A record whose quantity or standard time cannot be real: negative, over
    // kQtdeAbsurda pairs, or over a day (kTempoAbsurdo seconds) per pair. The
    // run still counts it as it is, and logs it.
    static constexpr double kQtdeAbsurda = 100000;
    static constexpr double kTempoAbsurdo = 86400;
    // How many of them a run or --check names one by one; the rest are counted.
    static constexpr int kAbsurdosNomeados = 20;
    static bool registroAbsurdo(double qtde, double tempo)
    {
        return qtde < 0 || qtde > kQtdeAbsurda || tempo < 0 || tempo > kTempoAbsurdo;
    }
    // Records of the last run that registroAbsurdo named.
    std::int64_t RegistrosAbsurdos() const { return FRegistrosAbsurdos; }

    // Readable from another thread while a run goes on: the kind of the run
    // (1 full, 0 a refresh of the day, -1 none started), the records read so
    // far, and a count that moves whenever the run makes progress (a record
    // read or a row computed): a count that stands still means a server that
    // does not answer.
    int ExecucaoCompleta() const { return FExecucaoCompleta.load(std::memory_order_relaxed); }
    // Before a run is handed to another thread: none of it has started.
    void MarcarSemExecucao()
    {
        FExecucaoCompleta.store(-1, std::memory_order_relaxed);
        FProgressoLeitura.store(0, std::memory_order_relaxed);
    }
    std::int64_t ProgressoLeitura() const { return FProgressoLeitura.load(std::memory_order_relaxed); }
    std::int64_t Atividade() const { return FAtividade.load(std::memory_order_relaxed); }
    // The products whose times the last run read from PRODUTO_TEMPO, in
    // the order it read them.
    const QStringList& ProdutosLidos() const { return FProdutosLidos; }
    bool ExpedienteProducaoPorFunc() const { return FExpedienteProducaoPorFunc; }
    void setExpedienteProducaoPorFunc(bool v) { FExpedienteProducaoPorFunc = v; }
    // Whether the database holds the sector and the employee codes in
    // numeric columns: the page filters then compare them by value, as the
    // database compares such a column ('01' finds the sector 1).
    void setCodigosNumericos(bool setor, bool funcionario);
    bool SetoresNumericos() const { return FSetoresNumericos; }
    bool FuncionariosNumericos() const { return FFuncionariosNumericos; }
    SqlConnection* SQLCOnnection() const { return FSQLConnection; }
    // Stores the connection and moves every statement of the module to it.
    void setSQLCOnnection(SqlConnection* Value);
    const TProgressoEvento& ProgressEvent() const { return FProgressEvent; }
    void setProgressEvent(TProgressoEvento v) { FProgressEvent = std::move(v); }
    const TFiltroApenasExceto& ApenasExcetoFuncionarios() const { return FApenasExcetoFuncionarios; }
    void setApenasExcetoFuncionarios(const TFiltroApenasExceto& v) { FApenasExcetoFuncionarios = v; }
    const TFiltroApenasExceto& ApenasExcetoSetor() const { return FApenasExcetoSetor; }
    void setApenasExcetoSetor(const TFiltroApenasExceto& v) { FApenasExcetoSetor = v; }
    const QString& ExcetoSetoresProducao() const { return FExcetoSetoresProducao; }
    void setExcetoSetoresProducao(const QString& v) { FExcetoSetoresProducao = v; }
    TPeriodoProducao* PeriodoProducao() const { return FPeriodoProducao.get(); }
    const QString& CodOperacaoTrocaFicha() const { return FCodOperacaoTrocaFicha; }

    // The generation run: makes the day-sector-employee rows (LinhasTempo)
    // and fills cdsSetores and cdsSetorFunc for the period.
    void GerarCdsEficiencia();
    // A refresh run: the reading day read again from the database, the days
    // before it kept from the last full run of the same reading day. Only
    // when TemBaseDia(DataLeitura()) holds.
    void AtualizarDiaEficiencia();
    // What the last run left, row by row, in the tables' order (their
    // visible rows).
    std::vector<LinhaSetor> LinhasSetores();
    std::vector<LinhaSetorFuncionario> LinhasSetorFuncionario();
    // Each sector's figure of each day of the period, by sector, then day.
    std::vector<LinhaSetorDia> LinhasSetorDia() const;
    // The last run's day-sector-employee rows, in the table's order: a
    // number or a shared text each, not a row of table cells. cdsTempoSetor
    // holds them only when asked: TabelaTempoSetor() fills it (a run empties
    // it) and stands on its first row, and PercorrerTempoSetor() shows them
    // in it one at a time.
    const std::vector<LinhaTempo>& LinhasTempo() const { return FTempos; }
    WorkTable& TabelaTempoSetor();
    void PercorrerTempoSetor(const std::function<void(const WorkTable&)>& cadaLinha);
    // Whether the last full run left the days before this reading day.
    bool TemBaseDia(double dia) const { return FBaseDia != 0 && FBaseDia == dia; }
    void DescartarBaseDia();

    // Statement builders and lookups.
    void AbrirSqlProdSetor();
    void AbrirSqlCorteSetor();
    void AbrirSqlCodCxUnitSetor();
    // The statement's text, parameters and trace file, without running it.
    void MontarSqlProdSetor();
    void MontarSqlCorteSetor();
    void MontarSqlCodCxUnitSetor();
    void AbrirCdsProdExped();
    void AbrirCdsSetorAg();
    void AbrirCdsProdTempo(const QString& Lista);
    QString getProdTempoDecimal();
    QString ProdTempoDecimal() { return getProdTempoDecimal(); }
    double ConverterTempoProduto(double Tempo);
    double getTempoTrocaFicha(const QString& Setor);
    double getTempoProdutoSetor(const QString& Produto, const QString& Setor);

    // Accumulation.
    void ProcessarProducao();
    void ProcessarProdutoSetor();
    void ProcessarCorteSetor();
    void ProcessarEtiquetasUnitarias();
    // Leaves out of the shift table the rows whose values cannot be a shift.
    void RemoverExpedientesDanificados();
    // Whether the current shift row of cdsProdExped is damaged; a damaged
    // row is logged (once).
    bool ExpedienteDanificado();
    bool TemExpediente(const QString& Setor, const QString& Funcionario, double Data);
    void AdicionarTempoSetor(const QString& Setor, const QString& NomeSetor, double Data, std::int32_t Ordem,
                             const QString& Funcionario, const QString& NomeFuncionario, double Qtde, double Tempo,
                             const QString& HoraSaida);
    static std::int32_t DiferencaMinutos(const QString& HoraInicial, const QString& HoraFinal);
    static std::int32_t TextoParaInteiro(const QString& Texto);

    // Percentages and means.
    void CalcularEficiencia();
    void AcumularSetor(const QString& Setor, const QString& NomeSetor, std::int32_t Ordem, double Data,
                       double Eficiencia);
    void AcumularSetorFuncionario(const QString& Setor, const QString& Funcionario, const QString& NomeFuncionario,
                                  double Data, double Eficiencia);

    // Empties a built table's visible rows, or creates it empty when closed;
    // emptying cdsTempoSetor drops the run's rows (LinhasTempo) too.
    void LimparCds(WorkTable& Tabela);
    // Resets the efficiency tables and reopens the operation times.
    void PrepararCdsEficiencia();


    void DataModuleCreate();
    void DataModuleDestroy();

private:
public:
    struct SourceStage;

private:
    static const SourceStage& estagio(int i);
    SqlQuery& fonte(int i);
    // The source statement's trace file (0, 1, 2).
    void gravarConsulta(int fonte);
    // The three sources' statements run: the first on the run's connection,
    // the others beside it when side by side, else all on the connection.
    void AbrirFontes();
    // A source fetched beside the run that has failed fails the run, now.
    void VerificarBuscas();
    struct ShiftFields {
        WorkField *data, *setor, *funcionario;
        WorkField *inicio, *fim, *almoco, *inicioHe, *fimHe, *inativo, *qtde, *qtdeHe;
    };
    void declareFields();
    FiltrosFonte filtrosFonte() const;
    void setPeriodParams(SqlQuery& q) const;
    void processStage(SqlQuery& q, const SourceStage& stage);
    bool EhDiaria(double Data) const;
    // The shift row's fields of cdsProdExped, resolved once per opening.
    const ShiftFields& shiftFields();

    // What one generation run holds, made at its start and dropped at its
    // end: the accumulation of the day-sector-employee rows (while the
    // stages read), and what the run asks of the database at most once.
    struct Execucao {
        std::unique_ptr<AcumulacaoTempos> acumulacao;
        QHash<QString, QHash<QString, double>> temposProduto; // each product's times per sector
        QHash<QString, double> temposTroca;                    // each sector's ticket-change time
        QHash<QString, std::optional<QString>> gruposSetor;    // each sector's grouping sector
        // The sources fetched beside the run, by stage (none for the first).
        std::unique_ptr<BuscaParalela> buscas[3];
    };
    std::unique_ptr<Execucao> FRun;
    AcumulacaoTempos* acumulacao() const { return FRun ? FRun->acumulacao.get() : nullptr; }
    // The run's accumulation, with the period's shift rows read into it a row
    // at a time (the table of them is never whole in memory).
    void IniciarAcumulacao();
    // The run's rows, as the table keeps them; in a refresh run, merged with
    // the days kept from the last full run.
    void GravarAcumulacao(bool completa);
    // A row's texts cut to the table's field sizes, as the table keeps them.
    LinhaTempo comoNaTabela(LinhaTempo l) const;
    // A row appended to cdsTempoSetor.
    void gravarLinha(const LinhaTempo& l);
    // The sums of a row into the current row of cdsTempoSetor.
    void gravarSoma(const regra::Soma& s);
    // The percentages and means of the run's rows (CalcularEficiencia within
    // or after a run); outside one, of the rows of cdsTempoSetor.
    void CalcularEficienciaLinhas();
    void CalcularEficienciaTabela();
    // Empties a table as LimparCds does, and nothing else.
    void esvaziar(WorkTable& Tabela);
    static regra::Turno turno(const ShiftFields& pe);
    // The shift row's fields, resolved once per opening of cdsProdExped.
    std::unique_ptr<ShiftFields> FShiftFields;

    double FDataLeitura = 0;
    double FDataInicial = 0;
    double FDataFinal = 0;
    bool FExpedienteProducaoPorFunc = false;
    bool FSetoresNumericos = false;
    bool FFuncionariosNumericos = false;
    std::int64_t FRegistrosLidos = 0;
    std::int64_t FRegistrosAbsurdos = 0;
    std::atomic<int> FExecucaoCompleta{-1};
    std::atomic<std::int64_t> FProgressoLeitura{0};
    std::atomic<std::int64_t> FAtividade{0};
    QStringList FProdutosLidos;
    // The sum and count of each sector's percentages of each day, made by
    // the last calculation.
    QHash<QString, std::map<double, std::pair<double, std::int32_t>>> FSomaSetorDia;
    ArquivosConsulta FArquivosConsulta; // the statements' trace files
    QSet<QString> FLinhasAvisadas; // damaged shift rows already logged
    // The last run's rows; whether cdsTempoSetor holds them too.
    std::vector<LinhaTempo> FTempos;
    bool FTemposNaTabela = false;
    // The rows before the reading day, as the last full run left them, and
    // that run's reading day. A refresh run puts the reading day's rows where
    // a full run puts them: each row of the reading day that the full run had
    // after as many earlier rows as it had then (its anchor), and a row it
    // did not have after the earlier rows of its stage.
    // The earlier days' rows of the last full run stay among its rows; a
    // refresh run takes them out (FBase) and puts them back, never copied.
    std::vector<LinhaTempo> FBase;
    qsizetype FBaseLinhas = 0; // how many rows of earlier days the full run made
    QHash<ChaveLinha, qsizetype> FBaseAncoras;
    qsizetype FBaseFimEstagio[3] = {0, 0, 0}; // earlier rows made by the end of each stage
    double FBaseDia = 0;
    void GuardarBaseDia();
    void TomarBaseDia();
    static void devolverMemoriaLivre();
    void Gerar(bool completa);
    SqlConnection* FSQLConnection = nullptr;
    bool FConsultasParalelas = true;
    std::function<void(int, SqlConnection&)> FAoBuscar;
    TProgressoEvento FProgressEvent;
    TFiltroApenasExceto FApenasExcetoFuncionarios;
    TFiltroApenasExceto FApenasExcetoSetor;
    QString FExcetoSetoresProducao;
    QString FProdTempoDecimal;
    QString FCodOperacaoTrocaFicha;
    std::unique_ptr<TPeriodoProducao> FPeriodoProducao;
};

extern TdmMarvessa* dmMarvessa;

