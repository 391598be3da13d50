#include "output/untRegistros.h"

#include "core/untFuncoes.h"

#include <array>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace Registros {

QString CodigoLeiaute(const QDate& inicio)
{
    if (inicio < QDate(2003, 1, 1))
        return QStringLiteral("1");
    if (inicio < QDate(2004, 1, 1))
        return QStringLiteral("2");
    return QStringLiteral("3");
}

static QString onde(const QString& documento)
{
    return documento.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(documento);
}

// Appends `texto` cut to `largura` characters, then `preenche` up to the width; `zeros` fills on the left.
static void anexaTexto(QByteArray& r, const QString& texto, int largura, bool zeros)
{
    const qsizetype n = qMin<qsizetype>(texto.size(), largura);
    if (zeros && n < largura)
        r.append(largura - n, '0');
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = texto[i].unicode();
        // Control characters (a tab, a line break pasted into a name) would break the fixed layout as
        // surely as a character without a Latin-1 byte.
        if (c > 0xFF || c < 0x20 || (c >= 0x7F && c <= 0x9F))
            throw EArquivoInvalido(QString::fromUtf8("O texto \"%1\" tem o caractere \"%2\", que o arquivo não pode gravar")
                                       .arg(texto, c < 0x20 || (c >= 0x7F && c <= 0x9F)
                                                       ? QStringLiteral("U+%1").arg(int(c), 4, 16, QLatin1Char('0'))
                                                       : QString(QChar(c))));
        r.append(char(c));
    }
    if (!zeros && n < largura)
        r.append(largura - n, ' ');
}

QString TextoValor(Money m)
{
    // Two decimals would round away the very fraction the message is about: such a value shows all four.
    return m.toStringExato();
}

// Zero-filled on the left; a number wider than its field is refused, never cut: keeping its leftmost digits
// would hand in a tenth of the amount.
static void anexaNumero(QByteArray& r, qint64 valor, int largura)
{
    char digitos[24];
    int k = 0;
    qint64 v = valor;
    do {
        digitos[k++] = char('0' + v % 10);
        v /= 10;
    } while (v > 0);
    if (k > largura)
        throw EArquivoInvalido(QString::fromUtf8("O número %1 não cabe nas %2 posições").arg(valor).arg(largura));
    r.append(largura - k, '0');
    for (int i = k - 1; i >= 0; --i)
        r.append(digitos[i]);
}

static void anexaCentavos(QByteArray& r, Money m, int largura)
{
    if (m.isNegative())
        throw EArquivoInvalido(QString::fromUtf8("Valor negativo (%1) não pode ser gravado no arquivo").arg(TextoValor(m)));
    try {
        anexaNumero(r, m.cents(), largura);
    } catch (const EArquivoInvalido&) {
        throw EArquivoInvalido(QString::fromUtf8("O valor %1 não cabe nas %2 posições").arg(TextoValor(m)).arg(largura));
    }
}

static void anexaInteiro(QByteArray& r, qint64 v, int largura)
{
    if (v < 0)
        throw EArquivoInvalido(QString::fromUtf8("Número negativo (%1) não pode ser gravado no arquivo").arg(v));
    anexaNumero(r, v, largura);
}

// An amount of whole cents: a fraction of a cent would be cut by the field.
static void anexaValor(QByteArray& r, Money m, int largura)
{
    if (!m.isNegative() && m.hasFractionOfCent())
        throw EArquivoInvalido(QString::fromUtf8("Valor com mais de duas casas decimais (%1) não pode ser gravado no arquivo")
                                   .arg(TextoValor(m)));
    anexaCentavos(r, m, largura);
}

