#pragma once
#include <QString>

class TDTM;

// One party of the register (a taxpayer, "C", or a client or supplier, "F") and the register's statements.
// The lookups work on the shared register list, which the screen shown last fills.
class TContribuinte {
public:
    // Takes the id of the row under the cursor of the register list.
    explicit TContribuinte(TDTM& dtm);

    int IdContribuinte = 0;
    QString RazaoSocial;
    QString CNPJ;
    QString Ccicms;
    int IdContador = 0;
    QString Logradouro;
    QString Numero;
    QString Complemento;
    QString Bairro;
    QString Municipio;
    QString Cep;
    QString UF;
    QString Email;
    QString Fone;
    QString Fax;
    QString Contato;
    QString Tipo;

    bool Incluir();
    bool Alterar();   // the kind never changes
    bool Excluir(int id);

    int IdAtual() const;
    QString RazaoSocialAtual() const;
    QString UFAtual() const;
    QString CNPJAtual() const;

    bool LocalizarId(int id);
    QString BuscarCNPJ(const QString& cnpj);
    bool JaCadastrado(const QString& cnpj, const QString& ie, const QString& uf, const QString& tipo);
    // Fills the register list with the parties whose name contains the text (of one kind, or of both when
    // `tipo` is empty), ordered by name. The text is bound, never spliced into the statement.
    void Pesquisar(const QString& texto, const QString& tipo);
    // Fills the register list with the parties of one kind ordered by name (or by id).
    void ListarTipo(const QString& tipo, bool porId = false);

private:
    bool grava(const QString& sql, bool comId);
    QString campoAtual(const char* nome) const;
    TDTM& m_dtm;
};
