#include "widgets/untAguarde.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QThread>
#include <QVBoxLayout>

TfrmProgresso::TfrmProgresso(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProgresso"));
    setWindowTitle(QStringLiteral("Aguarde ..."));
    setAttribute(Qt::WA_DeleteOnClose);
    lblMensagem = new QLabel(this);
    lblMensagem->setObjectName(QStringLiteral("lblMensagem"));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMensagem);
    layout->addWidget(ProgressBar);
    layout->addWidget(StatusBar);
    setFixedSize(380, 120);
}

void TProgressoJanela::inicia()
{
    termina();
    m_janela = new TfrmProgresso(QApplication::activeWindow());
    m_janela->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TProgressoJanela::mensagem(const QString& texto)
{
    if (m_janela) {
        m_janela->lblMensagem->setText(texto);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TProgressoJanela::posicao(int p)
{
    if (m_janela) {
        m_janela->ProgressBar->setValue(p);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TProgressoJanela::pausa(int ms)
{
    QThread::msleep(ulong(ms));
}

void TProgressoJanela::termina()
{
    if (m_janela) {
        m_janela->close(); // deletes itself
        QApplication::restoreOverrideCursor();
    }
    m_janela = nullptr;
}
