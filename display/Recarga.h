#pragma once

#include <QByteArray>
#include <QObject>

class GenerationWorker;
class TdmPrinc;
class TfrmPrincipal;

// systemctl reload (SIGHUP): the settings file read again and applied to the
// running indicator without closing its window. The display's settings take
// effect at the next page; those that change the figures start a run while
// the figures on show stay. A file that cannot be used changes nothing: the
// log, status.json and a notice on screen say why. One log line, event=reload,
// says what changed or why nothing did.
class Recarga : public QObject {
    Q_OBJECT
public:
    Recarga(TdmPrinc& princ, GenerationWorker& worker, TfrmPrincipal& janela)
        : princ_(princ), worker_(worker), janela_(janela)
    {
    }

    // A reload signal: the file is read until two reads a moment apart are
    // equal (an editor or a copy may be writing it), then judged. Signals
    // that come while it waits make no reload of their own.
    void pedir();
    // Judges the file as it is now and applies it, or refuses it.
    void recarregar();

    // Between two reads of a file being written, and how many reads at most
    // before a file that keeps changing is refused (tests shorten them).
    int intervaloMs = 250;
    int leiturasMax = 20;

private:
    void conferir();
    void recusar(const QString& erro);

    TdmPrinc& princ_;
    GenerationWorker& worker_;
    TfrmPrincipal& janela_;
    bool esperando_ = false;
    int leituras_ = 0;
    QByteArray anterior_;
};
