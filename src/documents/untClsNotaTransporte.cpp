#include "documents/untClsNotaTransporte.h"

#include "core/untFuncoes.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "documents/untConsultasNotas.h"

namespace {

bool executaUma(TComando& cmd)
{
    try {
        return cmd.execute() > 0;
    } catch (const EBancoDados&) {
        return false;
    }
}

void parametrosDaNota(TComando& cmd, const TNotaTransporte& n)
{
    cmd.setParam(QStringLiteral("IDEmitente"), n.IDEmitente);
    cmd.setParam(QStringLiteral("DtEmissao"), n.DtEmissao);
    cmd.setParam(QStringLiteral("Modelo"), n.Modelo);
    cmd.setParam(QStringLiteral("Serie"), n.Serie);
    cmd.setParam(QStringLiteral("SubSerie"), n.SubSerie.trimmed().toUpper());
    cmd.setParam(QStringLiteral("Numero"), n.Numero);
    cmd.setParam(QStringLiteral("Cfop"), n.Cfop.trimmed());
    cmd.setParam(QStringLiteral("ValorTotal"), n.ValorTotal);
    cmd.setParam(QStringLiteral("BaseCalcIcms"), n.BaseCalcIcms);
    cmd.setParam(QStringLiteral("ValorIcms"), n.ValorIcms);
    cmd.setParam(QStringLiteral("Isenta"), n.Isenta);
    cmd.setParam(QStringLiteral("Outras"), n.Outras);
    cmd.setParam(QStringLiteral("Modalidade"), n.Modalidade);
    cmd.setParam(QStringLiteral("Situacao"), n.Situacao);
    cmd.setParam(QStringLiteral("Obs"), n.Obs);
    cmd.setParam(QStringLiteral("DtAlter"), n.DtUltAlteracao);
}

void parametrosDaCarga(TComando& cmd, const TNotaCarga& c)
{
    cmd.setParam(QStringLiteral("IDTomador"), c.IDTomador);
    cmd.setParam(QStringLiteral("IDDestino"), c.IDDestino);
    cmd.setParam(QStringLiteral("DtEmissao"), c.DtEmissao);
    cmd.setParam(QStringLiteral("ModeloNF"), TNotasTransporte::ModeloCarga(c.ModeloNF));
    cmd.setParam(QStringLiteral("SerieNF"), c.SerieNF);
    cmd.setParam(QStringLiteral("SubSerieNF"), c.SubSerieNF);
    cmd.setParam(QStringLiteral("NumNF"), PreencheZeros(c.NumNF.trimmed(), 6));
    cmd.setParam(QStringLiteral("ValorNF"), c.ValorNF);
    cmd.setParam(QStringLiteral("DtAlter"), c.DtUltAlteracao);
}

} // namespace

QString TNotasTransporte::ModeloCarga(const QString& digitado)
{
    const QString m = digitado.trimmed();
    return m.size() == 1 ? QStringLiteral("0") + m : m;
}

QDate TNotasTransporte::Duplicata(const TNotaTransporte& n)
{
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM NFTRANSPORTE A WHERE A.IDCONTRIBUINTE =:IdContribuinte AND "
                                    "A.IDEMITENTE =:IdEmtDest AND A.MODELO =:Modelo AND A.NUMERO =:NumeroNF AND A.CFOP =:Cfop "
                                    "AND A.IDNFTransporte <> :Proprio"));
    q.setParam(QStringLiteral("Proprio"), n.IDNFTransporte);
    q.setParam(QStringLiteral("IdContribuinte"), n.IDContribuinte);
    q.setParam(QStringLiteral("IdEmtDest"), n.IDEmitente);
    q.setParam(QStringLiteral("Modelo"), n.Modelo);
    q.setParam(QStringLiteral("NumeroNF"), n.Numero);
    q.setParam(QStringLiteral("Cfop"), n.Cfop.trimmed());
    q.open();
    return q.isEmpty() ? QDate() : q.fieldByName(QStringLiteral("DtEmissao")).toDate();
}

