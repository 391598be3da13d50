#include "declarations/screens/untIncluirZEL.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/screens/untCredPresumido.h"
#include "declarations/screens/untCredProgGov.h"
#include "declarations/screens/untFraRecibo.h"
#include "declarations/untRecibo.h"
#include "declarations/screens/untCabecalhoDeclaracao.h"
#include "widgets/Enter.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

namespace {

// One amount field of the screen: the model value it edits (none for a computed field) or the function
// that computes what it shows.
struct TCampoZel {
    const char* nome;
    const char* rotulo;
    Money TApuracaoNormal::*editado;
    Money (TApuracaoNormal::*calculado)() const;
};

using A = TApuracaoNormal;
const TCampoZel kCredito[] = {
    {"edtCredEntrada", "1- Por entradas", nullptr, nullptr},
    {"edtCredAtivoImobilizado", "2- Ativo Imobilizado", &A::c2, nullptr},
    {"edtCredAcumulado", "3- Cred. Acum. rec. p/ transf.", nullptr, nullptr},
    {"edtCredICMS_AR", "4- ICMS antecipado a recolher", &A::c4, nullptr},
    {"edtCredICMS_JR", "5- ICMS antecipado recolhido", &A::c5, nullptr},
    {"edtCredOutros", "6- Outros créditos", &A::c6, nullptr},
    {"edtCredEstornoDeb", "7- Estorno de Débito", &A::c7, nullptr},
    {"edtCredPeriodo", "8- Crédito do Período", nullptr, &A::c8},
    {"edtCredSaldoAnterior", "9- Saldo Credor Anterior", &A::c9, nullptr},
    {"edtCredTotal", "10- Total do Crédito", nullptr, &A::c10},
};
const TCampoZel kDebito[] = {
    {"edtDebSaidas", "11- Por saídas", nullptr, &A::d11},
    {"edtDebTransCredAC", "12- Transf. créditos acumulados", nullptr, nullptr},
    {"edtDebOutros", "13- Outros débitos", &A::d13, nullptr},
    {"edtDebEstornoCred", "14- Estorno de créditos", &A::d14, nullptr},
    {"edtDebTotal", "15- Total do Débito", nullptr, &A::d15},
};
const TCampoZel kApuracao[] = {
    {"edtSaldoCredorPeriodo", "16- Saldo Credor Período", nullptr, &A::s16},
    {"edtImpostoRecolher", "17- Imposto a Recolher", nullptr, &A::s17},
};
const TCampoZel kMirvelIcms[] = {{"edtMirvelIcms", "18- MIRVEL-ZR - ICMS Normal", &A::m18, nullptr}};
const TCampoZel kOutras[] = {{"edtDifAliquota", "19-Diferença de alíquota a recolher", &A::d19, nullptr}};
const TCampoZel kMirvelDifAliq[] = {{"edtMirvelDifAliq", "20- MIRVEL-ZR - Dif.Alíquota", &A::m20, nullptr}};
const TCampoZel kRetido[] = {{"edtRetidoOutrasUF", "21- ICMS retido por outras UF", &A::d21, nullptr}};
const TCampoZel kSubstituicao[] = {
    {"edtIcmsSTEntradas", "01-Entradas", &A::s01, nullptr},
    {"edtIcmsST_JR", "02-Subst. recolhida", &A::s02, nullptr},
    {"edtIcmsST_AR", "03-Subst. a recolher", nullptr, &A::s03},
    {"edtSTSaidas", "04-ICMS Subst. \nSaídas Internas", nullptr, &A::s04},
    {"edtST_Fonte", "05-ICMS Subst.\nRegime Fonte", nullptr, &A::s05},
    {"edtTotalST", "06-Total Subst\nInternas", nullptr, &A::s06},
};
const TCampoZel kDeducoes[] = {
    {"edtMirvelSubEntrada", "07- Entradas", &A::m07, nullptr},
    {"edtMirvelSubSaida", "09- Saídas Internas", &A::m09, nullptr},
    {"edtMirvelRegFonte", "10- Regime Fonte", &A::m10, nullptr},
};

// The fields Processa fills that are not computed from others.
const struct {
    const char* nome;
    Money TApuracaoNormal::*valor;
} kDosDocumentos[] = {{"edtCredEntrada", &A::c1}, {"edtCredAcumulado", &A::c3}, {"edtDebTransCredAC", &A::d12}};

template <std::size_t N>
const TCampoZel* procura(const TCampoZel (&lista)[N], const QString& nome)
{
    for (const TCampoZel& c : lista)
        if (nome == QLatin1String(c.nome))
            return &c;
    return nullptr;
}

const TCampoZel* descricao(const QString& nome)
{
    for (const TCampoZel* c : {procura(kCredito, nome), procura(kDebito, nome), procura(kApuracao, nome),
                               procura(kMirvelIcms, nome), procura(kOutras, nome), procura(kMirvelDifAliq, nome),
                               procura(kRetido, nome), procura(kSubstituicao, nome), procura(kDeducoes, nome)})
        if (c)
            return c;
    return nullptr;
}

QString emDinheiro(Money m)
{
    return m.toString().rightJustified(8);
}

} // namespace

