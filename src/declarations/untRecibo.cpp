#include "declarations/untRecibo.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "core/untRelogio.h"
#include "declarations/ReciboVarnoNet.h"

const QStringList& ItensSituacaoCadastro()
{
    // The last item is written as the register's form writes it, "entrada" and the trailing blank included.
    static const QStringList itens{
        QStringLiteral("Entrega mensal"),
        QString::fromUtf8("Primeira entrega da declaração após o início de atividade"),
        QString::fromUtf8("Primeira entrega da declaração após um período inativo a pedido"),
        QString::fromUtf8("Primeira entrada da declaração após suspensão de ofício "),
    };
    return itens;
}

TCriticaRecibo::TCriticaRecibo(const IRelogio& relogio, IDialogos& dialogos) : m_relogio(relogio), m_dialogos(dialogos)
{
}

void TCriticaRecibo::CriticaNumero()
{
    const QString numero = AparaRecibo(m_numRecibo);
    if (numero.isEmpty()) {
        m_mensagem = QStringLiteral("Para o tipo de entrega selecionado, o número do recibo deve ser informado");
        return;
    }
    if (numero.size() != Recibo::TamanhoNumero) {
        m_mensagem = QString::fromUtf8("O número do recibo deve ter %1 dígitos").arg(Recibo::TamanhoNumero);
        return;
    }
    // A real code is an upper-case hexadecimal digest, so it has both digits and letters; a number without
    // one of them was typed by hand.
    bool digito = false, letra = false;
    for (const QChar c : numero) {
        const char16_t u = c.unicode();
        digito = digito || (u >= '0' && u <= '9');
        letra = letra || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
    }
    if (!digito || !letra)
        m_mensagem = QString::fromUtf8("Informe um número de recibo válido");
}

bool TCriticaRecibo::Critica(const QString& periodo)
{
    if (periodo < Recibo::PeriodoInicial)
        return true;
    m_mensagem.clear();
    const bool temData = m_dataSituacao.isValid();
    if (m_tipoEntrega < 0 || m_tipoEntrega > 3)
        m_mensagem = QStringLiteral("O tipo de entrega deve ser informado");
    if (m_tipoEntrega == 0 || m_tipoEntrega == 2 || m_tipoEntrega == 3) {
        CriticaNumero();
        if (m_tipoEntrega == 0) {
            if (temData)
                m_mensagem = QString::fromUtf8("A data não deve ser informada para o tipo de entrega 'Entrega mensal'");
        } else if (!temData) {
            m_mensagem = QString::fromUtf8("A data deve ser informada para o tipo de entrega diferente da entrega mensal");
        } else if (m_dataSituacao > m_relogio.hoje()) {
            m_mensagem = QString::fromUtf8("A data não pode ser superior a hoje");
        }
    }
    if (m_tipoEntrega == 1) {
        if (!AparaRecibo(m_numRecibo).isEmpty())
            m_mensagem = QString::fromUtf8("O número do recibo não deve ser informado para o tipo de entrega 'Primeira "
                                           "entrega da declaração após o contribuinte está iniciando as suas atividades'");
        if (!temData)
            m_mensagem = QString::fromUtf8("A data deve ser informada para o tipo de entrega 'Primeira entrega da "
                                           "declaração após o contribuinte está iniciando as suas atividades'");
        else if (m_dataSituacao.toString(QStringLiteral("yyyyMM")) == m_relogio.hoje().toString(QStringLiteral("yyyyMM")))
            m_mensagem = QString::fromUtf8("A data do início de atividade não pode ser dentro do mês atual");
    }
    return m_mensagem.isEmpty();
}

bool TCriticaRecibo::LocalizaRecibo(const QString& pasta, const QString& inscricao, const QString& periodo)
{
    const QString limite = periodo + QStringLiteral("01");
    // An empty text would name the working folder; for the search it names no folder at all.
    if (pasta.isEmpty() || !QFileInfo(pasta).isDir())
        throw ERecibo(QString::fromUtf8("Pasta dos recibos não localizada: '%1'.").arg(pasta));
    const QDir dir(pasta);
    QFileInfoList arquivos =
        dir.entryInfoList({QStringLiteral("*.rcb")}, QDir::Files | QDir::Hidden, QDir::NoSort);
    if (arquivos.isEmpty())
        throw ERecibo(QString::fromUtf8("Nenhum arquivo de recibo (*.rcb) foi localizado na pasta '%1'.").arg(pasta));
    // A fixed order of reading, so that the same folder always gives the same answer.
    std::sort(arquivos.begin(), arquivos.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.fileName() < b.fileName(); });

    bool achou = false;
    QString melhorPeriodo, melhorCodigo;
    QDate melhorData;
    for (const QFileInfo& info : std::as_const(arquivos)) {
        TArqReciboVarnoNet arquivo(info.absoluteFilePath(), m_dialogos);
        while (arquivo.TemProximo()) {
            if (!arquivo.Proximo())
                continue;
            const auto& r = arquivo.Registro();
            if (r.Inscricao != inscricao || r.NumeroMagico != Recibo::NumeroMagicoDeclaracao)
                continue;
            const QString periodoLinha = PeriodoOrdenavel(r.Periodo);
            if (!(periodoLinha < limite))
                continue;
            // Every line that takes part must hold a real date, whether or not it wins, so the answer (or the
            // error) does not depend on the order of the lines.
            const QDate data = DataDoPeriodo(periodoLinha);
            // Of two lines of the same period (a first presentation and its re-presentation) the first one
            // read is kept: both quote a delivery of that month.
            if (!achou || periodoLinha > melhorPeriodo) {
                achou = true;
                melhorPeriodo = periodoLinha;
                melhorCodigo = r.CodigoRecibo;
                melhorData = data;
            }
        }
    }
    if (achou) {
        m_numRecibo = melhorCodigo;
        m_dataSituacao = melhorData;
    }
    return achou;
}

bool ReciboDoMesAnterior(const QDate& dataRecibo, const QString& periodo)
{
    if (!dataRecibo.isValid())
        return false;
    const QDate inicio(periodo.left(4).toInt(), periodo.mid(4, 2).toInt(), 1);
    if (!inicio.isValid())
        return false;
    const QDate anterior = inicio.addMonths(-1);
    return dataRecibo.year() == anterior.year() && dataRecibo.month() == anterior.month();
}

QString MensagemReciboNaoEncontrado(const QString& pasta, const QString& periodo, const QString& inscricao,
                                    const QString& razaoSocial)
{
    // "\n\r" as the message has always been written: a line break, then a carriage return.
    return QString::fromUtf8("Nenhum código de recibo encontrado para os dados abaixo:\n\r\n\rPasta:  %1\n\r"
                             "Período anterior a:  %2/%3\n\rEmpresa:  %4 - %5")
        .arg(pasta, QString::number(periodo.mid(4, 2).toInt()), periodo.left(4), inscricao, razaoSocial);
}
