#include "declarations/screens/untInformacoesSN.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/screens/untFraRecibo.h"
#include "declarations/untApuracao.h"
#include "declarations/untRecibo.h"
#include "declarations/screens/untCabecalhoDeclaracao.h"
#include "widgets/Enter.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

namespace {

// The typed amounts, each with the message of a negative value.
const struct {
    const char* nome;
    const char* negativo;
} kDigitados[] = {
    {"edtFaturamento", "O valor do faturamento não pode ser negativo"},
    {"edtSubsEntrada", "O valor da substituição por entradas não pode ser negativo"},
    {"edtICMSAntecipado", "O valor do ICMS Antecipado não pode ser negativo"},
    {"edtDifAliquota", "O valor da diferença de alíquota não pode ser negativo"},
    {"edtDifAliqComplem", "O valor da diferença de alíquota complementar não pode ser negativo"},
    {"edtICMSImportacao", "O valor do ICMS Importação não pode ser negativo"},
    {"edtMIRVELSN", "O valor do MIRVEL não pode ser negativo"},
};

QString formatado(Money m)
{
    return m.toString();
}

} // namespace

TEdValor* TfrmInformacoesSN::campo(const char* nome) const
{
    return m_campos.value(QString::fromLatin1(nome));
}

TfrmInformacoesSN::TfrmInformacoesSN(TContexto& ctx, int idSN, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_idSN(idSN)
{
    setObjectName(QStringLiteral("frmInformacoesSN"));
    setWindowTitle(QString::fromUtf8("Informações complementares do Simples Nacional"));
    new TkEnterAsTab(this);
    m_regras = new TRegrasSaida(this);

    {
        const TCabecalhoDeclaracao c = MontaCabecalhoDeclaracao(this, AnosDesde(m_ctx.relogio->hoje().year(), 2002), "Tipo da declaração");
        grbPeriodo = c.grbPeriodo;
        cmbMes = c.cmbMes;
        cmbAno = c.cmbAno;
        btnProcessa = c.btnProcessa;
        rdgTipo = c.rdgTipo;
        rbNormal = c.rbNormal;
        rbRetificadora = c.rbRetificadora;
    }
    rdgCategEstabel = Nomeado(new QGroupBox(QString::fromUtf8("Categoria do estabelecimento "), this), "rdgCategEstabel");
    {
        const char* legendas[3] = {"&Matriz/Estabelecimento único com movimento", "&Filial",
                                   "Matriz &sem movimento c/ filial com movimento"};
        auto* l = new QVBoxLayout(rdgCategEstabel);
        for (int i = 0; i < 3; ++i) {
            rbCategoria[i] = new QRadioButton(QString::fromUtf8(legendas[i]), rdgCategEstabel);
            rbCategoria[i]->setObjectName(QStringLiteral("rbCategoria%1").arg(i + 1));
            l->addWidget(rbCategoria[i], 0, Qt::AlignLeft);
            connect(rbCategoria[i], &QRadioButton::clicked, this, [this, i] { escolheCategoria(i); });
        }
        rbCategoria[0]->setChecked(true);
    }

    auto valor = [this](QWidget* pai, const char* nome, const char* dica, bool calculado) {
        auto* v = Nomeado(new TEdValor(pai), nome);
        v->setToolTip(QString::fromUtf8(dica));
        v->setPermiteNegativo(true); // the screen's own rules tell each negative amount
        if (calculado) {
            v->setReadOnly(true);
            v->setFocusPolicy(Qt::NoFocus);
        }
        m_campos.insert(QString::fromLatin1(nome), v);
        return v;
    };
    auto linha = [](QGridLayout* g, QWidget* pai, const char* rotulo, QWidget* w) {
        const int r = g->rowCount();
        g->addWidget(new QLabel(QString::fromUtf8(rotulo), pai), r, 0);
        g->addWidget(w, r, 1);
    };

    pcPaginas = Nomeado(new QTabWidget(this), "pcPaginas");
    tsInformacoes = Nomeado(new QWidget(pcPaginas), "tsInformacoes");
    grbInf1 = Nomeado(new QGroupBox(tsInformacoes), "grbInf1");
    auto* g1 = new QGridLayout(grbInf1);
    linha(g1, grbInf1, "Imposto Antecipado", valor(grbInf1, "edtICMSAntecipado", "ICMS antecipado", false));
    linha(g1, grbInf1, "Diferencial de Alíquota",
          valor(grbInf1, "edtDifAliquota", "Diferença de alíquota do ICMS de mercadorias destinadas ao ativo fixo e consumo", false));
    linha(g1, grbInf1, "Diferença Alíquota Complementar",
          valor(grbInf1, "edtDifAliqComplem",
                "Diferença de alíquota complementar do ICMS referente a mercadorias destinadas a comercialização ou "
                "industrialização",
                false));
    linha(g1, grbInf1, "ICMS Importação", valor(grbInf1, "edtICMSImportacao", "ICMS  sobre a  importação", false));

    grbInf3 = Nomeado(new QGroupBox(tsInformacoes), "grbInf3");
    auto* g3 = new QGridLayout(grbInf3);
    cbAliquotas = Nomeado(new QComboBox(grbInf3), "cbAliquotas");
    cbAliquotas->setEditable(true);
    cbAliquotas->setInsertPolicy(QComboBox::NoInsert);
    cbAliquotas->addItems(TInformacoesSN::Aliquotas());
    // A typed rate is taken as typed: completing "2,5" into the listed "2,56" would store a rate never typed.
    cbAliquotas->setCompleter(nullptr);
    cbAliquotas->setCurrentIndex(-1);
    cbAliquotas->setEditText(QString());
    cbAliquotas->setToolTip(QString::fromUtf8("Percentual aplicado sobre a base de cálculo do ICMS para o recolhimento do DAS "));
    TeclaDecimalVirgula(cbAliquotas->lineEdit());
    linha(g3, grbInf3, "Alíquota do ICMS no Simples Nacional (%)", cbAliquotas);
    linha(g3, grbInf3, "Faturamento",
          valor(grbInf3, "edtFaturamento", "Vendas que serviram de base de cálculo do ICMS para o Simples Nacional", false));
    linha(g3, grbInf3, "ICMS a recolher no Simples ",
          valor(grbInf3, "edtICMSSN", "Valor do ICMS a recolher. Apenas informado para a matriz ou estabelecimento único",
                false));

    grbInf2 = Nomeado(new QGroupBox(QString::fromUtf8("Infomações do ICMS Substituição Tributária "), tsInformacoes),
                      "grbInf2");
    auto* g2 = new QGridLayout(grbInf2);
    linha(g2, grbInf2, "Substituição por Saída", valor(grbInf2, "edtSubsSaida", "ICMS Substituição por saídas", true));
    linha(g2, grbInf2, "Substituição por Entrada",
          valor(grbInf2, "edtSubsEntrada", "ICMS Substituição por entradas", false));
    linha(g2, grbInf2, "ICMS Retido Fonte",
          valor(grbInf2, "edtICMSRetidoFonte", "Débitos por saídas com imposto apurado pelo Regime de Recolhimento Fonte", true));

    auto* outros = new QGroupBox(tsInformacoes);
    auto* g4 = new QGridLayout(outros);
    linha(g4, outros, "MIRVEL Simples Nacional", valor(outros, "edtMIRVELSN", "Valor recolhido para o MIRVEL ", false));
    linha(g4, outros, "Total de Entradas", valor(outros, "edtTotEntradas", "Somatório das entradas", true));
    {
        auto* l = new QGridLayout(tsInformacoes);
        l->addWidget(grbInf1, 0, 0);
        l->addWidget(grbInf3, 0, 1);
        l->addWidget(grbInf2, 1, 0);
        l->addWidget(outros, 1, 1);
    }
    pcPaginas->addTab(tsInformacoes, QString::fromUtf8("Informações"));
    fraRecibo = new TfraRecibo(m_ctx, TfraRecibo::Variante::SimplesNacional, pcPaginas);
    fraRecibo->setObjectName(QStringLiteral("fraRecibo"));
    pcPaginas->addTab(fraRecibo, QStringLiteral("Recibo"));
    pcPaginas->setEnabled(false);

    btnSalvar = Nomeado(new QPushButton(QString::fromUtf8("&Salvar Informações"), this), "btnSalvar");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("Fechar"), this), "btnFechar");
    btnSalvar->setEnabled(false);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {btnSalvar, btnFechar}) {
        b->setAutoDefault(false);
        botoes->addWidget(b);
    }
    auto* topo = new QHBoxLayout;
    topo->addWidget(grbPeriodo);
    topo->addWidget(rdgTipo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(rdgCategEstabel);
    layout->addWidget(pcPaginas, 1);
    layout->addLayout(botoes);

    connect(btnProcessa, &QPushButton::clicked, this, &TfrmInformacoesSN::Processa);
    connect(btnSalvar, &QPushButton::clicked, this, &TfrmInformacoesSN::Salvar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(rbNormal, &QRadioButton::clicked, this, &TfrmInformacoesSN::mudaTipo);
    connect(rbRetificadora, &QRadioButton::clicked, this, &TfrmInformacoesSN::mudaTipo);

    m_regras->silencioso(btnFechar);
    RegraDosValores(*m_regras, this, *m_ctx.dialogos);
    for (const auto& d : kDigitados) {
        TEdValor* v = campo(d.nome);
        const QString mensagem = QString::fromUtf8(d.negativo);
        m_regras->aoSair(v, [this, v, mensagem] {
            if (!v->valor().isNegative())
                return true;
            Informa(*m_ctx.dialogos, mensagem);
            v->defineValor(Money());
            return false;
        });
    }
    m_regras->aoSair(cbAliquotas, [this] { return saiAliquota(); });
    m_regras->aoSair(campo("edtICMSSN"), [this] { return saiICMSSN(); });
}

QString TfrmInformacoesSN::periodo() const
{
    return cmbAno->currentText().trimmed().rightJustified(4, QLatin1Char('0')) +
           QString::number(cmbMes->currentText().trimmed().toInt()).rightJustified(2, QLatin1Char('0'));
}

QString TfrmInformacoesSN::cnpj() const
{
    try {
        TDataSet q(m_ctx.dtm->conexao());
        q.setCommandText(QStringLiteral("SELECT CNPJ FROM Contribuinte WHERE IdContribuinte = :Id"));
        q.setParam(QStringLiteral("Id"), m_ctx.IdAtivo);
        q.open();
        if (!q.isEmpty())
            return q.asString(QStringLiteral("CNPJ")).trimmed().rightJustified(14, QLatin1Char('0'));
    } catch (const EBancoDados&) {
    }
    return QString(14, QLatin1Char('0'));
}

TInformacoesSN TfrmInformacoesSN::campos() const
{
    TInformacoesSN c;
    c.faturamento = campo("edtFaturamento")->valor();
    c.aliquota = cbAliquotas->currentText().trimmed();
    c.icmssn = campo("edtICMSSN")->valor();
    c.totEntradas = campo("edtTotEntradas")->valor();
    c.subsSaidas = campo("edtSubsSaida")->valor();
    c.retidoFonte = campo("edtICMSRetidoFonte")->valor();
    c.subsEntradas = campo("edtSubsEntrada")->valor();
    c.antecipado = campo("edtICMSAntecipado")->valor();
    c.difAliquota = campo("edtDifAliquota")->valor();
    c.difAliqComplem = campo("edtDifAliqComplem")->valor();
    c.importacao = campo("edtICMSImportacao")->valor();
    c.mirvel = campo("edtMIRVELSN")->valor();
    c.categoria = rbCategoria[1]->isChecked() ? 2 : (rbCategoria[2]->isChecked() ? 3 : 1);
    return c;
}

void TfrmInformacoesSN::mostra(const TInformacoesSN& c)
{
    campo("edtFaturamento")->defineValor(c.faturamento);
    cbAliquotas->setEditText(c.aliquota);
    campo("edtICMSSN")->defineValor(c.icmssn);
    campo("edtTotEntradas")->defineValor(c.totEntradas);
    campo("edtSubsSaida")->defineValor(c.subsSaidas);
    campo("edtICMSRetidoFonte")->defineValor(c.retidoFonte);
    campo("edtSubsEntrada")->defineValor(c.subsEntradas);
    campo("edtICMSAntecipado")->defineValor(c.antecipado);
    campo("edtDifAliquota")->defineValor(c.difAliquota);
    campo("edtDifAliqComplem")->defineValor(c.difAliqComplem);
    campo("edtICMSImportacao")->defineValor(c.importacao);
    campo("edtMIRVELSN")->defineValor(c.mirvel);
}

void TfrmInformacoesSN::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    setWindowTitle(windowTitle() + QStringLiteral(" - CNPJ da empresa ") + cnpj());
    pcPaginas->setTabVisible(pcPaginas->indexOf(fraRecibo), false);
    if (m_idSN) {
        carrega();
        return;
    }
    cmbMes->setEditText(QStringLiteral("1"));
    cmbMes->setFocus();
}

