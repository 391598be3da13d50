#include "declarations/screens/untIncluirDadosAnuais.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untSqlite.h"
#include "widgets/Enter.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

TfrmIncluirDadosAnuais::TfrmIncluirDadosAnuais(TContexto& ctx, int idDadosAnuais, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_id(idDadosAnuais)
{
    setObjectName(QStringLiteral("frmIncluirDadosAnuais"));
    setWindowTitle(idDadosAnuais ? QStringLiteral("Alterar Dados Anuais") : QStringLiteral("Incluir Dados Anuais"));
    new TkEnterAsTab(this);
    m_regras = new TRegrasSaida(this);

    grbAno = Nomeado(new QGroupBox(QString::fromUtf8("Ano Referência"), this), "grbAno");
    cmbAno = Nomeado(new QComboBox(grbAno), "cmbAno");
    cmbAno->setEditable(true);
    cmbAno->setInsertPolicy(QComboBox::NoInsert);
    const int ultimo = m_ctx.relogio->hoje().year() - 1;
    for (int a = ultimo; a >= 2002; --a)
        cmbAno->addItem(QString::number(a));
    cmbAno->lineEdit()->setMaxLength(4);
    cmbAno->setEditText(QString::number(ultimo));
    (new QHBoxLayout(grbAno))->addWidget(cmbAno);

    rdgTipo = Nomeado(new QGroupBox(QString::fromUtf8("Tipo da Declaração"), this), "rdgTipo");
    rbNormal = Nomeado(new QRadioButton(QStringLiteral("&Normal"), rdgTipo), "rbNormal");
    rbRetificadora = Nomeado(new QRadioButton(QStringLiteral("&Retificadora"), rdgTipo), "rbRetificadora");
    rbNormal->setChecked(true);
    {
        auto* l = new QHBoxLayout(rdgTipo);
        l->addWidget(rbNormal);
        l->addWidget(rbRetificadora);
        l->addStretch();
    }
    rdgRegime = Nomeado(new QGroupBox(QStringLiteral("Regime de pagamento"), this), "rdgRegime");
    rbEPP = Nomeado(new QRadioButton(QStringLiteral("EPP"), rdgRegime), "rbEPP");
    rbRegimeNormal = Nomeado(new QRadioButton(QStringLiteral("Normal"), rdgRegime), "rbRegimeNormal");
    rbSimples = Nomeado(new QRadioButton(QStringLiteral("Simples Nacional"), rdgRegime), "rbSimples");
    {
        // No initial choice: the regime is the user's to say.
        auto* grupo = new QButtonGroup(rdgRegime);
        for (QRadioButton* r : {rbEPP, rbRegimeNormal, rbSimples})
            grupo->addButton(r);
        auto* l = new QHBoxLayout(rdgRegime);
        for (QRadioButton* r : {rbEPP, rbRegimeNormal, rbSimples})
            l->addWidget(r);
        l->addStretch();
    }

    auto grupo = [this](const char* titulo, const QList<std::pair<const char*, TEdValor**>>& campos,
                        const QStringList& nomes) {
        auto* g = new QGroupBox(QString::fromUtf8(titulo), this);
        auto* l = new QGridLayout(g);
        for (int i = 0; i < campos.size(); ++i) {
            auto* v = new TEdValor(g);
            v->setObjectName(nomes[i]);
            v->setMaxLength(14);
            *campos[i].second = v;
            l->addWidget(new QLabel(QString::fromUtf8(campos[i].first), g), i, 0);
            l->addWidget(v, i, 1);
        }
        return g;
    };
    auto* estoque = grupo("Estoque Final Inventariado",
                          {{"Valor tributável", &curVlrTrib}, {"Valor não tributável", &curVlrNaoTrib},
                           {"Substituição Tributária", &curSubTrib}, {"Estoque Total", &curEstqTotal}},
                          {QStringLiteral("curVlrTrib"), QStringLiteral("curVlrNaoTrib"), QStringLiteral("curSubTrib"),
                           QStringLiteral("curEstqTotal")});
    auto* saldos = grupo("Saldo Final em Caixa e Bancos",
                         {{"Saldo em caixa", &curSldCaixa}, {"Saldo em bancos", &curSldBancos}, {"Saldo Total", &curSldTotal}},
                         {QStringLiteral("curSldCaixa"), QStringLiteral("curSldBancos"), QStringLiteral("curSldTotal")});
    auto* outros = grupo("Outros dados anuais",
                         {{"Despesas com pessoal, serviços de terceiros e pró-labore", &curDespPessoal},
                          {"Outros impostos e encargos", &curOutrosImpostos},
                          {"Despesas Gerais", &curDespGerais}},
                         {QStringLiteral("curDespPessoal"), QStringLiteral("curOutrosImpostos"), QStringLiteral("curDespGerais")});
    for (TEdValor* t : {curEstqTotal, curSldTotal}) {
        t->setReadOnly(true);
        t->setFocusPolicy(Qt::NoFocus);
    }

    btnSalvarDA = Nomeado(new QPushButton(QStringLiteral("&Salvar"), this), "btnSalvarDA");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("Fechar"), this), "btnFechar");
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {btnSalvarDA, btnFechar}) {
        b->setAutoDefault(false);
        botoes->addWidget(b);
    }
    auto* topo = new QHBoxLayout;
    topo->addWidget(grbAno);
    topo->addWidget(rdgTipo);
    topo->addWidget(rdgRegime);
    auto* meio = new QHBoxLayout;
    meio->addWidget(estoque);
    meio->addWidget(saldos);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addLayout(meio);
    layout->addWidget(outros);
    layout->addLayout(botoes);

    connect(btnSalvarDA, &QPushButton::clicked, this, &TfrmIncluirDadosAnuais::Salvar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    // The file carries cents: finer amounts are refused where they are typed.
    m_regras = PreparaTelaDeEdicao(this, *m_ctx.dialogos, nullptr, btnFechar);
    m_regras->aoSair(cmbAno, [this] { return saiAno(); });
    for (TEdValor* v : {curVlrTrib, curVlrNaoTrib, curSubTrib, curSldCaixa, curSldBancos})
        m_regras->aoSair(v, [this] {
            totais();
            return true;
        });
}

