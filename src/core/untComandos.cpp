#include "core/untComandos.h"

void TEstadoComandos::define(bool aberto)
{
    m_flags[Comando::Abrir] = !aberto;
    m_flags[Comando::Fechar] = aberto;
    m_flags[Comando::Contabilista] = true;
    m_flags[Comando::Fornecedor] = aberto;
    m_flags[Comando::ApuraImposto] = aberto;
    m_flags[Comando::DadosAnuais] = aberto;
    m_flags[Comando::SimplesNacional] = aberto;
    m_flags[Comando::Sair] = true;
    m_flags[Comando::Lancamentos] = aberto;
    m_flags[Comando::Tabelas] = aberto;
    m_flags[Comando::Ajuda] = true;
    m_flags[Comando::GerenciaBackup] = !aberto;
    m_flags[Comando::AcoesDocumentos] = aberto;
    m_flags[Comando::ActionBackup] = true;
}

void TEstadoComandos::inicio()
{
    define(false);
    m_flags[Comando::Tabelas] = true;
}

void TEstadoComandos::selecionando()
{
    m_flags[Comando::Lancamentos] = true;
    m_flags[Comando::Tabelas] = true;
}

void TEstadoComandos::abrirSessao() { define(true); }

void TEstadoComandos::cancelarSelecao()
{
    m_flags[Comando::Lancamentos] = false;
    m_flags[Comando::Tabelas] = false;
}

void TEstadoComandos::fecharSessao() { define(false); }
