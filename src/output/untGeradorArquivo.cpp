#include "output/untGeradorArquivo.h"

#include <QFileInfo>
#include <QSaveFile>

#include "core/DialogsNew.h"
#include "core/untDatas.h"
#include "core/untProgresso.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untDadosAnuais.h"
#include "output/untConfereDeclaracao.h"
#include "output/untRegistros88.h"
#include "output/untVerificaArquivo.h"

#include <sqlite3.h>
#include <cstring>
#include <vector>

using namespace Registros;

namespace {

// A statement's columns by name, for reading rows as they stream past.
class TColunas {
public:
    void mapeia(sqlite3_stmt* st)
    {
        if (!m_indice.isEmpty())
            return;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const QString nome = QString::fromUtf8(sqlite3_column_name(st, i)).toLower();
            if (!m_indice.contains(nome))
                m_indice.insert(nome, i);
        }
    }
    // Names come as literals, so their addresses key a cache in front of the by-name lookup: a section asks
    // for a dozen columns on every row, and comparing a dozen pointers is cheaper than hashing.
    // Every row asks in the same order, so the name after the last one found is tried first.
    int operator[](const char* nome) const
    {
        const size_t n = m_porEndereco.size();
        if (m_proximo < n && m_porEndereco[m_proximo].first == nome)
            return m_porEndereco[m_proximo++].second;
        for (size_t k = 0; k < n; ++k)
            if (m_porEndereco[k].first == nome) {
                m_proximo = k + 1;
                return m_porEndereco[k].second;
            }
        const int i = m_indice.value(QString::fromLatin1(nome).toLower(), -1);
        if (i < 0)
            throw EBancoDados(QStringLiteral("Campo não encontrado: %1").arg(QString::fromLatin1(nome)));
        m_porEndereco.push_back({nome, i});
        m_proximo = n + 1;
        return i;
    }
private:
    QHash<QString, int> m_indice;
    mutable std::vector<std::pair<const char*, int>> m_porEndereco;
    mutable size_t m_proximo = 0;
};

// Sections repeat the same short texts row after row (model, series, code, dates): a text equal to the
// column's previous one shares its string (and a date its parsed value) instead of building another.
struct TUltimoTexto {
    const sqlite3_stmt* consulta = nullptr;
    QByteArray bytes;
    QString texto;
    bool temDia = false;
    QDate dia;
};
thread_local TUltimoTexto g_textos[64];

// The cache entry of column `i` holding its current text; null for a NULL column or one past the cache.
TUltimoTexto* ultimo(sqlite3_stmt* st, int i, const char* p, int n)
{
    if (i >= 64)
        return nullptr;
    TUltimoTexto& u = g_textos[i];
    if (u.consulta == st && u.bytes.size() == n && memcmp(u.bytes.constData(), p, size_t(n)) == 0)
        return &u;
    u.consulta = st;
    // The buffer is the cache's own, never handed out: it is refilled where it stands.
    u.bytes.resize(n);
    memcpy(u.bytes.data(), p, size_t(n));
    u.texto = QString::fromUtf8(p, n).trimmed();
    u.temDia = false;
    return &u;
}

QString texto(sqlite3_stmt* st, int i)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    if (!p)
        return {};
    const int n = sqlite3_column_bytes(st, i);
    if (TUltimoTexto* u = ultimo(st, i, p, n))
        return u->texto;
    return QString::fromUtf8(p, n).trimmed();
}
Money dinheiro(sqlite3_stmt* st, int i) { return Money::fromRaw(sqlite3_column_int64(st, i)); }
QDate data(sqlite3_stmt* st, int i)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    if (!p)
        return Datas::doBanco(QString());
    TUltimoTexto* u = ultimo(st, i, p, sqlite3_column_bytes(st, i));
    if (!u)
        return Datas::doBanco(QString::fromUtf8(p, sqlite3_column_bytes(st, i)).trimmed());
    if (!u->temDia) {
        u->dia = Datas::doBanco(u->texto);
        u->temDia = true;
    }
    return u->dia;
}

} // namespace

