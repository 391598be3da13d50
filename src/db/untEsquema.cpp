#include "db/untEsquema.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <sqlite3.h>

#include "core/untSistema.h"
#include "db/untSqlite.h"

namespace TEsquema {

#define AUTO " INTEGER PRIMARY KEY AUTOINCREMENT"

const QStringList& tabelasEntregues()
{
    static const QStringList t = {
        QStringLiteral("CREATE TABLE Contribuinte (IdContribuinte" AUTO ", IdContador Integer, CNPJ Text(14), "
                       "Ccicms Text(14), RazaoSocial Text(35), Logradouro Text(34), Numero Text(5), "
                       "Complemento Text(22), Bairro Text(15), Municipio Text(30), Cep Text(8), UF Text(2), "
                       "Fone Text(12), Fax Text(10), Contato Text(28), Email Text(40), Tipo Text(1))"),
        QStringLiteral("CREATE TABLE Contador (IDContador" AUTO ", CPF Text(14), CRC Text(10), Nome Text(40), "
                       "EMail Text(40), Fone Text(12))"),
        QStringLiteral("CREATE TABLE NotaFiscal (IdNotaFiscal" AUTO ", IdContribuinte Integer, IdEmtDest Integer, "
                       "DtEmissao Date, TipoNota Text(1), Modelo Text(2), Serie Text(3), SubSerie Text(2), "
                       "NumeroNF Text(6), Cfop Text(4), Emitente Text(1), ValorTotalNota money, Situacao Text(1), "
                       "Obs Text(30), DtUltAlteracao Date)"),
        QStringLiteral("CREATE TABLE NFICMS (IdNfIcms" AUTO ", IdNotaFiscal Integer, BaseCalculoICMS money, "
                       "ValorICMS money, IsentaICMS money, OutrasICMS money, AliquotaICMS Text(4))"),
        QStringLiteral("CREATE TABLE NFIPI (IDNFIPI" AUTO ", IdNotaFiscal Integer, ValorIPI money, IsentaIPI money, "
                       "OutrasIPI money)"),
        QStringLiteral("CREATE TABLE NFSUBSTRIB (IDNfSubsTrib" AUTO ", IdNotaFiscal Integer, BaseCalculoSubst money, "
                       "ICMSRetido money, DespAcessorias money, MVA Text(1))"),
        QStringLiteral("CREATE TABLE NFTRANSPORTE (IDNFTransporte" AUTO ", IDContribuinte Integer, IDEmitente Integer, "
                       "DtEmissao Date, Modelo Text(2), Serie Text(1), SubSerie Text(2), Numero Text(6), Cfop Text(4), "
                       "ValorTotal money, BaseCalcIcms money, ValorIcms money, Isenta money, Outras money, "
                       "Modalidade Text(1), Situacao Text(1), Obs Text(30), DtUltAlteracao Date)"),
        QStringLiteral("CREATE TABLE NFCARGA (IDNFCarga" AUTO ", IDContribuinte Integer, IDTomador Integer, "
                       "IDDestino Integer, IDNotaTransporte Integer, DtEmissao Date, ModeloNF Text(2), "
                       "SerieNF Text(3), SubSerieNF Text(2), NumNF Text(6), ValorNF money, DtUltAlteracao Date)"),
        QStringLiteral("CREATE TABLE NOTATALAO (IDNotaTalao" AUTO ", IDContribuinte Integer, DtEmissao Date, "
                       "Modelo Text(2), Serie Text(3), SubSerie Text(2), NumeroInicial Integer, NumeroFinal Integer, "
                       "ValorTotal money, BaseICMS money, ValorICMS money, Isenta money, Outras money, "
                       "Aliquota Text(4), DtUltAlteracao Date)"),
        QStringLiteral("CREATE TABLE CUPOMFISCAL (IDCupomFiscal" AUTO ", IDContribuinte Integer, DtEmissao Date, "
                       "NumSerie Text(20), NumEquip Text(3), Modelo Text(2), COOInicial Integer, COOFinal Integer, "
                       "CRZ Integer, CRO Integer, GTInicioDia money, GTFimDia money, VendaBruta money, T_ISS money, "
                       "T_F money, T_I money, T_N money, T_CANC money, T_DESC money, DtUltAlteracao Date)"),
        QStringLiteral("CREATE TABLE CFAliquota (IDCFAliquota" AUTO ", IDCupomFiscal Integer, Aliquota Text(4), "
                       "ValorAcumulado money)"),
        QStringLiteral("CREATE TABLE CFOP (CF_Codigo Text(4) UNIQUE, CF_Descricao Text(255), CF_ST Text(1))"),
        QStringLiteral("CREATE TABLE CFOP3 (CF_Codigo Text(4) UNIQUE, CF_Descricao Text(255), CF_ST Text(1))"),
        QStringLiteral("CREATE TABLE ZEL (IDZel" AUTO ", IdContribuinte Integer, Periodo Text(6), Tipo Text(1), "
                       "CredSaldoAnterior money, CredEntradas money, CredAtivoImob money, CredTransferencia money, "
                       "CredIcms_JR money, CredIcms_AR money, CredEstornoDeb money, CredOutros money, "
                       "DebSaidas money, DebTransfCredAc money, DebEstornoCred money, DebOutros money, "
                       "SubstEnt_JR money, SubstEnt_AR money, SubstSai_JR money, SubstSai_AR money, "
                       "DifAliquota money, ImpOutraUF money, OutrosRegEspec money, Tare money, PrevRicms money, "
                       "Dorq money, MirvelIcms money, MirvelSubSaida money, MirvelSubEntrada money, "
                       "MirvelRegFonte money, MirvelDifAliq money, ChqHabitacao money, ChqEducacao money, "
                       "DtGeracao Date, Entregue YesNo, NumRecibo Text(32), sitCadastroContrib Integer, "
                       "dataSitCadastro Date)"),
        QStringLiteral("CREATE TABLE DadosAnuais (IdDadosAnuais" AUTO ", IdContribuinte Integer, Ano Text(4), "
                       "Tipo Text(1), EstqTrib money, EstqNaoTrib money, EstqSubsTrib money, SldCaixa money, "
                       "SldBanco money, DespPessoal money, OutrosImpostos money, DespGeral money, DtGeracao Date, "
                       "TipoRegimeContrib Integer)"),
    };
    return t;
}

QString criaZelEpp()
{
    return QStringLiteral("CREATE TABLE ZEL_EPP (IdEpp" AUTO ", IdContribuinte Integer NOT NULL, Periodo Text(6), "
                          "Tipo Text(1), RecApurada money, MediaEntradas money, RecEfetiva money, Perc_Recolh Double, "
                          "Imp_Devido money, Num_Empreg Integer, CredEmpreg Double, TotalAquis money, "
                          "Aquis_Inter money, Cred_Aq_Inter Double, Perc_Cred_Pres Double, Cred_Presumido money, "
                          "Imp_Recolher money, Subs_EntJR money, Subs_EntAR money, ICMS_SubsSaida money, "
                          "ICMS_RetFonte money, Dif_Aliquota money)");
}

const QStringList& atualizaZelEpp()
{
    static const QStringList s = {
        QStringLiteral("Alter Table ZEL_EPP ADD Entregue Integer"),
        QStringLiteral("Alter Table ZEL_EPP ADD DtGeracao  date"),
        QStringLiteral("Alter Table ZEL_EPP ADD Cred_TEF_ECF  money"),
        QStringLiteral("Alter Table ZEL_EPP ADD Chq_Moradia  money"),
        QStringLiteral("Alter Table ZEL_EPP ADD Chq_Educacao  money"),
        QStringLiteral("Alter Table ZEL_EPP ADD Total_Cred_Outorgado  money"),
    };
    return s;
}

QString criaZelSN()
{
    return QStringLiteral("CREATE TABLE ZEL_SN (IdSN" AUTO ", IdContribuinte Integer NOT NULL, Periodo Text(6), "
                          "Tipo Text(1), Faturamento money, TotEntradas money, SubsSaidas money, SubsEntradas money, "
                          "DifAliquota money, ImpAntecipado money, DifAliqComplem money, PercRecolhimento Double, "
                          "ICMSRetidoFonte money, ICMSImportacao money, MirvelSN money, Recibo Integer, "
                          "DtGeracao Date, DtInclusao Date, DtAlteracao Date, ICMSSN money, categEstabel Integer)");
}

const QStringList& atualizaZelSN()
{
    static const QStringList s = {
        QStringLiteral("Alter Table ZEL_SN ADD ICMSSN money"),
        QStringLiteral("Alter Table ZEL_SN ADD categEstabel integer"),
        QStringLiteral("Alter Table ZEL_SN ALTER COLUMN Recibo Text(32)"),
        QStringLiteral("Alter Table ZEL_SN ADD sitCadastroContrib integer"),
        QStringLiteral("Alter Table ZEL_SN ADD dataSitCadastro Date"),
    };
    return s;
}

QString criaZelPrgGov()
{
    return QStringLiteral("CREATE TABLE ZEL_PRGGOV (idZelProgGoverno" AUTO ", idContribuinte Integer NOT NULL, "
                          "periodo Text(6), credAutorizado money, transfCredEntrada money, transfCredSaida money, "
                          "valorApropriado money, sldPeriodoAnterior money, sldRemanescente money, "
                          "tipoCheque Integer)");
}

QString atualizaEmailContribuinte()
{
    // The e-mail goes to the return file in 40 characters; the column holds as many, so nothing typed is cut.
    return QStringLiteral("Alter Table Contribuinte ALTER COLUMN Email Text(40)");
}

QString atualizaDadosAnuais()
{
    return QStringLiteral("Alter Table DadosAnuais ADD TipoRegimeContrib integer");
}

QString criaMunicipio()
{
    return QStringLiteral("CREATE Table municipio(codMunicipio Text(05) PRIMARY KEY, nomeMunicipio Text(60)) ");
}

const QStringList& atualizaVornQuadroV()
{
    static const QStringList s = {
        QStringLiteral("Alter Table VornQuadroV DROP COLUMN ano"),
        QStringLiteral("Alter Table VornQuadroV DROP COLUMN tipo"),
        QStringLiteral("Alter Table VornQuadroV ADD COLUMN dtAlteracao date"),
    };
    return s;
}

QString criaVornQuadroV()
{
    return QStringLiteral("CREATE TABLE VornQuadroV (IdQuadroV" AUTO ", IdContribuinte Integer NOT NULL, "
                          "PeriodoZel Date, CodMunicipio Text(5), Municipio Text(50), Valor money, DtGeracao Date, "
                          "dtAlteracao Date)");
}

const QStringList& atualizaZel()
{
    static const QStringList s = {
        QStringLiteral("Alter Table ZEL ALTER COLUMN NumRecibo Text(32)"),
        QStringLiteral("Alter Table ZEL ADD sitCadastroContrib integer"),
        QStringLiteral("Alter Table ZEL ADD dataSitCadastro Date"),
        QStringLiteral("Alter Table ZEL ADD ChqHabitacao money"),
        QStringLiteral("Alter Table ZEL ADD ChqEducacao money"),
        QStringLiteral("UPDATE ZEL SET Entregue = (-1)"),
    };
    return s;
}

const QStringList& indicesEGuardas()
{
    static const QStringList s = {
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNotaFiscalEmissao ON NotaFiscal (IdContribuinte, DtEmissao)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNotaFiscalEmtDest ON NotaFiscal (IdEmtDest)"),
        // The duplicate rule asks for one number of the taxpayer: by the counterparty alone it would read every
        // invoice of a large supplier or client for each note entered or imported.
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNotaFiscalNumero ON NotaFiscal (IdContribuinte, NumeroNF)"),
        // The lines are read by invoice for sums: indexes that hold the amounts answer without the table.
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNFICMSNotaValores ON NFICMS "
                       "(IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNFIPINotaValores ON NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNFSUBSTRIBNotaValores ON NFSUBSTRIB "
                       "(IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA)"),
        // The month's figures sum these documents by code, modality and situation: the indexes hold what the
        // sums read, so they never visit the tables themselves.
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNFTransporteEmissao ON NFTRANSPORTE "
                       "(IDContribuinte, DtEmissao, Cfop, Modalidade, Situacao, ValorTotal, BaseCalcIcms, ValorIcms)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNFCargaEmissao ON NFCARGA (IDContribuinte, DtEmissao)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNFCargaTransporte ON NFCARGA (IDNotaTransporte)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixNotaTalaoEmissao ON NOTATALAO "
                       "(IDContribuinte, DtEmissao, BaseICMS, ValorICMS)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixCupomFiscalEmissao ON CUPOMFISCAL (IDContribuinte, DtEmissao)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ixCFAliquotaCupom ON CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado)"),
        // A party that a document names, as its owner or as the other side, cannot be deleted.
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS trgContribuinteReferenciado BEFORE DELETE ON Contribuinte "
            "WHEN EXISTS (SELECT 1 FROM NotaFiscal WHERE IdContribuinte = OLD.IdContribuinte) "
            "OR EXISTS (SELECT 1 FROM NotaFiscal WHERE IdEmtDest = OLD.IdContribuinte) "
            "OR EXISTS (SELECT 1 FROM NFTRANSPORTE WHERE IDContribuinte = OLD.IdContribuinte "
            "OR IDEmitente = OLD.IdContribuinte) "
            "OR EXISTS (SELECT 1 FROM NFCARGA WHERE IDContribuinte = OLD.IdContribuinte "
            "OR IDTomador = OLD.IdContribuinte OR IDDestino = OLD.IdContribuinte) "
            "OR EXISTS (SELECT 1 FROM NOTATALAO WHERE IDContribuinte = OLD.IdContribuinte) "
            "OR EXISTS (SELECT 1 FROM CUPOMFISCAL WHERE IDContribuinte = OLD.IdContribuinte) "
            "BEGIN SELECT RAISE(ABORT, 'Contribuinte referenciado por documentos'); END"),
    };
    return s;
}