TfrmIncluirZEL::TfrmIncluirZEL(TContexto& ctx, int idZel, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_idZel(idZel)
{
    setObjectName(QStringLiteral("frmIncluirZEL"));
    setWindowTitle(QString::fromUtf8(idZel ? "Alterar Apuração do Imposto" : "Apuração do Imposto - Regime Normal"));
    new TkEnterAsTab(this);
    m_regras = new TRegrasSaida(this);

    {
        const TCabecalhoDeclaracao c = MontaCabecalhoDeclaracao(this, AnosDesde(m_ctx.relogio->hoje().year(), 2002), " Finalidade da Declaração ");
        grbPeriodo = c.grbPeriodo;
        cmbMes = c.cmbMes;
        cmbAno = c.cmbAno;
        btnProcessa = c.btnProcessa;
        rdgTipo = c.rdgTipo;
        rbNormal = c.rbNormal;
        rbRetificadora = c.rbRetificadora;
    }

    auto grupo = [this](QWidget* pai, const char* nome, const char* titulo) {
        return Nomeado(new QGroupBox(QString::fromUtf8(titulo), pai), nome);
    };
    auto campos = [this](QGroupBox* g, const auto& lista, int colunas) {
        auto* l = qobject_cast<QGridLayout*>(g->layout());
        if (!l)
            l = new QGridLayout(g);
        int i = l->count() / 2;
        for (const TCampoZel& c : lista) {
            auto* v = Nomeado(new TEdValor(g), c.nome);
            // Two decimals on the screen, as everywhere; the model keeps the figures to the ten-thousandth.
            v->setDuasCasas(true);
            if (!c.editado) {
                v->setReadOnly(true);
                v->setFocusPolicy(Qt::NoFocus);
                v->setPermiteNegativo(true);
            }
            m_campos.insert(QString::fromLatin1(c.nome), v);
            l->addWidget(new QLabel(QString::fromUtf8(c.rotulo), g), (i / colunas) * 2, i % colunas);
            l->addWidget(v, (i / colunas) * 2 + 1, i % colunas);
            ++i;
        }
    };

    pcPaginas = Nomeado(new QTabWidget(this), "pcPaginas");
    tsApuracao = Nomeado(new QWidget(pcPaginas), "tsApuracao");
    grbCredito = grupo(tsApuracao, "grbCredito", " Crédito de ICMS ");
    campos(grbCredito, kCredito, 4);
    btnCredPresumido = Nomeado(new QPushButton(QString::fromUtf8("Créditos Presumidos"), grbCredito), "btnCredPresumido");
    btnCredProgGov = Nomeado(new QPushButton(QString::fromUtf8("Créditos Prog. de Governo"), grbCredito), "btnCredProgGov");
    lblSomaCredPresumido = Nomeado(new QLabel(QStringLiteral("0,00"), grbCredito), "lblSomaCredPresumido");
    lblSomaCredGoverno = Nomeado(new QLabel(QStringLiteral("0,00"), grbCredito), "lblSomaCredGoverno");
    {
        auto* l = qobject_cast<QGridLayout*>(grbCredito->layout());
        const int linha = l->rowCount();
        l->addWidget(btnCredPresumido, linha, 0);
        l->addWidget(lblSomaCredPresumido, linha, 1);
        l->addWidget(btnCredProgGov, linha, 2);
        l->addWidget(lblSomaCredGoverno, linha, 3);
    }
    grbDebito = grupo(tsApuracao, "grbDebito", " Débito de ICMS ");
    campos(grbDebito, kDebito, 5);
    grbApuracao = grupo(tsApuracao, "grbApuracao", " Apuração do ICMS Normal ");
    campos(grbApuracao, kApuracao, 3);
    panMirvelIcms = grupo(grbApuracao, "panMirvelIcms", "");
    campos(panMirvelIcms, kMirvelIcms, 1);
    qobject_cast<QGridLayout*>(grbApuracao->layout())->addWidget(panMirvelIcms, 0, 2, 2, 1);
    const QString dicaMirvel = QString::fromUtf8("Só permite informar caso tenha saídas nos registros 50, 60, 61 e 70.");
    panMirvelIcms->setToolTip(dicaMirvel);
    campo("edtMirvelIcms")->setToolTip(dicaMirvel);
    grbOutras = grupo(tsApuracao, "grbOutras", " Outras Informações ");
    campos(grbOutras, kOutras, 3);
    panMirvelDifAliq = grupo(grbOutras, "panMirvelDifAliq", "");
    campos(panMirvelDifAliq, kMirvelDifAliq, 1);
    qobject_cast<QGridLayout*>(grbOutras->layout())->addWidget(panMirvelDifAliq, 0, 1, 2, 1);
    {
        auto* l = qobject_cast<QGridLayout*>(grbOutras->layout());
        auto* v = Nomeado(new TEdValor(grbOutras), kRetido[0].nome);
        v->setDuasCasas(true);
        m_campos.insert(QString::fromLatin1(kRetido[0].nome), v);
        v->setToolTip(QString::fromUtf8("Esse campo será preenchido pelo contribuinte substituído com o somatório das "
                                        "GNREs que acompanharam as NF de entradas de outros estados"));
        l->addWidget(new QLabel(QString::fromUtf8(kRetido[0].rotulo), grbOutras), 0, 2);
        l->addWidget(v, 1, 2);
    }
    {
        auto* l = new QVBoxLayout(tsApuracao);
        for (QWidget* w : {grbCredito, grbDebito, grbApuracao, grbOutras})
            l->addWidget(w);
    }
    pcPaginas->addTab(tsApuracao, QString::fromUtf8("Apuração do ICMS"));

    tsSubstituicao = Nomeado(new QWidget(pcPaginas), "tsSubstituicao");
    grbSubstituicao = grupo(tsSubstituicao, "grbSubstituicao", " Apuração do ICMS Substituição Tributária ");
    campos(grbSubstituicao, kSubstituicao, 3);
    grbDeducaoMirvel = grupo(tsSubstituicao, "grbDeducaoMirvel", " Deduções MIRVEL-ZR ");
    campos(grbDeducaoMirvel, kDeducoes, 3);
    {
        auto* l = new QVBoxLayout(tsSubstituicao);
        l->addWidget(grbSubstituicao);
        l->addWidget(grbDeducaoMirvel);
        l->addStretch();
    }
    pcPaginas->addTab(tsSubstituicao, QString::fromUtf8("Substituição Tributária"));
    fraRecibo = new TfraRecibo(m_ctx, TfraRecibo::Variante::Normal, pcPaginas);
    fraRecibo->setObjectName(QStringLiteral("fraRecibo"));
    pcPaginas->addTab(fraRecibo, QStringLiteral("Recibo"));

    btnSalvarZel = Nomeado(new QPushButton(QString::fromUtf8("&Salvar Apuração"), this), "btnSalvarZel");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("&Fechar"), this), "btnFechar");
    stbStatus = Nomeado(new QStatusBar(this), "stbStatus");
    stbStatus->showMessage(QString::fromUtf8("Clique no botão Processa para ativar os campos."));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {btnSalvarZel, btnFechar}) {
        b->setAutoDefault(false);
        botoes->addWidget(b);
    }
    auto* topo = new QHBoxLayout;
    topo->addWidget(grbPeriodo);
    topo->addWidget(rdgTipo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(pcPaginas, 1);
    layout->addLayout(botoes);
    layout->addWidget(stbStatus);

    m_presumido = std::make_unique<TfrmCredPresumido>(m_ctx, this);
    m_programas = std::make_unique<TfrmCredProgGov>(m_ctx, [this] { return periodo(); }, this);

    connect(btnProcessa, &QPushButton::clicked, this, &TfrmIncluirZEL::Processa);
    connect(btnSalvarZel, &QPushButton::clicked, this, &TfrmIncluirZEL::Salvar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(rbNormal, &QRadioButton::clicked, this, &TfrmIncluirZEL::mudaTipo);
    connect(rbRetificadora, &QRadioButton::clicked, this, &TfrmIncluirZEL::mudaTipo);
    connect(btnCredPresumido, &QPushButton::clicked, this, [this] {
        m_presumido->show();
        m_presumido->raise();
    });
    connect(btnCredProgGov, &QPushButton::clicked, this, [this] { m_ctx.dialogos->executaModal(m_programas.get()); });
    connect(m_presumido.get(), &TfrmCredPresumido::fechou, this, &TfrmIncluirZEL::aoFecharCreditos);
    connect(m_programas.get(), &TfrmCredProgGov::fechou, this, &TfrmIncluirZEL::aoFecharCreditos);
    connect(m_presumido.get(), &TfrmCredPresumido::mudou, this, [this] {
        leCampos();
        mostra();
    });

    m_regras->silencioso(btnFechar);
    // Ahead of the common check, which shows the amount taken back with two decimals: the field shows two and
    // the file carries cents, so a typed fraction of a cent would be held without ever being seen.
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it) {
        const TCampoZel* c = descricao(it.key());
        if (!c || !c->editado)
            continue;
        m_regras->aoSair(it.value(), [this, v = it.value()] {
            const auto lido = Money::parse(v->text());
            if (!lido || !lido->hasFractionOfCent())
                return true;
            Informa(*m_ctx.dialogos, QString::fromUtf8("O valor não pode ter mais de duas casas decimais."));
            return false;
        });
    }
    RegraDosValores(*m_regras, this, *m_ctx.dialogos);
    m_regras->aoSair(cmbMes, [this] { return saiMes(); });
    m_regras->aoSair(cmbAno, [this] { return saiAno(); });
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it) {
        const TCampoZel* c = descricao(it.key());
        if (!c || !c->editado)
            continue;
        m_regras->aoSair(it.value(), [this] {
            leCampos();
            mostra();
            return true;
        });
    }
    m_regras->aoSair(campo("edtMirvelIcms"), [this] { return saiDeducao("edtMirvelIcms", m_modelo.debitoSaidas, false); });
    m_regras->aoSair(campo("edtMirvelDifAliq"), [this] { return saiDeducao("edtMirvelDifAliq", m_modelo.d19, false); });
    m_regras->aoSair(campo("edtMirvelSubEntrada"), [this] { return saiDeducao("edtMirvelSubEntrada", m_modelo.s01, false); });
    m_regras->aoSair(campo("edtMirvelSubSaida"), [this] { return saiDeducao("edtMirvelSubSaida", m_modelo.substSaidas, true); });
    m_regras->aoSair(campo("edtMirvelRegFonte"), [this] { return saiDeducao("edtMirvelRegFonte", m_modelo.substFonte, true); });
    m_regras->aoSair(campo("edtIcmsST_JR"), [this] {
        if (m_modelo.s03().isNegative()) {
            Informa(*m_ctx.dialogos, QStringLiteral("Resultado Negativo!"));
            campo("edtIcmsSTEntradas")->setFocus();
        }
        return true;
    });

    habilita(false);
    btnSalvarZel->setEnabled(false);
}