void TfrmInformacoesSN::carrega()
{
    TZelSN z(*m_ctx.dtm);
    bool achou = false;
    try {
        achou = z.CarregarId(m_idSN, m_ctx.IdAtivo);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
    if (!achou) {
        btnProcessa->setEnabled(false);
        btnFechar->setFocus();
        return;
    }
    m_carregando = true;
    cmbAno->setEditText(z.Periodo.left(4));
    cmbMes->setEditText(QString::number(z.Periodo.mid(4, 2).toInt()));
    (z.Tipo == QLatin1String("R") ? rbRetificadora : rbNormal)->setChecked(true);
    TInformacoesSN c = z.info;
    Money aliquota;
    if (TInformacoesSN::LeAliquota(c.aliquota, &aliquota))
        c.aliquota = aliquota.toString();
    mostra(c);
    rbCategoria[c.categoria - 1]->setChecked(true);
    grbInf3->setEnabled(c.categoria != 2);
    fraRecibo->defineDeclaracao(z.Periodo, false);
    fraRecibo->mostraEntrega(z.NumRecibo, z.sitCadastroContrib, z.dataSitCadastro);
    m_carregando = false;
    // What the row holds, against which closing compares the figures "Processa" now takes from the documents.
    m_objeto = z.info;
    Processa();
}

void TfrmInformacoesSN::mudaTipo()
{
    const bool normal = rbNormal->isChecked();
    pcPaginas->setTabVisible(pcPaginas->indexOf(fraRecibo), m_processado && TfraRecibo::Visivel(periodo(), normal));
    if (!normal)
        pcPaginas->setCurrentWidget(tsInformacoes);
}

void TfrmInformacoesSN::Processa()
{
    if (m_processado)
        return;
    bool okMes = false;
    bool okAno = false;
    const int mes = cmbMes->currentText().trimmed().toInt(&okMes);
    const int ano = cmbAno->currentText().trimmed().toInt(&okAno);
    if (const TFalha f = ChecaPeriodoSN(okMes ? mes : 0, okAno ? ano : 0); f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    const QString p = periodo();
    if (m_idSN == 0) {
        fraRecibo->Processa();
        try {
            if (ExisteSN(*m_ctx.dtm, m_ctx.IdAtivo, p)) {
                Informa(*m_ctx.dialogos, QString::fromUtf8("Este Período já está cadastrado!"));
                return;
            }
        } catch (const EBancoDados& e) {
            m_ctx.dialogos->mensagemSimples(e.mensagem());
            return;
        }
    }
    TInformacoesSN c = campos();
    try {
        ProcessaSN(*m_ctx.con, m_ctx.IdAtivo, mes, ano, c);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    m_processado = true;
    pcPaginas->setEnabled(true);
    fraRecibo->defineDeclaracao(p, m_idSN == 0);
    pcPaginas->setTabVisible(pcPaginas->indexOf(fraRecibo), TfraRecibo::Visivel(p, rbNormal->isChecked()));
    campo("edtTotEntradas")->defineValor(c.totEntradas);
    campo("edtSubsSaida")->defineValor(c.subsSaidas);
    campo("edtICMSRetidoFonte")->defineValor(c.retidoFonte);
    if (m_idSN == 0)
        m_objeto.totEntradas = c.totEntradas;
    btnSalvar->setEnabled(true);
    grbPeriodo->setEnabled(false);
    pcPaginas->setCurrentWidget(tsInformacoes);
    campo("edtDifAliquota")->setFocus();
}

bool TfrmInformacoesSN::saiAliquota()
{
    const QString texto = cbAliquotas->currentText().trimmed();
    if (texto.isEmpty()) {
        Informa(*m_ctx.dialogos, QStringLiteral("A alíquota deve ser informada"));
        return false;
    }
    Money aliquota;
    if (!TInformacoesSN::LeAliquota(texto, &aliquota)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("O valor informado não é um número válido"));
        return false;
    }
    if (aliquota.isNegative()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("O valor do percentual da alíquota do ICMS não pode ser negativo"));
        cbAliquotas->setEditText(QString());
        return false;
    }
    // The file carries the rate in three digits, in hundredths.
    if (aliquota.hasFractionOfCent() || aliquota.raw() >= 100000) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("A alíquota do ICMS no Simples Nacional deve ser menor que 10% e ter "
                                                   "no máximo duas casas decimais."));
        return false;
    }
    if (!TInformacoesSN::Aliquotas().contains(aliquota.toString()) &&
        !PerguntaNao(*m_ctx.dialogos, QString::fromUtf8("A alíquota informada não consta entre as definidas no Simples "
                                                        "Nacional. Continua ? "))) {
        cbAliquotas->setEditText(QString());
        return false;
    }
    cbAliquotas->setEditText(aliquota.toString());
    return true;
}

