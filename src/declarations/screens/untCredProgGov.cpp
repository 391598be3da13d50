#include "declarations/screens/untCredProgGov.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "widgets/Enter.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

namespace {

const char* const kRotulos[6] = {"Saldo período anterior", "+ Crédito autorizado", "+ Transferência de crédito p/ entrada",
                                 "- Transferência de crédito por saída", "- Valor da apropriação", "= Saldo remanescente"};
const char* const kSufixos[6] = {"SldPeriodoAnterior", "CreditoAutorizado", "TransfCredEntrada",
                                 "TransfCredSaida", "ValorApropriacao", "SldRemanescente"};
const char* const kDicas[6] = {"Saldo que ficou do período anterior",
                               "Valor total do Crédito gerado com  o recebimento do cheque habitação ",
                               "Valor do Crédito utilizado no recebimento de vendas a clientes contribuintes do ICMS.",
                               "Valor do Crédito utilizado como pagamento a fornecedor.",
                               "Valor do Crédito utilizado no pagamento de imposto.",
                               "Saldo remanescente que irá para o próximo período."};

Money saldo(TEdValor* const c[6])
{
    return SaldoRemanescente(c[0]->valor(), c[1]->valor(), c[2]->valor(), c[3]->valor(), c[4]->valor());
}

} // namespace

TfrmCredProgGov::TfrmCredProgGov(TContexto& ctx, std::function<QString()> periodo, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_ctx(ctx),
      m_periodo(std::move(periodo)), m_habitacao(std::make_unique<TZelCredGov>(*ctx.dtm)),
      m_educacao(std::make_unique<TZelCredGov>(*ctx.dtm))
{
    setObjectName(QStringLiteral("frmCredProgGov"));
    setWindowTitle(QString::fromUtf8("Créditos de Programas de Governo"));
    setModal(true);
    new TkEnterAsTab(this);
    m_regras = new TRegrasSaida(this);
    RegraDosValores(*m_regras, this, *ctx.dialogos);

    pcCredGoverno = Nomeado(new QTabWidget(this), "pcCredGoverno");
    auto pagina = [&](const char* nome, const char* titulo, const char* prefixo, TEdValor* campos[6]) {
        auto* p = Nomeado(new QWidget(pcCredGoverno), nome);
        auto* form = new QFormLayout(p);
        for (int i = 0; i < 6; ++i) {
            campos[i] = Nomeado(new TEdValor(p), (QByteArray(prefixo) + kSufixos[i]).constData());
            campos[i]->setObjectName(QString::fromLatin1(prefixo) + QString::fromLatin1(kSufixos[i]));
            campos[i]->setToolTip(QString::fromUtf8(kDicas[i]));
            form->addRow(QString::fromUtf8(kRotulos[i]), campos[i]);
        }
        campos[5]->setReadOnly(true);
        campos[5]->setEnabled(false);
        campos[5]->setPermiteNegativo(true); // shown as it comes out; a negative one is told on leaving
        for (int i = 0; i < 5; ++i) {
            TEdValor* c = campos[i];
            m_regras->aoSair(c, [this, c] { return VerSaldoRemanescente(c); });
        }
        pcCredGoverno->addTab(p, QString::fromUtf8(titulo));
        return p;
    };
    tsChequeHabitacao = pagina("tsChequeHabitacao", "Cheque Habitação", "edtCH", edtCH);
    tsChequeEducacao = pagina("tsChequeEducacao", "Cheque Educação", "edtCE", edtCE);
    connect(pcCredGoverno, &QTabWidget::currentChanged, this, [this](int i) {
        if (i == 1)
            edtCE[0]->setFocus();
    });

    btnFechar = Nomeado(new QPushButton(QStringLiteral("&Fechar"), this), "btnFechar");
    btnFechar->setAutoDefault(false);
    m_regras->silencioso(btnFechar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcCredGoverno);
    layout->addLayout(botoes);
}

TfrmCredProgGov::~TfrmCredProgGov() = default;

void TfrmCredProgGov::paraCampos(const TZelCredGov& c, Money anterior, TEdValor* const campos[6])
{
    // The month before's remaining balance is this month's previous balance; with none, the stored one.
    campos[0]->defineValor(anterior.isZero() ? c.sldPeriodoAnterior : anterior);
    campos[1]->defineValor(c.credAutorizado);
    campos[2]->defineValor(c.transfCredEntrada);
    campos[3]->defineValor(c.transfCredSaida);
    campos[4]->defineValor(c.valorApropriado);
    campos[5]->defineValor(saldo(campos));
}

void TfrmCredProgGov::Carrega()
{
    if (!m_carregaPendente)
        return;
    const QString p = m_periodo();
    QString erro;
    for (auto [conta, tipo, campos] : {std::tuple{m_habitacao.get(), 1, edtCH}, std::tuple{m_educacao.get(), 2, edtCE}}) {
        conta->idContribuinte = m_ctx.IdAtivo;
        const Money anterior = conta->SaldoAnterior(p, tipo, &erro);
        if (conta->ilegivel || !conta->CarregaPeriodo(p, tipo, &erro))
            InformaErro(*m_ctx.dialogos, QString::fromUtf8("Ocorreu um erro ao abrir a Tabela ZEL_PRGGOV \nConsulte o Suporte."));
        paraCampos(*conta, anterior, campos);
        if (!conta->ilegivel) {
            conta->sldPeriodoAnterior = campos[0]->valor();
            conta->sldRemanescente = conta->saldoCalculado();
        }
    }
    m_carregaPendente = false;
}

void TfrmCredProgGov::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    pcCredGoverno->setCurrentIndex(0);
    Carrega();
    edtCH[0]->setFocus();
}