TfrmIncluirZEL::~TfrmIncluirZEL() = default;

TEdValor* TfrmIncluirZEL::campo(const char* nome) const
{
    return m_campos.value(QString::fromLatin1(nome));
}

void TfrmIncluirZEL::aoFecharCreditos()
{
    leCampos();
    mostra();
    campo("edtCredEstornoDeb")->setFocus();
}

QString TfrmIncluirZEL::periodo() const
{
    return cmbAno->currentText().trimmed().rightJustified(4, QLatin1Char('0')) +
           QString::number(cmbMes->currentText().trimmed().toInt()).rightJustified(2, QLatin1Char('0'));
}

void TfrmIncluirZEL::habilita(bool sim)
{
    pcPaginas->setEnabled(sim);
    rdgTipo->setEnabled(sim);
    for (QGroupBox* g : {grbCredito, grbDebito, grbApuracao, grbOutras})
        g->setEnabled(sim);
}

void TfrmIncluirZEL::leCampos()
{
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it) {
        const TCampoZel* c = descricao(it.key());
        if (c && c->editado)
            m_modelo.*(c->editado) = it.value()->valor();
    }
    m_presumido->valores(m_modelo.presumido);
    m_modelo.chqHabitacao = m_programas->TotalChqHabitacao();
    m_modelo.chqEducacao = m_programas->TotalChqEducacao();
}

