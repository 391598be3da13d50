#include "documents/screens/untCamposNotaFiscal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "widgets/Enter.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "widgets/untCalendario.h"
#include "widgets/untFechamento.h"
#include "core/untContexto.h"
#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untEdicao.h"
#include "documents/screens/untCFOP.h"
#include "documents/screens/untCamposDocumento.h"
#include "documents/untCfop.h"
#include "registers/screens/untEmpresas.h"
#include "registers/untClsContribuinte.h"

TfrmCamposNotaFiscal::TfrmCamposNotaFiscal(TContexto& ctx, bool alteracao, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_ctx(ctx), m_alteracao(alteracao),
      m_edicao(std::make_unique<TEdicao>(*ctx.con, *ctx.dialogos))
{
    new TkEnterAsTab(this);
    rdgTipoNF = Nomeado(new QGroupBox(QStringLiteral("Tipo Nota Fiscal"), this), "rdgTipoNF");
    rbEntrada = Nomeado(new QRadioButton(QStringLiteral("Entrada"), rdgTipoNF), "rbEntrada");
    rbSaida = Nomeado(new QRadioButton(QString::fromUtf8("Saída"), rdgTipoNF), "rbSaida");
    rbEntrada->setChecked(true);
    auto* tipo = new QHBoxLayout(rdgTipoNF);
    tipo->addWidget(rbEntrada);
    tipo->addWidget(rbSaida);

    grbCfop = Nomeado(new QGroupBox(QString::fromUtf8(" Código Fiscal de Operação e Prestação - CFOP "), this), "grbCfop");
    edtCodCFOP = CampoTexto(grbCfop, "edtCodCFOP", 4);
    edtCodCFOP->setToolTip(QStringLiteral("Duplo Clique ou Enter\npara Abrir Tabela CFOP"));
    edtCodCFOP->setFixedWidth(60);
    MemoCfop = Nomeado(new QPlainTextEdit(grbCfop), "MemoCfop");
    m_cfop = std::make_unique<TCampoCfop>(edtCodCFOP, MemoCfop);
    MemoCfop->setReadOnly(true);
    // The description is read, not typed: no stop of its own between the kind and the model.
    MemoCfop->setFocusPolicy(Qt::NoFocus);
    MemoCfop->setFixedHeight(58);
    auto* cfop = new QHBoxLayout(grbCfop);
    cfop->addWidget(edtCodCFOP, 0, Qt::AlignTop);
    cfop->addWidget(MemoCfop, 1);

    grbDados = Nomeado(new QGroupBox(QStringLiteral("Dados da Nota Fiscal"), this), "grbDados");
    edtModelo = CampoTexto(grbDados, "edtModelo", 2);
    edtModelo->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,2}")), edtModelo));
    edtSerie = CampoTexto(grbDados, "edtSerie", 3);
    edtSubSerie = CampoTexto(grbDados, "edtSubSerie", 2);
    edtNumeroNF = CampoTexto(grbDados, "edtNumeroNF", 6);
    edtEmissao = Nomeado(new QDateEdit(grbDados), "edtEmissao");
    edtEmissao->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    UsaCalendarioDoPrograma(edtEmissao);
    edtValorNF = Nomeado(new TEdValor(grbDados), "edtValorNF");
    edtObservacao = CampoTexto(grbDados, "edtObservacao", 30);
    auto* dados = new QGridLayout(grbDados);
    const QStringList rotulos = {QStringLiteral("Modelo"), QString::fromUtf8("Série"), QString::fromUtf8("SubSérie"),
                                 QString::fromUtf8("Número"), QString::fromUtf8("Emissão/Recebimento")};
    const QList<QWidget*> campos = {edtModelo, edtSerie, edtSubSerie, edtNumeroNF, edtEmissao};
    for (int i = 0; i < campos.size(); ++i) {
        dados->addWidget(new QLabel(rotulos[i], grbDados), 0, i);
        dados->addWidget(campos[i], 1, i);
    }
    dados->addWidget(new QLabel(QStringLiteral("Valor Total"), grbDados), 2, 0);
    dados->addWidget(edtValorNF, 3, 0, 1, 2);
    dados->addWidget(new QLabel(QString::fromUtf8("Observação"), grbDados), 2, 2);
    dados->addWidget(edtObservacao, 3, 2, 1, 3);

    grbDestino = Nomeado(new QGroupBox(QStringLiteral(" Remetente / Destinatário "), this), "grbDestino");
    edtCnpjDestino = CampoTexto(grbDestino, "edtCnpjDestino", 14);
    edtCnpjDestino->setToolTip(QStringLiteral("Duplo Clique ou Enter\npara Selecionar  Empresa"));
    lblNomeDestino = Nomeado(new QLabel(grbDestino), "lblNomeDestino");
    lblUF = Nomeado(new QLabel(grbDestino), "lblUF");
    m_parte = std::make_unique<TCampoParte>(edtCnpjDestino, lblNomeDestino, lblUF);
    auto* destino = new QHBoxLayout(grbDestino);
    destino->addWidget(edtCnpjDestino);
    destino->addWidget(lblNomeDestino, 1);
    destino->addWidget(lblUF);

    rdgEmitente = Nomeado(new QGroupBox(QStringLiteral("Emitente"), this), "rdgEmitente");
    rbTerceiros = Nomeado(new QRadioButton(QStringLiteral("Terceiros"), rdgEmitente), "rbTerceiros");
    rbProprio = Nomeado(new QRadioButton(QString::fromUtf8("Próprio"), rdgEmitente), "rbProprio");
    rbTerceiros->setChecked(true);
    auto* emitente = new QHBoxLayout(rdgEmitente);
    emitente->addWidget(rbTerceiros);
    emitente->addWidget(rbProprio);

    chbExtemporaneo = Nomeado(new QCheckBox(QString::fromUtf8("Extemporâneo"), this), "chbExtemporaneo");
    chbExtemporaneo->setToolTip(QString::fromUtf8("Marcar quando a data de emissão\nnão estiver no período da Zel"));
    grbExtemporaneo = Nomeado(new QGroupBox(QString::fromUtf8(" Lançar na Zel "), this), "grbExtemporaneo");
    cmbMes = Nomeado(new QComboBox(grbExtemporaneo), "cmbMes");
    for (int m = 1; m <= 12; ++m)
        cmbMes->addItem(QString::number(m));
    cmbAno = Nomeado(new QComboBox(grbExtemporaneo), "cmbAno");
    QStringList anos;
    ListaAnos(2002, m_ctx.relogio->hoje().year(), anos);
    cmbAno->addItems(anos);
    auto* btnFecharZel = Nomeado(new QPushButton(QStringLiteral("Fechar"), grbExtemporaneo), "btnFecharZel");
    btnFecharZel->setAutoDefault(false);
    connect(btnFecharZel, &QPushButton::clicked, grbExtemporaneo, &QWidget::hide);
    auto* zel = new QHBoxLayout(grbExtemporaneo);
    zel->addWidget(new QLabel(QString::fromUtf8("Mês"), grbExtemporaneo));
    zel->addWidget(cmbMes);
    zel->addWidget(new QLabel(QStringLiteral("Ano"), grbExtemporaneo));
    zel->addWidget(cmbAno);
    zel->addWidget(btnFecharZel);
    grbExtemporaneo->hide();
    chbSituacao = Nomeado(new QCheckBox(QStringLiteral("Cancelada"), this), "chbSituacao");

    grbImpostos = Nomeado(new QGroupBox(this), "grbImpostos");
    auto valor = [this](const char* nome) { return Nomeado(new TEdValor(grbImpostos), nome); };
    edtBaseIcms = valor("edtBaseIcms");
    edtAliquota = CampoTexto(grbImpostos, "edtAliquota", 5);
    edtAliquota->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,2}(,\\d{0,2})?")),
                                                              edtAliquota));
    edtValorIcms = valor("edtValorIcms");
    edtOutrasIcms = valor("edtOutrasIcms");
    edtIsentasIcms = valor("edtIsentasIcms");
    edtValorIpi = valor("edtValorIpi");
    edtIsentasIpi = valor("edtIsentasIpi");
    edtOutrasIpi = valor("edtOutrasIpi");
    edtBaseSubst = valor("edtBaseSubst");
    edtIcmsRetido = valor("edtIcmsRetido");
    edtDespAcessorias = valor("edtDespAcessorias");
    chbMVA = Nomeado(new QCheckBox(QStringLiteral("Operação Regime Fonte"), grbImpostos), "chbMVA");
    chbMVA->setText(QString::fromUtf8("Operação Regime Fonte"));
    chbMVA->setToolTip(QString::fromUtf8("Marque se Substituição Tributária\nInterna motivada por Regime Especial"));
    auto grupo = [this](const QString& titulo, const QStringList& nomes, const QList<QWidget*>& ws) {
        auto* g = new QGroupBox(titulo, grbImpostos);
        auto* l = new QGridLayout(g);
        for (int i = 0; i < ws.size(); ++i) {
            if (i < nomes.size())
                l->addWidget(new QLabel(nomes[i], g), 0, i);
            l->addWidget(ws[i], 1, i);
        }
        return g;
    };
    auto* icms = grupo(QStringLiteral(" Icms Normal "),
                       {QString::fromUtf8("Base de Cálculo"), QString::fromUtf8("Alíq."), QStringLiteral("Valor"),
                        QStringLiteral("Outras"), QStringLiteral("Isentas")},
                       {edtBaseIcms, edtAliquota, edtValorIcms, edtOutrasIcms, edtIsentasIcms});
    auto* ipi = grupo(QStringLiteral(" IPI "), {QStringLiteral("Valor"), QStringLiteral("Isentas"), QStringLiteral("Outras")},
                      {edtValorIpi, edtIsentasIpi, edtOutrasIpi});
    auto* st = grupo(QString::fromUtf8(" Substituição Tributária "),
                     {QString::fromUtf8("Base Cálculo ST"), QStringLiteral("ICMS Retido"), QString::fromUtf8("Desp. Acessórias")},
                     {edtBaseSubst, edtIcmsRetido, edtDespAcessorias, chbMVA});
    auto* impostos = new QVBoxLayout(grbImpostos);
    impostos->addWidget(icms);
    auto* linha = new QHBoxLayout;
    linha->addWidget(ipi);
    linha->addWidget(st, 1);
    impostos->addLayout(linha);

    btnCancelar = Nomeado(new QPushButton(QStringLiteral("&Cancelar"), this), "btnCancelar");
    btnSalvar = Nomeado(new QPushButton(QStringLiteral("&Salvar"), this), "btnSalvar");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("&Fechar"), this), "btnFechar");
    for (QPushButton* b : {btnCancelar, btnSalvar, btnFechar})
        b->setAutoDefault(false);

    for (QObject* o : {static_cast<QObject*>(edtCodCFOP), static_cast<QObject*>(edtCnpjDestino),
                       static_cast<QObject*>(edtAliquota), static_cast<QObject*>(chbExtemporaneo)})
        o->installEventFilter(this);
    TeclaDecimalVirgula(edtAliquota);
    connect(chbMVA, &QCheckBox::clicked, this, [this] { edtBaseSubst->setFocus(); });

    m_regras = PreparaTelaDeEdicao(this, *m_ctx.dialogos, btnCancelar, btnFechar);
    m_regras->aoSair(edtCodCFOP, [this] { saiCfop(); return true; });
    m_regras->aoSair(edtCnpjDestino, [this] { saiDestino(); return true; });
    m_regras->aoSair(edtAliquota, [this] { saiAliquota(); return true; });
    m_regras->aoSair(edtDespAcessorias, [this] { edtValorIpi->setFocus(); return true; });
    // The code is drawn at the top but typed where its leaving rule continues: after the total, so that it is
    // chosen once the date and the kind that filter it are known, and leaving it goes on to the observation.
    MovimentoFixo(this, edtValorNF, edtCodCFOP);
    // The tax panel is typed as its leaving rules go: the ICMS line, then the substitution ("Operação Regime
    // Fonte" leads to its base, leaving the accessory expenses goes to the IPI), then the IPI line, and from its
    // last field to "&Salvar", never to "&Cancelar", where Enter would throw the note away.
    MovimentoFixo(this, edtIsentasIcms, chbMVA);
    MovimentoFixo(this, chbMVA, edtBaseSubst);
    MovimentoFixo(this, edtBaseSubst, edtIcmsRetido);
    MovimentoFixo(this, edtIcmsRetido, edtDespAcessorias);
    MovimentoFixo(this, edtOutrasIpi, btnSalvar);
}

