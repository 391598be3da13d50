#include "documents/screens/untCamposDocumento.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "db/untSqlite.h"
#include "documents/screens/untCFOP.h"
#include "registers/screens/untEmpresas.h"
#include "registers/untClsContribuinte.h"

void TCampoCfop::entra(TContexto& ctx, TelaCfop tela, bool entrada, const QDate& emissao)
{
    const QString versao = VersaoCfop(emissao);
    m_codigo->setMaxLength(versao == QLatin1String("1") ? 3 : 4);
    m_filtro = FiltroCfop(tela, entrada, versao);
    AbreListaCfop(ctx.dtm->ADODataSetCFOP, m_filtro);
}

TCampoCfop::TSaida TCampoCfop::sai(TContexto& ctx, QWidget* tela, TelaCfop telaCfop, bool entrada, const QDate& emissao,
                                  bool ordenaLista)
{
    TDataSet& lista = ctx.dtm->ADODataSetCFOP;
    if (m_filtro.isEmpty())
        entra(ctx, telaCfop, entrada, emissao);
    TSaida r;
    const QString codigo = m_codigo->text().trimmed();
    if (!codigo.isEmpty()) {
        r.achado = BuscaCfop(lista, codigo, m_filtro);
    } else {
        if (ordenaLista)
            AbreListaCfop(lista, m_filtro, QStringLiteral(" ORDER BY CF_Codigo"));
        TfrmCFOP selecao(ctx, tela);
        ctx.dialogos->executaModal(&selecao);
    }
    const bool temLinha = lista.active() && !lista.isEmpty() && lista.recNo() >= 0;
    r.codigo = temLinha ? lista.asString(QStringLiteral("CF_Codigo")) : QString();
    r.substituicao = temLinha && lista.asString(QStringLiteral("CF_ST")) == QLatin1String("S");
    m_descricao->setPlainText(temLinha ? lista.asString(QStringLiteral("CF_Descricao")) : QString());
    m_codigo->setText(r.codigo);
    return r;
}

void TCampoCfop::limpa()
{
    m_codigo->clear();
    m_descricao->clear();
}

void TCampoParte::preenche(int id, const QString& cnpj, const QString& nome, const QString& uf)
{
    m_id = id;
    m_ufTexto = uf;
    m_cnpj->setText(cnpj);
    if (m_nome)
        m_nome->setText(nome);
    if (m_uf)
        m_uf->setText(uf);
}

void TCampoParte::escolhe(TContexto& ctx, QWidget* tela)
{
    const TParteEscolhida p = EscolheParte(ctx, tela, m_cnpj->text());
    preenche(p.id, p.cnpj, p.razaoSocial, p.uf);
}

void TCampoParte::mostra(TContexto& ctx, int id)
{
    try {
        TContribuinte registro(*ctx.dtm);
        registro.LocalizarId(id);
    } catch (const EBancoDados& e) {
        ctx.dialogos->mensagemSimples(e.mensagem());
    }
    const TDataSet& lista = ctx.dtm->ADODataSetVariavel;
    if (lista.active() && !lista.isEmpty() && lista.recNo() >= 0)
        preenche(lista.asInteger(QStringLiteral("IdContribuinte")), lista.asString(QStringLiteral("CNPJ")),
                 lista.asString(QStringLiteral("RazaoSocial")), lista.asString(QStringLiteral("UF")));
    else
        preenche(id, QString(), QString(), QString());
}

void TCampoParte::limpa()
{
    preenche(0, QString(), QString(), QString());
}
