#pragma once

#include "calc/TdmMarvessa.h"
#include "data/SqlConnection.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

struct TConnectionParams {
    QString DatabaseAccess;
    QString Database;
    QString Password;
    // A user of the site's choosing ([Banco] Usuario=); empty: SYSDBA.
    QString User;
    bool Loaded = false;
};

// Whether a "DB" setting names a file on this PC (opened by the embedded
// engine) rather than host:path on a server; the server's part otherwise.
bool bancoNestePC(const QString& database);
QString servidorDoBanco(const QString& database);

// The failure of the configuration load; its text is always the same.
class ErroConfiguracao : public std::runtime_error {
public:
    // The system's one text; the failure that led to it beside it.
    explicit ErroConfiguracao(QString detalhe = {});
    const QString& detalhe() const { return detalhe_; }

private:
    QString detalhe_;
};

class IniFile;
class TCriteriaDataSet;

// The main data module: owns the two database connections and holds the
// settings read from "Marvessa.ini".
class TdmPrinc {
public:
    TdmPrinc();
    ~TdmPrinc();
    TdmPrinc(const TdmPrinc&) = delete;
    TdmPrinc& operator=(const TdmPrinc&) = delete;

    SqlConnection sqlCon;
    SqlConnection sqlConAcesso;

    // Handlers, in the order the start runs them.
    void DataModuleCreate();
    void DataModuleDestroy();
    void sqlConBeforeConnect();
    void sqlConAcessoBeforeConnect();
    void sqlConAfterConnect();

    void CarregarConfiguracoes();
    // Reads the settings file again into this module, as a reload does: a
    // missing file or one that cannot be used throws, and nothing is shown
    // or logged.
    void RecarregarConfiguracoes();
    // The settings of a module that read the file again, in two parts:
    // those the display and the cycle read (layout, page time, target,
    // clock, overview, sectors, employee filter), and those a run reads (the
    // connection, the reading day, the grouping, the minutes between full
    // runs), to be taken only while no run goes on.
    void assumirExibicao(const TdmPrinc& lido);
    void assumirGeracao(const TdmPrinc& lido);
    // Refreshes every listed dataset: keep its row, close, merge its
    // criteria again, open, return to the row. Empty entries are skipped; a
    // failure ends the refresh.
    void AtualizarContasCobranca();
    std::vector<TCriteriaDataSet*>& ContasCobranca() { return *FContasCobranca; }
    QString DecryptSTR(const QByteArray& InString, std::int32_t StartKey, std::int32_t MultKey,
                       std::int32_t AddKey) const;

    // Properties.
    const TConnectionParams& ConnectionParams() const { return FConnectionParams; }
    void setConnectionParams(const TConnectionParams& v) { FConnectionParams = v; }
    const QString& Versao() const { return FVersao; }
    void setVersao(const QString& v) { FVersao = v; }
    double DataIndicador() const { return FDataIndicador; }
    void setDataIndicador(double v) { FDataIndicador = v; }
    // True when "DataBase" gave a day; otherwise each run reads the current day.
    bool DataFixa() const { return FDataFixa; }
    bool Simplificado() const { return FSimplificado; }
    // The time of day in the top bar.
    bool Relogio() const { return FRelogio; }
    // An overview page of every sector at the start of each rotation.
    bool Resumo() const { return FResumo; }
    void setResumo(bool v) { FResumo = v; }
    // The target percentage the pages' figures are drawn against; none: no colours.
    std::optional<double> Meta() const { return FMeta; }
    // Whether the pages draw each sector's 31 days as bars.
    bool Tendencia() const { return FTendencia; }
    // Who the screen names when it needs a person; empty: nobody named.
    const QString& Contato() const { return FContato; }
    void setMeta(std::optional<double> v) { FMeta = v; }
    void setRelogio(bool v) { FRelogio = v; }
    void setSimplificado(bool v) { FSimplificado = v; }
    std::int32_t TempoTroca() const { return FTempoTroca; }
    void setTempoTroca(std::int32_t v) { FTempoTroca = v; }
    const QString& Setores() const { return FSetores; }
    // Stores the list quoted: each code in single quotes, joined by commas.
    void setSetores(const QString& v);
    const QString& Funcionarios() const { return FFuncionarios; }
    void setFuncionarios(const QString& v) { FFuncionarios = v; }
    // Minutes between full runs; refresh runs of the reading day between
    // them (0: every run is full).
    int MinutosCompleto() const { return FMinutosCompleto; }
    void setMinutosCompleto(int v) { FMinutosCompleto = v; }
    bool PorFuncionario() const { return FPorFuncionario; }
    bool ConsultasParalelas() const { return FConsultasParalelas; }
    void setPorFuncionario(bool v) { FPorFuncionario = v; }
    const QString& PathOcor() const { return FPathOcor; }
    // When set, the after-connect handler creates the calculation module
    // without running the first generation (a worker runs it).
    void setGeracaoInicialAdiada(bool v) { FGeracaoInicialAdiada = v; }
    // With true, DataModuleCreate reads the settings and puts them into the
    // connection's parameters without attaching: the window attaches
    // through its worker, with the screen up.
    void setConexaoAdiada(bool v) { FConexaoAdiada = v; }

    // The connections' design parameter list.
    static QStringList designParams();

private:
    void lerConfiguracoes(const IniFile& ini);
    void prepararConexao(SqlConnection& conexao, QString TConnectionParams::*caminho);

    // The calculation module, created by the after-connect handler; it
    // lives until the end of the program.
    std::unique_ptr<TdmMarvessa> FdmMarvessa;
    std::unique_ptr<std::vector<TCriteriaDataSet*>> FContasCobranca;
    TConnectionParams FConnectionParams;
    QString FVersao;
    QString FPathOcor;
    double FDataIndicador = 0;
    bool FDataFixa = false;
    bool FSimplificado = false;
    bool FRelogio = false;
    bool FResumo = false;
    std::optional<double> FMeta;
    QString FContato;
    bool FTendencia = false;
    std::int32_t FTempoTroca = 0;
    QString FSetores;
    QString FFuncionarios;
    bool FPorFuncionario = false;
    bool FConsultasParalelas = true;
    int FMinutosCompleto = 30;
    bool FGeracaoInicialAdiada = false;
    bool FConexaoAdiada = false;
};

extern TdmPrinc* dmPrinc;

// Creates the main data module and runs its creation handler; a failure is
// reported in the application's error box and the module still exists.
// ok, when given, tells whether the creation handler ran to its end.
std::unique_ptr<TdmPrinc> CreateDmPrinc(bool* ok = nullptr);
