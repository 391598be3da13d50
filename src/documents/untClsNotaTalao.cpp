#include "documents/untClsNotaTalao.h"

#include "core/untDatas.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"

static void ligaValores(TComando& c, const TNotaTalao& n)
{
    c.setParam(QStringLiteral("IDContribuinte"), n.IDContribuinte);
    c.setParam(QStringLiteral("DtEmissao"), n.DtEmissao);
    c.setParam(QStringLiteral("Modelo"), n.Modelo.trimmed());
    c.setParam(QStringLiteral("Serie"), n.Serie.trimmed());
    c.setParam(QStringLiteral("SubSerie"), n.SubSerie.trimmed());
    c.setParam(QStringLiteral("NumeroInicial"), n.NumeroInicial);
    c.setParam(QStringLiteral("NumeroFinal"), n.NumeroFinal);
    c.setParam(QStringLiteral("ValorTotal"), n.ValorTotal);
    c.setParam(QStringLiteral("BaseICMS"), n.BaseICMS);
    c.setParam(QStringLiteral("ValorICMS"), n.ValorICMS);
    c.setParam(QStringLiteral("Isenta"), n.Isenta);
    c.setParam(QStringLiteral("Outras"), n.Outras);
    c.setParam(QStringLiteral("Aliquota"), n.Aliquota);
}

// One statement that must change exactly the rows it names: none changed is a failure.
static bool mudaLinha(TComando& c, QString* erro)
{
    try {
        if (c.execute() > 0)
            return true;
        if (erro)
            erro->clear();
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
    }
    return false;
}

bool TNotasTalao::Incluir(TNotaTalao& n, QString* erro)
{
    TComando& c = m_dtm.ADOCommand;
    c.setCommandText(QStringLiteral(
        "insert into NOTATALAO(IDContribuinte, DtEmissao, Modelo, Serie, SubSerie, NumeroInicial, NumeroFinal, "
        "ValorTotal, BaseICMS, ValorICMS, Isenta, Outras, Aliquota, DtUltAlteracao)values (:IDContribuinte, "
        ":DtEmissao, :Modelo, :Serie, :SubSerie, :NumeroInicial, :NumeroFinal, :ValorTotal, :BaseICMS, :ValorICMS, "
        ":Isenta,:Outras, :Aliquota, :DtAlter)"));
    ligaValores(c, n);
    c.setParam(QStringLiteral("DtAlter"), n.DtUltAlteracao);
    if (!mudaLinha(c, erro))
        return false;
    // The key this connection just got: the screen keeps it rather than guessing the last row of a list.
    n.IDNotaTalao = int(c.ultimoIdInserido());
    return true;
}

bool TNotasTalao::Alterar(const TNotaTalao& n, QString* erro)
{
    TComando& c = m_dtm.ADOCommand;
    c.setCommandText(QStringLiteral(
        "UPDATE NOTATALAO set IDContribuinte = :IDContribuinte, DtEmissao = :DtEmissao, Modelo = :Modelo, "
        "Serie = :Serie, SubSerie = :Subserie, NumeroInicial = :NumeroInicial, NumeroFinal = :NumeroFinal, "
        "ValorTotal = :ValorTotal, BaseICMS = :BaseICMS, ValorICMS = :ValorICMS, Isenta = :Isenta, "
        "Outras = :Outras, Aliquota = :Aliquota, DtUltAlteracao = :DtUltAlteracao "
        "where IDNotaTalao = :OLD_IdNotaTalao and IDContribuinte = :OLD_IDContribuinte"));
    ligaValores(c, n);
    c.setParam(QStringLiteral("DtUltAlteracao"), n.DtUltAlteracao);
    c.setParam(QStringLiteral("OLD_IdNotaTalao"), n.IDNotaTalao);
    c.setParam(QStringLiteral("OLD_IDContribuinte"), n.IDContribuinte);
    return mudaLinha(c, erro);
}

