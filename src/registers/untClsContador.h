#pragma once
#include <QString>

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

    // Both check the e-mail first; its failure shows the message and stores nothing.
    bool Incluir();
    bool Alterar();
    bool Excluir(int id);
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
};
