#include "widgets/untTelas.h"

#include <QTimer>
#include <QAbstractButton>
#include <QItemSelectionModel>
#include <QPointer>
#include <QAbstractItemView>
#include <algorithm>
#include <QApplication>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QScrollArea>
#include <QSet>
#include <QEvent>
#include <QPushButton>
#include <QKeyEvent>
#include <QShowEvent>
#include <QHeaderView>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>

#include "core/DialogsNew.h"
#include "core/untFalha.h"
#include "core/untMascaras.h"
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

void MostraPaginaDe(QWidget* campo)
{
    // From the outermost page in: a page inside a page is brought forward together with the one holding it.
    QList<QPair<QTabWidget*, QWidget*>> paginas;
    for (QWidget* w = campo; w && !w->isWindow(); w = w->parentWidget())
        if (auto* pilha = qobject_cast<QStackedWidget*>(w->parentWidget()))
            if (auto* abas = qobject_cast<QTabWidget*>(pilha->parentWidget()))
                paginas.prepend({abas, w});
    for (const auto& [abas, pagina] : paginas)
        abas->setCurrentWidget(pagina);
}

void MostraFalha(IDialogos& dialogos, QWidget* tela, const TFalha& falha)
{
    // The field the message speaks of is in sight while the message is read.
    QWidget* campo = falha.campo.isEmpty() ? nullptr : tela->findChild<QWidget*>(falha.campo);
    if (campo)
        MostraPaginaDe(campo);
    if (falha.simples)
        dialogos.mensagemSimples(falha.mensagem);
    else
        Informa(dialogos, falha.mensagem);
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

void RecusaTecla(QWidget* campo)
{
    QApplication::beep();
    campo->setProperty("zelTeclasRecusadas", campo->property("zelTeclasRecusadas").toInt() + 1);
}

namespace {
// The event reaches the field's own handler first, so that what this filter does afterwards wins.
bool EntregaAoCampo(QObject* campo, QEvent* e)
{
    return campo->event(e);
}

class TDigitacaoNaMascara final : public QObject {
public:
    explicit TDigitacaoNaMascara(QLineEdit* campo) : QObject(campo), m_campo(campo) { campo->installEventFilter(this); }
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::FocusIn:
            switch (static_cast<QFocusEvent*>(e)->reason()) {
            case Qt::MouseFocusReason:
                m_cliqueEntrou = true;
                return false;
            case Qt::TabFocusReason: case Qt::BacktabFocusReason: case Qt::ShortcutFocusReason:
            case Qt::OtherFocusReason:
                EntregaAoCampo(m_campo, e);
                vaiParaAPrimeiraVaga();
                return true;
            default:
                return false; // the window coming back, a pop-up closing: the cursor stays where it was
            }
        case QEvent::MouseButtonPress: {
            // A click that enters the field starts typing at the first blank; a later click may pick a typed
            // position to correct, but never one past a blank, where typed characters would be left out.
            const bool entrou = m_cliqueEntrou;
            m_cliqueEntrou = false;
            EntregaAoCampo(m_campo, e);
            const int vaga = primeiraVaga();
            if (vaga >= 0 && (entrou || m_campo->cursorPosition() > vaga))
                m_campo->setCursorPosition(vaga);
            return true;
        }
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->text().isEmpty() || !k->text().at(0).isPrint()
                || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                return false;
            const QString antes = m_campo->text();
            const int cursor = m_campo->cursorPosition();
            EntregaAoCampo(m_campo, e);
            if (m_campo->text() == antes && m_campo->cursorPosition() == cursor)
                RecusaTecla(m_campo);
            return true;
        }
        default:
            return false;
        }
    }
private:
    int primeiraVaga() const
    {
        return m_campo->inputMask().isEmpty()
            ? -1 : Mascaras::PrimeiraPosicaoVazia(m_campo->displayText(), m_campo->inputMask());
    }
    void vaiParaAPrimeiraVaga()
    {
        if (const int vaga = primeiraVaga(); vaga >= 0)
            m_campo->setCursorPosition(vaga);
    }
    QLineEdit* m_campo;
    bool m_cliqueEntrou = false;
};

