#pragma once
#include "core/untFalha.h"
#include <QDate>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TCriticaRecibo;
struct TContexto;

// The page "Recibo" of the normal-regime and Simples Nacional declarations: the receipt number of the
// previous delivery, the delivery type with its date, and the search of a folder of receipt files.
class TfraRecibo : public QWidget {
    Q_OBJECT
public:
    enum class Variante { Normal, SimplesNacional };

    TfraRecibo(TContexto& ctx, Variante variante, QWidget* parent = nullptr);

    QLineEdit* edtNrRecibo;
    QComboBox* cbSituacaoCadastro;
    QLineEdit* edtDataSituacao;
    QToolButton* btnCalendario;
    QLineEdit* edtPastaRecibo;
    QToolButton* btnPasta;
    QLineEdit* edtReferencia;
    QLineEdit* edtRecibo;
    QPushButton* btnCopiar;
    QLabel* lblAjuda;

    // The declaration the page serves: its period "yyyymm" and whether it is being included.
    void defineDeclaracao(const QString& periodo, bool inclusao);
    // Whether the page is shown: from May 2011 on, for a declaration of finality "Normal".
    static bool Visivel(const QString& periodo, bool finalidadeNormal);
    // "Processa" of an inclusion empties the number, the type and the date.
    void Processa();
    // The delivery values as the save checks them: type -1 when none, a null date when empty.
    void preenche(TCriticaRecibo& critica) const;
    // A refused delivery as the screen shows it: the check's message and the field it speaks of.
    TFalha falha(const TCriticaRecibo& critica) const;
    // A stored delivery: the number, the type (-1 none) and the date (null none).
    void mostraEntrega(const QString& numero, int tipo, const QDate& data);
    // The date typed, null when empty or not a date.
    QDate dataSituacao() const;

    void procuraNaPasta();
    void Copiar();
    void mudaTipo();
    bool saiData();

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;

private:
    void escolhePasta();
    void abreCalendario();

    TContexto& m_ctx;
    Variante m_variante;
    QString m_periodo;
    bool m_inclusao = true;
    QDate m_dataRecibo;   // the period of the receipt found
};
