#include "display/Snapshot.h"

#include "app/TdmPrinc.h"
#include "data/Platform.h"
#include "display/Screen.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"
#include "display/TfrmPrincipal.h"
#include "display/TfrmRelatorio.h"
#include "display/TfrmResumo.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTimer>

#include <cmath>
#include <cstdio>

namespace {

QString hex(const QColor& c)
{
    return c.name(QColor::HexRgb).toUpper();
}

QColor background(const QWidget* w)
{
    return w->palette().color(QPalette::Window);
}

// Message boxes on standard error, remembering whether an error was shown.
class SnapshotBoxes : public platform::StderrMessageBoxes {
public:
    platform::MsgResult show(const QString& caption, const QString& text, platform::MsgIcon icon,
                             platform::MsgButtons buttons) override
    {
        if (icon == platform::MsgIcon::Error)
            failed = true;
        return StderrMessageBoxes::show(caption, text, icon, buttons);
    }
    bool failed = false;
};

// The target's class of each percentage drawn, when a target is set.
void classes(QJsonObject& o, ClasseMeta diario, ClasseMeta mensal)
{
    if (diario != ClasseMeta::Nenhuma)
        o[QStringLiteral("classe_diario")] = nomeClasseMeta(diario);
    if (mensal != ClasseMeta::Nenhuma)
        o[QStringLiteral("classe_mensal")] = nomeClasseMeta(mensal);
}

QJsonObject describeRow(const TfrmfuncionarioSetorBase* row)
{
    QJsonObject o;
    o[QStringLiteral("cor")] = hex(background(row));
    o[QStringLiteral("exibe")] = row->ExibirConteudo();
    o[QStringLiteral("rank")] = row->lblRank->text();
    o[QStringLiteral("nome")] = row->lblNome->text();
    if (auto* s = qobject_cast<const TfrmFuncionarioSetorSimplificado*>(row)) {
        o[QStringLiteral("diario")] = s->lblDia->text();
        o[QStringLiteral("mensal")] = s->lblMes->text();
        classes(o, s->classeDiario(), s->classeMensal());
    }
    return o;
}

} // namespace

// The bars' days as drawn: each day's whole percentage, or null.
QJsonArray tendenciaJson(const GraficoTendencia& g)
{
    QJsonArray dias;
    for (const std::optional<double>& d : g.dias()) {
        const std::optional<long long> p = d ? TfrmFuncionarioSetorSimplificado::percentual(*d, 100) : std::nullopt;
        dias.append(p ? QJsonValue(qint64(*p)) : QJsonValue());
    }
    return dias;
}

QJsonObject describeEstado(const TfrmPrincipal& window)
{
    QJsonObject o;
    o[QStringLiteral("estado")] = window.estadoTela();
    if (window.panelAviso->isVisibleTo(&window)) {
        o[QStringLiteral("aviso")] = window.lblAviso->text();
        if (window.lblAvisoDetalhe->isVisibleTo(&window))
            o[QStringLiteral("aviso_detalhe")] = window.lblAvisoDetalhe->text();
    }
    if (window.lblIndicadores->isVisibleTo(&window)) {
        o[QStringLiteral("mensagem")] = window.lblIndicadores->text();
        o[QStringLiteral("mensagem_detalhe")] = window.lblDetalhe->text();
    }
    return o;
}

QJsonObject describeResumo(const TfrmPrincipal& window)
{
    QJsonObject page = describeEstado(window);
    page[QStringLiteral("resumo")] = true;
    page[QStringLiteral("titulo")] = window.lblTItulo->text();
    if (window.lblRelogio->isVisibleTo(&window))
        page[QStringLiteral("relogio")] = window.lblRelogio->text();
    QJsonArray setores;
    for (const TfrmResumo::Linha& l : window.frmResumo()->linhasMostradas()) {
        if (l.codigo.isEmpty())
            continue;
        QJsonObject s;
        s[QStringLiteral("codigo")] = l.codigo;
        s[QStringLiteral("nome")] = l.nome->text();
        s[QStringLiteral("diario")] = l.diario->text();
        s[QStringLiteral("mensal")] = l.mensal->text();
        if (l.tendencia)
            s[QStringLiteral("tendencia")] = tendenciaJson(*l.tendencia);
        classes(s, l.metaDiario->classe(), l.metaMensal->classe());
        setores.append(s);
    }
    page[QStringLiteral("setores")] = setores;
    return page;
}

