#include "widgets/untFechamento.h"

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

TFechamento::TFechamento(QDialog* tela, QPushButton* fechar) : QObject(tela), m_tela(tela), m_fechar(fechar)
{
    tela->installEventFilter(this);
}

bool TFechamento::pressiona()
{
    if (!m_fechar || !m_fechar->isEnabled())
        return false;
    m_pressionando = true;
    m_fechar->click();
    m_pressionando = false;
    return true;
}

bool TFechamento::eventFilter(QObject* alvo, QEvent* evento)
{
    if (alvo != m_tela || m_pressionando)
        return false;
    if (evento->type() == QEvent::KeyPress) {
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->key() == Qt::Key_Escape && tecla->modifiers() == Qt::NoModifier) {
            pressiona();
            return true;
        }
    } else if (evento->type() == QEvent::Close) {
        // The button's own path closes the screen; when it cannot be pressed the window stays.
        if (!pressiona() || m_tela->isVisible())
            evento->ignore();
        return true;
    }
    return false;
}

void FechaPeloBotao(QDialog* tela, QPushButton* fechar)
{
    new TFechamento(tela, fechar);
}