bool TNotasTalao::Carregar(int id, int idContribuinte, TNotaTalao& n)
{
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM NOTATALAO WHERE IdNotaTalao =:IdNtTalao AND IDContribuinte =:IdAtivo"));
    q.setParam(QStringLiteral("IdNtTalao"), id);
    q.setParam(QStringLiteral("IdAtivo"), idContribuinte);
    q.open();
    if (q.isEmpty())
        return false;
    n = TNotaTalao();
    n.IDNotaTalao = id;
    n.IDContribuinte = idContribuinte;
    n.DtEmissao = Datas::doBanco(q.asString(QStringLiteral("DtEmissao")));
    n.Modelo = q.asString(QStringLiteral("Modelo")).trimmed();
    n.Serie = q.asString(QStringLiteral("Serie")).trimmed();
    n.SubSerie = q.asString(QStringLiteral("SubSerie")).trimmed();
    n.NumeroInicial = q.asInteger(QStringLiteral("NumeroInicial"));
    n.NumeroFinal = q.asInteger(QStringLiteral("NumeroFinal"));
    n.ValorTotal = q.asMoney(QStringLiteral("ValorTotal"));
    n.BaseICMS = q.asMoney(QStringLiteral("BaseICMS"));
    n.ValorICMS = q.asMoney(QStringLiteral("ValorICMS"));
    n.Isenta = q.asMoney(QStringLiteral("Isenta"));
    n.Outras = q.asMoney(QStringLiteral("Outras"));
    n.Aliquota = q.asString(QStringLiteral("Aliquota")).trimmed();
    n.DtUltAlteracao = Datas::momentoDoBanco(q.asString(QStringLiteral("DtUltAlteracao")));
    return true;
}

bool TNotasTalao::Excluir(int id, int idContribuinte, QString* erro)
{
    try {
        TTransacao transacao(m_dtm.conexao());
        TComando& c = m_dtm.ADOCommand;
        c.setCommandText(QStringLiteral("delete from NOTATALAO WHERE IdNotaTalao = :OLD_IdNotaTalao "
                                        "AND IDContribuinte = :OLD_IDContribuinte"));
        c.setParam(QStringLiteral("OLD_IdNotaTalao"), id);
        c.setParam(QStringLiteral("OLD_IDContribuinte"), idContribuinte);
        if (c.execute() == 0) {
            if (erro)
                erro->clear();
            return false; // the transaction goes back with nothing done
        }
        transacao.commit();
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TNotasTalao::ExisteAlguma(int idContribuinte)
{
    return ConsultasNotas::ExisteAlguma(m_dtm.conexao(), "NOTATALAO", idContribuinte);
}

namespace ConsultasTalao {

using ConsultasNotas::CondicaoPeriodo;
using ConsultasNotas::LigaPeriodo;

void AbreLista(TDataSet& lista, int idAtivo, const ConsultasNotas::TPeriodo& p)
{
    ConsultasNotas::AbreListaDe(lista, "NOTATALAO", "DtEmissao, IDNotaTalao", idAtivo, p);
}

void AbreTodas(TDataSet& lista, int idAtivo)
{
    AbreLista(lista, idAtivo, ConsultasNotas::TodosOsPeriodos());
}

TResumo Resumo(TDTMCON& con, int idAtivo, const ConsultasNotas::TPeriodo& p)
{
    TDataSet q(con);
    q.setCommandText(QStringLiteral("SELECT COUNT(*) AS QUANT, SUM(A.ValorTotal) AS Somatorio, SUM(A.BaseICMS) AS BaseICMS, "
                                    "SUM(A.ValorICMS) AS ValorICMS, SUM(A.Isenta) AS Isenta, SUM(A.Outras) AS Outras "
                                    "FROM NOTATALAO A WHERE A.IdContribuinte =:IdAtivo ") +
                     CondicaoPeriodo(p, QStringLiteral("A.DtEmissao")));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    LigaPeriodo(q, p);
    q.open();
    TResumo r;
    r.quantidade = q.fieldByName(QStringLiteral("QUANT")).toLongLong();
    r.vendaBruta = q.asMoney(QStringLiteral("Somatorio"));
    r.baseIcms = q.asMoney(QStringLiteral("BaseICMS"));
    r.valorIcms = q.asMoney(QStringLiteral("ValorICMS"));
    r.isenta = q.asMoney(QStringLiteral("Isenta"));
    r.outras = q.asMoney(QStringLiteral("Outras"));
    return r;
}

QList<ConsultasNotas::TBarra> Grafico(TDTMCON& con, int idAtivo, const QDate& hoje)
{
    return ConsultasNotas::GraficoMensal(con, "NOTATALAO", "ValorTotal", idAtivo, hoje);
}

} // namespace ConsultasTalao