TfrmCamposNotaFiscal::~TfrmCamposNotaFiscal() = default;

const QString& TfrmCamposNotaFiscal::filtroCfop() const
{
    return m_cfop->filtro();
}

bool TfrmCamposNotaFiscal::transacaoAberta() const
{
    return m_edicao->ativa();
}

bool TfrmCamposNotaFiscal::iniciaTransacao()
{
    return m_edicao->inicia();
}

bool TfrmCamposNotaFiscal::confirmaTransacao()
{
    return m_edicao->confirma();
}

void TfrmCamposNotaFiscal::encerraTransacao(bool confirma)
{
    if (confirma)
        m_edicao->confirma();
    else
        m_edicao->desfaz();
}

void TfrmCamposNotaFiscal::reject()
{
    // Leaving the screen in the middle of an edit takes back what it had written.
    encerraTransacao(false);
    QDialog::reject();
}

bool TfrmCamposNotaFiscal::eventFilter(QObject* alvo, QEvent* evento)
{
    const auto tipo = evento->type();
    // Leaving a field is the leaving rules' business; here only entering it and the double click, which runs
    // the leaving rule in place (its own focus moves must not run it a second time).
    if (alvo == edtCodCFOP) {
        if (tipo == QEvent::FocusIn && !m_regras->executando())
            entraCfop();
        else if (tipo == QEvent::MouseButtonDblClick)
            m_regras->verifica(edtCodCFOP);
    } else if (alvo == edtCnpjDestino) {
        if (tipo == QEvent::MouseButtonDblClick)
            m_regras->verifica(edtCnpjDestino);
    } else if (alvo == edtAliquota) {
        if (tipo == QEvent::FocusIn)
            entraAliquota();
    } else if (alvo == chbExtemporaneo && tipo == QEvent::FocusIn) {
        grbExtemporaneo->show();
    }
    return QDialog::eventFilter(alvo, evento);
}

