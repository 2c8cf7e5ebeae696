#include "display/Recarga.h"

#include "app/Configuracoes.h"
#include "app/ErrorReport.h"
#include "app/GenerationWorker.h"
#include "app/MudancasConfiguracao.h"
#include "app/TdmPrinc.h"
#include "data/Log.h"
#include "display/TfrmPrincipal.h"

#include <memory>

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
        logfmt::write(QStringLiteral("reload"), {{"result", QStringLiteral("refused")},
                                                 {"file", caminhoConfiguracoes()},
                                                 {"error", erro}});
        janela_.ciclo().recargaRecusada(erro);
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
        };
    }
    janela_.aplicarConfiguracoes(m.exibicao, std::move(antesDaGeracao));
}
