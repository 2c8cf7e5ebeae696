#pragma once

#include "tests/app/IniFixture.h"

#include <QByteArray>
#include <QJsonArray>
#include <QStringList>

#include <string>

// A generated month of the demo factory (tolvaneo-demo-db): its reading day
// 2026-11-05 read up to `agora`, in seven sectors. Returns the SQL.
QString mesGerado(const QString& agora = QStringLiteral("07:40"));

// The tables of `--report` as printed, for a reading day and a number of
// cycles (MinutosCompleto left at its default, so runs after the first are
// refresh runs), with more settings of [Banco] when given.
struct Relatorio {
    QByteArray tabelas;
    QStringList tipos;
    QJsonArray tempoSetor;
};
Relatorio relatorio(const IniFolder& folder, const QString& db, const QString& dataBase, int ciclos,
                    const QByteArray& banco = {});

// The first line where two printed tables differ, for the failure message.
std::string primeiraDiferenca(const QByteArray& a, const QByteArray& b);
