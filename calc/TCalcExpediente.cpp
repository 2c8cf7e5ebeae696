#include "calc/TCalcExpediente.h"

#include "data/Platform.h"
#include "data/WorkTable.h"

namespace {

// Optional leading blanks, an optional sign, then digits only; anything
// else is 0.
std::int32_t numberOrZero(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const QString rest = text.mid(i);
    qsizetype digitsFrom = (rest.startsWith(QLatin1Char('+')) || rest.startsWith(QLatin1Char('-'))) ? 1 : 0;
    if (rest.size() <= digitsFrom)
        return 0;
    for (qsizetype j = digitsFrom; j < rest.size(); ++j)
        if (!rest[j].isDigit() || rest[j].unicode() > u'9')
            return 0;
    return rest.toInt();
}

} // namespace

void avisoCalculo(const QString& texto)
{
    platform::messageBoxes().show(QStringLiteral("Aviso"), texto, platform::MsgIcon::Warning, platform::MsgButtons::Ok);
}

std::int32_t TCalcExpediente::getHora(const QString& Texto)
{
    return numberOrZero(Texto.mid(0, 2));
}

std::int32_t TCalcExpediente::getMinuto(const QString& Texto)
{
    return numberOrZero(Texto.mid(3, 2));
}

std::int32_t TCalcExpediente::getQtdeMinutosEntreHoras(const QString& HoraIni, const QString& HoraFim)
{
    const std::int32_t inicio = HorasToMinutos(getHora(HoraIni)) + getMinuto(HoraIni);
    const std::int32_t fim = HorasToMinutos(getHora(HoraFim)) + getMinuto(HoraFim);
    return fim - inicio;
}

bool TCalcExpediente::DataSetExpedConfigurado()
{
    if (FDataSetExped)
        return true;
    avisoCalculo(QStringLiteral("DataSet dos dados do Expediente não configurado."));
    return false;
}

std::int32_t TCalcExpediente::getMinutosEntreCampos(const QString& CampoIni, const QString& CampoFim)
{
    if (!DataSetExpedConfigurado())
        return 0;
    WorkField* ini = FDataSetExped->findField(CampoIni);
    WorkField* fim = FDataSetExped->findField(CampoFim);
    if (!ini || !fim) {
        avisoCalculo(QStringLiteral("Campos ") + CampoIni + QStringLiteral(" e ") + CampoFim +
                     QStringLiteral(" não encontrados no DataSet."));
        return 0; // the pair cannot be read
    }
    return getQtdeMinutosEntreHoras(ini->asString(), fim->asString());
}

std::int32_t TCalcExpediente::MinExpedienteNormal()
{
    std::int32_t minutos = getMinutosEntreCampos(QStringLiteral("HORA_INICIO_PE"), QStringLiteral("HORA_FIM_PE"));
    if (FDataSetExped) {
        if (WorkField* almoco = FDataSetExped->findField(QStringLiteral("MINUTOS_INTERVALO_ALMOCO_PE")))
            minutos -= almoco->asInteger();
        if (WorkField* inativo = FDataSetExped->findField(QStringLiteral("MINUTOS_INATIVO_PE")))
            minutos -= inativo->asInteger();
    }
    return minutos;
}

std::int32_t TCalcExpediente::MinExpedienteHE()
{
    return getMinutosEntreCampos(QStringLiteral("HORA_INICIO_HE_PE"), QStringLiteral("HORA_FIM_HE_PE"));
}

std::int32_t TCalcExpediente::MinExpedienteTotal()
{
    const std::int32_t normal = MinExpedienteNormal();
    return normal + MinExpedienteHE();
}
