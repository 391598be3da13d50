#include "documents/untClsCupomFiscal.h"

#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "documents/untConsultasNotas.h"

namespace {

TFalha falha(const char* mensagem, const char* campo)
{
    return {QString::fromUtf8(mensagem), QString::fromLatin1(campo)};
}

// A counter is present when it is a whole number above 0 (CRO may be 0).
bool contadorPresente(const QString& texto, bool aceitaZero)
{
    bool ok = false;
    const qint64 n = texto.trimmed().toLongLong(&ok);
    return ok && n >= (aceitaZero ? 0 : 1);
}

QVariant contador(const QString& texto)
{
    bool ok = false;
    const qint64 n = texto.trimmed().toLongLong(&ok);
    return ok ? QVariant(n) : QVariant(0);
}

void parametrosDoCupom(TComando& cmd, const TCupomFiscal& c, const QDateTime& agora)
{
    cmd.setParam(QStringLiteral("DtEmissao"), c.DtEmissao);
    cmd.setParam(QStringLiteral("NumSerie"), c.NumSerie.trimmed());
    cmd.setParam(QStringLiteral("NumEquip"), c.NumEquip.trimmed());
    cmd.setParam(QStringLiteral("Modelo"), c.Modelo.trimmed().toUpper());
    cmd.setParam(QStringLiteral("COOInicial"), contador(c.COOInicial));
    cmd.setParam(QStringLiteral("COOFinal"), contador(c.COOFinal));
    cmd.setParam(QStringLiteral("CRZ"), contador(c.CRZ));
    cmd.setParam(QStringLiteral("CRO"), contador(c.CRO));
    cmd.setParam(QStringLiteral("GTInicioDia"), c.GTInicioDia);
    cmd.setParam(QStringLiteral("GTFimDia"), c.GTFimDia);
    cmd.setParam(QStringLiteral("VendaBruta"), c.VendaBruta);
    cmd.setParam(QStringLiteral("T_ISS"), c.T_ISS);
    cmd.setParam(QStringLiteral("T_F"), c.T_F);
    cmd.setParam(QStringLiteral("T_I"), c.T_I);
    cmd.setParam(QStringLiteral("T_N"), c.T_N);
    cmd.setParam(QStringLiteral("T_CANC"), c.T_CANC);
    cmd.setParam(QStringLiteral("T_DESC"), c.T_DESC);
    cmd.setParam(QStringLiteral("DtAlter"), agora);
    cmd.setParam(QStringLiteral("DtUltAlteracao"), agora);
}

bool executaUma(TComando& cmd)
{
    try {
        return cmd.execute() > 0;
    } catch (const EBancoDados&) {
        return false;
    }
}

} // namespace

namespace RegrasCupom {

bool ModeloValido(const QString& modelo)
{
    static const QStringList validos = {QStringLiteral("2B"), QStringLiteral("2C"), QStringLiteral("2D"),
                                        QStringLiteral("2"),  QStringLiteral("02"), QStringLiteral("13"),
                                        QStringLiteral("14"), QStringLiteral("15"), QStringLiteral("16")};
    return validos.contains(modelo.trimmed().toUpper());
}

Money VendaLiquida(const TCupomFiscal& c)
{
    return c.VendaBruta - (c.T_ISS + c.T_CANC + c.T_DESC);
}

Money Saldo(const TCupomFiscal& c, Money somaLinhas)
{
    return VendaLiquida(c) - (c.T_F + c.T_I + c.T_N + somaLinhas);
}

Money VendaBrutaProposta(const TCupomFiscal& c)
{
    return c.GTFimDia - c.GTInicioDia;
}

static TFalha checaTotais(const TCupomFiscal& c)
{
    if (c.GTInicioDia > c.GTFimDia)
        return falha("GT Final menor do que GT Inicial!", "curGTFinal");
    if (c.VendaBruta > c.GTFimDia)
        return falha("Venda Bruta NÃO pode\nser maior que GT Final!", "curVendaBruta");
    return {};
}

TFalha ChecaCabecalho(const TCupomFiscal& c, bool alteracao)
{
    const bool faltaAlgo = c.NumSerie.trimmed().isEmpty() || c.NumEquip.trimmed().isEmpty() ||
                           !contadorPresente(c.COOInicial, false) || !contadorPresente(c.COOFinal, false) ||
                           !contadorPresente(c.CRZ, false) || (!c.CRO.trimmed().isEmpty() && !contadorPresente(c.CRO, true));
    const TFalha obrigatorios =
        faltaAlgo ? falha("Preencha os campos obrigatórios \ndo quadro Emissor de Cupom Fiscal", "edtNumSerie") : TFalha{};
    const TFalha modelo = ModeloValido(c.Modelo)
                              ? TFalha{}
                              : falha("Modelo de ECF Inválido! Modelos válidos 2B,2C,2D \n2,02,13,14,15 e 16", "edtModelo");
    for (const TFalha& f : alteracao ? QList<TFalha>{modelo, obrigatorios} : QList<TFalha>{obrigatorios, modelo})
        if (f.falhou())
            return f;
    return checaTotais(c);
}

TFalha ChecaSalvar(const TCupomFiscal& c, Money somaLinhas)
{
    if (TFalha f = checaTotais(c); f.falhou())
        return f;
    if (!Saldo(c, somaLinhas).isZero())
        return falha("Totalizadores Fiscais\ndifere da Venda Bruta!", "curVlr_ISS");
    return {};
}

TFalha LeAliquota(const QString& texto, QString* aliquota)
{
    QString digitos;
    for (const QChar ch : texto)
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            digitos.append(ch);
    *aliquota = digitos;
    if (!texto.trimmed().isEmpty() && digitos.size() != 4)
        return falha("Formato Inválido!", "cmbAliquota");
    return {};
}

Money ImpostoDaLinha(const QString& aliquota, Money valor)
{
    return valor.timesRateHundredths(aliquota.toLongLong());
}

QString EmDinheiro(Money m)
{
    return m.toString().rightJustified(8);
}

} // namespace RegrasCupom

