#include "output/untRegistros.h"

#include "core/untFuncoes.h"

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
        if (c > 0xFF)
            throw EArquivoInvalido(QString::fromUtf8("O texto \"%1\" tem o caractere \"%2\", que o arquivo não pode gravar")
                                       .arg(texto, QString(QChar(c))));
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

static void anexaNumero(QByteArray& r, qint64 valor, int largura)
{
    char digitos[24];
    int k = 0;
    do {
        digitos[k++] = char('0' + valor % 10);
        valor /= 10;
    } while (valor > 0);
    // Zero-filled on the left, never cut there: a longer number keeps its leftmost digits.
    for (int i = k; i < largura; ++i)
        r.append('0');
    for (int i = k - 1, escritos = 0; i >= 0 && escritos < largura; --i, ++escritos)
        r.append(digitos[i]);
}

void AnexaCampo(QByteArray& r, Tipo tipo, int largura, const QVariant& valor)
{
    switch (tipo) {
    case Tipo::Literal:
    case Tipo::X:
        anexaTexto(r, valor.toString(), largura, false);
        return;
    case Tipo::Brancos:
        r.append(largura, ' ');
        return;
    case Tipo::N:
        if (valor.typeId() == QMetaType::LongLong || valor.typeId() == QMetaType::Int) {
            const qint64 v = valor.toLongLong();
            if (v >= 0) {
                anexaNumero(r, v, largura);
                return;
            }
        }
        anexaTexto(r, valor.toString().trimmed(), largura, true);
        return;
    case Tipo::Valor: {
        const Money m = Money::fromRaw(valor.toLongLong());
        if (m.isNegative())
            throw EArquivoInvalido(QString::fromUtf8("Valor negativo (%1) não pode ser gravado no arquivo").arg(TextoValor(m)));
        if (m.hasFractionOfCent())
            throw EArquivoInvalido(QString::fromUtf8("Valor com mais de duas casas decimais (%1) não pode ser gravado no arquivo")
                                       .arg(TextoValor(m)));
        anexaNumero(r, m.cents(), largura);
        return;
    }
    case Tipo::Data: {
        // Zeros in place of a date would hand in a document with no date at all: the file stops instead.
        const QDate d = valor.toDate();
        if (!d.isValid())
            throw EArquivoInvalido(QString::fromUtf8("Data não informada"));
        anexaNumero(r, d.year(), 4);
        anexaNumero(r, d.month(), 2);
        anexaNumero(r, d.day(), 2);
        return;
    }
    }
}

QString FormataCampo(Tipo tipo, int largura, const QVariant& valor, const QString& documento)
{
    QByteArray r;
    try {
        AnexaCampo(r, tipo, largura, valor);
    } catch (const EArquivoInvalido& e) {
        throw EArquivoInvalido(e.mensagem() + onde(documento) + QLatin1Char('.'));
    }
    return QString::fromLatin1(r);
}

QString Monta(const QList<TCampo>& campos, const QString& codigo, const std::function<QString()>& documento)
{
    const bool antigo = codigo == QLatin1String("1");
    QByteArray r;
    r.reserve(Tamanho);
    try {
        for (const TCampo& c : campos) {
            const int largura = antigo ? c.largura1 : c.largura23;
            if (largura > 0)
                AnexaCampo(r, c.tipo, largura, c.valor);
        }
    } catch (const EArquivoInvalido& e) {
        throw EArquivoInvalido(e.mensagem() + onde(documento ? documento() : QString()) + QLatin1Char('.'));
    }
    if (r.size() != Tamanho)
        throw EArquivoInvalido(QStringLiteral("Registro com %1 caracteres em vez de %2%3.")
                                   .arg(r.size()).arg(Tamanho).arg(onde(documento ? documento() : QString())));
    return QString::fromLatin1(r);
}

// Shorthands for the tables below.
static TCampo lit(const char* texto)
{
    const QString t = QString::fromLatin1(texto);
    return {Tipo::Literal, int(t.size()), int(t.size()), t};
}
static TCampo brancos(int l23, int l1) { return {Tipo::Brancos, l23, l1, {}}; }
static TCampo n(int l23, int l1, const QVariant& v) { return {Tipo::N, l23, l1, v}; }
static TCampo x(int l23, int l1, const QVariant& v) { return {Tipo::X, l23, l1, v}; }
static TCampo valor(int l23, int l1, Money m) { return {Tipo::Valor, l23, l1, QVariant::fromValue(m.raw())}; }
static TCampo data(const QDate& d) { return {Tipo::Data, 8, 8, d}; }

