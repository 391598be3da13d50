#include "documents/untClsNotaFiscal.h"

#include "core/untDatas.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"

QDate TNotasFiscais::Duplicata(const TNotaFiscal& n)
{
    try {
        TDataSet q(m_dtm.conexao());
        q.setCommandText(QStringLiteral(
            "SELECT * FROM NOTAFISCAL A, NFICMS B WHERE A.IDNOTAFISCAL = B.IDNOTAFISCAL AND B.ALIQUOTAICMS "
            "=:AliquotaICMS AND A.IDCONTRIBUINTE =:IdContribuinte AND A.IDEMTDEST =:IdEmtDest AND A.MODELO "
            "=:Modelo AND A.SERIE =:Serie AND A.NUMERONF =:NumeroNF AND A.CFOP =:Cfop"));
        q.setParam(QStringLiteral("AliquotaICMS"), n.AliquotaICMS);
        q.setParam(QStringLiteral("IdContribuinte"), n.IdContribuinte);
        q.setParam(QStringLiteral("IdEmtDest"), n.IdEmtDest);
        q.setParam(QStringLiteral("Modelo"), n.Modelo);
        q.setParam(QStringLiteral("Serie"), n.Serie.trimmed());
        q.setParam(QStringLiteral("NumeroNF"), n.NumeroNF);
        q.setParam(QStringLiteral("Cfop"), n.Cfop);
        q.open();
        if (q.isEmpty() || q.asString(QStringLiteral("NumeroNF")).trimmed().isEmpty())
            return {};
        const QDate data = Datas::doBanco(q.asString(QStringLiteral("DtEmissao")));
        return data.isValid() ? data : QDate(1899, 12, 30);
    } catch (const EBancoDados&) {
        return {}; // a failing query counts as no duplicate
    }
}

static void ligaNota(TComando& c, const TNotaFiscal& n)
{
    c.setParam(QStringLiteral("IdEmtDest"), n.IdEmtDest);
    c.setParam(QStringLiteral("DtEmissao"), n.DtEmissao);
    c.setParam(QStringLiteral("TipoNota"), n.TipoNota);
    c.setParam(QStringLiteral("Modelo"), n.Modelo);
    c.setParam(QStringLiteral("Serie"), n.Serie.trimmed());
    c.setParam(QStringLiteral("SubSerie"), n.SubSerie.trimmed());
    c.setParam(QStringLiteral("NumeroNF"), n.NumeroNF);
    c.setParam(QStringLiteral("Cfop"), n.Cfop.trimmed());
    c.setParam(QStringLiteral("Emitente"), n.Emitente);
    c.setParam(QStringLiteral("ValorTotalNota"), n.ValorTotalNota);
    c.setParam(QStringLiteral("Situacao"), n.Situacao);
    c.setParam(QStringLiteral("Obs"), n.Obs.trimmed());
    c.setParam(QStringLiteral("DtAlter"), n.DtUltAlteracao.time().isValid() && n.DtUltAlteracao.time() != QTime(0, 0)
                                              ? QVariant(n.DtUltAlteracao)
                                              : QVariant(n.DtUltAlteracao.date()));
}

static bool executa(TComando& c, TNotasFiscais::Etapa etapa, TNotasFiscais::Etapa* falhou)
{
    if (c.tentaExecutar())
        return true;
    if (falhou)
        *falhou = etapa;
    return false;
}

bool TNotasFiscais::Incluir(TNotaFiscal& n, Etapa* etapa)
{
    TComando& c = m_dtm.ADOCommand;
    c.setCommandText(QStringLiteral(
        "insert into NotaFiscal(IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, SubSerie, NumeroNF, "
        "Cfop, Emitente, ValorTotalNota, Situacao, Obs, DtUltAlteracao) values (:IdContribuinte, :IdEmtDest, "
        ":DtEmissao, :TipoNota, :Modelo, :Serie, :SubSerie, :NumeroNF, :Cfop, :Emitente, :ValorTotalNota, "
        ":Situacao, :Obs, :DtAlter)"));
    c.setParam(QStringLiteral("IdContribuinte"), n.IdContribuinte);
    ligaNota(c, n);
    if (!executa(c, Etapa::Nota, etapa))
        return false;
    // The key this connection just got, not the table's highest: another writer cannot mix them up.
    n.IdNotaFiscal = int(c.ultimoIdInserido());

    c.setCommandText(QStringLiteral("insert into NFICMS(IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, "
                                    "OutrasICMS, AliquotaICMS) values (:IdNota, :BaseCalculo, :Valor, :Isenta, "
                                    ":Outras, :Aliquota)"));
    c.setParam(QStringLiteral("IdNota"), n.IdNotaFiscal);
    c.setParam(QStringLiteral("BaseCalculo"), n.BaseCalculoICMS);
    c.setParam(QStringLiteral("Valor"), n.ValorICMS);
    c.setParam(QStringLiteral("Isenta"), n.IsentaICMS);
    c.setParam(QStringLiteral("Outras"), n.OutrasICMS);
    c.setParam(QStringLiteral("Aliquota"), n.AliquotaICMS);
    if (!executa(c, Etapa::Icms, etapa))
        return false;
    n.IdNfIcms = int(c.ultimoIdInserido());

    c.setCommandText(QStringLiteral("insert into NFIPI(IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) values "
                                    "(:IdNota, :Valor, :Isenta, :Outras)"));
    c.setParam(QStringLiteral("IdNota"), n.IdNotaFiscal);
    c.setParam(QStringLiteral("Valor"), n.ValorIPI);
    c.setParam(QStringLiteral("Isenta"), n.IsentaIPI);
    c.setParam(QStringLiteral("Outras"), n.OutrasIPI);
    if (!executa(c, Etapa::Ipi, etapa))
        return false;
    n.IdNfIpi = int(c.ultimoIdInserido());

    c.setCommandText(QStringLiteral("insert into NFSUBSTRIB(IdNotaFiscal, BaseCalculoSubst, ICMSRetido, "
                                    "DespAcessorias, MVA) values (:IdNota, :Base, :Retido, :Desp, :MVA)"));
    c.setParam(QStringLiteral("IdNota"), n.IdNotaFiscal);
    c.setParam(QStringLiteral("Base"), n.BaseCalculoSubst);
    c.setParam(QStringLiteral("Retido"), n.ICMSRetido);
    c.setParam(QStringLiteral("Desp"), n.DespAcessorias);
    c.setParam(QStringLiteral("MVA"), n.MVA);
    if (!executa(c, Etapa::Subst, etapa))
        return false;
    n.IdNfSubsTrib = int(c.ultimoIdInserido());
    return true;
}

