#include "core/untMoney.h"

#include <QRegularExpression>
#include <cmath>

qint64 divideTiesToEven(qint64 num, qint64 den)
{
    if (den < 0) { num = -num; den = -den; }
    qint64 q = num / den;
    qint64 r = num % den;
    if (r == 0)
        return q;
    // Compare twice the remainder with the divisor without overflowing.
    const qint64 absR = r < 0 ? -r : r;
    const qint64 resto = den - absR;
    const int sinal = (num < 0) ? -1 : 1;
    if (absR > resto || (absR == resto && (q % 2 != 0)))
        q += sinal;
    return q;
}

std::optional<Money> Money::parse(const QString& texto)
{
    const QString t = texto.trimmed();
    if (t.isEmpty())
        return Money();
    int i = 0;
    bool negativo = false;
    if (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')) {
        negativo = t[i] == QLatin1Char('-');
        ++i;
    }
    QString inteiros, decimais;
    bool viuVirgula = false;
    bool algumDigito = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            (viuVirgula ? decimais : inteiros).append(c);
            algumDigito = true;
        } else if (c == QLatin1Char('.') && !viuVirgula) {
            continue; // thousands separator
        } else if (c == QLatin1Char(',') && !viuVirgula) {
            viuVirgula = true;
        } else {
            return std::nullopt;
        }
    }
    if (!algumDigito)
        return std::nullopt;
    inteiros.remove(QRegularExpression(QStringLiteral("^0+")));
    if (inteiros.size() > 14) // beyond what 64 bits of ten-thousandths can hold
        return std::nullopt;
    qint64 valor = inteiros.isEmpty() ? 0 : inteiros.toLongLong();
    qint64 frac = 0;
    const QString quatro = decimais.left(4).leftJustified(4, QLatin1Char('0'));
    frac = quatro.toLongLong();
    qint64 bruto = valor * Escala + frac;
    if (decimais.size() > 4) {
        // Round on the digits beyond the fourth: above half goes up, exactly half goes to the even neighbour.
        const QString resto = decimais.mid(4);
        const QChar primeiro = resto[0];
        bool acimaDaMetade = primeiro > QLatin1Char('5');
        bool exatamenteMetade = false;
        if (primeiro == QLatin1Char('5')) {
            bool zerosDepois = true;
            for (int k = 1; k < resto.size(); ++k)
                if (resto[k] != QLatin1Char('0')) { zerosDepois = false; break; }
            if (zerosDepois) exatamenteMetade = true; else acimaDaMetade = true;
        }
        if (acimaDaMetade || (exatamenteMetade && (bruto % 2 != 0)))
            ++bruto;
    }
    return fromRaw(negativo ? -bruto : bruto);
}

Money Money::fromDouble(double valor)
{
    const double escalado = valor * static_cast<double>(Escala);
    return fromRaw(static_cast<qint64>(std::nearbyint(escalado))); // default rounding mode: ties to even
}

qint64 Money::cents() const
{
    return divideTiesToEven(m_raw, 100);
}

static QString formata(qint64 centavos, bool agrupar)
{
    const bool negativo = centavos < 0;
    const quint64 abs = negativo ? quint64(-(centavos + 1)) + 1 : quint64(centavos);
    QString inteiros = QString::number(abs / 100);
    if (agrupar) {
        for (int pos = inteiros.size() - 3; pos > 0; pos -= 3)
            inteiros.insert(pos, QLatin1Char('.'));
    }
    const QString dec = QString::number(abs % 100).rightJustified(2, QLatin1Char('0'));
    return (negativo ? QStringLiteral("-") : QString()) + inteiros + QLatin1Char(',') + dec;
}

QString Money::toString() const { return formata(cents(), true); }
QString Money::toEditText() const { return formata(cents(), false); }

Money Money::timesRateHundredths(qint64 rate) const
{
    // amount * rate% / 100 with the rate in hundredths of a percent: divide by 10000.
    return fromRaw(divideTiesToEven(m_raw * rate, 10000));
}
