#include "reports/pdf/untPintaRelatorio.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <array>
#include <limits>

#include "reports/untRelatorio.h"

namespace {

// The detail font from the largest size down: the first at which every line of columns fits the page.
const qreal kTamanhos[] = {8.5, 8.0, 7.5, 7.0};
constexpr qreal kMenorTamanho = 7.0;
// The contents are measured once at one size and scaled; a hair of room covers the difference.
constexpr qreal kPontosReferencia = 8.0;
constexpr qreal kFolga = 1.01;
constexpr qreal kMargemMm = 10;

QFont fonte(qreal pontos, bool negrito = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    // No ligatures: "fi" drawn as one glyph reads back from the PDF as another character, and a search for
    // "fixação" in the file would not find it.
    f.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    f.setPointSizeF(pontos);
    f.setBold(negrito);
    return f;
}

// A font with its metrics on the device and the height of one of its lines.
struct TTipo {
    QFont fonte;
    QFontMetricsF fm;
    qreal alto;
    TTipo(const QFont& f, QPaintDevice* d) : fonte(f), fm(f, d), alto(fm.height() * 1.1) { avancos.fill(-1); }
    qreal mede(const QString& t) const { return t.isEmpty() ? 0 : fm.horizontalAdvance(t); }
    // The sum of the advances of the text's characters, far cheaper than measuring it; infinite for a text
    // with a character outside Latin-1. Where the font engine applies no kerning it is the text's width, to
    // the last fraction of a pixel.
    qreal soma(const QString& t) const
    {
        qreal r = 0;
        for (const QChar c : t) {
            const char16_t u = c.unicode();
            if (u > 0xFF)
                return std::numeric_limits<qreal>::infinity();
            qreal& a = avancos[u];
            if (a < 0)
                a = fm.horizontalAdvance(c);
            r += a;
        }
        return r;
    }
    // Whether every text measured so far was as wide as the sum of its advances; once one is not, the sums
    // are only a rough bound, with a tenth added for any kerning.
    mutable bool somaExata = true;
    mutable std::array<qreal, 256> avancos;
};

// The fonts of one detail size: totals and headings larger than the detail.
struct TTipos {
    qreal pontos;
    TTipo normal, total, coluna, cabecalho, cabecalhoNegrito, titulo, secao;
    TTipos(qreal p, QPaintDevice* d)
        : pontos(p), normal(fonte(p), d), total(fonte(p + 0.5, true), d), coluna(fonte(p + 0.5, true), d),
          cabecalho(fonte(qMax<qreal>(p + 1, 8.5)), d), cabecalhoNegrito(fonte(qMax<qreal>(p + 1, 8.5), true), d),
          titulo(fonte(p + 5, true), d), secao(fonte(p + 1.5, true), d)
    {
    }
    qreal vao() const { return normal.mede(QStringLiteral("0")) * 0.8; }   // between two columns
};

// Where a text may be broken: data at its blanks only, so that every word prints whole; a heading also
// between the words of a run-together title ("ValorTotalNota", "Subst.Trib.").
enum class Quebra { Espacos, Titulo };

struct TPedaco {
    QString antes;   // the blanks before it
    QString texto;
};

QList<TPedaco> pedacos(const QString& t, Quebra q)
{
    QList<TPedaco> r;
    TPedaco atual;
    // A short heading word ("CfOp", "I.S.S.") stays whole; a long one may break between its parts.
    bool palavraLonga = false;
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (i == 0 || t[i - 1].isSpace()) {
            int fim = i;
            while (fim < t.size() && !t[fim].isSpace())
                ++fim;
            palavraLonga = fim - i > 8;
        }
        if (c.isSpace()) {
            if (!atual.texto.isEmpty()) {
                r << atual;
                atual = {};
            }
            atual.antes += c;
            continue;
        }
        if (q == Quebra::Titulo && !atual.texto.isEmpty() && palavraLonga) {
            const QChar a = atual.texto.back();
            if ((a.isLower() && c.isUpper()) || a == QLatin1Char('.') || a == QLatin1Char('/') || a == QLatin1Char('-')) {
                r << atual;
                atual = {};
            }
        }
        atual.texto += c;
    }
    if (!atual.texto.isEmpty())
        r << atual;
    return r;
}

struct TQuebrado {
    QStringList linhas;
    bool inteiro = true;   // no word had to be cut
    qreal largura = 0;     // of the widest line
};

