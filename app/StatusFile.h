#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

// status.json beside the settings: what a technician can read without the
// screen. It states only what is true: a value nobody knows yet is null.
// Written atomically, and only when its content changes.
class StatusFile {
public:
    explicit StatusFile(QString versao);

    void setInicio(const QDateTime& t) { inicio_ = t; }
    // The reading day of the figures on screen, or of the run in progress
    // while there are none.
    void setDiaLeitura(const QDate& d) { diaLeitura_ = d; }
    void setGeracao(const QDateTime& fim, std::optional<double> segundos);
    void setErro(const QString& erro, const QDateTime& hora);
    void limparErro();
    // A settings file a reload refused (empty: the last reload worked): the
    // last error while no run's error stands before it.
    void setRecargaRecusada(const QString& erro, const QDateTime& hora);
    void setSetor(const QString& codigo) { setor_ = codigo; }
    void setEstado(const QString& estado) { estado_ = estado; }
    // Whether the figures on screen are marked old (the stale banner), and
    // the Portuguese cause the screen gives (empty: none).
    void setDadosAntigos(bool antigos) { dadosAntigos_ = antigos; }
    void setMotivo(const QString& motivo) { motivo_ = motivo; }

    // Writes the file when its text differs from the last one written.
    void gravar();
    // The last write failed: gravar() tries again even with no change.
    bool falhando() const { return falhando_; }
    QByteArray texto() const;

private:
    QString versao_;
    QDateTime inicio_;
    QDate diaLeitura_;
    QDateTime ultimaGeracao_;
    std::optional<double> duracao_;
    QString erro_;
    QDateTime horaErro_;
    QString recusa_;
    QDateTime horaRecusa_;
    QString setor_;
    QString estado_;
    bool dadosAntigos_ = false;
    QString motivo_;
    QByteArray gravado_;
    bool falhando_ = false;
};
