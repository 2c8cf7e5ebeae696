// The employee filter setting as the screen and --check judge it: any text
// either compiles or gives a message with a position inside the setting (or
// its end) and a reason in Portuguese; a form the message suggests compiles.
#include "app/FiltroFuncionarios.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>

namespace {

void exigir(bool condicao)
{
    if (!condicao)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QRegularExpression forma(
        QStringLiteral("^Configuração inválida em \"Funcionarios\", (posição (\\d+)|no fim do texto): (.+?)"
                       "(\\. O programa fecha o último parêntese: escreva \"(.*)\")?$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString erro = erroFiltroFuncionarios(texto);
    if (erro.isEmpty())
        return 0;
    const QRegularExpressionMatch m = forma.match(erro);
    exigir(m.hasMatch());
    if (m.capturedLength(2) > 0) {
        const qsizetype posicao = m.captured(2).toLongLong();
        exigir(posicao >= 1 && posicao <= texto.size());
    }
    exigir(!m.captured(3).trimmed().isEmpty());
    if (m.capturedLength(4) > 0)
        exigir(erroFiltroFuncionarios(m.captured(5)).isEmpty());
    return 0;
}
