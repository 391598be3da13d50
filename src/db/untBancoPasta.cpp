#include "db/untBancoPasta.h"

#include <QFileInfo>

#include "db/untDTMCON.h"
#include "db/untSqlite.h"

int AbreBancoDaPasta(TDTMCON& con, QString* erro)
{
    const QFileInfo banco(con.caminhoBanco());
    if (!banco.isFile() || banco.size() == 0) {
        *erro = QString::fromUtf8("não há banco de dados em %1").arg(con.pasta());
        return 1;
    }
    if (con.Conectar() == QLatin1String("ERR")) {
        *erro = QString::fromUtf8("não foi possível abrir o banco de dados");
        return 1;
    }
    return 0;
}

int AbreContribuinteDaPasta(TDTMCON& con, const QString& ie, int* idContribuinte, QString* erro)
{
    if (const int r = AbreBancoDaPasta(con, erro); r != 0)
        return r;
    try {
        TDataSet q(con);
        q.setCommandText(QStringLiteral("SELECT IdContribuinte FROM Contribuinte WHERE Ccicms = :IE AND Tipo = 'C'"));
        q.setParam(QStringLiteral("IE"), ie.trimmed());
        q.open();
        if (q.recordCount() != 1) {
            *erro = q.isEmpty() ? QString::fromUtf8("nenhum contribuinte com a inscrição %1").arg(ie)
                                : QString::fromUtf8("mais de um contribuinte com a inscrição %1").arg(ie);
            return 1;
        }
        *idContribuinte = q.asInteger(QStringLiteral("IdContribuinte"));
        return 0;
    } catch (const EBancoDados& e) {
        *erro = e.mensagem();
        return 1;
    }
}
