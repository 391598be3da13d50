#pragma once
#include <QString>

#include "core/untFalha.h"

class TContribuinte;
class TContador;


// ----- accountants

struct TCamposContador {
    QString tipoInscricao;  // "CPF" or "CNPJ"
    QString numero;         // digits typed
    QString nome;
    QString crc;
    QString email;
    QString fone;           // the 12 positions as typed
};

inline const QString PresetCrc = QStringLiteral("ZR******S*");

// Two letters, six digits, a letter and an optional letter or digit (case does not matter: it is stored in
// capitals).
bool CrcValido(const QString& crc);
// The checks of "Confirma" in their order; the include dialog also refuses the untouched CRC preset.
TFalha ChecaContador(const TCamposContador& c, bool inclusao);
void PreparaContador(const TCamposContador& c, TContador& destino);

// ----- taxpayers and counterparties

enum class ModoContribuinte { IncluirContribuinte, IncluirClienteFornecedor, AlterarContribuinte, AlterarClienteFornecedor };

inline bool ehContribuinte(ModoContribuinte m)
{
    return m == ModoContribuinte::IncluirContribuinte || m == ModoContribuinte::AlterarContribuinte;
}
inline bool ehInclusao(ModoContribuinte m)
{
    return m == ModoContribuinte::IncluirContribuinte || m == ModoContribuinte::IncluirClienteFornecedor;
}

struct TCamposContribuinte {
    QString tipoInscricao;  // "CNPJ" or "CPF"
    QString numero;         // digits typed
    QString razaoSocial;
    QString ccicms;         // digits typed, or "ISENTO"
    bool isento = false;
    QString logradouro;
    QString numeroEndereco;
    QString complemento;
    QString bairro;
    QString cep;            // digits typed
    QString municipio;
    QString uf;
    QString fax;            // the 10 positions as typed
    QString contato;
    QString fone;           // the 12 positions as typed
    QString email;
    int idContador = 0;
};

// The name as stored: accents replaced, on include also every character outside the accepted set dropped,
// upper case, surrounding blanks removed.
QString PreparaRazaoSocial(const QString& texto, bool inclusao);
// Address and contact texts as stored: accents replaced, upper case, trimmed.
QString PreparaTexto(const QString& texto);

// The checks of "&Salvar" (include) or "Confirma" (change), in their order. `registro` answers whether the
// party is already registered (include only).
TFalha ChecaContribuinte(const TCamposContribuinte& c, ModoContribuinte modo, TContribuinte& registro);
// Copies the prepared values into the entity (kind and accountant by mode). On change the entity should hold
// the stored row first (TContribuinte::Carregar): what the mode does not show is written back unchanged.
void PreparaContribuinte(const TCamposContribuinte& c, ModoContribuinte modo, TContribuinte& destino);
