#include "documents/screens/untCFOP.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/untTelas.h"
#include "widgets/Enter.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "db/untDataSetModel.h"

TfrmCFOP::TfrmCFOP(TContexto& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmCFOP"));
    setWindowTitle(QStringLiteral("CFOP"));
    resize(620, 400);
    new TkEnterAsTab(this);

    TDataSet& lista = m_ctx.dtm->ADODataSetCFOP;
    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("dbgCFOP"));
    m_grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grade->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grade->horizontalHeader()->setStretchLastSection(true);
    m_grade->verticalHeader()->setVisible(false);
    m_modelo = new TDataSetModel(lista, {{QStringLiteral("CF_Codigo"), QStringLiteral("Codigo")},
                                         {QStringLiteral("CF_Descricao"), QStringLiteral("Descricao")}},
                                 this);
    MostraNaGrade(m_grade, m_modelo);
    // The grid's row is the list's cursor: that is the choice the caller reads after closing.
    connect(m_grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) {
                if (atual.isValid())
                    m_modelo->moveCursor(atual.row());
            });

    // The caller takes the row under the cursor once the picker closes, whichever way it closes.
    EscolhaNaLista(m_grade, [this] { close(); });

    auto botao = [this](const char* nome, const QString& legenda) {
        auto* b = new QPushButton(legenda, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, &QDialog::close);
        return b;
    };
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(botao("btnSeleciona", QStringLiteral("&Selecionar")));
    botoes->addWidget(botao("btnFechar", QStringLiteral("&Fechar")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grade);
    layout->addLayout(botoes);
    OrdemDeLeituraAoMostrar(this);
}

void TfrmCFOP::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!PrimeiraExibicao(this, evento))
        return;
    TDataSet& lista = m_ctx.dtm->ADODataSetCFOP;
    try {
        m_modelo->recarrega(); // the query and filter the caller set stay as they are
    } catch (const EBancoDados&) {
        m_modelo->reinicia(); // a list the caller could not open shows empty, as it was
    }
    if (lista.active() && !lista.isEmpty()) {
        lista.first();
        m_grade->setCurrentIndex(m_modelo->index(0, 0));
    }
    m_grade->setFocus();
}
