#include "backup/screens/untFormBackup.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "backup/untBackup.h"
#include "core/DialogsNew.h"
#include "widgets/untFechamento.h"
#include "widgets/untTelas.h"

TFormBackup::TFormBackup(TBackup& backup, IDialogos& dialogos, std::function<bool()> conexaoAberta, QWidget* parent)
    : QDialog(parent), m_backup(backup), m_dialogos(dialogos), m_conexaoAberta(std::move(conexaoAberta))
{
    setObjectName(QStringLiteral("FormBackup"));
    setWindowTitle(QString::fromUtf8("Gerenciamento de Backup (Cópia de segurança)"));
    setModal(true);
    resize(620, 420);

    editPasta = Nomeado(new QComboBox(this), "editPasta");
    editPasta->setEditable(true);
    editPasta->setInsertPolicy(QComboBox::NoInsert);
    editPasta->addItems(m_backup.pastas);
    btnEscolhePasta = Nomeado(new QToolButton(this), "btnEscolhePasta");
    btnEscolhePasta->setText(QStringLiteral("..."));
    btnEscolhePasta->setToolTip(QStringLiteral("Seleciona uma pasta existente para pasta de backup"));
    lboxArquivos = Nomeado(new QListWidget(this), "lboxArquivos");
    lblListados = Nomeado(new QLabel(this), "lblListados");
    lblSelecionados = Nomeado(new QLabel(this), "lblSelecionados");
    auto botao = [this](const char* nome, const char* legenda, const char* dica) {
        auto* b = Nomeado(new QPushButton(QString::fromUtf8(legenda), this), nome);
        b->setToolTip(QString::fromUtf8(dica));
        b->setStatusTip(QString::fromUtf8(dica));
        b->setAutoDefault(false);
        return b;
    };
    btnRealiza = botao("btnRealiza", "&Realiza backup", "Realiza cópia de segurança dos dados atuais do sistema");
    btnRecupera = botao("btnRecupera", "Re&cupera backup", "Recupera dados do sistema, a partir do arquivo selecionado");
    btnApagaArquivos = botao("btnApagaArquivos", "Apaga &arquivos", "Apaga arquivos de backup selecionados");
    btnApagaPasta = botao("btnApagaPasta", "Apaga &pasta", "Apaga pasta de backup selecionada");
    btnFechar = botao("btnFechar", "&Fechar", "");
    lblStatus = Nomeado(new QLabel(this), "lblStatus");
    lblStatus->setFrameShape(QFrame::StyledPanel);

    auto* grade = new QGridLayout(this);
    grade->addWidget(new QLabel(QStringLiteral("Pasta de backup"), this), 0, 0);
    auto* linhaPasta = new QHBoxLayout;
    linhaPasta->addWidget(editPasta, 1);
    linhaPasta->addWidget(btnEscolhePasta);
    grade->addLayout(linhaPasta, 1, 0);
    grade->addWidget(lboxArquivos, 2, 0);
    auto* contagens = new QHBoxLayout;
    contagens->addWidget(lblListados);
    contagens->addStretch();
    contagens->addWidget(lblSelecionados);
    grade->addLayout(contagens, 3, 0);
    auto* botoes = new QVBoxLayout;
    for (QPushButton* b : {btnRealiza, btnRecupera, btnApagaArquivos, btnApagaPasta})
        botoes->addWidget(b);
    botoes->addStretch();
    botoes->addWidget(btnFechar);
    grade->addLayout(botoes, 1, 1, 3, 1);
    grade->addWidget(lblStatus, 4, 0, 1, 2);

    connect(editPasta, &QComboBox::editTextChanged, this, [this] { listaPasta(); });
    connect(btnEscolhePasta, &QToolButton::clicked, this, &TFormBackup::escolhePasta);
    connect(lboxArquivos, &QListWidget::itemChanged, this, [this] { atualizaEstado(); });
    connect(lboxArquivos, &QListWidget::itemDoubleClicked, this, &TFormBackup::abreArquivo);
    connect(btnRealiza, &QPushButton::clicked, this, &TFormBackup::realiza);
    connect(btnRecupera, &QPushButton::clicked, this, &TFormBackup::recupera);
    connect(btnApagaArquivos, &QPushButton::clicked, this, &TFormBackup::apagaArquivos);
    connect(btnApagaPasta, &QPushButton::clicked, this, &TFormBackup::apagaPasta);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::accept);
    FechaPeloBotao(this, btnFechar);

    // The manager's status texts and progress go to the status line while it works.
    m_backup.dica = [this](const QString& t) {
        m_dica = t;
        status(t);
    };
    m_backup.progresso = [this](int p) { status(m_dica.isEmpty() ? QString() : QStringLiteral("%1 %2%").arg(m_dica).arg(p)); };
    m_backup.recuperado = false;
    editPasta->setCurrentIndex(0);
    listaPasta();
    // The command column stands beside both the folder row and the list: read as drawn, the list comes right
    // after the first command, level with the folder, and the other commands after the list.
    OrdemDeLeituraAoMostrar(this);
    MovimentoFixo(this, btnRealiza, lboxArquivos);
}