bool TfrmInformacoesSN::saiICMSSN()
{
    TEdValor* icms = campo("edtICMSSN");
    const Money digitado = icms->valor();
    if (digitado.isNegative()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("O valor do ICMS a recolher não pode ser negativo"));
        icms->defineValor(Money());
        return false;
    }
    if (digitado.isZero())
        return true;
    Money aliquota;
    if (cbAliquotas->currentText().trimmed().isEmpty() || !TInformacoesSN::LeAliquota(cbAliquotas->currentText(), &aliquota)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("O valor da alíquota informada não é um número válido"));
        cbAliquotas->setFocus();
        return true;
    }
    const Money esperado = campos().icmsEsperado();
    if (formatado(esperado) == formatado(digitado))
        return true;
    const QString pergunta =
        QStringLiteral("O valor do ICMS a recolher obtido através da multiplicação do faturamento pela alíquota é R$ ") +
        formatado(esperado) + QStringLiteral(". ") + QStringLiteral("O valor do ICMS a recolher informado é R$ ") +
        formatado(digitado) + QStringLiteral(". ") + QStringLiteral("Este valor será lançado na base de dados da DVL e ") +
        QStringLiteral("poderá ser fruto de futura cobrança. Tem certeza que o ") + QStringLiteral("valor informado é o certo ?");
    if (!PerguntaSim(*m_ctx.dialogos, pergunta))
        icms->defineValor(esperado);
    return true;
}

