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
    // Dots group thousands in threes before the comma ("1.234.567,89"). Without a comma, a lone dot followed by
    // one or two final digits is the numeric keypad's decimal point ("10.5"); any other dot makes the text no
    // amount, rather than a figure ten or a hundred times off.
    static const QRegularExpression reInteiros(QStringLiteral("^([0-9]*|[0-9]{1,3}(\\.[0-9]{3})+)$"));
    static const QRegularExpression rePontoDecimal(QStringLiteral("^([0-9]*)\\.([0-9]{1,2})$"));
    static const QRegularExpression reDecimais(QStringLiteral("^[0-9]*$"));
    const QString corpo = t.mid(i);
    QString inteiros, decimais;
    const qsizetype virgula = corpo.indexOf(QLatin1Char(','));
    if (virgula >= 0) {
        inteiros = corpo.left(virgula);
        decimais = corpo.mid(virgula + 1);
        if (!reInteiros.match(inteiros).hasMatch() || !reDecimais.match(decimais).hasMatch())
            return std::nullopt;
    } else if (const auto m = rePontoDecimal.match(corpo); m.hasMatch()) {
        inteiros = m.captured(1);
        decimais = m.captured(2);
    } else if (reInteiros.match(corpo).hasMatch()) {
        inteiros = corpo;
    } else {
        return std::nullopt;
    }
    inteiros.remove(QLatin1Char('.'));
    if (inteiros.isEmpty() && decimais.isEmpty())
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

QString Money::toStringExato() const
{
    if (!hasFractionOfCent())
        return toString();
    // Two decimals through the grouping, then the hidden two: "10,0050".
    const bool negativo = m_raw < 0;
    const quint64 abs = negativo ? quint64(-(m_raw + 1)) + 1 : quint64(m_raw);
    const QString inteiro = formata(qint64(abs / 100), true);
    return (negativo ? QStringLiteral("-") : QString()) + inteiro +
           QString::number(abs % 100).rightJustified(2, QLatin1Char('0'));
}

Money Money::timesRateHundredths(qint64 rate) const
{
    // amount * rate% / 100 with the rate in hundredths of a percent: divide by 10000.
    return fromRaw(divideTiesToEven(m_raw * rate, 10000));
}
