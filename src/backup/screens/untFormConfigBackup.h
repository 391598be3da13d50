#pragma once
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TBackup;

// "Configurações do Backup (Cópia de Segurança) Automático": the automatic backup at the end of the program.
// "Confirma" copies the three settings into the manager; closing in any way marks it configured.
class TFormConfigBackup : public QDialog {
    Q_OBJECT
public:
    explicit TFormConfigBackup(TBackup& backup, QWidget* parent = nullptr);

    QLineEdit* editUltimoArquivo;
    QCheckBox* ckboxSempre;
    QSpinBox* editIntervalo;
    QCheckBox* ckboxPerguntar;
    QPushButton* btnConfirma;
    QPushButton* btnCancela;

protected:
    void done(int resultado) override;

private:
    void atualizaEstado();
    TBackup& m_backup;
};
