#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

// A money amount as the database stores it: a signed count of ten-thousandths. Every amount of the program
// goes through this type, so parsing, rounding and display are decided here once.
class Money {
public:
    static constexpr qint64 Escala = 10000;

    constexpr Money() = default;
    static constexpr Money fromRaw(qint64 dezMilesimos) { Money m; m.m_raw = dezMilesimos; return m; }
    static constexpr Money fromCents(qint64 centavos) { return fromRaw(centavos * 100); }

    // Typed text as a user writes it ("1.234,56", "1234,56", "-12,5", "1234,56789", " 0,01 "). The comma is the
    // decimal separator and dots group thousands in threes; without a comma, a lone dot before one or two final
    // digits is the numeric keypad's decimal point ("10.5" is 10,50). Digits beyond the fourth decimal are
    // rounded to the nearest ten-thousandth, ties to even. An empty text is zero. Anything else ("10.5.1",
    // "1,2,3", "1234.567") is no amount at all.
    static std::optional<Money> parse(const QString& texto);

    // Rounds a floating-point figure to ten-thousandths, ties to even (the one figure of the program that
    // passes through a floating-point expression).
    static Money fromDouble(double valor);

    constexpr qint64 raw() const { return m_raw; }
    constexpr bool isZero() const { return m_raw == 0; }
    constexpr bool isNegative() const { return m_raw < 0; }

    // Two decimals, thousands grouped with dots and a comma before the decimals: "1.234,56", "-0,50".
    // The hidden third and fourth decimals round half to even, the same rule as the input.
    QString toString() const;
    // As toString, but a value holding a fraction of a cent shows all four decimals ("10,0050"), so that a
    // message or a field never shows a stored amount other than it is.
    QString toStringExato() const;
    // Two decimals and a comma, no grouping: for fields that are typed into again ("1234,56").
    QString toEditText() const;

    // Whole cents (the return file's unit), ties to even on a stored fraction of a cent.
    qint64 cents() const;
    // True when the stored value holds a fraction of a cent, which no two-decimal output can show.
    constexpr bool hasFractionOfCent() const { return m_raw % 100 != 0; }

    // The amount times a rate given in hundredths of a percent (the stored rate text "1700" is 17 %),
    // rounded to ten-thousandths, ties to even, without leaving integer arithmetic.
    Money timesRateHundredths(qint64 rateHundredthsOfPercent) const;

    constexpr Money operator+(Money o) const { return fromRaw(m_raw + o.m_raw); }
    constexpr Money operator-(Money o) const { return fromRaw(m_raw - o.m_raw); }
    constexpr Money operator-() const { return fromRaw(-m_raw); }
    Money& operator+=(Money o) { m_raw += o.m_raw; return *this; }
    Money& operator-=(Money o) { m_raw -= o.m_raw; return *this; }
    constexpr auto operator<=>(const Money&) const = default;

private:
    qint64 m_raw = 0;
};

// Integer division rounding to the nearest, ties to even; shared by every rounding of amounts.
qint64 divideTiesToEven(qint64 numerador, qint64 denominador);
