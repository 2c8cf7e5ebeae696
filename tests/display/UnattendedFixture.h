#pragma once

// A factory reached through a server of the test's own, and the indicator on
// it as the program runs it: the fixture of the unattended tests.
#include "app/GenerationWorker.h"
#include "app/TdmPrinc.h"
#include "data/DatabaseError.h"
#include "data/Log.h"
#include "calc/TdmMarvessa.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"
#include "display/TfrmPrincipal.h"
#include "display/TfrmRelatorio.h"
#include "tests/app/IniFixture.h"
#include "tests/common/Fakes.h"
#include "tests/common/FirebirdServer.h"
#include "tests/common/FixtureDb.h"
#include "tests/common/Isql.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace unattended {


inline QString sectorSql(const QString& cod, const QString& nome, int ordem, const QString& func, int ficha)
{
    return QStringLiteral(
               "insert into SETOR values ('%1', '%2', %3, '%1');\n"
               "insert into PRODUTO_TEMPO values ('P%1', '%1', 60);\n"
               "insert into PRODUCAO_EXPEDIENTE values ('2026-11-05', '%1', '%4', '08:00', '16:00', 0, null, null, 0, 1, 0);\n"
               "insert into ITENSPV values (1, %5, 1, 'P%1');\n"
               "insert into PRODUCAO_SETOR values (1, %5, '%1', '2026-11-05 10:00', '10:00', 240, '%4');\n")
        .arg(cod, nome)
        .arg(ordem)
        .arg(func)
        .arg(ficha);
}

// A factory reached through a server of the test's own, the indicator on it
// with a generation worker.
class Unattended : public ::testing::Test {
protected:
    void start(const QString& setores, const QString& dataBase = QStringLiteral("DataBase=05/11/2026\n"))
    {
        folder = std::make_unique<IniFolder>(QStringLiteral("[Tolvaneo]\n%3Simplificado=S\n"
                                                           "TempoTroca=3600\nSetores=%1\n[Paths]\nDB=%2\n")
                                                 .arg(setores, server.url(db.path()), dataBase)
                                                 .toUtf8());
        bool ok = false;
        dm = CreateDmPrinc(&ok);
        ASSERT_TRUE(ok) << (fakes.boxes.shown.empty() ? "" : fakes.boxes.shown[0].text.toStdString());
        worker = std::make_unique<GenerationWorker>(dm->sqlCon, dmMarvessa->DataLeitura(),
                                                    dmMarvessa->ExpedienteProducaoPorFunc(), dm->DataFixa());
        window = std::make_unique<TfrmPrincipal>(*dm, *dmMarvessa);
        window->setWorker(worker.get());
        window->resize(1280, 720);
        window->FormCreate();
    }
    // The indicator as the program starts it: the settings read, the window
    // up, the worker to attach (or, with conectado, attached already). The
    // test may set the worker and the window up further before iniciar().
    void abrir(const QString& ini, bool conectado = false)
    {
        folder = std::make_unique<IniFolder>(ini.toUtf8());
        dm = std::make_unique<TdmPrinc>();
        dm->setGeracaoInicialAdiada(true);
        dm->setConexaoAdiada(!conectado);
        dm->DataModuleCreate();
        worker = std::make_unique<GenerationWorker>(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario());
        window = std::make_unique<TfrmPrincipal>(*dm);
        window->setWorker(worker.get());
        window->resize(1280, 720);
    }
    QString iniServidor(const QString& setores = QStringLiteral("03,11")) const
    {
        return QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=%1\n[Paths]\nDB=%2\n")
            .arg(setores, server.url(db.path()));
    }
    void fechar()
    {
        logfmt::setSink({});
        window.reset();
        worker.reset();
        dm.reset();
    }
    // Shows sectors until the cycle ends and waits for the run it starts.
    void finishCycle()
    {
        for (int i = 0; i < 5 && !window->aguardandoGeracao(); ++i)
            window->ProximaPagina();
        ASSERT_TRUE(window->aguardandoGeracao());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->aguardandoGeracao(); }, 60000));
    }
    QJsonObject status() const
    {
        QFile f(folder->path() + "/status.json");
        f.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(f.readAll()).object();
    }
    void TearDown() override
    {
        logfmt::setSink({});
        window.reset();
        worker.reset();
        dm.reset();
    }

    void SetUp() override { fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0))); }

    PlatformFakes fakes;
    ScopedEnv locale{"LC_ALL", QByteArray("C")};
    FixtureDb db{sectorSql("03", "Costura", 3, "001", 1) + sectorSql("11", "Montagem", 11, "002", 2)};
    FirebirdServer server{"plonqubir"};
    std::unique_ptr<IniFolder> folder;
    std::unique_ptr<TdmPrinc> dm;
    std::unique_ptr<GenerationWorker> worker;
    std::unique_ptr<TfrmPrincipal> window;
    QStringList log;
    void captureLog()
    {
        logfmt::setSink([this](const QString& l) {
            QMutexLocker lock(&logMutex);
            log << l;
        });
    }
    QStringList logLines(const QString& event)
    {
        QMutexLocker lock(&logMutex);
        return log.filter(QRegularExpression(" event=" + event + "( |$)"));
    }
    QMutex logMutex;
};

} // namespace unattended
