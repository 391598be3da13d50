#include "app/USobre.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "core/DialogsNew.h"

static const int kTopoTexto = 150;
static const int kAlturaTexto = 170;

TFrmSobre::TFrmSobre(const QString& versao, const QString& pastaDados, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_versao(versao)
{
    setObjectName(QStringLiteral("FrmSobre"));
    setWindowTitle(tituloAplicacao());
    setFixedSize(420, 420);
    m_linhas = {
        tituloAplicacao(),
        QStringLiteral("Apuração mensal do ICMS"),
        QStringLiteral("e arquivo da declaração"),
        QString(),
        QString(), // the version line, written on each showing
        QString(),
        QStringLiteral("Desenvolvimento:"),
        QStringLiteral("Equipe Zel do ICMS"),
        QString(),
        QStringLiteral("Cadastros, documentos fiscais,"),
        QStringLiteral("apurações e arquivos"),
        QString(),
        QStringLiteral("Suporte:"),
        QStringLiteral("consulte o seu contabilista"),
        QString(),
        QStringLiteral("Todos os direitos reservados."),
        QString(),
    };
    const QString pasta = QDir::toNativeSeparators(pastaDados);
    m_lblPasta = new QLabel(QString::fromUtf8("Pasta dos dados: ") + pasta, this);
    m_lblPasta->setObjectName(QStringLiteral("lblPasta"));
    m_lblPasta->setWordWrap(true);
    m_lblPasta->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblPasta->setToolTip(pasta);
    m_lblPasta->setGeometry(20, kTopoTexto + kAlturaTexto + 8, width() - 40, 40);
    m_btnFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    m_btnFechar->setObjectName(QStringLiteral("btnFechar"));
    m_btnFechar->setToolTip(QStringLiteral("Tecle para fechar esta tela"));
    m_btnFechar->setGeometry(width() - 110, height() - 40, 95, 28);
    connect(m_btnFechar, &QPushButton::clicked, this, &QDialog::accept);
    m_timer = new QTimer(this);
    m_timer->setInterval(IntervaloMs);
    connect(m_timer, &QTimer::timeout, this, &TFrmSobre::rola);
}

void TFrmSobre::showEvent(QShowEvent* e)
{
    m_linhas[4] = QStringLiteral("Programa ") + tituloAplicacao() + QStringLiteral(" - versão: ") + m_versao;
    m_deslocamento = 0;
    m_timer->start();
    QDialog::showEvent(e);
}

void TFrmSobre::rola()
{
    const int alturaLinha = fontMetrics().height();
    // Start again from the top once every line has scrolled out of the panel.
    if (++m_deslocamento > kAlturaTexto + alturaLinha * NumLinhas)
        m_deslocamento = 0;
    update(0, kTopoTexto, width(), kAlturaTexto);
}

void TFrmSobre::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // The picture: a band in the program's colours with its name.
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, QColor(0, 70, 130));
    g.setColorAt(1, QColor(40, 140, 90));
    p.fillRect(0, 0, width(), 130, g);
    p.setPen(Qt::white);
    QFont f = font();
    f.setPointSize(20);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, width(), 130), Qt::AlignCenter, tituloAplicacao());

    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const QRect painel(20, kTopoTexto, width() - 40, kAlturaTexto);
    p.setClipRect(painel);
    const int alturaLinha = fontMetrics().height();
    for (int i = 0; i < m_linhas.size(); ++i) {
        const int y = painel.bottom() - m_deslocamento + i * alturaLinha;
        p.drawText(QRect(painel.left(), y, painel.width(), alturaLinha), Qt::AlignHCenter, m_linhas[i]);
    }
}