// Breaks a text into the lines of a box `limite` wide. A piece wider than the box is cut between
// characters (never elided), and `inteiro` says so.
TQuebrado quebra(const QString& t, qreal limite, const TTipo& tipo, Quebra q)
{
    TQuebrado r;
    if (t.isEmpty())
        return r;
    const qreal lim = limite + 0.01;
    const qreal cheia = tipo.mede(t);
    if (cheia <= lim) {
        r.linhas << t;
        r.largura = cheia;
        return r;
    }
    QString linha;
    bool aberta = false;
    for (const TPedaco& p : pedacos(t, q)) {
        if (aberta) {
            const QString junto = linha + p.antes + p.texto;
            if (tipo.mede(junto) <= lim) {
                linha = junto;
                continue;
            }
            r.linhas << linha;
            aberta = false;
        }
        // A line begins with the piece; the blanks at a break go, the text's own leading blanks stay.
        QString inicio = r.linhas.isEmpty() ? p.antes + p.texto : p.texto;
        if (tipo.mede(inicio) > lim) {
            r.inteiro = false;
            QString parte;
            for (const QChar c : inicio) {
                if (!parte.isEmpty() && tipo.mede(parte + c) > lim) {
                    r.linhas << parte;
                    parte.clear();
                }
                parte += c;
            }
            inicio = parte;
        }
        linha = inicio;
        aberta = true;
    }
    if (aberta)
        r.linhas << linha;
    for (const QString& l : r.linhas)
        r.largura = qMax(r.largura, tipo.mede(l));
    return r;
}

qreal pedacoMaisLargo(const QString& t, const TTipo& tipo, Quebra q)
{
    qreal w = 0;
    for (const TPedaco& p : pedacos(t, q))
        w = qMax(w, tipo.mede(p.texto));
    return w;
}

// The narrowest box that holds a heading in at most three lines.
qreal larguraDoTitulo(const QString& t, const TTipo& tipo)
{
    const qreal cheia = tipo.mede(t);
    qreal w = pedacoMaisLargo(t, tipo, Quebra::Titulo);
    while (w < cheia && quebra(t, w, tipo, Quebra::Titulo).linhas.size() > 3)
        w += qMax<qreal>(1, cheia * 0.02);
    return qMin(w, cheia);
}

QPageLayout leiaute(bool paisagem)
{
    return QPageLayout(QPageSize(QPageSize::A4), paisagem ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(kMargemMm, kMargemMm, kMargemMm, kMargemMm), QPageLayout::Millimeter);
}

// The column lines the report asks for: a new one at each column that opens one.
QList<QList<int>> faixasPedidas(const TRelatorio& r)
{
    QList<QList<int>> f;
    for (int c = 0; c < r.colunas.size(); ++c) {
        if (f.isEmpty() || r.colunas[c].novaLinha)
            f.append(QList<int>{});
        f.last() << c;
    }
    return f;
}

// The line of columns `faixa` of `faixas` that holds column `k`, and its place in it.
int faixaDe(const QList<QList<int>>& faixas, int k)
{
    for (int b = 0; b < faixas.size(); ++b)
        if (faixas[b].contains(k))
            return b;
    return -1;
}

} // namespace

// What the widths depend on, gathered once over every line of the report: per column the widest piece that
// cannot be broken, the widest whole text and the widest figure or label of a total line; the widest text of
// each slot of the sub-lines; the widest value of the label-and-value lines.
struct TPintorRelatorio::TAnalise {
    int dpi = 0;
    struct TColuna {
        QString palavra, texto, total, totalInteiro;
    };
    QList<TColuna> colunas;
    QStringList vagas;
    QString valorCampo;
};

