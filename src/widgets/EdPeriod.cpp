#include "widgets/EdPeriod.h"

#include <QTimer>

#include "core/DialogsNew.h"
#include "core/untRelogio.h"
#include "widgets/untTelas.h"

TEdPeriod::TEdPeriod(QWidget* parent) : QLineEdit(parent)
{
    // Digits may be left out while typing; the checks on leaving decide.
    setInputMask(QStringLiteral("00-0000; "));
    DigitacaoNaMascara(this);
}

QString TEdPeriod::periodo() const
{
    QString t = displayText();
    t.remove(2, 1);
    return t.trimmed().isEmpty() ? QString() : t;
}

void TEdPeriod::definePeriodo(const QString& mmyyyy)
{
    setText(mmyyyy.left(2) + QLatin1Char('-') + mmyyyy.mid(2, 4));
}

bool TEdPeriod::valida()
{
    bool falhou = false;
    const QStringList mensagens = regras.aoSair(periodo(), &falhou);
    if (m_dialogos)
        for (const QString& m : mensagens)
            Informa(*m_dialogos, m);
    return !falhou;
}

void TEdPeriod::focusInEvent(QFocusEvent* e)
{
    if (m_relogio)
        regras.aoEntrar(m_relogio->hoje());
    QLineEdit::focusInEvent(e);
}

void TEdPeriod::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    if (!valida())
        QTimer::singleShot(0, this, [this] { setFocus(); });
}
