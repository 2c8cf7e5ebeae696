#include "app/EnderecoBanco.h"

#include <QRegularExpression>

namespace {

const QString kForma = QStringLiteral("servidor:C:\\Dados\\FABRICA.FDB");

EnderecoBanco recusado(const QString& motivo)
{
    EnderecoBanco e;
    e.erro = motivo;
    return e;
}

// "host", "host:port", "[v6]" or "[v6]:port", as a URL writes it, then the path.
EnderecoBanco url(const QString& db, const QString& resto)
{
    EnderecoBanco e;
    QString hostPorta;
    qsizetype barra = 0;
    if (resto.startsWith(QLatin1Char('['))) {
        const qsizetype fecha = resto.indexOf(QLatin1Char(']'));
        if (fecha < 0)
            return recusado(QStringLiteral("\"%1\": falta o \"]\" do endereço IPv6.").arg(db));
        e.servidor = resto.mid(1, fecha - 1);
        barra = resto.indexOf(QLatin1Char('/'), fecha);
        hostPorta = resto.mid(fecha + 1, barra < 0 ? -1 : barra - fecha - 1);
        if (hostPorta.startsWith(QLatin1Char(':')))
            e.porta = hostPorta.mid(1);
    } else {
        barra = resto.indexOf(QLatin1Char('/'));
        hostPorta = resto.left(barra);
        const qsizetype doisPontos = hostPorta.indexOf(QLatin1Char(':'));
        e.servidor = hostPorta.left(doisPontos);
        if (doisPontos >= 0)
            e.porta = hostPorta.mid(doisPontos + 1);
    }
    if (barra < 0 || barra + 1 >= resto.size())
        return recusado(QStringLiteral("\"%1\": falta o caminho do banco depois do servidor (%2/caminho).")
                            .arg(db, resto.left(barra)));
    e.caminho = resto.mid(barra + 1);
    if (e.servidor.isEmpty())
        return recusado(QStringLiteral("\"%1\": falta o nome do servidor.").arg(db));
    return e;
}

} // namespace

QString EnderecoBanco::servidorTexto() const
{
    const QString host = servidor.contains(QLatin1Char(':')) ? QLatin1Char('[') + servidor + QLatin1Char(']') : servidor;
    return porta.isEmpty() ? host : host + QLatin1Char('/') + porta;
}

EnderecoBanco lerEnderecoBanco(const QString& db)
{
    const QString s = db.trimmed();
    static const QRegularExpression protocolo(QStringLiteral("^([a-z0-9]+)://(.*)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = protocolo.match(s); m.hasMatch()) {
        const QString p = m.captured(1).toLower();
        if (p == QLatin1String("inet") || p == QLatin1String("inet4") || p == QLatin1String("inet6"))
            return url(db, m.captured(2));
        return recusado(QStringLiteral("\"%1\": o protocolo %2:// não existe neste PC (xnet e wnet são do Windows). "
                                       "Escreva o servidor e o caminho: %3")
                            .arg(db, p, kForma));
    }
    if (s.startsWith(QLatin1String("\\\\")) || s.startsWith(QLatin1String("//")))
        return recusado(QStringLiteral("\"%1\" é um compartilhamento de rede do Windows: o Firebird não abre um banco "
                                       "por compartilhamento. Escreva o servidor onde o arquivo está e o caminho no "
                                       "disco dele: %2")
                            .arg(db, kForma));
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(s).hasMatch())
        return recusado(QStringLiteral("\"%1\" é um caminho do Windows sem o servidor: este PC não tem o disco %2. "
                                       "Escreva o servidor onde o arquivo está antes do caminho: %3")
                            .arg(db, s.left(2), kForma));
    EnderecoBanco e;
    if (s.startsWith(QLatin1Char('['))) {
        // [v6]/port:path or [v6]:path
        const qsizetype fecha = s.indexOf(QLatin1Char(']'));
        const qsizetype doisPontos = fecha < 0 ? -1 : s.indexOf(QLatin1Char(':'), fecha);
        if (doisPontos < 0)
            return recusado(QStringLiteral("\"%1\": escreva [endereço IPv6]:caminho ou [endereço IPv6]/porta:caminho.")
                                .arg(db));
        e.servidor = s.mid(1, fecha - 1);
        const QString entre = s.mid(fecha + 1, doisPontos - fecha - 1);
        if (entre.startsWith(QLatin1Char('/')))
            e.porta = entre.mid(1);
        e.caminho = s.mid(doisPontos + 1);
    } else {
        const qsizetype doisPontos = s.indexOf(QLatin1Char(':'));
        const qsizetype barra = s.indexOf(QLatin1Char('/'));
        // A colon in a path of this PC (/dados/a:b.fdb), or none: a file or
        // an alias here.
        if (doisPontos < 0 || (barra >= 0 && barra < doisPontos && s.startsWith(QLatin1Char('/')))) {
            e.local = true;
            e.caminho = s;
            return e;
        }
        const QString host = s.left(doisPontos);
        const qsizetype porta = host.indexOf(QLatin1Char('/'));
        e.servidor = host.left(porta);
        if (porta >= 0)
            e.porta = host.mid(porta + 1);
        e.caminho = s.mid(doisPontos + 1);
    }
    if (e.servidor.isEmpty())
        return recusado(QStringLiteral("\"%1\": falta o nome do servidor antes de \":\".").arg(db));
    if (e.caminho.isEmpty())
        return recusado(QStringLiteral("\"%1\": falta o caminho do banco depois de \"%2:\".").arg(db, s.left(s.size() - 1)));
    return e;
}
