#include "declarations/untQuadroV.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include "core/untDatas.h"
#include "core/untFuncoes.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untDadosAnuais.h"

void AbreListaQuadroV(TDataSet& lista, int idAtivo, const QString& mes, const QString& ano)
{
    QString sql = QStringLiteral("SELECT * FROM VORNQUADROV WHERE IdContribuinte =:IdContribuinte");
    const QString m = mes.trimmed();
    const QString a = ano.trimmed();
    const bool porMes = !m.isEmpty() && m != QLatin1String("**");
    if (porMes)
        sql += QStringLiteral(" AND MONTH(PeriodoZel) =:Mes");
    if (!a.isEmpty())
        sql += QStringLiteral(" AND YEAR(PeriodoZel) =:Ano ");
    // By the code's number: "123", "04405" and "4405" are codes 123 and 4405, in that order.
    sql += QStringLiteral(" ORDER BY CAST(codMunicipio AS INTEGER), codMunicipio");
    lista.setCommandText(sql);
    lista.setParam(QStringLiteral("IdContribuinte"), idAtivo);
    // As numbers: the engine never finds an integer equal to a text.
    if (porMes)
        lista.setParam(QStringLiteral("Mes"), m.toInt());
    if (!a.isEmpty())
        lista.setParam(QStringLiteral("Ano"), a.toInt());
    lista.open();
}

void CarregaQuadroV(const TDataSet& lista, TQuadroV& q)
{
    q = TQuadroV();
    if (!lista.active() || lista.isEmpty() || lista.recNo() < 0)
        return;
    q.IdQuadroV = lista.asInteger(QStringLiteral("IdQuadroV"));
    q.IdContribuinte = lista.asInteger(QStringLiteral("IdContribuinte"));
    const QDate d = lista.fieldByName(QStringLiteral("PeriodoZel")).toDate();
    q.PeriodoZel = d.isValid() ? QDate(d.year(), d.month(), 1) : QDate();
    q.CodMunicipio = lista.asString(QStringLiteral("CodMunicipio")).trimmed();
    q.Municipio = lista.asString(QStringLiteral("Municipio")).trimmed();
    q.Valor = lista.asMoney(QStringLiteral("Valor"));
    q.DtGeracao = lista.fieldByName(QStringLiteral("DtGeracao")).toDateTime();
    q.dtAlteracao = lista.fieldByName(QStringLiteral("dtAlteracao")).toDateTime();
}

TFalha ChecaQuadroV(const TQuadroV& q, const QDate& hoje)
{
    if (!q.PeriodoZel.isValid())
        return {QString::fromUtf8("Informe o período."), QStringLiteral("edtPeriodo")};
    const QDate inicio(q.PeriodoZel.year(), q.PeriodoZel.month(), 1);
    if (inicio < QDate(2009, 12, 1) || inicio > QDate(hoje.year(), hoje.month(), 1))
        return {QString::fromUtf8("Período inválido"), QStringLiteral("edtPeriodo")};
    if (q.CodMunicipio.trimmed().isEmpty())
        return {QString::fromUtf8("Informe o município."), QStringLiteral("RxDBMunicipio")};
    if (q.Valor.isNegative())
        return {QString::fromUtf8("O valor não pode ser negativo."), QStringLiteral("edtValor")};
    if (q.Valor.raw() > kMaiorValorTrezeDigitos)
        return {QString::fromUtf8("O valor é maior que o arquivo da declaração comporta."), QStringLiteral("edtValor")};
    return {};
}

static void ligaPeriodo(TDataSet& q, const QDate& periodo)
{
    q.setParam(QStringLiteral("Inicio"), Datas::inicioDoMes(periodo.month(), periodo.year()));
    q.setParam(QStringLiteral("Fim"), Datas::inicioDoMesSeguinte(periodo.month(), periodo.year()));
}

bool TQuadrosV::Duplicado(const TQuadroV& q, int excetoId)
{
    // The month as a range of the stored date: a row stored with a time of day is the same month.
    TDataSet d(m_dtm.conexao());
    d.setCommandText(QStringLiteral("SELECT IdQuadroV FROM VORNQUADROV WHERE idContribuinte =:pIdContribuinte "
                                    "AND periodoZel >= :Inicio AND periodoZel < :Fim AND CAST(codMunicipio AS INTEGER) = :pCodMunicipio "
                                    "AND IdQuadroV <> :Exceto"));
    d.setParam(QStringLiteral("pIdContribuinte"), q.IdContribuinte);
    ligaPeriodo(d, q.PeriodoZel);
    d.setParam(QStringLiteral("pCodMunicipio"), q.CodMunicipio.trimmed().toLongLong());
    d.setParam(QStringLiteral("Exceto"), excetoId);
    d.open();
    return !d.isEmpty();
}