bool TCuponsFiscais::Duplicata(const TCupomFiscal& c)
{
    // Older rows carry the serial and equipment numbers with a blank appended: both sides compared trimmed.
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM CUPOMFISCAL WHERE IdContribuinte =:IdAtivo AND DtEmissao = :pDtEmissao "
                                    "AND TRIM(NumSerie) = :pNumSerie AND TRIM(NumEquip) = :pNumEquip"));
    q.setParam(QStringLiteral("IdAtivo"), c.IDContribuinte);
    q.setParam(QStringLiteral("pDtEmissao"), c.DtEmissao);
    q.setParam(QStringLiteral("pNumSerie"), c.NumSerie.trimmed());
    q.setParam(QStringLiteral("pNumEquip"), c.NumEquip.trimmed());
    q.open();
    return !q.isEmpty();
}

bool TCuponsFiscais::Incluir(TCupomFiscal& c)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral(
        "insert into CUPOMFISCAL (IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, COOInicial, COOFinal, CRZ, "
        "CRO, GTInicioDia, GTFimDia, VendaBruta, T_ISS, T_F, T_I, T_N, T_CANC, T_DESC, DtUltAlteracao) values "
        "(:IDContribuinte, :DtEmissao, :NumSerie, :NumEquip, :Modelo, :COOInicial, :COOFinal, :CRZ, :CRO, "
        ":GTInicioDia, :GTFimDia, :VendaBruta, :T_ISS, :T_F, :T_I, :T_N, :T_CANC, :T_DESC, :DtAlter)"));
    cmd.setParam(QStringLiteral("IDContribuinte"), c.IDContribuinte);
    parametrosDoCupom(cmd, c, c.DtUltAlteracao);
    if (!executaUma(cmd))
        return false;
    // The key the insert returned is the summary from now on, never "the last row" of some list.
    c.IDCupomFiscal = int(cmd.ultimoIdInserido());
    return true;
}

bool TCuponsFiscais::Alterar(const TCupomFiscal& c)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral(
        "update CUPOMFISCAL set DtEmissao = :DtEmissao, NumSerie = :NumSerie, NumEquip = :NumEquip, Modelo = :Modelo, "
        "COOInicial = :COOInicial, COOFinal = :COOFinal, CRZ = :CRZ, CRO = :CRO, GTInicioDia = :GTInicioDia, "
        "GTFimDia = :GTFimDia, VendaBruta = :VendaBruta, T_ISS = :T_ISS, T_F = :T_F, T_I = :T_I, T_N = :T_N, "
        "T_CANC = :T_CANC, T_DESC = :T_DESC, DtUltAlteracao = :DtUltAlteracao where IDCupomFiscal = :OLD_IDCupomFiscal  "
        "and IdContribuinte =:OLD_IdContribuinte"));
    parametrosDoCupom(cmd, c, c.DtUltAlteracao);
    cmd.setParam(QStringLiteral("OLD_IDCupomFiscal"), c.IDCupomFiscal);
    cmd.setParam(QStringLiteral("OLD_IdContribuinte"), c.IDContribuinte);
    return executaUma(cmd);
}