struct TGeradorArquivo::TCabecalho {
    TContribuinteArquivo contribuinte;
    int ano = 0;
    int mes = 0;
    QString registro10;
    QString registro11;
    QString codigo;
    QString nome;
    QString ie;
};

TGeradorArquivo::TGeradorArquivo(TDTM& dtm, IDialogos& dialogos, IProgresso& progresso, IRelogio& relogio, int idAtivo)
    : m_dtm(dtm), m_dialogos(dialogos), m_progresso(progresso), m_relogio(relogio), m_idAtivo(idAtivo)
{
}

static QString prefixo(int tipoDeclaracao)
{
    switch (tipoDeclaracao) {
    case 1: return QStringLiteral("ZEL");
    case 2: return QStringLiteral("EPP");
    case 3: return QStringLiteral("SN");
    default: return QStringLiteral("DA");
    }
}

static void checaPeriodo(const QString& periodo, int* ano, int* mes)
{
    bool okAno = false, okMes = false;
    *ano = periodo.left(4).toInt(&okAno);
    *mes = periodo.mid(4, 2).toInt(&okMes);
    if (periodo.size() != 6 || !okAno || !okMes || *mes < 1 || *mes > 12 || *ano < 1900)
        throw EArquivoInvalido(QString::fromUtf8("Período inválido: %1.").arg(periodo));
}

