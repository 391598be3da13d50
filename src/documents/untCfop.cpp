#include "documents/untCfop.h"

#include "core/untFuncoes.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>

#include "core/untProgresso.h"
#include "db/UntDTM.h"
#include "db/untSqlite.h"

QString VersaoCfop(const QDate& data)
{
    if (data < QDate(2003, 1, 1))
        return QStringLiteral("1");
    if (data < QDate(2004, 1, 1))
        return QStringLiteral("2");
    return QStringLiteral("3");
}

QString FiltroCfop(TelaCfop tela, bool entrada, const QString& versao)
{
    const bool tresDigitos = versao == QLatin1String("1");
    QString sql = tresDigitos ? QStringLiteral("select * from CFOP3") : QStringLiteral("select * from CFOP");
    sql += QStringLiteral(" WHERE (");

    switch (tela) {
    case TelaCfop::IncluirNota:
        // A new invoice takes only codes of its own direction, and never the transport and communication
        // services, which have documents of their own.
        if (entrada)
            sql += QStringLiteral("LEFT(CF_Codigo,1) <> '5' AND LEFT(CF_Codigo,1) <> '6' AND "
                                  "LEFT(CF_Codigo,1) <> '7' ");
        else
            sql += QStringLiteral("LEFT(CF_Codigo,1) <> '1' AND LEFT(CF_Codigo,1) <> '2' AND "
                                  "LEFT(CF_Codigo,1) <> '3' ");
        if (tresDigitos)
            sql += QStringLiteral(" AND RIGHT(CF_Codigo,2) <> '23' AND RIGHT(CF_Codigo,2) <> '33' AND "
                                  "RIGHT(CF_Codigo,2) <> '50' AND RIGHT(CF_Codigo,2) <> '60' AND "
                                  "RIGHT(CF_Codigo,2) <> '61' AND RIGHT(CF_Codigo,2) <> '62' AND "
                                  "RIGHT(CF_Codigo,2) <> '63' AND RIGHT(CF_Codigo,2) <> '64' AND "
                                  "RIGHT(CF_Codigo,2) <> '65' AND RIGHT(CF_Codigo,2) <> '33' )");
        else
            sql += QStringLiteral(" AND RIGHT(CF_Codigo,3) <> '350' AND RIGHT(CF_Codigo,3) <> '351' AND "
                                  "RIGHT(CF_Codigo,3) <> '352' AND RIGHT(CF_Codigo,3) <> '353' AND "
                                  "RIGHT(CF_Codigo,3) <> '354' AND RIGHT(CF_Codigo,3) <> '355' AND "
                                  "RIGHT(CF_Codigo,3) <> '356' AND RIGHT(CF_Codigo,3) <> '357' AND "
                                  "RIGHT(CF_Codigo,3) <> '358' AND RIGHT(CF_Codigo,3) <> '359' )");
        break;
    case TelaCfop::AlterarNota:
        // A stored invoice may carry any code of its direction, so the change screen does not hide any.
        if (entrada)
            sql += QStringLiteral("LEFT(CF_Codigo,1) = '1' OR LEFT(CF_Codigo,1) = '2' OR LEFT(CF_Codigo,1) = '3')");
        else
            sql += QStringLiteral("LEFT(CF_Codigo,1) = '5' OR LEFT(CF_Codigo,1) = '6' OR LEFT(CF_Codigo,1) = '7')");
        break;
    case TelaCfop::IncluirTransporte:
    case TelaCfop::AlterarTransporte:
        if (tresDigitos) {
            sql += QStringLiteral("LEFT(CF_Codigo,2) = '16' OR LEFT(CF_Codigo,2) = '26' "
                                  "OR LEFT(CF_Codigo,2) = '35' OR LEFT(CF_Codigo,2) = '56' "
                                  "OR LEFT(CF_Codigo,2) = '66' OR LEFT(CF_Codigo,2) = '76' )");
            break;
        }
        sql += QStringLiteral("LEFT(CF_Codigo,3) = '135' OR LEFT(CF_Codigo,3) = '235' OR RIGHT(CF_Codigo,3) = '206' ");
        if (tela == TelaCfop::IncluirTransporte)
            sql += QStringLiteral("OR LEFT(CF_Codigo,3) = '193' OR LEFT(CF_Codigo,3) = '293' "
                                  "OR LEFT(CF_Codigo,3) = '335' OR LEFT(CF_Codigo,3) = '535' "
                                  "OR LEFT(CF_Codigo,3) = '635' OR LEFT(CF_Codigo,3) = '735' "
                                  "OR LEFT(CF_Codigo,3) = '536' OR LEFT(CF_Codigo,3) = '636' "
                                  "OR LEFT(CF_Codigo,3) = '593' OR LEFT(CF_Codigo,3) = '693')");
        else
            sql += QStringLiteral("OR LEFT(CF_Codigo,3) = '335' OR LEFT(CF_Codigo,3) = '535' "
                                  "OR LEFT(CF_Codigo,3) = '635' OR LEFT(CF_Codigo,3) = '735' )");
        break;
    }
    return sql;
}

bool AbreListaCfop(TDataSet& lista, const QString& filtro, const QString& sufixo)
{
    try {
        lista.close();
        lista.setCommandText(filtro + sufixo);
        lista.open();
        return true;
    } catch (const EBancoDados&) {
        return false;
    }
}

QString BuscaCfop(TDataSet& lista, const QString& codigo, const QString& filtro)
{
    try {
        lista.close();
        lista.setCommandText(filtro + QStringLiteral(" AND CF_CODIGO =:CodCFOP ORDER BY CF_Codigo"));
        lista.setParam(QStringLiteral("CodCFOP"), codigo.trimmed());
        lista.open();
        return lista.isEmpty() ? QString() : lista.asString(QStringLiteral("CF_Codigo"));
    } catch (const EBancoDados&) {
        return {};
    }
}

