#pragma once

#include "app/IniFile.h"

#include <QString>

#include <optional>
#include <span>

// The settings file, in the application folder.
inline constexpr char kArquivoConfiguracoes[] = "Marvessa.ini";
QString caminhoConfiguracoes();
// The settings file as the program reads it: nullopt when there is none;
// fails with std::runtime_error when it cannot be read. The one place that
// reads it, for the indicator and for --check alike.
std::optional<IniFile> lerArquivoConfiguracoes();

// What the screen, --report and the log say of settings with no database.
inline constexpr char kSemBanco[] = "Nenhum banco de dados configurado: falta [Paths] DB.";

// The program's version, as the build gives it.
QString versaoPrograma();

// How a setting's text is read.
enum class Leitura {
    Texto,   // as written
    Inteiro, // decimal, or hexadecimal after "0x"; the default when not a number
    SimNao,  // "S" is yes, anything else no
    Data,    // a regional short date, optionally with a time
    Lista,   // codes separated by commas or blanks
};

// What a change of a setting read again calls for.
enum class ParteRecarga {
    Tela,     // the pages are made again; the figures stay
    Execucao, // a run follows, with the figures it changes
    Conexao,  // the next run attaches again (the database or its credentials)
};

// The settings, in the list's order.
enum class Ajuste {
    DataBase,
    Simplificado,
    TempoTroca,
    Funcionarios,
    AgruparFuncionario,
    Setores,
    MinutosCompleto,
    Resumo,
    Relogio,
    Meta,
    Tendencia,
    Contato,
    DB,
    ACESSO,
    Chave,
    Usuario,
    SenhaArquivo,
    SenhaCredencial,
    ConsultasParalelas,
};

// One setting of the file: where it stands, what the program takes when it
// is missing, how it is read, what a change of it calls for and what it
// means. The one list of them: the loading, the reload, --check, the
// package's template and the README follow it.
struct Configuracao {
    Ajuste id;
    const char* secao;
    const char* chave;
    const char* padrao;     // the text taken when the key is missing
    const char* semValor;   // how --check shows a missing key; nullptr: padrao
    Leitura leitura;
    ParteRecarga parte;
    const char* significado; // in Portuguese, for the technician
    std::optional<int> minimo = {}; // a whole number below it reads as it
};

std::span<const Configuracao> configuracoes();
const Configuracao& configuracao(Ajuste id);
// The setting's key as the file writes it, for messages and the reports.
QString nome(Ajuste id);

// Reads the "Meta" setting: a percentage above 0 (at most 10000), with a
// point or a comma before decimals; nullopt when empty or not such a number.
std::optional<double> lerMeta(const QString& texto);
// ConsultasParalelas: "N" or "1" reads one source at a time; anything else
// side by side.
bool lerConsultasParalelas(const QString& texto);

// A setting's value as the file gives it, or its default.
QString lerTexto(const IniFile& ini, Ajuste id);
int lerInteiro(const IniFile& ini, Ajuste id);
// A setting's value as the file gives it; nullopt when the file has none.
std::optional<QString> lerEscrito(const IniFile& ini, Ajuste id);
