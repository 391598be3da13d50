#include "declarations/screens/untIncluirZELEPP.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/screens/untCabecalhoDeclaracao.h"
#include "widgets/Enter.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

namespace {

void linha(QGridLayout* g, QWidget* pai, const char* rotulo, QWidget* campo)
{
    const int r = g->rowCount();
    g->addWidget(new QLabel(QString::fromUtf8(rotulo), pai), r, 0);
    g->addWidget(campo, r, 1);
}

} // namespace

TEdValor* TfrmCamposEPP::valor(QWidget* pai, const char* nome, bool calculado)
{
    auto* v = Nomeado(new TEdValor(pai), nome);
    v->setMinimumWidth(130);
    if (calculado) {
        v->setReadOnly(true);
        v->setFocusPolicy(Qt::NoFocus);
        v->setPermiteNegativo(true);
    }
    m_campos.insert(QString::fromLatin1(nome), v);
    return v;
}

TEdValor* TfrmCamposEPP::campo(const char* nome) const
{
    return m_campos.value(QString::fromLatin1(nome));
}

TfrmCamposEPP::TfrmCamposEPP(TContexto& ctx, bool mp3706, int idEpp, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_mp3706(mp3706), m_idEpp(idEpp)
{
    m_modelo.mp3706 = mp3706;
    setObjectName(QString::fromLatin1(mp3706 ? "frmApuraZELEPP2006" : "frmIncluirZELEPP"));
    if (mp3706)
        setWindowTitle(QString::fromUtf8(idEpp ? "Alterar Apuração Regime EPP - MP 37/06"
                                               : "Apuração Regime EPP - Medida Provisória 37/06"));
    else
        setWindowTitle(QString::fromUtf8(idEpp ? "Alterar Apuração do Imposto" : "Apuração do Imposto - Regime EPP"));
    new TkEnterAsTab(this);
    m_regras = new TRegrasSaida(this);

    {
        const TCabecalhoDeclaracao c = MontaCabecalhoDeclaracao(this, mp3706 ? AnosDesde(2007, 2006) : AnosDesde(2006, 2004), " Finalidade da Declaração ");
        grbPeriodo = c.grbPeriodo;
        cmbMes = c.cmbMes;
        cmbAno = c.cmbAno;
        btnProcessa = c.btnProcessa;
        rdgTipo = c.rdgTipo;
        rbNormal = c.rbNormal;
        rbRetificadora = c.rbRetificadora;
    }

    pcPaginas = Nomeado(new QTabWidget(this), "pcPaginas");
    auto* apuracao = new QWidget(pcPaginas);
    grbBase = Nomeado(new QGroupBox(apuracao), "grbBase");
    auto* gb = new QGridLayout(grbBase);
    linha(gb, grbBase, "Base de Recolhimento\nApurada", valor(grbBase, "edtBase_RecApurada", true));
    linha(gb, grbBase, "Média Mensal de Entradas", valor(grbBase, "edtMediaEntradas", false));
    linha(gb, grbBase, "Base de Recolhimento Efetiva", valor(grbBase, "edtBase_RecEfetiva", true));
    cmbFaixa = nullptr;
    edtPercRecolhimento = nullptr;
    edtNum_Empreg = nullptr;
    edtCred_Aq_Inter = nullptr;
    edtPerc_Cred_Pres = nullptr;
    if (mp3706) {
        edtPercRecolhimento = CampoTexto(grbBase, "edtPercRecolhimento", 8);
        edtPercRecolhimento->setText(QStringLiteral("1,0 %"));
        edtPercRecolhimento->setReadOnly(true);
        edtPercRecolhimento->setFocusPolicy(Qt::NoFocus);
        linha(gb, grbBase, "Percentual de Recolhimento", edtPercRecolhimento);
    } else {
        cmbFaixa = Nomeado(new QComboBox(grbBase), "cmbFaixa");
        cmbFaixa->addItems({QStringLiteral("Selecione"), QString::fromUtf8("1ª Faixa - 1,5%"), QString::fromUtf8("2ª Faixa - 2,0%"),
                            QString::fromUtf8("3ª Faixa - 2,5%"), QString::fromUtf8("4ª Faixa - 3,0%"),
                            QString::fromUtf8("5ª Faixa - 3,5%")});
        linha(gb, grbBase, "Faixa de Recolhimento", cmbFaixa);
    }
    linha(gb, grbBase, "Imposto Devido", valor(grbBase, "edtImp_Devido", true));

    grbCreditos = Nomeado(new QGroupBox(apuracao), "grbCreditos");
    auto* gc = new QGridLayout(grbCreditos);
    if (mp3706) {
        linha(gc, grbCreditos, "Créditos TEF/ECF", valor(grbCreditos, "edtCredTEF_ECF", false));
        linha(gc, grbCreditos, "Crédito Cheque Moradia", valor(grbCreditos, "edtCredChqMoradia", false));
        linha(gc, grbCreditos, "Crédito Cheque Educação", valor(grbCreditos, "edtCredChqEducacao", false));
        linha(gc, grbCreditos, "Total do Crédito Outorgado", valor(grbCreditos, "edtCredOutorgado", true));
    } else {
        edtNum_Empreg = CampoTexto(grbCreditos, "edtNum_Empreg", 6, "-?[0-9]{0,5}");
        edtNum_Empreg->setMinimumWidth(130);
        linha(gc, grbCreditos, "Número de Empregados", edtNum_Empreg);
        linha(gc, grbCreditos, "Crédito por Empregados", valor(grbCreditos, "edtCredEmpreg", true));
        linha(gc, grbCreditos, "Total de Aquisições", valor(grbCreditos, "edtTotalAquis", true));
        linha(gc, grbCreditos, "Aquisições Internas", valor(grbCreditos, "edtAquis_Internas", true));
        edtCred_Aq_Inter = CampoTexto(grbCreditos, "edtCred_Aq_Inter", 4);
        edtPerc_Cred_Pres = CampoTexto(grbCreditos, "edtPerc_Cred_Pres", 4);
        for (QLineEdit* e : {edtCred_Aq_Inter, edtPerc_Cred_Pres}) {
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
            e->setAlignment(Qt::AlignRight);
        }
        linha(gc, grbCreditos, "Crédito por Aquisições Internas", edtCred_Aq_Inter);
        linha(gc, grbCreditos, "Percentual de Crédito Presumido", edtPerc_Cred_Pres);
        linha(gc, grbCreditos, "Valor do Crédito Presumido", valor(grbCreditos, "edtCred_Presumido", true));
    }
    linha(gc, grbCreditos, "Imposto a Recolher", valor(grbCreditos, "edtImp_Recolher", true));
    {
        auto* l = new QHBoxLayout(apuracao);
        l->addWidget(grbBase);
        l->addWidget(grbCreditos);
    }
    pcPaginas->addTab(apuracao, QString::fromUtf8("Apuração"));

    auto* complementares = new QWidget(pcPaginas);
    grbEntradas = Nomeado(new QGroupBox(QString::fromUtf8(" Apuração do ICMS Substituição Tributária - Entradas "),
                                        complementares),
                          "grbEntradas");
    auto* ge = new QGridLayout(grbEntradas);
    linha(ge, grbEntradas, "02 - Entradas", valor(grbEntradas, "edtIcmsSTEntradas", false));
    linha(ge, grbEntradas, "03-Subst. recolhida", valor(grbEntradas, "edtIcmsST_JR", false));
    linha(ge, grbEntradas, "04-Subst. a recolher", valor(grbEntradas, "edtIcmsST_AR", true));
    grbDifAliquota = Nomeado(new QGroupBox(complementares), "grbDifAliquota");
    auto* gd = new QGridLayout(grbDifAliquota);
    linha(gd, grbDifAliquota, "01- ICMS Dif. de alíquota a recolher", valor(grbDifAliquota, "edtDifAliquota", false));
    grbSaidas = Nomeado(new QGroupBox(QString::fromUtf8(" Apuração do ICMS Substituição Tributária - Saídas "),
                                      complementares),
                        "grbSaidas");
    auto* gs = new QGridLayout(grbSaidas);
    linha(gs, grbSaidas, "05 - ICMS Subst. \nSaídas Internas", valor(grbSaidas, "edtSTSaidas", true));
    linha(gs, grbSaidas, "06 - ICMS Subst.\nRegime Fonte", valor(grbSaidas, "edtSTRegFonte", true));
    linha(gs, grbSaidas, "07 - Total Subst\nInternas", valor(grbSaidas, "edtST_Total", true));
    {
        auto* l = new QVBoxLayout(complementares);
        l->addWidget(grbDifAliquota);
        l->addWidget(grbEntradas);
        l->addWidget(grbSaidas);
        l->addStretch();
    }
    pcPaginas->addTab(complementares, QString::fromUtf8("Informações Complementares"));

    btnSalvarZel = Nomeado(new QPushButton(QString::fromUtf8("&Salvar Apuração"), this), "btnSalvarZel");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("Fechar"), this), "btnFechar");
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

    connect(btnProcessa, &QPushButton::clicked, this, &TfrmCamposEPP::Processa);
    connect(btnSalvarZel, &QPushButton::clicked, this, &TfrmCamposEPP::Salvar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);

    m_regras->silencioso(btnFechar);
    RegraDosValores(*m_regras, this, *m_ctx.dialogos);
    for (auto it = m_campos.cbegin(); it != m_campos.cend(); ++it)
        if (!it.value()->isReadOnly())
            m_regras->aoSair(it.value(), [this] {
                leCampos();
                mostra();
                return true;
            });
    if (edtNum_Empreg)
        m_regras->aoSair(edtNum_Empreg, [this] {
            leCampos();
            mostra();
            return true;
        });
    if (cmbFaixa) {
        connect(cmbFaixa, &QComboBox::currentIndexChanged, this, [this] {
            leCampos();
            mostra();
        });
        m_regras->aoSair(cmbFaixa, [this] {
            if (cmbFaixa->currentIndex() > 0)
                return true;
            Informa(*m_ctx.dialogos, QStringLiteral("Selecione a Faixa de Recolhimento"));
            return false;
        });
    }
    m_regras->aoSair(campo("edtIcmsST_JR"), [this] {
        if (!m_modelo.s04().isNegative())
            return true;
        Informa(*m_ctx.dialogos, QStringLiteral("Resultado Negativo!"));
        campo("edtIcmsSTEntradas")->setFocus();
        return true;
    });

    pcPaginas->setEnabled(false);
    rdgTipo->setEnabled(false);
    btnSalvarZel->setEnabled(false);
    // The rate difference is drawn above the substitution groups though built after them.
    OrdemDeLeitura(this);
}

