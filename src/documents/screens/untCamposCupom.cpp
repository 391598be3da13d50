#include "documents/screens/untCamposCupom.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untDataSetModel.h"
#include "db/untEdicao.h"
#include "db/untSqlite.h"
#include "widgets/Enter.h"
#include "widgets/untCalendario.h"
#include "widgets/untFechamento.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

namespace {

const char* const kZero = "R$ 0,00";

} // namespace

TfrmCamposCupom::TfrmCamposCupom(TContexto& ctx, bool alteracao, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_alteracao(alteracao), m_edicao(std::make_unique<TEdicao>(*ctx.con, *ctx.dialogos)),
      m_linhas(std::make_unique<TDataSet>(*ctx.con))
{
    setObjectName(QString::fromLatin1(alteracao ? "frmAlteraCupom" : "frmIncluirCupomFiscal"));
    setWindowTitle(QString::fromUtf8(alteracao ? "Alteração do ECF - Redução Z" : "Lançamentos do ECF - Redução Z"));
    new TkEnterAsTab(this);

    grbECF = Nomeado(new QGroupBox(QStringLiteral("Emissor de Cupom Fiscal"), this), "grbECF");
    // Models such as "02" and "13" are two digits: a digit, then a letter or a digit, kept in upper case.
    edtModelo = CampoTexto(grbECF, "edtModelo", 2, "[0-9][A-Za-z0-9]?");
    Maiusculas(edtModelo);
    edtNumSerie = CampoTexto(grbECF, "edtNumSerie", 20);
    edtNumeroEqp = CampoTexto(grbECF, "edtNumeroEqp", 3, "[0-9]{0,3}");
    edtEmissao = Nomeado(new QDateEdit(grbECF), "edtEmissao");
    edtEmissao->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    UsaCalendarioDoPrograma(edtEmissao);
    // A stored summary keeps its serial number and its day: they are what the day's reading is known by.
    edtNumSerie->setReadOnly(alteracao);
    edtEmissao->setReadOnly(alteracao);
    edtCooInicial = CampoTexto(grbECF, "edtCooInicial", 6, "[0-9]{0,6}");
    edtCooFinal = CampoTexto(grbECF, "edtCooFinal", 6, "[0-9]{0,6}");
    edtCRZ = CampoTexto(grbECF, "edtCRZ", 6, "[0-9]{0,6}");
    edtCRO = CampoTexto(grbECF, "edtCRO", 3, "[0-9]{0,3}");
    auto valor = [](QWidget* pai, const char* nome, int largura) {
        auto* v = Nomeado(new TEdValor(pai), nome);
        v->setMaxLength(largura);
        return v;
    };
    curGTInicial = valor(grbECF, "curGTInicial", 16);
    curGTFinal = valor(grbECF, "curGTFinal", 16);
    curVendaBruta = valor(grbECF, "curVendaBruta", 16);
    {
        auto* g = new QGridLayout(grbECF);
        const QStringList rotulos = {QStringLiteral("Modelo"),      QString::fromUtf8("Nº Série"),
                                     QString::fromUtf8("Nº Eqp."),  QStringLiteral("Data do Movimento"),
                                     QStringLiteral("COO Inicial"), QStringLiteral("COO Final"),
                                     QStringLiteral("CRZ"),         QStringLiteral("CRO"),
                                     QStringLiteral("GT Inicial"),  QStringLiteral("GT Final"),
                                     QStringLiteral("Venda Bruta")};
        const QList<QWidget*> ws = {edtModelo, edtNumSerie, edtNumeroEqp, edtEmissao, edtCooInicial, edtCooFinal,
                                    edtCRZ,    edtCRO,      curGTInicial, curGTFinal, curVendaBruta};
        for (int i = 0; i < ws.size(); ++i) {
            g->addWidget(new QLabel(rotulos[i], grbECF), (i / 4) * 2, i % 4);
            g->addWidget(ws[i], (i / 4) * 2 + 1, i % 4);
        }
    }

    panST = Nomeado(new QGroupBox(QStringLiteral("Totalizadores Fiscais"), this), "panST");
    auto* grbNaoTrib = Nomeado(new QGroupBox(QString::fromUtf8("Não Tributados"), panST), "grbNaoTributados");
    curVlr_F = valor(grbNaoTrib, "curVlr_F", 13);
    curVlr_I = valor(grbNaoTrib, "curVlr_I", 13);
    curVlr_N = valor(grbNaoTrib, "curVlr_N", 13);
    {
        auto* g = new QGridLayout(grbNaoTrib);
        g->addWidget(new QLabel(QString::fromUtf8("F - Subst Tributária"), grbNaoTrib), 0, 0);
        g->addWidget(curVlr_F, 0, 1);
        g->addWidget(new QLabel(QString::fromUtf8("I - Isenção"), grbNaoTrib), 1, 0);
        g->addWidget(curVlr_I, 1, 1);
        g->addWidget(new QLabel(QString::fromUtf8("N - Não Incidência"), grbNaoTrib), 2, 0);
        g->addWidget(curVlr_N, 2, 1);
    }
    curVlr_CANC = valor(panST, "curVlr_CANC", 13);
    curVlr_DESC = valor(panST, "curVlr_DESC", 13);
    curVlr_ISS = valor(panST, "curVlr_ISS", 13);

    grbTributados = Nomeado(new QGroupBox(QStringLiteral("Tributados"), panST), "grbTributados");
    cmbAliquota = Nomeado(new QComboBox(grbTributados), "cmbAliquota");
    cmbAliquota->setEditable(true);
    cmbAliquota->setInsertPolicy(QComboBox::NoInsert);
    cmbAliquota->addItems({QStringLiteral("0700"), QStringLiteral("1200"), QStringLiteral("1700"), QStringLiteral("2500")});
    cmbAliquota->lineEdit()->setMaxLength(4);
    cmbAliquota->setCurrentIndex(-1);
    cmbAliquota->setEditText(QString());
    curVlrAcumulado = valor(grbTributados, "curVlrAcumulado", 13);
    lblimposto = Nomeado(new QLabel(QString::fromLatin1(kZero), grbTributados), "lblimposto");
    dbgAliquota = Nomeado(new QTableView(grbTributados), "dbgAliquota");
    dbgAliquota->setToolTip(QString::fromUtf8(alteracao ? "Clique no Botão Direito do\nMouse para Corrigir registro"
                                                        : "Clique no Botão Direito \npara Excluir registro"));
    dbgAliquota->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgAliquota->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgAliquota->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgAliquota->setContextMenuPolicy(Qt::ActionsContextMenu);
    actExcluir = Nomeado(new QAction(QStringLiteral("&Excluir"), dbgAliquota), "actExcluir");
    dbgAliquota->addAction(actExcluir);
    connect(actExcluir, &QAction::triggered, this, &TfrmCamposCupom::ExcluirLinha);
    m_modelo = new TDataSetModel(*m_linhas,
                                 {{QStringLiteral("Aliquota"), {}}, {QStringLiteral("ValorAcumulado"), {}}},
                                 this);
    MostraNaGrade(dbgAliquota, m_modelo);
    {
        auto* g = new QGridLayout(grbTributados);
        g->addWidget(new QLabel(QString::fromUtf8("Alíquota"), grbTributados), 0, 0);
        g->addWidget(cmbAliquota, 1, 0);
        g->addWidget(new QLabel(QStringLiteral("Valor Acumulado"), grbTributados), 0, 1);
        g->addWidget(curVlrAcumulado, 1, 1);
        g->addWidget(new QLabel(QStringLiteral("Imposto"), grbTributados), 0, 2);
        g->addWidget(lblimposto, 1, 2);
        g->addWidget(dbgAliquota, 2, 0, 1, 3);
        auto* nota = Nomeado(new QLabel(QString::fromUtf8("Formatos para o \ncampo Aliquota:\n \n20%    = 2000\n"
                                                          "15,5% = 1550\n3,64% = 0364"),
                                        grbTributados),
                             "lblFormatos");
        g->addWidget(nota, 0, 3, 3, 1);
    }
    {
        auto* g = new QGridLayout(panST);
        g->addWidget(grbNaoTrib, 0, 0, 3, 1);
        g->addWidget(new QLabel(QStringLiteral("Cancelamentos"), panST), 0, 1);
        g->addWidget(curVlr_CANC, 0, 2);
        g->addWidget(new QLabel(QStringLiteral("Descontos"), panST), 1, 1);
        g->addWidget(curVlr_DESC, 1, 2);
        g->addWidget(new QLabel(QStringLiteral("ISS"), panST), 2, 1);
        g->addWidget(curVlr_ISS, 2, 2);
        g->addWidget(grbTributados, 3, 0, 1, 3);
    }

    auto* grbSaldo = Nomeado(new QGroupBox(this), "grbSaldo");
    lblVendaLiquida = Nomeado(new QLabel(QString::fromLatin1(kZero), grbSaldo), "lblVendaLiquida");
    lblSaldo = Nomeado(new QLabel(QString::fromLatin1(kZero), grbSaldo), "lblSaldo");
    {
        auto* g = new QGridLayout(grbSaldo);
        g->addWidget(new QLabel(QString::fromUtf8("Venda Líquida"), grbSaldo), 0, 0);
        g->addWidget(lblVendaLiquida, 0, 1);
        g->addWidget(new QLabel(QStringLiteral("Saldo"), grbSaldo), 1, 0);
        g->addWidget(lblSaldo, 1, 1);
    }

    m_btnPrimeiro = alteracao ? Nomeado(new QPushButton(QStringLiteral("&Alterar"), this), "btnAlterar")
                              : Nomeado(new QPushButton(QStringLiteral("&Novo"), this), "btnNovo");
    btnCancelar = Nomeado(new QPushButton(QStringLiteral("&Cancelar"), this), "btnCancelar");
    btnSalvar = Nomeado(new QPushButton(QStringLiteral("&Salvar"), this), "btnSalvar");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("&Fechar"), this), "btnFechar");
    auto* linhaBotoes = new QHBoxLayout;
    linhaBotoes->addStretch();
    for (QPushButton* b : {m_btnPrimeiro, btnCancelar, btnSalvar, btnFechar}) {
        b->setAutoDefault(false);
        linhaBotoes->addWidget(b);
    }
    stbStatus = Nomeado(new QStatusBar(this), "stbStatus");
    stbStatus->showMessage(
        QString::fromUtf8("Para CORRIGIR os valores Tributados Clique no Botão Direito do Mouse sobre a Tabela"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grbECF);
    layout->addWidget(panST);
    layout->addWidget(grbSaldo);
    layout->addLayout(linhaBotoes);
    layout->addWidget(stbStatus);

    connect(btnSalvar, &QPushButton::clicked, this, [this] { Salvar(); });
    connect(btnCancelar, &QPushButton::clicked, this, [this] { Cancelar(); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);

    m_regras = PreparaTelaDeEdicao(this, *m_ctx.dialogos, btnCancelar, btnFechar);
    m_regras->aoSair(curGTFinal, [this] {
        curVendaBruta->defineValor(RegrasCupom::VendaBrutaProposta(campos()));
        return true;
    });
    m_regras->aoSair(curVendaBruta, [this] { return saiVendaBruta(); });
    for (TEdValor* v : {curVlr_F, curVlr_I, curVlr_N, curVlr_CANC, curVlr_DESC, curVlr_ISS})
        m_regras->aoSair(v, [this] { mostraSaldo(); return true; });
    m_regras->aoSair(cmbAliquota, [this] { return saiAliquota(); });
    m_regras->aoSair(curVlrAcumulado, [this] { return saiVlrAcumulado(); });
    // The header step ends on "ISS"; the totalizers drawn before it follow it in the Tab chain, so that Enter
    // from there goes through every one of them before the rates.
    MovimentoFixo(this, curVendaBruta, curVlr_ISS);
}

TfrmCamposCupom::~TfrmCamposCupom() = default;

bool TfrmCamposCupom::transacaoAberta() const
{
    return m_edicao->ativa();
}

void TfrmCamposCupom::reject()
{
    // Leaving in the middle of an edit takes back what it wrote: the summary and its lines.
    m_edicao->desfaz();
    m_id = m_alteracao ? m_id : 0;
    QDialog::reject();
}

TCupomFiscal TfrmCamposCupom::campos() const
{
    TCupomFiscal c;
    c.IDCupomFiscal = m_id;
    c.IDContribuinte = m_ctx.IdAtivo;
    c.DtEmissao = edtEmissao->date();
    c.NumSerie = edtNumSerie->text();
    c.NumEquip = edtNumeroEqp->text();
    c.Modelo = edtModelo->text();
    c.COOInicial = edtCooInicial->text();
    c.COOFinal = edtCooFinal->text();
    c.CRZ = edtCRZ->text();
    c.CRO = edtCRO->text();
    c.GTInicioDia = curGTInicial->valor();
    c.GTFimDia = curGTFinal->valor();
    c.VendaBruta = curVendaBruta->valor();
    c.T_ISS = curVlr_ISS->valor();
    c.T_F = curVlr_F->valor();
    c.T_I = curVlr_I->valor();
    c.T_N = curVlr_N->valor();
    c.T_CANC = curVlr_CANC->valor();
    c.T_DESC = curVlr_DESC->valor();
    c.DtUltAlteracao = m_ctx.relogio->agora();
    return c;
}

void TfrmCamposCupom::mostra(const TCupomFiscal& c)
{
    edtModelo->setText(c.Modelo);
    edtNumSerie->setText(c.NumSerie);
    edtNumeroEqp->setText(c.NumEquip);
    edtEmissao->setDate(c.DtEmissao);
    edtCooInicial->setText(c.COOInicial.trimmed());
    edtCooFinal->setText(c.COOFinal.trimmed());
    edtCRZ->setText(c.CRZ.trimmed());
    edtCRO->setText(c.CRO.trimmed());
    curGTInicial->defineValor(c.GTInicioDia);
    curGTFinal->defineValor(c.GTFimDia);
    curVendaBruta->defineValor(c.VendaBruta);
    curVlr_ISS->defineValor(c.T_ISS);
    curVlr_F->defineValor(c.T_F);
    curVlr_I->defineValor(c.T_I);
    curVlr_N->defineValor(c.T_N);
    curVlr_CANC->defineValor(c.T_CANC);
    curVlr_DESC->defineValor(c.T_DESC);
}

void TfrmCamposCupom::zeraValores()
{
    edtCRZ->clear();
    edtCooInicial->clear();
    edtCooFinal->clear();
    for (TEdValor* v : {curGTFinal, curVendaBruta, curVlr_F, curVlr_I, curVlr_N, curVlr_CANC, curVlr_DESC, curVlr_ISS,
                        curVlrAcumulado})
        v->defineValor(Money());
    cmbAliquota->setEditText(QString());
    for (QLabel* l : {lblimposto, lblVendaLiquida, lblSaldo})
        l->setText(QString::fromLatin1(kZero));
}

void TfrmCamposCupom::leLinhas()
{
    try {
        m_linhas->setCommandText(QStringLiteral("SELECT * FROM CFALIQUOTA WHERE IdCupomFiscal =:IdCupom ORDER BY IDCFAliquota"));
        m_linhas->setParam(QStringLiteral("IdCupom"), m_id);
        m_modelo->recarrega();
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
}

void TfrmCamposCupom::fechaLinhas()
{
    m_linhas->close();
    m_modelo->reinicia();
}

void TfrmCamposCupom::mostraSaldo()
{
    const TCupomFiscal c = campos();
    Money soma;
    try {
        soma = TCuponsFiscais(*m_ctx.dtm).SomaLinhas(m_id);
    } catch (const EBancoDados&) {
        // Only the display takes an unreadable sum as 0: "&Salvar" reads it again and stops on the error.
    }
    lblVendaLiquida->setText(RegrasCupom::EmDinheiro(RegrasCupom::VendaLiquida(c)));
    lblSaldo->setText(RegrasCupom::EmDinheiro(RegrasCupom::Saldo(c, soma)));
}

void TfrmCamposCupom::totais()
{
    m_cabecalhoGravado = true;
    panST->setEnabled(true);
    btnSalvar->setEnabled(true);
    curVlr_ISS->setFocus();
    grbECF->setEnabled(false);
    leLinhas();
    mostraSaldo();
}

bool TfrmCamposCupom::saiVendaBruta()
{
    if (!m_edicao->ativa() || m_cabecalhoGravado)
        return true;
    TCupomFiscal c = campos();
    const TFalha f = RegrasCupom::ChecaCabecalho(c, m_alteracao);
    if (f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return f.campo != curVendaBruta->objectName();
    }
    // The header step writes the totalizers as 0; "&Salvar" writes them as typed once the day balances.
    for (Money* m : {&c.T_ISS, &c.T_F, &c.T_I, &c.T_N, &c.T_CANC, &c.T_DESC})
        *m = Money();
    bool ficaNoCampo = true;
    if (!gravaCabecalho(c, &ficaNoCampo))
        return !ficaNoCampo;
    m_id = c.IDCupomFiscal;
    totais();
    return true;
}

bool TfrmCamposCupom::saiAliquota()
{
    QString aliquota;
    const TFalha f = RegrasCupom::LeAliquota(cmbAliquota->currentText(), &aliquota);
    if (f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return false;
    }
    cmbAliquota->setEditText(aliquota);
    // A blank rate adds no line, whatever the value: moving on from it (Tab, Enter) goes where leaving the
    // value would send it, "&Salvar", instead of stopping on a value that would be thrown away.
    if (aliquota.isEmpty() && m_regras->razaoDaSaida() == Qt::TabFocusReason && btnSalvar->isEnabled())
        btnSalvar->setFocus();
    return true;
}

bool TfrmCamposCupom::saiVlrAcumulado()
{
    QString aliquota;
    if (const TFalha f = RegrasCupom::LeAliquota(cmbAliquota->currentText(), &aliquota); f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return true;
    }
    const Money valor = curVlrAcumulado->valor();
    if (aliquota.isEmpty()) {
        btnSalvar->setFocus();
        return true;
    }
    if (valor <= Money()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Valor menor ou igual a zero!"));
        return false;
    }
    if (m_id == 0)
        return true;
    TCuponsFiscais cupons(*m_ctx.dtm);
    try {
        if (cupons.TemAliquota(m_id, aliquota)) {
            Informa(*m_ctx.dialogos, QString::fromUtf8("Alíquota já cadastrada!"));
            leLinhas();
            cmbAliquota->setFocus();
            return true;
        }
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return false;
    }
    if (!cupons.IncluirLinha(m_id, aliquota, valor)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8(m_alteracao ? "Erro na Alteração! Verifique os dados digitados."
                                                                : "Erro na Inclusão! Verifique os dados digitados."));
        return false;
    }
    mostraSaldo();
    lblimposto->setText(RegrasCupom::EmDinheiro(RegrasCupom::ImpostoDaLinha(aliquota, valor)));
    leLinhas();
    cmbAliquota->setEditText(QString());
    curVlrAcumulado->defineValor(Money());
    if (m_alteracao)
        btnSalvar->setFocus();
    else
        cmbAliquota->setFocus();
    return true;
}

void TfrmCamposCupom::ExcluirLinha()
{
    const int linha = dbgAliquota->currentIndex().isValid() ? dbgAliquota->currentIndex().row() : -1;
    if (m_id == 0 || !m_edicao->ativa() || linha < 0 || linha >= m_linhas->recordCount())
        return;
    m_modelo->moveCursor(linha);
    const int idLinha = m_linhas->asInteger(QStringLiteral("IDCFAliquota"));
    if (m_ctx.dialogos->confirmaExclusao(QString::fromUtf8("Confirma Exclusão \ndeste Registro ?"))) {
        if (!TCuponsFiscais(*m_ctx.dtm).ExcluirLinha(idLinha)) {
            Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Exclusão! Verifique os dados digitados."));
            leLinhas();
            return;
        }
        Informa(*m_ctx.dialogos, QString::fromUtf8("Excluído com Sucesso."));
        leLinhas();
        mostraSaldo();
        return;
    }
    leLinhas();
}

bool TfrmCamposCupom::salva(const QString& erroAlteracao)
{
    if (m_id == 0 || !m_edicao->ativa() || !m_cabecalhoGravado)
        return false;
    const TCupomFiscal c = campos();
    TCuponsFiscais cupons(*m_ctx.dtm);
    Money soma;
    QList<TLinhaAliquota> linhas;
    try {
        // The balance of the day from the fields and the stored lines, never from a shown text.
        soma = cupons.SomaLinhas(m_id);
        linhas = cupons.Linhas(m_id);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return false;
    }
    if (const TFalha f = RegrasCupom::ChecaSalvar(c, soma); f.falhou()) {
        mostraSaldo();
        MostraFalha(*m_ctx.dialogos, this, f);
        return false;
    }
    if (!cupons.Alterar(c)) {
        Informa(*m_ctx.dialogos, erroAlteracao);
        return false;
    }
    if (m_edicao->confirma())
        return true;
    // The refused commit gave everything back; what was typed is written again in the new transaction so
    // that the user can save again or cancel. Should that fail too, the header step starts over.
    if (m_edicao->ativa() && regrava(c, linhas)) {
        leLinhas();
        return false;
    }
    m_edicao->desfaz();
    m_edicao->inicia();
    m_cabecalhoGravado = false;
    if (!m_alteracao)
        m_id = 0;
    fechaLinhas();
    grbECF->setEnabled(true);
    panST->setEnabled(m_alteracao);
    btnSalvar->setEnabled(false);
    (m_alteracao ? edtNumeroEqp : edtNumSerie)->setFocus();
    return false;
}
