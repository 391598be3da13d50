#include "reports/pdf/untPintaRelatorio.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "reports/untRelatorio.h"

namespace {

struct TGeometria {
    QRectF area;
    QFont normal, negrito, titulo, cabecalho;
    qreal linha = 0;
    qreal unidade = 0;    // the width of one character of the columns
    QList<qreal> x;       // left of each column
    QList<qreal> largura; // width of each column
};

QFont fonte(qreal pontos, bool negrito = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pontos);
    f.setBold(negrito);
    return f;
}

TGeometria geometria(const TRelatorio& r, QPagedPaintDevice& d)
{
    TGeometria g;
    const QRect pintavel = d.pageLayout().paintRectPixels(d.logicalDpiX());
    g.area = QRectF(0, 0, pintavel.width(), pintavel.height());
    int caracteres = 0;
    for (const TColunaRelatorio& c : r.colunas)
        caracteres += c.largura + 1;
    // The detail font as large as the page allows, at most 8.5 points: a wide list gets a smaller one. A
    // column is as wide as its characters in digits, the widest of the figures it holds.
    qreal pontos = 8.5;
    if (caracteres > 0) {
        const qreal largura = QFontMetricsF(fonte(pontos), &d).horizontalAdvance(QLatin1Char('0')) * caracteres;
        if (largura > g.area.width())
            pontos = qMax<qreal>(4.0, pontos * g.area.width() / largura);
    }
    g.normal = fonte(pontos);
    g.negrito = fonte(pontos, true);
    g.titulo = fonte(qMax<qreal>(pontos + 3, 10), true);
    g.cabecalho = fonte(qMax<qreal>(pontos, 8));
    g.linha = QFontMetricsF(g.normal, &d).height() * 1.15;
    const qreal unidade = caracteres > 0 ? g.area.width() / caracteres : 0;
    g.unidade = unidade;
    qreal x = 0;
    for (const TColunaRelatorio& c : r.colunas) {
        g.x << x;
        g.largura << c.largura * unidade;
        x += (c.largura + 1) * unidade;
    }
    return g;
}

void texto(QPainter* p, const QRectF& caixa, const QString& t, Qt::Alignment alinhamento)
{
    if (!p || t.isEmpty())
        return;
    const QString cabe = QFontMetricsF(p->font(), p->device()).elidedText(t, Qt::ElideRight, caixa.width());
    p->drawText(caixa, int(alinhamento | Qt::AlignVCenter) | Qt::TextSingleLine, cabe);
}

// A figure is never cut short: "9.999.99…" would print another amount. One wider than its column (a
// twelve-character total under a ten-character column) is set smaller until it fits whole.
void figura(QPainter* p, const QRectF& caixa, const QString& t)
{
    if (!p || t.isEmpty())
        return;
    const QFont antes = p->font();
    QFont f = antes;
    for (int i = 0; i < 8; ++i) {
        const qreal precisa = QFontMetricsF(f, p->device()).horizontalAdvance(t);
        if (precisa <= caixa.width())
            break;
        f.setPointSizeF(f.pointSizeF() * caixa.width() / precisa * 0.98);
    }
    p->setFont(f);
    p->drawText(caixa, int(Qt::AlignRight | Qt::AlignVCenter) | Qt::TextSingleLine, t);
    p->setFont(antes);
}

} // namespace

void TPintorRelatorio::preparaDispositivo(QPagedPaintDevice& d) const
{
    d.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), m_r.paisagem ? QPageLayout::Landscape : QPageLayout::Portrait,
                                QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

int TPintorRelatorio::pinta(QPainter& p, QPagedPaintDevice& d) const
{
    return percorre(&p, d);
}

int TPintorRelatorio::paginas(QPagedPaintDevice& d) const
{
    return percorre(nullptr, d);
}

