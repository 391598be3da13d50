#include "declarations/untLinhaDeclaracao.h"

#include "db/UntDTM.h"
#include "db/untSqlite.h"

bool ExcluiUmaLinha(TDTM& dtm, const QString& sql, const QString& parametro, int chave, QString* erro)
{
    try {
        TComando& cmd = dtm.ADOCommand;
        cmd.setCommandText(sql);
        cmd.setParam(parametro, chave);
        return cmd.execute() == 1;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool AbreLinhaDoContribuinte(TDataSet& q, const char* tabela, const char* chave, int id, int idContribuinte)
{
    q.setCommandText(QStringLiteral("SELECT * FROM %1 WHERE %2 = :Id AND IdContribuinte = :IdAtivo")
                         .arg(QString::fromLatin1(tabela), QString::fromLatin1(chave)));
    q.setParam(QStringLiteral("Id"), id);
    q.setParam(QStringLiteral("IdAtivo"), idContribuinte);
    q.open();
    return !q.isEmpty();
}

bool TipoEntregaGravavel(int tipoEntrega, QString* erro)
{
    if (tipoEntrega >= -1 && tipoEntrega <= 3)
        return true;
    if (erro)
        *erro = QString::fromUtf8("O tipo de entrega %1 não existe: os tipos vão de 0 a 3.").arg(tipoEntrega);
    return false;
}

TFalha ChecaValoresDoArquivo(std::initializer_list<TValorDoCampo> valores, qint64 maior)
{
    for (const TValorDoCampo& v : valores) {
        if (v.valor.isNegative())
            return {QString::fromUtf8("O valor de \"%1\" não pode ser negativo.").arg(QString::fromUtf8(v.rotulo)),
                    QString::fromLatin1(v.campo)};
        if (v.valor.raw() > maior)
            return {QString::fromUtf8("O valor de \"%1\" é maior que o arquivo da declaração comporta (%2).")
                        .arg(QString::fromUtf8(v.rotulo), Money::fromRaw(maior).toString()),
                    QString::fromLatin1(v.campo)};
    }
    return {};
}