bool ehNossoBanco(sqlite3* db)
{
    return Sql::existeTabela(db, QStringLiteral("Contribuinte")) && Sql::existeTabela(db, QStringLiteral("NotaFiscal"));
}

static void carregaLista(sqlite3* db, const QString& recurso, const QString& tabela)
{
    QFile f(recurso);
    if (!f.open(QIODevice::ReadOnly))
        throw EBancoDados(QStringLiteral("Lista de códigos ausente: %1").arg(recurso));
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    in.readLine(); // header
    const QString sql = QStringLiteral("INSERT INTO %1 (CF_Codigo, CF_Descricao, CF_ST) VALUES (:c, :d, :s)").arg(tabela);
    while (!in.atEnd()) {
        const QStringList campos = in.readLine().split(QLatin1Char('\t'));
        if (campos.size() < 3)
            continue;
        TParametros p;
        p.set(QStringLiteral("c"), campos[0].trimmed());
        p.set(QStringLiteral("d"), campos[1].trimmed().left(255));
        p.set(QStringLiteral("s"), campos[2].trimmed().left(1));
        Sql::executa(db, sql, p);
    }
}

void carregaCfops(sqlite3* db)
{
    carregaLista(db, QStringLiteral(":/dados/cfop4.tsv"), QStringLiteral("CFOP"));
    carregaLista(db, QStringLiteral(":/dados/cfop3.tsv"), QStringLiteral("CFOP3"));
}

