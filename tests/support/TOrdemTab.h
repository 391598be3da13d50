#pragma once
// The focus chain of a screen walked with real Tab presses, and the reading order it should follow.
#include <QApplication>
#include <QWidget>
#include <QList>
#include <QPair>
#include <QRadioButton>
#include <QStringList>
#include <QTest>

#include "widgets/untTelas.h"

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
    QStringList r;
    QString atual = inicio->objectName();
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
