#include "declarations/screens/untFraRecibo.h"

#include "widgets/untCalendario.h"
#include "widgets/untTelas.h"
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untDatas.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "declarations/ReciboVarnoNet.h"
#include "declarations/untRecibo.h"

TfraRecibo::TfraRecibo(TContexto& ctx, Variante variante, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_variante(variante)
{
    setObjectName(QStringLiteral("tsRecibo"));
    const bool sn = variante == Variante::SimplesNacional;

    auto* informacoes = new QGroupBox(QString::fromUtf8("Informações do recibo oficial da entrega da ZEL"), this);
    edtNrRecibo = new QLineEdit(informacoes);
    edtNrRecibo->setObjectName(QStringLiteral("edtNrRecibo"));
    edtNrRecibo->setToolTip(QString::fromUtf8("Número do último recibo da ZEL"));
    cbSituacaoCadastro = new QComboBox(informacoes);
    cbSituacaoCadastro->setObjectName(QStringLiteral("cbSituacaoCadastro"));
    cbSituacaoCadastro->setToolTip(QString::fromUtf8("Tipo de entrega de acordo com a situação no cadastro"));
    cbSituacaoCadastro->addItems(ItensSituacaoCadastro());
    cbSituacaoCadastro->setCurrentIndex(-1);
    edtDataSituacao = new QLineEdit(informacoes);
    edtDataSituacao->setObjectName(QStringLiteral("edtDataSituacao"));
    edtDataSituacao->setToolTip(QString::fromUtf8(
        "A data da situação no cadastro de contribuintes de acordo com o tipo de entrega"));
    edtDataSituacao->setInputMask(QStringLiteral("00/00/0000;_"));
    DigitacaoNaMascara(edtDataSituacao);
    edtDataSituacao->clear();
    btnCalendario = new QToolButton(informacoes);
    btnCalendario->setObjectName(QStringLiteral("btnCalendario"));
    btnCalendario->setText(QStringLiteral("..."));
    auto* linhaData = new QHBoxLayout;
    linhaData->addWidget(edtDataSituacao);
    linhaData->addWidget(btnCalendario);
    linhaData->addStretch();
    auto* formInfo = new QFormLayout(informacoes);
    formInfo->addRow(QString::fromUtf8("Número do recibo oficial:"), edtNrRecibo);
    formInfo->addRow(QString::fromUtf8("Entrega p/ situação cadastral:"), cbSituacaoCadastro);
    formInfo->addRow(QString::fromUtf8("Data da situação cadastral:"), linhaData);

    QString tituloProcura = QString::fromUtf8("Procurar comprovante de entregra anterior");
    if (sn)
        tituloProcura += QString::fromUtf8(" (Esse recurso pode evitar a digitação do número do recibo)");
    auto* procura = new QGroupBox(tituloProcura, this);
    edtPastaRecibo = new QLineEdit(procura);
    edtPastaRecibo->setObjectName(QStringLiteral("edtPastaRecibo"));
    edtPastaRecibo->setToolTip(QString::fromUtf8("Pasta onde está gravado o último comprovante de transmissão da ZEL"));
    btnPasta = new QToolButton(procura);
    btnPasta->setObjectName(QStringLiteral("btnPasta"));
    btnPasta->setText(QStringLiteral("..."));
    auto* linhaPasta = new QHBoxLayout;
    linhaPasta->addWidget(edtPastaRecibo, 1);
    linhaPasta->addWidget(btnPasta);
    auto* encontrado = new QGroupBox(QString::fromUtf8("Último comprovante de entrega encontrado:"), procura);
    edtReferencia = new QLineEdit(encontrado);
    edtReferencia->setObjectName(QStringLiteral("edtReferencia"));
    edtReferencia->setReadOnly(true);
    edtRecibo = new QLineEdit(encontrado);
    edtRecibo->setObjectName(QStringLiteral("edtRecibo"));
    edtRecibo->setReadOnly(true);
    btnCopiar = new QPushButton(QStringLiteral("&Copiar"), encontrado);
    btnCopiar->setObjectName(QStringLiteral("btnCopiar"));
    btnCopiar->setAutoDefault(false);
    btnCopiar->setEnabled(false);
    btnCopiar->setToolTip(sn ? QString::fromUtf8("Copia o código de autenticação encontrado para o campo do número do "
                                                 "recibo oficial")
                             : QString::fromUtf8("Copia o código de autenticação encontrado para o campo da "
                                                 "autenticação do recibo oficial"));
    auto* formEncontrado = new QFormLayout(encontrado);
    formEncontrado->addRow(QString::fromUtf8("Referência:"), edtReferencia);
    formEncontrado->addRow(QString::fromUtf8("Autenticação:"), edtRecibo);
    formEncontrado->addRow(btnCopiar);
    auto* formProcura = new QVBoxLayout(procura);
    formProcura->addWidget(new QLabel(sn ? QString::fromUtf8("Pasta do último comprovante de transmissão via internet:")
                                         : QString::fromUtf8("Pasta do último comprovante de transmissão entregue:"),
                                      procura));
    formProcura->addLayout(linhaPasta);
    formProcura->addWidget(encontrado);

    lblAjuda = new QLabel(this);
    lblAjuda->setObjectName(QStringLiteral("lblAjuda"));
    lblAjuda->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(informacoes);
    layout->addWidget(procura);
    layout->addWidget(lblAjuda);
    layout->addStretch();

    edtPastaRecibo->installEventFilter(this);
    edtDataSituacao->installEventFilter(this);
    connect(edtPastaRecibo, &QLineEdit::textChanged, this, &TfraRecibo::procuraNaPasta);
    connect(btnCopiar, &QPushButton::clicked, this, &TfraRecibo::Copiar);
    connect(cbSituacaoCadastro, &QComboBox::currentIndexChanged, this, &TfraRecibo::mudaTipo);
    connect(btnPasta, &QToolButton::clicked, this, &TfraRecibo::escolhePasta);
    connect(btnCalendario, &QToolButton::clicked, this, &TfraRecibo::abreCalendario);
}

bool TfraRecibo::Visivel(const QString& periodo, bool finalidadeNormal)
{
    return finalidadeNormal && periodo >= Recibo::PeriodoInicial;
}

void TfraRecibo::defineDeclaracao(const QString& periodo, bool inclusao)
{
    m_periodo = periodo;
    m_inclusao = inclusao;
}

void TfraRecibo::Processa()
{
    if (!m_inclusao)
        return;
    edtNrRecibo->clear();
    cbSituacaoCadastro->setCurrentIndex(-1);
    edtDataSituacao->clear();
}

void TfraRecibo::mostraEntrega(const QString& numero, int tipo, const QDate& data)
{
    edtNrRecibo->setText(numero);
    cbSituacaoCadastro->setCurrentIndex(tipo);
    edtDataSituacao->setText(data.isValid() ? data.toString(QStringLiteral("dd/MM/yyyy")) : QString());
}

QDate TfraRecibo::dataSituacao() const
{
    if (QString(edtDataSituacao->text()).remove(QLatin1Char('/')).trimmed().isEmpty())
        return {};
    return Datas::interpreta(edtDataSituacao->text(), m_ctx.relogio->hoje()).value_or(QDate());
}

TFalha TfraRecibo::falha(const TCriticaRecibo& critica) const
{
    // The messages name what is wrong: the type, the date, or else the number.
    const QString& m = critica.Mensagem();
    QWidget* campo = edtNrRecibo;
    if (m.startsWith(QLatin1String("O tipo de entrega")))
        campo = cbSituacaoCadastro;
    else if (m.startsWith(QLatin1String("A data")))
        campo = edtDataSituacao;
    return {m, campo->objectName()};
}

void TfraRecibo::preenche(TCriticaRecibo& critica) const
{
    critica.setNumRecibo(edtNrRecibo->text());
    critica.setTipoEntrega(cbSituacaoCadastro->currentIndex());
    critica.setDataSituacao(dataSituacao());
}

bool TfraRecibo::saiData()
{
    const QString t = edtDataSituacao->text();
    if (QString(t).remove(QLatin1Char('/')).trimmed().isEmpty() || dataSituacao().isValid())
        return true;
    Informa(*m_ctx.dialogos, QString::fromUtf8("Data inválida: %1").arg(t));
    edtDataSituacao->setFocus();
    return false;
}

bool TfraRecibo::eventFilter(QObject* alvo, QEvent* evento)
{
    if (alvo == edtPastaRecibo && evento->type() == QEvent::FocusIn)
        lblAjuda->setText(QString::fromUtf8("Esse recurso pode evitar a digitação do número do recibo oficial, desde "
                                            "que a entrega da última ZEL tenha sido via internet"));
    else if (alvo == edtPastaRecibo && evento->type() == QEvent::FocusOut)
        lblAjuda->clear();
    else if (alvo == edtDataSituacao && evento->type() == QEvent::FocusOut)
        saiData();
    return QWidget::eventFilter(alvo, evento);
}

void TfraRecibo::procuraNaPasta()
{
    edtReferencia->clear();
    edtRecibo->clear();
    m_dataRecibo = QDate();
    const QString pasta = edtPastaRecibo->text();
    if (!pasta.isEmpty()) {
        const TDataSet& ativo = m_ctx.dtm->ADODataSetAtivo;
        const bool temAtivo = ativo.active() && !ativo.isEmpty();
        const QString inscricao = temAtivo ? ativo.asString(QStringLiteral("Ccicms")).trimmed() : QString();
        const QString razao = temAtivo ? ativo.asString(QStringLiteral("RazaoSocial")).trimmed() : QString();
        TCriticaRecibo critica(*m_ctx.relogio, *m_ctx.dialogos);
        try {
            if (critica.LocalizaRecibo(pasta, inscricao, m_periodo)) {
                m_dataRecibo = critica.DataSituacao();
                edtReferencia->setText(m_dataRecibo.toString(QStringLiteral("MM/yyyy")));
                edtRecibo->setText(critica.NumRecibo());
                if (m_inclusao && ReciboDoMesAnterior(m_dataRecibo, m_periodo))
                    edtNrRecibo->setText(critica.NumRecibo());
            } else {
                Informa(*m_ctx.dialogos, MensagemReciboNaoEncontrado(pasta, m_periodo, inscricao, razao));
            }
        } catch (const ERecibo& e) {
            InformaErro(*m_ctx.dialogos, e.mensagem());
        }
    }
    btnCopiar->setEnabled(!edtRecibo->text().isEmpty());
}

void TfraRecibo::mudaTipo()
{
    if (edtReferencia->text().isEmpty())
        return;
    const int tipo = cbSituacaoCadastro->currentIndex();
    btnCopiar->setEnabled(tipo != 0 || ReciboDoMesAnterior(m_dataRecibo, m_periodo));
}

void TfraRecibo::Copiar()
{
    if (cbSituacaoCadastro->currentIndex() < 0) {
        Informa(*m_ctx.dialogos, QStringLiteral("Informe o Tipo de entrega"));
        return;
    }
    if (edtRecibo->text() == edtNrRecibo->text())
        return;
    if (PerguntaNao(*m_ctx.dialogos, QString::fromUtf8("O número da autenticação encontrado será copiado para o campo "
                                                       "do número do recibo oficial. Confirma ?")))
        edtNrRecibo->setText(edtRecibo->text());
}

void TfraRecibo::escolhePasta()
{
    const QString pasta = m_ctx.dialogos->escolherPasta(QString::fromUtf8("Pasta dos comprovantes"), edtPastaRecibo->text());
    if (!pasta.isEmpty())
        edtPastaRecibo->setText(pasta); // one search, for the whole path at once
}

void TfraRecibo::abreCalendario()
{
    QDialog janela(this);
    janela.setObjectName(QStringLiteral("frmCalendario"));
    janela.setWindowTitle(m_variante == Variante::SimplesNacional ? QStringLiteral("Selecione uma data")
                                                                  : QStringLiteral("Selecione a data"));
    auto* calendario = new TCalendario(&janela);
    calendario->setObjectName(QStringLiteral("calendario"));
    const QDate atual = dataSituacao();
    calendario->setSelectedDate(atual.isValid() ? atual : m_ctx.relogio->hoje());
    connect(calendario, &QCalendarWidget::activated, &janela, &QDialog::accept);
    auto* layout = new QVBoxLayout(&janela);
    layout->addWidget(calendario);
    if (m_ctx.dialogos->executaModal(&janela) == QDialog::Accepted)
        edtDataSituacao->setText(Datas::formata(calendario->selectedDate()));
}
