#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "core/untFalha.h"
#include "core/untMoney.h"

class TDataSet;
class TDTM;
class TDTMCON;

// The complementary figures of one Simples Nacional month as the screen shows them, in whole
// ten-thousandths; the regime's ICMS rate as typed (a percentage with at most two decimals).
struct TInformacoesSN {
    Money faturamento;
    QString aliquota;              // the rate list's text: "3,95"
    Money icmssn;
    Money totEntradas, subsSaidas, retidoFonte; // from the documents
    Money subsEntradas, antecipado, difAliquota, difAliqComplem, importacao, mirvel;
    int categoria = 1;             // 1 head office or single, 2 branch, 3 head office without movement

    // The rate read as an amount ("2.5" and "2,5" are 2,50); false when the text is no number.
    static bool LeAliquota(const QString& texto, Money* aliquota);
    // The 20 rates of the regime, as the list offers them.
    static const QStringList& Aliquotas();
    // Faturamento × rate / 100, to the ten-thousandth (ties to even).
    Money icmsEsperado() const;
    Money valorAliquota() const;
};

// Whether the figures "Processa" takes from the documents (entries total, output substitution, source-regime
// substitution), as the screen shows them, differ from those the stored row holds: closing then loses them.
bool FigurasDosDocumentosMudaram(const TInformacoesSN& mostrado, const TInformacoesSN& guardado);

// One step of the save's checks: stop with a message (and maybe a field to zero), ask a question whose
// "No" stops the save, or go on with the category to store.
struct TPassoSN {
    enum class Tipo { Segue, Falha, Pergunta };
    Tipo tipo = Tipo::Segue;
    TFalha falha;
    QString zera;                  // the field set to 0 with the message ("cbAliquotas" takes "0,00")
    QString pergunta;
    int categoria = 1;
};
// The checks of "&Salvar Informações" in their order: the rate, then the branch's or the head office's
// rules (with `existemDocumentos`, the month's documents), the amounts the return file cannot carry, and
// the question about the establishment number of `cnpj` (14 digits). `perguntaFeita` is true once the
// establishment question was answered "Yes", so the checks run to the end.
TPassoSN ChecaSalvarSN(const TInformacoesSN& c, bool existemDocumentos, const QString& cnpj, bool perguntaFeita);

// One row of ZEL_SN.
class TZelSN {
public:
    explicit TZelSN(TDTM& dtm) : m_dtm(dtm) {}

    int IdSN = 0;
    int IdContribuinte = 0;
    QString Periodo;
    QString Tipo;
    TInformacoesSN info;
    QString NumRecibo;
    int sitCadastroContrib = -1;
    QDate dataSitCadastro;         // null: no date (never written as 0)
    QDateTime DtInclusao, DtAlteracao, DtGeracao;

    bool Incluir(const QDateTime& agora, QString* erro = nullptr);
    bool Alterar(const QDateTime& agora, QString* erro = nullptr);
    bool Excluir(int idSN, QString* erro = nullptr);
    void Carregar(const TDataSet& q);
    bool CarregarId(int idSN, int idContribuinte);
    // The date of the last return file, written only after a file was written.
    bool RegistraGeracao(const QDateTime& agora, QString* erro = nullptr);

private:
    TDTM& m_dtm;
};

void AbreListaSN(TDataSet& lista, int idAtivo);
bool ExisteSN(TDTM& dtm, int idAtivo, const QString& periodo);
// "O Ano deve ser a partir de 2007!" and the month rule of July 2007.
TFalha ChecaPeriodoSN(int mes, int ano);

// "Processa" of the Simples Nacional screen: entries, output substitution and source-regime substitution.
void ProcessaSN(TDTMCON& con, int idAtivo, int mes, int ano, TInformacoesSN& c);
QStringList LinhasSN(const TInformacoesSN& c);
