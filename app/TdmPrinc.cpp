#include "app/TdmPrinc.h"

#include "app/Configuracoes.h"
#include "app/DecryptStr.h"
#include "app/EnderecoBanco.h"
#include "app/ErrorReport.h"
#include "app/IniFile.h"
#include "app/LeituraFontes.h"
#include "app/RegionalDate.h"
#include "data/ArquivoLido.h"
#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "data/Platform.h"
#include "data/TextLists.h"
#include "support/URotinas.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <limits>

TdmPrinc* dmPrinc = nullptr;

namespace {

QString passwordForKey(int chave)
{
    switch (chave) {
    case 1:
        return QStringLiteral("plonqubir");
    case 2:
        return QStringLiteral("bravtu47");
    case 3:
        return QStringLiteral("BravTu47");
    default:
        throw std::runtime_error("Chave " + std::to_string(chave));
    }
}

// The password of a user of the site's own: from the file named by
// "SenhaArquivo", or from the service manager's credential named by
// "SenhaCredencial" (default "tolvaneo-senha") when it passes one. Its first
// line, without the line end. Never logged.
QString readPassword(const IniFile& ini)
{
    QString path = lerTexto(ini, Ajuste::SenhaArquivo);
    if (path.isEmpty()) {
        const QString credentials = qEnvironmentVariable("CREDENTIALS_DIRECTORY");
        const QString name = lerTexto(ini, Ajuste::SenhaCredencial);
        if (!credentials.isEmpty() && !name.contains(QLatin1Char('/')))
            path = credentials + QLatin1Char('/') + name;
    }
    if (path.isEmpty())
        throw std::runtime_error("\"Usuario\" sem \"SenhaArquivo\" nem a credencial do serviço");
    // A regular file of a few bytes, opened without blocking: a FIFO or a
    // device would hold the program before its first log line.
    QString erro;
    const QByteArray bytes = lerArquivoComum(path, 4096, erro);
    if (!erro.isEmpty())
        throw std::runtime_error(("o arquivo da senha " + path + " " + erro).toStdString());
    const QByteArray first = bytes.split('\n').value(0);
    return QString::fromUtf8(first).remove(QLatin1Char('\r'));
}

double today()
{
    return daynum::fromDate(platform::clock().now().date());
}

} // namespace

bool bancoNestePC(const QString& database)
{
    return lerEnderecoBanco(database).local;
}

QString servidorDoBanco(const QString& database)
{
    const EnderecoBanco e = lerEnderecoBanco(database);
    return e.local ? QString() : e.servidorTexto();
}

ErroConfiguracao::ErroConfiguracao(QString detalhe)
    : std::runtime_error("Falha ao carregar o arquivo de configurações."), detalhe_(std::move(detalhe))
{
}

TdmPrinc::TdmPrinc()
    : sqlCon(designParams()), sqlConAcesso(designParams()),
      FContasCobranca(std::make_unique<std::vector<TCriteriaDataSet*>>())
{
    sqlCon.beforeConnect = [this] { sqlConBeforeConnect(); };
    sqlCon.afterConnect = [this] { sqlConAfterConnect(); };
    sqlConAcesso.beforeConnect = [this] { sqlConAcessoBeforeConnect(); };
}

TdmPrinc::~TdmPrinc()
{
    DataModuleDestroy();
    if (dmPrinc == this)
        dmPrinc = nullptr;
}

QStringList TdmPrinc::designParams()
{
    return {
        QStringLiteral("DriverName=Firebird"),
        QStringLiteral("RoleName="),
        QStringLiteral("User_Name=SYSDBA"),
        QStringLiteral("SQLDialect=3"),
        QStringLiteral("BlobSize=-1"),
        QStringLiteral("ErrorResourceFile="),
        QStringLiteral("LocaleCode=0000"),
        QStringLiteral("DevartInterBase TransIsolation=ReadCommited"),
        QStringLiteral("WaitOnLocks=True"),
        QStringLiteral("Charset="),
        QStringLiteral("CharLength=1"),
        QStringLiteral("EnableBCD=True"),
        QStringLiteral("OptimizedNumerics=True"),
        QStringLiteral("LongStrings=True"),
        QStringLiteral("UseQuoteChar=False"),
        QStringLiteral("FetchAll=False"),
    };
}

