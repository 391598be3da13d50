#pragma once
#include <QDateTime>
#include <QMap>
#include <QString>

#include "core/untRelogio.h"

class IDialogos;
class TDTM;

// An office folder for the month's closing of May 2012, built through the program's own doors (the register's
// checks and saves, the invoice entry rules, each declaration saved from its "Processa" and checked as its
// screen checks it): one taxpayer in each state of the month, and one whose file the writer refuses.
//   "sem movimento"             ALFA: nothing in May
//   "sem declaração"            BETA: a sale, no declaration
//   "declaração desatualizada"  GAMA: normal regime saved, then one more sale typed
//   "pronto para gerar"         DELTA (normal regime), EPSILON (EPP), ZETA (Simples Nacional)
//   "arquivo gerado"            ETA: Simples Nacional whose file was written after its save
//   "entregue"                  TETA: normal regime, quoted by June's declaration with its receipt
//   ready, but its file fails   IOTA: normal regime kept from before the delivery type was asked
struct TEscritorioFechamento {
    static constexpr const char* kPeriodo = "201205";
    static QString recibo() { return QStringLiteral("A1B2C3D4E5F60718293A4B5C6D7E8F90"); }

    // The taxpayers by their short name ("ALFA" ... "IOTA") with their keys and registrations.
    QMap<QString, int> ids;
    QMap<QString, QString> inscricoes;
    QMap<QString, QString> razoes;
    int cliente = 0;

    // False (the test already failed) when anything was refused.
    bool monta(TDTM& dtm, IDialogos& dialogos, const IRelogio& relogio);

    // A normal-regime declaration of the taxpayer saved from "Processa", its delivery checked as its screen
    // checks it (no check for a type of -1, as before the type was asked for).
    static bool salvaZel(TDTM& dtm, IDialogos& dialogos, const IRelogio& relogio, int contribuinte,
                         const QString& periodo, int tipoEntrega, const QString& recibo);
    // One more invoice of the taxpayer through the entry rules.
    static bool nota(TDTM& dtm, IDialogos& dialogos, const IRelogio& relogio, int contribuinte, int parte, bool entrada,
                     const QString& numero, const QDate& emissao, const QString& cfop, const QString& valor);
};
