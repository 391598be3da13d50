#include "widgets/untVisualizaRelatorio.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QPixmap>
#include <QScrollArea>
#include <QTimer>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
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

namespace {
// How long the background count of pages may hold the window at a time.
constexpr int kFatiaContagemMs = 25;
constexpr double kPassoZoom = 1.25;
} // namespace

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
    m_pintor = std::make_unique<TPintorRelatorio>(m_relatorio);
    m_pintor->preparaDispositivo(*m_impressora);
    m_paginador = std::make_unique<TPaginador>(*m_pintor, *m_impressora);

    preview = Nomeado(new QScrollArea(this), "preview");
    preview->setAlignment(Qt::AlignCenter);
    preview->setBackgroundRole(QPalette::Dark);
    preview->setFocusPolicy(Qt::NoFocus);
    folha = Nomeado(new QLabel, "folha");
    folha->setFrameShape(QFrame::Box);
    preview->setWidget(folha);
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
    btnAnterior = botao("btnAnterior", QStringLiteral("<"), QString::fromUtf8("Página anterior (Page Up)"));
    btnProxima = botao("btnProxima", QStringLiteral(">"), QString::fromUtf8("Próxima página (Page Down)"));
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

    connect(btnImprimir, &QPushButton::clicked, this, &TfrmVisualizaRelatorio::imprime);
    connect(btnPdf, &QPushButton::clicked, this, &TfrmVisualizaRelatorio::exportaPdf);
    connect(btnZoomMais, &QPushButton::clicked, this, [this] { zoom(kPassoZoom); });
    connect(btnZoomMenos, &QPushButton::clicked, this, [this] { zoom(1 / kPassoZoom); });
    connect(btnAjusta, &QPushButton::clicked, this, [this] {
        m_ajustada = true;
        ajusta();
    });
    connect(btnPrimeira, &QPushButton::clicked, this, [this] { mostraPagina(1); });
    connect(btnAnterior, &QPushButton::clicked, this, [this] { mostraPagina(m_atual - 1); });
    connect(btnProxima, &QPushButton::clicked, this, [this] { mostraPagina(m_atual + 1); });
    connect(btnUltima, &QPushButton::clicked, this, [this] { mostraPagina(paginas()); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::accept);
    FechaPeloBotao(this, btnFechar);

    escolheImpressora = [this](QPrinter& impressora) {
        QPrintDialog dialogo(&impressora, this);
        return dialogo.exec() == QDialog::Accepted;
    };
    // The first page now; the others are counted a slice at a time while the window answers the user.
    m_paginador->avanca();
    m_contagem = new QTimer(this);
    m_contagem->setInterval(0);
    connect(m_contagem, &QTimer::timeout, this, &TfrmVisualizaRelatorio::contaMais);
    if (!m_paginador->contado())
        m_contagem->start();
    // The page is drawn once the viewport has its size, and again whenever it changes.
    preview->viewport()->installEventFilter(this);
    atualizaPagina();
}

TfrmVisualizaRelatorio::~TfrmVisualizaRelatorio() = default;

int TfrmVisualizaRelatorio::paginas()
{
    if (!m_paginador->contado()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        while (m_paginador->avanca()) {
        }
        QGuiApplication::restoreOverrideCursor();
        m_contagem->stop();
        atualizaPagina();
    }
    return m_paginador->conhecidas();
}

int TfrmVisualizaRelatorio::paginasContadas() const
{
    return m_paginador->conhecidas();
}

bool TfrmVisualizaRelatorio::contagemCompleta() const
{
    return m_paginador->contado();
}

void TfrmVisualizaRelatorio::contaMais()
{
    QElapsedTimer relogio;
    relogio.start();
    while (relogio.elapsed() < kFatiaContagemMs && m_paginador->avanca()) {
    }
    if (m_paginador->contado())
        m_contagem->stop();
    atualizaPagina();
}

void TfrmVisualizaRelatorio::mostraPagina(int numero)
{
    // A page past those counted is reached by counting up to it.
    if (!m_paginador->alcanca(numero))
        return;
    m_atual = numero;
    desenha();
}

void TfrmVisualizaRelatorio::ajusta()
{
    if (!m_ajustada)
        return;
    const QRect papel = m_impressora->pageLayout().fullRectPixels(m_impressora->logicalDpiX());
    const QSize vista = preview->viewport()->size() - QSize(8, 8);
    if (papel.isEmpty() || vista.isEmpty())
        return;
    m_escala = qMin(double(vista.width()) / papel.width(), double(vista.height()) / papel.height());
    desenha();
}

void TfrmVisualizaRelatorio::zoom(double fator)
{
    // From a fourth of the screen's size of the page to four times it.
    const double real = double(logicalDpiX()) / m_impressora->logicalDpiX();
    m_ajustada = false;
    m_escala = qBound(real / 4, m_escala * fator, real * 4);
    desenha();
}

void TfrmVisualizaRelatorio::desenha()
{
    const int dpi = m_impressora->logicalDpiX();
    const QRect papel = m_impressora->pageLayout().fullRectPixels(dpi);
    const QRect pintavel = m_impressora->pageLayout().paintRectPixels(dpi);
    const QSize tamanho(qMax(1, qRound(papel.width() * m_escala)), qMax(1, qRound(papel.height() * m_escala)));
    // The image has the device's resolution, so that the fonts measured on the device keep their size, and
    // the painter scales the whole page down to the screen.
    QImage imagem(tamanho, QImage::Format_RGB32);
    imagem.setDotsPerMeterX(qRound(dpi / 0.0254));
    imagem.setDotsPerMeterY(qRound(m_impressora->logicalDpiY() / 0.0254));
    imagem.fill(Qt::white);
    {
        QPainter p(&imagem);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        p.scale(m_escala, m_escala);
        p.translate(pintavel.topLeft() - papel.topLeft());
        PintaPagina(p, m_paginador->pagina(m_atual));
    }
    folha->setPixmap(QPixmap::fromImage(imagem));
    folha->resize(tamanho);
    atualizaPagina();
}

bool TfrmVisualizaRelatorio::eventFilter(QObject* o, QEvent* e)
{
    if (o == preview->viewport() && e->type() == QEvent::Resize) {
        if (m_ajustada || m_escala <= 0) {
            m_ajustada = true;
            ajusta();
        }
    }
    return QDialog::eventFilter(o, e);
}

void TfrmVisualizaRelatorio::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_PageDown && e->modifiers() == Qt::NoModifier) {
        mostraPagina(m_atual + 1);
        return;
    }
    if (e->key() == Qt::Key_PageUp && e->modifiers() == Qt::NoModifier) {
        mostraPagina(m_atual - 1);
        return;
    }
    QDialog::keyPressEvent(e);
}

void TfrmVisualizaRelatorio::atualizaPagina()
{
    const int contadas = m_paginador->conhecidas();
    const bool completa = m_paginador->contado();
    lblPagina->setText(completa ? QString::fromUtf8("Página %1 de %2").arg(m_atual).arg(contadas)
                                : QString::fromUtf8("Página %1 de %2 (contando...)").arg(m_atual).arg(contadas));
    btnPrimeira->setEnabled(m_atual > 1);
    btnAnterior->setEnabled(m_atual > 1);
    btnProxima->setEnabled(!completa || m_atual < contadas);
    btnUltima->setEnabled(!completa || m_atual < contadas);
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