void TdmPrinc::DataModuleCreate()
{
    FVersao = versaoPrograma();
    FContasCobranca = std::make_unique<std::vector<TCriteriaDataSet*>>();
    // The settings are read once, here, before any connection.
    if (!FConnectionParams.Loaded) {
        FConnectionParams.Loaded = true;
        CarregarConfiguracoes();
    }
    if (FConexaoAdiada)
        sqlConBeforeConnect(); // the settings into the parameters, without attaching
    else
        sqlCon.open();
    FPathOcor = platform::appFolder() + QStringLiteral("ocorrencias.xml");
}

void TdmPrinc::DataModuleDestroy()
{
    FContasCobranca.reset();
}

void TdmPrinc::sqlConBeforeConnect()
{
    prepararConexao(sqlCon, &TConnectionParams::Database);
}

void TdmPrinc::sqlConAcessoBeforeConnect()
{
    prepararConexao(sqlConAcesso, &TConnectionParams::DatabaseAccess);
}

// Both before-connect handlers: the password and the database path go into
// the parameters (the settings are read at start; a connection opened
// without the start reads them first).
void TdmPrinc::prepararConexao(SqlConnection& conexao, QString TConnectionParams::*caminho)
{
    if (!FConnectionParams.Loaded) {
        FConnectionParams.Loaded = true;
        CarregarConfiguracoes();
    }
    conexao.params().setValue(QStringLiteral("Password"), FConnectionParams.Password);
    if (!FConnectionParams.User.isEmpty())
        conexao.params().setValue(QStringLiteral("User_Name"), FConnectionParams.User);
    conexao.params().setValue(QStringLiteral("Database"), FConnectionParams.*caminho);
}

void TdmPrinc::sqlConAfterConnect()
{
    // The source columns' types, read at each attach: a type the program
    // cannot read right stops here, named, before any figure is made, and
    // the connection closes so that the next try reads them again.
    TiposFontes tipos;
    try {
        tipos = lerTiposFontes(sqlCon);
        if (!tipos.recusas.isEmpty())
            throw fb::DatabaseError(tipos.recusas.join(QLatin1Char('\n')).toStdString(), 0, {}, {},
                                    CausaFalha::TipoColuna);
    } catch (...) {
        sqlCon.close();
        throw;
    }
    // The calculation module is created once; attaching again after a lost
    // connection keeps it and its figures.
    const bool novo = !FdmMarvessa;
    if (novo) {
        FdmMarvessa = std::make_unique<TdmMarvessa>();
        dmMarvessa = FdmMarvessa.get();
    }
    dmMarvessa->setCodigosNumericos(tipos.setoresNumericos, tipos.funcionariosNumericos);
    if (!novo)
        return;
    dmMarvessa->setSQLCOnnection(&sqlCon);
    dmMarvessa->setDataLeitura(FDataIndicador);
    dmMarvessa->setExpedienteProducaoPorFunc(FPorFuncionario);
    dmMarvessa->setConsultasParalelas(FConsultasParalelas);
    if (!FGeracaoInicialAdiada)
        dmMarvessa->GerarCdsEficiencia();
}

void TdmPrinc::setSetores(const QString& v)
{
    FSetores = quoteSqlList(splitCommaText(v));
}

void TdmPrinc::CarregarConfiguracoes()
{
    const QString path = caminhoConfiguracoes();
    try {
        std::optional<IniFile> lido = lerArquivoConfiguracoes();
        if (!lido) {
            platform::messageBoxes().show(QStringLiteral("Falha ao carregar as configurações"),
                                          QStringLiteral("Arquivo de configurações não encontrado."),
                                          platform::MsgIcon::Error, platform::MsgButtons::Ok);
            platform::requestTerminate();
        }
        lerConfiguracoes(lido.value_or(IniFile()));
    } catch (const std::exception& e) {
        // The report names the failure with its one text; the log says what it was.
        logfmt::write(QStringLiteral("config-error"), {{"file", path}, {"error", QString::fromUtf8(e.what())}});
        throw ErroConfiguracao(QString::fromUtf8(e.what()));
    }
}

void TdmPrinc::RecarregarConfiguracoes()
{
    const std::optional<IniFile> lido = lerArquivoConfiguracoes();
    if (!lido)
        throw std::runtime_error("Arquivo de configurações não encontrado: " + caminhoConfiguracoes().toStdString());
    FConnectionParams.Loaded = true;
    lerConfiguracoes(*lido);
}