namespace {

// The widest of the texts offered (the first of equal ones), each measured only when its bound says it might
// be wider than the widest so far: a report of many thousand lines is measured in a fraction of the time.
struct TMaisLargo {
    QString texto;
    qreal largura = 0;
    bool podeSer(const QString& c, const TTipo& tipo) const
    {
        if (c.isEmpty())
            return false;
        const qreal s = tipo.soma(c);
        return tipo.somaExata ? s > largura : s * 1.1 + 1 > largura;
    }
    void oferece(const QString& c, const TTipo& tipo)
    {
        if (!podeSer(c, tipo))
            return;
        const qreal m = tipo.mede(c);
        if (tipo.somaExata && m != tipo.soma(c))
            tipo.somaExata = false;
        if (m > largura) {
            largura = m;
            texto = c;
        }
    }
};

QString maiorPedaco(const QString& t, const TTipo& tipo)
{
    QString r;
    qreal w = -1;
    for (const TPedaco& p : pedacos(t, Quebra::Espacos)) {
        const qreal m = tipo.mede(p.texto);
        if (m > w) {
            w = m;
            r = p.texto;
        }
    }
    return r;
}

// The widths of one detail size on a page `largura` wide.
struct TColunas {
    QList<qreal> minimo, desejado;
    QList<qreal> titulo;   // the heading on one line
};

TColunas medeColunas(const TRelatorio& r, const TPintorRelatorio::TAnalise& a, const TTipos& t)
{
    TColunas c;
    const qreal digito = t.normal.mede(QStringLiteral("0"));
    for (int k = 0; k < r.colunas.size(); ++k) {
        const TColunaRelatorio& col = r.colunas[k];
        const TPintorRelatorio::TAnalise::TColuna& x = a.colunas[k];
        const qreal minimo = qMax(qMax(t.normal.mede(x.palavra), t.total.mede(x.total)), larguraDoTitulo(col.titulo, t.coluna)) *
                                 kFolga + 1;
        const qreal desejado = qMax(qMax(minimo, qMax(t.normal.mede(x.texto), t.total.mede(x.totalInteiro)) * kFolga + 1),
                                    qMax(t.coluna.mede(col.titulo) * kFolga + 1, col.largura * digito));
        c.minimo << minimo;
        c.desejado << desejado;
        c.titulo << qMin(desejado, qMax(minimo, t.coluna.mede(col.titulo) * kFolga + 1));
    }
    return c;
}

qreal soma(const TColunas& c, const QList<int>& faixa, bool minimo, qreal vao)
{
    qreal s = vao * qMax<qsizetype>(0, faixa.size() - 1);
    for (int k : faixa)
        s += minimo ? c.minimo[k] : c.desejado[k];
    return s;
}

// Packs the columns of `f` in order into lines at most `limite` wide.
QList<QList<int>> empacota(const QList<int>& f, const TColunas& c, qreal limite, qreal vao)
{
    QList<QList<int>> r;
    qreal usado = 0;
    for (int k : f) {
        if (!r.isEmpty() && !r.last().isEmpty() && usado + vao + c.minimo[k] <= limite) {
            r.last() << k;
            usado += vao + c.minimo[k];
            continue;
        }
        r.append(QList<int>{k});
        usado = c.minimo[k];
    }
    return r;
}

// Lines of columns that fit `largura`: each line asked for, broken again where it is wider, into as few lines
// as it takes, of widths as even as the order of the columns allows.
QList<QList<int>> reparte(const QList<QList<int>>& pedidas, const TColunas& c, qreal largura, qreal vao)
{
    QList<QList<int>> r;
    for (const QList<int>& f : pedidas) {
        const qsizetype linhas = empacota(f, c, largura, vao).size();
        qreal baixo = 0, alto = largura;
        for (int k : f)
            baixo = qMax(baixo, c.minimo[k]);
        for (int i = 0; i < 30 && alto - baixo > 0.5; ++i) {
            const qreal meio = (baixo + alto) / 2;
            (empacota(f, c, meio, vao).size() <= linhas ? alto : baixo) = meio;
        }
        r << empacota(f, c, alto, vao);
    }
    return r;
}

} // namespace

TPintorRelatorio::TPintorRelatorio(const TRelatorio& relatorio) : m_r(relatorio) {}
TPintorRelatorio::~TPintorRelatorio() = default;

