#pragma once
// The focus chain of a screen walked with real Tab presses, and the reading order it should follow.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRect>
#include <algorithm>
#include <QWidget>
#include <QList>
#include <QPair>
#include <QRadioButton>
#include <QStringList>
#include <QTest>

#include "widgets/untTelas.h"

// Enters `campo` as Tab does, types `texto` over what it shows, then presses Tab until `alvo` has the focus, as
// a keyboard user reaches a button; false when `passos` presses do not get there.
inline bool DigitaEVaiAte(QWidget* campo, const QString& texto, QWidget* alvo, int passos = 12)
{
    campo->setFocus(Qt::TabFocusReason);
    if (auto* c = qobject_cast<QComboBox*>(campo); c && c->lineEdit())
        c->lineEdit()->selectAll();
    else if (auto* l = qobject_cast<QLineEdit*>(campo))
        l->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), texto);
    for (int i = 0; i < passos && QApplication::focusWidget() != alvo; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return QApplication::focusWidget() == alvo;
}

// The object names Tab meets from `inicio` on, pressing the real key until `passos` more fields were met.
// Radio buttons are pressed through but not listed: which button of a group Tab stops at is Qt's own rule.
inline QStringList CaminhoDoTab(QWidget* inicio, int passos)
{
    inicio->setFocus(Qt::TabFocusReason);
    QStringList caminho{inicio->objectName()};
    for (int teclas = 0; caminho.size() <= passos && teclas < 3 * passos + 3; ++teclas) {
        QWidget* w = QApplication::focusWidget();
        if (!w)
            break;
        QTest::keyClick(w, Qt::Key_Tab);
        w = QApplication::focusWidget();
        if (!w)
            caminho << QStringLiteral("<sem foco>");
        else if (!qobject_cast<QRadioButton*>(w))
            caminho << w->objectName();
    }
    return caminho;
}

// What Tab should meet from `inicio` on: the screen's visible, enabled fields in reading order (radio buttons
// left out), with the screen's fixed moves (each pair: the second
// right after the first) applied, going round to the start after the last.
inline QStringList OrdemEsperada(QWidget* tela, QWidget* inicio, int passos,
                                 const QList<QPair<QString, QString>>& movimentos = {})
{
    QStringList nomes;
    for (QWidget* w : CamposEmOrdemDeLeitura(tela)) {
        if (!w->isVisible() || !w->isEnabled())
            continue;
        if (qobject_cast<QRadioButton*>(w))
            continue;
        nomes << w->objectName();
    }
    for (const auto& [de, para] : movimentos) {
        nomes.removeAll(para);
        nomes.insert(nomes.indexOf(de) + 1, para);
    }
    QStringList r;
    const qsizetype inicial = nomes.indexOf(inicio->objectName());
    for (int i = 0; i <= passos && inicial >= 0; ++i)
        r << nomes[(inicial + i) % nomes.size()];
    return r;
}

// The walk over `nomes` from `inicio`, `passos` steps, a pair of `saltos` sending the focus from its first field to
// its second, going round to the start after the last.
inline QStringList CaminhoComSaltos(const QStringList& nomes, const QString& inicio, int passos,
                                    const QList<QPair<QString, QString>>& saltos)
{
    QStringList r;
    QString atual = inicio;
    for (int i = 0; i <= passos && !nomes.isEmpty(); ++i) {
        r << atual;
        QString proximo;
        for (const auto& [de, para] : saltos)
            if (de == atual)
                proximo = para;
        atual = proximo.isEmpty() ? nomes[(nomes.indexOf(atual) + 1) % nomes.size()] : proximo;
    }
    return r;
}

// What Tab should meet from `inicio` on when leaving some fields sends the focus to a field further on (each
// pair: from the first, the focus goes to the second, the fields between left out of the walk); otherwise the
// reading order, going round to the start after the last.
inline QStringList OrdemComSaltos(QWidget* tela, QWidget* inicio, int passos,
                                  const QList<QPair<QString, QString>>& saltos)
{
    QStringList nomes;
    for (QWidget* w : CamposEmOrdemDeLeitura(tela))
        if (w->isVisible() && w->isEnabled() && !qobject_cast<QRadioButton*>(w))
            nomes << w->objectName();
    return CaminhoComSaltos(nomes, inicio->objectName(), passos, saltos);
}

