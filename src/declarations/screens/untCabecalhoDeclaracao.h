#pragma once
#include <QStringList>

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QWidget;

// The top of every monthly declaration screen: " Período " with "Mês", "Ano" and "Processa", and the
// finality "&Normal" / "&Retificadora" ("&Normal" chosen).
struct TCabecalhoDeclaracao {
    QGroupBox* grbPeriodo;
    QComboBox* cmbMes;
    QComboBox* cmbAno;
    QPushButton* btnProcessa;
    QGroupBox* rdgTipo;
    QRadioButton* rbNormal;
    QRadioButton* rbRetificadora;
};
// `anos` fills the year list; the first one is shown. `tituloTipo` is the finality group's caption.
TCabecalhoDeclaracao MontaCabecalhoDeclaracao(QWidget* tela, const QStringList& anos, const char* tituloTipo);
// The years from `deste` down to `ate`, as the lists show them.
QStringList AnosDesde(int deste, int ate);
