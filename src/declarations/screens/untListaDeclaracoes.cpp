#include "declarations/screens/untListaDeclaracoes.h"

#include "core/untRelogio.h"
#include "reports/untRelatorios.h"
#include "widgets/untVisualizaRelatorio.h"

#include <QAction>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untProgresso.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untDataSetModel.h"
#include "output/untGeradorArquivo.h"
#include "widgets/untFechamento.h"
#include "widgets/Enter.h"
#include "widgets/untTelas.h"

TfrmListaDeclaracoes::TfrmListaDeclaracoes(TContexto& ctx, const TDescricaoLista& d, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_lista(ctx.dtm->conexao()), m_chave(QString::fromLatin1(d.chave))
{
    setObjectName(QString::fromLatin1(d.objeto));
    setWindowTitle(QString::fromUtf8(d.titulo));
    resize(900, 460);
    // Enter presses the command the keyboard reached, as on the other registers' lists.
    new TkEnterAsTab(this);
    grade = Nomeado(new QTableView(this), d.grade);
    stbStatus = Nomeado(new QStatusBar(this), "stbStatus");
    if (d.status)
        stbStatus->showMessage(QString::fromUtf8(d.status));
    ConfiguraGrade(grade, nullptr, QStringLiteral("Duplo Clique para alterar dados"), QString());
    QList<TDataSetModel::TColuna> colunas;
    for (const auto& [campo, titulo] : d.colunas)
        colunas.append({QString::fromLatin1(campo), QString::fromUtf8(titulo)});
    m_modelo = new TDataSetModel(m_lista, colunas, this);
    m_modelo->defineFormato(QStringLiteral("Periodo"), [](const QVariant& v) {
        const QString p = v.toString().trimmed();
        return p.size() == 6 ? p.left(4) + QLatin1Char('/') + p.mid(4) : p;
    });
    MostraNaGrade(grade, m_modelo);
    connect(grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { m_modelo->moveCursor(atual.row()); });
    connect(grade, &QTableView::doubleClicked, this, &TfrmListaDeclaracoes::Alterar);

    auto botao = [this](const char* nome, const char* legenda, void (TfrmListaDeclaracoes::*acao)()) {
        auto* b = Nomeado(new QPushButton(QString::fromUtf8(legenda), this), nome);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    btnIncluir = botao("btnIncluir", "&Incluir", &TfrmListaDeclaracoes::Incluir);
    btnAlterar = botao("btnAlterar", "&Alterar", &TfrmListaDeclaracoes::Alterar);
    btnExcluir = botao("btnExcluir", "&Excluir", &TfrmListaDeclaracoes::Excluir);
    btnImprimir = botao("btnImprimir", "&Imprimir", &TfrmListaDeclaracoes::Imprimir);
    btnGerarArquivo = botao("btnGerarArquivo", "&Gerar Arquivo", &TfrmListaDeclaracoes::GerarArquivo);
    btnFechar = Nomeado(new QPushButton(QStringLiteral("Fechar"), this), "btnFechar");
    btnFechar->setAutoDefault(false);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    FechaPeloBotao(this, btnFechar);
    for (auto [nome, legenda, acao] : {std::tuple{"mnuIncluir", "&Incluir", &TfrmListaDeclaracoes::Incluir},
                                       std::tuple{"mnuAlterar", "&Alterar", &TfrmListaDeclaracoes::Alterar},
                                       std::tuple{"mnuExcluir", "&Excluir", &TfrmListaDeclaracoes::Excluir},
                                       std::tuple{"mnuImprimir", "Im&primir", &TfrmListaDeclaracoes::Imprimir}}) {
        auto* a = Nomeado(new QAction(QString::fromUtf8(legenda), grade), nome);
        connect(a, &QAction::triggered, this, acao);
        grade->addAction(a);
    }
    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {btnIncluir, btnAlterar, btnExcluir, btnImprimir, btnGerarArquivo, btnFechar})
        botoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grade, 1);
    layout->addLayout(botoes);
    layout->addWidget(stbStatus);
    OrdemDeLeituraAoMostrar(this);
}