bool TCuponsFiscais::Carregar(int idCupom, int idContribuinte, TCupomFiscal& c)
{
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM CUPOMFISCAL WHERE IDCupomFiscal = :Id AND IDContribuinte = :IdAtivo"));
    q.setParam(QStringLiteral("Id"), idCupom);
    q.setParam(QStringLiteral("IdAtivo"), idContribuinte);
    q.open();
    if (q.isEmpty())
        return false;
    c.IDCupomFiscal = idCupom;
    c.IDContribuinte = idContribuinte;
    c.DtEmissao = q.fieldByName(QStringLiteral("DtEmissao")).toDate();
    c.NumSerie = q.asString(QStringLiteral("NumSerie")).trimmed();
    c.NumEquip = q.asString(QStringLiteral("NumEquip")).trimmed();
    c.Modelo = q.asString(QStringLiteral("Modelo")).trimmed();
    c.COOInicial = q.asString(QStringLiteral("COOInicial"));
    c.COOFinal = q.asString(QStringLiteral("COOFinal"));
    c.CRZ = q.asString(QStringLiteral("CRZ"));
    c.CRO = q.asString(QStringLiteral("CRO"));
    c.GTInicioDia = q.asMoney(QStringLiteral("GTInicioDia"));
    c.GTFimDia = q.asMoney(QStringLiteral("GTFimDia"));
    c.VendaBruta = q.asMoney(QStringLiteral("VendaBruta"));
    c.T_ISS = q.asMoney(QStringLiteral("T_ISS"));
    c.T_F = q.asMoney(QStringLiteral("T_F"));
    c.T_I = q.asMoney(QStringLiteral("T_I"));
    c.T_N = q.asMoney(QStringLiteral("T_N"));
    c.T_CANC = q.asMoney(QStringLiteral("T_CANC"));
    c.T_DESC = q.asMoney(QStringLiteral("T_DESC"));
    return true;
}

bool TCuponsFiscais::Excluir(int idCupom, QString* erro)
{
    try {
        TTransacao transacao(m_dtm.conexao());
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral("delete from CFAliquota where IDCupomFiscal = :OLD_IDCupom"));
        cmd.setParam(QStringLiteral("OLD_IDCupom"), idCupom);
        cmd.execute();
        cmd.setCommandText(QStringLiteral("delete from CUPOMFISCAL where IDCupomFiscal = :OLD_IDCupomFiscal"));
        cmd.setParam(QStringLiteral("OLD_IDCupomFiscal"), idCupom);
        if (cmd.execute() == 0) {
            if (erro)
                *erro = QString::fromUtf8("O cupom não foi encontrado.");
            return false; // rolled back: lines are never left without their summary, nor the other way round
        }
        transacao.commit();
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TCuponsFiscais::TemAliquota(int idCupom, const QString& aliquota)
{
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM CFALIQUOTA WHERE IdCupomFiscal =:IdCupom AND Aliquota =:strAliq"));
    q.setParam(QStringLiteral("IdCupom"), idCupom);
    q.setParam(QStringLiteral("strAliq"), aliquota);
    q.open();
    return !q.isEmpty();
}

bool TCuponsFiscais::IncluirLinha(int idCupom, const QString& aliquota, Money valor)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral(
        "insert into CFAliquota(IDCupomFiscal, Aliquota, ValorAcumulado) values(:IDCupomFiscal, :Aliquota, :ValorAcumulado)"));
    cmd.setParam(QStringLiteral("IDCupomFiscal"), idCupom);
    cmd.setParam(QStringLiteral("Aliquota"), aliquota);
    cmd.setParam(QStringLiteral("ValorAcumulado"), valor);
    return executaUma(cmd);
}

bool TCuponsFiscais::ExcluirLinha(int idLinha)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral("delete from CFAliquota where IDCFAliquota = :OLD_IDCFAliquota"));
    cmd.setParam(QStringLiteral("OLD_IDCFAliquota"), idLinha);
    return executaUma(cmd);
}

