#pragma once
#include <QString>

#include "registers/untRegrasCadastro.h"

class IDialogos;
class TDTM;

// Test data through the program's own doors: every party is checked as its screen checks it and stored by the
// entity's save, so a fixture the program would refuse fails the test where it is built. The values are those
// of a real office: a CRC in its pattern, names that fill their 35 characters, e-mails of 40, phones with their
// area code.
namespace Fixtura {

// Registration numbers with their check digits computed, from their leading digits.
QString IeDoEstado(const QString& oitoDigitos);
QString Cnpj(const QString& dozeDigitos);
QString Cpf(const QString& noveDigitos);

// A complete accountant: CPF, a ten-character CRC, a name and an e-mail that fill their 40 characters, a phone
// with its hyphen.
TCamposContador Contador();
// A complete taxpayer of the home state ("C"); its accountant is given when it is registered.
TCamposContribuinte Contribuinte();
// A client or supplier ("F") of the home state; for another `uf` the caller gives a registration valid there.
TCamposContribuinte Parte(const QString& uf = QStringLiteral("ZR"));
// A carrier of São Paulo, with a registration of that state.
TCamposContribuinte Transportadora();
// A second taxpayer of the same office.
TCamposContribuinte OutroContribuinte();

} // namespace Fixtura

class TCadastroTeste {
public:
    TCadastroTeste(TDTM& dtm, IDialogos& dialogos) : m_dtm(dtm), m_dialogos(dialogos) {}

    // Each returns the new row's key, or 0 after failing the test with the check's or the save's message.
    int contador(const TCamposContador& c = Fixtura::Contador());
    int contribuinte(TCamposContribuinte c, int idContador);
    // A taxpayer with a fresh accountant of its own.
    int contribuinte();
    int parte(const TCamposContribuinte& c = Fixtura::Parte());
    // An office's usual folder in a fresh database: the taxpayer (1) with its accountant, a client of the state (2),
    // the carrier of São Paulo (3) and a second taxpayer of the same accountant (4). False (the test failed) when
    // any was refused or took another key.
    bool escritorio(const TCamposContribuinte& contribuinte = Fixtura::Contribuinte());

private:
    int inclui(const TCamposContribuinte& c, ModoContribuinte modo);
    TDTM& m_dtm;
    IDialogos& m_dialogos;
};