const TPintorRelatorio::TAnalise& TPintorRelatorio::analise(QPaintDevice& d) const
{
    if (m_analise && m_analise->dpi == d.logicalDpiX())
        return *m_analise;
    auto a = std::make_unique<TAnalise>();
    a->dpi = d.logicalDpiX();
    const TTipos t(kPontosReferencia, &d);
    struct TColunaMedida {
        TMaisLargo palavra, texto, total, totalInteiro;
    };
    QList<TColunaMedida> colunas(m_r.colunas.size());
    QList<TMaisLargo> vagas;
    TMaisLargo valorCampo;
    // The widest piece of a text that breaks at its blanks: never wider than the whole.
    auto pedaco = [](TMaisLargo& m, const QString& cel, const TTipo& tipo) {
        if (m.podeSer(cel, tipo))
            m.oferece(maiorPedaco(cel, tipo), tipo);
    };
    const QList<QList<int>> faixas = faixasPedidas(m_r);
    using T = TLinhaRelatorio::Tipo;
    for (const QList<TLinhaRelatorio>* parte : {&m_r.linhas, &m_r.resumo})
        for (const TLinhaRelatorio& l : *parte) {
            if (l.tipo == T::Sub) {
                for (int i = 0; i < l.celulas.size(); ++i) {
                    if (vagas.size() <= i)
                        vagas << TMaisLargo();
                    vagas[i].oferece(l.celulas[i], t.normal);
                }
                continue;
            }
            if (l.tipo == T::Campo) {
                valorCampo.oferece(l.celulas.value(1), t.normal);
                continue;
            }
            if (l.tipo != T::Detalhe && l.tipo != T::Total)
                continue;
            for (int k = 0; k < l.celulas.size() && k < m_r.colunas.size(); ++k) {
                const QString cel = l.celulas[k].trimmed();
                if (cel.isEmpty())
                    continue;
                TColunaMedida& x = colunas[k];
                const bool direita = m_r.colunas[k].direita;
                if (l.tipo == T::Total) {
                    // A label runs on over the empty cells after it ("TOTAIS GERAIS:"); only one that cannot
                    // widens its column.
                    const int b = faixaDe(faixas, k);
                    const int j = faixas[b].indexOf(k);
                    const bool corre = !direita && j + 1 < faixas[b].size() &&
                                       l.celulas.value(faixas[b][j + 1]).trimmed().isEmpty();
                    if (!corre) {
                        if (direita)
                            x.total.oferece(cel, t.total);
                        else
                            pedaco(x.total, cel, t.total);
                        x.totalInteiro.oferece(cel, t.total);
                    }
                    continue;
                }
                if (direita)
                    x.palavra.oferece(cel, t.normal);
                else
                    pedaco(x.palavra, cel, t.normal);
                x.texto.oferece(cel, t.normal);
            }
        }
    for (const TColunaMedida& c : colunas)
        a->colunas << TAnalise::TColuna{c.palavra.texto, c.texto.texto, c.total.texto, c.totalInteiro.texto};
    for (const TMaisLargo& v : vagas)
        a->vagas << v.texto;
    a->valorCampo = valorCampo.texto;
    m_analise = std::move(a);
    return *m_analise;
}

bool TPintorRelatorio::paisagem(QPaintDevice& d) const
{
    if (m_r.paisagem)
        return true;
    if (m_r.colunas.isEmpty())
        return false;
    const TTipos t(kMenorTamanho, &d);
    const TColunas c = medeColunas(m_r, analise(d), t);
    const qreal largura = leiaute(false).paintRectPixels(d.logicalDpiX()).width();
    for (const QList<int>& f : faixasPedidas(m_r))
        if (soma(c, f, true, t.vao()) > largura)
            return true;
    return false;
}

void TPintorRelatorio::preparaDispositivo(QPagedPaintDevice& d) const
{
    d.setPageLayout(leiaute(paisagem(d)));
}

void PintaPagina(QPainter& p, const TPaginaRelatorio& folha)
{
    for (const TTextoPagina& t : folha.textos) {
        p.setFont(t.fonte);
        for (int i = 0; i < t.linhas.size(); ++i)
            p.drawText(QRectF(t.caixa.x(), t.caixa.y() + i * t.altoLinha, t.caixa.width(), t.altoLinha),
                       int(t.alinhamento | Qt::AlignVCenter) | Qt::TextSingleLine | Qt::TextDontClip, t.linhas[i]);
    }
    for (const QLineF& l : folha.reguas)
        p.drawLine(l);
}

int TPintorRelatorio::pinta(QPainter& p, QPagedPaintDevice& d) const
{
    bool primeira = true;
    return percorre(d, [&](const TPaginaRelatorio& folha) {
        if (!primeira)
            d.newPage();
        primeira = false;
        PintaPagina(p, folha);
    });
}

int TPintorRelatorio::paginas(QPagedPaintDevice& d) const
{
    return percorre(d, [](const TPaginaRelatorio&) {});
}

