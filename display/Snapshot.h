#pragma once

#include <QSize>
#include <QString>

class QApplication;
class TfrmPrincipal;
class QJsonObject;

// Renders one full rotation (every page of every sector, stopping before the
// recompute) to OUTDIR as numbered PNG files, plus pages.json describing
// what was drawn. Returns the exit status: 0, or 1 after an error.
int runSnapshot(QApplication& app, const QString& outDir, const QSize& size);

// What the window shows now, read back from its widgets.
QJsonObject describePage(const TfrmPrincipal& window);
// The overview page on show, as pages.json describes it.
QJsonObject describeResumo(const TfrmPrincipal& window);
// The state of the screen: its name ("estado"), and the banner's or the
// message page's words.
QJsonObject describeEstado(const TfrmPrincipal& window);
