#pragma once
#include <QDate>
#include <QHash>
#include <QString>
#include <functional>

#include "output/untRegistros.h"

class IDialogos;
class IProgresso;
class IRelogio;
class QIODevice;
class TDTM;
class TVerificadorArquivo;

// Writes the return file of the open taxpayer for one period: records 10 and 11, the month's document
// records, the state's records 88 and record 90, in Latin-1, CR LF between records and none after the last.
// The writer finds the declaration itself (by taxpayer, kind and period), so every caller writes the same
// complete file. The file is written under a temporary name, checked as the authority's validator checks it,
// and takes its final name only when complete and sound: a failure leaves no new file and an existing one
// untouched.
class TGeradorArquivo {
public:
    TGeradorArquivo(TDTM& dtm, IDialogos& dialogos, IProgresso& progresso, IRelogio& relogio, int idAtivo);

    // Asks where to save (proposing the name of NomeArquivo), then writes. `tipo` is "1" normal or "2"
    // rectifying and must be the stored declaration's; empty takes the stored one. False when the user
    // cancels (nothing is written) or when an error stopped the writing (its message already shown).
    bool GerarArquivo(const QString& regime, const QString& periodo, int tipoDeclaracao, const QString& tipo);
    // The same without the dialog, into `caminho`.
    bool GravaArquivo(const QString& caminho, const QString& regime, const QString& periodo, int tipoDeclaracao,
                      const QString& tipo);
    // What the stored declaration's fields taken from the documents no longer agree with (what "Processa"
    // would fill now), in words, field by field; empty when they agree. GerarArquivo asks before writing such
    // a declaration; GravaArquivo does not look (its callers decide). Raises EArquivoInvalido or EBancoDados
    // as the writing would.
    QString DiferencasDosDocumentos(const QString& regime, const QString& periodo, int tipoDeclaracao,
                                    const QString& tipo);
    // The proposed name: prefix, period, "_", state registration, "_", positions 124-126 of record 10.
    QString NomeArquivo(const QString& periodo, int tipoDeclaracao, const QString& tipo);


    // The message of the last failure, also shown through the dialogs unless `MostraErros` is off (a caller
    // that reports `ultimoErro` itself, as the command-line tool does, would otherwise print it twice).
    const QString& ultimoErro() const { return m_erro; }
    bool MostraErros = true;
    // The last GerarArquivo returned false because the user cancelled the save dialog, not on a failure.
    bool cancelado() const { return m_cancelado; }

private:
    struct TCabecalho;
    TCabecalho cabecalho(const QString& periodo, int tipoDeclaracao, const QString& tipo);
    void escreveDocumentos(QIODevice& saida, const QString& nome, int ano, int mes, const QString& codigo);
    QString tipoDaDeclaracao(const QString& periodo, int tipoDeclaracao, const QString& tipo, const QString& regime);
    void linha(QIODevice& saida, const QString& registro, const QString& familia);
    // The same for a record already built as its Latin-1 bytes.
    void linha(QIODevice& saida, const QByteArray& registro, const QString& familia);
    void grava(QIODevice& saida, const QByteArray& bytes);
    void carregaPartes();
    const Registros::TParte& parte(int id, const std::function<QString()>& documento) const;
    void varreAte100(int de);

    TDTM& m_dtm;
    IDialogos& m_dialogos;
    IProgresso& m_progresso;
    IRelogio& m_relogio;
    int m_idAtivo;
    QHash<int, Registros::TParte> m_partes;
    QHash<QString, int> m_contagem;
    int m_total = 0;
    QByteArray m_pendente;   // the line not yet followed by its CR LF
    QByteArray m_lote;       // the lines before it not yet written
    QByteArray m_registro;   // where the document records are built, one after another
    TVerificadorArquivo* m_verificador = nullptr;
    QString m_erro;
    bool m_cancelado = false;
};