void TfrmIncluirZEL::mostra()
{
    for (const auto& d : kDosDocumentos)
        campo(d.nome)->defineValor(m_modelo.*(d.valor));
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it) {
        const TCampoZel* c = descricao(it.key());
        if (!c)
            continue;
        if (c->calculado)
            it.value()->defineValor((m_modelo.*(c->calculado))());
        else if (c->editado && !it.value()->hasFocus())
            it.value()->defineValor(m_modelo.*(c->editado));
    }
    lblSomaCredPresumido->setText(emDinheiro(m_modelo.credPresumido()));
    lblSomaCredGoverno->setText(emDinheiro(m_modelo.credProgramas()));
}

bool TfrmIncluirZEL::saiDeducao(const char* nome, Money base, bool desabilitaAoAplicar)
{
    leCampos();
    TEdValor* c = campo(nome);
    const Money deducao = c->valor();
    if (!DeducaoAceita(deducao, base)) {
        mostra();
        Informa(*m_ctx.dialogos, QString::fromUtf8("Valor da Dedução MIRVEL-ZR \nmaior que limite máximo!"));
        return false;
    }
    mostra();
    if (desabilitaAoAplicar && !deducao.isZero())
        c->setEnabled(false);
    return true;
}

bool TfrmIncluirZEL::saiMes()
{
    bool ok = false;
    const int mes = cmbMes->currentText().trimmed().toInt(&ok);
    // Month 0 or below is no month either.
    if (ok && mes >= 1 && mes <= 12) {
        cmbMes->setEditText(QString::number(mes));
        return true;
    }
    cmbMes->setEditText(QStringLiteral("1"));
    cmbMes->setFocus();
    return false;
}

