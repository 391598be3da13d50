#include "documents/screens/untPaginasNavegacao.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QTabWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include "core/untDatas.h"

QLabel* MontaPaginaResumo(QTabWidget* paginas, const QList<std::pair<const char*, const char*>>& linhas)
{
    auto* resumo = new QWidget(paginas);
    auto* lr = new QVBoxLayout(resumo);
    auto* titulo = new QLabel(resumo);
    titulo->setObjectName(QStringLiteral("lblTituloResumo"));
    QFont negrito = titulo->font();
    negrito.setBold(true);
    titulo->setFont(negrito);
    lr->addWidget(titulo);
    auto* form = new QFormLayout;
    for (const auto& [nome, legenda] : linhas) {
        auto* valor = new QLabel(resumo);
        valor->setObjectName(QString::fromLatin1(nome));
        valor->setAlignment(Qt::AlignRight);
        valor->setMinimumWidth(140);
        form->addRow(QString::fromUtf8(legenda), valor);
    }
    lr->addLayout(form);
    lr->addStretch();
    paginas->addTab(resumo, QStringLiteral("Resumo"));
    return titulo;
}

QChartView* MontaPaginaGrafico(QTabWidget* paginas)
{
    auto* grafico = new QChartView(paginas);
    grafico->setObjectName(QStringLiteral("grafico"));
    grafico->setRenderHint(QPainter::Antialiasing);
    paginas->addTab(grafico, QString::fromUtf8("Gráfico"));
    return grafico;
}

void DesenhaGrafico(QChartView* grafico, const QString& titulo, const QList<ConsultasNotas::TBarra>& barras)
{
    auto* chart = new QChart;
    chart->setTitle(titulo);
    chart->legend()->hide();
    auto* conjunto = new QBarSet(QStringLiteral("Total"));
    QStringList meses;
    double maior = 0;
    for (const auto& b : barras) {
        const double valor = double(b.total.cents()) / 100.0; // a bar's height only: no amount is computed
        *conjunto << valor;
        maior = qMax(maior, valor);
        meses << Datas::nomeMes(b.mes, true);
    }
    auto* serie = new QBarSeries;
    serie->append(conjunto);
    chart->addSeries(serie);
    auto* eixoX = new QBarCategoryAxis;
    eixoX->append(meses);
    chart->addAxis(eixoX, Qt::AlignBottom);
    serie->attachAxis(eixoX);
    auto* eixoY = new QValueAxis;
    eixoY->setRange(0, maior > 0 ? maior * 1.1 : 1);
    // The amounts read as the rest of the program writes them ("2.063,00"), whatever the machine's language.
    chart->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    chart->setLocalizeNumbers(true);
    eixoY->setLabelFormat(QStringLiteral("%.2f"));
    chart->addAxis(eixoY, Qt::AlignLeft);
    serie->attachAxis(eixoY);
    QChart* anterior = grafico->chart();
    grafico->setChart(chart);
    delete anterior;
    grafico->setEnabled(!barras.isEmpty());
}
