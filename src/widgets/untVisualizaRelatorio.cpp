#include "widgets/untVisualizaRelatorio.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/untSqlite.h"
#include "reports/pdf/untPintaRelatorio.h"
#include "widgets/untFechamento.h"
#include "widgets/untTelas.h"

TfrmVisualizaRelatorio::TfrmVisualizaRelatorio(TRelatorio relatorio, IDialogos& dialogos, QWidget* parent)
    : QDialog(parent), m_relatorio(std::move(relatorio)), m_dialogos(dialogos),
      m_impressora(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("frmVisualizaRelatorio"));
    setWindowTitle(QString::fromUtf8("Visualização - ") + m_relatorio.titulo);
    setModal(true);
    resize(1000, 720);
    // The pages are laid out for a PDF until a real printer is chosen: the preview works on a machine without one.
    m_impressora->setOutputFormat(QPrinter::PdfFormat);
    TPintorRelatorio(m_relatorio).preparaDispositivo(*m_impressora);

    preview = Nomeado(new QPrintPreviewWidget(m_impressora.get(), this), "preview");
    auto botao = [this](const char* nome, const QString& legenda, const QString& dica) {
        auto* b = Nomeado(new QPushButton(legenda, this), nome);
        b->setToolTip(dica);
        b->setAutoDefault(false);
        return b;
    };
    btnImprimir = botao("btnImprimir", QStringLiteral("&Imprimir"), QStringLiteral("Imprime o relatório"));
    btnPdf = botao("btnPdf", QStringLiteral("Exportar &PDF"), QStringLiteral("Grava o relatório num arquivo PDF"));
    btnZoomMais = botao("btnZoomMais", QStringLiteral("Zoom &+"), QStringLiteral("Aumenta o zoom"));
    btnZoomMenos = botao("btnZoomMenos", QStringLiteral("Zoom &-"), QStringLiteral("Diminui o zoom"));
    btnAjusta = botao("btnAjusta", QStringLiteral("&Ajustar"), QString::fromUtf8("Mostra a página inteira"));
    btnPrimeira = botao("btnPrimeira", QStringLiteral("|<"), QString::fromUtf8("Primeira página"));
    btnAnterior = botao("btnAnterior", QStringLiteral("<"), QString::fromUtf8("Página anterior"));
    btnProxima = botao("btnProxima", QStringLiteral(">"), QString::fromUtf8("Próxima página"));
    btnUltima = botao("btnUltima", QStringLiteral(">|"), QString::fromUtf8("Última página"));
    btnFechar = botao("btnFechar", QStringLiteral("&Fechar"), QStringLiteral("Fecha a visualização"));
    lblPagina = Nomeado(new QLabel(this), "lblPagina");

    auto* barra = new QHBoxLayout;
    for (QPushButton* b : {btnImprimir, btnPdf, btnZoomMais, btnZoomMenos, btnAjusta, btnPrimeira, btnAnterior})
        barra->addWidget(b);
    barra->addWidget(lblPagina);
    for (QPushButton* b : {btnProxima, btnUltima})
        barra->addWidget(b);
    barra->addStretch();
    barra->addWidget(btnFechar);
    auto* l = new QVBoxLayout(this);
    l->addLayout(barra);
    l->addWidget(preview, 1);

    connect(preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* impressora) {
        QPainter p(impressora);
        TPintorRelatorio(m_relatorio).pinta(p, *impressora);
    });
    connect(preview, &QPrintPreviewWidget::previewChanged, this, &TfrmVisualizaRelatorio::atualizaPagina);
    connect(btnImprimir, &QPushButton::clicked, this, &TfrmVisualizaRelatorio::imprime);
    connect(btnPdf, &QPushButton::clicked, this, &TfrmVisualizaRelatorio::exportaPdf);
    connect(btnZoomMais, &QPushButton::clicked, preview, [this] { preview->zoomIn(); });
    connect(btnZoomMenos, &QPushButton::clicked, preview, [this] { preview->zoomOut(); });
    connect(btnAjusta, &QPushButton::clicked, preview, &QPrintPreviewWidget::fitInView);
    connect(btnPrimeira, &QPushButton::clicked, this, [this] { preview->setCurrentPage(1); atualizaPagina(); });
    connect(btnAnterior, &QPushButton::clicked, this, [this] { preview->setCurrentPage(paginaAtual() - 1); atualizaPagina(); });
    connect(btnProxima, &QPushButton::clicked, this, [this] { preview->setCurrentPage(paginaAtual() + 1); atualizaPagina(); });
    connect(btnUltima, &QPushButton::clicked, this, [this] { preview->setCurrentPage(paginas()); atualizaPagina(); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::accept);
    FechaPeloBotao(this, btnFechar);

    escolheImpressora = [this](QPrinter& impressora) {
        QPrintDialog dialogo(&impressora, this);
        return dialogo.exec() == QDialog::Accepted;
    };
    preview->updatePreview();
    preview->fitInView();
    atualizaPagina();
}

