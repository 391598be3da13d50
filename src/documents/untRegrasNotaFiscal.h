#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

#include "core/untFalha.h"
#include "core/untMoney.h"
#include "documents/untClsNotaFiscal.h"

class IDialogos;
class TDTM;

enum class SituacaoNFe { Nenhuma, Denegado, Inutilizado };

// The values of the invoice entry and change screens as typed.
struct TCamposNota {
    bool entrada = true;
    QString modelo;
    QString serie;
    QString subSerie;
    QString numero;
    QDate emissao;
    QString cfop;
    Money valorTotal;
    QString observacao;
    int idEmtDest = 0;          // 0 until a counterparty is chosen
    QString ufEmtDest;
    bool proprio = false;       // "Emitente": "Próprio" or "Terceiros"
    bool extemporaneo = false;
    int mesZel = 0;             // " Lançar na Zel "
    int anoZel = 0;
    bool cancelada = false;
    SituacaoNFe nfe = SituacaoNFe::Nenhuma;
    QString inicioFaixa;
    QString finalFaixa;
    Money baseIcms, valorIcms, outrasIcms, isentasIcms;
    Money aliquota;             // the percentage as typed: 17,00 is 17 %
    Money valorIpi, isentasIpi, outrasIpi;
    Money baseSubst, icmsRetido, despAcessorias;
    bool regimeFonte = false;   // "Operação Regime Fonte"
};

// The situation of the rows to write and, for a voided range, its numbers (first checks of "&Salvar").
struct TSituacaoNota {
    TFalha falha;
    QString situacao;           // "N", "S", "E", "X", "2" or "4"
    int primeiro = 0;           // the range of a voided run; 0 otherwise
    int ultimo = 0;
    int linhas = 1;
    QString pergunta;           // the Yes/No question to ask before going on (voided range); empty: none
    QString mensagemFinal;
};

// `modeloEletronico`: the one model that takes the electronic situations ("55" for invoices, "57" for transport).
TSituacaoNota ChecaSituacaoNota(const TCamposNota& c, const QString& modeloEletronico = QStringLiteral("55"));

// A number of a voided range as typed: its value when the text is digits only, else -1. The save accepts
// 1 to kMaiorNumeroDaFaixa.
inline constexpr int kMaiorNumeroDaFaixa = 999999;
int NumeroDaFaixa(const QString& texto);

// The remaining checks in their order; on success `nota` holds the values of the (first) row to write.
// `alteracao` selects the change screen's variant (paper models only, no electronic situations).
TFalha ChecaNota(const TCamposNota& c, const TSituacaoNota& s, int idAtivo, const QDateTime& agora, bool alteracao,
                 TNotaFiscal& nota);

// The rate as stored: hundredths of a percent without separator ("1700", "1250", "0").
QString TextoAliquota(Money percentual);
// The ICMS of a base at a rate typed as a percentage, to the two decimals the field shows.
Money ValorIcms(Money base, Money percentual);

// Writes the rows of one save of the entry screen (one row, or one per number of a voided range) inside
// a savepoint of the screen's open transaction: a save that fails leaves nothing of itself behind.
// Shows the messages of a duplicate or of a refused statement; `campoFoco` gets the field to focus.
bool GravaNotasEntrada(TDTM& dtm, IDialogos& dialogos, const TNotaFiscal& modelo, const TSituacaoNota& s,
                       QString* campoFoco);