void TfrmInformacoesSN::escolheCategoria(int indice)
{
    if (m_carregando)
        return;
    if (indice != 1) {
        grbInf3->setEnabled(true);
        return;
    }
    const QString aliquota = cbAliquotas->currentText().trimmed();
    const bool temValores = !(aliquota.isEmpty() || aliquota == QLatin1String("0,00")) ||
                            !campo("edtFaturamento")->valor().isZero() || !campo("edtICMSSN")->valor().isZero();
    if (temValores) {
        if (!PerguntaNao(*m_ctx.dialogos,
                         QString::fromUtf8("Foram encontrados valores nos campos do faturamento ou da alíquota ou do ICMS a "
                                           "recolher. A declaração da filial deve ter esses campos zerados. Deseja que "
                                           "eles sejam zerados ?"))) {
            rbCategoria[0]->setChecked(true);
            return;
        }
    }
    campo("edtFaturamento")->defineValor(Money());
    campo("edtICMSSN")->defineValor(Money());
    cbAliquotas->setEditText(QStringLiteral("0,00"));
    grbInf3->setEnabled(false);
    if (!temValores)
        Informa(*m_ctx.dialogos, QString::fromUtf8("Não é necessário informar o faturamento, a alíquota e o ICMS a recolher "
                                                   "na declaração da Filial"));
}