void TfrmCamposNotaFiscal::entraCfop()
{
    m_cfop->entra(m_ctx, m_alteracao ? TelaCfop::AlterarNota : TelaCfop::IncluirNota, rbEntrada->isChecked(),
                  edtEmissao->date());
}

void TfrmCamposNotaFiscal::saiCfop()
{
    const auto r = m_cfop->sai(m_ctx, this, m_alteracao ? TelaCfop::AlterarNota : TelaCfop::IncluirNota,
                               rbEntrada->isChecked(), edtEmissao->date(), !m_alteracao);
    aplicaSubstituicao(r.substituicao);
    const bool avanca = m_alteracao ? !r.achado.isEmpty() : !r.codigo.isEmpty();
    (avanca ? static_cast<QWidget*>(edtObservacao) : static_cast<QWidget*>(edtCodCFOP))->setFocus();
}

void TfrmCamposNotaFiscal::preencheDestino(int id)
{
    m_parte->mostra(m_ctx, id);
}

void TfrmCamposNotaFiscal::saiDestino()
{
    m_parte->escolhe(m_ctx, this);
    edtBaseIcms->setFocus();
}

void TfrmCamposNotaFiscal::entraAliquota()
{
    if (m_parte->uf() == QLatin1String("ZR"))
        edtAliquota->setText(QStringLiteral("17"));
}

