#include "documents/screens/untCamposDocumento.h"

#include <QLabel>
#include <QLineEdit>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "db/untSqlite.h"
#include "documents/screens/untCFOP.h"
#include "registers/screens/untEmpresas.h"
#include "registers/untClsContribuinte.h"
#include "widgets/untSaidaCampo.h"

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

TQuadroNFe::TQuadroNFe(QWidget* tela, IDialogos& dialogos, TRegrasSaida& regras) : m_dialogos(dialogos)
{
    rgSituacaoNF = new QGroupBox(QString::fromUtf8("Seleciona situação da nota fiscal eletrônica"), tela);
    rgSituacaoNF->setObjectName(QStringLiteral("rgSituacaoNF"));
    rbDenegado = new QRadioButton(QStringLiteral("Uso denegado"), rgSituacaoNF);
    rbDenegado->setObjectName(QStringLiteral("rbDenegado"));
    rbInutilizado = new QRadioButton(QStringLiteral("Uso inutilizado"), rgSituacaoNF);
    rbInutilizado->setObjectName(QStringLiteral("rbInutilizado"));
    // Both can be off: a group that allows no choice.
    auto* grupo = new QButtonGroup(rgSituacaoNF);
    grupo->setExclusive(false);
    grupo->addButton(rbDenegado);
    grupo->addButton(rbInutilizado);
    auto* situacao = new QHBoxLayout(rgSituacaoNF);
    situacao->addWidget(rbDenegado);
    situacao->addWidget(rbInutilizado);
    situacao->addStretch();

    grbFaixa = new QGroupBox(QStringLiteral("Faixa de notas inutilizadas"), tela);
    grbFaixa->setObjectName(QStringLiteral("grbFaixa"));
    // Digits only: a sign or a separator typed here would become part of the note numbers written.
    auto* soDigitos = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), grbFaixa);
    edtInicioInutilizado = new QLineEdit(grbFaixa);
    edtInicioInutilizado->setObjectName(QStringLiteral("edtInicioInutilizado"));
    edtInicioInutilizado->setMaxLength(6);
    edtInicioInutilizado->setValidator(soDigitos);
    edtFinalInutilizado = new QLineEdit(grbFaixa);
    edtFinalInutilizado->setObjectName(QStringLiteral("edtFinalInutilizado"));
    edtFinalInutilizado->setMaxLength(6);
    edtFinalInutilizado->setValidator(soDigitos);
    auto* faixa = new QHBoxLayout(grbFaixa);
    faixa->addWidget(new QLabel(QStringLiteral("De"), grbFaixa));
    faixa->addWidget(edtInicioInutilizado);
    faixa->addWidget(new QLabel(QStringLiteral("a"), grbFaixa));
    faixa->addWidget(edtFinalInutilizado);

    QObject::connect(rbDenegado, &QRadioButton::clicked, rgSituacaoNF, [this](bool marcado) {
        if (marcado)
            rbInutilizado->setChecked(false);
        grbFaixa->setEnabled(false);
        edtInicioInutilizado->clear();
        edtFinalInutilizado->clear();
    });
    QObject::connect(rbInutilizado, &QRadioButton::clicked, rgSituacaoNF, [this](bool marcado) {
        if (marcado)
            rbDenegado->setChecked(false);
        grbFaixa->setEnabled(marcado);
    });
    regras.aoSair(edtInicioInutilizado, [this] { return saiInicioFaixa(); });
    regras.aoSair(edtFinalInutilizado, [this] { return saiFinalFaixa(); });
}

SituacaoNFe TQuadroNFe::situacao() const
{
    if (rbDenegado->isChecked())
        return SituacaoNFe::Denegado;
    if (rbInutilizado->isChecked())
        return SituacaoNFe::Inutilizado;
    return SituacaoNFe::Nenhuma;
}

void TQuadroNFe::limpa()
{
    rbDenegado->setChecked(false);
    rbInutilizado->setChecked(false);
    edtInicioInutilizado->clear();
    edtFinalInutilizado->clear();
    grbFaixa->setEnabled(false);
}

bool TQuadroNFe::saiInicioFaixa()
{
    const QString t = edtInicioInutilizado->text().trimmed();
    if (t.isEmpty())
        return true;
    const int n = NumeroDaFaixa(t);
    if (n <= 0) {
        m_dialogos.mensagemSimples(n == 0 ? QString::fromUtf8("Início da faixa não pode ser zero!")
                                          : QString::fromUtf8("Informe um número para o início da faixa!"));
        edtInicioInutilizado->setFocus();
        return false;
    }
    return true;
}

bool TQuadroNFe::saiFinalFaixa()
{
    const QString t = edtFinalInutilizado->text().trimmed();
    if (!t.isEmpty() && NumeroDaFaixa(t) < 0) {
        m_dialogos.mensagemSimples(QString::fromUtf8("Informe um número para o final da faixa!"));
        edtFinalInutilizado->setFocus();
        return false;
    }
    return true;
}
