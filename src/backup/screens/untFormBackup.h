#pragma once
#include <QDialog>
#include <functional>

class IDialogos;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;
class TBackup;

// "Gerenciamento de Backup (Cópia de segurança)": the archives of a backup folder, made, restored and
// deleted; the folders the user keeps. The manager does the work; the screen keeps the states of the Part's
// buttons and shows the manager's status texts on its status line while it works.
class TFormBackup : public QDialog {
    Q_OBJECT
public:
    // `conexaoAberta` answers whether the database is open, which forbids a restore.
    TFormBackup(TBackup& backup, IDialogos& dialogos, std::function<bool()> conexaoAberta, QWidget* parent = nullptr);
    ~TFormBackup() override;

    QComboBox* editPasta;
    QToolButton* btnEscolhePasta;
    QListWidget* lboxArquivos;
    QLabel* lblListados;
    QLabel* lblSelecionados;
    QPushButton* btnRealiza;
    QPushButton* btnRecupera;
    QPushButton* btnApagaArquivos;
    QPushButton* btnApagaPasta;
    QPushButton* btnFechar;
    QLabel* lblStatus;

    // The folder shown, as the manager keeps folders (absolute, with a trailing separator).
    QString pastaAtual() const;

protected:
    void done(int resultado) override;

private:
    void listaPasta();
    void atualizaEstado();
    int marcados() const;
    void escolhePasta();
    void realiza();
    void recupera();
    void apagaArquivos();
    void apagaPasta();
    void abreArquivo(QListWidgetItem* item);
    void status(const QString& texto);

    TBackup& m_backup;
    IDialogos& m_dialogos;
    std::function<bool()> m_conexaoAberta;
    QString m_dica;
    bool m_trabalhando = false;
};