TDisposicao TPintorRelatorio::dispoe(QPagedPaintDevice& d) const
{
    TDisposicao r;
    percorre(d, [&r](const TPaginaRelatorio& folha) { r.paginas << folha; }, &r);
    return r;
}

int TPintorRelatorio::percorre(QPagedPaintDevice& d, const std::function<void(const TPaginaRelatorio&)>& entrega,
                               TDisposicao* disposicao) const
{
    TPaginador paginador(*this, d);
    if (disposicao) {
        disposicao->paisagem = paginador.paisagem();
        disposicao->pontosDetalhe = paginador.pontosDetalhe();
        disposicao->area = paginador.area();
    }
    while (paginador.avanca())
        entrega(paginador.ultima());
    return paginador.conhecidas();
}

// Everything a page's layout needs that holds for the whole report: the fonts of the detail size chosen, the
// lines of columns and their geometry, the sub-line slots, and where each page known so far begins.
struct TPaginador::TEstado {
    using Parte = TTextoPagina::Parte;
    const TRelatorio& r;
    const TPintorRelatorio::TAnalise& a;
    qreal largura = 0, fim = 0;
    bool paisagem = false;
    qreal pontos = kTamanhos[0];
    QList<QList<int>> faixas;
    std::unique_ptr<TTipos> tipos;
    qreal vao = 0, folgaFileira = 0;
    QList<qreal> x, w, vagas;
    qreal inicioVagas = 0, fimValor = 0, larguraValor = 0;
    // The element each known page begins with: the detail lines, then (when there is a summary) its
    // separating rule, then the summary's lines. -1 after the last page.
    QList<int> inicios{0};
    TPaginaRelatorio ultima;
    int numeroUltima = 0;

    TEstado(const TRelatorio& relatorio, const TPintorRelatorio::TAnalise& analise, QPagedPaintDevice& d)
        : r(relatorio), a(analise)
    {
        const QRect pintavel = d.pageLayout().paintRectPixels(d.logicalDpiX());
        largura = pintavel.width();
        fim = pintavel.height();
        paisagem = d.pageLayout().orientation() == QPageLayout::Landscape;

        // The largest detail size at which every line of columns fits; at the smallest, lines that still do
        // not fit are broken into more lines.
        const QList<QList<int>> pedidas = faixasPedidas(r);
        faixas = pedidas;
        if (!r.colunas.isEmpty()) {
            bool achou = false;
            for (const qreal p : kTamanhos) {
                const TTipos t(p, &d);
                const TColunas c = medeColunas(r, a, t);
                bool cabem = true;
                for (const QList<int>& f : pedidas)
                    cabem = cabem && soma(c, f, true, t.vao()) <= largura;
                if (cabem) {
                    pontos = p;
                    achou = true;
                    break;
                }
            }
            if (!achou) {
                // As few lines per row as the smallest size needs, at the largest size that keeps to them.
                const TTipos menor(kMenorTamanho, &d);
                faixas = reparte(pedidas, medeColunas(r, a, menor), largura, menor.vao());
                pontos = kMenorTamanho;
                for (const qreal p : kTamanhos) {
                    const TTipos t(p, &d);
                    const QList<QList<int>> f = reparte(pedidas, medeColunas(r, a, t), largura, t.vao());
                    if (f.size() <= faixas.size()) {
                        faixas = f;
                        pontos = p;
                        break;
                    }
                }
            }
        }
        tipos = std::make_unique<TTipos>(pontos, &d);
        const TTipos& t = *tipos;
        vao = t.vao();
        folgaFileira = t.normal.alto * 0.15;

        // Column geometry: the needed widths, the room left shared out in proportion to what each column
        // would still take to show its texts on one line.
        x.resize(r.colunas.size());
        w.resize(r.colunas.size());
        if (!r.colunas.isEmpty()) {
            TColunas c = medeColunas(r, a, t);
            for (const QList<int>& f : faixas) {
                qreal minimo = soma(c, f, true, vao);
                const qreal desejado = soma(c, f, false, vao);
                // The headings on one line when the page has room for them.
                qreal comTitulos = vao * (f.size() - 1);
                for (int k : f)
                    comTitulos += c.titulo[k];
                if (comTitulos <= largura) {
                    for (int k : f)
                        c.minimo[k] = c.titulo[k];
                    minimo = comTitulos;
                }
                qreal em = 0;
                for (int k : f) {
                    qreal l;
                    if (desejado <= largura)
                        l = c.desejado[k] + (largura - desejado) * c.desejado[k] / qMax<qreal>(1, desejado - vao * (f.size() - 1));
                    else if (minimo <= largura)
                        l = c.minimo[k] + (c.desejado[k] - c.minimo[k]) * (largura - minimo) / qMax<qreal>(1e-6, desejado - minimo);
                    else
                        l = c.minimo[k] * (largura - vao * (f.size() - 1)) / qMax<qreal>(1, minimo - vao * (f.size() - 1));
                    x[k] = em;
                    w[k] = l;
                    em += l + vao;
                }
            }
        }
        // Sub-line slots, from under the second column, each as wide as its widest text.
        inicioVagas = r.colunas.size() > 1 ? x[1] : 0;
        {
            qreal total = 0;
            for (const QString& v : a.vagas) {
                vagas << t.normal.mede(v) * kFolga + 1;
                total += vagas.last() + 2 * vao;
            }
            if (inicioVagas + total > largura)
                inicioVagas = qMax<qreal>(0, largura - total);
        }
        // Label-and-value lines: the value box as wide as the widest value, between a quarter and half the page.
        fimValor = largura * 0.93;
        larguraValor = qBound(largura * 0.25, t.normal.mede(a.valorCampo) * kFolga + 1, largura * 0.5);
    }

