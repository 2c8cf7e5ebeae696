#include "display/Recarga.h"

#include "app/Configuracoes.h"
#include "app/ErrorReport.h"
#include "app/GenerationWorker.h"
#include "app/MudancasConfiguracao.h"
#include "app/TdmPrinc.h"
#include "data/Log.h"
#include "display/TfrmPrincipal.h"

#include "app/IniFile.h"
#include "data/ArquivoLido.h"

#include <QTimer>

#include <memory>

namespace {

// The file's bytes, or its error: a file that cannot be read is stable too.
QByteArray lerComoEsta()
{
    QString erro;
    const QByteArray bytes = lerArquivoComum(caminhoConfiguracoes(), IniFile::kMaxBytes, erro);
    return erro.isEmpty() ? bytes : "\0" + erro.toUtf8();
}

} // namespace

void Recarga::pedir()
{
    if (esperando_)
        return;
    esperando_ = true;
    leituras_ = 1;
    anterior_ = lerComoEsta();
    QTimer::singleShot(intervaloMs, this, &Recarga::conferir);
}

void Recarga::conferir()
{
    const QByteArray agora = lerComoEsta();
    if (agora != anterior_ && ++leituras_ < leiturasMax) {
        anterior_ = agora;
        QTimer::singleShot(intervaloMs, this, &Recarga::conferir);
        return;
    }
    const bool mudando = agora != anterior_;
    esperando_ = false;
    anterior_.clear();
    try {
        if (!mudando) {
            recarregar();
            return;
        }
        recusar(QStringLiteral("%1 continua mudando: nada foi aplicado").arg(caminhoConfiguracoes()));
    } catch (const std::exception& e) {
        logfmt::write(QStringLiteral("reload"), {{"result", QStringLiteral("failed")}, {"error", exceptionText(e)}});
    }
}

void Recarga::recusar(const QString& erro)
{
    logfmt::write(QStringLiteral("reload"), {{"result", QStringLiteral("refused")},
                                             {"file", caminhoConfiguracoes()},
                                             {"error", erro}});
    janela_.ciclo().recargaRecusada(erro);
}

void Recarga::recarregar()
{
    // Read into a module of its own: the settings in force stay whole until
    // the new ones are known to work.
    auto lido = std::make_shared<TdmPrinc>();
    QString erro;
    try {
        lido->RecarregarConfiguracoes();
        erro = TfrmPrincipal::configCiclo(*lido).erroInicial();
    } catch (const std::exception& e) {
        erro = exceptionText(e);
    }
    if (!erro.isEmpty()) {
        recusar(erro);
        return;
    }
    const MudancasConfiguracao m = compararConfiguracoes(princ_, *lido);
    logfmt::write(QStringLiteral("reload"),
                  {{"result", QStringLiteral("applied")},
                   {"file", caminhoConfiguracoes()},
                   {"changed", m.chaves.isEmpty() ? QStringLiteral("none") : m.chaves.join(QLatin1Char(','))}});
    princ_.assumirExibicao(*lido);
    std::function<void()> antesDaGeracao;
    if (m.geracao) {
        // Taken by the connection and the worker while no run goes on.
        antesDaGeracao = [this, lido, conexao = m.conexao] {
            princ_.assumirGeracao(*lido);
            if (conexao) {
                try {
                    princ_.sqlCon.close(); // the next run attaches with the new parameters
                } catch (const std::exception& e) {
                    logfmt::write(QStringLiteral("disconnect-failed"), {{"error", exceptionText(e)}});
                }
            }
            worker_.reconfigurar(princ_.DataIndicador(), princ_.PorFuncionario(), princ_.DataFixa(),
                                 princ_.MinutosCompleto());
            worker_.setConsultasParalelas(princ_.ConsultasParalelas());
        };
    }
    janela_.aplicarConfiguracoes(m.exibicao, std::move(antesDaGeracao), m.geracao && m.conexao);
}