void TdmPrinc::lerConfiguracoes(const IniFile& ini)
{
    const std::optional<double> dataBase = parseRegionalDateTime(lerTexto(ini, Ajuste::DataBase), environmentTimeLocale());
    // Without a configured day every run reads the day it runs on.
    FDataFixa = dataBase.has_value();
    FDataIndicador = dataBase.value_or(today());
    FSimplificado = lerTexto(ini, Ajuste::Simplificado) == QLatin1String("S");
    FRelogio = lerTexto(ini, Ajuste::Relogio) == QLatin1String("S");
    FResumo = lerTexto(ini, Ajuste::Resumo) == QLatin1String("S");
    FMeta = lerMeta(lerTexto(ini, Ajuste::Meta));
    FContato = lerTexto(ini, Ajuste::Contato).simplified();
    FTendencia = lerTexto(ini, Ajuste::Tendencia) == QLatin1String("S");
    // Seconds to milliseconds; an interval beyond the 32-bit range is held at its largest value.
    const qint64 ms = qint64(lerInteiro(ini, Ajuste::TempoTroca)) * 1000;
    FTempoTroca = std::int32_t(std::clamp<qint64>(ms, std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max()));
    FFuncionarios = lerTexto(ini, Ajuste::Funcionarios);
    FPorFuncionario = lerInteiro(ini, Ajuste::AgruparFuncionario) != 0;
    FMinutosCompleto = lerInteiro(ini, Ajuste::MinutosCompleto);
    FConsultasParalelas = lerConsultasParalelas(lerTexto(ini, Ajuste::ConsultasParalelas));
    setSetores(lerTexto(ini, Ajuste::Setores));
    FConnectionParams.Database = lerTexto(ini, Ajuste::DB);
    FConnectionParams.DatabaseAccess = lerTexto(ini, Ajuste::ACESSO);
    // A user of the site's choosing replaces the fixed SYSDBA passwords.
    FConnectionParams.User = lerTexto(ini, Ajuste::Usuario);
    if (FConnectionParams.User.isEmpty())
        FConnectionParams.Password = passwordForKey(lerInteiro(ini, Ajuste::Chave));
    else
        FConnectionParams.Password = readPassword(ini);
}

void TdmPrinc::assumirExibicao(const TdmPrinc& lido)
{
    FSimplificado = lido.FSimplificado;
    FRelogio = lido.FRelogio;
    FResumo = lido.FResumo;
    FMeta = lido.FMeta;
    FContato = lido.FContato;
    FTendencia = lido.FTendencia;
    FTempoTroca = lido.FTempoTroca;
    FSetores = lido.FSetores;
    FFuncionarios = lido.FFuncionarios;
}

void TdmPrinc::assumirGeracao(const TdmPrinc& lido)
{
    FConnectionParams = lido.FConnectionParams;
    FDataFixa = lido.FDataFixa;
    FDataIndicador = lido.FDataIndicador;
    FPorFuncionario = lido.FPorFuncionario;
    FMinutosCompleto = lido.FMinutosCompleto;
    FConsultasParalelas = lido.FConsultasParalelas;
}

void TdmPrinc::AtualizarContasCobranca()
{
    if (!FContasCobranca)
        return;
    for (TCriteriaDataSet* dataSet : *FContasCobranca) {
        if (!dataSet)
            continue;
        GuardarPosicao(*dataSet);
        dataSet->close();
        AplicarCriterios(*dataSet);
        dataSet->open();
        RestaurarPosicao(*dataSet);
    }
}

QString TdmPrinc::DecryptSTR(const QByteArray& InString, std::int32_t StartKey, std::int32_t MultKey,
                             std::int32_t AddKey) const
{
    return decryptStr(InString, StartKey, MultKey, AddKey);
}

std::unique_ptr<TdmPrinc> CreateDmPrinc(bool* ok)
{
    auto module = std::make_unique<TdmPrinc>();
    dmPrinc = module.get();
    bool done = false;
    try {
        module->DataModuleCreate();
        done = true;
    } catch (const std::exception& e) {
        reportException(e);
    }
    if (ok)
        *ok = done;
    return module;
}