bool TfrmIncluirZEL::saiAno()
{
    bool ok = false;
    const int ano = cmbAno->currentText().trimmed().toInt(&ok);
    if (ok && ano > 1998)
        return true;
    cmbAno->setEditText(ok ? QStringLiteral("1999") : QStringLiteral("2005"));
    cmbAno->setFocus();
    return false;
}

void TfrmIncluirZEL::mudaTipo()
{
    const bool normal = rbNormal->isChecked();
    const int recibo = pcPaginas->indexOf(fraRecibo);
    pcPaginas->setTabVisible(recibo, m_processado && TfraRecibo::Visivel(periodo(), normal));
    if (!normal)
        pcPaginas->setCurrentIndex(0);
    if (pcPaginas->currentIndex() == 0)
        campo("edtCredAtivoImobilizado")->setFocus();
}

void TfrmIncluirZEL::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    pcPaginas->setTabVisible(pcPaginas->indexOf(fraRecibo), false);
    if (m_idZel == 0) {
        cmbMes->setEditText(QStringLiteral("1"));
        cmbAno->setEditText(QString::number(m_ctx.relogio->hoje().year()));
        fraRecibo->Processa();
        cmbMes->setFocus();
        return;
    }
    carrega();
}

void TfrmIncluirZEL::carrega()
{
    TZel z(*m_ctx.dtm);
    bool achou = false;
    try {
        // By key and taxpayer: another taxpayer's key shows nothing and changes nothing.
        achou = z.CarregarId(m_idZel, m_ctx.IdAtivo);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
    if (!achou) {
        btnProcessa->setEnabled(false);
        btnFechar->setFocus();
        return;
    }
    m_periodoCarregado = z.Periodo;
    cmbAno->setEditText(z.Periodo.left(4));
    cmbMes->setEditText(z.Periodo.mid(4, 2));
    (z.Tipo == QLatin1String("R") ? rbRetificadora : rbNormal)->setChecked(true);
    cmbMes->setEnabled(false);
    cmbAno->setEnabled(false);
    m_programas->Carrega();
    m_modelo = TApuracaoNormal::DaLinha(z.valores);
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it)
        if (const TCampoZel* c = descricao(it.key()); c && c->editado)
            it.value()->defineValor(m_modelo.*(c->editado));
    {
        // Filling the window is no change of the user's: its reaction would read the fields half-filled.
        const QSignalBlocker bloqueio(m_presumido.get());
        m_presumido->defineValores(m_modelo.presumido);
    }
    leCampos();
    mostra();
    fraRecibo->defineDeclaracao(z.Periodo, false);
    fraRecibo->mostraEntrega(z.NumRecibo, z.sitCadastroContrib, z.dataSitCadastro);
    btnProcessa->setFocus();
}