static void anexaData(QByteArray& r, Tipo tipo, int largura, const QDate& d)
{
    if (!d.isValid()) {
        // Zeros in place of a document's date would hand in a document with no date at all: the file
        // stops instead. Only the day-first dates of records 88 may be absent.
        if (tipo == Tipo::Data)
            throw EArquivoInvalido(QString::fromUtf8("Data não informada"));
        r.append(largura, '0');
        return;
    }
    int ano = 0, mes = 0, dia = 0;
    d.getDate(&ano, &mes, &dia);
    if (ano < 1000 || ano > 9999)
        throw EArquivoInvalido(QString::fromUtf8("Data %1 fora do intervalo do arquivo").arg(d.toString(Qt::ISODate)));
    if (tipo == Tipo::Data) {
        anexaNumero(r, ano, 4);
        anexaNumero(r, mes, 2);
        anexaNumero(r, dia, 2);
    } else {
        anexaNumero(r, dia, 2);
        anexaNumero(r, mes, 2);
        anexaNumero(r, ano, 4);
    }
}

QString TValorCampo::texto() const
{
    switch (m_forma) {
    case Forma::Texto:
        return m_texto;
    case Forma::Inteiro:
        return QString::number(m_inteiro);
    case Forma::Real:
        return QString::number(m_real, 'g', 15);
    default:
        return {};
    }
}

void AnexaCampo(QByteArray& r, Tipo tipo, int largura, const TValorCampo& valor)
{
    switch (tipo) {
    case Tipo::Literal:
    case Tipo::X:
        anexaTexto(r, valor.texto(), largura, false);
        return;
    case Tipo::Brancos:
        r.append(largura, ' ');
        return;
    case Tipo::N:
        if (valor.forma() == TValorCampo::Forma::Inteiro) {
            anexaInteiro(r, valor.inteiro(), largura);
            return;
        }
        anexaTexto(r, valor.texto().trimmed(), largura, true);
        return;
    case Tipo::Alfanumerico: {
        // A registration wider than its field, or with a separator in it, would be delivered as another one.
        const QString t = valor.texto().trimmed();
        if (t.size() > largura)
            throw EArquivoInvalido(QString::fromUtf8("O código \"%1\" não cabe nas %2 posições").arg(t).arg(largura));
        for (const QChar c : t)
            if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))))
                throw EArquivoInvalido(QString::fromUtf8("O código \"%1\" tem caracteres que não são letras maiúsculas "
                                                         "nem algarismos").arg(t));
        anexaTexto(r, t, largura, true);
        return;
    }
    case Tipo::Valor:
        anexaValor(r, Money::fromRaw(valor.inteiro()), largura);
        return;
    case Tipo::ValorCentavos:
        anexaCentavos(r, Money::fromRaw(valor.inteiro()), largura);
        return;
    case Tipo::Numero: {
        // A percentage times its factor is a whole number once rounded (1,15 x 100 is 114.999... in binary);
        // a value further than a millionth from one has more decimals than the field can carry.
        const double v = valor.real();
        const double inteiro = std::round(v);
        const QString texto = QString::number(v, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
        if (!std::isfinite(v) || v < -1e-6)
            throw EArquivoInvalido(QString::fromUtf8("Número negativo (%1) não pode ser gravado no arquivo").arg(texto));
        if (std::fabs(v - inteiro) > 1e-6 || inteiro > 1e15)
            throw EArquivoInvalido(QString::fromUtf8("O número %1 tem mais casas decimais do que o arquivo grava").arg(texto));
        anexaNumero(r, qint64(inteiro), largura);
        return;
    }
    case Tipo::Data:
    case Tipo::DataDia:
        anexaData(r, tipo, largura, valor.data());
        return;
    }
}

QString FormataCampo(Tipo tipo, int largura, const TValorCampo& valor, const QString& documento)
{
    QByteArray r;
    try {
        AnexaCampo(r, tipo, largura, valor);
    } catch (const EArquivoInvalido& e) {
        throw EArquivoInvalido(e.mensagem() + onde(documento) + QLatin1Char('.'));
    }
    return QString::fromLatin1(r);
}