TFormBackup::~TFormBackup()
{
    m_backup.dica = nullptr;
    m_backup.progresso = nullptr;
}

void TFormBackup::status(const QString& texto)
{
    lblStatus->setText(texto);
    lblStatus->repaint();
}

QString TFormBackup::pastaAtual() const
{
    return TBackup::NormalizaPasta(editPasta->currentText());
}

void TFormBackup::listaPasta()
{
    const QSignalBlocker bloqueio(lboxArquivos);
    lboxArquivos->clear();
    const QString pasta = pastaAtual();
    for (const QString& nome : m_backup.ArquivosDaPasta(pasta)) {
        auto* item = new QListWidgetItem(nome, lboxArquivos);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    atualizaEstado();
}

int TFormBackup::marcados() const
{
    int n = 0;
    for (int i = 0; i < lboxArquivos->count(); ++i)
        if (lboxArquivos->item(i)->checkState() == Qt::Checked)
            ++n;
    return n;
}

void TFormBackup::atualizaEstado()
{
    const int n = marcados();
    const int listados = lboxArquivos->count();
    const QString pasta = pastaAtual();
    const bool livre = !m_trabalhando;
    btnRealiza->setEnabled(livre && !editPasta->currentText().trimmed().isEmpty());
    btnApagaPasta->setEnabled(livre && listados == 0 && m_backup.pastas.contains(pasta) && pasta != m_backup.pastaPadrao());
    btnRecupera->setEnabled(livre && n == 1);
    btnApagaArquivos->setEnabled(livre && n >= 1);
    btnApagaArquivos->setText(n < 2 ? QStringLiteral("Apaga &arquivo") : QStringLiteral("Apaga &arquivos"));
    lboxArquivos->setEnabled(listados > 0);
    lblListados->setVisible(listados > 0);
    lblListados->setText(QStringLiteral("Arquivos listados: %1").arg(listados));
    lblSelecionados->setVisible(n > 0);
    lblSelecionados->setText(QStringLiteral("Selecionados: %1").arg(n));
}

void TFormBackup::escolhePasta()
{
    const QString escolhida = m_dialogos.escolherPasta(QStringLiteral("Selecione a pasta de backup"), pastaAtual());
    if (!escolhida.isEmpty())
        editPasta->setEditText(TBackup::NormalizaPasta(escolhida));
}

void TFormBackup::realiza()
{
    const QString pasta = pastaAtual();
    m_trabalhando = true;
    atualizaEstado();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString erro;
    const QString arquivo = m_backup.Realiza(TTipoBackup::Manual, pasta, &erro);
    QApplication::restoreOverrideCursor();
    m_trabalhando = false;
    if (arquivo.isEmpty()) {
        atualizaEstado();
        InformaErro(m_dialogos, erro);
        return;
    }
    // The folder goes first in the list, and is the one shown.
    m_backup.pastas.removeAll(pasta);
    m_backup.pastas.prepend(pasta);
    {
        const QSignalBlocker bloqueio(editPasta);
        editPasta->clear();
        editPasta->addItems(m_backup.pastas);
        editPasta->setCurrentIndex(0);
    }
    listaPasta();
    Informa(m_dialogos, QString::fromUtf8("Cópia de segurança realizada com sucesso."));
}

void TFormBackup::recupera()
{
    QListWidgetItem* marcado = nullptr;
    for (int i = 0; i < lboxArquivos->count() && !marcado; ++i)
        if (lboxArquivos->item(i)->checkState() == Qt::Checked)
            marcado = lboxArquivos->item(i);
    if (!marcado)
        return;
    const QString arquivo = QDir(pastaAtual()).filePath(marcado->text());
    const QString pergunta =
        QString::fromUtf8("Ao realizar uma Recuperação de Backup, os dados presentes no sistema serão substituídos pelos "
                          "dados existentes no arquivo de backup a ser recuperado.\n\nPor medida de segurança, antes de "
                          "realizar a recuperação do backup, o sistema criará automaticamente uma cópia dos dados atuais, "
                          "possibilitando, caso necessário, a recuperação dos mesmos.\n\nConfirma recuperação dos dados do "
                          "sistema, a partir do arquivo de backup '%1'?\n")
            .arg(arquivo);
    if (!PerguntaSim(m_dialogos, pergunta))
        return;
    m_trabalhando = true;
    atualizaEstado();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString erro;
    const bool ok = m_backup.Recupera(arquivo, m_conexaoAberta, &erro);
    QApplication::restoreOverrideCursor();
    m_trabalhando = false;
    marcado->setCheckState(Qt::Unchecked);
    // The safety copy shows when the folder is the default one.
    if (pastaAtual() == m_backup.pastaPadrao())
        listaPasta();
    atualizaEstado();
    if (!ok) {
        InformaErro(m_dialogos, erro);
        return;
    }
    Informa(m_dialogos, QString::fromUtf8("Cópia de segurança recuperada com sucesso."));
}

void TFormBackup::apagaArquivos()
{
    const int n = marcados();
    if (n == 0)
        return;
    if (!PerguntaSim(m_dialogos, n == 1 ? QString::fromUtf8("Confirma a exclusão do arquivo selecionado?")
                                        : QString::fromUtf8("Confirma a exclusão dos arquivos selecionados?")))
        return;
    int posicao = -1;
    QStringList falhas;
    for (int i = lboxArquivos->count() - 1; i >= 0; --i) {
        QListWidgetItem* item = lboxArquivos->item(i);
        if (item->checkState() != Qt::Checked)
            continue;
        QFile f(QDir(pastaAtual()).filePath(item->text()));
        if (f.remove()) {
            posicao = i;
            delete lboxArquivos->takeItem(i);
        } else {
            falhas << QStringLiteral("%1: %2").arg(item->text(), f.errorString());
        }
    }
    if (lboxArquivos->count() > 0)
        lboxArquivos->setCurrentRow(qMin(qMax(posicao, 0), lboxArquivos->count() - 1));
    atualizaEstado();
    if (!falhas.isEmpty())
        InformaErro(m_dialogos, QString::fromUtf8("Não foi possível excluir:\n%1").arg(falhas.join(QLatin1Char('\n'))));
}

void TFormBackup::apagaPasta()
{
    const QString pasta = pastaAtual();
    if (!PerguntaSim(m_dialogos, QString::fromUtf8("Confirma a retirada da pasta '%1' da lista de pastas de backup?").arg(pasta)))
        return;
    if (QFileInfo(pasta).isDir() &&
        PerguntaSim(m_dialogos, QString::fromUtf8("A pasta '%1' é uma pasta existente.\n\nDeseja também excluí-la "
                                                  "fisicamente, juntamente com suas subpastas?")
                                    .arg(pasta))) {
        QString erro;
        if (m_backup.ApagaPasta(pasta, &erro))
            Informa(m_dialogos, QString::fromUtf8("Pasta excluída com sucesso!"));
        else
            InformaErro(m_dialogos, erro);
    }
    const int indice = int(m_backup.pastas.indexOf(pasta));
    m_backup.pastas.removeAll(pasta);
    const QSignalBlocker bloqueio(editPasta);
    editPasta->clear();
    editPasta->addItems(m_backup.pastas);
    editPasta->setCurrentIndex(qMin(qMax(indice, 0), int(editPasta->count()) - 1));
    listaPasta();
}

void TFormBackup::abreArquivo(QListWidgetItem* item)
{
    const QString arquivo = QDir(pastaAtual()).filePath(item->text());
    if (!m_dialogos.abrirAssociado(arquivo))
        Informa(m_dialogos, QString::fromUtf8("Nenhum programa pôde abrir o arquivo %1.").arg(arquivo));
}

void TFormBackup::done(int resultado)
{
    // The folders kept on the screen are the manager's, saved at once.
    QStringList pastas;
    for (int i = 0; i < editPasta->count(); ++i)
        pastas << editPasta->itemText(i);
    m_backup.pastas = pastas;
    m_backup.Salva();
    QDialog::done(resultado);
}
