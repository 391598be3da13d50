#pragma once
#include <QString>

#include "core/untFalha.h"

class TDTM;

// What names a party elsewhere in the database and so keeps it from being deleted.
enum class TVinculo { Nenhum, Documentos, Declaracoes, DadosAnuais, QuadroV };

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

    // Both refuse a value wider than its column (Recusa() tells which) and report false when no row was
    // written.
    bool Incluir();
    bool Alterar();   // the kind never changes
    // Refuses while anything names the party (UltimoVinculo() tells what); false also when no row went.
    bool Excluir(int id);
    // What names the party, the first found in this order: documents, declarations, annual data, Quadro V.
    TVinculo VinculoDe(int id);
    // Copies the stored row into the object, so that a change writes back what the dialog does not show.
    bool Carregar(int id);

    const TFalha& Recusa() const { return m_recusa; }
    TVinculo UltimoVinculo() const { return m_vinculo; }

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
    TFalha m_recusa;
    TVinculo m_vinculo = TVinculo::Nenhum;
};

// The message of a refused deletion; `quem` names the party as the screen does ("este Contribuinte").
QString MensagemExclusaoRecusada(TVinculo vinculo, const QString& quem);