void TfrmIncluirDadosAnuais::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    if (m_id == 0) {
        cmbAno->setFocus();
        return;
    }
    TDadosAnuais d(*m_ctx.dtm);
    bool achou = false;
    try {
        achou = d.CarregarId(m_id, m_ctx.IdAtivo);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
    if (!achou) {
        btnSalvarDA->setEnabled(false);
        btnFechar->setFocus();
        return;
    }
    cmbAno->setEditText(d.Ano);
    grbAno->setEnabled(false);
    (d.Tipo == QLatin1String("N") ? rbNormal : rbRetificadora)->setChecked(true);
    if (d.TipoRegimeContrib == 1)
        rbRegimeNormal->setChecked(true);
    else if (d.TipoRegimeContrib == 3)
        rbSimples->setChecked(true);
    else if (d.TipoRegimeContrib == 7)
        rbEPP->setChecked(true);
    const TValoresAnuais& v = d.valores;
    curVlrTrib->defineValor(v.EstqTrib);
    curVlrNaoTrib->defineValor(v.EstqNaoTrib);
    curSubTrib->defineValor(v.EstqSubsTrib);
    curSldCaixa->defineValor(v.SldCaixa);
    curSldBancos->defineValor(v.SldBanco);
    curDespPessoal->defineValor(v.DespPessoal);
    curOutrosImpostos->defineValor(v.OutrosImpostos);
    curDespGerais->defineValor(v.DespGeral);
    totais();
    curVlrTrib->setFocus();
}

TValoresAnuais TfrmIncluirDadosAnuais::valores() const
{
    TValoresAnuais v;
    v.EstqTrib = curVlrTrib->valor();
    v.EstqNaoTrib = curVlrNaoTrib->valor();
    v.EstqSubsTrib = curSubTrib->valor();
    v.SldCaixa = curSldCaixa->valor();
    v.SldBanco = curSldBancos->valor();
    v.DespPessoal = curDespPessoal->valor();
    v.OutrosImpostos = curOutrosImpostos->valor();
    v.DespGeral = curDespGerais->valor();
    return v;
}

int TfrmIncluirDadosAnuais::regime() const
{
    if (rbEPP->isChecked())
        return 7;
    if (rbRegimeNormal->isChecked())
        return 1;
    if (rbSimples->isChecked())
        return 3;
    return 0;
}

void TfrmIncluirDadosAnuais::totais()
{
    const TValoresAnuais v = valores();
    curEstqTotal->defineValor(v.estoqueTotal());
    curSldTotal->defineValor(v.saldoTotal());
}

bool TfrmIncluirDadosAnuais::saiAno()
{
    bool ok = false;
    const int ano = cmbAno->currentText().trimmed().toInt(&ok);
    if (ok && ano > 1998) {
        cmbAno->setEditText(QString::number(ano));
        return true;
    }
    cmbAno->setEditText(ok ? QStringLiteral("1999") : QStringLiteral("2003"));
    return false;
}

void TfrmIncluirDadosAnuais::Salvar()
{
    if (grbAno->isEnabled() && !saiAno()) {
        cmbAno->setFocus();
        return;
    }
    totais();
    const TValoresAnuais v = valores();
    if (const TFalha f = ChecaDadosAnuais(v, regime()); f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    const int ano = cmbAno->currentText().trimmed().toInt();
    TDadosAnuais d(*m_ctx.dtm);
    if (m_id == 0) {
        try {
            if (TDadosAnuais::AnoExiste(*m_ctx.dtm, m_ctx.IdAtivo, ano)) {
                Informa(*m_ctx.dialogos, QString::fromUtf8("Ano já cadastrado!"));
                return;
            }
        } catch (const EBancoDados& e) {
            m_ctx.dialogos->mensagemSimples(e.mensagem());
            return;
        }
    }
    d.IdDadosAnuais = m_id;
    d.IdContribuinte = m_ctx.IdAtivo;
    d.Ano = QString::number(ano);
    d.Tipo = rbNormal->isChecked() ? QStringLiteral("N") : QStringLiteral("R");
    d.valores = v;
    d.TipoRegimeContrib = regime();
    d.DtGeracao = m_ctx.relogio->agora();
    QString erro;
    const bool inclusao = m_id == 0;
    if (!(inclusao ? d.Incluir(&erro) : d.Alterar(&erro))) {
        Informa(*m_ctx.dialogos, QString::fromUtf8(inclusao ? "Erro na Inclusão dos\nDados Anuais" : "Erro na Alteração dos\nDados Anuais") +
                                     (erro.isEmpty() ? QString() : QStringLiteral("\n") + erro));
        return;
    }
    btnSalvarDA->setEnabled(false);
    Informa(*m_ctx.dialogos, QString::fromUtf8(inclusao ? "Dados Anuais Incluídos com sucesso!" : "Dados Anuais Alterado com sucesso!"));
}