void TfrmIncluirZEL::Processa()
{
    if (m_processado)
        return;
    if (cmbMes->isEnabled() && !saiMes())
        return;
    if (cmbAno->isEnabled() && !saiAno())
        return;
    const int mes = cmbMes->currentText().trimmed().toInt();
    const int ano = cmbAno->currentText().trimmed().toInt();
    cmbMes->setEditText(QString::number(mes));
    cmbAno->setEditText(QString::number(ano));
    const QString p = periodo();
    const bool inclusao = m_idZel == 0;
    if (inclusao) {
        fraRecibo->Processa();
        try {
            if (ExisteZel(*m_ctx.dtm, m_ctx.IdAtivo, p)) {
                Informa(*m_ctx.dialogos, QString::fromUtf8("Este Período já está cadastrado!"));
                return;
            }
        } catch (const EBancoDados& e) {
            m_ctx.dialogos->mensagemSimples(e.mensagem());
            return;
        }
    }
    leCampos();
    TApuracaoNormal a = m_modelo;
    try {
        ProcessaNormal(*m_ctx.con, m_ctx.IdAtivo, mes, ano, a);
    } catch (const EBancoDados& e) {
        // Nothing is taken from a half-read month: "Processa" can be tried again.
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    m_modelo = a;
    // A deduction kept from when the month had exits, which the closed field 18 could never correct.
    const TFalha deducaoZerada = m_modelo.ZeraDeducao18SemSaidas();
    mostra();
    m_processado = true;
    habilita(true);
    // The fund and the programmes exist from their first periods on.
    const bool fundo = p >= QLatin1String("200501");
    grbDeducaoMirvel->setEnabled(fundo);
    panMirvelIcms->setEnabled(fundo && m_modelo.permiteDeducao18());
    panMirvelDifAliq->setEnabled(fundo);
    btnCredPresumido->setEnabled(fundo);
    btnCredProgGov->setEnabled(p >= QLatin1String("200601"));
    fraRecibo->defineDeclaracao(p, inclusao);
    pcPaginas->setTabVisible(pcPaginas->indexOf(fraRecibo), TfraRecibo::Visivel(p, rbNormal->isChecked()));
    btnSalvarZel->setEnabled(true);
    cmbMes->setEnabled(false);
    cmbAno->setEnabled(false);
    btnProcessa->setEnabled(false);
    stbStatus->clearMessage();
    pcPaginas->setCurrentIndex(0);
    campo("edtCredAtivoImobilizado")->setFocus();
    if (deducaoZerada.falhou())
        MostraFalha(*m_ctx.dialogos, this, deducaoZerada);
}

void TfrmIncluirZEL::Salvar()
{
    if (!m_processado)
        return;
    leCampos();
    if (const TFalha f = m_modelo.ChecaSalvar(); f.falhou()) {
        if (QWidget* w = findChild<QWidget*>(f.campo))
            pcPaginas->setCurrentWidget(tsSubstituicao->isAncestorOf(w) ? tsSubstituicao : tsApuracao);
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    const QString p = periodo();
    const QString tipo = rbRetificadora->isChecked() ? QStringLiteral("R") : QStringLiteral("N");
    // A typed date that is no date is refused, never taken as "no date".
    if (!fraRecibo->saiData()) {
        pcPaginas->setCurrentWidget(fraRecibo);
        fraRecibo->edtDataSituacao->setFocus();
        return;
    }
    TCriticaRecibo critica(*m_ctx.relogio, *m_ctx.dialogos);
    fraRecibo->preenche(critica);
    if (tipo == QLatin1String("N") && !critica.Critica(p)) {
        // This screen's refused delivery leaves the focus on "&Fechar", with the page "Recibo" in front.
        MostraPaginaDe(fraRecibo);
        MostraFalha(*m_ctx.dialogos, this, {critica.Mensagem(), btnFechar->objectName()});
        return;
    }

    TZel z(*m_ctx.dtm);
    z.IDZel = m_idZel;
    z.IdContribuinte = m_ctx.IdAtivo;
    z.Periodo = p;
    z.Tipo = tipo;
    z.valores = m_modelo.valores();
    z.NumRecibo = critica.NumRecibo().trimmed();
    z.sitCadastroContrib = critica.TipoEntrega();
    z.dataSitCadastro = critica.DataSituacao();
    z.DtGeracao = m_ctx.relogio->agora();
    const bool inclusao = m_idZel == 0;
    QString erro;
    bool gravou = false;
    try {
        // The declaration and its programme accounts together, or neither.
        TTransacao transacao(*m_ctx.con);
        if (!(inclusao ? z.Incluir(&erro) : z.Alterar(&erro))) {
            erro = QString::fromUtf8(inclusao ? "Erro na Inclusão dos\ndados da Apuração do Imposto"
                                              : "Erro na Alteração dos\ndados da Apuração do Imposto") +
                   (erro.isEmpty() ? QString() : QStringLiteral("\n") + erro);
        } else if (QString mensagem; !m_programas->SalvaCredGoverno(&mensagem)) {
            erro = mensagem;
        } else {
            transacao.commit();
            gravou = true;
        }
    } catch (const EBancoDados& e) {
        erro = e.mensagem();
    }
    if (!gravou) {
        // Rolled back: the typed values stay for another try, the accounts as they were before it.
        m_programas->desfazGravacao();
        Informa(*m_ctx.dialogos, erro);
        return;
    }
    if (inclusao)
        m_idZel = z.IDZel;
    btnSalvarZel->setEnabled(false);
    pcPaginas->setEnabled(false);
    rdgTipo->setEnabled(false);
    m_programas->marcaRecarga();
    Informa(*m_ctx.dialogos, QString::fromUtf8(inclusao ? "Apuração Incluída com sucesso!" : "Apuração Alterada com sucesso!"));
    btnFechar->setFocus();
}
