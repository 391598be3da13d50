#include "documents/screens/untTabelaCfop.h"

#include "core/untRelogio.h"
#include "reports/untRelatorios.h"
#include "widgets/untVisualizaRelatorio.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untProgresso.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untDataSetModel.h"
#include "documents/untCfop.h"
#include "widgets/untTelas.h"

TfrmTabelaCfop::TfrmTabelaCfop(TContexto& ctx, bool quatroDigitos, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_quatroDigitos(quatroDigitos)
{
    const QString digitos = quatroDigitos ? QStringLiteral("04") : QStringLiteral("03");
    setWindowTitle(QString::fromUtf8("CFOP - %1 Dígitos").arg(digitos));
    resize(640, 460);

    auto* titulo = new QLabel(QString::fromUtf8("Relação de CFOP de %1 Dígitos").arg(digitos), this);
    titulo->setObjectName(QStringLiteral("lblRelacao"));
    QFont fonte = titulo->font();
    fonte.setBold(true);
    titulo->setFont(fonte);

    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("dbgCFOP"));
    m_grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grade->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grade->horizontalHeader()->setStretchLastSection(true);
    m_grade->verticalHeader()->setVisible(false);

    m_barra = new QProgressBar(this);
    m_barra->setObjectName(QStringLiteral("ProgressBar"));
    m_barra->setValue(0);

    auto botao = [this](const char* nome, const QString& legenda) {
        auto* b = new QPushButton(legenda, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        return b;
    };
    auto* btnImprimir = botao("btnImprimir", QStringLiteral("Imprimir"));
    m_btnAtualiza = botao("btnAtualiza", QStringLiteral("&Atualizar Dados"));
    auto* btnFechar = botao("btnFechar", QStringLiteral("&Fechar"));
    connect(btnImprimir, &QPushButton::clicked, this, &TfrmTabelaCfop::Imprimir);
    connect(m_btnAtualiza, &QPushButton::clicked, this, &TfrmTabelaCfop::AtualizarDados);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::close);
    // Only the four-digit table has an official update file; the three-digit one is closed history.
    m_btnAtualiza->setEnabled(quatroDigitos);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(m_barra, 1);
    botoes->addWidget(btnImprimir);
    botoes->addWidget(m_btnAtualiza);
    botoes->addWidget(btnFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titulo);
    layout->addWidget(m_grade);
    layout->addLayout(botoes);

    m_lista = std::make_unique<TDataSet>(*m_ctx.con, QStringLiteral("ADODataSetTabelaCfop"));
    m_lista->setCommandText(quatroDigitos ? QStringLiteral("select * from CFOP ORDER BY CF_Codigo")
                                          : QStringLiteral("select * from CFOP3 ORDER BY CF_Codigo"));
    m_modelo = new TDataSetModel(*m_lista, {{QStringLiteral("CF_Codigo"), {}}, {QStringLiteral("CF_Descricao"), {}}},
                                 this);
    MostraNaGrade(m_grade, m_modelo);
    try {
        m_modelo->recarrega();
    } catch (const EBancoDados& e) {
        m_modelo->reinicia();
        Informa(*m_ctx.dialogos, e.mensagem());
    }
    OrdemDeLeituraAoMostrar(this);
}

TfrmTabelaCfop::~TfrmTabelaCfop() = default;

void TfrmTabelaCfop::Imprimir()
{
    ImprimeRelatorio(
        m_ctx, this,
        [this](TRelatorio& r) {
            r = Relatorios::Cfop(*m_ctx.dtm, m_quatroDigitos ? 4 : 3, Agora(m_ctx.relogio));
            return true;
        },
        QString::fromUtf8("Não foi possível acessar os dados."));
}

void TfrmTabelaCfop::AtualizarDados()
{
    TProgressoNulo progresso;
    TResultadoCfops r;
    try {
        r = AtualizaCfops(*m_ctx.dtm, m_ctx.pasta + QStringLiteral("/NovosCfop.txt"), progresso,
                          [this](int feitas, int total) {
                              m_barra->setRange(0, qMax(1, total)); // an empty file must not turn the bar into a busy indicator
                              m_barra->setValue(feitas);
                          });
    } catch (const EBancoDados& e) {
        Informa(*m_ctx.dialogos, e.mensagem());
        return;
    }
    if (r.situacao == TResultadoCfops::Situacao::ArquivoAusente) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("O arquivo NovosCfop.txt não foi encontrado!"));
        return;
    }
    try {
        m_modelo->recarrega();
    } catch (const EBancoDados&) {
        m_modelo->reinicia();
    }
    Informa(*m_ctx.dialogos, QString::fromUtf8("Atualização Concluída!"));
}

TfrmCfop03::TfrmCfop03(TContexto& ctx, QWidget* parent) : TfrmTabelaCfop(ctx, false, parent)
{
    setObjectName(QStringLiteral("frmCfop03"));
}

TfrmCfop04::TfrmCfop04(TContexto& ctx, QWidget* parent) : TfrmTabelaCfop(ctx, true, parent)
{
    setObjectName(QStringLiteral("frmCfop04"));
}
