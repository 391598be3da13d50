#include "declarations/screens/untQuadroV.h"

#include "core/untRelogio.h"
#include "reports/untRelatorios.h"
#include "widgets/untVisualizaRelatorio.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untDataSetModel.h"
#include "widgets/EdPeriod.h"
#include "widgets/Enter.h"
#include "widgets/untFechamento.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

// ----- selection

TfrmSelQuadroV::TfrmSelQuadroV(TContexto& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_lista(ctx.dtm->conexao())
{
    setObjectName(QStringLiteral("frmSelQuadroV"));
    setWindowTitle(QStringLiteral("Selecionar Quadro V"));
    resize(760, 420);
    new TkEnterAsTab(this);
    auto* periodo = new QGroupBox(QString::fromUtf8("Período"), this);
    cmbMes = Nomeado(new QComboBox(periodo), "cmbMes");
    cmbMes->addItem(QString());
    cmbMes->addItem(QStringLiteral("**"));
    for (int m = 1; m <= 12; ++m)
        cmbMes->addItem(QString::number(m));
    cmbAno = CampoTexto(periodo, "cmbAno", 4, "[0-9]{0,4}");
    cmbAno->setText(QString::number(m_ctx.relogio->hoje().year()));
    {
        auto* l = new QHBoxLayout(periodo);
        l->addWidget(new QLabel(QString::fromUtf8("Mês"), periodo));
        l->addWidget(cmbMes);
        l->addWidget(new QLabel(QStringLiteral("Ano"), periodo));
        l->addWidget(cmbAno);
    }
    grade = Nomeado(new QTableView(this), "dbgQuadroV");
    ConfiguraGrade(grade, nullptr, QString(), QString());
    m_modelo = new TDataSetModel(m_lista,
                                 {{QStringLiteral("PeriodoZel"), QString::fromUtf8("Período")},
                                  {QStringLiteral("CodMunicipio"), QString::fromUtf8("Código")},
                                  {QStringLiteral("Municipio"), QString::fromUtf8("Município")},
                                  {QStringLiteral("Valor"), QStringLiteral("Valor")},
                                  {QStringLiteral("DtGeracao"), QString::fromUtf8("Geração")},
                                  {QStringLiteral("dtAlteracao"), QString::fromUtf8("Alteração")}},
                                 this);
    m_modelo->defineFormato(QStringLiteral("PeriodoZel"), [](const QVariant& v) {
        const QDate d = v.toDate();
        return d.isValid() ? d.toString(QStringLiteral("MM/yyyy")) : QString();
    });
    MostraNaGrade(grade, m_modelo);
    connect(grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& i) {
        m_modelo->moveCursor(i.row());
        if (!m_editando)
            CarregaQuadroV(m_lista, m_atual);
    });
    auto botao = [this](const char* nome, const char* legenda, void (TfrmSelQuadroV::*acao)()) {
        auto* b = Nomeado(new QPushButton(QString::fromUtf8(legenda), this), nome);
        b->setAutoDefault(false);
        if (acao)
            connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    btnPesquisar = botao("btnPesquisar", "Pesquisar", &TfrmSelQuadroV::Pesquisar);
    btnIncluir = botao("btnIncluir", "&Incluir", &TfrmSelQuadroV::Incluir);
    btnAlterar = botao("btnAlterar", "&Alterar", &TfrmSelQuadroV::Alterar);
    btnExcluir = botao("btnExcluir", "&Excluir", &TfrmSelQuadroV::Excluir);
    btnImprimir = botao("btnImprimir", "&Imprimir", &TfrmSelQuadroV::Imprimir);
    btnFechar = botao("btnFechar", "Fechar", nullptr);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    FechaPeloBotao(this, btnFechar);
    SeguemALinhaAtual(grade, {btnAlterar, btnExcluir});
    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {btnPesquisar, btnIncluir, btnAlterar, btnExcluir, btnImprimir, btnFechar})
        botoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(periodo, 0, Qt::AlignLeft);
    layout->addWidget(grade, 1);
    layout->addLayout(botoes);
    OrdemDeLeituraAoMostrar(this);
}