QString TfrmCamposEPP::periodo() const
{
    return cmbAno->currentText().trimmed().rightJustified(4, QLatin1Char('0')) +
           QString::number(cmbMes->currentText().trimmed().toInt()).rightJustified(2, QLatin1Char('0'));
}

void TfrmCamposEPP::leCampos()
{
    TApuracaoEPP& a = m_modelo;
    a.mediaEntradas = campo("edtMediaEntradas")->valor();
    if (m_mp3706) {
        a.credTEF = campo("edtCredTEF_ECF")->valor();
        a.chqMoradia = campo("edtCredChqMoradia")->valor();
        a.chqEducacao = campo("edtCredChqEducacao")->valor();
    } else {
        a.faixa = cmbFaixa->currentIndex();
        a.numEmpreg = edtNum_Empreg->text().trimmed().toInt();
    }
    a.difAliquota = campo("edtDifAliquota")->valor();
    a.s02 = campo("edtIcmsSTEntradas")->valor();
    a.s03 = campo("edtIcmsST_JR")->valor();
}

void TfrmCamposEPP::mostra()
{
    const TApuracaoEPP& a = m_modelo;
    campo("edtBase_RecApurada")->defineValor(a.recApurada);
    campo("edtBase_RecEfetiva")->defineValor(a.recEfetiva());
    campo("edtImp_Devido")->defineValor(a.impDevido());
    campo("edtImp_Recolher")->defineValor(a.impRecolher());
    if (m_mp3706) {
        campo("edtCredOutorgado")->defineValor(a.totalCredOutorgado());
    } else {
        campo("edtCredEmpreg")->defineValor(Money::fromRaw(qint64(a.credEmpreg()) * Money::Escala));
        campo("edtTotalAquis")->defineValor(a.totalAquis);
        campo("edtAquis_Internas")->defineValor(a.aquisInter);
        edtCred_Aq_Inter->setText(QString::number(a.credAqInter()));
        edtPerc_Cred_Pres->setText(QString::number(a.percCredPres()));
        campo("edtCred_Presumido")->defineValor(a.credPresumido());
    }
    campo("edtIcmsST_AR")->defineValor(a.s04());
    campo("edtSTSaidas")->defineValor(a.substSaidas);
    campo("edtSTRegFonte")->defineValor(a.regFonte);
    campo("edtST_Total")->defineValor(a.s07());
}

