#pragma once
#include <QDialog>
#include <QPointer>

#include "core/untProgresso.h"

class QLabel;
class QProgressBar;
class QStatusBar;

// "Aguarde ...": a message, a bar from 0 to 100 and a status line, shown without blocking while a long
// operation runs in the user's thread.
class TfrmProgresso : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProgresso(QWidget* parent = nullptr);
    QLabel* lblMensagem;
    QProgressBar* ProgressBar;
    QStatusBar* StatusBar;
};

// Progress through a fresh window per operation, with the hourglass while it is up.
class TProgressoJanela final : public IProgresso {
public:
    void inicia() override;
    void mensagem(const QString& texto) override;
    void posicao(int p) override;
    void pausa(int ms) override;
    void termina() override;
private:
    QPointer<TfrmProgresso> m_janela;
};