static QString soDigitos(const QString& t)
{
    QString r;
    for (const QChar c : t)
        if (c.isDigit())
            r.append(c);
    return r;
}

QString Registro10(const TContribuinteArquivo& c, int ano, int mes, const QString& finalidade, const QString& marcaNome,
                   const QDate& hoje, bool dadosAnuais)
{
    const QDate inicio(ano, mes, 1);
    const QDate fim = (dadosAnuais && ano == hoje.year()) ? hoje : inicio.addMonths(1).addDays(-1);
    const QString codigo = CodigoLeiaute(inicio);
    return Monta({lit("10"), n(14, 14, c.cnpj), x(14, 14, c.ccicms), x(33, 33, c.razaoSocial), x(2, 2, marcaNome),
                  x(30, 30, c.municipio), x(2, 2, c.uf), n(10, 10, soDigitos(c.fax)), data(inicio), data(fim),
                  x(1, 1, codigo), lit("3"), x(1, 1, finalidade)},
                 codigo, [] { return QStringLiteral("registro 10"); });
}

QString Registro11(const TContribuinteArquivo& c)
{
    return Monta({lit("11"), x(34, 34, c.logradouro), n(5, 5, c.numero), x(22, 22, c.complemento.trimmed()),
                  x(15, 15, c.bairro), n(8, 8, c.cep), x(28, 28, c.contato), n(12, 12, soDigitos(c.fone))},
                 QStringLiteral("3"), [] { return QStringLiteral("registro 11"); });
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

QString Registro50(const TNotaArquivo& nf, const TParte& p, const QString& codigo)
{
    return Monta({lit("50"), n(14, 14, p.cnpj), x(14, 14, p.ccicms), data(dataDaNota(nf)), x(2, 2, p.uf),
                  n(2, 2, nf.modelo), x(3, 3, nf.serie), x(0, 2, nf.subSerie), n(6, 6, nf.numeroNF),
                  x(4, 3, nf.cfop), x(1, 0, nf.emitente), valor(13, 13, nf.valorTotal), valor(13, 13, nf.baseIcms),
                  valor(13, 13, nf.valorIcms), valor(13, 13, nf.isentaIcms), valor(13, 13, nf.outrasIcms),
                  n(4, 4, nf.aliquota), x(1, 1, nf.situacao)},
                 codigo, [&nf] { return nomeNota(nf); });
}

QString Registro51(const TNotaArquivo& nf, const TParte& p, const QString& codigo)
{
    return Monta({lit("51"), n(14, 14, p.cnpj), x(14, 14, p.ccicms), data(dataDaNota(nf)), x(2, 2, p.uf),
                  x(3, 2, nf.serie), x(0, 2, nf.subSerie), n(6, 6, nf.numeroNF), x(4, 3, nf.cfop),
                  valor(13, 13, nf.valorTotal), valor(13, 13, nf.valorIpi), valor(13, 13, nf.isentaIpi),
                  valor(13, 13, nf.outrasIpi), brancos(20, 20), x(1, 1, nf.situacao)},
                 codigo, [&nf] { return nomeNota(nf); });
}

QString Registro53(const TNotaArquivo& nf, const TParte& p, const QString& codigo)
{
    return Monta({lit("53"), n(14, 14, p.cnpj), x(14, 14, p.ccicms), data(dataDaNota(nf)), x(2, 2, p.uf),
                  n(2, 2, nf.modelo), x(3, 3, nf.serie), x(0, 2, nf.subSerie), n(6, 6, nf.numeroNF),
                  x(4, 3, nf.cfop), x(1, 0, nf.emitente), valor(13, 13, nf.baseSubst), valor(13, 13, nf.icmsRetido),
                  valor(13, 13, nf.despAcessorias), x(1, 1, nf.situacao), x(1, 1, nf.mva), brancos(29, 29)},
                 codigo, [&nf] { return nomeNota(nf); });
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

QString Registro60M(const TCupomArquivo& c, const QString& codigo)
{
    return Monta({lit("60M"), data(c.dtEmissao), x(20, 0, c.numSerie), n(3, 3, c.numEquip), x(0, 15, c.numSerie),
                  x(2, 2, c.modelo), n(6, 6, c.cooInicial), n(6, 6, c.cooFinal), n(6, 6, c.crz), n(3, 0, c.cro),
                  valor(16, 0, c.vendaBruta), valor(0, 16, c.gtInicioDia), valor(16, 16, c.gtFimDia),
                  brancos(37, 45)},
                 codigo, [&c] { return nomeCupom(c); });
}

QString Registro60A(const TCupomArquivo& c, const QString& rotulo, Money v, const QString& codigo)
{
    return Monta({lit("60A"), data(c.dtEmissao), x(20, 0, c.numSerie), n(0, 3, c.numEquip), x(4, 4, rotulo),
                  valor(12, 12, v), brancos(79, 96)},
                 codigo, [&c] { return nomeCupom(c); });
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

QString Registro61(const TTalaoArquivo& t)
{
    return Monta({lit("61"), brancos(28, 28), data(t.dtEmissao), n(2, 2, t.modelo), x(3, 3, t.serie.trimmed()),
                  x(2, 2, t.subSerie.trimmed()), n(6, 6, t.numeroInicial), n(6, 6, t.numeroFinal),
                  valor(13, 13, t.valorTotal), valor(13, 13, t.baseIcms), valor(12, 12, t.valorIcms),
                  valor(13, 13, t.isenta), valor(13, 13, t.outras), n(4, 4, t.aliquota), brancos(1, 1)},
                 QStringLiteral("3"),
                 [&t] {
                     return QString::fromUtf8("notas série D %1 a %2 de %3")
                         .arg(t.numeroInicial)
                         .arg(t.numeroFinal)
                         .arg(t.dtEmissao.toString(QStringLiteral("dd/MM/yyyy")));
                 });
}

static QString nomeTransporte(const TTransporteArquivo& t)
{
    return QStringLiteral("conhecimento %1 de %2").arg(t.numero.trimmed(), t.dtEmissao.toString(QStringLiteral("dd/MM/yyyy")));
}

QString Registro70(const TTransporteArquivo& t, const TParte& p, const QString& codigo)
{
    return Monta({lit("70"), n(14, 14, p.cnpj), x(14, 14, p.ccicms), data(t.dtEmissao), x(2, 2, p.uf),
                  n(2, 2, t.modelo), x(1, 1, t.serie), x(2, 2, t.subSerie), n(6, 6, t.numero), x(4, 3, t.cfop),
                  valor(13, 14, t.valorTotal), valor(14, 14, t.baseIcms), valor(14, 14, t.valorIcms),
                  valor(14, 14, t.isenta), valor(14, 14, t.outras), x(1, 1, t.modalidade), x(1, 1, t.situacao)},
                 codigo, [&t] { return nomeTransporte(t); });
}

QString Registro71(const TTransporteArquivo& t, const TParte& e, const TCargaArquivo& c, const TParte& d,
                   const QString& codigo)
{
    if (!c.dtEmissao.isValid())
        throw EArquivoInvalido(QString::fromUtf8("Data da nota %1 da carga não informada%2.")
                                   .arg(c.numNF.trimmed(), onde(nomeTransporte(t))));
    return Monta({lit("71"), n(14, 14, e.cnpj), x(14, 14, e.ccicms), data(t.dtEmissao), x(2, 2, e.uf),
                  x(2, 2, t.modelo), x(1, 1, t.serie), x(2, 2, t.subSerie), n(6, 6, t.numero), x(2, 2, d.uf),
                  n(14, 14, d.cnpj), x(14, 14, d.ccicms), data(c.dtEmissao), x(2, 2, c.modeloNF), x(3, 2, c.serieNF),
                  x(0, 2, c.subSerieNF), n(6, 6, c.numNF), valor(14, 14, c.valorNF), brancos(12, 11)},
                 codigo, [&t] { return nomeTransporte(t); });
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