void TfrmCamposEPP::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    if (m_idEpp)
        carrega();
    else
        cmbMes->setFocus();
}

void TfrmCamposEPP::carrega()
{
    TZelEPP z(*m_ctx.dtm);
    bool achou = false;
    try {
        // By key and taxpayer: the row loaded here is the row saved, whatever the list does meanwhile.
        achou = z.CarregarId(m_idEpp, m_ctx.IdAtivo);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
    if (!achou) {
        btnProcessa->setEnabled(false);
        btnFechar->setFocus();
        return;
    }
    cmbAno->setEditText(z.Periodo.left(4));
    cmbMes->setEditText(QString::number(z.Periodo.mid(4, 2).toInt()));
    cmbMes->setEnabled(false);
    cmbAno->setEnabled(false);
    (z.Tipo == QLatin1String("R") ? rbRetificadora : rbNormal)->setChecked(true);
    m_modelo = z.apuracao;
    m_modelo.mp3706 = m_mp3706;
    campo("edtMediaEntradas")->defineValor(m_modelo.mediaEntradas);
    if (m_mp3706) {
        campo("edtCredTEF_ECF")->defineValor(m_modelo.credTEF);
        campo("edtCredChqMoradia")->defineValor(m_modelo.chqMoradia);
        campo("edtCredChqEducacao")->defineValor(m_modelo.chqEducacao);
    } else {
        // The stored percentage gives the bracket back: saving again keeps it. Setting it is no choice of
        // the user's: its reaction would read the fields before they are filled.
        const QSignalBlocker bloqueio(cmbFaixa);
        cmbFaixa->setCurrentIndex(m_modelo.faixa);
        edtNum_Empreg->setText(QString::number(m_modelo.numEmpreg));
    }
    campo("edtDifAliquota")->defineValor(m_modelo.difAliquota);
    campo("edtIcmsSTEntradas")->defineValor(m_modelo.s02);
    campo("edtIcmsST_JR")->defineValor(m_modelo.s03);
    mostra();
    btnProcessa->setFocus();
}

void TfrmCamposEPP::Processa()
{
    if (m_processado)
        return;
    bool okMes = false;
    bool okAno = false;
    const int mes = cmbMes->currentText().trimmed().toInt(&okMes);
    const int ano = cmbAno->currentText().trimmed().toInt(&okAno);
    const TFalha f = TApuracaoEPP::ChecaPeriodo(m_mp3706, okMes ? mes : 0, okAno ? ano : 0);
    if (f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    const QString p = periodo();
    if (m_idEpp == 0) {
        try {
            if (ExisteEpp(*m_ctx.dtm, m_ctx.IdAtivo, p)) {
                Informa(*m_ctx.dialogos, QString::fromUtf8("Este Período já está cadastrado!"));
                return;
            }
        } catch (const EBancoDados& e) {
            m_ctx.dialogos->mensagemSimples(e.mensagem());
            return;
        }
    }
    leCampos();
    TApuracaoEPP a = m_modelo;
    try {
        ProcessaEPP(*m_ctx.con, m_ctx.IdAtivo, mes, ano, a);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    a.mp3706 = m_mp3706;
    m_modelo = a;
    mostra();
    m_processado = true;
    pcPaginas->setEnabled(true);
    rdgTipo->setEnabled(true);
    btnSalvarZel->setEnabled(true);
    grbPeriodo->setEnabled(false);
    pcPaginas->setCurrentIndex(0);
    campo("edtMediaEntradas")->setFocus();
}

void TfrmCamposEPP::Salvar()
{
    if (!m_processado || m_salvo)
        return;
    leCampos();
    if (const TFalha f = m_modelo.ChecaSalvar(); f.falhou()) {
        if (QWidget* w = findChild<QWidget*>(f.campo))
            pcPaginas->setCurrentIndex(grbBase->isAncestorOf(w) || grbCreditos->isAncestorOf(w) ? 0 : 1);
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    TZelEPP z(*m_ctx.dtm);
    z.IdEpp = m_idEpp;
    z.IdContribuinte = m_ctx.IdAtivo;
    z.Periodo = periodo();
    z.Tipo = rbRetificadora->isChecked() ? QStringLiteral("R") : QStringLiteral("N");
    z.apuracao = m_modelo;
    z.DtGeracao = m_ctx.relogio->agora();
    const bool inclusao = m_idEpp == 0;
    QString erro;
    if (!(inclusao ? z.Incluir(&erro) : z.Alterar(&erro))) {
        Informa(*m_ctx.dialogos, QString::fromUtf8(inclusao ? "Erro na Inclusão dos\ndados da Apuração do Imposto"
                                                            : "Erro na Alteração dos\ndados da Apuração do Imposto") +
                                     (erro.isEmpty() ? QString() : QStringLiteral("\n") + erro));
        return;
    }
    m_salvo = true;
    m_idEpp = z.IdEpp;
    btnSalvarZel->setEnabled(false);
    Informa(*m_ctx.dialogos, QString::fromUtf8(inclusao ? "Apuração Incluída com sucesso!" : "Apuração Alterada com sucesso!"));
    grbBase->setEnabled(false);
    grbCreditos->setEnabled(false);
    btnFechar->setFocus();
}
