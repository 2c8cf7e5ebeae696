#pragma once

#include <QString>

#include <cstdint>

class WorkTable;

// Minutes of the shift row on which a table stands: the normal shift less
// its breaks, the overtime window, and their sum. The calculator never moves
// the table.
class TCalcExpediente {
public:
    WorkTable* DataSetExped() const { return FDataSetExped; }
    void setDataSetExped(WorkTable* v) { FDataSetExped = v; }

    std::int32_t MinExpedienteNormal();
    std::int32_t MinExpedienteHE();
    std::int32_t MinExpedienteTotal();

    // Minutes from one "hh:mm" text to another; negative when the end is earlier.
    static std::int32_t getQtdeMinutosEntreHoras(const QString& HoraIni, const QString& HoraFim);
    static std::int32_t getHora(const QString& Texto);
    static std::int32_t getMinuto(const QString& Texto);
    static std::int32_t HorasToMinutos(std::int32_t Horas) { return Horas * 60; }

private:
    std::int32_t getMinutosEntreCampos(const QString& CampoIni, const QString& CampoFim);
    bool DataSetExpedConfigurado();

    WorkTable* FDataSetExped = nullptr;
};

// A warning box of the calculation module (warning icon, one OK button).
void avisoCalculo(const QString& texto);
