#include "reports/untRelatorio.h"

#include "core/untMascaras.h"

#include "documents/untClsCupomFiscal.h"

QStringList TRelatorio::textos() const
{
    QStringList r;
    r << titulo << subtitulos;
    if (!contribuinte.isEmpty())
        r << contribuinte;
    if (!periodo.isEmpty())
        r << periodo;
    for (const TColunaRelatorio& c : colunas)
        r << c.titulo;
    for (const QList<TLinhaRelatorio>* parte : {&linhas, &resumo})
        for (const TLinhaRelatorio& l : *parte) {
            if (l.texto.isEmpty())
                r << l.celulas;
            else
                r << l.texto;
        }
    return r;
}

QString NomeDoPrograma()
{
    return QStringLiteral("ZEL do ICMS");
}

QString LinhaDoFabricante()
{
    return QString::fromUtf8("Secretaria de Estado da Fazenda - Programa de Declaração do ICMS");
}

QStringList CabecalhoDeclaracao()
{
    return {QStringLiteral("GOVERNO DO ESTADO"), QStringLiteral("SECRETARIA DE ESTADO DA FAZENDA"),
            QString::fromUtf8("SUBSECRETARIA DA RECEITA - DIRETORIA DE INFORMAÇÕES ECONÔMICO-FISCAIS")};
}

namespace FormatoRelatorio {

QString Dinheiro(Money m)
{
    return m.toString();
}

QString Total(Money m)
{
    return m.toString().rightJustified(12, QLatin1Char(' '));
}

static bool soDigitos(const QString& t)
{
    if (t.isEmpty())
        return false;
    for (const QChar c : t)
        if (!c.isDigit())
            return false;
    return true;
}

QString Inscricao(const QString& ccicms)
{
    const QString t = ccicms.trimmed();
    if (t.size() != 9 || !soDigitos(t))
        return t;
    return t.left(2) + QLatin1Char('.') + t.mid(2, 6) + QLatin1Char('-') + t.right(1);
}

QString CnpjCpf(const QString& numero)
{
    return Mascaras::CnpjCpf(numero);
}

QString Aliquota(const QString& aliquota)
{
    const QString t = aliquota.trimmed();
    if (!soDigitos(t) || t.size() > 4)
        return t;
    const QString q = t.rightJustified(4, QLatin1Char('0'));
    return q.left(2) + QLatin1Char('.') + q.right(2) + QLatin1Char('%');
}

QString Periodo(const QString& periodo)
{
    const QString t = periodo.trimmed();
    if (t.size() != 6)
        return t;
    return t.left(4) + QLatin1Char('/') + t.right(2);
}

QString Data(const QDate& d)
{
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString TipoDeclaracao(const QString& tipo)
{
    const QString t = tipo.trimmed();
    if (t == QLatin1String("N"))
        return QStringLiteral("NORMAL");
    if (t == QLatin1String("R"))
        return QStringLiteral("RETIFICADORA");
    return t;
}

Money ImpostoDaAliquota(Money base, const QString& aliquota)
{
    const QString t = aliquota.trimmed();
    if (!soDigitos(t))
        return Money();
    return RegrasCupom::ImpostoDaLinha(t, base);
}

} // namespace FormatoRelatorio
