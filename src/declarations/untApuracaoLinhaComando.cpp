#include "declarations/untApuracaoLinhaComando.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untApuracao.h"

int ExecutaApuracao(const TOpcoesApuracao& o, IDialogos& dialogos, QStringList* linhas, QString* erro)
{
    linhas->clear();
    if (o.ie.trimmed().isEmpty() || o.periodo.isEmpty()) {
        *erro = QString::fromUtf8("informe --ie e --periodo");
        return 2;
    }
    static const QRegularExpression rePeriodo(QStringLiteral("^(\\d{4})(\\d{2})$"));
    const auto m = rePeriodo.match(o.periodo.trimmed());
    const int ano = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int mes = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (ano < 1 || mes < 1 || mes > 12) {
        *erro = QString::fromUtf8("período deve ser AAAAMM, com o mês de 01 a 12: %1").arg(o.periodo);
        return 2;
    }
    TDTMCON con(o.pasta, dialogos);
    // A folder without a database is a mistake here, not a first start: nothing is created.
    if (!QFileInfo(con.caminhoBanco()).isFile() || QFileInfo(con.caminhoBanco()).size() == 0) {
        *erro = QString::fromUtf8("não há banco de dados em %1").arg(o.pasta);
        return 1;
    }
    if (con.Conectar() == QLatin1String("ERR")) {
        *erro = QString::fromUtf8("não foi possível abrir o banco de dados");
        return 1;
    }
    try {
        TDataSet q(con);
        q.setCommandText(QStringLiteral("SELECT IdContribuinte FROM Contribuinte WHERE Ccicms = :IE AND Tipo = 'C'"));
        q.setParam(QStringLiteral("IE"), o.ie.trimmed());
        q.open();
        if (q.recordCount() != 1) {
            *erro = q.isEmpty() ? QString::fromUtf8("nenhum contribuinte com a inscrição %1").arg(o.ie)
                                : QString::fromUtf8("mais de um contribuinte com a inscrição %1").arg(o.ie);
            return 1;
        }
        *linhas = LinhasApuracao(con, q.asInteger(QStringLiteral("IdContribuinte")), mes, ano);
    } catch (const EBancoDados& e) {
        *erro = e.mensagem();
        return 1;
    }
    return 0;
}