void TfrmSelQuadroV::Pesquisar()
{
    const QString mes = cmbMes->currentText();
    const QString ano = cmbAno->text().trimmed();
    if (!mes.isEmpty() && mes != QLatin1String("**") && ano.isEmpty()) {
        Informa(*m_ctx.dialogos, QStringLiteral("Informe o ano para a pesquisa"));
        return;
    }
    try {
        AbreListaQuadroV(m_lista, m_ctx.IdAtivo, mes, ano);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        m_lista.close();
    }
    m_modelo->reinicia();
    CarregaQuadroV(m_lista, m_atual);
    if (!m_lista.active() || m_lista.isEmpty()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Não há lançamento neste período"));
        return;
    }
    grade->selectRow(0);
}

void TfrmSelQuadroV::reabreTudo()
{
    const int id = m_atual.IdQuadroV;
    try {
        AbreListaQuadroV(m_lista, m_ctx.IdAtivo, QString(), QString());
        if (id)
            m_lista.locate(QStringLiteral("IdQuadroV"), id);
    } catch (const EBancoDados&) {
        m_lista.close();
    }
    const int linha = m_lista.active() ? m_lista.recNo() : -1;
    m_modelo->reinicia();
    CarregaQuadroV(m_lista, m_atual);
    if (linha >= 0)
        grade->selectRow(linha);
}

void TfrmSelQuadroV::Incluir()
{
    if (!MunicipiosAtualizados(*m_ctx.dtm)) {
        if (PerguntaNao(*m_ctx.dialogos, QString::fromUtf8("Os municípios não estão cadastrados ou atualizados. Deseja "
                                                           "cadastrá-los ou atualizá-los?"))) {
            Informa(*m_ctx.dialogos, QString::fromUtf8("Para cadastrar/atualizar os municípios, acione o botão Atualizar "
                                                       "na tela que aparecerá a seguir."));
            TfrmMunicipioZR tela(m_ctx, this);
            m_ctx.dialogos->executaModal(&tela);
        } else {
            Informa(*m_ctx.dialogos, QString::fromUtf8("É necessário cadastrar/atualizar os municípios para incluir o quadro V."));
        }
        return;
    }
    m_editando = true;
    bool salvou = false;
    {
        TQuadroV nova;
        nova.IdContribuinte = m_ctx.IdAtivo;
        TUfrmManterQV tela(m_ctx, nova, this);
        m_ctx.dialogos->executaModal(&tela);
        salvou = tela.salvou();
    }
    m_editando = false;
    if (salvou)
        reabreTudo();
}

void TfrmSelQuadroV::Alterar()
{
    if (m_atual.IdQuadroV == 0)
        return;
    m_editando = true;
    bool salvou = false;
    {
        TUfrmManterQV tela(m_ctx, m_atual, this);
        m_ctx.dialogos->executaModal(&tela);
        salvou = tela.salvou();
    }
    m_editando = false;
    if (salvou)
        reabreTudo();
}

void TfrmSelQuadroV::Excluir()
{
    if (m_atual.IdQuadroV == 0)
        return;
    if (m_ctx.dialogos->confirmaExclusao(QString::fromUtf8("Confirma Exclusão \ndeste Registro ?"))) {
        QString erro;
        if (!TQuadrosV(*m_ctx.dtm).Excluir(m_atual.IdQuadroV, m_ctx.IdAtivo, &erro)) {
            Informa(*m_ctx.dialogos, QString::fromUtf8("Ocorreu um erro excluindo o quadro V. Erro: %1.").arg(erro));
            return;
        }
        Informa(*m_ctx.dialogos, QString::fromUtf8("Excluído com Sucesso."));
    }
    m_atual = TQuadroV();
    reabreTudo();
}

// ----- entry