void TfrmInformacoesSN::reject()
{
    if (m_idSN && m_processado) {
        if (FigurasDosDocumentosMudaram(campos(), m_objeto)) {
            if (!PerguntaSim(*m_ctx.dialogos,
                             QString::fromUtf8("O total das entradas e/ou a substituição por saida e/ou o ICMS retido "
                                               "fonte apresentados na tela não foram salvos. Deseja sair sem salvar ?")))
                return;
        }
    }
    QDialog::reject();
}

void TfrmInformacoesSN::Salvar()
{
    if (!m_processado || m_salvo)
        return;
    const QString p = periodo();
    const QString tipo = rbRetificadora->isChecked() ? QStringLiteral("R") : QStringLiteral("N");
    TInformacoesSN c = campos();
    bool existem = false;
    try {
        existem = c.categoria != 2 && ExistemDocumentos(*m_ctx.con, m_ctx.IdAtivo, p);
    } catch (const EBancoDados& e) {
        // A month that could not be read is no month without documents: the category checks would pass or
        // fail on a guess.
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    const QString numero = cnpj();
    bool perguntaFeita = false;
    TPassoSN passo;
    for (;;) {
        passo = ChecaSalvarSN(c, existem, numero, perguntaFeita);
        if (passo.tipo == TPassoSN::Tipo::Falha) {
            pcPaginas->setCurrentWidget(tsInformacoes);
            if (passo.zera == QLatin1String("cbAliquotas"))
                cbAliquotas->setEditText(QStringLiteral("0,00"));
            else if (TEdValor* v = campo(passo.zera.toLatin1().constData()))
                v->defineValor(Money());
            MostraFalha(*m_ctx.dialogos, this, passo.falha);
            return;
        }
        if (passo.tipo == TPassoSN::Tipo::Pergunta) {
            if (!PerguntaNao(*m_ctx.dialogos, passo.pergunta))
                return;
            perguntaFeita = true;
            continue;
        }
        break;
    }
    c.categoria = passo.categoria;
    // A typed date that is no date is refused, never taken as "no date".
    if (!fraRecibo->saiData()) {
        pcPaginas->setCurrentWidget(fraRecibo);
        fraRecibo->edtDataSituacao->setFocus();
        return;
    }
    TCriticaRecibo critica(*m_ctx.relogio, *m_ctx.dialogos);
    fraRecibo->preenche(critica);
    if (tipo == QLatin1String("N") && !critica.Critica(p)) {
        MostraFalha(*m_ctx.dialogos, this, fraRecibo->falha(critica));
        return;
    }
    TZelSN z(*m_ctx.dtm);
    z.IdSN = m_idSN;
    z.IdContribuinte = m_ctx.IdAtivo;
    z.Periodo = p;
    z.Tipo = tipo;
    z.info = c;
    z.NumRecibo = critica.NumRecibo().trimmed();
    z.sitCadastroContrib = critica.TipoEntrega();
    z.dataSitCadastro = critica.DataSituacao();
    const bool inclusao = m_idSN == 0;
    QString erro;
    if (!(inclusao ? z.Incluir(m_ctx.relogio->agora(), &erro) : z.Alterar(m_ctx.relogio->agora(), &erro))) {
        Informa(*m_ctx.dialogos, QString::fromUtf8(inclusao ? "Erro na Inclusão das\nInformações do Simples Nacional"
                                                            : "Erro na Alteração das\nInformações do Simples Nacional") +
                                     (erro.isEmpty() ? QString() : QStringLiteral("\n") + erro));
        return;
    }
    m_salvo = true;
    m_objeto = c;
    m_idSN = z.IdSN;
    btnSalvar->setEnabled(false);
    Informa(*m_ctx.dialogos, QString::fromUtf8(inclusao ? "Informações Simples Nacional Incluídas com sucesso!"
                                                        : "Informações do Simples Nacional Alteradas com sucesso!"));
    grbInf1->setEnabled(false);
    grbInf3->setEnabled(false);
    if (!inclusao)
        rdgTipo->setEnabled(false);
}
