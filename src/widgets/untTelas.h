#pragma once
#include <QLineEdit>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

#include "core/untMoney.h"

class QStatusBar;
class QTableView;
class QWidget;
class IDialogos;
struct TFalha;

// True when a show event opens the screen: a screen sets itself up once per opening, never again when the
// window system shows it back (restored from minimised, uncovered), which would reset what was half typed.
class QShowEvent;
bool PrimeiraExibicao(QWidget* tela, QShowEvent* evento);

// Brings forward every tab page that holds the field, so that it can be seen and take the focus.
void MostraPaginaDe(QWidget* campo);

// A failing check on a screen: the page of its field brought forward, its message in the information box,
// then the focus on the field.
void MostraFalha(IDialogos& dialogos, QWidget* tela, const TFalha& falha);

// On an include dialog, a refused CNPJ/CPF is emptied for typing again (the change dialogs keep the stored one).
void EsvaziaNumeroRecusado(TFalha& falha);

// A key the field cannot take: a beep, and the field keeps what was typed (the count is kept on the field as
// the property "zelTeclasRecusadas").
void RecusaTecla(QWidget* campo);

// A field typed through a mask: entering it (a click, Tab, Enter) puts the cursor on the first position still
// blank, so typing goes on from there and a preset part (the area code) is not typed over; a key the mask
// refuses beeps. A full field keeps the cursor where Qt puts it (the click's place, the first position).
void DigitacaoNaMascara(QLineEdit* campo);

// A selection list: a double click, Enter or Return on a row chooses it (Enter chooses here rather than
// moving on as Tab).
class QAbstractItemView;
void EscolhaNaLista(QAbstractItemView* lista, std::function<void()> escolhe);

// A field typed through a mask whose value is the typed characters only (separators left out).
class TEdMascarado : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdMascarado(const QString& mascara = {}, QWidget* parent = nullptr);
    void setMascara(const QString& mascara);
    const QString& mascara() const { return m_mascara; }
    // The typed characters, blank positions as blanks (not trimmed).
    QString valor() const;
    // Shows a stored value through the mask.
    void defineValor(const QString& valor);
signals:
    // The user entered the field (Tab, a click, a shortcut).
    void entrou();
protected:
    void focusInEvent(QFocusEvent* e) override;
private:
    QString m_mascara;
};

// A money field: typed as "1.234,56" (or "1234,56", or "10.5" from the numeric keypad, whose decimal key types
// the comma), shown with two decimals. It holds its exact amount: a figure with four decimals passing through
// it is kept whole, and only what the user types is read again.
class TEdValor : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdValor(QWidget* parent = nullptr);
    // The amount held: what was set, or what the user typed once it reads as an amount. Text that is no
    // amount never replaces it (the leaving rule of the screen tells the user and keeps the focus).
    Money valor() const;
    void defineValor(Money valor);
    bool permiteNegativo() const { return m_permiteNegativo; }
    void setPermiteNegativo(bool sim) { m_permiteNegativo = sim; }
    // Shows the amount with two decimals (ties to even) even when it holds a fraction of a cent; what the
    // field holds stays exact. Off by default: the field then shows every decimal it holds.
    void setDuasCasas(bool sim);
    // Empty when the typed text is an amount the field accepts; otherwise the message that says why not.
    QString problemaDoTexto() const;
    // Takes what was typed as the field's amount and shows it back the way it is held.
    void confirmaTexto();
protected:
    // Entering the field selects the amount it shows, however the focus arrives (a leaving rule's move
    // included), so that what is typed replaces "0,00" instead of following it.
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
private:
    Money m_valor;
    bool m_editado = false;
    bool m_permiteNegativo = false;
    bool m_duasCasas = false;
};

// The numeric keypad's decimal key types the comma in this field (rates and other decimal fields).
void TeclaDecimalVirgula(QLineEdit* campo);

// The money fields of a screen get their check ahead of any other leaving rule of theirs: text that is no
// amount (or a negative one where the field takes none) shows its message and keeps the focus.
class TRegrasSaida;
void RegraDosValores(TRegrasSaida& regras, QWidget* tela, IDialogos& dialogos);

// The fields of a screen that Tab stops at, in reading order: each layout top to bottom, then left to right
// inside a row, a group's (or page's) fields together; fields outside any layout come last, as created.
QList<QWidget*> CamposEmOrdemDeLeitura(QWidget* tela);
// Sets the screen's Tab (and Enter) order to the reading order, then its fixed moves: each pair puts the second
// field right after the first. Call it once the layouts are built.
void OrdemDeLeitura(QWidget* tela, const QList<QPair<QWidget*, QWidget*>>& movimentos = {});
// A fixed move of an edit screen, applied when its reading order is set at its first showing.
void MovimentoFixo(QWidget* tela, QWidget* de, QWidget* para);
// The reading order (with any fixed moves) set at the screen's first showing, once every field a derived
// screen adds exists: for the browse and list screens, which have no edit-screen set-up.
void OrdemDeLeituraAoMostrar(QWidget* tela);

// What every document edit screen sets up once its fields exist: Esc and the window's close button through
// "&Fechar", the leaving rules quiet for "&Cancelar" and "&Fechar", the money fields' checks, amounts in
// whole cents included (the return file carries cents: a finer amount is refused where it is typed), and the
// Tab order in reading order (with the screen's fixed moves) from its first showing, when its layout exists.
class QDialog;
class QPushButton;
TRegrasSaida* PreparaTelaDeEdicao(QDialog* tela, IDialogos& dialogos, QPushButton* cancelar, QPushButton* fechar);

// The register grids: one whole row selected at a time, a hint, and a status-bar text while the mouse is
// over the grid (cleared by a click or when the mouse leaves it).
void ConfiguraGrade(QTableView* grade, QStatusBar* status, const QString& dica, const QString& textoStatus);
// Buttons that act on the grid's current row (change, delete) are enabled exactly while the grid has one: a
// search that found nothing or a list emptied by a deletion leaves them disabled, and a row chosen again
// enables them. Call it once the grid has its model; `desdeJa` false leaves their state until the rows
// change, for a screen whose own rule sets them when it opens.
class QAbstractButton;
void SeguemALinhaAtual(QAbstractItemView* grade, const QList<QAbstractButton*>& botoes, bool desdeJa = true);
// Shows a model in a grid whose columns take the width of their title or longest value each time the rows are
// read again, so that no number, CNPJ or date is cut.
class QAbstractItemModel;
void MostraNaGrade(QTableView* grade, QAbstractItemModel* modelo);

// A widget with its object name, the name by which checks put the focus on it and tests find it.
template <class W>
W* Nomeado(W* w, const char* nome)
{
    w->setObjectName(QString::fromLatin1(nome));
    return w;
}
// A named text field of at most `largura` characters; `aceita` (a regular expression) limits what can be typed.
QLineEdit* CampoTexto(QWidget* pai, const char* nome, int largura, const char* aceita = nullptr);
// What is typed is shown and kept in upper case, the caret where it was.
void Maiusculas(QLineEdit* campo);