// Appends the record of the fields [primeiro, fim) to `r`, which then holds exactly its 126 bytes more.
static void montaEm(QByteArray& r, const TCampo* primeiro, const TCampo* fim, const QString& codigo,
                    const std::function<QString()>& documento)
{
    const bool antigo = codigo == QLatin1String("1");
    // The record is named by its leading literal ("50", "60M", "8801").
    auto registro = [&] { return primeiro != fim && primeiro->tipo == Tipo::Literal ? primeiro->valor.texto() : QString(); };
    const qsizetype inicio = r.size();
    for (const TCampo* c = primeiro; c != fim; ++c) {
        const int largura = antigo ? c->largura1 : c->largura23;
        if (largura <= 0)
            continue;
        try {
            AnexaCampo(r, c->tipo, largura, c->valor);
        } catch (const EArquivoInvalido& e) {
            QString onde88 = c->nome ? QString::fromUtf8(": campo %1 do registro %2").arg(QString::fromUtf8(c->nome), registro())
                                     : QString::fromUtf8(": registro %1").arg(registro());
            throw EArquivoInvalido(e.mensagem() + onde88 + onde(documento ? documento() : QString()) + QLatin1Char('.'));
        }
    }
    if (r.size() - inicio != Tamanho)
        throw EArquivoInvalido(QStringLiteral("Registro %1 com %2 caracteres em vez de %3%4.")
                                   .arg(registro()).arg(r.size() - inicio).arg(Tamanho).arg(onde(documento ? documento() : QString())));
}

QString Monta(const QList<TCampo>& campos, const QString& codigo, const std::function<QString()>& documento)
{
    QByteArray r;
    r.reserve(Tamanho);
    montaEm(r, campos.constData(), campos.constData() + campos.size(), codigo, documento);
    return QString::fromLatin1(r);
}

// Shorthands for the tables below.
static TCampo lit(const QString& texto)
{
    // Literals come as u"..."_s, whose text is static: no record allocates its type again.
    return {Tipo::Literal, int(texto.size()), int(texto.size()), texto};
}
static TCampo brancos(int l23, int l1) { return {Tipo::Brancos, l23, l1, {}}; }
static TCampo n(int l23, int l1, const TValorCampo& v, const char* nome = nullptr) { return {Tipo::N, l23, l1, v, nome}; }
static TCampo x(int l23, int l1, const TValorCampo& v) { return {Tipo::X, l23, l1, v}; }
static TCampo valor(int l23, int l1, Money m, const char* nome)
{
    return {Tipo::Valor, l23, l1, m.raw(), nome};
}
static TCampo data(const QDate& d, const char* nome = "Data") { return {Tipo::Data, 8, 8, d, nome}; }

static QString soDigitos(const QString& t)
{
    QString r;
    for (const QChar c : t)
        if (c.isDigit())
            r.append(c);
    return r;
}

static QList<TCampo> campos10(const TContribuinteArquivo& c, const QDate& inicio, const QDate& fim, const QString& codigo,
                              const QString& finalidade, const QString& marcaNome)
{
    return {lit(u"10"_s), n(14, 14, c.cnpj), x(14, 14, c.ccicms), x(33, 33, c.razaoSocial), x(2, 2, marcaNome),
            x(30, 30, c.municipio), x(2, 2, c.uf), n(10, 10, soDigitos(c.fax)), data(inicio, "Data Inicial"),
            data(fim, "Data Final"), x(1, 1, codigo), lit(u"3"_s), x(1, 1, finalidade)};
}

static QList<TCampo> campos11(const TContribuinteArquivo& c)
{
    return {lit(u"11"_s), x(34, 34, c.logradouro), n(5, 5, c.numero), x(22, 22, c.complemento.trimmed()),
            x(15, 15, c.bairro), n(8, 8, c.cep), x(28, 28, c.contato), n(12, 12, soDigitos(c.fone))};
}