void TfrmCamposNotaFiscal::saiAliquota()
{
    const Money aliquota = Money::parse(edtAliquota->text()).value_or(Money());
    edtAliquota->setText(aliquota.toEditText());
    edtValorIcms->defineValor(ValorIcms(edtBaseIcms->valor(), aliquota));
}

QList<TEdValor*> TfrmCamposNotaFiscal::valores() const
{
    return {edtValorNF, edtBaseIcms, edtValorIcms, edtOutrasIcms, edtIsentasIcms, edtValorIpi,
            edtIsentasIpi, edtOutrasIpi, edtBaseSubst, edtIcmsRetido, edtDespAcessorias};
}

void TfrmCamposNotaFiscal::zeraValores()
{
    for (TEdValor* v : valores())
        v->defineValor(Money());
    edtAliquota->setText(Money().toEditText());
}

void TfrmCamposNotaFiscal::monta(QLayout* meio, const QList<QPushButton*>& botoes)
{
    auto* topo = new QHBoxLayout;
    topo->addWidget(rdgTipoNF);
    topo->addWidget(grbCfop, 1);
    auto* linhaBotoes = new QHBoxLayout;
    linhaBotoes->addStretch();
    for (QPushButton* b : botoes)
        linhaBotoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(grbDados);
    layout->addLayout(meio);
    layout->addWidget(grbImpostos);
    layout->addLayout(linhaBotoes);
    setFixedWidth(760);
}