bool TNotasTransporte::Incluir(TNotaTransporte& n)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral(
        "insert into NFTRANSPORTE (IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, SubSerie, Numero, Cfop, "
        "ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao, Obs, DtUltAlteracao)values "
        "(:IDContribuinte, :IDEmitente, :DtEmissao, :Modelo, :Serie, :SubSerie, :Numero, :Cfop, :ValorTotal, "
        ":BaseCalcIcms, :ValorIcms, :Isenta, :Outras, :Modalidade, :Situacao, :Obs, :DtAlter)"));
    cmd.setParam(QStringLiteral("IDContribuinte"), n.IDContribuinte);
    parametrosDaNota(cmd, n);
    if (!executaUma(cmd))
        return false;
    // The key the insert returned is the document from now on (its cargo notes hang on it).
    n.IDNFTransporte = int(cmd.ultimoIdInserido());
    return true;
}

bool TNotasTransporte::Alterar(const TNotaTransporte& n)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral(
        "update NFTRANSPORTE set IDEmitente = :IDEmitente, DtEmissao = :DtEmissao, Modelo = :Modelo, Serie = :Serie, "
        "SubSerie = :SubSerie, Numero = :Numero, Cfop = :Cfop, ValorTotal = :ValorTotal, BaseCalcIcms = :BaseCalcIcms, "
        "ValorIcms = :ValorIcms, Isenta = :Isenta, Outras = :Outras, Modalidade = :Modalidade, Situacao = :Situacao, "
        "Obs = :Obs, DtUltAlteracao = :DtAlter where IDNFTransporte = :OLD_IDNFTransporte and "
        "IDContribuinte = :OLD_IDContribuinte"));
    parametrosDaNota(cmd, n);
    cmd.setParam(QStringLiteral("OLD_IDNFTransporte"), n.IDNFTransporte);
    cmd.setParam(QStringLiteral("OLD_IDContribuinte"), n.IDContribuinte);
    return executaUma(cmd);
}

bool TNotasTransporte::Carregar(int idNota, int idContribuinte, TNotaTransporte& n)
{
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM NFTRANSPORTE WHERE IdNfTransporte = :IdNota AND IDContribuinte = :IdAtivo"));
    q.setParam(QStringLiteral("IdNota"), idNota);
    q.setParam(QStringLiteral("IdAtivo"), idContribuinte);
    q.open();
    if (q.isEmpty())
        return false;
    n.IDNFTransporte = idNota;
    n.IDContribuinte = idContribuinte;
    n.IDEmitente = q.asInteger(QStringLiteral("IDEmitente"));
    n.DtEmissao = q.fieldByName(QStringLiteral("DtEmissao")).toDate();
    n.Modelo = q.asString(QStringLiteral("Modelo")).trimmed();
    n.Serie = q.asString(QStringLiteral("Serie")).trimmed();
    n.SubSerie = q.asString(QStringLiteral("SubSerie")).trimmed();
    n.Numero = q.asString(QStringLiteral("Numero")).trimmed();
    n.Cfop = q.asString(QStringLiteral("Cfop")).trimmed();
    n.ValorTotal = q.asMoney(QStringLiteral("ValorTotal"));
    n.BaseCalcIcms = q.asMoney(QStringLiteral("BaseCalcIcms"));
    n.ValorIcms = q.asMoney(QStringLiteral("ValorIcms"));
    n.Isenta = q.asMoney(QStringLiteral("Isenta"));
    n.Outras = q.asMoney(QStringLiteral("Outras"));
    n.Modalidade = q.asString(QStringLiteral("Modalidade"));
    n.Situacao = q.asString(QStringLiteral("Situacao"));
    n.Obs = q.asString(QStringLiteral("Obs")).trimmed();
    return true;
}

bool TNotasTransporte::Excluir(int idNota, QString* erro)
{
    return Excluir(QList<int>{idNota}, erro);
}