    qsizetype elementos() const { return r.linhas.size() + (r.resumo.isEmpty() ? 0 : 1 + r.resumo.size()); }

    // Page `numero`, from element `elemento` on; `*proximo` is the element the next page begins with, -1 when
    // this page is the last.
    TPaginaRelatorio dispoe(int numero, int elemento, int* proximo) const;
};

TPaginaRelatorio TPaginador::TEstado::dispoe(int numero, int elemento, int* proximo) const
{
    const TTipos& t = *tipos;
    TPaginaRelatorio folha;
    qreal y = 0, corpo = 0;

    auto prepara = [](Parte parte, qreal em, qreal larg, const QString& texto, const TTipo& tipo, Qt::Alignment al,
                      Quebra q) {
        TTextoPagina r;
        r.parte = parte;
        r.texto = texto;
        r.fonte = tipo.fonte;
        r.altoLinha = tipo.alto;
        r.alinhamento = al;
        const TQuebrado qb = quebra(texto, larg, tipo, q);
        r.linhas = qb.linhas;
        r.cabe = qb.inteiro && qb.largura <= larg + 0.01;
        r.caixa = QRectF(em, 0, larg, qb.linhas.size() * tipo.alto);
        return r;
    };
    // Places a row of prepared texts at y; the row is as tall as its tallest text.
    auto assenta = [&](QList<TTextoPagina>& fileira, qreal extra = 0) {
        qreal alto = 0;
        for (const TTextoPagina& i : fileira)
            alto = qMax(alto, i.caixa.height());
        for (TTextoPagina& i : fileira) {
            i.caixa.moveTop(y + extra);
            i.caixa.setHeight(alto);
            folha.textos << i;
        }
        y += alto + extra;
    };
    auto altura = [](const QList<TTextoPagina>& fileira) {
        qreal alto = 0;
        for (const TTextoPagina& i : fileira)
            alto = qMax(alto, i.caixa.height());
        return alto;
    };
    auto regua = [&](qreal em) { folha.reguas << QLineF(0, em, largura, em); };

    // The page header: program, date, time and page number, the titles, the taxpayer, the column headings.
    {
        const QStringList esquerda = r.declaracao ? CabecalhoDeclaracao() : QStringList{NomeDoPrograma(), LinhaDoFabricante()};
        const QStringList direita = {QStringLiteral("Data: ") + r.emissao.date().toString(QStringLiteral("dd/MM/yyyy")),
                                     QStringLiteral("Hora: ") + r.emissao.time().toString(QStringLiteral("HH:mm:ss")),
                                     QString::fromUtf8("Página: %1").arg(numero)};
        for (int i = 0; i < qMax(esquerda.size(), direita.size()); ++i) {
            QList<TTextoPagina> f;
            if (!esquerda.value(i).isEmpty())
                f << prepara(Parte::Cabecalho, 0, largura * 0.7, esquerda.value(i), i == 0 ? t.cabecalhoNegrito : t.cabecalho,
                             Qt::AlignLeft, Quebra::Espacos);
            if (!direita.value(i).isEmpty())
                f << prepara(Parte::Cabecalho, largura * 0.7, largura * 0.3, direita.value(i), t.cabecalho, Qt::AlignRight,
                             Quebra::Espacos);
            assenta(f);
        }
        QList<TTextoPagina> titulo{prepara(Parte::Titulo, 0, largura, r.titulo, t.titulo, Qt::AlignHCenter, Quebra::Espacos)};
        assenta(titulo, t.titulo.alto * 0.15);
        y += t.titulo.alto * 0.15;
        for (const QString& s : r.subtitulos) {
            QList<TTextoPagina> f{prepara(Parte::Titulo, 0, largura, s, t.cabecalhoNegrito, Qt::AlignHCenter, Quebra::Espacos)};
            assenta(f);
        }
        for (const QString& s : {r.contribuinte, r.periodo})
            if (!s.isEmpty()) {
                QList<TTextoPagina> f{prepara(Parte::Contribuinte, 0, largura, s, t.cabecalho, Qt::AlignLeft, Quebra::Espacos)};
                assenta(f);
            }
        regua(y + t.cabecalho.alto * 0.2);
        y += t.cabecalho.alto * 0.4;
        if (!r.colunas.isEmpty()) {
            for (const QList<int>& f : faixas) {
                QList<TTextoPagina> titulos;
                for (int k : f)
                    if (!r.colunas[k].titulo.isEmpty())
                        titulos << prepara(Parte::Coluna, x[k], w[k], r.colunas[k].titulo, t.coluna,
                                           r.colunas[k].direita ? Qt::AlignRight : Qt::AlignLeft, Quebra::Titulo);
                if (!titulos.isEmpty())
                    assenta(titulos);
            }
            y += t.normal.alto * 0.1;
            regua(y);
            y += t.normal.alto * 0.2;
        }
        corpo = y;
    }
    // Whether `alto` fits what is left of this page (a page that holds nothing yet takes it).
    auto cabe = [&](qreal alto) { return !(y + alto > fim && y > corpo); };
    // A line of cells under the columns: one row per line of columns that has anything to show.
    auto celulas = [&](const QStringList& cs, const TTipo& tipo, Parte parte) {
        QList<QList<TTextoPagina>> fileiras;
        for (const QList<int>& f : faixas) {
            QList<TTextoPagina> fileira;
            for (int j = 0; j < f.size(); ++j) {
                const int k = f[j];
                const bool direita = r.colunas[k].direita;
                const QString cel = direita ? cs.value(k).trimmed() : cs.value(k);
                if (cel.trimmed().isEmpty())
                    continue;
                // A left-aligned text runs on over the empty cells after it ("TOTAIS GERAIS:").
                int ate = j;
                while (!direita && ate + 1 < f.size() && cs.value(f[ate + 1]).trimmed().isEmpty())
                    ++ate;
                const qreal larg = x[f[ate]] + w[f[ate]] - x[k];
                fileira << prepara(parte, x[k], larg, cel, tipo, direita ? Qt::AlignRight : Qt::AlignLeft, Quebra::Espacos);
            }
            if (!fileira.isEmpty())
                fileiras << fileira;
        }
        qreal total = 0;
        for (const QList<TTextoPagina>& f : fileiras)
            total += altura(f) + folgaFileira;
        if (!cabe(total))
            return false;
        for (QList<TTextoPagina>& f : fileiras) {
            assenta(f);
            y += folgaFileira;
        }
        return true;
    };
    // Places one line on this page; false, placing nothing, when it belongs on the next.
    auto linha = [&](const TLinhaRelatorio& l, bool resumo) {
        using T = TLinhaRelatorio::Tipo;
        switch (l.tipo) {
        case T::Detalhe:
            return celulas(l.celulas, resumo ? t.total : t.normal, resumo ? Parte::Total : Parte::Detalhe);
        case T::Total:
            return celulas(l.celulas, t.total, Parte::Total);
        case T::Sub: {
            QList<TTextoPagina> f;
            qreal em = inicioVagas;
            for (int c = 0; c < l.celulas.size(); ++c) {
                const bool ultima = c == l.celulas.size() - 1;
                if (!l.celulas[c].trimmed().isEmpty())
                    f << prepara(Parte::Sub, em, vagas.value(c), l.celulas[c], t.normal,
                                 ultima ? Qt::AlignRight : Qt::AlignLeft, Quebra::Espacos);
                em += vagas.value(c) + 2 * vao;
            }
            if (!cabe(altura(f) + folgaFileira))
                return false;
            assenta(f);
            y += folgaFileira;
            return true;
        }
        case T::Secao: {
            QList<TTextoPagina> f{prepara(Parte::Secao, 0, largura, l.texto, t.secao, Qt::AlignLeft, Quebra::Espacos)};
            if (!cabe(altura(f) + t.secao.alto * 0.6))
                return false;
            assenta(f, t.secao.alto * 0.3);
            y += t.secao.alto * 0.3;
            return true;
        }
        case T::Texto: {
            QList<TTextoPagina> f{prepara(resumo ? Parte::Total : Parte::Detalhe, 0, largura, l.texto,
                                          resumo ? t.total : t.normal, Qt::AlignLeft, Quebra::Espacos)};
            if (!cabe(altura(f) + folgaFileira))
                return false;
            assenta(f);
            y += folgaFileira;
            return true;
        }
        case T::Campo: {
            QList<TTextoPagina> f;
            const qreal inicio = largura * 0.03, valor = fimValor - larguraValor;
            if (!l.celulas.value(0).isEmpty())
                f << prepara(Parte::Campo, inicio, valor - vao * 2 - inicio, l.celulas.value(0), t.normal, Qt::AlignLeft,
                             Quebra::Espacos);
            const QString v = l.celulas.value(1).trimmed();
            if (!v.isEmpty())
                f << prepara(Parte::Campo, valor, larguraValor, v, t.normal, Qt::AlignRight, Quebra::Espacos);
            if (!cabe(altura(f) + folgaFileira))
                return false;
            assenta(f);
            y += folgaFileira;
            return true;
        }
        }
        return true;
    };

    const qsizetype linhas = r.linhas.size();
    const qsizetype total = elementos();
    for (qsizetype e = elemento; e < total; ++e) {
        bool coube;
        if (e < linhas) {
            coube = linha(r.linhas[e], false);
        } else if (e == linhas) {
            // The rule between the detail and the summary.
            coube = cabe(t.total.alto * 1.5);
            if (coube) {
                regua(y + t.normal.alto * 0.2);
                y += t.normal.alto * 0.5;
            }
        } else {
            coube = linha(r.resumo[e - linhas - 1], true);
        }
        if (!coube) {
            *proximo = int(e);
            return folha;
        }
    }
    *proximo = -1;
    return folha;
}

