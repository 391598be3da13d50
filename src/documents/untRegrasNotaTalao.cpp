#include "documents/untRegrasNotaTalao.h"

#include <QStringList>

#include "documents/untRegrasNotaFiscal.h"
#include "registers/untGravaCadastro.h"

static TFalha falha(const QString& mensagem, const char* campo)
{
    return TFalha{mensagem, QString::fromLatin1(campo)};
}

// A note number as typed: ASCII digits only, 1 to 999999; -1 otherwise.
static int numeroDaNota(const QString& texto)
{
    const QString t = texto.trimmed();
    if (t.isEmpty() || t.size() > 6)
        return -1;
    for (const QChar ch : t)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return -1;
    const int n = t.toInt();
    return n >= 1 && n <= kMaiorNotaTalao ? n : -1;
}

std::optional<Money> AliquotaTalao(const QString& texto)
{
    const auto lida = Money::parse(texto.trimmed().isEmpty() ? QStringLiteral("0") : texto);
    if (!lida || lida->isNegative() || lida->raw() % 100 != 0)
        return std::nullopt;
    return lida;
}

// An amount the return file can carry: whole cents, never negative.
static TFalha checaValor(Money valor, const char* rotulo, const char* campo)
{
    if (valor.isNegative())
        return falha(QString::fromUtf8("O valor de %1 não pode ser negativo.").arg(QString::fromUtf8(rotulo)), campo);
    if (valor.hasFractionOfCent())
        return falha(QString::fromUtf8("O valor de %1 não pode ter mais de duas casas decimais: %2.")
                         .arg(QString::fromUtf8(rotulo), valor.toStringExato()),
                     campo);
    return {};
}

TFalha ChecaNotaTalao(TDTM& dtm, const TCamposTalao& c, bool alteracao, int idAtivo, const QDateTime& agora,
                      TNotaTalao& n)
{
    static const QStringList modelos = {QStringLiteral("02"), QStringLiteral("04"), QStringLiteral("07"),
                                        QStringLiteral("13"), QStringLiteral("14"), QStringLiteral("15"),
                                        QStringLiteral("16"), QStringLiteral("21"), QStringLiteral("65")};
    const QString modelo = c.modelo.trimmed();
    if (!modelos.contains(modelo))
        return falha(QString::fromUtf8("Modelos Válidos: 02,04,07,13,14,15,16, 21 e 65."), "edtModelo");
    static const QStringList series = {QString(), QStringLiteral("U"), QStringLiteral("D"), QStringLiteral("DU")};
    const QString serie = c.serie.trimmed();
    if (!series.contains(serie))
        return falha(alteracao ? QString::fromUtf8("Série Inválida! Séries válidas são \"D\",\"U\",\"DU\" e \"   \"")
                               : QString::fromUtf8("Série Inválida! Séries válidas são \"D\",\"U\",\"DU\" e Branco!"),
                     "edtSerie");
    // An empty or unreadable number would be stored as note 0.
    const int inicial = numeroDaNota(c.notaInicial);
    if (inicial < 0) {
        TFalha f = falha(QString::fromUtf8("Número da Nota Inicial Inválido!\nInforme um número de 1 a 999999."),
                         "edtNInicial");
        f.esvazia = true;
        return f;
    }
    const int final_ = numeroDaNota(c.notaFinal);
    if (final_ < 0) {
        TFalha f = falha(QString::fromUtf8("Número da Nota Final Inválido!\nInforme um número de 1 a 999999."),
                         "edtNFinal");
        f.esvazia = true;
        return f;
    }
    if (final_ < inicial)
        return falha(QStringLiteral("Nota Inicial Maior que Nota Final!"), "edtNInicial");
    const auto aliquota = AliquotaTalao(c.aliquota);
    if (!aliquota)
        return falha(QString::fromUtf8("Alíquota inválida!\nInforme a alíquota como 17 ou 12,5."), "vlrAliquota");
    if (*aliquota > *Money::parse(QStringLiteral("99,99")))
        return falha(QString::fromUtf8("Valor da alíquota deve ser menor que 100% !"), "vlrAliquota");
    const struct {
        Money valor;
        const char* rotulo;
        const char* campo;
    } valores[] = {{c.valorTotal, "Valor Total", "curVlrTotal"},
                   {c.baseIcms, "Base de Cálculo", "curBaseIcms"},
                   {c.valorIcms, "Valor do ICMS", "curVlrIcms"},
                   {c.isentas, "Isentas", "curVlrIsenta"},
                   {c.outras, "Outras", "curVlrOutras"}};
    for (const auto& v : valores)
        if (TFalha f = checaValor(v.valor, v.rotulo, v.campo); f.falhou())
            return f;
    if (c.baseIcms + c.isentas + c.outras != c.valorTotal)
        return falha(QStringLiteral("Valor Total diferente de \nBase de Calculo+Isenta+Outras"), "curVlrTotal");

    n = TNotaTalao();
    n.IDContribuinte = idAtivo;
    n.DtEmissao = c.emissao;
    n.Modelo = modelo;
    n.Serie = serie;
    n.SubSerie = c.subSerie.trimmed();
    n.NumeroInicial = inicial;
    n.NumeroFinal = final_;
    n.ValorTotal = c.valorTotal;
    n.BaseICMS = c.baseIcms;
    n.ValorICMS = c.valorIcms;
    n.Isenta = c.isentas;
    n.Outras = c.outras;
    n.Aliquota = TextoAliquota(*aliquota);
    n.DtUltAlteracao = agora;
    return ChecaLarguras(dtm, QStringLiteral("NOTATALAO"),
                         {{"Modelo", n.Modelo, "Modelo", "edtModelo"},
                          {"Serie", n.Serie, "Série", "edtSerie"},
                          {"SubSerie", n.SubSerie, "SubSérie", "edtSubSerie"},
                          {"Aliquota", n.Aliquota, "Alíquota", "vlrAliquota"}});
}