bool TQuadrosV::Incluir(TQuadroV& q, QString* erro)
{
    try {
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral("insert into VornQuadroV (IdContribuinte, PeriodoZel, CodMunicipio, Municipio, "
                                          "Valor, DtGeracao) values (:pIdContribuinte, :pPeriodoZel, :pCodMunicipio, "
                                          ":pMunicipio, :pValor, :pDtGeracao)"));
        cmd.setParam(QStringLiteral("pIdContribuinte"), q.IdContribuinte);
        cmd.setParam(QStringLiteral("pPeriodoZel"), QDate(q.PeriodoZel.year(), q.PeriodoZel.month(), 1));
        cmd.setParam(QStringLiteral("pCodMunicipio"), q.CodMunicipio.trimmed());
        cmd.setParam(QStringLiteral("pMunicipio"), q.Municipio.trimmed());
        cmd.setParam(QStringLiteral("pValor"), q.Valor);
        cmd.setParam(QStringLiteral("pDtGeracao"), q.DtGeracao);
        if (cmd.execute() != 1)
            return false;
        q.IdQuadroV = int(cmd.ultimoIdInserido());
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TQuadrosV::Alterar(const TQuadroV& q, QString* erro)
{
    try {
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral("update VornQuadroV set CodMunicipio = :pCodMunicipio, Municipio = :pMunicipio, "
                                          "Valor = :pValor, dtAlteracao = :pDtAlteracao where IdQuadroV = :pIdQuadroV "
                                          "and IdContribuinte = :pIdContribuinte"));
        cmd.setParam(QStringLiteral("pCodMunicipio"), q.CodMunicipio.trimmed());
        cmd.setParam(QStringLiteral("pMunicipio"), q.Municipio.trimmed());
        cmd.setParam(QStringLiteral("pValor"), q.Valor);
        cmd.setParam(QStringLiteral("pDtAlteracao"), q.dtAlteracao);
        cmd.setParam(QStringLiteral("pIdQuadroV"), q.IdQuadroV);
        cmd.setParam(QStringLiteral("pIdContribuinte"), q.IdContribuinte);
        if (cmd.execute() == 1)
            return true;
        if (erro)
            *erro = QString::fromUtf8("o item não foi encontrado");
        return false;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TQuadrosV::Excluir(int idQuadroV, int idContribuinte, QString* erro)
{
    try {
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral("delete from VornQuadroV where IdQuadroV = :pIdQuadroV and IdContribuinte = :pIdContribuinte"));
        cmd.setParam(QStringLiteral("pIdQuadroV"), idQuadroV);
        cmd.setParam(QStringLiteral("pIdContribuinte"), idContribuinte);
        if (cmd.execute() == 1)
            return true;
        if (erro)
            *erro = QString::fromUtf8("o item não foi encontrado");
        return false;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

void AbreMunicipios(TDataSet& lista)
{
    lista.setCommandText(QStringLiteral("select * from Municipio Order by nomeMunicipio"));
    lista.open();
}

bool MunicipiosAtualizados(TDTM& dtm)
{
    try {
        TDataSet q(dtm.conexao());
        q.setCommandText(QStringLiteral("select * from Municipio where codMunicipio = '04405'"));
        q.open();
        return !q.isEmpty();
    } catch (const EBancoDados&) {
        return false;
    }
}

bool MunicipioExiste(TDTM& dtm, const QString& codigo)
{
    TDataSet q(dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * FROM municipio WHERE CAST(codMunicipio AS INTEGER) =:OLDCodMunicipio"));
    bool numero = false;
    const qint64 n = codigo.trimmed().toLongLong(&numero);
    if (!numero)
        return false;
    q.setParam(QStringLiteral("OLDCodMunicipio"), n);
    q.open();
    return !q.isEmpty();
}

// ----- the import

namespace {

// The lines of a file, CR and LF stripped; false when the file cannot be read.
bool leLinhas(const QString& caminho, QStringList* linhas)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // The delivered lists are small; anything far beyond is not one of them.
    if (f.size() > 16 * 1024 * 1024)
        return false;
    *linhas = DecodificaArquivoTexto(f.readAll()).split(QLatin1Char('\n'));
    for (QString& l : *linhas)
        while (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return true;
}

// "code|text" with its closing character: the text after "|", less a last character that is no letter or
// digit (the files close every line with one; a file without it keeps the whole name).
bool parte(const QString& linha, QString* codigo, QString* texto)
{
    const int barra = linha.indexOf(QLatin1Char('|'));
    if (barra < 0)
        return false;
    *codigo = linha.left(barra).trimmed();
    QString t = linha.mid(barra + 1);
    if (!t.isEmpty() && !t.back().isLetterOrNumber())
        t.chop(1);
    *texto = t.trimmed();
    return true;
}

bool codigoValido(const QString& c)
{
    static const QRegularExpression re(QStringLiteral("^[0-9]{1,5}$"));
    return re.match(c).hasMatch();
}

QString invalida(int linha, const char* arquivo)
{
    return QString::fromUtf8("Linha %1 do arquivo %2 inválida.").arg(linha).arg(QString::fromLatin1(arquivo));
}

} // namespace

bool LeArquivosMunicipios(const QString& pasta, TArquivosMunicipios* arquivos, QString* erro)
{
    *arquivos = TArquivosMunicipios();
    const QDir d(pasta);
    QStringList linhas;
    if (!QFile::exists(d.filePath(QStringLiteral("municipio.txt"))) || !leLinhas(d.filePath(QStringLiteral("municipio.txt")), &linhas)) {
        *erro = QString::fromUtf8("O arquivo municipio.txt não foi encontrado!");
        return false;
    }
    TArquivosMunicipios r;
    QSet<QString> vistos;
    for (int i = 0; i < linhas.size(); ++i) {
        if (linhas[i].trimmed().isEmpty())
            continue;
        QString codigo, nome;
        if (!parte(linhas[i], &codigo, &nome) || !codigoValido(codigo) || nome.isEmpty() || nome.size() > 60 ||
            vistos.contains(codigo)) {
            *erro = invalida(i + 1, "municipio.txt");
            return false;
        }
        vistos.insert(codigo);
        r.municipios.append({codigo, nome});
    }
    if (r.municipios.isEmpty()) {
        // An empty list would delete every municipality.
        *erro = QString::fromUtf8("O arquivo municipio.txt não tem nenhum município.");
        return false;
    }
    const QString mudancas = d.filePath(QStringLiteral("DeParaNovosCodigosMunicipios.txt"));
    if (!QFile::exists(mudancas) || !leLinhas(mudancas, &linhas)) {
        *erro = QString::fromUtf8("O arquivo DeParaNovosCodigosMunicipios.txt não foi encontrado!");
        return false;
    }
    for (int i = 0; i < linhas.size(); ++i) {
        if (linhas[i].trimmed().isEmpty())
            continue;
        QString antigo, novo;
        if (!parte(linhas[i], &antigo, &novo) || !codigoValido(antigo) || !codigoValido(novo)) {
            *erro = invalida(i + 1, "DeParaNovosCodigosMunicipios.txt");
            return false;
        }
        r.mudancas.append({antigo, novo});
    }
    *arquivos = r;
    return true;
}

int SomaQuadrosVRepetidos(TDTM& dtm)
{
    TDataSet grupos(dtm.conexao());
    grupos.setCommandText(QStringLiteral(
        "SELECT IdContribuinte, YEAR(PeriodoZel) AS Ano, MONTH(PeriodoZel) AS Mes, CAST(CodMunicipio AS INTEGER) AS Cod, "
        "MIN(IdQuadroV) AS Fica, SUM(Valor) AS Total, COUNT(*) AS Linhas FROM VornQuadroV "
        "GROUP BY IdContribuinte, YEAR(PeriodoZel), MONTH(PeriodoZel), CAST(CodMunicipio AS INTEGER) HAVING COUNT(*) > 1"));
    grupos.open();
    int somadas = 0;
    TComando& cmd = dtm.ADOCommand;
    for (grupos.first(); !grupos.eof(); grupos.next()) {
        const int fica = grupos.asInteger(QStringLiteral("Fica"));
        cmd.setCommandText(QStringLiteral("update VornQuadroV set Valor = :pValor where IdQuadroV = :pFica"));
        cmd.setParam(QStringLiteral("pValor"), grupos.asMoney(QStringLiteral("Total")));
        cmd.setParam(QStringLiteral("pFica"), fica);
        if (cmd.execute() != 1)
            throw EBancoDados(QString::fromUtf8("a linha %1 do Quadro V não foi encontrada").arg(fica));
        cmd.setCommandText(QStringLiteral("delete from VornQuadroV where IdContribuinte = :pId AND YEAR(PeriodoZel) = :pAno "
                                          "AND MONTH(PeriodoZel) = :pMes AND CAST(CodMunicipio AS INTEGER) = :pCod "
                                          "AND IdQuadroV <> :pFica"));
        cmd.setParam(QStringLiteral("pId"), grupos.asInteger(QStringLiteral("IdContribuinte")));
        cmd.setParam(QStringLiteral("pAno"), grupos.asInteger(QStringLiteral("Ano")));
        cmd.setParam(QStringLiteral("pMes"), grupos.asInteger(QStringLiteral("Mes")));
        cmd.setParam(QStringLiteral("pCod"), grupos.fieldByName(QStringLiteral("Cod")).toLongLong());
        cmd.setParam(QStringLiteral("pFica"), fica);
        const int apagadas = cmd.execute();
        if (apagadas != grupos.asInteger(QStringLiteral("Linhas")) - 1)
            throw EBancoDados(QString::fromUtf8("as linhas repetidas do Quadro V não foram somadas"));
        somadas += apagadas + 1;
    }
    return somadas;
}

bool AplicaMunicipios(TDTM& dtm, const TArquivosMunicipios& a, const std::function<void(int, int)>& passo,
                      QString* erro, int* linhasSomadas)
{
    if (linhasSomadas)
        *linhasSomadas = 0;
    const int total = int(a.municipios.size()) * 2 + int(a.mudancas.size());
    int feitos = 0;
    auto avanca = [&](int n) {
        feitos += n;
        if (passo)
            passo(feitos, total);
    };
    bool nosQuadros = false;
    try {
        TTransacao transacao(dtm.conexao());
        TComando& cmd = dtm.ADOCommand;
        QSet<QString> existentes;
        {
            TDataSet q(dtm.conexao());
            q.setCommandText(QStringLiteral("SELECT codMunicipio FROM municipio"));
            q.open();
            for (q.first(); !q.eof(); q.next())
                existentes.insert(q.asString(QStringLiteral("codMunicipio")).trimmed());
        }
        QSet<QString> doArquivo;
        for (const auto& [codigo, nome] : a.municipios) {
            doArquivo.insert(codigo);
            if (existentes.contains(codigo)) {
                cmd.setCommandText(QStringLiteral("update municipio set nomeMunicipio = :pNomeMunicipio where codMunicipio = :pCodMuni"));
            } else {
                cmd.setCommandText(QStringLiteral("insert into municipio (codMunicipio, nomeMunicipio) values (:pCodMuni, :pNomeMunicipio)"));
            }
            cmd.setParam(QStringLiteral("pCodMuni"), codigo);
            cmd.setParam(QStringLiteral("pNomeMunicipio"), nome);
            cmd.execute();
            avanca(1);
        }
        cmd.setCommandText(QStringLiteral("delete from municipio where codMunicipio = :pCodMuni"));
        for (const QString& codigo : std::as_const(existentes)) {
            if (!doArquivo.contains(codigo)) {
                cmd.setParam(QStringLiteral("pCodMuni"), codigo);
                cmd.execute();
            }
        }
        avanca(int(a.municipios.size()));
        nosQuadros = true;
        // Old rows keep the code as it was typed ("4405" beside "04405"): the change finds them by number.
        cmd.setCommandText(QStringLiteral("update VornQuadroV set CodMunicipio = :pCodNovo where CAST(CodMunicipio AS INTEGER) = :pCodAntigo"));
        for (const auto& [antigo, novo] : a.mudancas) {
            cmd.setParam(QStringLiteral("pCodNovo"), novo);
            cmd.setParam(QStringLiteral("pCodAntigo"), antigo.toLongLong());
            cmd.execute();
            avanca(1);
        }
        // A code moved onto one the month already has, or one month's rows under two spellings of a code, would
        // give the file two records of one municipality: they become one row with their sum.
        const int somadas = SomaQuadrosVRepetidos(dtm);
        transacao.commit();
        if (linhasSomadas)
            *linhasSomadas = somadas;
        return true;
    } catch (const EBancoDados& e) {
        *erro = (nosQuadros ? QString::fromUtf8("Ocorreu um erro atualizando os municípios do quadro V. Erro: %1")
                            : QString::fromUtf8("Ocorreu um erro atualizando os municípios. Erro: %1"))
                    .arg(e.mensagem());
        return false;
    }
}
