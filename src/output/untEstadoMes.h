#pragma once
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "core/untMoney.h"
#include "reports/untRelatorio.h"

class IDialogos;
class IProgresso;
class IRelogio;
class TDTM;

// The month's closing of an office: every taxpayer of the register in one period, with its documents, the
// declaration stored for the month and how far that declaration got (checked against the documents, file
// written, delivered); and the return files of every taxpayer that is ready, written in one batch by the same
// writer, with the same check, as one file at a time.
namespace Fechamento {

// How far a taxpayer's month got, in the order the office works through it.
enum class TSituacao {
    SemMovimento,    // no document and no declaration
    SemDeclaracao,   // documents, and no declaration of the month
    Desatualizada,   // the declaration no longer agrees with the documents (or could not be compared)
    Pronto,          // the declaration agrees: its file can be written
    Gerado,          // its file was written after the declaration was last saved
    Entregue,        // the declaration was delivered
};
QString TextoSituacao(TSituacao s);
// The six texts in the order above.
QStringList TextosSituacao();

// The document kinds of the month, in the order the lists and the command-line tool show them.
enum Especie { NotasEntrada, NotasSaida, Transporte, SerieD, Ecf, NumEspecies };
// "Entradas", "Saídas", "Transporte", "Série D", "ECF".
QString NomeEspecie(int especie);

// The valid documents of a kind (the browse screens' summaries: cancelled, denied and voided ones left out)
// and their total.
struct TDocumentos {
    qint64 quantidade = 0;
    Money total;
};

struct TLinha {
    int idContribuinte = 0;
    QString ccicms;
    QString cnpj;
    QString razaoSocial;
    TDocumentos documentos[NumEspecies];
    // Any document of the month, cancelled and voided ones included (they go into the file too).
    bool existemDocumentos = false;

    // The declaration of the month: 0 none, 1 normal regime, 2 EPP, 3 Simples Nacional.
    int tipoDeclaracao = 0;
    QString regime;              // "1", "7" or "3"
    QString tipo;                // "N" or "R"
    QDateTime dtGeracao;         // the row's own date (last save; of the Simples Nacional, last file)
    QDateTime ultimaAlteracao;   // when the declaration was last saved
    int tipoEntrega = -1;        // the delivery type stored with it; -1 none
    QString numRecibo;           // the receipt of the previous delivery it quotes

    // What the declaration's document fields no longer agree with, in words; empty when they agree.
    QString diferencas;
    // False when the comparison could not run (its reason in `mensagem`): the row cannot count as up to date.
    bool conferida = true;
    bool arquivoGerado = false;
    QString arquivo;             // the file found or written (full path); empty when none
    bool entregue = false;
    TSituacao situacao = TSituacao::SemMovimento;
    // The last problem of this row: the comparison that could not run, or the writer's message.
    QString mensagem;

    qint64 quantidadeDocumentos() const;
    // "ZEL", "EPP", "SN" (the writer's prefixes); empty without a declaration.
    QString siglaDeclaracao() const;
};

// The state of the month `periodo` ("yyyymm") of every taxpayer ("C") of the register, by name. With
// `pastaArquivos`, a file of the writer's name found there, not older than the declaration's last save,
// counts as written (the normal and EPP rows record no file date of their own). Raises EArquivoInvalido for
// a period that is no month and EBancoDados when the register or the declarations cannot be read; a
// taxpayer whose comparison fails is listed with its message.
QList<TLinha> EstadoDoMes(TDTM& dtm, IDialogos& dialogos, IRelogio& relogio, const QString& periodo,
                          const QString& pastaArquivos = {});

// False with the reason when `periodo` is not a month "yyyymm" the writer accepts.
bool PeriodoValido(const QString& periodo, QString* erro);

// The result of one taxpayer in a batch.
struct TResultado {
    int idContribuinte = 0;
    QString ccicms;
    QString razaoSocial;
    bool gravado = false;
    QString arquivo;             // full path
    QString mensagem;            // the writer's message on a failure
};

// Writes into `pasta` the return file of every row that is ready, under the name the desktop program proposes,
// each checked as every file is; a taxpayer whose file fails gets the writer's message and the batch goes on,
// with no file left for it. The rows written become "arquivo gerado" (the Simples Nacional row records the
// date, as its list does). `aoPassar` is told of each taxpayer before its file (index, count, row).
QList<TResultado> GeraArquivos(TDTM& dtm, IDialogos& dialogos, IProgresso& progresso, IRelogio& relogio,
                               const QString& periodo, const QString& pasta, QList<TLinha>& linhas,
                               const std::function<void(int, int, const TLinha&)>& aoPassar = {});

// Whether the month is closed as far as the program can take it: no taxpayer without its declaration or with
// a stale one, and no file that failed.
bool MesEmOrdem(const QList<TLinha>& linhas, const QList<TResultado>& resultados = {});

// "9 contribuintes: 1 sem movimento, 4 pronto para gerar, ...": the states that occur, in their order.
QString ResumoSituacoes(const QList<TLinha>& linhas);
// What a batch did, for its closing message: the files written into the folder and the taxpayers whose
// file failed, each with the writer's message.
QString ResumoLote(const QList<TResultado>& resultados, const QString& pasta);

// The month's list for the preview: one line per taxpayer, the counts of each state at the end.
TRelatorio Relatorio(const QList<TLinha>& linhas, const QString& periodo, const QDateTime& emissao);

} // namespace Fechamento