int TPintorRelatorio::percorre(QPainter* p, QPagedPaintDevice& d) const
{
    const TGeometria g = geometria(m_r, d);
    const qreal largura = g.area.width();
    const qreal fim = g.area.bottom();
    int pagina = 0;
    qreal y = 0;
    auto usa = [p](const QFont& f) {
        if (p)
            p->setFont(f);
    };
    auto regua = [&](qreal em) {
        if (p)
            p->drawLine(QPointF(0, em), QPointF(largura, em));
    };
    auto cabecalho = [&] {
        ++pagina;
        if (pagina > 1 && p)
            d.newPage();
        y = 0;
        const qreal alto = QFontMetricsF(g.cabecalho, &d).height() * 1.2;
        const QStringList esquerda = m_r.declaracao ? CabecalhoDeclaracao() : QStringList{NomeDoPrograma(), LinhaDoFabricante()};
        const QStringList direita = {QStringLiteral("Data: ") + m_r.emissao.date().toString(QStringLiteral("dd/MM/yyyy")),
                                     QStringLiteral("Hora: ") + m_r.emissao.time().toString(QStringLiteral("HH:mm:ss")),
                                     QString::fromUtf8("Página: %1").arg(pagina)};
        for (int i = 0; i < qMax(esquerda.size(), direita.size()); ++i) {
            usa(i == 0 ? fonte(g.cabecalho.pointSizeF(), true) : g.cabecalho);
            texto(p, QRectF(0, y, largura * 0.75, alto), esquerda.value(i), Qt::AlignLeft);
            usa(g.cabecalho);
            texto(p, QRectF(largura * 0.75, y, largura * 0.25, alto), direita.value(i), Qt::AlignRight);
            y += alto;
        }
        const qreal altoTitulo = QFontMetricsF(g.titulo, &d).height() * 1.3;
        usa(g.titulo);
        texto(p, QRectF(0, y, largura, altoTitulo), m_r.titulo, Qt::AlignHCenter);
        y += altoTitulo;
        usa(fonte(g.cabecalho.pointSizeF(), true));
        for (const QString& s : m_r.subtitulos) {
            texto(p, QRectF(0, y, largura, alto), s, Qt::AlignHCenter);
            y += alto;
        }
        usa(g.cabecalho);
        for (const QString& s : {m_r.contribuinte, m_r.periodo})
            if (!s.isEmpty()) {
                texto(p, QRectF(0, y, largura, alto), s, Qt::AlignLeft);
                y += alto;
            }
        regua(y + alto * 0.2);
        y += alto * 0.4;
        if (!m_r.colunas.isEmpty()) {
            for (int c = 0; c < m_r.colunas.size(); ++c) {
                // A long heading over a narrow column is set smaller rather than cut.
                QFont f = g.negrito;
                const qreal precisa = QFontMetricsF(f, &d).horizontalAdvance(m_r.colunas[c].titulo);
                if (precisa > g.largura[c])
                    f.setPointSizeF(qMax(f.pointSizeF() * 0.55, f.pointSizeF() * g.largura[c] / precisa));
                usa(f);
                texto(p, QRectF(g.x[c], y, g.largura[c], g.linha), m_r.colunas[c].titulo,
                      m_r.colunas[c].direita ? Qt::AlignRight : Qt::AlignLeft);
            }
            y += g.linha;
            regua(y);
            y += g.linha * 0.2;
        }
    };
    auto cabe = [&](qreal altura) {
        if (y + altura > fim)
            cabecalho();
    };
    auto celulas = [&](const QStringList& cs, int primeira, const QFont& f) {
        usa(f);
        for (int c = 0; c < cs.size() && primeira + c < m_r.colunas.size(); ++c) {
            const int k = primeira + c;
            const bool direita = m_r.colunas[k].direita;
            // A left-aligned text runs on over the empty cells after it ("TOTAIS GERAIS:").
            int ate = k;
            while (!direita && ate + 1 < m_r.colunas.size() && (c + ate + 1 - k >= cs.size() || cs[c + ate + 1 - k].isEmpty()))
                ++ate;
            const qreal largura = g.x[ate] + g.largura[ate] - g.x[k];
            if (direita)
                figura(p, QRectF(g.x[k], y, largura, g.linha), cs[c]);
            else
                texto(p, QRectF(g.x[k], y, largura, g.linha), cs[c], Qt::AlignLeft);
        }
    };
    auto linha = [&](const TLinhaRelatorio& l) {
        using T = TLinhaRelatorio::Tipo;
        const qreal altura = l.tipo == T::Secao ? g.linha * 1.6 : g.linha;
        cabe(altura);
        switch (l.tipo) {
        case T::Detalhe:
            celulas(l.celulas, 0, g.normal);
            break;
        case T::Sub: {
            // Sub-lines ("Tributados 17.00% BC: ... tax") have their own slots from the second column on,
            // wide enough for their texts whatever the columns above them.
            usa(g.normal);
            const qreal vaga = 16 * g.unidade;
            qreal x = g.x.value(1, 0) + g.unidade;
            for (int c = 0; c < l.celulas.size(); ++c) {
                const bool ultima = c == l.celulas.size() - 1;
                texto(p, QRectF(x, y, vaga, g.linha), l.celulas[c], ultima ? Qt::AlignRight : Qt::AlignLeft);
                x += vaga + g.unidade;
            }
            break;
        }
        case T::Total:
            celulas(l.celulas, 0, g.negrito);
            break;
        case T::Secao:
            usa(g.negrito);
            texto(p, QRectF(0, y + g.linha * 0.3, largura, g.linha * 1.2), l.texto, Qt::AlignLeft);
            break;
        case T::Texto:
            usa(g.negrito);
            texto(p, QRectF(0, y, largura, g.linha), l.texto, Qt::AlignLeft);
            break;
        case T::Campo:
            usa(g.normal);
            texto(p, QRectF(largura * 0.03, y, largura * 0.65, g.linha), l.celulas.value(0), Qt::AlignLeft);
            texto(p, QRectF(largura * 0.68, y, largura * 0.25, g.linha), l.celulas.value(1), Qt::AlignRight);
            break;
        }
        y += altura;
    };

    cabecalho();
    for (const TLinhaRelatorio& l : m_r.linhas)
        linha(l);
    if (!m_r.resumo.isEmpty()) {
        cabe(g.linha * 1.5);
        regua(y + g.linha * 0.2);
        y += g.linha * 0.5;
        for (const TLinhaRelatorio& l : m_r.resumo)
            linha(l);
    }
    return pagina;
}

bool ExportaPdf(const TRelatorio& relatorio, const QString& caminho, QString* erro)
{
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly)) {
        if (erro)
            *erro = QString::fromUtf8("Não foi possível gravar %1: %2").arg(caminho, arquivo.errorString());
        return false;
    }
    {
        QPdfWriter pdf(&arquivo);
        pdf.setResolution(300);
        pdf.setTitle(relatorio.titulo);
        pdf.setCreator(NomeDoPrograma());
        const TPintorRelatorio pintor(relatorio);
        pintor.preparaDispositivo(pdf);
        QPainter p;
        if (!p.begin(&pdf)) {
            arquivo.cancelWriting();
            if (erro)
                *erro = QString::fromUtf8("Não foi possível gerar o PDF %1.").arg(caminho);
            return false;
        }
        pintor.pinta(p, pdf);
        p.end();
    }
    if (!arquivo.commit()) {
        if (erro)
            *erro = QString::fromUtf8("Não foi possível gravar %1: %2").arg(caminho, arquivo.errorString());
        return false;
    }
    return true;
}