bool TNotasFiscais::Alterar(const TNotaFiscal& n, Etapa* etapa)
{
    TComando& c = m_dtm.ADOCommand;
    c.setCommandText(QStringLiteral(
        "update NOTAFISCAL set IdEmtDest = :IdEmtDest, DtEmissao = :DtEmissao, TipoNota = :TipoNota, "
        "Modelo = :Modelo,Serie = :Serie, SubSerie = :SubSerie, NumeroNF = :NumeroNF, Cfop = :Cfop, "
        "Emitente = :Emitente, ValorTotalNota = :ValorTotalNota,Situacao = :Situacao, Obs = :Obs, "
        "DtUltAlteracao = :DtAlter where IdNotaFiscal = :OLD_IdNotaFiscal and IdContribuinte = :OLD_IdContribuinte"));
    ligaNota(c, n);
    c.setParam(QStringLiteral("OLD_IdNotaFiscal"), n.IdNotaFiscal);
    c.setParam(QStringLiteral("OLD_IdContribuinte"), n.IdContribuinte);
    if (!executa(c, Etapa::Nota, etapa))
        return false;

    c.setCommandText(QStringLiteral("update NFICMS set BaseCalculoICMS =:BaseCalculo, ValorICMS =:Valor, "
                                    "IsentaICMS =:Isenta, OutrasICMS =:Outras, AliquotaICMS =:Aliquota where "
                                    "IDNFICMS =:OLD_IDNFICMS and IdNotaFiscal =:OLD_IdNotaFiscal"));
    c.setParam(QStringLiteral("BaseCalculo"), n.BaseCalculoICMS);
    c.setParam(QStringLiteral("Valor"), n.ValorICMS);
    c.setParam(QStringLiteral("Isenta"), n.IsentaICMS);
    c.setParam(QStringLiteral("Outras"), n.OutrasICMS);
    c.setParam(QStringLiteral("Aliquota"), n.AliquotaICMS);
    c.setParam(QStringLiteral("OLD_IDNFICMS"), n.IdNfIcms);
    c.setParam(QStringLiteral("OLD_IdNotaFiscal"), n.IdNotaFiscal);
    if (!executa(c, Etapa::Icms, etapa))
        return false;

    c.setCommandText(QStringLiteral("update NFIPI set ValorIPI =:Valor, IsentaIPI =:Isenta, OutrasIPI =:Outras "
                                    "where IDNFIPI =:OLD_IDNFIPI and IdNotaFiscal =:OLD_IdNotaFiscal"));
    c.setParam(QStringLiteral("Valor"), n.ValorIPI);
    c.setParam(QStringLiteral("Isenta"), n.IsentaIPI);
    c.setParam(QStringLiteral("Outras"), n.OutrasIPI);
    c.setParam(QStringLiteral("OLD_IDNFIPI"), n.IdNfIpi);
    c.setParam(QStringLiteral("OLD_IdNotaFiscal"), n.IdNotaFiscal);
    if (!executa(c, Etapa::Ipi, etapa))
        return false;

    c.setCommandText(QStringLiteral("update NFSUBSTRIB set BaseCalculoSubst =:Base, ICMSRetido =:Retido, "
                                    "DespAcessorias =:Desp, MVA =:MVA where IDNfSubsTrib =:OLD_IDNfSubsTrib and "
                                    "IdNotaFiscal =:OLD_IdNotaFiscal"));
    c.setParam(QStringLiteral("Base"), n.BaseCalculoSubst);
    c.setParam(QStringLiteral("Retido"), n.ICMSRetido);
    c.setParam(QStringLiteral("Desp"), n.DespAcessorias);
    c.setParam(QStringLiteral("MVA"), n.MVA);
    c.setParam(QStringLiteral("OLD_IDNfSubsTrib"), n.IdNfSubsTrib);
    c.setParam(QStringLiteral("OLD_IdNotaFiscal"), n.IdNotaFiscal);
    return executa(c, Etapa::Subst, etapa);
}