QJsonObject describePage(const TfrmPrincipal& window)
{
    QJsonObject page = describeEstado(window);
    const TfrmRelatorio* r = window.frmRelatorio();
    page[QStringLiteral("setor")] = window.codigoAtual();
    page[QStringLiteral("titulo")] = window.lblTItulo->text();
    if (window.lblRelogio->isVisibleTo(&window))
        page[QStringLiteral("relogio")] = window.lblRelogio->text();
    if (!r)
        return page;
    page[QStringLiteral("pagina")] = r->PaginaAtual();
    page[QStringLiteral("gradiente")] = QJsonArray{hex(r->BarraTitulo->Inicio()), hex(r->BarraTitulo->Fim())};
    page[QStringLiteral("cor_titulos")] = hex(r->lblDiario->palette().color(QPalette::WindowText));
    if (r->faixaSetor) {
        QJsonObject faixa;
        faixa[QStringLiteral("nome")] = r->faixaSetor->lblNome->text();
        faixa[QStringLiteral("diario")] = r->faixaSetor->lblDia->text();
        faixa[QStringLiteral("mensal")] = r->faixaSetor->lblMes->text();
        faixa[QStringLiteral("cor")] = hex(background(r->faixaSetor));
        classes(faixa, r->faixaSetor->classeDiario(), r->faixaSetor->classeMensal());
        page[QStringLiteral("faixa")] = faixa;
    } else {
        page[QStringLiteral("faixa")] = QJsonValue();
    }
    QJsonArray linhas;
    for (const TfrmfuncionarioSetorBase* row : r->linhas)
        linhas.append(describeRow(row));
    page[QStringLiteral("linhas")] = linhas;
    if (r->tendencia)
        page[QStringLiteral("tendencia")] = tendenciaJson(*r->tendencia);
    return page;
}

int runSnapshot(QApplication&, const QString& outDir, const QSize& size)
{
    static SnapshotBoxes boxes;
    platform::setMessageBoxes(&boxes);
    // The window is laid out in logical pixels; a device scale (screens
    // larger than the design) renders it at the size asked for.
    const double scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                             ? std::max(0.1, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble())
                             : 1.0;
    const QSize logical(int(std::lround(size.width() / scale)), int(std::lround(size.height() / scale)));
    setScreenSize(logical);
    bool ok = false;
    auto dm = CreateDmPrinc(&ok);
    if (!ok || platform::terminateRequested() || !dmMarvessa)
        return 1;
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(outDir));
        return 1;
    }

    TfrmPrincipal window(*dm, *dmMarvessa);
    window.resize(logical);
    window.FormCreate();
    window.show();
    if (boxes.failed)
        return 1;

    QJsonArray pages;
    int picture = 0;
    auto save = [&](const QString& name, QJsonObject description) {
        QApplication::processEvents();
        const QString file = QStringLiteral("%1-%2.png").arg(++picture, 3, 10, QLatin1Char('0')).arg(name);
        if (!window.grab().save(QDir(outDir).filePath(file)))
            throw std::runtime_error(("cannot write " + file).toStdString());
        description[QStringLiteral("arquivo")] = file;
        pages.append(description);
    };

    QJsonObject root;
    root[QStringLiteral("largura")] = size.width();
    root[QStringLiteral("altura")] = size.height();
    root[QStringLiteral("sem_indicadores")] = window.showBg();
    try {
        if (window.showBg() || (!window.frmRelatorio() && !window.frmResumo())) {
            save(QStringLiteral("sem-indicadores"), QJsonObject());
        } else {
            const int paginas = window.ciclo().rotacao().paginas();
            for (int s = 0; s < paginas; ++s) {
                const std::optional<PaginaRotacao> atual = window.ciclo().rotacao().atual();
                if (atual && !atual->setor) {
                    window.frmResumo()->trocaPagina->stop();
                    save(QStringLiteral("resumo-%1").arg(atual->paginaResumo), describeResumo(window));
                    if (s + 1 < paginas)
                        window.ProximaPagina();
                    continue;
                }
                TfrmRelatorio* page = window.frmRelatorio();
                page->trocaPagina->stop();
                const int count = std::max(1, page->Paginas());
                for (int p = 0; p < count; ++p) {
                    page->setPaginaAtual(p);
                    page->trocaPagina->stop();
                    save(QStringLiteral("%1-%2").arg(window.codigoAtual()).arg(p), describePage(window));
                }
                if (s + 1 < paginas)
                    window.ProximaPagina();
                if (boxes.failed)
                    return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    root[QStringLiteral("paginas")] = pages;
    QFile json(QDir(outDir).filePath(QStringLiteral("pages.json")));
    if (!json.open(QIODevice::WriteOnly) || json.write(QJsonDocument(root).toJson()) < 0) {
        std::fprintf(stderr, "cannot write pages.json\n");
        return 1;
    }
    return 0;
}
