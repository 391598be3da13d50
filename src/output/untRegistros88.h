#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/untMoney.h"
#include "declarations/untDadosAnuais.h"
#include "declarations/untZel.h"
#include "output/untRegistros.h"

class TDTM;

// The state's records 88: the declaration itself inside the return file. The data of one declaration is read
// once (CarregaDeclaracaoArquivo) and the records are built from it without the database, so every record
// can be pinned position by position.
namespace Registros {

struct TContadorArquivo {
    QString cpf, crc, nome, fone, email;
};

// One government-programme cheque row of the period (1 housing, 2 education), as stored.
struct TChequeArquivo {
    int tipo = 0;
    Money credAutorizado, transfCredEntrada, transfCredSaida, valorApropriado, sldPeriodoAnterior, sldRemanescente;
};

struct TMunicipioArquivo {
    QString codigo;
    Money valor;
};

// The stored columns of a ZEL_EPP row; the percentages and factors as the row keeps them.
struct TEppArquivo {
    Money RecApurada, MediaEntradas, RecEfetiva, Imp_Devido, TotalAquis, Aquis_Inter, Cred_Presumido, Imp_Recolher;
    Money Subs_EntJR, Subs_EntAR, ICMS_SubsSaida, ICMS_RetFonte, Cred_TEF_ECF, Chq_Moradia, Chq_Educacao;
    Money Total_Cred_Outorgado, Dif_Aliquota;
    double Perc_Recolh = 0, CredEmpreg = 0, Cred_Aq_Inter = 0, Perc_Cred_Pres = 0;
    qint64 Num_Empreg = 0;
};

// The stored columns of a ZEL_SN row.
struct TSnArquivo {
    Money DifAliquota, DifAliqComplem, ImpAntecipado, SubsSaidas, SubsEntradas, ICMSRetidoFonte, ICMSImportacao;
    Money Faturamento, TotEntradas, MirvelSN, ICMSSN;
    double PercRecolhimento = 0;
    int categEstabel = -1;        // -1: not stored
};

// The delivery data of the declaration (receipt of the previous delivery).
struct TReciboArquivo {
    QString numero;
    int tipoEntrega = -1;         // -1: not stored
    QDate data;                   // null: no date
};

struct TDeclaracaoArquivo {
    int tipoDeclaracao = 0;       // 1 normal, 2 EPP, 3 Simples Nacional, 4 annual data
    QString periodo;              // "yyyymm"
    QString letraTipo;            // "N" or "R"
    QString regime;               // "1", "7" or "3"
    QString ie;                   // record 10 positions 17-30, trimmed
    QString email;                // the taxpayer's
    std::optional<TContadorArquivo> contador;
    TValoresZel zel;
    TEppArquivo epp;
    TSnArquivo sn;
    TValoresAnuais anuais;
    QList<TChequeArquivo> cheques;        // the rows that exist, type 1 before type 2
    QList<TMunicipioArquivo> municipios;  // by municipality code
    TReciboArquivo recibo;

    // "declaração do regime normal de 07/2006": how messages point to the row to correct.
    QString descricao() const;
};

// The records 88 of a declaration in the order of the file, each under its condition (kind, period, regime),
// grouped by sub-type as the progress advances. Raises EArquivoInvalido, naming the declaration and the field,
// for a value the layout cannot carry: a negative or too wide amount, a missing delivery type or establishment
// category, a percentage with more decimals than its factor absorbs.
QList<QStringList> Registros88(const TDeclaracaoArquivo& d);

// The fields of a sub-type ("8801" ... "8830") with empty values, for reading files; the period chooses the
// form of 8815. Empty for a sub-type not built here.
QList<TCampo> Leiaute88(const QString& subtipo, const QString& periodo);
// The sub-types in the order of the file.
const QStringList& Subtipos88();

// Reads the declaration of the open taxpayer for the file: the row of the kind and period (for the annual
// data the row of the period's year), the taxpayer's e-mail, its accountant, the programme cheques and the
// Quadro V rows. `tipoPedido` "1" normal or "2" rectifying must match the stored row; empty takes the row's.
// Raises EArquivoInvalido when the declaration is not there, its type disagrees or its regime is missing,
// and EBancoDados on a read error (nothing is left out silently).
TDeclaracaoArquivo CarregaDeclaracaoArquivo(TDTM& dtm, int idAtivo, int tipoDeclaracao, const QString& periodo,
                                            const QString& tipoPedido, const QString& regime, const QString& ie);

} // namespace Registros