// The reading order taken from where the fields are drawn, not from how the screen was built: inside each
// block (the window, a group, a page) the blocks and fields that hold a field are put in rows (those whose
// heights overlap side by side), the rows top to bottom, each row left to right, a block's fields together.
namespace ordem_tela {
inline bool Para(const QWidget* w)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy();
}
inline bool Usavel(const QWidget* w)
{
    return w->isVisible() && w->isEnabled() && Para(w);
}
inline bool TemCampo(const QWidget* w)
{
    for (const QWidget* d : w->findChildren<QWidget*>())
        if (!d->isWindow() && Usavel(d))
            return true;
    return false;
}
inline void Ordena(QWidget* tela, QWidget* bloco, QList<QWidget*>& saida)
{
    struct Unidade {
        QWidget* w;
        QRect r;
    };
    QList<Unidade> us;
    for (QWidget* f : bloco->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (f->isWindow() || !f->isVisible())
            continue;
        const bool campo = Para(f) && f->isEnabled();
        const bool desce = !Para(f) || qobject_cast<QGroupBox*>(f);
        if (!campo && !(desce && TemCampo(f)))
            continue;
        us.append({f, QRect(f->mapTo(tela, QPoint(0, 0)), f->size())});
    }
    std::stable_sort(us.begin(), us.end(), [](const Unidade& a, const Unidade& b) { return a.r.top() < b.r.top(); });
    for (qsizetype i = 0; i < us.size();) {
        qsizetype fim = i + 1;
        int baixo = us[i].r.bottom();
        while (fim < us.size() && us[fim].r.top() < baixo) {
            baixo = std::max(baixo, us[fim].r.bottom());
            ++fim;
        }
        std::stable_sort(us.begin() + i, us.begin() + fim,
                         [](const Unidade& a, const Unidade& b) { return a.r.left() < b.r.left(); });
        for (qsizetype k = i; k < fim; ++k) {
            QWidget* f = us[k].w;
            if (Para(f) && f->isEnabled())
                saida << f;
            if (!Para(f) || qobject_cast<QGroupBox*>(f))
                Ordena(tela, f, saida);
        }
        i = fim;
    }
}
} // namespace ordem_tela

// The visible, enabled fields of a shown screen in the order they are drawn (radio buttons left out).
inline QStringList CamposNaTela(QWidget* tela)
{
    QList<QWidget*> campos;
    ordem_tela::Ordena(tela, tela, campos);
    QStringList nomes;
    for (QWidget* w : campos)
        if (!qobject_cast<QRadioButton*>(w))
            nomes << w->objectName();
    return nomes;
}

// What Tab should meet from `inicio` on, by the drawn order; leaving a field named first in a pair of `saltos`
// sends the focus to the second (a fixed move of the screen), the fields between left out of the walk.
inline QStringList OrdemNaTela(QWidget* tela, QWidget* inicio, int passos,
                               const QList<QPair<QString, QString>>& saltos = {})
{
    const QStringList nomes = CamposNaTela(tela);
    return CaminhoComSaltos(nomes, inicio->objectName(), passos, saltos);
}

// The drawn order once a screen's fixed moves are in its Tab chain: each pair puts the second field right after
// the first, as QWidget::setTabOrder does, the others keeping their places. A pair with a field not listed
// (hidden or disabled) changes nothing.
inline QStringList ComMovimentos(QStringList nomes, const QList<QPair<QString, QString>>& movimentos)
{
    for (const auto& [de, para] : movimentos) {
        if (!nomes.contains(de) || !nomes.contains(para) || de == para)
            continue;
        nomes.removeAll(para);
        nomes.insert(nomes.indexOf(de) + 1, para);
    }
    return nomes;
}

// What Tab should meet from `inicio` on: the drawn order with the screen's fixed moves in its chain
// (`movimentos`), and the leaving rules' jumps (`saltos`) as in OrdemNaTela.
inline QStringList OrdemNaTelaMovida(QWidget* tela, QWidget* inicio, int passos,
                                     const QList<QPair<QString, QString>>& movimentos,
                                     const QList<QPair<QString, QString>>& saltos = {})
{
    return CaminhoComSaltos(ComMovimentos(CamposNaTela(tela), movimentos), inicio->objectName(), passos, saltos);
}

// One round of Tab over a shown screen from `inicio` (its first drawn field when none is given): the path the
// real key takes and the drawn order it should follow, with the screen's fixed moves as in OrdemNaTela.
struct TVoltaDoTab {
    QStringList caminho, esperado;
};
inline TVoltaDoTab VoltaDoTab(QWidget* tela, const QList<QPair<QString, QString>>& saltos = {}, QWidget* inicio = nullptr)
{
    const QStringList campos = CamposNaTela(tela);
    if (!inicio && !campos.isEmpty())
        inicio = tela->findChild<QWidget*>(campos.first());
    if (!inicio)
        return {{QStringLiteral("<sem campos>")}, {}};
    const int n = int(campos.size());
    return {CaminhoDoTab(inicio, n), OrdemNaTela(tela, inicio, n, saltos)};
}
