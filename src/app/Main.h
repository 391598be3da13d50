#pragma once
#include <QHash>
#include <QMainWindow>
#include <functional>

#include "core/untComandos.h"
#include "core/untContexto.h"

class QAction;
class QMenu;
class IProgresso;

// The main window: menus, toolbar and the two states (no taxpayer open / one open). Every command opens
// its screen modally through the dialogs of the context; a command whose screen is not part of the
// program yet does nothing.
class TfrmMain : public QMainWindow, public ISessao {
    Q_OBJECT
public:
    TfrmMain(TContexto& ctx, IProgresso& progresso, QWidget* parent = nullptr);

    const QString& textoVersao() const { return m_versao; }
    QString legendaVersao() const;
    const TEstadoComandos& estado() const { return m_estado; }

    // State switches used by the taxpayer selection screen.
    void AbrirSessao() override;
    void CancelarSelecao() override;
    void FecharSessao();
    // The open taxpayer as the caption names it ("123456789 . RAZAO"); empty with none open.
    const QString& contribuinteAberto() const { return m_aberto; }

    // The start-up checks (on first showing and after "&Gerencia Backup"); returns the connection label.
    QString VerificacoesIniciais();
    // Told the label of every start-up check before anything else happens with it (the backup manager
    // learns there whether the data may be archived automatically).
    std::function<void(const QString& modo)> AposVerificar;

    // What a command runs: its screen. Unset commands do nothing.
    void defineTela(const QString& nomeItem, std::function<void()> tela);
    // The address opened by "VARNO na &Internet".
    static QString enderecoInternet();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QAction* item(QMenu* menu, const char* nome, const QString& legenda);
    void montaMenus();
    void montaBarra();
    void aplicaEstado();
    void executaTela(const QString& nome);
    void abrir();
    void gerenciaBackup();
    void configuraBackup();
    void sair();
    void sobre();

    TContexto& m_ctx;
    IProgresso& m_progresso;
    QString m_versao;
    TEstadoComandos m_estado;
    bool m_verificado = false;
    QString m_aberto;
    QHash<QString, std::function<void()>> m_telas;
    QHash<QString, QAction*> m_acoes;  // menu items and toolbar actions by name
    QHash<QString, QMenu*> m_menus;
};
