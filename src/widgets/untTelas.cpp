#include "widgets/untTelas.h"

#include <QDialog>
#include <QEvent>
#include <QPushButton>
#include <QKeyEvent>
#include <QShowEvent>
#include <QHeaderView>
#include <QStatusBar>
#include <QTableView>

#include "core/DialogsNew.h"
#include "core/untFalha.h"
#include "registers/untValidacoes.h"
#include "widgets/untFechamento.h"
#include "widgets/untSaidaCampo.h"

namespace {
// Closing the screen (a hide that is not the window system's) makes its next show an opening again.
class TFimDaExibicao final : public QObject {
public:
    explicit TFimDaExibicao(QWidget* tela) : QObject(tela) { tela->installEventFilter(this); }
protected:
    bool eventFilter(QObject* alvo, QEvent* e) override
    {
        if (e->type() == QEvent::Hide && !e->spontaneous())
            alvo->setProperty("zelAberta", false);
        return false;
    }
};
} // namespace

bool PrimeiraExibicao(QWidget* tela, QShowEvent* evento)
{
    if (evento->spontaneous() || tela->property("zelAberta").toBool())
        return false;
    if (!tela->property("zelFimObservado").toBool()) {
        tela->setProperty("zelFimObservado", true);
        new TFimDaExibicao(tela);
    }
    tela->setProperty("zelAberta", true);
    return true;
}

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

void EsvaziaNumeroRecusado(TFalha& falha)
{
    if (falha.campo == QLatin1String("edtCnpj"))
        falha.esvazia = true;
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
    // Only the user entering the field counts: the focus coming back with the window's activation, after a
    // message box or a pop-up, or put there by the program, is not entering it (and must not clear it).
    switch (e->reason()) {
    case Qt::TabFocusReason: case Qt::BacktabFocusReason: case Qt::MouseFocusReason: case Qt::ShortcutFocusReason:
        emit entrou();
        break;
    default:
        break;
    }
    QLineEdit::focusInEvent(e);
}

TEdValor::TEdValor(QWidget* parent) : QLineEdit(parent)
{
    // Room for the largest amount the type holds, "99.999.999.999.999,9999": nothing typed or shown is cut.
    setMaxLength(24);
    setAlignment(Qt::AlignRight);
    defineValor(Money());
    connect(this, &QLineEdit::textEdited, this, [this] { m_editado = true; });
}

Money TEdValor::valor() const
{
    if (!m_editado)
        return m_valor;
    const auto lido = Money::parse(text());
    return lido && (m_permiteNegativo || !lido->isNegative()) ? *lido : m_valor;
}

void TEdValor::defineValor(Money valor)
{
    m_valor = valor;
    m_editado = false;
    setText(m_duasCasas ? valor.toString() : valor.toStringExato());
}

void TEdValor::setDuasCasas(bool sim)
{
    m_duasCasas = sim;
    if (!m_editado)
        defineValor(m_valor);
}

QString TEdValor::problemaDoTexto() const
{
    if (!m_editado)
        return {};
    const auto lido = Money::parse(text());
    if (!lido)
        return QString::fromUtf8("Valor inválido: \"%1\".\nDigite o valor como 1.234,56 ou 1234,56.").arg(text().trimmed());
    if (lido->isNegative() && !m_permiteNegativo)
        return QString::fromUtf8("O valor não pode ser negativo.");
    return {};
}

void TEdValor::confirmaTexto()
{
    if (m_editado && problemaDoTexto().isEmpty())
        defineValor(valor());
}

void TEdValor::focusOutEvent(QFocusEvent* e)
{
    // What was typed is shown back the way it is held; unreadable text stays for the user to correct.
    confirmaTexto();
    QLineEdit::focusOutEvent(e);
}

void TEdValor::keyPressEvent(QKeyEvent* e)
{
    // The numeric keypad's decimal key gives a dot or a comma depending on the keyboard; here it is the comma.
    if ((e->modifiers() & Qt::KeypadModifier) && (e->key() == Qt::Key_Period || e->key() == Qt::Key_Comma)) {
        insert(QStringLiteral(","));
        m_editado = true;
        return;
    }
    QLineEdit::keyPressEvent(e);
}

namespace {
class TVirgulaDoTeclado final : public QObject {
public:
    explicit TVirgulaDoTeclado(QLineEdit* campo) : QObject(campo), m_campo(campo) { campo->installEventFilter(this); }
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if ((k->modifiers() & Qt::KeypadModifier) && (k->key() == Qt::Key_Period || k->key() == Qt::Key_Comma)) {
            m_campo->insert(QStringLiteral(","));
            return true;
        }
        return false;
    }
private:
    QLineEdit* m_campo;
};
} // namespace

void TeclaDecimalVirgula(QLineEdit* campo)
{
    new TVirgulaDoTeclado(campo);
}

void RegraDosValores(TRegrasSaida& regras, QWidget* tela, IDialogos& dialogos)
{
    for (TEdValor* v : tela->findChildren<TEdValor*>())
        regras.aoSair(v, [v, &dialogos] {
            const QString problema = v->problemaDoTexto();
            if (!problema.isEmpty()) {
                Informa(dialogos, problema);
                return false;
            }
            v->confirmaTexto();
            return true;
        });
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

TRegrasSaida* PreparaTelaDeEdicao(QDialog* tela, IDialogos& dialogos, QPushButton* cancelar, QPushButton* fechar)
{
    FechaPeloBotao(tela, fechar);
    auto* regras = new TRegrasSaida(tela);
    if (cancelar)
        regras->silencioso(cancelar);
    regras->silencioso(fechar);
    RegraDosValores(*regras, tela, dialogos);
    for (TEdValor* v : tela->findChildren<TEdValor*>())
        regras->aoSair(v, [v, &dialogos] {
            if (!v->valor().hasFractionOfCent())
                return true;
            Informa(dialogos, QString::fromUtf8("O valor não pode ter mais de duas casas decimais."));
            return false;
        });
    return regras;
}

QLineEdit* CampoTexto(QWidget* pai, const char* nome, int largura, const char* aceita)
{
    auto* e = Nomeado(new QLineEdit(pai), nome);
    e->setMaxLength(largura);
    if (aceita)
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(aceita)), e));
    return e;
}

void Maiusculas(QLineEdit* campo)
{
    QObject::connect(campo, &QLineEdit::textEdited, campo, [campo](const QString& t) {
        const QString m = t.toUpper();
        if (m != t) {
            const int pos = campo->cursorPosition();
            campo->setText(m);
            campo->setCursorPosition(pos);
        }
    });
}
