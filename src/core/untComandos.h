#pragma once
#include <QHash>

// The main window's commands whose enabled flags change with its state.
enum class Comando {
    Abrir,              // "&Abrir" and the toolbar's ActionSelecionar
    Fechar,
    Contabilista,
    Fornecedor,
    ApuraImposto,       // with its three items
    DadosAnuais,
    SimplesNacional,
    Sair,               // and ActionSair
    Lancamentos,        // the menu
    Tabelas,            // the menu
    Ajuda,              // "VARNO na &Internet", "Configura Backup", "So&bre"
    GerenciaBackup,
    AcoesDocumentos,    // ActionNFiscal, ActionNTransp, ActionCupom, ActionTalao, ActionZEL, ActionSN
    ActionBackup,
};

// The enabled flags of the main window in its states: at start, while choosing a taxpayer, with one open,
// and after closing it again (which, unlike the start, leaves "&Tabelas" disabled).
class TEstadoComandos {
public:
    TEstadoComandos() { inicio(); }
    void inicio();
    // "&Abrir" enables the two document menus before the selection screen shows.
    void selecionando();
    void abrirSessao();
    void cancelarSelecao();
    void fecharSessao();
    bool habilitado(Comando c) const { return m_flags.value(c, false); }
private:
    void define(bool aberto);
    QHash<Comando, bool> m_flags;
};