class TEscolhaNaLista final : public QObject {
public:
    TEscolhaNaLista(QAbstractItemView* lista, std::function<void()> escolhe)
        : QObject(lista), m_lista(lista), m_escolhe(std::move(escolhe)) { lista->installEventFilter(this); }
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if ((k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter)
            || (k->modifiers() & ~Qt::KeypadModifier))
            return false;
        if (m_lista->currentIndex().isValid())
            m_escolhe();
        return true;
    }
private:
    QAbstractItemView* m_lista;
    std::function<void()> m_escolhe;
};
} // namespace

void DigitacaoNaMascara(QLineEdit* campo)
{
    new TDigitacaoNaMascara(campo);
}

void EscolhaNaLista(QAbstractItemView* lista, std::function<void()> escolhe)
{
    // Enter as Tab leaves the list alone: here Enter is the keyboard's double click.
    lista->setProperty("zelEnterEscolhe", true);
    QObject::connect(lista, &QAbstractItemView::doubleClicked, lista, [escolhe](const QModelIndex&) { escolhe(); });
    new TEscolhaNaLista(lista, std::move(escolhe));
}

TEdMascarado::TEdMascarado(const QString& mascara, QWidget* parent) : QLineEdit(parent)
{
    setMascara(mascara);
    DigitacaoNaMascara(this);
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

void TEdValor::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    if (m_editado || isReadOnly())
        return;
    // After the click that brought the focus has placed the cursor.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus() && !m_editado)
            selectAll();
    });
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

void MostraNaGrade(QTableView* grade, QAbstractItemModel* modelo)
{
    grade->setModel(modelo);
    auto ajusta = [grade] { grade->resizeColumnsToContents(); };
    QObject::connect(modelo, &QAbstractItemModel::modelReset, grade, ajusta);
    QObject::connect(modelo, &QAbstractItemModel::rowsInserted, grade, ajusta);
    QObject::connect(modelo, &QAbstractItemModel::layoutChanged, grade, ajusta);
    ajusta();
}

void SeguemALinhaAtual(QAbstractItemView* grade, const QList<QAbstractButton*>& botoes, bool desdeJa)
{
    QList<QPointer<QAbstractButton>> guardados;
    for (QAbstractButton* b : botoes)
        guardados << b;
    auto segue = [grade, guardados] {
        const QAbstractItemModel* modelo = grade->model();
        const bool linha = modelo && modelo->rowCount() > 0 && grade->currentIndex().isValid();
        for (const QPointer<QAbstractButton>& b : guardados)
            if (b)
                b->setEnabled(linha);
    };
    // A reset clears the current row without a signal of the selection model; the grid's own handling of it
    // runs first (it was connected when the model was set), so the row is already gone when this runs.
    QAbstractItemModel* modelo = grade->model();
    QObject::connect(grade->selectionModel(), &QItemSelectionModel::currentChanged, grade, segue);
    QObject::connect(modelo, &QAbstractItemModel::modelReset, grade, segue);
    QObject::connect(modelo, &QAbstractItemModel::rowsRemoved, grade, segue);
    QObject::connect(modelo, &QAbstractItemModel::rowsInserted, grade, segue);
    if (desdeJa)
        segue();
}

namespace {
bool ParaNoTab(const QWidget* w)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy();
}

class TLeitura {
public:
    QList<QWidget*> campos;
    QSet<QWidget*> vistos;

