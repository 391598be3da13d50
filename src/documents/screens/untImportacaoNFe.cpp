#include "documents/screens/untImportacaoNFe.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untProgresso.h"
#include "core/untRelogio.h"
#include "db/untSqlite.h"
#include "reports/untRelatorios.h"
#include "widgets/untFechamento.h"
#include "widgets/untTelas.h"
#include "widgets/untVisualizaRelatorio.h"


TfrmResultadoNFe::TfrmResultadoNFe(QList<TResultadoNFe> resultados, IDialogos& dialogos, const QDateTime& emissao,
                                   QWidget* parent)
    : QDialog(parent), m_resultados(std::move(resultados)), m_dialogos(dialogos), m_emissao(emissao)
{
    setObjectName(QStringLiteral("frmResultadoNFe"));
    setWindowTitle(QString::fromUtf8("Importação de NF-e"));
    resize(820, 460);
    grdResultado = Nomeado(new QTableWidget(int(m_resultados.size()), 3, this), "grdResultado");
    grdResultado->setHorizontalHeaderLabels({QStringLiteral("Arquivo"), QString::fromUtf8("Situação"), QStringLiteral("Detalhe")});
    grdResultado->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdResultado->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdResultado->horizontalHeader()->setStretchLastSection(true);
    int importados = 0, duplicados = 0, recusados = 0, ignorados = 0;
    for (int i = 0; i < m_resultados.size(); ++i) {
        const TResultadoNFe& r = m_resultados[i];
        grdResultado->setItem(i, 0, new QTableWidgetItem(r.arquivo));
        grdResultado->setItem(i, 1, new QTableWidgetItem(Relatorios::TextoSituacaoNFe(r)));
        grdResultado->setItem(i, 2, new QTableWidgetItem(r.situacao == TResultadoNFe::Situacao::Importado ? r.descricao : r.motivo));
        (r.ignorado ? ignorados
         : r.situacao == TResultadoNFe::Situacao::Importado ? importados
         : r.situacao == TResultadoNFe::Situacao::Duplicado ? duplicados
                                                            : recusados) += 1;
    }
    grdResultado->resizeColumnsToContents();
    QString resumo = QString::fromUtf8("Importados: %1   Já cadastrados: %2   Recusados: %3")
                         .arg(importados).arg(duplicados).arg(recusados);
    if (ignorados > 0)
        resumo += QStringLiteral("   Ignorados: %1").arg(ignorados);
    lblResumo = Nomeado(new QLabel(resumo, this), "lblResumo");
    btnImprimir = Nomeado(new QPushButton(QStringLiteral("&Imprimir"), this), "btnImprimir");
    btnCopiar = Nomeado(new QPushButton(QStringLiteral("&Copiar"), this), "btnCopiar");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("&Fechar"), this), "btnFechar");
    for (QPushButton* b : {btnImprimir, btnCopiar, btnFechar})
        b->setAutoDefault(false);
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(lblResumo, 1);
    for (QPushButton* b : {btnImprimir, btnCopiar, btnFechar})
        botoes->addWidget(b);
    auto* l = new QVBoxLayout(this);
    l->addWidget(grdResultado, 1);
    l->addLayout(botoes);
    connect(btnImprimir, &QPushButton::clicked, this, [this] {
        MostraRelatorio(m_dialogos, this, Relatorios::ResultadoImportacaoNFe(m_resultados, m_emissao));
    });
    connect(btnCopiar, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(texto()); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::accept);
    FechaPeloBotao(this, btnFechar);
}

QString TfrmResultadoNFe::texto() const
{
    QStringList linhas;
    for (const TResultadoNFe& r : m_resultados)
        linhas << QStringList{r.arquivo, Relatorios::TextoSituacaoNFe(r),
                              r.situacao == TResultadoNFe::Situacao::Importado ? r.descricao : r.motivo}
                      .join(QLatin1Char('\t'));
    return linhas.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int ImportaNFeNaTela(TContexto& ctx, QWidget* pai, const QStringList& caminhos)
{
    if (caminhos.isEmpty())
        return 0;
    TProgressoNulo nulo;
    IProgresso& progresso = ctx.progresso ? *ctx.progresso : nulo;
    QList<TResultadoNFe> resultados;
    progresso.inicia();
    progresso.mensagem(QString::fromUtf8("Importação de NF-e - lendo os arquivos..."));
    try {
        TRelogioSistema sistema;
        TImportaNFe importa(*ctx.dtm, ctx.relogio ? *ctx.relogio : static_cast<const IRelogio&>(sistema), ctx.IdAtivo);
        importa.progresso = [&progresso](int feitos, int total) {
            progresso.mensagem(QString::fromUtf8("Importação de NF-e - %1 de %2 arquivos").arg(feitos).arg(total));
            progresso.posicao(total > 0 ? int(qint64(feitos) * 100 / total) : 100);
        };
        resultados = importa.ImportaCaminhos(caminhos);
        progresso.posicao(100);
    } catch (const EBancoDados& e) {
        progresso.termina();
        ctx.dialogos->mensagemSimples(e.mensagem());
        return 0;
    }
    progresso.termina();
    TfrmResultadoNFe tela(resultados, *ctx.dialogos, Agora(ctx.relogio), pai);
    ctx.dialogos->executaModal(&tela);
    int importados = 0;
    for (const TResultadoNFe& r : resultados)
        importados += r.situacao == TResultadoNFe::Situacao::Importado ? 1 : 0;
    return importados;
}