void TfrmListaDeclaracoes::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    if (!prepara()) {
        m_falhou = true;
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    ativa();
}

void TfrmListaDeclaracoes::ativa(bool crescente)
{
    const int atual = selecionada();
    try {
        abreLista(crescente);
        if (atual)
            m_lista.locate(m_chave, atual);
    } catch (const EBancoDados& e) {
        m_lista.close();
        m_modelo->reinicia();
        const QString mensagem = erroDeLeitura();
        if (mensagem.isEmpty()) {
            m_ctx.dialogos->mensagemSimples(e.mensagem());
        } else {
            m_falhou = true;
            InformaErro(*m_ctx.dialogos, mensagem);
            QTimer::singleShot(0, this, &QDialog::reject);
            return;
        }
    }
    const int linha = m_lista.active() ? m_lista.recNo() : -1;
    m_modelo->reinicia();
    const bool algum = m_lista.active() && !m_lista.isEmpty();
    for (QPushButton* b : {btnAlterar, btnExcluir, btnImprimir, btnGerarArquivo})
        b->setEnabled(algum);
    if (linha >= 0)
        grade->selectRow(linha);
    grade->setFocus();
}

int TfrmListaDeclaracoes::selecionada() const
{
    if (!m_lista.active() || m_lista.isEmpty() || m_lista.recNo() < 0)
        return 0;
    return m_lista.asInteger(m_chave);
}

void TfrmListaDeclaracoes::Incluir()
{
    executaInclusao();
    ativa();
}

void TfrmListaDeclaracoes::Alterar()
{
    const int id = selecionada();
    if (id == 0)
        return;
    executaAlteracao(id);
    ativa();
}

void TfrmListaDeclaracoes::Excluir()
{
    const int id = selecionada();
    if (id == 0)
        return;
    if (!m_ctx.dialogos->confirmaExclusao(QString::fromUtf8("Confirma Exclusão ? "))) {
        ativa();
        return;
    }
    QString mensagem;
    if (!exclui(id, &mensagem)) {
        ativa();
        Informa(*m_ctx.dialogos, mensagem);
        return;
    }
    ativa(crescenteAposExcluir());
    Informa(*m_ctx.dialogos, mensagemExcluido());
}

void TfrmListaDeclaracoes::Imprimir()
{
    const int id = selecionada();
    if (id == 0)
        return;
    ImprimeRelatorio(m_ctx, this, [this, id](TRelatorio& r) { return relatorio(id, CabecalhoRelatorio(m_ctx), &r); });
}

void TfrmListaDeclaracoes::GerarArquivo()
{
    const int id = selecionada();
    if (id == 0)
        return;
    btnGerarArquivo->setEnabled(false);
    bool cancelado = false;
    const bool ok = geraArquivo(id, &cancelado);
    if (ok) {
        ativa();
        Informa(*m_ctx.dialogos, QStringLiteral("Arquivo gerado com sucesso!"));
    } else if (!cancelado && !mensagemFalhaArquivo().isEmpty()) {
        Informa(*m_ctx.dialogos, mensagemFalhaArquivo());
    }
    btnGerarArquivo->setEnabled(!ok || reabilitaGerar());
    btnFechar->setFocus();
}

bool TfrmListaDeclaracoes::geraArquivoDe(const QString& regime, const QString& periodo, int tipoDeclaracao,
                                        const QString& tipo, bool* semMensagem)
{
    TProgressoNulo nulo;
    TGeradorArquivo gerador(*m_ctx.dtm, *m_ctx.dialogos, m_ctx.progresso ? *m_ctx.progresso : nulo, *m_ctx.relogio,
                            m_ctx.IdAtivo);
    const bool ok = gerador.GerarArquivo(regime, periodo, tipoDeclaracao,
                                         tipo == QLatin1String("N") ? QStringLiteral("1") : QStringLiteral("2"));
    *semMensagem = !ok && gerador.cancelado();
    return ok;
}
