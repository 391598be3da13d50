#include "declarations/screens/untCredPresumido.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/untContexto.h"
#include "widgets/Enter.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

TfrmCredPresumido::TfrmCredPresumido(TContexto& ctx, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmCredPresumido"));
    setWindowTitle(QString::fromUtf8("Crédito Presumido"));
    setModal(false);
    new TkEnterAsTab(this);
    auto* grupo = new QGroupBox(this);
    auto* form = new QFormLayout(grupo);
    auto campo = [&](const char* nome, const char* rotulo) {
        auto* v = Nomeado(new TEdValor(grupo), nome);
        form->addRow(QString::fromUtf8(rotulo), v);
        connect(v, &QLineEdit::textChanged, this, &TfrmCredPresumido::mudou);
        return v;
    };
    curedtOutrosRegimes = campo("curedtOutrosRegimes", "01- Outros Regimes Especiais");
    curedtTare = campo("curedtTare", "02- Termo de Acordo - TARE");
    curedtPrevRicms = campo("curedtPrevRicms", "03- Previsão do RICMS");
    curedtDorq = campo("curedtDorq", "04- DORQ");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("&Fechar"), this), "btnFechar");
    btnFechar->setAutoDefault(false);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grupo);
    layout->addLayout(botoes);
    auto* regras = new TRegrasSaida(this);
    regras->silencioso(btnFechar);
    RegraDosValores(*regras, this, *ctx.dialogos);
}

Money TfrmCredPresumido::TotalCredPresumido() const
{
    return curedtOutrosRegimes->valor() + curedtTare->valor() + curedtPrevRicms->valor() + curedtDorq->valor();
}

void TfrmCredPresumido::valores(Money destino[4]) const
{
    destino[0] = curedtOutrosRegimes->valor();
    destino[1] = curedtTare->valor();
    destino[2] = curedtPrevRicms->valor();
    destino[3] = curedtDorq->valor();
}

void TfrmCredPresumido::defineValores(const Money origem[4])
{
    curedtOutrosRegimes->defineValor(origem[0]);
    curedtTare->defineValor(origem[1]);
    curedtPrevRicms->defineValor(origem[2]);
    curedtDorq->defineValor(origem[3]);
}

// Both "&Fechar" and the window's own close come here: the window hides, its values stay.
void TfrmCredPresumido::reject()
{
    QDialog::reject();
    emit fechou();
}