TGeradorArquivo::TCabecalho TGeradorArquivo::cabecalho(const QString& periodo, int tipoDeclaracao, const QString& tipo)
{
    TCabecalho c;
    checaPeriodo(periodo, &c.ano, &c.mes);
    TDataSet q(m_dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT * from Contribuinte WHERE IdContribuinte =:OLD_IdContribuinte"));
    q.setParam(QStringLiteral("OLD_IdContribuinte"), m_idAtivo);
    q.open();
    if (q.isEmpty())
        throw EArquivoInvalido(QString::fromUtf8("Contribuinte não encontrado."));
    auto campo = [&q](const char* nome) { return q.asString(QString::fromLatin1(nome)).trimmed(); };
    TContribuinteArquivo& t = c.contribuinte;
    t.cnpj = campo("CNPJ");
    t.ccicms = campo("Ccicms");
    t.razaoSocial = campo("RazaoSocial");
    t.municipio = campo("Municipio");
    t.uf = campo("UF");
    t.fax = campo("Fax");
    t.logradouro = campo("Logradouro");
    t.numero = campo("Numero");
    t.complemento = campo("Complemento");
    t.bairro = campo("Bairro");
    t.cep = campo("Cep");
    t.contato = campo("Contato");
    t.fone = campo("Fone");
    const bool anual = tipoDeclaracao == 4;
    const QString finalidade = tipo == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("2");
    c.registro10 = Registro10(t, c.ano, c.mes, finalidade, anual ? QStringLiteral("DA") : QStringLiteral("  "),
                              m_relogio.hoje(), anual);
    c.registro11 = Registro11(t);
    c.codigo = c.registro10.mid(123, 1);
    c.ie = c.registro10.mid(16, 14).trimmed();
    c.nome = c.registro10.mid(30, 35).trimmed();
    return c;
}

QString TGeradorArquivo::NomeArquivo(const QString& periodo, int tipoDeclaracao, const QString& tipo)
{
    const TCabecalho c = cabecalho(periodo, tipoDeclaracao, tipo);
    return prefixo(tipoDeclaracao) + periodo + QLatin1Char('_') + c.ie + QLatin1Char('_') + c.registro10.mid(123, 3);
}

QString TGeradorArquivo::tipoDaDeclaracao(const QString& periodo, int tipoDeclaracao, const QString& tipo,
                                          const QString& regime)
{
    int ano = 0, mes = 0;
    checaPeriodo(periodo, &ano, &mes);
    const TDeclaracaoArquivo d = CarregaDeclaracaoArquivo(m_dtm, m_idAtivo, tipoDeclaracao, periodo, tipo, regime, QString());
    return d.letraTipo == QLatin1String("N") ? QStringLiteral("1") : QStringLiteral("2");
}

QString TGeradorArquivo::DiferencasDosDocumentos(const QString& regime, const QString& periodo, int tipoDeclaracao,
                                                 const QString& tipo)
{
    int ano = 0, mes = 0;
    checaPeriodo(periodo, &ano, &mes);
    const TDeclaracaoArquivo d = CarregaDeclaracaoArquivo(m_dtm, m_idAtivo, tipoDeclaracao, periodo, tipo, regime, QString());
    return DescreveDiferencas(d, ConfereComDocumentos(m_dtm.conexao(), m_idAtivo, d));
}

bool TGeradorArquivo::GerarArquivo(const QString& regime, const QString& periodo, int tipoDeclaracao, const QString& tipoPedido)
{
    m_cancelado = false;
    QString nome;
    QString tipo;
    try {
        // A declaration that is not there, or whose type disagrees, is refused before the save dialog.
        tipo = tipoDaDeclaracao(periodo, tipoDeclaracao, tipoPedido, regime);
        // One whose documents changed since it was saved is filed only when the user says so.
        const QString diferencas = DiferencasDosDocumentos(regime, periodo, tipoDeclaracao, tipo);
        if (!diferencas.isEmpty() &&
            !PerguntaNao(m_dialogos, diferencas + QString::fromUtf8("\n\nGerar o arquivo assim mesmo?"))) {
            m_cancelado = true;
            return false;
        }
        nome = NomeArquivo(periodo, tipoDeclaracao, tipo);
    } catch (const EArquivoInvalido& e) {
        m_erro = e.mensagem();
        if (MostraErros)
            m_dialogos.mensagemSimples(m_erro);
        return false;
    } catch (const EBancoDados& e) {
        m_erro = e.mensagem();
        if (MostraErros)
            m_dialogos.mensagemSimples(m_erro);
        return false;
    }
    QString caminho = m_dialogos.salvarArquivo(QStringLiteral("Salvar"), nome + QStringLiteral(".txt"), QString());
    if (caminho.isEmpty()) {
        m_cancelado = true;
        return false; // cancelled: nothing written
    }
    if (QFileInfo(caminho).suffix().isEmpty())
        caminho += QStringLiteral(".txt");
    return GravaArquivo(caminho, regime, periodo, tipoDeclaracao, tipo);
}

void TGeradorArquivo::grava(QIODevice& saida, const QByteArray& bytes)
{
    if (saida.write(bytes) != bytes.size())
        throw EArquivoInvalido(saida.errorString());
    // The check reads the very bytes the file receives.
    if (m_verificador)
        m_verificador->adiciona(bytes);
}

void TGeradorArquivo::linha(QIODevice& saida, const QString& registro, const QString& familia)
{
    if (registro.size() != Tamanho)
        throw EArquivoInvalido(QStringLiteral("Registro com %1 caracteres.").arg(registro.size()));
    // The record was built of Latin-1 bytes; copied back into bytes.
    QByteArray bytes(Tamanho, Qt::Uninitialized);
    const QChar* c = registro.constData();
    char* b = bytes.data();
    for (int i = 0; i < Tamanho; ++i)
        b[i] = char(c[i].unicode());
    linha(saida, bytes, familia);
}

void TGeradorArquivo::linha(QIODevice& saida, const QByteArray& registro, const QString& familia)
{
    // Every record is followed by CR LF except the last: a line goes out when the next one arrives, gathered
    // with others into one write (and one pass of the check) of some sixty kilobytes.
    if (!m_pendente.isEmpty()) {
        m_lote.append(m_pendente);
        m_lote.append("\r\n");
        if (m_lote.size() >= (1 << 16)) {
            grava(saida, m_lote);
            m_lote.resize(0);
        }
    }
    if (registro.size() != Tamanho)
        throw EArquivoInvalido(QStringLiteral("Registro com %1 caracteres.").arg(registro.size()));
    // Copied into the same buffer, line after line.
    m_pendente.resize(Tamanho);
    memcpy(m_pendente.data(), registro.constData(), Tamanho);
    ++m_total;
    if (!familia.isEmpty())
        m_contagem[familia] += 1;
}

void TGeradorArquivo::varreAte100(int de)
{
    for (int i = de; i <= 100; ++i) {
        m_progresso.posicao(i);
        m_progresso.pausa(10);
    }
}

void TGeradorArquivo::carregaPartes()
{
    m_partes.clear();
    Sql::executa(m_dtm.conexao().db(), QStringLiteral("SELECT IdContribuinte, CNPJ, Ccicms, UF FROM Contribuinte"),
                 TParametros(), nullptr, [this](sqlite3_stmt* st) {
                     m_partes.insert(sqlite3_column_int(st, 0), {texto(st, 1), texto(st, 2), texto(st, 3)});
                 });
}

const TParte& TGeradorArquivo::parte(int id, const std::function<QString()>& documento) const
{
    const auto it = m_partes.constFind(id);
    if (it == m_partes.constEnd())
        throw EArquivoInvalido(QString::fromUtf8("O remetente/destinatário (código %1) de %2 não está cadastrado.")
                                   .arg(id).arg(documento()));
    return *it;
}

static QString descreveNota(const TNotaArquivo& n)
{
    return QStringLiteral("nota fiscal %1 de %2 (%3)")
        .arg(n.numeroNF, n.dtEmissao.toString(QStringLiteral("dd/MM/yyyy")),
             n.tipoNota == QLatin1String("E") ? QStringLiteral("entrada") : QString::fromUtf8("saída"));
}

void TGeradorArquivo::escreveDocumentos(QIODevice& saida, const QString& nome, int ano, int mes, const QString& codigo)
{
    sqlite3* db = m_dtm.conexao().db();
    TParametros p;
    p.set(QStringLiteral("IdAtivo"), m_idAtivo);
    p.set(QStringLiteral("Inicio"), Datas::inicioDoMes(mes, ano));
    p.set(QStringLiteral("Fim"), Datas::inicioDoMesSeguinte(mes, ano));
    const QString doMes = QStringLiteral("A.IdContribuinte =:IdAtivo AND A.DtEmissao >= :Inicio AND A.DtEmissao < :Fim ");

    auto secao = [&](const char* titulo, int inicio, const QString& sql, const std::function<void(sqlite3_stmt*, const TColunas&)>& porLinha) {
        m_progresso.mensagem(nome + QString::fromLatin1(titulo));
        int contador = inicio;
        m_progresso.posicao(contador);
        TColunas colunas;
        Sql::executa(db, sql, p, nullptr, [&](sqlite3_stmt* st) {
            colunas.mapeia(st);
            porLinha(st, colunas);
            if (contador < 100)
                m_progresso.posicao(++contador);
        });
        varreAte100(contador);
    };

    auto leNota = [](sqlite3_stmt* st, const TColunas& c) {
        TNotaArquivo n;
        n.idNotaFiscal = sqlite3_column_int(st, c["IdNotaFiscal"]);
        n.dtEmissao = data(st, c["DtEmissao"]);
        n.modelo = texto(st, c["Modelo"]);
        n.serie = texto(st, c["Serie"]);
        n.subSerie = texto(st, c["SubSerie"]);
        n.numeroNF = texto(st, c["NumeroNF"]);
        n.cfop = texto(st, c["Cfop"]);
        n.emitente = texto(st, c["Emitente"]);
        n.situacao = texto(st, c["Situacao"]);
        // The date of the last change is the real date of issue of an extemporaneous note, and only there read.
        if (n.situacao == QLatin1String("E") || n.situacao == QLatin1String("X"))
            n.dtUltAlteracao = data(st, c["DtUltAlteracao"]);
        n.tipoNota = texto(st, c["TipoNota"]);
        n.valorTotal = dinheiro(st, c["ValorTotalNota"]);
        return n;
    };
    const QString notas = QStringLiteral("FROM NOTAFISCAL A JOIN %1 B ON A.IdNotaFiscal = B.IdNotaFiscal WHERE ") + doMes +
                          QStringLiteral("ORDER BY A.TipoNota, A.DtEmissao, A.IdNotaFiscal");

    secao(" - Registro 50", 7, QStringLiteral("SELECT A.*, B.BaseCalculoICMS, B.ValorICMS, B.IsentaICMS, B.OutrasICMS, "
                                              "B.AliquotaICMS ") + notas.arg(QStringLiteral("NFICMS")),
          [&](sqlite3_stmt* st, const TColunas& c) {
              TNotaArquivo n = leNota(st, c);
              n.baseIcms = dinheiro(st, c["BaseCalculoICMS"]);
              n.valorIcms = dinheiro(st, c["ValorICMS"]);
              n.isentaIcms = dinheiro(st, c["IsentaICMS"]);
              n.outrasIcms = dinheiro(st, c["OutrasICMS"]);
              n.aliquota = texto(st, c["AliquotaICMS"]);
              const int outro = sqlite3_column_int(st, c["IdEmtDest"]);
              Registro50(m_registro, n, parte(outro, [&n] { return descreveNota(n); }), codigo);
              linha(saida, m_registro, QStringLiteral("50"));
          });
    secao(" - Registro 51", 5, QStringLiteral("SELECT A.*, B.ValorIPI, B.IsentaIPI, B.OutrasIPI ") + notas.arg(QStringLiteral("NFIPI")),
          [&](sqlite3_stmt* st, const TColunas& c) {
              TNotaArquivo n = leNota(st, c);
              n.valorIpi = dinheiro(st, c["ValorIPI"]);
              n.isentaIpi = dinheiro(st, c["IsentaIPI"]);
              n.outrasIpi = dinheiro(st, c["OutrasIPI"]);
              if (TemRegistro51(n)) {
                  Registro51(m_registro, n, parte(sqlite3_column_int(st, c["IdEmtDest"]), [&n] { return descreveNota(n); }), codigo);
                  linha(saida, m_registro, QStringLiteral("51"));
              }
          });
    secao(" - Registro 53", 5, QStringLiteral("SELECT A.*, B.BaseCalculoSubst, B.ICMSRetido, B.DespAcessorias, B.MVA ") +
                                   notas.arg(QStringLiteral("NFSUBSTRIB")),
          [&](sqlite3_stmt* st, const TColunas& c) {
              TNotaArquivo n = leNota(st, c);
              n.baseSubst = dinheiro(st, c["BaseCalculoSubst"]);
              n.icmsRetido = dinheiro(st, c["ICMSRetido"]);
              n.despAcessorias = dinheiro(st, c["DespAcessorias"]);
              const auto* mva = reinterpret_cast<const char*>(sqlite3_column_text(st, c["MVA"]));
              n.mva = mva ? QString::fromUtf8(mva) : QString();
              if (n.mva.isEmpty())
                  n.mva = QStringLiteral(" ");
              if (TemRegistro53(n, n.cfop.size() >= 2 && n.cfop[0].isDigit() && n.cfop[1].isDigit() ? QString() : descreveNota(n))) {
                  Registro53(m_registro, n, parte(sqlite3_column_int(st, c["IdEmtDest"]), [&n] { return descreveNota(n); }), codigo);
                  linha(saida, m_registro, QStringLiteral("53"));
              }
          });

    // The rate rows of the month's summaries in one pass, kept by summary in table order.
    QHash<int, QList<QPair<QString, Money>>> aliquotas;
    Sql::executa(db, QStringLiteral("SELECT B.IDCupomFiscal, B.Aliquota, B.ValorAcumulado FROM CUPOMFISCAL A JOIN "
                                    "CFALIQUOTA B ON B.IDCupomFiscal = A.IDCupomFiscal WHERE ") + doMes +
                         QStringLiteral("ORDER BY B.IDCFAliquota"),
                 p, nullptr, [&](sqlite3_stmt* st) {
                     aliquotas[sqlite3_column_int(st, 0)].append({texto(st, 1), dinheiro(st, 2)});
                 });
    secao(" - Registro 60", 5, QStringLiteral("SELECT * FROM CUPOMFISCAL A WHERE ") + doMes +
                                   QStringLiteral("ORDER BY A.DtEmissao, A.NumEquip, A.IDCupomFiscal"),
          [&](sqlite3_stmt* st, const TColunas& c) {
              TCupomArquivo cupom;
              cupom.dtEmissao = data(st, c["DtEmissao"]);
              cupom.numSerie = texto(st, c["NumSerie"]);
              cupom.numEquip = texto(st, c["NumEquip"]);
              cupom.modelo = texto(st, c["Modelo"]);
              cupom.cooInicial = sqlite3_column_int64(st, c["COOInicial"]);
              cupom.cooFinal = sqlite3_column_int64(st, c["COOFinal"]);
              cupom.crz = sqlite3_column_int64(st, c["CRZ"]);
              cupom.cro = sqlite3_column_int64(st, c["CRO"]);
              cupom.vendaBruta = dinheiro(st, c["VendaBruta"]);
              cupom.gtInicioDia = dinheiro(st, c["GTInicioDia"]);
              cupom.gtFimDia = dinheiro(st, c["GTFimDia"]);
              cupom.tIss = dinheiro(st, c["T_ISS"]);
              cupom.tF = dinheiro(st, c["T_F"]);
              cupom.tI = dinheiro(st, c["T_I"]);
              cupom.tN = dinheiro(st, c["T_N"]);
              cupom.tCanc = dinheiro(st, c["T_CANC"]);
              cupom.tDesc = dinheiro(st, c["T_DESC"]);
              linha(saida, Registro60M(cupom, codigo), QStringLiteral("60"));
              for (const auto& [rotulo, valor] : aliquotas.value(sqlite3_column_int(st, c["IDCupomFiscal"])))
                  linha(saida, Registro60A(cupom, rotulo, valor, codigo), QStringLiteral("60"));
              for (const auto& [rotulo, valor] : TotaisDoCupom(cupom))
                  linha(saida, Registro60A(cupom, rotulo, valor, codigo), QStringLiteral("60"));
          });
    secao(" - Registro 61", 5, QStringLiteral("SELECT * FROM NOTATALAO A WHERE ") + doMes +
                                   QStringLiteral("ORDER BY A.DtEmissao, A.IDNotaTalao"),
          [&](sqlite3_stmt* st, const TColunas& c) {
              TTalaoArquivo t;
              t.dtEmissao = data(st, c["DtEmissao"]);
              t.modelo = texto(st, c["Modelo"]);
              t.serie = texto(st, c["Serie"]);
              t.subSerie = texto(st, c["SubSerie"]);
              t.aliquota = texto(st, c["Aliquota"]);
              t.numeroInicial = sqlite3_column_int64(st, c["NumeroInicial"]);
              t.numeroFinal = sqlite3_column_int64(st, c["NumeroFinal"]);
              t.valorTotal = dinheiro(st, c["ValorTotal"]);
              t.baseIcms = dinheiro(st, c["BaseICMS"]);
              t.valorIcms = dinheiro(st, c["ValorICMS"]);
              t.isenta = dinheiro(st, c["Isenta"]);
              t.outras = dinheiro(st, c["Outras"]);
              linha(saida, Registro61(t), QStringLiteral("61"));
          });

    auto leTransporte = [](sqlite3_stmt* st, const TColunas& c) {
        TTransporteArquivo t;
        t.dtEmissao = data(st, c["DtEmissao"]);
        t.modelo = texto(st, c["Modelo"]);
        t.serie = texto(st, c["Serie"]);
        t.subSerie = texto(st, c["SubSerie"]);
        t.numero = texto(st, c["Numero"]);
        t.cfop = texto(st, c["Cfop"]);
        t.modalidade = texto(st, c["Modalidade"]);
        t.situacao = texto(st, c["Situacao"]);
        t.valorTotal = dinheiro(st, c["ValorTotal"]);
        t.baseIcms = dinheiro(st, c["BaseCalcIcms"]);
        t.valorIcms = dinheiro(st, c["ValorIcms"]);
        t.isenta = dinheiro(st, c["Isenta"]);
        t.outras = dinheiro(st, c["Outras"]);
        return t;
    };
    auto descreveTransporte = [](const TTransporteArquivo& t) {
        return QStringLiteral("conhecimento %1 de %2").arg(t.numero, t.dtEmissao.toString(QStringLiteral("dd/MM/yyyy")));
    };
    // A transport record that cannot be read stops the file like any other: a return file without its
    // transport documents would be handed in as complete.
    secao(" - Registro 70", 5, QStringLiteral("SELECT * FROM NFTRANSPORTE A WHERE ") + doMes +
                                   QStringLiteral("ORDER BY A.Modalidade, A.DtEmissao, A.IDNFTransporte"),
          [&](sqlite3_stmt* st, const TColunas& c) {
              const TTransporteArquivo t = leTransporte(st, c);
              linha(saida, Registro70(t, parte(sqlite3_column_int(st, c["IDEmitente"]), [&t, &descreveTransporte] { return descreveTransporte(t); }), codigo),
                    QStringLiteral("70"));
          });
    secao(" - Registro 71", 5, QStringLiteral("SELECT A.*, B.IDDestino, B.DtEmissao AS DtCarga, B.ModeloNF, B.SerieNF, "
                                              "B.SubSerieNF, B.NumNF, B.ValorNF FROM NFTRANSPORTE A JOIN NFCARGA B "
                                              "ON A.IdNFTransporte = B.IdNotaTransporte WHERE ") +
                                   doMes + QStringLiteral("ORDER BY A.Modalidade, A.DtEmissao, A.IDNFTransporte, B.IDNFCarga"),
          [&](sqlite3_stmt* st, const TColunas& c) {
              const TTransporteArquivo t = leTransporte(st, c);
              TCargaArquivo carga;
              carga.dtEmissao = data(st, c["DtCarga"]);
              carga.modeloNF = texto(st, c["ModeloNF"]);
              carga.serieNF = texto(st, c["SerieNF"]);
              carga.subSerieNF = texto(st, c["SubSerieNF"]);
              carga.numNF = texto(st, c["NumNF"]);
              carga.valorNF = dinheiro(st, c["ValorNF"]);
              const auto doc = [&t, &descreveTransporte] { return descreveTransporte(t); };
              // A cargo note may have no recipient chosen: its record carries a zero CNPJ and blank IE and UF.
              // A recipient key that names no row is a fault and stops the file.
              static const TParte semDestinatario;
              const int idDestino = sqlite3_column_int(st, c["IDDestino"]);
              linha(saida, Registro71(t, parte(sqlite3_column_int(st, c["IDEmitente"]), doc), carga,
                                      idDestino == 0 ? semDestinatario : parte(idDestino, doc), codigo),
                    QStringLiteral("71"));
          });
}

bool TGeradorArquivo::GravaArquivo(const QString& caminho, const QString& regime, const QString& periodo,
                                   int tipoDeclaracao, const QString& tipoPedido)
{
    m_erro.clear();
    m_contagem.clear();
    m_total = 0;
    m_pendente.clear();
    m_lote.clear();
    QSaveFile arquivo(caminho);
    TVerificadorArquivo verificador;
    m_verificador = &verificador;
    bool iniciado = false;
    try {
        int ano = 0, mes = 0;
        checaPeriodo(periodo, &ano, &mes);
        // The annual file is the year's: its period is December, or the current month of the current year.
        if (tipoDeclaracao == 4) {
            const QString devido = PeriodoDadosAnuais(periodo.left(4), m_relogio.hoje());
            if (periodo != devido)
                throw EArquivoInvalido(QString::fromUtf8("O arquivo de dados anuais de %1 é do período %2/%3, não de %4/%5.")
                                           .arg(periodo.left(4), devido.mid(4, 2), devido.left(4), periodo.mid(4, 2),
                                                periodo.left(4)));
        }
        // The declaration first: its type gives record 10's finality, and its records 88 are built before a
        // byte is written, so a value they cannot carry stops the file at once.
        TDeclaracaoArquivo declaracao =
            CarregaDeclaracaoArquivo(m_dtm, m_idAtivo, tipoDeclaracao, periodo, tipoPedido, regime, QString());
        const QString tipo = declaracao.letraTipo == QLatin1String("N") ? QStringLiteral("1") : QStringLiteral("2");
        const TCabecalho c = cabecalho(periodo, tipoDeclaracao, tipo);
        declaracao.ie = c.ie;
        const QList<QStringList> registros88 = Registros88(declaracao);

        if (!arquivo.open(QIODevice::WriteOnly))
            throw EArquivoInvalido(arquivo.errorString());
        m_progresso.inicia();
        iniciado = true;
        m_progresso.mensagem(c.nome + QStringLiteral(" - Registro 10"));
        linha(arquivo, c.registro10, QString());
        m_progresso.posicao(5);
        m_progresso.mensagem(c.nome + QStringLiteral(" - Registro 11"));
        linha(arquivo, c.registro11, QString());
        m_progresso.posicao(8);
        if (tipoDeclaracao != 4) {
            carregaPartes();
            escreveDocumentos(arquivo, c.nome, c.ano, c.mes, c.codigo);
            m_progresso.mensagem(c.nome + QStringLiteral(" - Registro 88"));
        }
        int passo = 5;
        for (const QStringList& grupo : registros88) {
            m_progresso.posicao(++passo);
            for (const QString& r : grupo)
                linha(arquivo, r, QStringLiteral("88"));
        }
        linha(arquivo, Registro90(c.contribuinte.cnpj, c.contribuinte.ccicms, m_total, m_contagem), QString());
        grava(arquivo, m_lote);
        grava(arquivo, m_pendente);
        m_lote.clear();
        m_pendente.clear();
        // A file the authority's validator would refuse is our defect, never the taxpayer's to deliver.
        const QList<TFalhaArquivo> falhas = verificador.conclui();
        if (!falhas.isEmpty())
            throw EArquivoInvalido(QString::fromUtf8("O arquivo gerado não passou na verificação e não foi gravado: %1.")
                                       .arg(falhas.first().texto()));
        if (!arquivo.commit())
            throw EArquivoInvalido(arquivo.errorString());
        m_verificador = nullptr;
        varreAte100(passo);
        m_progresso.termina();
        return true;
    } catch (const EArquivoInvalido& e) {
        m_erro = e.mensagem();
    } catch (const EBancoDados& e) {
        m_erro = e.mensagem();
    }
    m_verificador = nullptr;
    arquivo.cancelWriting();
    if (iniciado)
        m_progresso.termina();
    if (MostraErros)
        m_dialogos.mensagemSimples(m_erro);
    return false;
}
