#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

// The rules of the month-and-year field: its text is six characters, the month then the year ("122009").
class TPeriodoRegras {
public:
    QString PeriodoMin;
    QString PeriodoMax;
    bool MaxPerAgora = false;
    QString MensErroSintaxe;
    QString MensErroValidade;
    QString Aviso;

    // The first two characters as a month; 0 when not a number or outside 1..12.
    static int mesDe(const QString& texto);
    // Characters 3 to 6 as a year; 0 when not a number or before 1899.
    static int anoDe(const QString& texto);

    bool sintaxeValida(const QString& texto) const;
    bool dentroDosLimites(const QString& texto) const;

    // Entering the field: with MaxPerAgora the upper limit becomes the current month.
    void aoEntrar(const QDate& hoje);

    // Leaving the field with this text: the messages to show, in order (empty when it passes). An empty
    // text is not checked. `falhou` tells whether the focus must stay in the field.
    QStringList aoSair(const QString& texto, bool* falhou = nullptr) const;
};
