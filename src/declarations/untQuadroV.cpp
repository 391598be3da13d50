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

QList<QPair<qint64, QString>> DestinosDasMudancas(const QList<QPair<QString, QString>>& mudancas)
{
    // Each line moves the rows that stand on its old code at that point: a chain A to B, B to C takes A's rows
    // to C, and a row already moved onto B moves on with B's.
    QList<QPair<qint64, QString>> destinos;
    QHash<qint64, qsizetype> indice;
    for (const auto& [antigo, novo] : mudancas) {
        const qint64 a = antigo.toLongLong();
        for (auto& d : destinos)
            if (d.second.toLongLong() == a)
                d.second = novo;
        if (!indice.contains(a)) {
            indice.insert(a, destinos.size());
            destinos.append({a, novo});
        }
    }
    return destinos;
}

int SomaQuadrosVRepetidos(TDTM& dtm)
{
    // Set-wise, in three statements over the table: the groups of more than one row, their first row takes the
    // sum, the others go.
    TComando& cmd = dtm.ADOCommand;
    auto executa = [&cmd](const char* sql) {
        cmd.setCommandText(QString::fromLatin1(sql));
        return cmd.execute();
    };
    executa("DROP TABLE IF EXISTS temp.zelQuadroVRepetido");
    // The month is the first seven characters of the stored date ("yyyy-MM"), with or without a time of day.
    executa("CREATE TEMP TABLE zelQuadroVRepetido (Fica INTEGER PRIMARY KEY, Id INTEGER, Mes TEXT, Cod INTEGER, "
            "Total INTEGER, Linhas INTEGER)");
    executa("INSERT INTO temp.zelQuadroVRepetido SELECT MIN(IdQuadroV), IdContribuinte, substr(PeriodoZel, 1, 7), "
            "CAST(CodMunicipio AS INTEGER), SUM(Valor), COUNT(*) FROM VornQuadroV GROUP BY IdContribuinte, "
            "substr(PeriodoZel, 1, 7), CAST(CodMunicipio AS INTEGER) HAVING COUNT(*) > 1");
    executa("CREATE INDEX temp.ixZelQuadroVRepetido ON zelQuadroVRepetido (Id, Mes, Cod)");
    TDataSet contagem(dtm.conexao());
    contagem.setCommandText(QStringLiteral("SELECT COUNT(*) AS Grupos, TOTAL(Linhas) AS Linhas FROM temp.zelQuadroVRepetido"));
    contagem.open();
    const int grupos = contagem.asInteger(QStringLiteral("Grupos"));
    const int linhas = int(contagem.fieldByName(QStringLiteral("Linhas")).toLongLong());
    if (grupos > 0) {
        if (executa("UPDATE VornQuadroV SET Valor = (SELECT Total FROM temp.zelQuadroVRepetido WHERE Fica = "
                    "VornQuadroV.IdQuadroV) WHERE IdQuadroV IN (SELECT Fica FROM temp.zelQuadroVRepetido)") != grupos)
            throw EBancoDados(QString::fromUtf8("as linhas repetidas do Quadro V não foram somadas"));
        if (executa("DELETE FROM VornQuadroV WHERE EXISTS (SELECT 1 FROM temp.zelQuadroVRepetido g WHERE "
                    "g.Id = VornQuadroV.IdContribuinte AND g.Mes = substr(VornQuadroV.PeriodoZel, 1, 7) AND "
                    "g.Cod = CAST(VornQuadroV.CodMunicipio AS INTEGER) AND "
                    "g.Fica <> VornQuadroV.IdQuadroV)") != linhas - grupos)
            throw EBancoDados(QString::fromUtf8("as linhas repetidas do Quadro V não foram somadas"));
    }
    executa("DROP TABLE temp.zelQuadroVRepetido");
    return grupos > 0 ? linhas : 0;
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
        // Old rows keep the code as it was typed ("4405" beside "04405"): the change finds them by number, every
        // change in one pass over the table through a list of each old code's final code.
        cmd.setCommandText(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS zelDeParaMunicipio (antigo INTEGER PRIMARY KEY, novo TEXT)"));
        cmd.execute();
        cmd.setCommandText(QStringLiteral("DELETE FROM temp.zelDeParaMunicipio"));
        cmd.execute();
        cmd.setCommandText(QStringLiteral("INSERT INTO temp.zelDeParaMunicipio (antigo, novo) VALUES (:pAntigo, :pNovo)"));
        for (const auto& [antigo, novo] : DestinosDasMudancas(a.mudancas)) {
            cmd.setParam(QStringLiteral("pAntigo"), antigo);
            cmd.setParam(QStringLiteral("pNovo"), novo);
            cmd.execute();
        }
        cmd.setCommandText(QStringLiteral(
            "update VornQuadroV set CodMunicipio = (SELECT novo FROM temp.zelDeParaMunicipio WHERE antigo = "
            "CAST(VornQuadroV.CodMunicipio AS INTEGER)) WHERE CAST(CodMunicipio AS INTEGER) IN "
            "(SELECT antigo FROM temp.zelDeParaMunicipio)"));
        cmd.execute();
        cmd.setCommandText(QStringLiteral("DROP TABLE temp.zelDeParaMunicipio"));
        cmd.execute();
        avanca(int(a.mudancas.size()));
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
