#pragma once
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <stdexcept>

#include "core/untMoney.h"

// The fixed-width records of the return file. Every record is described by a table of fields (kind, width in
// each layout, value); one writer turns a table into the 126 characters of the record, so the field rules
// live in one place.

// A value the layout cannot hold (a negative amount, a fraction of a cent, a character without a Latin-1
// byte, a missing counterparty): the file would be wrong, so writing stops with this message.
class EArquivoInvalido : public std::runtime_error {
public:
    explicit EArquivoInvalido(const QString& mensagem)
        : std::runtime_error(mensagem.toStdString()), m_mensagem(mensagem) {}
    const QString& mensagem() const { return m_mensagem; }
private:
    QString m_mensagem;
};

namespace Registros {

inline constexpr int Tamanho = 126;

// Valor: an amount in cents that must be whole cents (the documents store two decimals); ValorCentavos: an
// amount rounded to whole cents, ties to even, as the declaration screens show it (records 88 carry figures
// computed to four decimals); Numero: a percentage or factor already multiplied, which must be a whole number
// within a millionth; DataDia: "ddmmyyyy", zeros when there is no date; Alfanumerico: a registration of
// letters and digits (the accountant's CRC), right-aligned and zero-filled like N, its letters kept.
enum class Tipo { N, X, Valor, Data, Brancos, Literal, ValorCentavos, Numero, DataDia, Alfanumerico };

// A field's value: a text, a whole number (an amount as its ten-thousandths), a number with decimals or a date.
// Plain data, so that the records built by the hundred thousand copy it cheaply.
class TValorCampo {
public:
    enum class Forma : quint8 { Nenhum, Texto, Inteiro, Real, Data };
    TValorCampo() = default;
    TValorCampo(const QString& t) : m_forma(Forma::Texto), m_texto(t) {}
    TValorCampo(const char* t) : m_forma(Forma::Texto), m_texto(QString::fromUtf8(t)) {}
    TValorCampo(qint64 v) : m_forma(Forma::Inteiro), m_inteiro(v) {}
    TValorCampo(int v) : m_forma(Forma::Inteiro), m_inteiro(v) {}
    TValorCampo(double v) : m_forma(Forma::Real), m_real(v) {}
    TValorCampo(const QDate& d) : m_forma(Forma::Data), m_data(d) {}
    Forma forma() const { return m_forma; }
    // The value as text (a number in its shortest form); empty for nothing and for a date.
    QString texto() const;
    qint64 inteiro() const { return m_forma == Forma::Real ? qint64(m_real) : m_inteiro; }
    double real() const { return m_forma == Forma::Inteiro ? double(m_inteiro) : m_real; }
    QDate data() const { return m_data; }

private:
    Forma m_forma = Forma::Nenhum;
    QString m_texto;
    qint64 m_inteiro = 0;
    double m_real = 0;
    QDate m_data;
};

// A field: its kind, its width in the current layout (codes "2"/"3") and in the older one (code "1"), its
// value (text, a number, a date, or an amount as its ten-thousandths) and the name messages give it; a width
// of 0 means the field is absent from that layout. A number or an amount wider than its field is never cut:
// the record is refused, naming the field.
struct TCampo {
    Tipo tipo;
    int largura23;
    int largura1;
    TValorCampo valor;
    const char* nome = nullptr;
};

// The layout code of a file from the first day of its period: "1" before 2003, "2" in 2003, "3" from 2004.
QString CodigoLeiaute(const QDate& inicioDoPeriodo);

// Builds one record from its fields in the layout `codigo`. `documento` names the document in messages; it
// is only asked for when a field fails.
QString Monta(const QList<TCampo>& campos, const QString& codigo, const std::function<QString()>& documento = {});

// The fields of a record type with empty values, for reading files: "10", "11", "50", "51", "53", "60M",
// "60A", "61", "70", "71". Empty for a type not built here.
QList<TCampo> Leiaute(const QString& tipo);

// An amount in a message, as the screens show it ("1.234,56"); a fraction of a cent keeps its four
// decimals ("10,0050").
QString TextoValor(Money m);

// A field's text by its kind; raises EArquivoInvalido for a value the kind cannot hold.
QString FormataCampo(Tipo tipo, int largura, const TValorCampo& valor, const QString& documento = {});
// The same, appended as Latin-1 bytes (exactly `largura` of them) to a record being built.
void AnexaCampo(QByteArray& registro, Tipo tipo, int largura, const TValorCampo& valor);

// The counterparty of a document: number, state registration and UF of its register row.
struct TParte {
    QString cnpj;
    QString ccicms;
    QString uf;
};

// ----- the records

struct TContribuinteArquivo {
    QString cnpj, ccicms, razaoSocial, municipio, uf, fax, logradouro, numero, complemento, bairro, cep, contato, fone;
};

QString Registro10(const TContribuinteArquivo& c, int ano, int mes, const QString& finalidade,
                   const QString& marcaNome, const QDate& hoje, bool dadosAnuais);
QString Registro11(const TContribuinteArquivo& c);

// An invoice row with one of its lines, as the document sections read it.
struct TNotaArquivo {
    int idNotaFiscal = 0;
    QDate dtEmissao;
    QDate dtUltAlteracao;
    QString modelo, serie, subSerie, numeroNF, cfop, emitente, situacao, tipoNota;
    Money valorTotal;
    // ICMS line
    Money baseIcms, valorIcms, isentaIcms, outrasIcms;
    QString aliquota;
    // IPI line
    Money valorIpi, isentaIpi, outrasIpi;
    // substitution line
    Money baseSubst, icmsRetido, despAcessorias;
    QString mva;
};

QString Registro50(const TNotaArquivo& n, const TParte& p, const QString& codigo);
QString Registro51(const TNotaArquivo& n, const TParte& p, const QString& codigo);
QString Registro53(const TNotaArquivo& n, const TParte& p, const QString& codigo);
// The same records as their 126 Latin-1 bytes, written over `destino`: the return file's writer builds
// hundreds of thousands of them, and a round trip through text would cost more than their fields.
void Registro50(QByteArray& destino, const TNotaArquivo& n, const TParte& p, const QString& codigo);
void Registro51(QByteArray& destino, const TNotaArquivo& n, const TParte& p, const QString& codigo);
void Registro53(QByteArray& destino, const TNotaArquivo& n, const TParte& p, const QString& codigo);
// Whether an IPI line gives a record 51, and a substitution line a record 53.
bool TemRegistro51(const TNotaArquivo& n);
bool TemRegistro53(const TNotaArquivo& n, const QString& documento);

struct TCupomArquivo {
    QDate dtEmissao;
    QString numSerie, numEquip, modelo;
    qint64 cooInicial = 0, cooFinal = 0, crz = 0, cro = 0;
    Money vendaBruta, gtInicioDia, gtFimDia;
    Money tIss, tF, tI, tN, tCanc, tDesc;
};
QString Registro60M(const TCupomArquivo& c, const QString& codigo);
QString Registro60A(const TCupomArquivo& c, const QString& rotulo, Money valor, const QString& codigo);
// The totals of a summary that give records 60A after its rate rows, in their order, those above zero only.
QList<QPair<QString, Money>> TotaisDoCupom(const TCupomArquivo& c);

struct TTalaoArquivo {
    QDate dtEmissao;
    QString modelo, serie, subSerie, aliquota;
    qint64 numeroInicial = 0, numeroFinal = 0;
    Money valorTotal, baseIcms, valorIcms, isenta, outras;
};
QString Registro61(const TTalaoArquivo& t);

struct TTransporteArquivo {
    QDate dtEmissao;
    QString modelo, serie, subSerie, numero, cfop, modalidade, situacao;
    Money valorTotal, baseIcms, valorIcms, isenta, outras;
};
QString Registro70(const TTransporteArquivo& t, const TParte& p, const QString& codigo);

struct TCargaArquivo {
    QDate dtEmissao;
    QString modeloNF, serieNF, subSerieNF, numNF;
    Money valorNF;
};
QString Registro71(const TTransporteArquivo& t, const TParte& emitente, const TCargaArquivo& c, const TParte& destino,
                   const QString& codigo);

// The families counted by record 90, in the order it lists them.
inline const QStringList Familias = {QStringLiteral("50"), QStringLiteral("51"), QStringLiteral("53"),
                                     QStringLiteral("60"), QStringLiteral("61"), QStringLiteral("70"),
                                     QStringLiteral("71"), QStringLiteral("88")};
// `linhasAntes`: the lines written before record 90 (it counts itself on top).
QString Registro90(const QString& cnpj, const QString& ccicms, int linhasAntes, const QHash<QString, int>& contagem);

} // namespace Registros