TUfrmManterQV::TUfrmManterQV(TContexto& ctx, const TQuadroV& linha, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_linha(linha), m_municipios(ctx.dtm->conexao())
{
    setObjectName(QStringLiteral("UfrmManterQV"));
    setWindowTitle(QStringLiteral("Quadro V"));
    new TkEnterAsTab(this);
    gbPeriodo = Nomeado(new QGroupBox(this), "gbPeriodo");
    edtPeriodo = Nomeado(new TEdPeriod(gbPeriodo), "edtPeriodo");
    // The field's check runs through the screen's leaving rules, which also hold back a click on "&Salvar"
    // that would tell the same fault a second time.
    edtPeriodo->configura(nullptr, m_ctx.relogio);
    edtPeriodo->regras.PeriodoMin = QStringLiteral("122009");
    edtPeriodo->regras.MaxPerAgora = true;
    edtPeriodo->regras.MensErroValidade = QString::fromUtf8("Período inválido");
    edtPeriodo->regras.MensErroSintaxe = QString::fromUtf8("Período inválido");
    {
        auto* l = new QHBoxLayout(gbPeriodo);
        l->addWidget(new QLabel(QString::fromUtf8("Período:"), gbPeriodo));
        l->addWidget(edtPeriodo);
    }
    auto* municipio = new QGroupBox(QString::fromUtf8("Município"), this);
    RxDBMunicipio = Nomeado(new QComboBox(municipio), "RxDBMunicipio");
    edtCodMunicipio = CampoTexto(municipio, "edtCodMunicipio", 5);
    edtCodMunicipio->setEnabled(false);
    {
        auto* l = new QFormLayout(municipio);
        l->addRow(RxDBMunicipio);
        l->addRow(QString::fromUtf8("Código:"), edtCodMunicipio);
    }
    edtValor = Nomeado(new TEdValor(this), "edtValor");
    btnSalvar = Nomeado(new QPushButton(QStringLiteral("&Salvar"), this), "btnSalvar");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("&Fechar"), this), "btnFechar");
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {btnSalvar, btnFechar}) {
        b->setAutoDefault(false);
        botoes->addWidget(b);
    }
    auto* valor = new QFormLayout;
    valor->addRow(QStringLiteral("Valor:"), edtValor);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbPeriodo);
    layout->addWidget(municipio);
    layout->addLayout(valor);
    layout->addLayout(botoes);
    connect(RxDBMunicipio, &QComboBox::currentIndexChanged, this,
            [this](int i) { edtCodMunicipio->setText(i >= 0 ? RxDBMunicipio->itemData(i).toString() : QString()); });
    connect(btnSalvar, &QPushButton::clicked, this, &TUfrmManterQV::Salvar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    m_regras = PreparaTelaDeEdicao(this, *m_ctx.dialogos, nullptr, btnFechar);
    m_regras->aoSair(edtPeriodo, [this] {
        bool falhou = false;
        for (const QString& m : edtPeriodo->regras.aoSair(edtPeriodo->periodo(), &falhou))
            Informa(*m_ctx.dialogos, m);
        return !falhou;
    });
}

void TUfrmManterQV::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    try {
        AbreMunicipios(m_municipios);
        for (m_municipios.first(); !m_municipios.eof(); m_municipios.next())
            RxDBMunicipio->addItem(m_municipios.asString(QStringLiteral("nomeMunicipio")).trimmed(),
                                   m_municipios.asString(QStringLiteral("codMunicipio")).trimmed());
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
    RxDBMunicipio->setCurrentIndex(-1);
    if (m_linha.IdQuadroV == 0) {
        edtPeriodo->setFocus();
        return;
    }
    gbPeriodo->setEnabled(false);
    edtPeriodo->definePeriodo(m_linha.PeriodoZel.toString(QStringLiteral("MMyyyy")));
    RxDBMunicipio->setCurrentIndex(RxDBMunicipio->findData(m_linha.CodMunicipio));
    edtValor->defineValor(m_linha.Valor);
    RxDBMunicipio->setFocus();
}