TfrmVisualizaRelatorio::~TfrmVisualizaRelatorio() = default;

int TfrmVisualizaRelatorio::paginas() const
{
    return preview->pageCount();
}

int TfrmVisualizaRelatorio::paginaAtual() const
{
    return preview->currentPage();
}

void TfrmVisualizaRelatorio::atualizaPagina()
{
    lblPagina->setText(QString::fromUtf8("Página %1 de %2").arg(paginaAtual()).arg(paginas()));
    btnPrimeira->setEnabled(paginaAtual() > 1);
    btnAnterior->setEnabled(paginaAtual() > 1);
    btnProxima->setEnabled(paginaAtual() < paginas());
    btnUltima->setEnabled(paginaAtual() < paginas());
}

void TfrmVisualizaRelatorio::exportaPdf()
{
    QString nome = m_relatorio.titulo;
    for (const QChar c : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')})
        nome.replace(c, QLatin1Char('-'));
    QString caminho = m_dialogos.salvarArquivo(QStringLiteral("Exportar PDF"), nome + QStringLiteral(".pdf"),
                                               QStringLiteral("PDF (*.pdf)"));
    if (caminho.isEmpty())
        return;
    if (!caminho.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        caminho += QStringLiteral(".pdf");
    QString erro;
    if (!ExportaPdf(m_relatorio, caminho, &erro)) {
        InformaErro(m_dialogos, erro);
        return;
    }
    Informa(m_dialogos, QString::fromUtf8("Relatório gravado em %1.").arg(caminho));
}

void TfrmVisualizaRelatorio::imprime()
{
    QPrinter impressora(QPrinter::HighResolution);
    TPintorRelatorio pintor(m_relatorio);
    pintor.preparaDispositivo(impressora);
    if (!escolheImpressora || !escolheImpressora(impressora))
        return;
    QPainter p;
    if (!p.begin(&impressora)) {
        InformaErro(m_dialogos, QString::fromUtf8("Não foi possível imprimir: a impressora não está disponível."));
        return;
    }
    pintor.pinta(p, impressora);
    p.end();
}

void MostraRelatorio(IDialogos& dialogos, QWidget* pai, const TRelatorio& relatorio)
{
    TfrmVisualizaRelatorio tela(relatorio, dialogos, pai);
    dialogos.executaModal(&tela);
}

Relatorios::TCabecalho CabecalhoRelatorio(const TContexto& ctx, const QString& mes, const QString& ano)
{
    Relatorios::TCabecalho c;
    c.idAtivo = ctx.IdAtivo;
    c.emissao = Agora(ctx.relogio);
    c.mes = mes;
    c.ano = ano;
    return c;
}

void ImprimeRelatorio(TContexto& ctx, QWidget* pai, const std::function<bool(TRelatorio&)>& monta,
                      const QString& mensagemErro)
{
    TRelatorio r;
    try {
        if (!monta(r))
            return;
    } catch (const EBancoDados& e) {
        if (mensagemErro.isEmpty())
            ctx.dialogos->mensagemSimples(e.mensagem());
        else
            Informa(*ctx.dialogos, mensagemErro);
        return;
    }
    MostraRelatorio(*ctx.dialogos, pai, r);
}