    void widget(QWidget* w)
    {
        if (!w || w->isWindow() || vistos.contains(w))
            return;
        vistos.insert(w);
        if (ParaNoTab(w)) {
            campos << w;
            if (!qobject_cast<QGroupBox*>(w))
                return; // a composite field (list, combo, date) is one stop
        }
        if (auto* abas = qobject_cast<QTabWidget*>(w)) {
            widget(abas->tabBar());
            for (int i = 0; i < abas->count(); ++i)
                widget(abas->widget(i));
        } else if (auto* area = qobject_cast<QScrollArea*>(w)) {
            widget(area->widget());
        }
        if (w->layout())
            layout(w->layout());
        for (QWidget* filho : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            widget(filho);
    }

    void layout(QLayout* l)
    {
        QList<QLayoutItem*> itens;
        if (auto* grade = qobject_cast<QGridLayout*>(l)) {
            struct Posicao { int linha, coluna; QLayoutItem* item; };
            QList<Posicao> p;
            for (int i = 0; i < grade->count(); ++i) {
                int linha, coluna, linhas, colunas;
                grade->getItemPosition(i, &linha, &coluna, &linhas, &colunas);
                p.append({linha, coluna, grade->itemAt(i)});
            }
            std::stable_sort(p.begin(), p.end(), [](const Posicao& a, const Posicao& b) {
                return a.linha != b.linha ? a.linha < b.linha : a.coluna < b.coluna;
            });
            for (const Posicao& x : p)
                itens << x.item;
        } else if (auto* form = qobject_cast<QFormLayout*>(l)) {
            for (int r = 0; r < form->rowCount(); ++r)
                for (auto papel : {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
                    if (QLayoutItem* it = form->itemAt(r, papel))
                        itens << it;
        } else {
            for (int i = 0; i < l->count(); ++i)
                itens << l->itemAt(i);
            if (auto* caixa = qobject_cast<QBoxLayout*>(l);
                caixa && (caixa->direction() == QBoxLayout::RightToLeft || caixa->direction() == QBoxLayout::BottomToTop))
                std::reverse(itens.begin(), itens.end());
        }
        for (QLayoutItem* it : itens) {
            if (it->widget())
                widget(it->widget());
            else if (it->layout())
                layout(it->layout());
        }
    }
};

class TMovimentosFixos final : public QObject {
public:
    explicit TMovimentosFixos(QWidget* tela) : QObject(tela), m_tela(tela)
    {
        setObjectName(QStringLiteral("zelMovimentosFixos"));
        tela->installEventFilter(this);
    }
    QList<QPair<QWidget*, QWidget*>> movimentos;
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show && !e->spontaneous() && !m_feito) {
            m_feito = true;
            OrdemDeLeitura(m_tela, movimentos);
        }
        return false;
    }
private:
    QWidget* m_tela;
    bool m_feito = false;
};

TMovimentosFixos* MovimentosDe(QWidget* tela)
{
    auto* m = tela->findChild<TMovimentosFixos*>(QStringLiteral("zelMovimentosFixos"), Qt::FindDirectChildrenOnly);
    return m ? m : new TMovimentosFixos(tela);
}
} // namespace

QList<QWidget*> CamposEmOrdemDeLeitura(QWidget* tela)
{
    TLeitura leitura;
    leitura.vistos.insert(tela);
    if (tela->layout())
        leitura.layout(tela->layout());
    for (QWidget* filho : tela->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        leitura.widget(filho);
    return leitura.campos;
}

void OrdemDeLeitura(QWidget* tela, const QList<QPair<QWidget*, QWidget*>>& movimentos)
{
    const QList<QWidget*> campos = CamposEmOrdemDeLeitura(tela);
    // A page control's stop is its tab bar; the frame around it hands the focus on to the bar, so left in the
    // chain where it was created it would be a second stop on the bar, out of its place.
    for (QTabWidget* abas : tela->findChildren<QTabWidget*>())
        if (campos.contains(abas->tabBar()))
            abas->setFocusPolicy(Qt::NoFocus);
    for (qsizetype i = 1; i < campos.size(); ++i)
        QWidget::setTabOrder(campos[i - 1], campos[i]);
    // Past the last field Tab goes round to the first, not to whatever was created after the last.
    if (campos.size() > 1)
        QWidget::setTabOrder(campos.last(), campos.first());
    // A read-only list is one stop: Tab leaves it for the next field instead of walking its cells, where a
    // keyboard user would otherwise be kept for good.
    for (QWidget* w : campos)
        if (auto* lista = qobject_cast<QAbstractItemView*>(w); lista && lista->editTriggers() == QAbstractItemView::NoEditTriggers)
            lista->setTabKeyNavigation(false);
    for (const auto& [de, para] : movimentos)
        QWidget::setTabOrder(de, para);
}

void MovimentoFixo(QWidget* tela, QWidget* de, QWidget* para)
{
    MovimentosDe(tela)->movimentos.append(qMakePair(de, para));
}

void OrdemDeLeituraAoMostrar(QWidget* tela)
{
    MovimentosDe(tela);
}

TRegrasSaida* PreparaTelaDeEdicao(QDialog* tela, IDialogos& dialogos, QPushButton* cancelar, QPushButton* fechar)
{
    FechaPeloBotao(tela, fechar);
    MovimentosDe(tela);
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
