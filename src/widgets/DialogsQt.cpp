#include "widgets/DialogsQt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QHash>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

static QMessageBox::Icon iconeDe(TipoMsg tipo)
{
    switch (tipo) {
    case TipoMsg::Aviso: return QMessageBox::Warning;
    case TipoMsg::Erro: return QMessageBox::Critical;
    case TipoMsg::Informacao: return QMessageBox::Information;
    case TipoMsg::Confirmacao: return QMessageBox::Question;
    case TipoMsg::Personalizado: break;
    }
    return QMessageBox::NoIcon;
}

static QMessageBox::ButtonRole papelDe(Botao b)
{
    switch (b) {
    case Botao::Sim: case Botao::Todos: case Botao::SimParaTodos: return QMessageBox::YesRole;
    case Botao::Nao: case Botao::NaoParaTodos: return QMessageBox::NoRole;
    case Botao::Cancela: case Botao::Abortar: return QMessageBox::RejectRole;
    case Botao::Ajuda: return QMessageBox::HelpRole;
    default: return QMessageBox::AcceptRole;
    }
}

Botao TDialogosQt::mostraMensagem(const TPedidoMensagem& pedido)
{
    QApplication::processEvents();
    // Centred over the active window; Qt keeps a parented box inside the screen's work area.
    QMessageBox caixa(iconeDe(pedido.tipo), pedido.titulo, pedido.texto, QMessageBox::NoButton,
                      QApplication::activeWindow());
    QHash<QAbstractButton*, Botao> botoes;
    for (const Botao b : pedido.botoes) {
        QPushButton* pb = caixa.addButton(legendaBotao(b), papelDe(b));
        botoes.insert(pb, b);
        if (b == pedido.padrao)
            caixa.setDefaultButton(pb);
        if (b == pedido.cancela)
            caixa.setEscapeButton(pb);
    }
    QPointer<QWidget> voltaPara = QApplication::activeWindow();
    caixa.exec();
    QApplication::processEvents();
    // Without a window manager to hand the activation back, the screen under the box would stay inactive and
    // the next keys would go nowhere.
    if (voltaPara)
        voltaPara->activateWindow();
    return botoes.value(caixa.clickedButton(), pedido.cancela);
}

bool TDialogosQt::confirmaExclusao(const QString& texto)
{
    QMessageBox caixa(QMessageBox::Question, QString::fromUtf8("Exclusão"), texto, QMessageBox::Yes | QMessageBox::No,
                      QApplication::activeWindow());
    caixa.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
    caixa.button(QMessageBox::No)->setText(QString::fromUtf8("&Não"));
    QPointer<QWidget> voltaPara = QApplication::activeWindow();
    const bool sim = caixa.exec() == QMessageBox::Yes;
    if (voltaPara)
        voltaPara->activateWindow();
    return sim;
}

void TDialogosQt::mensagemSimples(const QString& texto)
{
    QPointer<QWidget> voltaPara = QApplication::activeWindow();
    QMessageBox::information(voltaPara, tituloAplicacao(), texto);
    if (voltaPara)
        voltaPara->activateWindow();
}

QString TDialogosQt::salvarArquivo(const QString& titulo, const QString& caminhoSugerido, const QString& filtro)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), titulo, caminhoSugerido, filtro);
}

QString TDialogosQt::escolherPasta(const QString& titulo, const QString& pastaInicial)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), titulo, pastaInicial);
}

QStringList TDialogosQt::abrirArquivos(const QString& titulo, const QString& filtro)
{
    return QFileDialog::getOpenFileNames(QApplication::activeWindow(), titulo, QString(), filtro);
}

bool TDialogosQt::abrirAssociado(const QString& enderecoOuArquivo)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(enderecoOuArquivo));
}

int TDialogosQt::executaModal(QObject* tela)
{
    auto* dialogo = qobject_cast<QDialog*>(tela);
    if (!dialogo)
        return QDialog::Rejected;
    // A child screen (a selection list, an entry screen) hands the keyboard back to the screen that opened it, as
    // the message boxes do.
    QPointer<QWidget> voltaPara = QApplication::activeWindow();
    const int r = dialogo->exec();
    if (voltaPara)
        voltaPara->activateWindow();
    return r;
}