void TfrmCamposNotaFiscal::habilitaSubstituicao(bool sim)
{
    for (QWidget* w : {static_cast<QWidget*>(edtBaseSubst), static_cast<QWidget*>(edtIcmsRetido),
                       static_cast<QWidget*>(edtDespAcessorias), static_cast<QWidget*>(chbMVA)})
        w->setEnabled(sim);
}

TCamposNota TfrmCamposNotaFiscal::campos() const
{
    TCamposNota c;
    c.entrada = rbEntrada->isChecked();
    c.modelo = edtModelo->text();
    c.serie = edtSerie->text();
    c.subSerie = edtSubSerie->text();
    c.numero = edtNumeroNF->text();
    c.emissao = edtEmissao->date();
    c.cfop = edtCodCFOP->text();
    c.valorTotal = edtValorNF->valor();
    c.observacao = edtObservacao->text();
    c.idEmtDest = m_parte->id();
    c.ufEmtDest = m_parte->uf();
    c.proprio = rbProprio->isChecked();
    c.extemporaneo = chbExtemporaneo->isChecked();
    c.mesZel = cmbMes->currentText().toInt();
    c.anoZel = cmbAno->currentText().toInt();
    c.cancelada = chbSituacao->isChecked();
    c.baseIcms = edtBaseIcms->valor();
    c.valorIcms = edtValorIcms->valor();
    c.outrasIcms = edtOutrasIcms->valor();
    c.isentasIcms = edtIsentasIcms->valor();
    c.aliquota = Money::parse(edtAliquota->text()).value_or(Money());
    c.valorIpi = edtValorIpi->valor();
    c.isentasIpi = edtIsentasIpi->valor();
    c.outrasIpi = edtOutrasIpi->valor();
    c.baseSubst = edtBaseSubst->valor();
    c.icmsRetido = edtIcmsRetido->valor();
    c.despAcessorias = edtDespAcessorias->valor();
    c.regimeFonte = chbMVA->isChecked();
    return c;
}
