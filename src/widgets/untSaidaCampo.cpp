#include "widgets/untSaidaCampo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace {
// Eats the press and release of the click whose focus change a rule refused.
class TEngoleClique final : public QObject {
public:
    explicit TEngoleClique(QWidget* botao) : QObject(botao) { botao->installEventFilter(this); }
protected:
    bool eventFilter(QObject* alvo, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
            return true;
        if (e->type() == QEvent::MouseButtonRelease) {
            alvo->removeEventFilter(this);
            deleteLater();
            return true;
        }
        return false;
    }
};
} // namespace

TRegrasSaida::TRegrasSaida(QWidget* tela) : QObject(tela)
{
    setObjectName(QStringLiteral("regrasSaida"));
}

TRegrasSaida* TRegrasSaida::de(QWidget* w)
{
    for (QWidget* t = w; t; t = t->parentWidget())
        if (auto* r = t->findChild<TRegrasSaida*>(QStringLiteral("regrasSaida"), Qt::FindDirectChildrenOnly))
            return r;
    return nullptr;
}

void TRegrasSaida::aoSair(QWidget* campo, Regra regra)
{
    if (!m_regras.contains(campo))
        campo->installEventFilter(this);
    m_regras[campo].append(std::move(regra));
}

void TRegrasSaida::silencioso(QWidget* botao)
{
    m_silenciosos.append(botao);
}

bool TRegrasSaida::executa(QWidget* campo)
{
    m_executando = true;
    bool ok = true;
    // A rule may add rules or close the screen: iterate over a copy.
    const QList<Regra> regras = m_regras.value(campo);
    for (const Regra& r : regras)
        if (!(ok = r()))
            break;
    m_executando = false;
    return ok;
}

bool TRegrasSaida::verifica(QWidget* campo)
{
    if (m_executando)
        return true;
    m_razao = Qt::OtherFocusReason;
    return executa(campo);
}

bool TRegrasSaida::eventFilter(QObject* alvo, QEvent* evento)
{
    if (evento->type() != QEvent::FocusOut || m_executando)
        return false;
    const auto razao = static_cast<QFocusEvent*>(evento)->reason();
    if (razao == Qt::ActiveWindowFocusReason || razao == Qt::PopupFocusReason || razao == Qt::MenuBarFocusReason)
        return false;
    auto* campo = qobject_cast<QWidget*>(alvo);
    if (!campo || !campo->isEnabled())
        return false;
    QWidget* destino = QApplication::focusWidget();
    // Clicking (or pressing the shortcut of) a quiet button is choosing to abandon the edit; tabbing onto it
    // is only moving on, and the rules run.
    if (razao == Qt::MouseFocusReason || razao == Qt::ShortcutFocusReason)
        for (const QPointer<QWidget>& s : std::as_const(m_silenciosos))
            if (s && s == destino)
                return false;
    m_razao = razao;
    const bool aceito = executa(campo);
    m_razao = Qt::OtherFocusReason;
    if (aceito)
        return false;
    // Refused: the focus comes back, and a click that would have pressed a button is not delivered.
    if (razao == Qt::MouseFocusReason && qobject_cast<QAbstractButton*>(destino))
        new TEngoleClique(destino);
    m_executando = true;
    if (campo->isVisible() && campo->isEnabled())
        campo->setFocus(Qt::OtherFocusReason);
    m_executando = false;
    return false;
}