TPaginador::TPaginador(const TPintorRelatorio& pintor, QPagedPaintDevice& dispositivo)
    : m(std::make_unique<TEstado>(pintor.m_r, pintor.analise(dispositivo), dispositivo))
{
}

TPaginador::~TPaginador() = default;

int TPaginador::conhecidas() const
{
    return int(m->inicios.size()) - (contado() ? 1 : 0);
}

bool TPaginador::contado() const
{
    return m->inicios.last() < 0;
}

bool TPaginador::avanca()
{
    if (contado())
        return false;
    int proximo = -1;
    const int numero = int(m->inicios.size());
    m->ultima = m->dispoe(numero, m->inicios.last(), &proximo);
    m->numeroUltima = numero;
    m->inicios << proximo;
    return true;
}

const TPaginaRelatorio& TPaginador::ultima() const
{
    return m->ultima;
}

bool TPaginador::alcanca(int numero)
{
    // One page past it, so that whether another follows is known too.
    while (!contado() && conhecidas() <= numero)
        avanca();
    return numero >= 1 && numero <= conhecidas();
}

TPaginaRelatorio TPaginador::pagina(int numero)
{
    alcanca(numero);
    if (numero < 1 || numero > conhecidas())
        return {};
    if (numero == m->numeroUltima)
        return m->ultima;
    int proximo = -1;
    return m->dispoe(numero, m->inicios[numero - 1], &proximo);
}

bool TPaginador::paisagem() const { return m->paisagem; }
qreal TPaginador::pontosDetalhe() const { return m->pontos; }
QSizeF TPaginador::area() const { return QSizeF(m->largura, m->fim); }

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