QString Registro10(const TContribuinteArquivo& c, int ano, int mes, const QString& finalidade, const QString& marcaNome,
                   const QDate& hoje, bool dadosAnuais)
{
    const QDate inicio(ano, mes, 1);
    const QDate fim = (dadosAnuais && ano == hoje.year()) ? hoje : inicio.addMonths(1).addDays(-1);
    const QString codigo = CodigoLeiaute(inicio);
    return Monta(campos10(c, inicio, fim, codigo, finalidade, marcaNome), codigo, [] { return QStringLiteral("registro 10"); });
}

QString Registro11(const TContribuinteArquivo& c)
{
    return Monta(campos11(c), QStringLiteral("3"), [] { return QStringLiteral("registro 11"); });
}

static QString nomeNota(const TNotaArquivo& n)
{
    return QStringLiteral("nota fiscal %1 de %2").arg(n.numeroNF.trimmed(), n.dtEmissao.toString(QStringLiteral("dd/MM/yyyy")));
}

// Extemporaneous notes ("E", "X") are dated by their real date of issue, kept in DtUltAlteracao.
static QDate dataDaNota(const TNotaArquivo& n)
{
    const QString s = n.situacao.trimmed();
    if (s != QLatin1String("E") && s != QLatin1String("X"))
        return n.dtEmissao;
    if (!n.dtUltAlteracao.isValid())
        throw EArquivoInvalido(QString::fromUtf8("Data real de emissão da nota extemporânea não informada%1.")
                                   .arg(onde(nomeNota(n))));
    return n.dtUltAlteracao;
}

// The document records' tables, each written once and read by two visitors: one collects the fields (for
// reading files and for messages), the other writes them straight into the record's bytes, with the same
// rules as every other field, so that a month of a hundred thousand invoices builds no table at all.
template <class V>
static void campos50(V& v, const TNotaArquivo& nf, const TParte& p, const QDate& dataNota)
{
    v.lit(u"50"_s); v.n(14, 14, p.cnpj); v.x(14, 14, p.ccicms); v.data(dataNota, "Data de Emissão"); v.x(2, 2, p.uf);
    v.n(2, 2, nf.modelo); v.x(3, 3, nf.serie); v.x(0, 2, nf.subSerie); v.n(6, 6, nf.numeroNF);
    v.x(4, 3, nf.cfop); v.x(1, 0, nf.emitente); v.valor(13, 13, nf.valorTotal, "Valor Total");
    v.valor(13, 13, nf.baseIcms, "Base de Cálculo do ICMS"); v.valor(13, 13, nf.valorIcms, "Valor do ICMS");
    v.valor(13, 13, nf.isentaIcms, "Isenta ou Não Tributada"); v.valor(13, 13, nf.outrasIcms, "Outras");
    v.n(4, 4, nf.aliquota); v.x(1, 1, nf.situacao);
}

template <class V>
static void campos51(V& v, const TNotaArquivo& nf, const TParte& p, const QDate& dataNota)
{
    v.lit(u"51"_s); v.n(14, 14, p.cnpj); v.x(14, 14, p.ccicms); v.data(dataNota, "Data de Emissão"); v.x(2, 2, p.uf);
    v.x(3, 2, nf.serie); v.x(0, 2, nf.subSerie); v.n(6, 6, nf.numeroNF); v.x(4, 3, nf.cfop);
    v.valor(13, 13, nf.valorTotal, "Valor Total"); v.valor(13, 13, nf.valorIpi, "Valor do IPI");
    v.valor(13, 13, nf.isentaIpi, "Isenta ou Não Tributada do IPI"); v.valor(13, 13, nf.outrasIpi, "Outras do IPI");
    v.brancos(20, 20); v.x(1, 1, nf.situacao);
}

template <class V>
static void campos53(V& v, const TNotaArquivo& nf, const TParte& p, const QDate& dataNota)
{
    v.lit(u"53"_s); v.n(14, 14, p.cnpj); v.x(14, 14, p.ccicms); v.data(dataNota, "Data de Emissão"); v.x(2, 2, p.uf);
    v.n(2, 2, nf.modelo); v.x(3, 3, nf.serie); v.x(0, 2, nf.subSerie); v.n(6, 6, nf.numeroNF);
    v.x(4, 3, nf.cfop); v.x(1, 0, nf.emitente); v.valor(13, 13, nf.baseSubst, "Base de Cálculo do ICMS Substituição");
    v.valor(13, 13, nf.icmsRetido, "ICMS Retido"); v.valor(13, 13, nf.despAcessorias, "Despesas Acessórias");
    v.x(1, 1, nf.situacao); v.x(1, 1, nf.mva); v.brancos(29, 29);
}