bool TNotasTransporte::Excluir(const QList<int>& ids, QString* erro)
{
    // The cargo notes never outlive their document, nor go without it.
    try {
        TTransacao transacao(m_dtm.conexao());
        TComando& cmd = m_dtm.ADOCommand;
        for (const int idNota : ids) {
            cmd.setCommandText(QStringLiteral("delete from NFCARGA where IDNotaTransporte = :OLD_IDNotaTransporte"));
            cmd.setParam(QStringLiteral("OLD_IDNotaTransporte"), idNota);
            cmd.execute();
            cmd.setCommandText(QStringLiteral("delete from NFTRANSPORTE where IDNFTransporte = :OLD_IDNFTransporte"));
            cmd.setParam(QStringLiteral("OLD_IDNFTransporte"), idNota);
            if (cmd.execute() == 0) {
                if (erro)
                    *erro = QString::fromUtf8("A nota de transporte não foi encontrada.");
                return false;
            }
        }
        transacao.commit();
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TNotasTransporte::IncluirCarga(TNotaCarga& c)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral(
        "insert into NFCARGA (IDContribuinte, IDTomador, IDDestino, IDNotaTransporte, DtEmissao, ModeloNF, SerieNF, "
        "SubSerieNF, NumNF, ValorNF, DtUltAlteracao) values (:IDContribuinte, :IDTomador, :IDDestino, "
        ":IDNotaTransporte, :DtEmissao, :ModeloNF, :SerieNF, :SubSerieNF, :NumNF, :ValorNF, :DtAlter)"));
    cmd.setParam(QStringLiteral("IDContribuinte"), c.IDContribuinte);
    cmd.setParam(QStringLiteral("IDNotaTransporte"), c.IDNotaTransporte);
    parametrosDaCarga(cmd, c);
    if (!executaUma(cmd))
        return false;
    c.IDNFCarga = int(cmd.ultimoIdInserido());
    return true;
}

bool TNotasTransporte::AlterarCarga(const TNotaCarga& c)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral(
        "update NFCARGA set IDTomador = :IDTomador, IDDestino = :IDDestino, DtEmissao = :DtEmissao, ModeloNF = :ModeloNF, "
        "SerieNF = :SerieNF, SubSerieNF = :SubSerieNF, NumNF = :NumNF, ValorNF = :ValorNF, DtUltAlteracao = :DtAlter "
        "where (IDNFCarga = :OLD_IDNFCarga) and (IDContribuinte =:OLD_IDContribuinte) and "
        "(IDNotaTransporte =:OLD_IDNotaTransporte)"));
    parametrosDaCarga(cmd, c);
    cmd.setParam(QStringLiteral("OLD_IDNFCarga"), c.IDNFCarga);
    cmd.setParam(QStringLiteral("OLD_IDContribuinte"), c.IDContribuinte);
    cmd.setParam(QStringLiteral("OLD_IDNotaTransporte"), c.IDNotaTransporte);
    return executaUma(cmd);
}

bool TNotasTransporte::ExcluirCarga(int idCarga)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral("delete from NFCARGA where IDNFCarga = :OLD_IDNFCarga"));
    cmd.setParam(QStringLiteral("OLD_IDNFCarga"), idCarga);
    return executaUma(cmd);
}

QList<TNotaCarga> TNotasTransporte::Cargas(int idNota)
{
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM NFCARGA WHERE IDNotaTransporte = :IDNFTransporte ORDER BY IDNFCarga"));
    q.setParam(QStringLiteral("IDNFTransporte"), idNota);
    q.open();
    QList<TNotaCarga> r;
    for (q.first(); !q.eof(); q.next()) {
        TNotaCarga c;
        c.IDNFCarga = q.asInteger(QStringLiteral("IDNFCarga"));
        c.IDContribuinte = q.asInteger(QStringLiteral("IDContribuinte"));
        c.IDTomador = q.asInteger(QStringLiteral("IDTomador"));
        c.IDDestino = q.asInteger(QStringLiteral("IDDestino"));
        c.IDNotaTransporte = idNota;
        c.DtEmissao = q.fieldByName(QStringLiteral("DtEmissao")).toDate();
        c.ModeloNF = q.asString(QStringLiteral("ModeloNF"));
        c.SerieNF = q.asString(QStringLiteral("SerieNF"));
        c.SubSerieNF = q.asString(QStringLiteral("SubSerieNF"));
        c.NumNF = q.asString(QStringLiteral("NumNF"));
        c.ValorNF = q.asMoney(QStringLiteral("ValorNF"));
        c.DtUltAlteracao = q.fieldByName(QStringLiteral("DtUltAlteracao")).toDateTime();
        r.append(c);
    }
    return r;
}