// A statement that may fail because what it makes is already there.
static void tenta(sqlite3* db, const QString& sql)
{
    try {
        Sql::executa(db, sql, TParametros());
    } catch (const EBancoDados&) {
    }
}

bool criaBancoEntregue(const QString& caminho)
{
    const QString novo = caminho + QStringLiteral(".novo");
    QFile::remove(novo);
    sqlite3* db = nullptr;
    bool ok = false;
    if (sqlite3_open_v2(QFile::encodeName(novo).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) == SQLITE_OK) {
        try {
            const TParametros nenhum;
            Sql::executa(db, QStringLiteral("BEGIN"), nenhum);
            for (const QString& sql : tabelasEntregues())
                Sql::executa(db, sql, nenhum);
            // The tables the program adds to older files, made the same way so that both end alike.
            Sql::executa(db, criaVornQuadroV(), nenhum);
            Sql::executa(db, criaZelEpp(), nenhum);
            for (const QString& sql : atualizaZelEpp())
                Sql::executa(db, sql, nenhum);
            Sql::executa(db, criaZelSN(), nenhum);
            for (const QString& sql : atualizaZelSN())
                tenta(db, sql);
            Sql::executa(db, criaZelPrgGov(), nenhum);
            Sql::executa(db, criaMunicipio(), nenhum);
            for (const QString& sql : indicesEGuardas())
                Sql::executa(db, sql, nenhum);
            carregaCfops(db);
            Sql::executa(db, QStringLiteral("COMMIT"), nenhum);
            ok = true;
        } catch (const EBancoDados&) {
            ok = false;
        }
    }
    sqlite3_close_v2(db);
    // Only a missing or empty file is replaced: whatever else stands there may be someone's data.
    const QFileInfo atual(caminho);
    if (ok && (!atual.exists() || atual.size() == 0))
        ok = Sistema::Substitui(novo, caminho) == 0;
    else
        ok = false;
    QFile::remove(novo);
    return ok;
}

} // namespace TEsquema