// Collects a table's fields, as the shorthands above make them.
struct TColeta {
    QList<TCampo> campos;
    void lit(const QString& t) { campos << Registros::lit(t); }
    void n(int l23, int l1, const TValorCampo& v, const char* nome = nullptr) { campos << Registros::n(l23, l1, v, nome); }
    void x(int l23, int l1, const QString& v) { campos << Registros::x(l23, l1, v); }
    void valor(int l23, int l1, Money m, const char* nome) { campos << Registros::valor(l23, l1, m, nome); }
    void data(const QDate& d, const char* nome) { campos << Registros::data(d, nome); }
    void brancos(int l23, int l1) { campos << Registros::brancos(l23, l1); }
};

// Writes a table's fields into a record's bytes, each by the rule AnexaCampo applies to its kind; a value the
// field cannot hold stops the record with the message Monta gives.
class TEscrita {
public:
    TEscrita(QByteArray& r, const QString& codigo, const std::function<QString()>& documento)
        : m_r(r), m_antigo(codigo == QLatin1String("1")), m_documento(documento)
    {
        m_r.resize(0);
    }
    void lit(const QString& t)
    {
        m_registro = t;
        anexaTexto(m_r, t, int(t.size()), false);
    }
    void n(int l23, int l1, const QString& v, const char* nome = nullptr)
    {
        if (const int l = largura(l23, l1))
            campo(nome, [&] { anexaTexto(m_r, v.trimmed(), l, true); });
    }
    void n(int l23, int l1, qint64 v, const char* nome = nullptr)
    {
        if (const int l = largura(l23, l1))
            campo(nome, [&] { anexaInteiro(m_r, v, l); });
    }
    void x(int l23, int l1, const QString& v)
    {
        if (const int l = largura(l23, l1))
            campo(nullptr, [&] { anexaTexto(m_r, v, l, false); });
    }
    void valor(int l23, int l1, Money m, const char* nome)
    {
        if (const int l = largura(l23, l1))
            campo(nome, [&] { anexaValor(m_r, m, l); });
    }
    void data(const QDate& d, const char* nome)
    {
        campo(nome, [&] { anexaData(m_r, Tipo::Data, 8, d); });
    }
    void brancos(int l23, int l1)
    {
        if (const int l = largura(l23, l1))
            m_r.append(l, ' ');
    }
    void conclui() const
    {
        if (m_r.size() != Tamanho)
            throw EArquivoInvalido(QStringLiteral("Registro %1 com %2 caracteres em vez de %3%4.")
                                       .arg(m_registro).arg(m_r.size()).arg(Tamanho).arg(onde(m_documento())));
    }

private:
    int largura(int l23, int l1) const { return qMax(0, m_antigo ? l1 : l23); }
    template <class F>
    void campo(const char* nome, F&& anexa)
    {
        try {
            anexa();
        } catch (const EArquivoInvalido& e) {
            const QString onde88 = nome ? QString::fromUtf8(": campo %1 do registro %2").arg(QString::fromUtf8(nome), m_registro)
                                        : QString::fromUtf8(": registro %1").arg(m_registro);
            throw EArquivoInvalido(e.mensagem() + onde88 + onde(m_documento()) + QLatin1Char('.'));
        }
    }
    QByteArray& m_r;
    bool m_antigo;
    const std::function<QString()>& m_documento;
    QString m_registro;
};

template <class F>
static QList<TCampo> coleta(F&& tabela)
{
    TColeta c;
    tabela(c);
    return c.campos;
}

