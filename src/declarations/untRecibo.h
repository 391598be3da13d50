#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

class IDialogos;
class IRelogio;

// From May 2011 on, a monthly declaration of finality "Normal" says how its delivery relates to the
// taxpayer's situation in the state register and quotes the authentication code of the previous delivery.

namespace Recibo {
inline constexpr int TamanhoNumero = 32;
inline const QString PeriodoInicial = QStringLiteral("201105");
// Only receipt lines of this magic number are receipts of the monthly declaration.
inline constexpr int NumeroMagicoDeclaracao = 15;
} // namespace Recibo

// The items of "Entrega p/ situação cadastral:"; the delivery type is the item's position.
const QStringList& ItensSituacaoCadastro();

// The delivery values of one declaration, their check, and the search of a folder of receipts for the last
// delivery before a period.
class TCriticaRecibo {
public:
    // The clock decides "today" for the situation date; the dialogs show the receipt reader's box of a line
    // whose authentication does not match.
    TCriticaRecibo(const IRelogio& relogio, IDialogos& dialogos);

    const QString& NumRecibo() const { return m_numRecibo; }
    void setNumRecibo(const QString& numero) { m_numRecibo = numero; }
    int TipoEntrega() const { return m_tipoEntrega; }
    void setTipoEntrega(int tipo) { m_tipoEntrega = tipo; }
    // A null date is "no date".
    const QDate& DataSituacao() const { return m_dataSituacao; }
    void setDataSituacao(const QDate& data) { m_dataSituacao = data; }
    // The message of the last failing rule of Critica.
    const QString& Mensagem() const { return m_mensagem; }

    // `periodo` is "yyyymm". True when the delivery values are acceptable for it; otherwise false with
    // Mensagem set. Periods before May 2011 are always accepted.
    bool Critica(const QString& periodo);

    // Searches the folder's own "*.rcb" files for the receipt of the registration with the latest period
    // before `periodo` ("yyyymm"). Found: NumRecibo and DataSituacao take its code and the date of its period,
    // and the answer is true; otherwise false and both are left as they were. A missing folder, a folder
    // without receipts and every error of the reader are raised as ERecibo.
    bool LocalizaRecibo(const QString& pasta, const QString& inscricao, const QString& periodo);

private:
    void CriticaNumero();

    const IRelogio& m_relogio;
    IDialogos& m_dialogos;
    QString m_numRecibo;
    int m_tipoEntrega = -1;
    QDate m_dataSituacao;
    QString m_mensagem;
};

// Whether a receipt's period (its date) is the month right before the declaration's period ("yyyymm"):
// December of the year before for January.
bool ReciboDoMesAnterior(const QDate& dataRecibo, const QString& periodo);

// The message of a search that found nothing; `periodo` is the declaration's "yyyymm".
QString MensagemReciboNaoEncontrado(const QString& pasta, const QString& periodo, const QString& inscricao,
                                    const QString& razaoSocial);