const QStringList& CfopsDispensamCriticaUF()
{
    static const QStringList lista = QStringLiteral(
        "1904 2904 5414 5415 5451 5501 5502 5554 5901 5904 5905 5908 5910 5911 5912 5913 5914 5915 5917 5920 "
        "5923 5924 6414 6415 6501 6502 6554 6901 6904 6905 6908 6910 6911 6912 6913 6914 6915 6916 6917 6920 "
        "6923 6924 6925 195 295 597 697 581 586 686 587 687 593 693 596 696 599 699 1601 1602 1603 2603 5600 "
        "5601 5602 5603 6603 199 179 279 579 679").split(QLatin1Char(' '));
    return lista;
}

const QStringList& CfopsSemCreditoEntrada()
{
    static const QStringList lista = QStringLiteral(
        "143 144 243 244 152 153 154 155 252 253 254 255 172 272 173 273 174 274 191 192 291 292 391 197 198 "
        "297 298 397 1128 1253 1254 1255 1256 1257 1302 1303 1304 1305 1306 1403 1406 1407 1408 1409 1126 1451 "
        "1452 1500 1501 1503 1504 1550 1551 1552 1553 1554 1555 1556 1557 1901 1902 1601 1602 1603 2603 1903 "
        "1905 1906 1907 1908 1909 1911 1914 1915 1916 1920 1921 1922 1923 1924 1934 2128 2253 2254 2255 2256 "
        "2257 2302 2303 2304 2305 2306 2403 2406 2407 2501 2503 2504 2550 2551 2552 2553 2554 2555 2556 2557 "
        "2901 2902 2903 2905 2906 2907 2908 2909 2911 2914 2915 2916 2920 2921 2922 2923 2924 2934 2126 3128 "
        "3000 3127 3201 3202 3211 3500 3503 3550 3551 3553 3556").split(QLatin1Char(' '));
    return lista;
}

bool CfopDispensaCriticaUF(const QString& codigo)
{
    static const QSet<QString> codigos(CfopsDispensamCriticaUF().cbegin(), CfopsDispensamCriticaUF().cend());
    return codigos.contains(codigo);
}

bool CfopGeraCreditoEntrada(const QString& codigo)
{
    static const QSet<QString> codigos(CfopsSemCreditoEntrada().cbegin(), CfopsSemCreditoEntrada().cend());
    return !codigos.contains(codigo);
}

namespace {

bool codigoValido(const QString& codigo)
{
    if (codigo.size() != 4)
        return false;
    for (QChar c : codigo)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

TResultadoCfops AtualizaCfops(TDTM& dtm, const QString& arquivo, IProgresso& progresso, const TPassoCfops& passo)
{
    TResultadoCfops r;
    QFile f(arquivo);
    if (!f.exists() || !f.open(QIODevice::ReadOnly)) {
        r.situacao = TResultadoCfops::Situacao::ArquivoAusente;
        return r;
    }
    QStringList linhas = DecodificaArquivoTexto(f.readAll()).split(QLatin1Char('\n'));
    f.close();
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast(); // the newline that ends the last line does not begin another
    r.linhas = int(linhas.size());

    progresso.posicao(0);
    if (passo)
        passo(0, r.linhas);

    TDataSet existe(dtm.conexao(), QStringLiteral("ADODataSetNovosCfop"));
    TComando& comando = dtm.ADOCommand;
    // One transaction for the whole file: a statement per line, each committed alone, is what made
    // this update crawl.
    TTransacao transacao(dtm.conexao());
    int ultimoPercentual = 0;
    for (int i = 0; i < r.linhas; ++i) {
        QString linha = linhas[i];
        if (linha.endsWith(QLatin1Char('\r')))
            linha.chop(1);
        const QString codigo = linha.left(4);
        QString descricao = linha.mid(4, 230);
        while (!descricao.isEmpty() && descricao.back().isSpace())
            descricao.chop(1);

        if (!codigoValido(codigo)) {
            ++r.ignoradas;
        } else {
            try {
                existe.setCommandText(QStringLiteral("SELECT * FROM CFOP WHERE CF_Codigo =:OLD_Cod_Cfop"));
                existe.setParam(QStringLiteral("OLD_Cod_Cfop"), codigo);
                existe.open();
                const bool nova = existe.isEmpty();
                existe.close();
                if (nova) {
                    comando.setCommandText(QStringLiteral("insert into CFOP (CF_Codigo, CF_Descricao, CF_ST)  "
                                                          "values (:Cod_Cfop, :Descr, :ST)"));
                    comando.setParam(QStringLiteral("ST"), QStringLiteral("S"));
                } else {
                    comando.setCommandText(QStringLiteral("Update CFOP SET CF_Descricao =:Descr where CF_Codigo =:Cod_Cfop"));
                }
                comando.setParam(QStringLiteral("Cod_Cfop"), codigo);
                comando.setParam(QStringLiteral("Descr"), descricao);
                comando.execute();
                ++(nova ? r.incluidas : r.alteradas);
            } catch (const EBancoDados&) {
                ++r.ignoradas; // a line the database refuses does not stop the others
            }
        }

        const int percentual = int((i + 1) * 100LL / r.linhas);
        if (percentual != ultimoPercentual) {
            progresso.posicao(percentual);
            ultimoPercentual = percentual;
        }
        if (passo)
            passo(i + 1, r.linhas);
    }
    transacao.commit();
    return r;
}