template <class F>
static void escreve(QByteArray& destino, const QString& codigo, const std::function<QString()>& documento, F&& tabela)
{
    TEscrita e(destino, codigo, documento);
    tabela(e);
    e.conclui();
}

template <class F>
static QString texto(const QString& codigo, const std::function<QString()>& documento, F&& tabela)
{
    QByteArray r;
    escreve(r, codigo, documento, std::forward<F>(tabela));
    return QString::fromLatin1(r);
}

void Registro50(QByteArray& destino, const TNotaArquivo& nf, const TParte& p, const QString& codigo)
{
    const QDate dia = dataDaNota(nf);
    escreve(destino, codigo, [&nf] { return nomeNota(nf); }, [&](auto& v) { campos50(v, nf, p, dia); });
}

void Registro51(QByteArray& destino, const TNotaArquivo& nf, const TParte& p, const QString& codigo)
{
    const QDate dia = dataDaNota(nf);
    escreve(destino, codigo, [&nf] { return nomeNota(nf); }, [&](auto& v) { campos51(v, nf, p, dia); });
}

void Registro53(QByteArray& destino, const TNotaArquivo& nf, const TParte& p, const QString& codigo)
{
    const QDate dia = dataDaNota(nf);
    escreve(destino, codigo, [&nf] { return nomeNota(nf); }, [&](auto& v) { campos53(v, nf, p, dia); });
}

QString Registro50(const TNotaArquivo& nf, const TParte& p, const QString& codigo)
{
    QByteArray r;
    Registro50(r, nf, p, codigo);
    return QString::fromLatin1(r);
}

QString Registro51(const TNotaArquivo& nf, const TParte& p, const QString& codigo)
{
    QByteArray r;
    Registro51(r, nf, p, codigo);
    return QString::fromLatin1(r);
}

QString Registro53(const TNotaArquivo& nf, const TParte& p, const QString& codigo)
{
    QByteArray r;
    Registro53(r, nf, p, codigo);
    return QString::fromLatin1(r);
}

bool TemRegistro51(const TNotaArquivo& nf)
{
    return (nf.valorIpi + nf.isentaIpi + nf.outrasIpi) > Money();
}

bool TemRegistro53(const TNotaArquivo& nf, const QString& documento)
{
    const QString prefixo = nf.cfop.left(2);
    bool ok = prefixo.size() == 2;
    for (const QChar c : prefixo)
        ok = ok && c.isDigit();
    if (!ok)
        throw EArquivoInvalido(QString::fromUtf8("CFOP \"%1\" inválido (%2).").arg(nf.cfop, documento));
    const int grupo = prefixo.toInt();
    if (grupo == 14 || grupo == 24 || grupo == 54 || grupo == 64)
        return true;
    return (nf.baseSubst + nf.icmsRetido + nf.despAcessorias) > Money();
}

static QString nomeCupom(const TCupomArquivo& c)
{
    return QStringLiteral("cupom fiscal do equipamento %1 de %2").arg(c.numEquip.trimmed(),
                                                                       c.dtEmissao.toString(QStringLiteral("dd/MM/yyyy")));
}

template <class V>
static void campos60M(V& v, const TCupomArquivo& c)
{
    v.lit(u"60M"_s); v.data(c.dtEmissao, "Data de Emissão"); v.x(20, 0, c.numSerie); v.n(3, 3, c.numEquip);
    v.x(0, 15, c.numSerie); v.x(2, 2, c.modelo); v.n(6, 6, c.cooInicial, "COO Inicial");
    v.n(6, 6, c.cooFinal, "COO Final"); v.n(6, 6, c.crz, "CRZ"); v.n(3, 0, c.cro, "CRO");
    v.valor(16, 0, c.vendaBruta, "Venda Bruta"); v.valor(0, 16, c.gtInicioDia, "GT Início do Dia");
    v.valor(16, 16, c.gtFimDia, "GT Fim do Dia"); v.brancos(37, 45);
}

