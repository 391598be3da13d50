#include "reports/untRelatorios.h"

#include <QHash>
#include <sqlite3.h>

#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untDadosAnuais.h"
#include "declarations/untZel.h"
#include "declarations/untZelEpp.h"
#include "declarations/untZelSN.h"
#include "documents/untClsCupomFiscal.h"
#include "documents/untClsNotaTransporte.h"
#include "documents/untConsultasNotas.h"

using namespace FormatoRelatorio;

namespace Relatorios {

namespace {

// One row of a dataset read by column name, without moving the screen's cursor.
class TLinha {
public:
    TLinha(const TDataSet& d, int linha) : m_d(d), m_linha(linha) {}
    QVariant v(const char* campo) const
    {
        const int c = m_d.fieldIndex(QString::fromLatin1(campo));
        if (c < 0)
            throw EBancoDados(QString::fromUtf8("Campo não encontrado: %1").arg(QString::fromLatin1(campo)));
        return m_d.value(m_linha, c);
    }
    QString s(const char* campo) const { return v(campo).toString().trimmed(); }
    Money m(const char* campo) const { return Money::fromRaw(v(campo).toLongLong()); }
    int i(const char* campo) const { return v(campo).toInt(); }
    QDate d(const char* campo) const { return v(campo).toDate(); }
    QString data(const char* campo) const { return Data(d(campo)); }
    QString dinheiro(const char* campo) const { return Dinheiro(m(campo)); }

private:
    const TDataSet& m_d;
    int m_linha;
};

// A lookup run once per detail line: prepared once, bound with the line's key.
class TBusca {
public:
    TBusca(sqlite3* db, const QString& sql) : m_db(db)
    {
        const QByteArray t = Sql::traduzJet(sql).toUtf8();
        if (sqlite3_prepare_v2(db, t.constData(), int(t.size()), &m_st, nullptr) != SQLITE_OK)
            throw EBancoDados(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    ~TBusca() { sqlite3_finalize(m_st); }
    TBusca(const TBusca&) = delete;
    TBusca& operator=(const TBusca&) = delete;

    // The first row of the key; empty when there is none.
    QHash<QString, QVariant> linha(qint64 chave)
    {
        QHash<QString, QVariant> r;
        sqlite3_reset(m_st);
        sqlite3_bind_int64(m_st, 1, chave);
        const int rc = sqlite3_step(m_st);
        if (rc == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(m_st); ++i)
                r.insert(QString::fromUtf8(sqlite3_column_name(m_st, i)).toLower(), Sql::valorColuna(m_st, i));
        } else if (rc != SQLITE_DONE) {
            throw EBancoDados(QString::fromUtf8(sqlite3_errmsg(m_db)));
        }
        return r;
    }
    // Every row of the key.
    QList<QHash<QString, QVariant>> linhas(qint64 chave)
    {
        QList<QHash<QString, QVariant>> r;
        sqlite3_reset(m_st);
        sqlite3_bind_int64(m_st, 1, chave);
        int rc;
        while ((rc = sqlite3_step(m_st)) == SQLITE_ROW) {
            QHash<QString, QVariant> l;
            for (int i = 0; i < sqlite3_column_count(m_st); ++i)
                l.insert(QString::fromUtf8(sqlite3_column_name(m_st, i)).toLower(), Sql::valorColuna(m_st, i));
            r << l;
        }
        if (rc != SQLITE_DONE)
            throw EBancoDados(QString::fromUtf8(sqlite3_errmsg(m_db)));
        return r;
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_st = nullptr;
};

Money dinheiroDe(const QHash<QString, QVariant>& l, const char* campo)
{
    return Money::fromRaw(l.value(QString::fromLatin1(campo).toLower()).toLongLong());
}
QString textoDe(const QHash<QString, QVariant>& l, const char* campo)
{
    return l.value(QString::fromLatin1(campo).toLower()).toString().trimmed();
}

TRelatorio novo(const char* nome, const char* titulo, const QDateTime& emissao)
{
    TRelatorio r;
    r.nome = QString::fromLatin1(nome);
    r.titulo = QString::fromUtf8(titulo);
    r.emissao = emissao;
    return r;
}

void colunas(TRelatorio& r, std::initializer_list<TColunaRelatorio> c)
{
    r.colunas = c;
}

TColunaRelatorio txt(const char* titulo, int largura) { return {QString::fromUtf8(titulo), largura, false}; }
TColunaRelatorio num(const char* titulo, int largura) { return {QString::fromUtf8(titulo), largura, true}; }

QString periodoDaTela(const TCabecalho& c)
{
    return QString::fromUtf8("Período: %1 / %2").arg(c.mes.trimmed(), c.ano.trimmed());
}

void doContribuinte(TRelatorio& r, TDTM& dtm, const TCabecalho& c, bool comPeriodo)
{
    r.contribuinte = LinhaContribuinte(dtm, c.idAtivo);
    if (comPeriodo)
        r.periodo = periodoDaTela(c);
}

// A counterparty looked up per line, kept once read.
class TPartes {
public:
    explicit TPartes(sqlite3* db) : m_busca(db, QStringLiteral("SELECT CNPJ, RazaoSocial, UF FROM Contribuinte WHERE IdContribuinte = ?")) {}
    const QHash<QString, QVariant>& operator()(qint64 id)
    {
        auto it = m_cache.find(id);
        if (it == m_cache.end())
            it = m_cache.insert(id, m_busca.linha(id));
        return *it;
    }

private:
    TBusca m_busca;
    QHash<qint64, QHash<QString, QVariant>> m_cache;
};


} // namespace

QString LinhaContribuinte(TDTM& dtm, int idAtivo)
{
    TDataSet q(dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT Ccicms, RazaoSocial FROM Contribuinte WHERE IdContribuinte =:Id"));
    q.setParam(QStringLiteral("Id"), idAtivo);
    q.open();
    if (q.isEmpty())
        return QStringLiteral("Contribuinte:");
    return QStringLiteral("Contribuinte: %1  %2")
        .arg(Inscricao(q.asString(QStringLiteral("Ccicms"))), q.asString(QStringLiteral("RazaoSocial")).trimmed());
}

TRelatorio Notas(TDTM& dtm, const TCabecalho& c, const TDataSet& lista, const QString& tipo)
{
    TRelatorio r = novo("TfrmrptNotas", "Relatório de Notas Fiscais", c.emissao);
    r.paisagem = true;
    r.subtitulos << (tipo == QLatin1String("E") ? QStringLiteral("ENTRADAS") : QStringLiteral("SAIDAS"));
    doContribuinte(r, dtm, c, true);
    colunas(r, {txt("NF", 7), txt("CfOp", 5), txt("Emissão", 10), txt("Modelo", 3), txt("Série", 4), txt("CNPJ", 18),
                txt("Razao Social", 22), txt("UF", 3), num("ValorTotalNota", 12), num("ValorTotalICMS", 11),
                num("BaseCalculoICMS", 12), num("IsentasICMS", 11), num("OutrasICMS", 11), txt("AlíquotaICMS", 7),
                num("IcmsRetido", 10), num("BaseCálculoST", 11), num("DespAcessóriasST", 10), num("IsentasIPI", 10),
                num("OutrasIPI", 10), num("ValorTotalIPI", 10), txt("Situacao", 3), txt("Tipo", 3)});
    sqlite3* db = dtm.conexao().db();
    TBusca icms(db, QStringLiteral("SELECT * FROM Nficms WHERE IDNotaFiscal =:IDNota"));
    TBusca subst(db, QStringLiteral("SELECT * FROM NfSubsTrib WHERE IDNotaFiscal =:IDNota"));
    TBusca ipi(db, QStringLiteral("SELECT * FROM Nfipi WHERE IDNotaFiscal =:IDNota"));
    TPartes partes(db);
    r.linhas.reserve(lista.recordCount());
    for (int i = 0; i < lista.recordCount(); ++i) {
        const TLinha l(lista, i);
        const qint64 id = l.v("IdNotaFiscal").toLongLong();
        const QString situacao = l.s("Situacao");
        // Extemporaneous notes are dated by their real date of issue, as in the return file.
        const QString emissao = situacao == QLatin1String("E") || situacao == QLatin1String("X") ? l.data("DtUltAlteracao")
                                                                                                : l.data("DtEmissao");
        const auto& p = partes(l.v("IdEmtDest").toLongLong());
        const auto a = icms.linha(id);
        const auto b = subst.linha(id);
        const auto d = ipi.linha(id);
        r.detalhe({l.s("NumeroNF"), l.s("Cfop"), emissao, l.s("Modelo"), l.s("Serie"), CnpjCpf(textoDe(p, "CNPJ")),
                   textoDe(p, "RazaoSocial"), textoDe(p, "UF"), l.dinheiro("ValorTotalNota"),
                   Dinheiro(dinheiroDe(a, "ValorICMS")), Dinheiro(dinheiroDe(a, "BaseCalculoICMS")),
                   Dinheiro(dinheiroDe(a, "IsentaICMS")), Dinheiro(dinheiroDe(a, "OutrasICMS")),
                   Aliquota(textoDe(a, "AliquotaICMS")), Dinheiro(dinheiroDe(b, "ICMSRetido")),
                   Dinheiro(dinheiroDe(b, "BaseCalculoSubst")), Dinheiro(dinheiroDe(b, "DespAcessorias")),
                   Dinheiro(dinheiroDe(d, "IsentaIPI")), Dinheiro(dinheiroDe(d, "OutrasIPI")),
                   Dinheiro(dinheiroDe(d, "ValorIPI")), situacao, l.s("TipoNota")});
    }
    const ConsultasNotas::TResumo s =
        ConsultasNotas::Resumo(dtm.conexao(), c.idAtivo, tipo, ConsultasNotas::periodo(c.mes, c.ano));
    r.textoResumo(QStringLiteral("Total de Notas cadastradas:  %1").arg(lista.recordCount()));
    QStringList totais(r.colunas.size());
    totais[0] = QStringLiteral("TOTAIS GERAIS:");
    totais[8] = Total(s.valorTotal);
    totais[9] = Total(s.valorIcms);
    totais[10] = Total(s.baseIcms);
    totais[11] = Total(s.isentaIcms);
    totais[12] = Total(s.outrasIcms);
    totais[14] = Total(s.icmsRetido);
    totais[15] = Total(s.baseSubst);
    totais[16] = Total(s.despAcessorias);
    totais[17] = Total(s.isentaIpi);
    totais[18] = Total(s.outrasIpi);
    totais[19] = Total(s.valorIpi);
    r.totalResumo(totais);
    return r;
}

TRelatorio NotasTalao(TDTM& dtm, const TCabecalho& c, const TDataSet& lista)
{
    TRelatorio r = novo("TfrmRptNotasTalao", "Relatório de Saídas por Talão", c.emissao);
    doContribuinte(r, dtm, c, true);
    colunas(r, {txt("Data Emissão", 10), txt("Modelo", 4), txt("Série", 4), txt("Subserie", 4), num("Inicial", 7),
                num("Final", 7), num("ValorTotal", 12), num("BaseICMS", 12), num("ValorICMS", 11), num("Isenta", 11),
                num("Outras", 11), txt("Alíquota", 7)});
    Money total, base, icms, isenta, outras;
    for (int i = 0; i < lista.recordCount(); ++i) {
        const TLinha l(lista, i);
        total += l.m("ValorTotal");
        base += l.m("BaseICMS");
        icms += l.m("ValorICMS");
        isenta += l.m("Isenta");
        outras += l.m("Outras");
        r.detalhe({l.data("DtEmissao"), l.s("Modelo"), l.s("Serie"), l.s("SubSerie"), l.s("NumeroInicial"),
                   l.s("NumeroFinal"), l.dinheiro("ValorTotal"), l.dinheiro("BaseICMS"), l.dinheiro("ValorICMS"),
                   l.dinheiro("Isenta"), l.dinheiro("Outras"), Aliquota(l.s("Aliquota"))});
    }
    r.textoResumo(QString::fromUtf8("Total de Saídas por Talão:  %1").arg(lista.recordCount()));
    r.totalResumo({QString(), QString(), QString(), QString(), QString(), QString(), Total(total), Total(base),
                   Total(icms), Total(isenta), Total(outras), QString()});
    return r;
}

TRelatorio NotasTransporte(TDTM& dtm, const TCabecalho& c, const TDataSet& lista, const QString& modalidade)
{
    TRelatorio r = novo("TfrmRptNFTransp", "Relatório de Notas Fiscais de Transporte", c.emissao);
    r.subtitulos << QStringLiteral("MODALIDADE: %1").arg(modalidade == QLatin1String("2") ? QStringLiteral("FOB")
                                                                                          : QStringLiteral("CIF"));
    doContribuinte(r, dtm, c, true);
    colunas(r, {txt("NF", 7), txt("CfOp", 5), txt("Emissão", 10), txt("Modelo", 3), txt("Série", 3), txt("SubSerie", 3),
                txt("CNPJ", 18), txt("UF", 3), num("Valor Total", 12), num("ValorTotalICMS", 12),
                num("BaseCalculoICMS", 12), num("Isentas", 11), num("Outras", 11), txt("Situação", 3),
                txt("Modalidade", 4)});
    TPartes partes(dtm.conexao().db());
    for (int i = 0; i < lista.recordCount(); ++i) {
        const TLinha l(lista, i);
        const auto& p = partes(l.v("IDEmitente").toLongLong());
        r.detalhe({l.s("Numero"), l.s("Cfop"), l.data("DtEmissao"), l.s("Modelo"), l.s("Serie"), l.s("SubSerie"),
                   CnpjCpf(textoDe(p, "CNPJ")), textoDe(p, "UF"), l.dinheiro("ValorTotal"), l.dinheiro("ValorIcms"),
                   l.dinheiro("BaseCalcIcms"), l.dinheiro("Isenta"), l.dinheiro("Outras"), l.s("Situacao"),
                   l.s("Modalidade")});
    }
    r.textoResumo(QStringLiteral("Total Geral de Notas: %1").arg(lista.recordCount()));
    // The sums are the screen's summary: cancelled, denied and voided documents are listed but not summed.
    const ConsultasTransporte::TResumo s =
        ConsultasTransporte::Resumo(dtm.conexao(), c.idAtivo, modalidade, ConsultasNotas::periodo(c.mes, c.ano));
    QStringList totais(r.colunas.size());
    totais[8] = Total(s.valorTotal);
    totais[9] = Total(s.valorIcms);
    totais[10] = Total(s.baseIcms);
    totais[11] = Total(s.isenta);
    totais[12] = Total(s.outras);
    r.totalResumo(totais);
    return r;
}

TRelatorio Ecf(TDTM& dtm, const TCabecalho& c, const TDataSet& lista)
{
    TRelatorio r = novo("TfrmrptECF", "RELATÓRIO DE ECF", c.emissao);
    doContribuinte(r, dtm, c, true);
    // Two lines per summary: the equipment, its counters and grand totals, then the totalizers; the second
    // line opens with an untitled column where the summary's "Totais Gerais" stand.
    TColunaRelatorio rotulo = txt("", 8);
    rotulo.novaLinha = true;
    colunas(r, {txt("Data Emissão", 10), txt("NE", 3), txt("Número de Série", 20), txt("Modelo", 2),
                num("COO Inicial", 6), num("COO Final", 6), num("CRZ", 6), num("GT Inicial", 13), num("GT Final", 13),
                num("Venda Bruta", 13), rotulo, num("I.S.S.", 13), num("Cancelam.", 13), num("Descontos", 13),
                num("Subst.Trib.", 13), num("Isenção", 13), num("Não Incidência", 13)});
    // The rate lines of a summary in the order they were entered.
    TBusca aliquotas(dtm.conexao().db(),
                     QStringLiteral("SELECT * FROM CFALIQUOTA WHERE IdCupomFiscal =:IdCupom ORDER BY IDCFAliquota"));
    Money venda, iss, canc, desc, f, isen, n;
    for (int i = 0; i < lista.recordCount(); ++i) {
        const TLinha l(lista, i);
        venda += l.m("VendaBruta");
        iss += l.m("T_ISS");
        canc += l.m("T_CANC");
        desc += l.m("T_DESC");
        f += l.m("T_F");
        isen += l.m("T_I");
        n += l.m("T_N");
        r.detalhe({l.data("DtEmissao"), l.s("NumEquip"), l.s("NumSerie"), l.s("Modelo"), l.s("COOInicial"),
                   l.s("COOFinal"), l.s("CRZ"), l.dinheiro("GTInicioDia"), l.dinheiro("GTFimDia"),
                   l.dinheiro("VendaBruta"), QString(), l.dinheiro("T_ISS"), l.dinheiro("T_CANC"), l.dinheiro("T_DESC"),
                   l.dinheiro("T_F"), l.dinheiro("T_I"), l.dinheiro("T_N")});
        for (const auto& a : aliquotas.linhas(l.v("IDCupomFiscal").toLongLong())) {
            const QString taxa = textoDe(a, "Aliquota");
            const Money base = dinheiroDe(a, "ValorAcumulado");
            r.sub({QStringLiteral("Tributados"), Aliquota(taxa), QStringLiteral("BC: ") + Dinheiro(base),
                   Dinheiro(ImpostoDaAliquota(base, taxa))});
        }
    }
    Money tributados;
    for (const ConsultasCupom::TIcmsAliquota& a :
         ConsultasCupom::IcmsPorAliquota(dtm.conexao(), c.idAtivo, ConsultasNotas::periodo(c.mes, c.ano)))
        tributados += a.valorIcms;
    // The count, the tax of the rates and the gross sales under its column; below them the totalizers.
    QStringList primeira(r.colunas.size());
    primeira[0] = QStringLiteral("Quant. Itens : %1").arg(lista.recordCount());
    primeira[3] = QStringLiteral("Total Tributados  ...%1").arg(Total(tributados));
    primeira[9] = Total(venda);
    r.totalResumo(primeira);
    QStringList segunda(r.colunas.size());
    segunda[10] = QStringLiteral("Totais Gerais");
    segunda[11] = Total(iss);
    segunda[12] = Total(canc);
    segunda[13] = Total(desc);
    segunda[14] = Total(f);
    segunda[15] = Total(isen);
    segunda[16] = Total(n);
    r.totalResumo(segunda);
    return r;
}

TRelatorio Contadores(const TDataSet& lista, const QDateTime& emissao)
{
    TRelatorio r = novo("TfrmRptContadores", "Relação de Contadores Cadastrados", emissao);
    r.subtitulos << QStringLiteral("Ordenados por Nome");
    colunas(r, {txt("Nome", 30), txt("C P F", 18), txt("C R C", 11), txt("Fone", 13), txt("E-mail", 26)});
    for (int i = 0; i < lista.recordCount(); ++i) {
        const TLinha l(lista, i);
        r.detalhe({l.s("Nome"), CnpjCpf(l.s("CPF")), l.s("CRC"), l.s("Fone"), l.s("EMail")});
    }
    r.textoResumo(QStringLiteral("Total de Contadores cadastrados:  %1").arg(lista.recordCount()));
    return r;
}

TRelatorio Contribuintes(TDTM& dtm, const TDataSet& lista, const QDateTime& emissao)
{
    TRelatorio r = novo("TfrmRptContribuintes", "Relação de Contribuintes Cadastrados", emissao);
    r.subtitulos << QString::fromUtf8("Ordenados por Razão Social");
    colunas(r, {txt("Insc.Est.", 14), txt("CNPJ", 19), txt("Razão Social", 35), txt("Contador", 30)});
    TBusca contador(dtm.conexao().db(), QStringLiteral("SELECT Nome FROM Contador WHERE IDContador = ?"));
    for (int i = 0; i < lista.recordCount(); ++i) {
        const TLinha l(lista, i);
        const QVariant id = l.v("IdContador");
        const QString nome = id.isNull() ? QString() : textoDe(contador.linha(id.toLongLong()), "Nome");
        r.detalhe({l.s("Ccicms"), CnpjCpf(l.s("CNPJ")), l.s("RazaoSocial"), nome});
    }
    r.textoResumo(QStringLiteral("Total de Contribuintes cadastrados: %1").arg(lista.recordCount()));
    return r;
}

TRelatorio Fornecedores(const TDataSet& lista, const QDateTime& emissao)
{
    TRelatorio r = novo("TfrmRptFornecedor", "Lista de Códigos de Emitentes", emissao);
    colunas(r, {txt("Insc. Estadual", 15), txt("CNPJ", 19), txt("Razão Social", 40), txt("UF", 3)});
    for (int i = 0; i < lista.recordCount(); ++i) {
        const TLinha l(lista, i);
        r.detalhe({l.s("Ccicms"), CnpjCpf(l.s("CNPJ")), l.s("RazaoSocial"), l.s("UF")});
    }
    r.textoResumo(QStringLiteral("Total de Empresas : %1").arg(lista.recordCount()));
    return r;
}

static TRelatorio tabelaDeCodigos(TDTM& dtm, const QString& sql, const char* nome, const char* titulo, const char* codigo,
                                  const char* descricao, const char* resumo, const QDateTime& emissao)
{
    TRelatorio r = novo(nome, titulo, emissao);
    colunas(r, {txt("CÓDIGO", 8), txt("DESCRIÇÃO", 90)});
    TDataSet q(dtm.conexao());
    q.setCommandText(sql);
    q.open();
    for (int i = 0; i < q.recordCount(); ++i) {
        const TLinha l(q, i);
        r.detalhe({l.s(codigo), l.s(descricao)});
    }
    r.textoResumo(QString::fromUtf8(resumo) + QString::number(q.recordCount()));
    return r;
}

TRelatorio Cfop(TDTM& dtm, int digitos, const QDateTime& emissao)
{
    return tabelaDeCodigos(dtm,
                           digitos == 3 ? QStringLiteral("select * from CFOP3 Order by CF_Codigo")
                                        : QStringLiteral("select * from CFOP Order by CF_Codigo"),
                           "TfrmRelCFOP", "Códigos Fiscais de Operações e Prestações", "CF_Codigo", "CF_Descricao",
                           "Total de Códigos Fiscais cadastrados: ", emissao);
}

TRelatorio Municipios(TDTM& dtm, const QDateTime& emissao)
{
    return tabelaDeCodigos(dtm, QStringLiteral("select * from Municipio Order by nomeMunicipio"), "TfrmRelMunicipio",
                           "Relação dos municípios", "codMunicipio", "nomeMunicipio", "Total de municípios cadastrados: ",
                           emissao);
}

TRelatorio QuadroV(TDTM& dtm, const TCabecalho& c, const TDataSet& lista)
{
    TRelatorio r = novo("TfrmrptQuadroV", "Relação de municípios para o Quadro V", c.emissao);
    doContribuinte(r, dtm, c, false);
    colunas(r, {txt("Período", 8), txt("Código", 7), txt("Município", 35), num("Valor", 15), txt("Geração", 11),
                txt("Alteração", 11)});
    Money soma;
    for (int i = 0; i < lista.recordCount(); ++i) {
        const TLinha l(lista, i);
        const QDate periodo = l.d("PeriodoZel");
        soma += l.m("Valor");
        r.detalhe({periodo.isValid() ? periodo.toString(QStringLiteral("MM/yyyy")) : QString(), l.s("CodMunicipio"),
                   l.s("Municipio"), l.dinheiro("Valor"), Data(l.v("DtGeracao").toDateTime().date()),
                   Data(l.v("dtAlteracao").toDateTime().date())});
    }
    r.textoResumo(QString::fromUtf8("Quantidade de municípios: %1").arg(lista.recordCount()));
    r.totalResumo({QString(), QString(), QString(), Total(soma), QString(), QString()});
    return r;
}

TRelatorio DadosAnuais(TDTM& dtm, const TCabecalho& c, const TDadosAnuais& d)
{
    TRelatorio r = novo("TfrmrptAnuais", "Relatório de Dados Anuais", c.emissao);
    doContribuinte(r, dtm, c, false);
    const TValoresAnuais& v = d.valores;
    r.campo(QString::fromUtf8("Ano de referência:"), d.Ano);
    r.campo(QStringLiteral("Tipo de ZEL:"), TipoDeclaracao(d.Tipo));
    r.secao(QStringLiteral("ESTOQUE FINAL INVENTARIADO"));
    r.campo(QString::fromUtf8("Valor Tributável......:"), Total(v.EstqTrib));
    r.campo(QString::fromUtf8("Valor Não Tributável..:"), Total(v.EstqNaoTrib));
    r.campo(QStringLiteral("Estoque de Subst.Trib.:"), Total(v.EstqSubsTrib));
    r.campo(QStringLiteral("ESTOQUE TOTAL.........:"), Total(v.estoqueTotal()));
    r.secao(QStringLiteral("SALDO FINAL EM CAIXA E BANCOS"));
    r.campo(QStringLiteral("Valor em Caixa......:"), Total(v.SldCaixa));
    r.campo(QStringLiteral("Valor em Bancos.....:"), Total(v.SldBanco));
    r.campo(QStringLiteral("SALDO TOTAL.........:"), Total(v.saldoTotal()));
    r.campo(QString::fromUtf8("Despesas com Pessoal, serviços de terceiros e pró-labore......:"), Total(v.DespPessoal));
    r.campo(QStringLiteral("Outros Impostos e encargos....................................:"), Total(v.OutrosImpostos));
    r.campo(QStringLiteral("Despesas gerais...............................................:"), Total(v.DespGeral));
    return r;
}

static TRelatorio declaracao(TDTM& dtm, const TCabecalho& c, const QString& periodo, const QString& tipo,
                             const char* regime)
{
    TRelatorio r = novo(regime ? (QByteArray(regime) == "EPP" ? "TrptZELEPP" : "TrptZELInformacoesSN") : "TrptZEL",
                        "Zel do ICMS", c.emissao);
    r.declaracao = true;
    if (regime)
        r.subtitulos << QStringLiteral("Regime: %1").arg(QString::fromUtf8(regime));
    r.contribuinte = LinhaContribuinte(dtm, c.idAtivo);
    r.periodo = QString::fromUtf8("Período: %1").arg(Periodo(periodo));
    r.campo(QStringLiteral("Tipo de ZEL:"), TipoDeclaracao(tipo));
    return r;
}

TRelatorio Zel(TDTM& dtm, const TCabecalho& c, const TZel& z)
{
    TRelatorio r = declaracao(dtm, c, z.Periodo, z.Tipo, nullptr);
    const TApuracaoNormal a = TApuracaoNormal::DaLinha(z.valores);
    auto campo = [&r](const char* rotulo, Money m) { r.campo(QString::fromUtf8(rotulo), Total(m)); };
    r.secao(QString::fromUtf8("[   CRÉDITO DE ICMS   ]"));
    campo("1- Por entradas", a.c1);
    campo("2- Ativo Imobilizado", a.c2);
    campo("3- Cred. Acum. rec. p/ transf.", a.c3);
    campo("4- ICMS antecipado a recolher", a.c4);
    campo("5- ICMS antecipado recolhido", a.c5);
    campo("6- Outros créditos", a.c6);
    campo("7- Estorno de Débito", a.c7);
    campo("   Créditos presumidos (regimes especiais)", a.credPresumido());
    campo("   Créditos de programas de governo", a.credProgramas());
    campo("8- Crédito do Período", a.c8());
    campo("9- Saldo Credor Anterior", a.c9);
    campo("10- Total do Crédito", a.c10());
    r.secao(QString::fromUtf8("[   DÉBITO DE ICMS   ]"));
    campo("11- Por saídas", a.d11());
    campo("12- Transf. créditos acumulados", a.d12);
    campo("13- Outros débitos", a.d13);
    campo("14- Estorno de créditos", a.d14);
    campo("15- Total do Débito", a.d15());
    r.secao(QString::fromUtf8("[ APURAÇÃO DO ICMS NO PERÍODO ]"));
    campo("16- Saldo Credor Período", a.s16());
    campo("17- Imposto a Recolher", a.s17());
    r.secao(QString::fromUtf8("[ APURAÇÃO DA SUBSTITUIÇÃO TRIBUTÁRIA NO PERÍODO ]"));
    campo("01- Entradas", a.s01);
    campo("02- Subst. recolhida", a.s02);
    campo("03- Subst. a recolher", a.s03());
    campo("04- ICMS Subst. Saídas Internas", a.s04());
    campo("05- ICMS Subst. Regime Fonte", a.s05());
    campo("06- Total Subst. Internas", a.s06());
    r.secao(QString::fromUtf8("[ OUTRAS INFORMAÇÕES ]"));
    campo("18- MIRVEL-ZR - ICMS Normal", a.m18);
    campo("19- Diferença de alíquota a recolher", a.d19);
    campo("20- MIRVEL-ZR - Dif.Alíquota", a.m20);
    campo("21- ICMS retido por outras UF", a.d21);
    campo("MIRVEL-ZR Subst. - 07- Entradas", a.m07);
    campo("MIRVEL-ZR Subst. - 09- Saídas Internas", a.m09);
    campo("MIRVEL-ZR Subst. - 10- Regime Fonte", a.m10);
    return r;
}

TRelatorio ZelEpp(TDTM& dtm, const TCabecalho& c, const TZelEPP& z)
{
    TRelatorio r = declaracao(dtm, c, z.Periodo, z.Tipo, "EPP");
    const TApuracaoEPP& a = z.apuracao;
    auto campo = [&r](const QString& rotulo, const QString& valor) { r.campo(rotulo, valor); };
    auto valor = [&campo](const char* rotulo, Money m) { campo(QString::fromUtf8(rotulo), Total(m)); };
    const int perc = a.percRecolhCentesimos();
    r.secao(QString::fromUtf8("[   APURAÇÃO DO ICMS   ]"));
    valor("Receita Bruta Apurada", a.recApurada);
    valor("Média das Entradas", a.mediaEntradas);
    valor("Receita Efetiva", a.recEfetiva());
    campo(QString::fromUtf8("Percentual de Recolhimento"),
          QStringLiteral("%1,%2%").arg(perc / 100).arg(perc % 100, 2, 10, QLatin1Char('0')));
    valor("Imposto Devido", a.impDevido());
    if (a.mp3706) {
        valor("Crédito TEF/ECF", a.credTEF);
        valor("Cheque Moradia", a.chqMoradia);
        valor("Cheque Educação", a.chqEducacao);
        valor("Total do Crédito Outorgado", a.totalCredOutorgado());
    } else {
        campo(QString::fromUtf8("Número de Empregados"), QString::number(a.numEmpreg));
        campo(QString::fromUtf8("Crédito por Empregados (%)"), QString::number(a.credEmpreg()));
        valor("Total das Aquisições", a.totalAquis);
        valor("Aquisições Internas", a.aquisInter);
        campo(QString::fromUtf8("Crédito por Aquisições Internas (%)"), QString::number(a.credAqInter()));
        campo(QString::fromUtf8("Percentual do Crédito Presumido (%)"), QString::number(a.percCredPres()));
        valor("Crédito Presumido", a.credPresumido());
    }
    valor("Imposto a Recolher", a.impRecolher());
    r.secao(QString::fromUtf8("[ SUBSTITUIÇÃO TRIBUTÁRIA ]"));
    valor("01- Diferença de Alíquota", a.difAliquota);
    valor("02- Substituição nas Entradas", a.s02);
    valor("03- Substituição Recolhida", a.s03);
    valor("04- Substituição a Recolher", a.s04());
    valor("05- Substituição nas Saídas", a.substSaidas);
    valor("06- Retido na Fonte", a.regFonte);
    valor("07- Total", a.s07());
    return r;
}

TRelatorio ZelSN(TDTM& dtm, const TCabecalho& c, const TZelSN& z)
{
    TRelatorio r = declaracao(dtm, c, z.Periodo, z.Tipo, "Simples Nacional");
    const TInformacoesSN& s = z.info;
    auto valor = [&r](const char* rotulo, Money m) { r.campo(QString::fromUtf8(rotulo), Total(m)); };
    static const char* const categorias[] = {"", "1 - Matriz ou estabelecimento único", "2 - Filial",
                                             "3 - Matriz sem movimento"};
    r.secao(QString::fromUtf8("[ INFORMAÇÕES DO SIMPLES NACIONAL ]"));
    valor("Faturamento", s.faturamento);
    r.campo(QString::fromUtf8("Alíquota do ICMS (%)"), s.aliquota);
    valor("ICMS do Simples Nacional", s.icmssn);
    valor("Total das Entradas", s.totEntradas);
    valor("Substituição nas Saídas", s.subsSaidas);
    valor("Substituição nas Entradas", s.subsEntradas);
    valor("ICMS Retido na Fonte", s.retidoFonte);
    valor("Imposto Antecipado", s.antecipado);
    valor("Diferença de Alíquota", s.difAliquota);
    valor("Diferença de Alíquota Complementar", s.difAliqComplem);
    valor("ICMS Importação", s.importacao);
    valor("MIRVEL-ZR", s.mirvel);
    r.campo(QString::fromUtf8("Categoria do Estabelecimento"),
            QString::fromUtf8(categorias[s.categoria >= 1 && s.categoria <= 3 ? s.categoria : 0]));
    if (!z.NumRecibo.isEmpty())
        r.campo(QString::fromUtf8("Recibo da entrega anterior"), z.NumRecibo);
    return r;
}

QString TextoSituacaoNFe(const TResultadoNFe& r)
{
    // A file that holds nothing the register books is no refusal, though nothing of it went in.
    if (r.ignorado)
        return QStringLiteral("Ignorado");
    switch (r.situacao) {
    case TResultadoNFe::Situacao::Importado: return QStringLiteral("Importado");
    case TResultadoNFe::Situacao::Duplicado: return QString::fromUtf8("Já cadastrado");
    case TResultadoNFe::Situacao::Recusado: return QStringLiteral("Recusado");
    }
    return {};
}

TRelatorio ResultadoImportacaoNFe(const QList<TResultadoNFe>& resultados, const QDateTime& emissao)
{
    TRelatorio r = novo("TfrmResultadoNFe", "Importação de NF-e", emissao);
    colunas(r, {txt("Arquivo", 40), txt("Situação", 14), txt("Detalhe", 60)});
    int importados = 0, duplicados = 0, recusados = 0, ignorados = 0;
    for (const TResultadoNFe& x : resultados) {
        r.detalhe({x.arquivo, TextoSituacaoNFe(x), x.situacao == TResultadoNFe::Situacao::Importado ? x.descricao : x.motivo});
        (x.ignorado                                           ? ignorados
         : x.situacao == TResultadoNFe::Situacao::Importado ? importados
         : x.situacao == TResultadoNFe::Situacao::Duplicado ? duplicados
                                                            : recusados) += 1;
    }
    QString resumo = QString::fromUtf8("Importados: %1   Já cadastrados: %2   Recusados: %3")
                         .arg(importados).arg(duplicados).arg(recusados);
    if (ignorados > 0)
        resumo += QStringLiteral("   Ignorados: %1").arg(ignorados);
    r.textoResumo(resumo);
    return r;
}

} // namespace Relatorios
