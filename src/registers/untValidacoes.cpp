#include "registers/untValidacoes.h"

#include "registers/untInscricaoEstadual.h"

static int digito(const QString& t, int i)
{
    if (i >= t.size())
        return 0;
    const QChar c = t[i];
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.unicode() - '0' : 0;
}

// (s * 10) mod 11, with 10 read as 0.
static int digitoVerificador(int soma)
{
    const int r = (soma * 10) % 11;
    return r == 10 ? 0 : r;
}

static bool confere(const QString& t, int posicao, int esperado)
{
    return posicao < t.size() && t[posicao] == QChar(QLatin1Char(char('0' + esperado)));
}

bool ValidaCNPJ(const QString& t)
{
    static const int pesos1[12] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static const int pesos2[13] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    int s = 0;
    for (int i = 0; i < 12; ++i)
        s += pesos1[i] * digito(t, i);
    const int d1 = digitoVerificador(s);
    s = 0;
    for (int i = 0; i < 12; ++i)
        s += pesos2[i] * digito(t, i);
    s += pesos2[12] * d1;
    const int d2 = digitoVerificador(s);
    return confere(t, 12, d1) && confere(t, 13, d2);
}

bool ValidaCPF(const QString& t)
{
    if (t.size() < 9)
        return false;
    int s = 0;
    for (int i = 0; i < 9; ++i)
        s += (10 - i) * digito(t, i);
    const int d1 = digitoVerificador(s);
    s = 0;
    for (int i = 0; i < 9; ++i)
        s += (11 - i) * digito(t, i);
    s += 2 * d1;
    const int d2 = digitoVerificador(s);
    return confere(t, 9, d1) && confere(t, 10, d2);
}

bool ValidaInscricaoEstadual(const QString& ie, const QString& uf, TConsultaInscricao consulta)
{
    if (ie.isEmpty())
        return false;
    if ((consulta ? consulta : ConsisteInscricaoEstadual)(ie, uf) == 0)
        return true;
    if (uf != QLatin1String("PE"))
        return false;
    return ValidaCPF(QStringLiteral("00") + ie);
}

const QStringList& ListaUF()
{
    static const QStringList ufs = {
        QStringLiteral("AC"), QStringLiteral("AL"), QStringLiteral("AM"), QStringLiteral("AP"), QStringLiteral("BA"),
        QStringLiteral("CE"), QStringLiteral("DF"), QStringLiteral("ES"), QStringLiteral("GO"), QStringLiteral("MA"),
        QStringLiteral("MG"), QStringLiteral("MS"), QStringLiteral("MT"), QStringLiteral("PA"), QStringLiteral("PB"),
        QStringLiteral("PE"), QStringLiteral("PI"), QStringLiteral("PR"), QStringLiteral("RJ"), QStringLiteral("RN"),
        QStringLiteral("RO"), QStringLiteral("RR"), QStringLiteral("RS"), QStringLiteral("SC"), QStringLiteral("SE"),
        QStringLiteral("SP"), QStringLiteral("TO"), QStringLiteral("ZR"), QStringLiteral("EX")};
    return ufs;
}

bool ValidaUF(const QString& texto)
{
    return ListaUF().contains(texto);
}

bool ValidaCEP(const QString& texto)
{
    return texto.trimmed().size() == 8;
}

QString ValidaEmailContador(const QString& texto)
{
    const QString limpo = texto.trimmed();
    if (limpo.isEmpty())
        return QString::fromUtf8("E-Mail do Contabilista não está informado!");
    if (!texto.contains(QLatin1Char('@')))
        return QString::fromUtf8("E-Mail do Contabilista inválido: ") + texto;
    if (limpo.size() < 10)
        return QStringLiteral("E-Mail do Contabilista incompleto: ") + texto;
    if (texto.contains(QStringLiteral("www")))
        return QStringLiteral("Confira o E-Mail do Contabilista: ") + texto;
    return {};
}

bool CaracterValido(QChar c)
{
    const ushort u = c.unicode();
    if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == ' ')
        return true;
    return u < 128 && QByteArrayView(",<>.;:/\\*-+(){}[]").contains(char(u));
}

QString FiltraTexto(const QString& texto)
{
    QString r;
    r.reserve(texto.size());
    for (const QChar c : texto)
        if (CaracterValido(c))
            r.append(c);
    return r;
}