template <class V>
static void campos60A(V& v, const TCupomArquivo& c, const QString& rotulo, Money acumulado)
{
    v.lit(u"60A"_s); v.data(c.dtEmissao, "Data de Emissão"); v.x(20, 0, c.numSerie); v.n(0, 3, c.numEquip);
    v.x(4, 4, rotulo); v.valor(12, 12, acumulado, "Valor Acumulado"); v.brancos(79, 96);
}

QString Registro60M(const TCupomArquivo& c, const QString& codigo)
{
    return texto(codigo, [&c] { return nomeCupom(c); }, [&](auto& v) { campos60M(v, c); });
}

QString Registro60A(const TCupomArquivo& c, const QString& rotulo, Money v, const QString& codigo)
{
    return texto(codigo, [&c] { return nomeCupom(c); }, [&](auto& w) { campos60A(w, c, rotulo, v); });
}

QList<QPair<QString, Money>> TotaisDoCupom(const TCupomArquivo& c)
{
    QList<QPair<QString, Money>> r;
    const QPair<const char*, Money> totais[] = {{"ISS ", c.tIss}, {"F   ", c.tF},      {"I   ", c.tI},
                                                {"N   ", c.tN},   {"CANC", c.tCanc}, {"DESC", c.tDesc}};
    for (const auto& [rotulo, valor] : totais)
        if (valor > Money())
            r.append({QString::fromLatin1(rotulo), valor});
    return r;
}

template <class V>
static void campos61(V& v, const TTalaoArquivo& t)
{
    v.lit(u"61"_s); v.brancos(28, 28); v.data(t.dtEmissao, "Data de Emissão"); v.n(2, 2, t.modelo);
    v.x(3, 3, t.serie.trimmed()); v.x(2, 2, t.subSerie.trimmed()); v.n(6, 6, t.numeroInicial, "Número Inicial");
    v.n(6, 6, t.numeroFinal, "Número Final"); v.valor(13, 13, t.valorTotal, "Valor Total");
    v.valor(13, 13, t.baseIcms, "Base de Cálculo do ICMS"); v.valor(12, 12, t.valorIcms, "Valor do ICMS");
    v.valor(13, 13, t.isenta, "Isenta ou Não Tributada"); v.valor(13, 13, t.outras, "Outras"); v.n(4, 4, t.aliquota);
    v.brancos(1, 1);
}

QString Registro61(const TTalaoArquivo& t)
{
    return texto(QStringLiteral("3"),
                 [&t] {
                     return QString::fromUtf8("notas série D %1 a %2 de %3")
                         .arg(t.numeroInicial)
                         .arg(t.numeroFinal)
                         .arg(t.dtEmissao.toString(QStringLiteral("dd/MM/yyyy")));
                 },
                 [&](auto& v) { campos61(v, t); });
}

static QString nomeTransporte(const TTransporteArquivo& t)
{
    return QStringLiteral("conhecimento %1 de %2").arg(t.numero.trimmed(), t.dtEmissao.toString(QStringLiteral("dd/MM/yyyy")));
}

template <class V>
static void campos70(V& v, const TTransporteArquivo& t, const TParte& p)
{
    v.lit(u"70"_s); v.n(14, 14, p.cnpj); v.x(14, 14, p.ccicms); v.data(t.dtEmissao, "Data de Emissão");
    v.x(2, 2, p.uf); v.n(2, 2, t.modelo); v.x(1, 1, t.serie); v.x(2, 2, t.subSerie); v.n(6, 6, t.numero);
    v.x(4, 3, t.cfop); v.valor(13, 14, t.valorTotal, "Valor Total");
    v.valor(14, 14, t.baseIcms, "Base de Cálculo do ICMS"); v.valor(14, 14, t.valorIcms, "Valor do ICMS");
    v.valor(14, 14, t.isenta, "Isenta ou Não Tributada"); v.valor(14, 14, t.outras, "Outras");
    v.x(1, 1, t.modalidade); v.x(1, 1, t.situacao);
}

