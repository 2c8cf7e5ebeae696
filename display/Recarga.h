#pragma once

class GenerationWorker;
class TdmPrinc;
class TfrmPrincipal;

// systemctl reload (SIGHUP): the settings file read again and applied to the
// running indicator without closing its window. The display's settings take
// effect at the next page; those that change the figures start a run while
// the figures on show stay. A file that cannot be used changes nothing: the
// log, status.json and a notice on screen say why. One log line, event=reload,
// says what changed or why nothing did.
class Recarga {
public:
    Recarga(TdmPrinc& princ, GenerationWorker& worker, TfrmPrincipal& janela)
        : princ_(princ), worker_(worker), janela_(janela)
    {
    }

    void recarregar();

private:
    TdmPrinc& princ_;
    GenerationWorker& worker_;
    TfrmPrincipal& janela_;
};
