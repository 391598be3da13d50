#include "registers/screens/untAjudasCadastro.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>

#include "core/untContexto.h"
#include "registers/untGravaCadastro.h"

namespace {

// Lives with the action; watches the button's enabled changes (a button has no signal for them).
class TSeguidor : public QObject {
public:
    TSeguidor(QAction* acao, QAbstractButton* botao) : QObject(acao), m_acao(acao), m_botao(botao)
    {
        botao->installEventFilter(this);
        acao->setEnabled(botao->isEnabled());
    }

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override
    {
        if (alvo == m_botao && evento->type() == QEvent::EnabledChange && m_botao)
            m_acao->setEnabled(m_botao->isEnabled());
        return QObject::eventFilter(alvo, evento);
    }

private:
    QAction* m_acao;
    QPointer<QAbstractButton> m_botao;
};

} // namespace

void SegueBotao(QAction* acao, QAbstractButton* botao)
{
    new TSeguidor(acao, botao);
}

void LimitaAColuna(QLineEdit* campo, TContexto& ctx, const char* tabela, const char* coluna)
{
    const int largura = LarguraDaColuna(*ctx.dtm, QString::fromLatin1(tabela), QString::fromLatin1(coluna));
    if (largura > 0)
        campo->setMaxLength(largura);
}

void MostraSemCortar(QLineEdit* campo, const QString& valor)
{
    if (valor.size() > campo->maxLength())
        campo->setMaxLength(valor.size());
    campo->setText(valor);
}