bool TNotasFiscais::Carregar(int idNota, int idContribuinte, TNotaFiscal& n)
{
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM NOTAFISCAL WHERE IdNotaFiscal = :IdNota AND IdContribuinte = :Id"));
    q.setParam(QStringLiteral("IdNota"), idNota);
    q.setParam(QStringLiteral("Id"), idContribuinte);
    q.open();
    if (q.isEmpty())
        return false;
    n = TNotaFiscal();
    n.IdNotaFiscal = idNota;
    n.IdContribuinte = idContribuinte;
    n.IdEmtDest = q.asInteger(QStringLiteral("IdEmtDest"));
    n.DtEmissao = Datas::doBanco(q.asString(QStringLiteral("DtEmissao")));
    n.TipoNota = q.asString(QStringLiteral("TipoNota")).trimmed();
    n.Modelo = q.asString(QStringLiteral("Modelo")).trimmed();
    n.Serie = q.asString(QStringLiteral("Serie")).trimmed();
    n.SubSerie = q.asString(QStringLiteral("SubSerie")).trimmed();
    n.NumeroNF = q.asString(QStringLiteral("NumeroNF")).trimmed();
    n.Cfop = q.asString(QStringLiteral("Cfop")).trimmed();
    n.Emitente = q.asString(QStringLiteral("Emitente")).trimmed();
    n.ValorTotalNota = q.asMoney(QStringLiteral("ValorTotalNota"));
    n.Situacao = q.asString(QStringLiteral("Situacao")).trimmed();
    n.Obs = q.asString(QStringLiteral("Obs")).trimmed();
    n.DtUltAlteracao = Datas::momentoDoBanco(q.asString(QStringLiteral("DtUltAlteracao")));

    auto primeiraLinha = [&](const QString& sql) {
        q.setCommandText(sql);
        q.setParam(QStringLiteral("IdNota"), idNota);
        q.open();
        return !q.isEmpty();
    };
    if (primeiraLinha(QStringLiteral("SELECT * FROM NFICMS WHERE IdNotaFiscal = :IdNota ORDER BY IdNfIcms"))) {
        n.IdNfIcms = q.asInteger(QStringLiteral("IdNfIcms"));
        n.BaseCalculoICMS = q.asMoney(QStringLiteral("BaseCalculoICMS"));
        n.ValorICMS = q.asMoney(QStringLiteral("ValorICMS"));
        n.IsentaICMS = q.asMoney(QStringLiteral("IsentaICMS"));
        n.OutrasICMS = q.asMoney(QStringLiteral("OutrasICMS"));
        n.AliquotaICMS = q.asString(QStringLiteral("AliquotaICMS")).trimmed();
    }
    if (primeiraLinha(QStringLiteral("SELECT * FROM NFIPI WHERE IdNotaFiscal = :IdNota ORDER BY IDNFIPI"))) {
        n.IdNfIpi = q.asInteger(QStringLiteral("IDNFIPI"));
        n.ValorIPI = q.asMoney(QStringLiteral("ValorIPI"));
        n.IsentaIPI = q.asMoney(QStringLiteral("IsentaIPI"));
        n.OutrasIPI = q.asMoney(QStringLiteral("OutrasIPI"));
    }
    if (primeiraLinha(QStringLiteral("SELECT * FROM NFSUBSTRIB WHERE IdNotaFiscal = :IdNota ORDER BY IDNfSubsTrib"))) {
        n.IdNfSubsTrib = q.asInteger(QStringLiteral("IDNfSubsTrib"));
        n.BaseCalculoSubst = q.asMoney(QStringLiteral("BaseCalculoSubst"));
        n.ICMSRetido = q.asMoney(QStringLiteral("ICMSRetido"));
        n.DespAcessorias = q.asMoney(QStringLiteral("DespAcessorias"));
        n.MVA = q.asString(QStringLiteral("MVA"));
    }
    return true;
}

bool TNotasFiscais::Excluir(const QList<int>& ids, QString* erro)
{
    try {
        TTransacao transacao(m_dtm.conexao());
        TComando& c = m_dtm.ADOCommand;
        for (const int id : ids) {
            for (const char* sql : {"delete from NFIPI WHERE IdNotaFiscal =:OLD_Nota",
                                    "delete from NFICMS WHERE IdNotaFiscal =:OLD_Nota",
                                    "delete from NFSUBSTRIB WHERE IdNotaFiscal =:OLD_Nota",
                                    "delete from NOTAFISCAL WHERE IdNotaFiscal =:OLD_Nota"}) {
                c.setCommandText(QString::fromLatin1(sql));
                c.setParam(QStringLiteral("OLD_Nota"), id);
                c.execute();
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