QList<TLinhaAliquota> TCuponsFiscais::Linhas(int idCupom)
{
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM CFALIQUOTA WHERE IdCupomFiscal =:IdCupom ORDER BY IDCFAliquota"));
    q.setParam(QStringLiteral("IdCupom"), idCupom);
    q.open();
    QList<TLinhaAliquota> r;
    for (q.first(); !q.eof(); q.next())
        r.append({q.asInteger(QStringLiteral("IDCFAliquota")), q.asString(QStringLiteral("Aliquota")),
                  q.asMoney(QStringLiteral("ValorAcumulado"))});
    return r;
}

Money TCuponsFiscais::SomaLinhas(int idCupom)
{
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT SUM(A.ValorAcumulado) AS ValorAcumulado FROM CFAliquota A WHERE IdCupomFiscal =:IdCupom"));
    q.setParam(QStringLiteral("IdCupom"), idCupom);
    q.open();
    return q.isEmpty() ? Money() : q.asMoney(QStringLiteral("ValorAcumulado"));
}

namespace ConsultasCupom {

using ConsultasNotas::CondicaoPeriodo;
using ConsultasNotas::LigaPeriodo;

void AbreLista(TDataSet& lista, int idAtivo, const ConsultasNotas::TPeriodo& p)
{
    ConsultasNotas::AbreListaDe(lista, "CUPOMFISCAL", "DtEmissao, IDCupomFiscal", idAtivo, p);
}

void AbreTodas(TDataSet& lista, int idAtivo)
{
    AbreLista(lista, idAtivo, ConsultasNotas::TodosOsPeriodos());
}

TResumo Resumo(TDTMCON& con, int idAtivo, const ConsultasNotas::TPeriodo& p)
{
    TDataSet q(con);
    q.setCommandText(QStringLiteral("SELECT COUNT(*) AS QUANT, SUM(A.VendaBruta) AS VendaBruta, SUM(A.T_ISS) AS T_ISS, "
                                    "SUM(A.T_F) AS T_F, SUM(A.T_I) AS T_I, SUM(A.T_N) AS T_N, SUM(A.T_CANC) AS T_CANC, "
                                    "SUM(A.T_DESC) AS T_DESC FROM CUPOMFISCAL A WHERE A.IdContribuinte =:IdAtivo ") +
                     CondicaoPeriodo(p, QStringLiteral("A.DtEmissao")));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    LigaPeriodo(q, p);
    q.open();
    TResumo r;
    r.quantidade = q.fieldByName(QStringLiteral("QUANT")).toLongLong();
    r.vendaBruta = q.asMoney(QStringLiteral("VendaBruta"));
    r.iss = q.asMoney(QStringLiteral("T_ISS"));
    r.f = q.asMoney(QStringLiteral("T_F"));
    r.i = q.asMoney(QStringLiteral("T_I"));
    r.n = q.asMoney(QStringLiteral("T_N"));
    r.canc = q.asMoney(QStringLiteral("T_CANC"));
    r.desc = q.asMoney(QStringLiteral("T_DESC"));
    return r;
}

QList<TIcmsAliquota> IcmsPorAliquota(TDTMCON& con, int idAtivo, const ConsultasNotas::TPeriodo& p)
{
    // Summed by rate in the engine, multiplied here: the engine would divide a text rate as an integer.
    TDataSet q(con);
    q.setCommandText(QStringLiteral("SELECT S.Aliquota AS Aliquota, SUM(S.ValorAcumulado) AS Valor "
                                    "FROM CUPOMFISCAL E JOIN CFALiquota S ON E.IDCupomFiscal = S.IDCupomFiscal "
                                    "WHERE E.IDContribuinte = :IdAtivo ") +
                     CondicaoPeriodo(p, QStringLiteral("E.DtEmissao")) +
                     QStringLiteral("GROUP BY S.Aliquota ORDER BY S.Aliquota"));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    LigaPeriodo(q, p);
    q.open();
    QList<TIcmsAliquota> r;
    for (q.first(); !q.eof(); q.next()) {
        const QString aliquota = q.asString(QStringLiteral("Aliquota"));
        r.append({aliquota, RegrasCupom::ImpostoDaLinha(aliquota.trimmed(), q.asMoney(QStringLiteral("Valor")))});
    }
    return r;
}

QList<ConsultasNotas::TBarra> Grafico(TDTMCON& con, int idAtivo, const QDate& hoje)
{
    return ConsultasNotas::GraficoMensal(con, "CUPOMFISCAL", "VendaBruta", idAtivo, hoje);
}

bool ExisteAlgum(TDTMCON& con, int idAtivo)
{
    return ConsultasNotas::ExisteAlguma(con, "CUPOMFISCAL", idAtivo);
}

} // namespace ConsultasCupom
