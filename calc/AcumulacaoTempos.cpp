#include "calc/AcumulacaoTempos.h"

int AcumulacaoTempos::Numeros::operator()(const QString& texto)
{
    if (ultimoId_ >= 0 && mesmoTexto(texto, ultimo_))
        return ultimoId_;
    auto it = ids_.constFind(texto);
    ultimoId_ = it != ids_.cend() ? it.value() : int(ids_.size());
    if (it == ids_.cend()) {
        ids_.insert(texto, ultimoId_);
        textos_.push_back(texto);
    }
    ultimo_ = texto;
    return ultimoId_;
}

AcumulacaoTempos::AcumulacaoTempos(double diaIni, double diaFim, regra::Agora agora, bool porFuncionario)
    : agora_(std::move(agora)), porFuncionario_(porFuncionario)
{
    if (diaFim >= diaIni && diaFim - diaIni < 400) {
        diaIni_ = diaIni;
        dias_ = qsizetype(diaFim - diaIni) + 1;
    }
}

void AcumulacaoTempos::adicionarTurno(const ChaveLinha& chave, const std::function<regra::Turno()>& turno)
{
    const ChaveTurno k{chave.data, setores_(chave.setor), funcionarios_(chave.funcionario)};
    if (turnos_.contains(k))
        return;
    regra::Turno t = turno();
    const ValoresTurno v{textos_(t.inicio), textos_(t.fim), textos_(t.inicioHe), textos_(t.fimHe),
                         t.almoco,          t.inativo,      t.qtde,            t.qtdeHe};
    auto igual = turnosIguais_.constFind(v);
    if (igual == turnosIguais_.cend()) {
        // One copy of each text for all the shifts that hold it.
        for (QString* hora : {&t.inicio, &t.fim, &t.inicioHe, &t.fimHe})
            *hora = textos_.unico(*hora);
        turnosUnicos_.push_back(std::move(t));
        igual = turnosIguais_.insert(v, &turnosUnicos_.back());
    }
    turnos_.insert(k, igual.value());
}

AcumulacaoTempos::Entrada& AcumulacaoTempos::entrada(double dia, const QString& setor, const QString& funcionario)
{
    if (atual_ >= 0) {
        Entrada& e = entradas_[size_t(atual_)];
        if (e.chave.data == dia && mesmoTexto(e.chave.setor, setor) && mesmoTexto(e.chave.funcionario, funcionario))
            return e;
    }
    qsizetype* slot = nullptr;
    const double d = dia - diaIni_;
    const int idSetor = setores_(setor), idFuncionario = funcionarios_(funcionario);
    if (d >= 0 && d < double(dias_) && d == double(qsizetype(d))) {
        const quint64 p = par(idSetor, idFuncionario);
        auto it = pares_.constFind(p);
        if (it == pares_.cend()) {
            it = pares_.insert(p, pares_.size());
            porDia_.resize(porDia_.size() + size_t(dias_), -1);
        }
        slot = &porDia_[size_t(it.value() * dias_ + qsizetype(d))];
    } else {
        const ChaveLinha chave{dia, setor, funcionario};
        auto it = foraDoPeriodo_.find(chave);
        if (it == foraDoPeriodo_.end())
            it = foraDoPeriodo_.insert(chave, -1);
        slot = &it.value();
    }
    if (*slot < 0) {
        // About one entry and one row for each shift row: room for them at
        // once, rather than the doubling a growing list goes through.
        if (entradas_.empty()) {
            const size_t previstas = size_t(turnos_.size()) + size_t(turnos_.size()) / 16 + 16;
            entradas_.reserve(previstas);
            linhas_.reserve(previstas);
        }
        // The shift row: by employee, or the sector's row of no employee.
        ChaveLinha chave{dia, setores_.texto(idSetor), funcionarios_.texto(idFuncionario)};
        const int doTurno = porFuncionario_ ? idFuncionario : funcionarios_(QString());
        auto t = turnos_.constFind(ChaveTurno{dia, idSetor, doTurno});
        *slot = qsizetype(entradas_.size());
        entradas_.push_back(Entrada{std::move(chave), t == turnos_.cend() ? nullptr : t.value()});
    }
    atual_ = *slot;
    return entradas_[size_t(atual_)];
}

void AcumulacaoTempos::somar(Entrada& e, const QString& nomeSetor, std::int32_t ordem, const QString& nomeFuncionario,
                             double qtde, double tempo, const QString& horaSaida,
                             const std::function<double(const QString&)>& trocaFicha)
{
    if (e.linha < 0) {
        e.linha = qsizetype(linhas_.size());
        // One sector per row: its ticket-change time is looked up once.
        linhas_.push_back(LinhaTempo{e.chave, textos_.unico(nomeSetor), textos_.unico(nomeFuncionario), ordem, estagio_,
                                     trocaFicha(e.chave.setor), {}, std::nullopt});
    }
    LinhaTempo& l = linhas_[size_t(e.linha)];
    regra::somarRegistro(l.soma, *e.turno, e.chave.data, agora_, qtde, tempo, l.trocaFicha, horaSaida);
}

const double* AcumulacaoTempos::tempoProduto(const QString& produto, const QString& setor)
{
    auto t = temposProduto_.constFind(par(produtos_(produto), setores_(setor)));
    return t != temposProduto_.cend() ? &t.value() : nullptr;
}

void AcumulacaoTempos::guardarTempoProduto(const QString& produto, const QString& setor, double tempo)
{
    temposProduto_.insert(par(produtos_(produto), setores_(setor)), tempo);
}
