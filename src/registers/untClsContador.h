#pragma once
#include <QString>

#include "core/untFalha.h"

class TDTM;
class IDialogos;

// One accountant's values and the statements of the accountant register.
class TContador {
public:
    // Opens the accountant list with the statement it has and takes the id of the row under its cursor.
    TContador(TDTM& dtm, IDialogos& dialogos);

    int IDContador = 0;
    QString CPF;
    QString CRC;
    QString Nome;
    QString EMail;
    QString Fone;

    // Both check the e-mail and the width of every value first; a failure shows its message, stores nothing
    // and stays in Recusa() with the field concerned. False also when no row was written.
    bool Incluir();
    bool Alterar();
    // Refuses (false, the reason in Recusa()) while a taxpayer names the accountant; false also when no
    // row went.
    bool Excluir(int id);
    const TFalha& Recusa() const { return m_recusa; }
    int IdAtual() const;
    // Loads one accountant into the list and the object; false (and everything cleared) when it fails.
    bool CarregarContador(int id);
    const QString& NomeContador() const { return Nome; }

    // The values as stored: the name without accents and in capitals, the CRC in capitals, blanks trimmed.
    void preparaValores();

private:
    bool executa(const QString& sql, bool comId);
    TDTM& m_dtm;
    IDialogos& m_dialogos;
    TFalha m_recusa;
};
