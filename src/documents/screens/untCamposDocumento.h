#pragma once
#include <QDate>
#include <QString>

#include "documents/untCfop.h"
#include "documents/untRegrasNotaFiscal.h"

class IDialogos;
class QGroupBox;
class QLabel;
class QRadioButton;
class TRegrasSaida;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
struct TContexto;

// The operation code field with its description, as every document screen has it: entering it opens the
// code list of the screen's filter, leaving it finds the typed code within that filter or opens the
// selection screen.
class TCampoCfop {
public:
    TCampoCfop(QLineEdit* codigo, QPlainTextEdit* descricao) : m_codigo(codigo), m_descricao(descricao) {}

    void entra(TContexto& ctx, TelaCfop tela, bool entrada, const QDate& emissao);
    struct TSaida {
        QString achado;           // the typed code, when the filter admits it
        QString codigo;           // the code the field now shows (typed or chosen)
        bool substituicao = false; // the code admits tax substitution
    };
    // `ordenaLista`: an empty field opens the selection screen on the whole list in code order.
    TSaida sai(TContexto& ctx, QWidget* tela, TelaCfop telaCfop, bool entrada, const QDate& emissao, bool ordenaLista);
    const QString& filtro() const { return m_filtro; }
    void limpa();

private:
    QLineEdit* m_codigo;
    QPlainTextEdit* m_descricao;
    QString m_filtro;
};

// The other party of a document: its CNPJ/CPF typed (or chosen in the register), its name and state shown.
class TCampoParte {
public:
    TCampoParte(QLineEdit* cnpj, QLabel* nome, QLabel* uf) : m_cnpj(cnpj), m_nome(nome), m_uf(uf) {}

    // Finds the typed CNPJ/CPF or opens the selection screen; no choice leaves the field empty.
    void escolhe(TContexto& ctx, QWidget* tela);
    // Shows the register's row of this key (the key is kept even when the row is not found).
    void mostra(TContexto& ctx, int id);
    void limpa();

    int id() const { return m_id; }
    const QString& uf() const { return m_ufTexto; }

private:
    void preenche(int id, const QString& cnpj, const QString& nome, const QString& uf);

    QLineEdit* m_cnpj;
    QLabel* m_nome;
    QLabel* m_uf;
    int m_id = 0;
    QString m_ufTexto;
};

// "Seleciona situação da nota fiscal eletrônica" and "Faixa de notas inutilizadas": denied use, or a range of
// voided numbers whose fields refuse a zero or a non-number on leaving.
class TQuadroNFe {
public:
    TQuadroNFe(QWidget* tela, IDialogos& dialogos, TRegrasSaida& regras);

    QGroupBox* rgSituacaoNF;
    QRadioButton* rbDenegado;
    QRadioButton* rbInutilizado;
    QGroupBox* grbFaixa;
    QLineEdit* edtInicioInutilizado;
    QLineEdit* edtFinalInutilizado;

    SituacaoNFe situacao() const;
    void limpa();
    bool saiInicioFaixa();
    bool saiFinalFaixa();

private:
    IDialogos& m_dialogos;
};