void TUfrmManterQV::Salvar()
{
    TQuadroV q = m_linha;
    const QString p = edtPeriodo->periodo().trimmed();
    const int mes = TPeriodoRegras::mesDe(p);
    const int ano = TPeriodoRegras::anoDe(p);
    q.PeriodoZel = (p.isEmpty() || mes == 0 || ano == 0) ? QDate() : QDate(ano, mes, 1);
    if (p.isEmpty()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Informe o período."));
        edtPeriodo->setFocus();
        return;
    }
    q.CodMunicipio = RxDBMunicipio->currentIndex() >= 0 ? edtCodMunicipio->text() : QString();
    q.Municipio = RxDBMunicipio->currentIndex() >= 0 ? RxDBMunicipio->currentText() : QString();
    q.Valor = edtValor->valor();
    if (const TFalha f = ChecaQuadroV(q, m_ctx.relogio->hoje()); f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    TQuadrosV quadros(*m_ctx.dtm);
    const bool inclusao = m_linha.IdQuadroV == 0;
    try {
        // The list may be older than the table (an update in between): the code must still be there.
        if (!MunicipioExiste(*m_ctx.dtm, q.CodMunicipio)) {
            Informa(*m_ctx.dialogos, QString::fromUtf8("Informe o município."));
            RxDBMunicipio->setFocus();
            return;
        }
        // One row per taxpayer, month and municipality, for a change as for an inclusion: the file would
        // carry the municipality twice.
        if (quadros.Duplicado(q, q.IdQuadroV)) {
            Informa(*m_ctx.dialogos, QString::fromUtf8("Já existe um item cadastrado para o município."));
            return;
        }
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    QString erro;
    if (inclusao) {
        q.DtGeracao = m_ctx.relogio->agora();
        if (quadros.Incluir(q, &erro)) {
            m_salvou = true;
            Informa(*m_ctx.dialogos, QString::fromUtf8("Inclusão realizada com sucesso."));
        } else {
            Informa(*m_ctx.dialogos, QString::fromUtf8("Ocorreu um erro incluindo o quadro V. Erro: %1.").arg(erro));
        }
        RxDBMunicipio->setCurrentIndex(-1);
        edtValor->defineValor(Money());
        edtPeriodo->setFocus();
        return;
    }
    q.dtAlteracao = m_ctx.relogio->agora();
    if (!quadros.Alterar(q, &erro)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Ocorreu um erro alterando o quadro V. Erro: %1.").arg(erro));
        return;
    }
    m_linha = q;
    m_salvou = true;
    Informa(*m_ctx.dialogos, QString::fromUtf8("Alteração realizada com sucesso."));
    RxDBMunicipio->setFocus();
}

// ----- municipalities

TfrmMunicipioZR::TfrmMunicipioZR(TContexto& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmMunicipioZR"));
    setWindowTitle(QString::fromUtf8("Municípios do Estado"));
    btnImprimir = Nomeado(new QPushButton(QStringLiteral("&Imprimir"), this), "btnImprimir");
    btnAtualizar = Nomeado(new QPushButton(QStringLiteral("&Atualizar"), this), "btnAtualizar");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("&Fechar"), this), "btnFechar");
    pgbMuni = Nomeado(new QProgressBar(this), "pgbMuni");
    pgbMuni->setValue(0);
    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {btnImprimir, btnAtualizar, btnFechar}) {
        b->setAutoDefault(false);
        botoes->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pgbMuni);
    layout->addLayout(botoes);
    connect(btnAtualizar, &QPushButton::clicked, this, &TfrmMunicipioZR::Atualizar);
    connect(btnImprimir, &QPushButton::clicked, this, &TfrmMunicipioZR::Imprimir);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    FechaPeloBotao(this, btnFechar);
    OrdemDeLeituraAoMostrar(this);
}

void TfrmMunicipioZR::Atualizar()
{
    TArquivosMunicipios arquivos;
    QString erro;
    // Both files are read whole before anything changes: a bad line leaves the tables as they were.
    if (!LeArquivosMunicipios(m_ctx.pasta, &arquivos, &erro)) {
        Informa(*m_ctx.dialogos, erro);
        return;
    }
    btnAtualizar->setEnabled(false);
    int somadas = 0;
    const bool ok = AplicaMunicipios(*m_ctx.dtm, arquivos,
                                     [this](int feitos, int total) {
                                         pgbMuni->setMaximum(total);
                                         pgbMuni->setValue(feitos);
                                         if (feitos % 200 == 0)
                                             QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                                     },
                                     &erro, &somadas);
    btnAtualizar->setEnabled(true);
    pgbMuni->setValue(0);
    if (!ok) {
        InformaErro(*m_ctx.dialogos, erro);
        return;
    }
    QString mensagem = QString::fromUtf8("Atualização Concluída!");
    if (somadas > 0)
        mensagem += QString::fromUtf8("\n%1 linhas do Quadro V de um mesmo mês e município foram somadas numa só.").arg(somadas);
    Informa(*m_ctx.dialogos, mensagem);
}

void TfrmSelQuadroV::Imprimir()
{
    if (!m_lista.active() || m_lista.isEmpty()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Não há registros para imprimir."));
        return;
    }
    ImprimeRelatorio(m_ctx, this, [this](TRelatorio& r) {
        r = Relatorios::QuadroV(*m_ctx.dtm, CabecalhoRelatorio(m_ctx), m_lista);
        return true;
    });
}

void TfrmMunicipioZR::Imprimir()
{
    ImprimeRelatorio(
        m_ctx, this,
        [this](TRelatorio& r) {
            r = Relatorios::Municipios(*m_ctx.dtm, Agora(m_ctx.relogio));
            return true;
        },
        QString::fromUtf8("Não foi possível acessar os dados."));
}