bool TfrmCredProgGov::VerSaldoRemanescente(QWidget* campo)
{
    // Both pages are brought up to date before anything is told: a negative housing balance must not leave
    // the education page showing a balance of values no longer there.
    const Money h = saldo(edtCH);
    const Money c = saldo(edtCE);
    edtCH[5]->defineValor(h);
    edtCE[5]->defineValor(c);
    const QStringList avisos = AvisosSaldoRemanescente(h, c);
    for (const QString& aviso : avisos)
        Informa(*m_ctx.dialogos, aviso);
    if (avisos.isEmpty())
        return true;
    // Back to the field left, unless the user has just turned to the other page: a hidden field would hold
    // the focus away from the page in front.
    if (campo && campo->isVisible())
        campo->setFocus();
    return false;
}

void TfrmCredProgGov::capturaValores()
{
    for (auto [conta, campos] : {std::pair{m_habitacao.get(), edtCH}, std::pair{m_educacao.get(), edtCE}}) {
        conta->idContribuinte = m_ctx.IdAtivo;
        conta->sldPeriodoAnterior = campos[0]->valor();
        conta->credAutorizado = campos[1]->valor();
        conta->transfCredEntrada = campos[2]->valor();
        conta->transfCredSaida = campos[3]->valor();
        conta->valorApropriado = campos[4]->valor();
        conta->sldRemanescente = conta->saldoCalculado();
    }
}

void TfrmCredProgGov::reject()
{
    capturaValores();
    QDialog::reject();
    emit fechou();
}

Money TfrmCredProgGov::TotalChqHabitacao() const { return m_habitacao->credito(); }
Money TfrmCredProgGov::TotalChqEducacao() const { return m_educacao->credito(); }
Money TfrmCredProgGov::TotalCredGoverno() const { return TotalChqHabitacao() + TotalChqEducacao(); }

void TfrmCredProgGov::desfazGravacao()
{
    m_habitacao->existe = m_antes[0].existe;
    m_habitacao->id = m_antes[0].id;
    m_educacao->existe = m_antes[1].existe;
    m_educacao->id = m_antes[1].id;
}

bool TfrmCredProgGov::SalvaCredGoverno(QString* mensagem)
{
    const QString p = m_periodo();
    m_antes[0] = {m_habitacao->existe, m_habitacao->id};
    m_antes[1] = {m_educacao->existe, m_educacao->id};
    for (auto [conta, tipo, nome] : {std::tuple{m_habitacao.get(), 1, "habitação"}, std::tuple{m_educacao.get(), 2, "educação"}}) {
        if (conta->ilegivel) {
            *mensagem = QString::fromUtf8("Erro na leitura das informações do cheque %1.").arg(QString::fromUtf8(nome));
            return false;
        }
        conta->idContribuinte = m_ctx.IdAtivo;
        conta->periodo = p;
        conta->tipoCheque = tipo;
        if (conta->existe) {
            if (!conta->Alterar()) {
                *mensagem = QString::fromUtf8("Erro na alteração das informações do cheque %1.").arg(QString::fromUtf8(nome));
                return false;
            }
        } else if (!conta->todosZero() && !conta->Incluir()) {
            *mensagem = QString::fromUtf8("Erro na inclusão das informações do cheque %1.").arg(QString::fromUtf8(nome));
            return false;
        }
    }
    return true;
}
