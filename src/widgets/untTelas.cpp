#include "widgets/untTelas.h"

#include <QEvent>
#include <QHeaderView>
#include <QStatusBar>
#include <QTableView>

#include "core/DialogsNew.h"
#include "core/untFalha.h"
#include "registers/untValidacoes.h"

void MostraFalha(IDialogos& dialogos, QWidget* tela, const TFalha& falha)
{
    if (falha.simples)
        dialogos.mensagemSimples(falha.mensagem);
    else
        Informa(dialogos, falha.mensagem);
    if (falha.campo.isEmpty())
        return;
    auto* campo = tela->findChild<QWidget*>(falha.campo);
    if (!campo)
        return;
    if (auto* texto = qobject_cast<QLineEdit*>(campo); texto && falha.esvazia)
        texto->clear();
    campo->setFocus(Qt::OtherFocusReason);
}

TEdMascarado::TEdMascarado(const QString& mascara, QWidget* parent) : QLineEdit(parent)
{
    setMascara(mascara);
}

void TEdMascarado::setMascara(const QString& mascara)
{
    m_mascara = mascara;
    setInputMask(mascara);
}

QString TEdMascarado::valor() const
{
    return m_mascara.isEmpty() ? text() : Mascaras::SemLiterais(displayText(), m_mascara);
}

void TEdMascarado::defineValor(const QString& valor)
{
    setText(valor);
}

void TEdMascarado::focusInEvent(QFocusEvent* e)
{
    emit entrou();
    QLineEdit::focusInEvent(e);
}

TEdValor::TEdValor(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(13);
    setAlignment(Qt::AlignRight);
    defineValor(Money());
}

Money TEdValor::valor() const
{
    return Money::parse(text()).value_or(Money());
}

void TEdValor::defineValor(Money valor)
{
    setText(valor.toString());
}

void TEdValor::focusOutEvent(QFocusEvent* e)
{
    // What was typed is shown back the way it will be stored.
    defineValor(valor());
    QLineEdit::focusOutEvent(e);
}

namespace {
class TDicaStatus final : public QObject {
public:
    TDicaStatus(QTableView* grade, QStatusBar* status, QString texto)
        : QObject(grade), m_status(status), m_texto(std::move(texto)) {}
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseMove: case QEvent::Enter: m_status->showMessage(m_texto); break;
        case QEvent::MouseButtonPress: case QEvent::Leave: m_status->clearMessage(); break;
        default: break;
        }
        return false;
    }
private:
    QStatusBar* m_status;
    QString m_texto;
};
} // namespace

void ConfiguraGrade(QTableView* grade, QStatusBar* status, const QString& dica, const QString& textoStatus)
{
    grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade->setSelectionMode(QAbstractItemView::SingleSelection);
    grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade->setContextMenuPolicy(Qt::ActionsContextMenu);
    grade->horizontalHeader()->setStretchLastSection(true);
    grade->verticalHeader()->setVisible(false);
    grade->setToolTip(dica);
    grade->viewport()->setMouseTracking(true);
    if (status)
        grade->viewport()->installEventFilter(new TDicaStatus(grade, status, textoStatus));
}
