#pragma once
#include <QList>
#include <QString>
#include <utility>

#include "documents/untConsultasNotas.h"

class QChartView;
class QLabel;
class QTabWidget;

// The "Resumo" and "Gráfico" pages the document browse screens share.

// A bold title, then one right-aligned value label per line (object name, caption); returns the title.
QLabel* MontaPaginaResumo(QTabWidget* paginas, const QList<std::pair<const char*, const char*>>& linhas);
QChartView* MontaPaginaGrafico(QTabWidget* paginas);
// One bar per month number; the chart is disabled when there is nothing to show.
void DesenhaGrafico(QChartView* grafico, const QString& titulo, const QList<ConsultasNotas::TBarra>& barras);