QString Registro70(const TTransporteArquivo& t, const TParte& p, const QString& codigo)
{
    return texto(codigo, [&t] { return nomeTransporte(t); }, [&](auto& v) { campos70(v, t, p); });
}

template <class V>
static void campos71(V& v, const TTransporteArquivo& t, const TParte& e, const TCargaArquivo& c, const TParte& d)
{
    v.lit(u"71"_s); v.n(14, 14, e.cnpj); v.x(14, 14, e.ccicms); v.data(t.dtEmissao, "Data de Emissão");
    v.x(2, 2, e.uf); v.x(2, 2, t.modelo); v.x(1, 1, t.serie); v.x(2, 2, t.subSerie); v.n(6, 6, t.numero);
    v.x(2, 2, d.uf); v.n(14, 14, d.cnpj); v.x(14, 14, d.ccicms); v.data(c.dtEmissao, "Data da Nota Fiscal");
    v.x(2, 2, c.modeloNF); v.x(3, 2, c.serieNF); v.x(0, 2, c.subSerieNF); v.n(6, 6, c.numNF);
    v.valor(14, 14, c.valorNF, "Valor da Nota Fiscal"); v.brancos(12, 11);
}

QString Registro71(const TTransporteArquivo& t, const TParte& e, const TCargaArquivo& c, const TParte& d,
                   const QString& codigo)
{
    if (!c.dtEmissao.isValid())
        throw EArquivoInvalido(QString::fromUtf8("Data da nota %1 da carga não informada%2.")
                                   .arg(c.numNF.trimmed(), onde(nomeTransporte(t))));
    return texto(codigo, [&t] { return nomeTransporte(t); }, [&](auto& v) { campos71(v, t, e, c, d); });
}

QList<TCampo> Leiaute(const QString& tipo)
{
    // The builders' own tables with empty values: the kinds and widths are all that is read.
    const TContribuinteArquivo c;
    const TParte p;
    const TNotaArquivo nf;
    const TCupomArquivo cupom;
    const TTransporteArquivo t;
    if (tipo == QLatin1String("10"))
        return campos10(c, {}, {}, {}, {}, {});
    if (tipo == QLatin1String("11"))
        return campos11(c);
    if (tipo == QLatin1String("50"))
        return coleta([&](TColeta& c) { campos50(c, nf, p, {}); });
    if (tipo == QLatin1String("51"))
        return coleta([&](TColeta& c) { campos51(c, nf, p, {}); });
    if (tipo == QLatin1String("53"))
        return coleta([&](TColeta& c) { campos53(c, nf, p, {}); });
    if (tipo == QLatin1String("60M"))
        return coleta([&](TColeta& v) { campos60M(v, cupom); });
    if (tipo == QLatin1String("60A"))
        return coleta([&](TColeta& v) { campos60A(v, cupom, {}, {}); });
    if (tipo == QLatin1String("61"))
        return coleta([&](TColeta& v) { campos61(v, TTalaoArquivo()); });
    if (tipo == QLatin1String("70"))
        return coleta([&](TColeta& v) { campos70(v, t, p); });
    if (tipo == QLatin1String("71"))
        return coleta([&](TColeta& v) { campos71(v, t, p, TCargaArquivo(), p); });
    return {};
}

QString Registro90(const QString& cnpj, const QString& ccicms, int linhasAntes, const QHash<QString, int>& contagem)
{
    QByteArray r("90");
    AnexaCampo(r, Tipo::N, 14, cnpj);
    AnexaCampo(r, Tipo::X, 14, ccicms);
    for (const QString& familia : Familias) {
        const int quantos = contagem.value(familia);
        if (quantos > 0) {
            r.append(familia.toLatin1());
            AnexaCampo(r, Tipo::N, 8, quantos);
        }
    }
    r.append("99");
    AnexaCampo(r, Tipo::N, 8, linhasAntes + 1);
    return PreencheBrancos(QString::fromLatin1(r), Tamanho - 1) + QLatin1Char('1');
}

} // namespace Registros
