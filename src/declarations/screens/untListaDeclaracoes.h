#pragma once
#include <QDialog>

#include "reports/untRelatorios.h"
#include <QList>
#include <utility>

#include "db/untSqlite.h"

class QPushButton;
class QStatusBar;
class QTableView;
class TDataSetModel;
struct TContexto;

// What a declaration list is made of: its names, its key and its grid's columns.
struct TDescricaoLista {
    const char* objeto;
    const char* titulo;
    const char* grade;
    const char* chave;
    QList<std::pair<const char*, const char*>> colunas;   // field, header
    const char* status = "Clique com o botão direito do Mouse no Grid para ativar o menu"; // none: nullptr
};

// The list of one kind of monthly declaration of the open taxpayer, newest first: inclusion and change in
// the kind's entry screen, deletion after the question, and the return file of the selected row.
class TfrmListaDeclaracoes : public QDialog {
    Q_OBJECT
public:
    TfrmListaDeclaracoes(TContexto& ctx, const TDescricaoLista& d, QWidget* parent);

    QTableView* grade;
    QPushButton* btnIncluir;
    QPushButton* btnAlterar;
    QPushButton* btnExcluir;
    QPushButton* btnImprimir;
    QPushButton* btnGerarArquivo;
    QPushButton* btnFechar;
    QStatusBar* stbStatus;

    void Incluir();
    void Alterar();
    void Excluir();
    void Imprimir();
    void GerarArquivo();
    TDataSet& lista() { return m_lista; }
    // The list could not be opened: it closes as it opens.
    bool falhou() const { return m_falhou; }

protected:
    void showEvent(QShowEvent* e) override;

    // Run once before the first reading (a table upgrade); false stops the list with its message shown.
    virtual bool prepara() { return true; }
    virtual void abreLista(bool crescente) = 0;
    // The message of a list that cannot be read, shown as an error before the list closes; empty: only the
    // engine's text is shown and the list stays.
    virtual QString erroDeLeitura() const { return {}; }
    virtual void executaInclusao() = 0;
    virtual void executaAlteracao(int id) = 0;
    // Deletes the row (and what belongs to it) all or nothing; false with the message to show.
    virtual bool exclui(int id, QString* mensagem) = 0;
    // Writes the return file of the row; false when it was not written. `semMensagem`: nothing more is to
    // be said (the save dialog was cancelled, or the kind told its own failure).
    virtual bool geraArquivo(int id, bool* semMensagem) = 0;
    // The printed declaration of the row; false when the row is gone (its message already shown).
    virtual bool relatorio(int id, const Relatorios::TCabecalho& c, TRelatorio* r) = 0;
    // The writer over the row's period: regime code, kind and the type letter "N"/"R".
    bool geraArquivoDe(const QString& regime, const QString& periodo, int tipoDeclaracao, const QString& tipo,
                       bool* semMensagem);
    // After a deletion the list shows the oldest first until it is read again.
    virtual bool crescenteAposExcluir() const { return false; }
    virtual QString mensagemExcluido() const { return QString::fromUtf8("Excluído com Sucesso."); }
    // Whether "&Gerar Arquivo" is enabled again after a file was written (else only by the next reading).
    virtual bool reabilitaGerar() const { return true; }
    // What a file that was not written says beyond the writer's own message (none: nothing more).
    virtual QString mensagemFalhaArquivo() const { return {}; }

    void ativa(bool crescente = false);
    int selecionada() const;

    TContexto& m_ctx;
    TDataSet m_lista;
    TDataSetModel* m_modelo;
    QString m_chave;
    bool m_falhou = false;
};
