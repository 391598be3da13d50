#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

#include "core/untFalha.h"
#include "core/untMoney.h"
#include "documents/untClsNotaTransporte.h"
#include "documents/untRegrasNotaFiscal.h"

// The header of a transport document as typed on its entry or change screen.
struct TCamposTransporte {
    QString modelo, serie, subSerie, numero;
    QDate emissao;
    QString cfop;
    Money valorTotal, baseIcms, valorIcms, isentas, outras;
    bool cif = true;             // "CIF (Pago)"; otherwise "FOB (A Pagar)"
    bool cancelada = false;
    SituacaoNFe nfe = SituacaoNFe::Nenhuma;
    QString inicioFaixa, finalFaixa;
    int idEmitente = 0;          // "Emitente / Tomador"; 0 until one is chosen
    QString ufEmitente;
    QString observacao;
};

struct TChecagemTransporte {
    TFalha falha;
    TSituacaoNota situacao;      // rows to write, the range's question and the closing message
    TNotaTransporte nota;        // the (first) row to write
};

// The checks of saving a transport header, in their order (the change screen: paper models only, no
// electronic situations). A cancelled, denied or voided document names the taxpayer itself, in the home
// state, with the generic code; its five values are stored as 0 so that it can never count as an amount.
TChecagemTransporte ChecaNotaTransporte(const TCamposTransporte& c, int idAtivo, const QDateTime& agora, bool alteracao);

// The checks of saving a cargo note: the model ("01", "04", "1", "4" or "55"), a note number from 1 to
// 999999 (empty or not a number is refused, never read as 0), a value above zero.
TFalha ChecaCarga(const QString& modelo, const QString& numero, Money valor);

class IDialogos;
class TDTM;

// Writes the rows of one header save (one document, or one per number of a voided range) inside a savepoint
// of the screen's open transaction: a duplicate or a refused insert writes none of them and says so. On
// success `idPrimeira` gets the key of the first row written (the document the cargo notes hang on).
bool GravaNotasTransporte(TDTM& dtm, IDialogos& dialogos, const TChecagemTransporte& checagem, QString* campoFoco,
                          int* idPrimeira);
