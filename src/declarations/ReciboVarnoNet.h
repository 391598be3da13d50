#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <stdexcept>

class IDialogos;

// The transmission receipts ("*.rcb") that the tax authority's transmission service hands the taxpayer: plain
// text, one receipt line per line, each authenticated by the MD5 digest of its own fields. The program never
// writes them; it reads them to find the authentication code of the last delivery.

// Every error of a receipt file carries the text the screens show as it stands.
class ERecibo : public std::runtime_error {
public:
    explicit ERecibo(const QString& mensagem) : std::runtime_error(mensagem.toStdString()), m_mensagem(mensagem) {}
    const QString& mensagem() const { return m_mensagem; }
private:
    QString m_mensagem;
};

// A receipt of a transmission out of time (data code "-1"): the reading of the file ends there.
class EVarnoNetForaDoPrazo : public ERecibo {
public:
    using ERecibo::ERecibo;
};

// A "yyyymmdd" text that is no date.
class EFormatoInvalido : public ERecibo {
public:
    using ERecibo::ERecibo;
};

// One receipt line, in the order of its fields.
struct TRegReciboVarnoNet {
    quint8 NumeroMagico = 0;  // the kind of declaration transmitted; 15 is this program's monthly one
    QString Periodo;          // "ddmmyyyy", at most 8 characters
    QString Inscricao;        // at most 9 characters
    QString Data;             // of the transmission
    QString Hora;
    QString CodigoDados;      // "-1" for a transmission out of time
    QString CodigoRecibo;     // the authentication
    qint8 Duplicidade = 0;    // 0 first presentation, 1 re-presentation, -1 out of time
    bool Valido = false;      // the authentication matched
    QString Linha;            // without its leading and trailing blanks

    // The eight labelled values, one per row, each row preceded by `recuo` blanks. Raises ERecibo for a
    // duplicity other than -1, 0 and 1.
    QString Descricao(int recuo) const;
};

// Reads one receipt file. The whole file is checked when the reader is created (every error is raised to
// the creator); the lines are then read one at a time into the line object, which each step refills.
class TArqReciboVarnoNet {
public:
    // A receipt is a handful of short lines; anything much larger is not one, and is refused unread.
    static constexpr qint64 TamanhoMaximo = 1024 * 1024;
    static constexpr int LinhaMinima = 45;
    static constexpr int LinhaMaxima = 110;

    // `dialogos` shows the box of a line whose authentication does not match.
    TArqReciboVarnoNet(const QString& caminho, IDialogos& dialogos);
    TArqReciboVarnoNet(const TArqReciboVarnoNet&) = delete;
    TArqReciboVarnoNet& operator=(const TArqReciboVarnoNet&) = delete;

    bool TemProximo() const { return m_indice < m_quantidade - 1; }
    // Steps to the next line and reads it; true when its authentication matched. A line that does not match
    // is reported in a box and yields false; errors of its fields are raised. Without a next line: false,
    // and nothing changes.
    bool Proximo();

    const TRegReciboVarnoNet& Registro() const { return m_registro; }
    QString Descricao(int recuo) const { return m_registro.Descricao(recuo); }

    const QString& Caminho() const { return m_caminho; }
    const QStringList& Linhas() const { return m_linhas; }
    quint8 NumeroMagico() const { return m_numeroMagico; }
    int QuantidadeLinhas() const { return m_quantidade; }
    int Indice() const { return m_indice; }

private:
    void Abrir(const QString& caminho);
    void LeLinha(const QString& linha);

    IDialogos& m_dialogos;
    QString m_caminho;
    QStringList m_linhas;
    quint8 m_numeroMagico = 0;
    TRegReciboVarnoNet m_registro;
    int m_quantidade = 0;
    int m_indice = -1;
};

// Blanks and control characters (codes 32 and below) removed from both ends, as the receipts' texts are read.
QString AparaRecibo(const QString& texto);

// "Primeira apresentação", "Reapresentação (2ª via)", "Fora do prazo"; ERecibo for any other value.
QString SituacaoDuplicidade(int duplicidade);
// "ddmmyyyy" shown as "yyyy-mm"; a period whose two halves are the same four characters shows the year alone.
QString PeriodoExibicao(const QString& periodo);
// Nine characters through the mask "99.999.999-9"; any other length unchanged (trimmed).
QString InscricaoExibicao(const QString& inscricao);
// "ddmmyyyy" -> "yyyymmdd", which sorts as text.
QString PeriodoOrdenavel(const QString& periodo);
// "yyyymmdd" -> the date; EFormatoInvalido when it is not one.
QDate DataDoPeriodo(const QString& texto);
