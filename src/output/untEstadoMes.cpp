#include "output/untEstadoMes.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "core/untProgresso.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untApuracao.h"
#include "declarations/untZel.h"
#include "declarations/untZelSN.h"
#include "documents/untClsCupomFiscal.h"
#include "documents/untClsNotaTalao.h"
#include "documents/untClsNotaTransporte.h"
#include "documents/untConsultasNotas.h"
#include "output/untGeradorArquivo.h"

#include <sqlite3.h>

namespace Fechamento {

QString TextoSituacao(TSituacao s)
{
    switch (s) {
    case TSituacao::SemMovimento: return QStringLiteral("sem movimento");
    case TSituacao::SemDeclaracao: return QString::fromUtf8("sem declaração");
    case TSituacao::Desatualizada: return QString::fromUtf8("declaração desatualizada");
    case TSituacao::Pronto: return QStringLiteral("pronto para gerar");
    case TSituacao::Gerado: return QStringLiteral("arquivo gerado");
    case TSituacao::Entregue: return QStringLiteral("entregue");
    }
    return {};
}

QStringList TextosSituacao()
{
    QStringList r;
    for (TSituacao s : {TSituacao::SemMovimento, TSituacao::SemDeclaracao, TSituacao::Desatualizada, TSituacao::Pronto,
                        TSituacao::Gerado, TSituacao::Entregue})
        r << TextoSituacao(s);
    return r;
}

QString NomeEspecie(int especie)
{
    static const char* const nomes[NumEspecies] = {"Entradas", "Saídas", "Transporte", "Série D", "ECF"};
    return especie >= 0 && especie < NumEspecies ? QString::fromUtf8(nomes[especie]) : QString();
}

qint64 TLinha::quantidadeDocumentos() const
{
    qint64 n = 0;
    for (const TDocumentos& d : documentos)
        n += d.quantidade;
    return n;
}

QString TLinha::siglaDeclaracao() const
{
    static const char* const siglas[] = {"", "ZEL", "EPP", "SN"};
    return tipoDeclaracao >= 1 && tipoDeclaracao <= 3 ? QString::fromLatin1(siglas[tipoDeclaracao]) : QString();
}

bool PeriodoValido(const QString& periodo, QString* erro)
{
    bool okAno = false, okMes = false;
    const int ano = periodo.left(4).toInt(&okAno);
    const int mes = periodo.mid(4, 2).toInt(&okMes);
    if (periodo.size() == 6 && okAno && okMes && mes >= 1 && mes <= 12 && ano >= 1900)
        return true;
    if (erro)
        *erro = QString::fromUtf8("Período inválido: %1 (informe AAAAMM).").arg(periodo);
    return false;
}

namespace {

QString periodoSeguinte(const QString& periodo)
{
    const int ano = periodo.left(4).toInt();
    const int mes = periodo.mid(4, 2).toInt();
    return mes == 12 ? QStringLiteral("%101").arg(ano + 1) : QStringLiteral("%1%2").arg(ano).arg(mes + 1, 2, 10, QLatin1Char('0'));
}

// The declaration of each taxpayer in one kind's table for the period: the latest row, as the writer takes it.
struct TDeclaracaoMes {
    int tipoDeclaracao = 0;
    int chave = 0;
    QString tipo;
    QDateTime dtGeracao;
    QDateTime ultimaAlteracao;
    int tipoEntrega = -1;
    QString numRecibo;
    bool marcadaEntregue = false;
    bool arquivoRegistrado = false;   // the Simples Nacional row's date of its last file
};

QDateTime momento(const TDataSet& q, const char* campo)
{
    return q.fieldByName(QString::fromLatin1(campo)).toDateTime();
}

void leDeclaracoes(TDTMCON& con, const QString& periodo, QHash<int, TDeclaracaoMes>& porContribuinte)
{
    struct TTabela {
        int tipoDeclaracao;
        const char* sql;
    };
    static const TTabela tabelas[] = {
        {1, "SELECT * FROM ZEL WHERE Periodo = :Periodo ORDER BY IDZel DESC"},
        {2, "SELECT * FROM ZEL_EPP WHERE Periodo = :Periodo ORDER BY IdEpp DESC"},
        {3, "SELECT * FROM ZEL_SN WHERE Periodo = :Periodo ORDER BY IdSN DESC"},
    };
    for (const TTabela& t : tabelas) {
        TDataSet q(con);
        q.setCommandText(QString::fromLatin1(t.sql));
        q.setParam(QStringLiteral("Periodo"), periodo);
        q.open();
        for (q.first(); !q.eof(); q.next()) {
            const int id = q.asInteger(QStringLiteral("IdContribuinte"));
            // One declaration a taxpayer: a second kind stored for the same month is the one the taxpayer's
            // regime does not use; the normal regime's is taken first, as the writer's kinds are numbered.
            if (porContribuinte.contains(id))
                continue;
            TDeclaracaoMes d;
            d.tipoDeclaracao = t.tipoDeclaracao;
            d.tipo = q.asString(QStringLiteral("Tipo")).trimmed() == QLatin1String("N") ? QStringLiteral("N") : QStringLiteral("R");
            d.dtGeracao = momento(q, "DtGeracao");
            switch (t.tipoDeclaracao) {
            case 1:
                d.chave = q.asInteger(QStringLiteral("IDZel"));
                d.ultimaAlteracao = d.dtGeracao;
                d.marcadaEntregue = q.fieldByName(QStringLiteral("Entregue")).toInt() != 0;
                d.tipoEntrega = q.isNull(QStringLiteral("sitCadastroContrib")) ? -1 : q.asInteger(QStringLiteral("sitCadastroContrib"));
                d.numRecibo = q.asString(QStringLiteral("NumRecibo")).trimmed();
                break;
            case 2:
                d.chave = q.asInteger(QStringLiteral("IdEpp"));
                d.ultimaAlteracao = d.dtGeracao;
                d.marcadaEntregue = q.fieldByName(QStringLiteral("Entregue")).toInt() != 0;
                break;
            case 3: {
                d.chave = q.asInteger(QStringLiteral("IdSN"));
                const QDateTime inclusao = momento(q, "DtInclusao");
                const QDateTime alteracao = momento(q, "DtAlteracao");
                d.ultimaAlteracao = alteracao.isValid() && alteracao > inclusao ? alteracao : inclusao;
                d.arquivoRegistrado = d.dtGeracao.isValid() && (!d.ultimaAlteracao.isValid() || d.dtGeracao >= d.ultimaAlteracao);
                d.tipoEntrega = q.isNull(QStringLiteral("sitCadastroContrib")) ? -1 : q.asInteger(QStringLiteral("sitCadastroContrib"));
                d.numRecibo = q.asString(QStringLiteral("Recibo")).trimmed();
                if (d.tipoEntrega < 0)
                    d.numRecibo.clear();
                break;
            }
            default:
                break;
            }
            porContribuinte.insert(id, d);
        }
    }
}

// The taxpayers whose declaration of the month after quotes a receipt: a receipt exists only for a delivered
// declaration, and the monthly delivery quotes the one of the month before.
QSet<int> quotadosNoMesSeguinte(TDTMCON& con, const QString& periodo)
{
    QSet<int> r;
    static const char* const consultas[] = {
        "SELECT IdContribuinte FROM ZEL WHERE Periodo = :Periodo AND sitCadastroContrib IN (0, 2, 3) "
        "AND TRIM(COALESCE(NumRecibo, '')) <> ''",
        "SELECT IdContribuinte FROM ZEL_SN WHERE Periodo = :Periodo AND sitCadastroContrib IN (0, 2, 3) "
        "AND TRIM(COALESCE(Recibo, '')) NOT IN ('', '0')",
    };
    TParametros p;
    p.set(QStringLiteral("Periodo"), periodoSeguinte(periodo));
    for (const char* sql : consultas)
        Sql::executa(con.db(), QString::fromLatin1(sql), p, nullptr,
                     [&r](sqlite3_stmt* st) { r.insert(sqlite3_column_int(st, 0)); });
    return r;
}

void resumos(TDTMCON& con, int id, int mes, int ano, TDocumentos* d)
{
    ConsultasNotas::TPeriodo p;
    p.mes = mes;
    p.ano = ano;
    const ConsultasNotas::TResumo entradas = ConsultasNotas::Resumo(con, id, QStringLiteral("E"), p);
    const ConsultasNotas::TResumo saidas = ConsultasNotas::Resumo(con, id, QStringLiteral("S"), p);
    d[NotasEntrada] = {entradas.quantidade, entradas.valorTotal};
    d[NotasSaida] = {saidas.quantidade, saidas.valorTotal};
    for (const char* modalidade : {"1", "2"}) {
        const ConsultasTransporte::TResumo t = ConsultasTransporte::Resumo(con, id, QString::fromLatin1(modalidade), p);
        d[Transporte].quantidade += t.quantidade;
        d[Transporte].total += t.valorTotal;
    }
    const ConsultasTalao::TResumo talao = ConsultasTalao::Resumo(con, id, p);
    d[SerieD] = {talao.quantidade, talao.vendaBruta};
    const ConsultasCupom::TResumo cupom = ConsultasCupom::Resumo(con, id, p);
    d[Ecf] = {cupom.quantidade, cupom.vendaBruta};
}

const char* const kRegimes[] = {"", "1", "7", "3"};

QString tipoDoGerador(const TLinha& l) { return l.tipo == QLatin1String("N") ? QStringLiteral("1") : QStringLiteral("2"); }

void situa(TLinha& l)
{
    if (l.tipoDeclaracao == 0)
        l.situacao = l.existemDocumentos ? TSituacao::SemDeclaracao : TSituacao::SemMovimento;
    else if (!l.diferencas.isEmpty() || !l.conferida)
        l.situacao = TSituacao::Desatualizada;
    else if (l.entregue)
        l.situacao = TSituacao::Entregue;
    else if (l.arquivoGerado)
        l.situacao = TSituacao::Gerado;
    else
        l.situacao = TSituacao::Pronto;
}

} // namespace

QList<TLinha> EstadoDoMes(TDTM& dtm, IDialogos& dialogos, IRelogio& relogio, const QString& periodo,
                          const QString& pastaArquivos)
{
    QString erro;
    if (!PeriodoValido(periodo, &erro))
        throw EArquivoInvalido(erro);
    const int ano = periodo.left(4).toInt();
    const int mes = periodo.mid(4, 2).toInt();
    TDTMCON& con = dtm.conexao();

    QHash<int, TDeclaracaoMes> declaracoes;
    leDeclaracoes(con, periodo, declaracoes);
    const QSet<int> quotados = quotadosNoMesSeguinte(con, periodo);

    TDataSet q(con);
    q.setCommandText(QStringLiteral("SELECT IdContribuinte, CNPJ, Ccicms, RazaoSocial FROM Contribuinte WHERE Tipo = 'C' "
                                    "ORDER BY RazaoSocial, IdContribuinte"));
    q.open();
    QList<TLinha> linhas;
    linhas.reserve(q.recordCount());
    TProgressoNulo nulo;
    for (q.first(); !q.eof(); q.next()) {
        TLinha l;
        l.idContribuinte = q.asInteger(QStringLiteral("IdContribuinte"));
        l.cnpj = q.asString(QStringLiteral("CNPJ")).trimmed();
        l.ccicms = q.asString(QStringLiteral("Ccicms")).trimmed();
        l.razaoSocial = q.asString(QStringLiteral("RazaoSocial")).trimmed();
        resumos(con, l.idContribuinte, mes, ano, l.documentos);
        // A valid document counted is a document of the month; only a month without one asks again, for the
        // cancelled and voided ones the summaries leave out.
        l.existemDocumentos = l.quantidadeDocumentos() > 0 || ExistemDocumentos(con, l.idContribuinte, periodo);
        const auto it = declaracoes.constFind(l.idContribuinte);
        if (it != declaracoes.constEnd()) {
            const TDeclaracaoMes& d = *it;
            l.tipoDeclaracao = d.tipoDeclaracao;
            l.regime = QString::fromLatin1(kRegimes[d.tipoDeclaracao]);
            l.tipo = d.tipo;
            l.dtGeracao = d.dtGeracao;
            l.ultimaAlteracao = d.ultimaAlteracao;
            l.tipoEntrega = d.tipoEntrega;
            l.numRecibo = d.numRecibo;
            l.entregue = d.marcadaEntregue || quotados.contains(l.idContribuinte);
            l.arquivoGerado = d.arquivoRegistrado;
            TGeradorArquivo gerador(dtm, dialogos, nulo, relogio, l.idContribuinte);
            gerador.MostraErros = false;
            try {
                l.diferencas = gerador.DiferencasDosDocumentos(l.regime, periodo, l.tipoDeclaracao, tipoDoGerador(l));
                if (!pastaArquivos.isEmpty()) {
                    const QFileInfo arquivo(QDir(pastaArquivos).filePath(
                        gerador.NomeArquivo(periodo, l.tipoDeclaracao, tipoDoGerador(l)) + QStringLiteral(".txt")));
                    // A file older than the declaration's last save carries figures it no longer has.
                    if (arquivo.isFile() && (!l.ultimaAlteracao.isValid() || arquivo.lastModified() >= l.ultimaAlteracao)) {
                        l.arquivoGerado = true;
                        l.arquivo = arquivo.absoluteFilePath();
                    }
                }
            } catch (const EArquivoInvalido& e) {
                l.conferida = false;
                l.mensagem = QString::fromUtf8("Não foi possível conferir a declaração com os documentos: ") + e.mensagem();
            } catch (const EBancoDados& e) {
                l.conferida = false;
                l.mensagem = QString::fromUtf8("Não foi possível conferir a declaração com os documentos: ") + e.mensagem();
            }
        }
        situa(l);
        linhas.append(l);
    }
    return linhas;
}

namespace {

// The batch shows one taxpayer after the other: the writer's own window steps and pauses, made for a single
// file, would add a second or more to each of them.
class TProgressoDoLote final : public IProgresso {
public:
    explicit TProgressoDoLote(IProgresso& destino) : m_destino(destino) {}
    void mensagem(const QString& texto) override { m_destino.mensagem(texto); }
private:
    IProgresso& m_destino;
};

} // namespace

QList<TResultado> GeraArquivos(TDTM& dtm, IDialogos& dialogos, IProgresso& progresso, IRelogio& relogio,
                               const QString& periodo, const QString& pasta, QList<TLinha>& linhas,
                               const std::function<void(int, int, const TLinha&)>& aoPassar)
{
    QList<int> prontos;
    for (int i = 0; i < linhas.size(); ++i)
        if (linhas[i].situacao == TSituacao::Pronto)
            prontos << i;
    QList<TResultado> resultados;
    TProgressoDoLote doLote(progresso);
    progresso.inicia();
    for (int n = 0; n < prontos.size(); ++n) {
        TLinha& l = linhas[prontos[n]];
        if (aoPassar)
            aoPassar(n, int(prontos.size()), l);
        progresso.posicao(int(n * 100 / prontos.size()));
        TResultado r;
        r.idContribuinte = l.idContribuinte;
        r.ccicms = l.ccicms;
        r.razaoSocial = l.razaoSocial;
        TGeradorArquivo gerador(dtm, dialogos, doLote, relogio, l.idContribuinte);
        gerador.MostraErros = false;
        try {
            r.arquivo = QDir(pasta).absoluteFilePath(gerador.NomeArquivo(periodo, l.tipoDeclaracao, tipoDoGerador(l)) +
                                                     QStringLiteral(".txt"));
            r.gravado = gerador.GravaArquivo(r.arquivo, l.regime, periodo, l.tipoDeclaracao, tipoDoGerador(l));
            r.mensagem = gerador.ultimoErro();
        } catch (const EArquivoInvalido& e) {
            r.mensagem = e.mensagem();
        } catch (const EBancoDados& e) {
            r.mensagem = e.mensagem();
        }
        if (r.gravado && l.tipoDeclaracao == 3) {
            // As the Simples Nacional list records it after its own "&Gerar Arquivo".
            TZelSN sn(dtm);
            TDataSet q(dtm.conexao());
            q.setCommandText(QStringLiteral("SELECT IdSN FROM ZEL_SN WHERE IdContribuinte =:IdAtivo AND Periodo =:Periodo "
                                            "ORDER BY IdSN DESC"));
            q.setParam(QStringLiteral("IdAtivo"), l.idContribuinte);
            q.setParam(QStringLiteral("Periodo"), periodo);
            QString erro;
            try {
                q.open();
                sn.IdSN = q.isEmpty() ? 0 : q.asInteger(QStringLiteral("IdSN"));
            } catch (const EBancoDados& e) {
                erro = e.mensagem();
            }
            if (sn.IdSN == 0 || !sn.RegistraGeracao(relogio.agora(), &erro)) {
                r.gravado = false;
                r.mensagem = QStringLiteral("Erro no registro da data de geracao do arquivo") +
                             (erro.isEmpty() ? QString() : QStringLiteral(": ") + erro);
            } else {
                l.dtGeracao = sn.DtGeracao;
            }
        }
        if (r.gravado) {
            l.arquivoGerado = true;
            l.arquivo = r.arquivo;
            l.mensagem.clear();
        } else {
            l.mensagem = r.mensagem;
        }
        situa(l);
        resultados.append(r);
    }
    progresso.posicao(100);
    progresso.termina();
    return resultados;
}

bool MesEmOrdem(const QList<TLinha>& linhas, const QList<TResultado>& resultados)
{
    for (const TLinha& l : linhas)
        if (l.situacao == TSituacao::SemDeclaracao || l.situacao == TSituacao::Desatualizada)
            return false;
    for (const TResultado& r : resultados)
        if (!r.gravado)
            return false;
    return true;
}

QString ResumoSituacoes(const QList<TLinha>& linhas)
{
    QHash<TSituacao, int> contagem;
    for (const TLinha& l : linhas)
        contagem[l.situacao] += 1;
    QStringList partes;
    const QStringList textos = TextosSituacao();
    for (int s = 0; s < textos.size(); ++s)
        if (const int n = contagem.value(TSituacao(s)))
            partes << QStringLiteral("%1 %2").arg(n).arg(textos[s]);
    const QString total = linhas.size() == 1 ? QStringLiteral("1 contribuinte") : QStringLiteral("%1 contribuintes").arg(linhas.size());
    return partes.isEmpty() ? total : total + QStringLiteral(": ") + partes.join(QStringLiteral(", "));
}

QString ResumoLote(const QList<TResultado>& resultados, const QString& pasta)
{
    int gravados = 0;
    QStringList falhas;
    for (const TResultado& r : resultados) {
        if (r.gravado)
            ++gravados;
        else
            falhas << QStringLiteral("%1 - %2: %3").arg(r.ccicms, r.razaoSocial, r.mensagem);
    }
    QString texto = QString::fromUtf8("Arquivos gravados em %1: %2.").arg(QDir::toNativeSeparators(pasta)).arg(gravados);
    if (!falhas.isEmpty())
        texto += QString::fromUtf8("\n\nNão gravados (%1):\n").arg(falhas.size()) + falhas.join(QLatin1Char('\n'));
    return texto;
}

TRelatorio Relatorio(const QList<TLinha>& linhas, const QString& periodo, const QDateTime& emissao)
{
    TRelatorio r;
    r.nome = QStringLiteral("TfrmrptFechamento");
    r.titulo = QString::fromUtf8("Fechamento do Mês");
    r.periodo = QString::fromUtf8("Período: %1 / %2").arg(periodo.mid(4, 2), periodo.left(4));
    r.emissao = emissao;
    r.paisagem = true;
    r.colunas = {{QString::fromUtf8("Inscrição"), 12}, {QString::fromUtf8("Razão Social"), 30}};
    for (int e = 0; e < NumEspecies; ++e)
        r.colunas.append({NomeEspecie(e), 8, true});
    r.colunas.append({QString::fromUtf8("Declaração"), 10});
    r.colunas.append({QString::fromUtf8("Situação"), 22});
    QHash<TSituacao, int> contagem;
    for (const TLinha& l : linhas) {
        QStringList c = {FormatoRelatorio::Inscricao(l.ccicms), l.razaoSocial};
        for (const TDocumentos& d : l.documentos)
            c << QString::number(d.quantidade);
        c << (l.tipoDeclaracao ? l.siglaDeclaracao() + QLatin1Char(' ') + l.tipo : QString());
        c << TextoSituacao(l.situacao);
        r.detalhe(c);
        if (!l.mensagem.isEmpty())
            r.sub({QString(), l.mensagem});
        contagem[l.situacao] += 1;
    }
    const QStringList textos = TextosSituacao();
    for (int s = 0; s < textos.size(); ++s)
        if (const int n = contagem.value(TSituacao(s)))
            r.textoResumo(QStringLiteral("%1: %2").arg(textos[s]).arg(n));
    r.textoResumo(QStringLiteral("Contribuintes: %1").arg(linhas.size()));
    return r;
}

} // namespace Fechamento