namespace ConsultasTransporte {

using ConsultasNotas::CondicaoPeriodo;
using ConsultasNotas::LigaPeriodo;

static const char* const kOrdem = "ORDER BY DtEmissao, Numero, CFOP, IDNFTransporte";

void AbreLista(TDataSet& lista, int idAtivo, const QString& modalidade, const ConsultasNotas::TPeriodo& p)
{
    lista.setCommandText(QStringLiteral("SELECT * FROM NFTRANSPORTE WHERE IdContribuinte =:IdAtivo AND Modalidade =:TpNota ") +
                         CondicaoPeriodo(p, QStringLiteral("DtEmissao")) + QString::fromLatin1(kOrdem));
    lista.setParam(QStringLiteral("IdAtivo"), idAtivo);
    lista.setParam(QStringLiteral("TpNota"), modalidade);
    LigaPeriodo(lista, p);
    lista.open();
}

void AbreTodas(TDataSet& lista, int idAtivo)
{
    lista.setCommandText(QStringLiteral("SELECT * FROM NFTRANSPORTE WHERE IdContribuinte =:IdAtivo ") +
                         QString::fromLatin1(kOrdem));
    lista.setParam(QStringLiteral("IdAtivo"), idAtivo);
    lista.open();
}

TResumo Resumo(TDTMCON& con, int idAtivo, const QString& modalidade, const ConsultasNotas::TPeriodo& p)
{
    TDataSet q(con);
    q.setCommandText(QStringLiteral("SELECT COUNT(*) AS QUANT, SUM(ValorTotal) AS Somatorio, SUM(BaseCalcICMS) AS BASEICMS, "
                                    "SUM(VALORICMS) AS VLRICMS, SUM(ISENTA) AS ISENTAICMS, SUM(OUTRAS) AS OUTRASICMS "
                                    "FROM NFTRANSPORTE WHERE IdContribuinte =:IdAtivo AND Modalidade =:TpNota "
                                    "AND Situacao <> 'S' AND Situacao <> '2' AND Situacao <> '4' ") +
                     CondicaoPeriodo(p, QStringLiteral("DtEmissao")));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    q.setParam(QStringLiteral("TpNota"), modalidade);
    LigaPeriodo(q, p);
    q.open();
    TResumo r;
    r.quantidade = q.fieldByName(QStringLiteral("QUANT")).toLongLong();
    r.valorTotal = q.asMoney(QStringLiteral("Somatorio"));
    r.baseIcms = q.asMoney(QStringLiteral("BASEICMS"));
    r.valorIcms = q.asMoney(QStringLiteral("VLRICMS"));
    r.isenta = q.asMoney(QStringLiteral("ISENTAICMS"));
    r.outras = q.asMoney(QStringLiteral("OUTRASICMS"));
    return r;
}

QList<ConsultasNotas::TBarra> Grafico(TDTMCON& con, int idAtivo, const QDate& hoje)
{
    return ConsultasNotas::GraficoMensal(con, "NFTRANSPORTE", "ValorTotal", idAtivo, hoje);
}

bool ExisteAlguma(TDTMCON& con, int idAtivo)
{
    return ConsultasNotas::ExisteAlguma(con, "NFTRANSPORTE", idAtivo);
}

} // namespace ConsultasTransporte
