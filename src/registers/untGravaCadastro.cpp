#include "registers/untGravaCadastro.h"

#include "db/UntDTM.h"
#include "db/untDTMCON.h"

int LarguraDaColuna(TDTM& dtm, const QString& tabela, const QString& coluna)
{
    try {
        return Sql::larguraTexto(dtm.conexao().db(), tabela, coluna);
    } catch (const EBancoDados&) {
        return 0;
    }
}

TFalha ChecaLarguras(TDTM& dtm, const QString& tabela, const QList<TValorGravado>& valores)
{
    sqlite3* db = dtm.conexao().db();
    for (const TValorGravado& v : valores) {
        const int largura = Sql::larguraTexto(db, tabela, QString::fromLatin1(v.coluna));
        if (largura > 0 && v.valor.size() > largura)
            return {QString::fromUtf8("O campo %1 admite no máximo %2 caracteres (foram informados %3).")
                        .arg(QString::fromUtf8(v.rotulo))
                        .arg(largura)
                        .arg(v.valor.size()),
                    QString::fromLatin1(v.componente)};
    }
    return {};
}

bool GravaUmaLinha(TComando& cmd)
{
    try {
        return cmd.execute() > 0;
    } catch (const EBancoDados&) {
        return false;
    }
}

bool AlgumaLinhaNomeia(TDTM& dtm, const QString& tabela, const QStringList& colunas, int id)
{
    sqlite3* db = dtm.conexao().db();
    if (!Sql::existeTabela(db, tabela))
        return false;
    QStringList condicoes;
    for (const QString& c : colunas)
        if (Sql::existeColuna(db, tabela, c))
            condicoes << c + QStringLiteral(" = :Id");
    if (condicoes.isEmpty())
        return false;
    TDataSet consulta(dtm.conexao());
    consulta.setCommandText(QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 1").arg(tabela, condicoes.join(QStringLiteral(" OR "))));
    consulta.setParam(QStringLiteral("Id"), id);
    consulta.open();
    return !consulta.isEmpty();
}
