#include "nfe/untImportaNFe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <array>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <sqlite3.h>
#include <zip.h>

#include "core/DialogsNew.h"
#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "documents/untCfop.h"
#include "documents/untClsNotaFiscal.h"
#include "documents/untRegrasNotaFiscal.h"
#include "registers/untClsContribuinte.h"
#include "registers/untRegrasCadastro.h"

int DigitoChaveNFe(const QString& primeiros43)
{
    if (primeiros43.size() != 43)
        return -1;
    int soma = 0;
    int peso = 2;
    for (int i = 42; i >= 0; --i) {
        const QChar c = primeiros43[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        soma += (c.unicode() - '0') * peso;
        peso = peso == 9 ? 2 : peso + 1;
    }
    const int resto = soma % 11;
    return resto < 2 ? 0 : 11 - resto;
}

bool ChaveNFeValida(const QString& chave)
{
    if (chave.size() != 44)
        return false;
    const int dv = DigitoChaveNFe(chave.left(43));
    return dv >= 0 && chave[43] == QLatin1Char(char('0' + dv));
}

namespace {

// ----- a small tree of the document, so that the mapping reads by path instead of by parser state

// Deeper nesting than any invoice has is refused: it serves no purpose but to exhaust the reader.
constexpr int kProfundidadeMaxima = 64;

struct TNo {
    QString nome; // local name, namespace left aside
    QString texto;
    QHash<QString, QString> atributos;
    // The children as a chain through the flat list (no list of their own to allocate for each node).
    int primeiro = -1, ultimo = -1, proximo = -1;
};

// Nodes live in one flat list (index 0 is the root element), so that destroying even a large tree never
// recurses.
class TArvore {
public:
    QList<TNo> nos;

    const TNo* raiz() const { return nos.isEmpty() ? nullptr : &nos[0]; }
    const TNo* filho(const TNo* no, const QString& nome) const
    {
        if (!no)
            return nullptr;
        for (int i = no->primeiro; i >= 0; i = nos[i].proximo)
            if (nos[i].nome == nome)
                return &nos[i];
        return nullptr;
    }
    QList<const TNo*> filhos(const TNo* no, const QString& nome = {}) const
    {
        QList<const TNo*> r;
        if (no)
            for (int i = no->primeiro; i >= 0; i = nos[i].proximo)
                if (nome.isEmpty() || nos[i].nome == nome)
                    r << &nos[i];
        return r;
    }
    // "a/b/c" from `no`, each step the first child of that name.
    const TNo* caminho(const TNo* no, const QString& caminho) const
    {
        for (const QStringView passo : QStringView(caminho).tokenize(u'/')) {
            if (!no)
                return nullptr;
            const TNo* achado = nullptr;
            for (int i = no->primeiro; i >= 0; i = nos[i].proximo)
                if (nos[i].nome == passo) {
                    achado = &nos[i];
                    break;
                }
            no = achado;
        }
        return no;
    }
    QString texto(const TNo* no, const QString& c) const
    {
        const TNo* n = caminho(no, c);
        return n ? n->texto.trimmed() : QString();
    }
};

// Empty on success, otherwise why the bytes are no document we read.
QString leArvore(const QByteArray& bytes, TArvore& a)
{
    if (bytes.trimmed().isEmpty())
        return QStringLiteral("arquivo vazio");
    QXmlStreamReader r(bytes);
    r.setNamespaceProcessing(true);
    QList<int> pilha;
    bool algumElemento = false;
    // Notes repeat the same few dozen names, and many short values ("0", "1", "100.00", their codes), item
    // after item and file after file: a small table of the last ones seen, found by a cheap sum of the text's
    // length and a few of its characters, shares them instead of allocating each again.
    thread_local std::array<QString, 1024> comuns;
    auto comum = [](QStringView v) {
        if (v.isEmpty() || v.size() > 24)
            return v.toString();
        const size_t h = size_t(v.size()) * 131 + v.front().unicode() * 31 + v.back().unicode() * 7 +
                         v[v.size() / 2].unicode();
        QString& visto = comuns[h % comuns.size()];
        if (visto != v)
            visto = v.toString();
        return visto;
    };
    a.nos.reserve(bytes.size() / 48 + 16);
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::DTD:
            // Entities are never resolved: a document that declares any is refused outright.
            return QString::fromUtf8("o XML traz declaração de DTD ou de entidades, que não é aceita");
        case QXmlStreamReader::EntityReference:
            return QString::fromUtf8("o XML traz referência a entidade, que não é aceita");
        case QXmlStreamReader::StartElement: {
            if (pilha.size() >= kProfundidadeMaxima)
                return QString::fromUtf8("o XML tem elementos aninhados demais");
            TNo no;
            no.nome = comum(r.name());
            for (const QXmlStreamAttribute& at : r.attributes())
                no.atributos.insert(comum(at.name()), at.value().toString());
            const int i = int(a.nos.size());
            a.nos.append(std::move(no));
            if (!pilha.isEmpty()) {
                TNo& pai = a.nos[pilha.last()];
                (pai.ultimo < 0 ? pai.primeiro : a.nos[pai.ultimo].proximo) = i;
                pai.ultimo = i;
            }
            pilha.append(i);
            algumElemento = true;
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!pilha.isEmpty())
                pilha.removeLast();
            break;
        case QXmlStreamReader::Characters:
            if (!pilha.isEmpty() && !r.isWhitespace()) {
                QString& texto = a.nos[pilha.last()].texto;
                if (texto.isEmpty())
                    texto = comum(r.text());
                else
                    texto += r.text();
            }
            break;
        default:
            break;
        }
    }
    if (r.hasError()) {
        if (!algumElemento)
            return QString::fromUtf8("não é um arquivo XML");
        if (r.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            return QString::fromUtf8("XML incompleto: o arquivo termina antes do fim do documento");
        return QString::fromUtf8("XML malformado na linha %1: %2").arg(r.lineNumber()).arg(r.errorString());
    }
    if (!algumElemento)
        return QString::fromUtf8("não é um arquivo XML");
    return {};
}

// ----- what a file says

struct TParteLida {
    bool presente = false;
    QString cnpj, cpf, idEstrangeiro;
    QString nome, ie;
    QString logradouro, numero, complemento, bairro, municipio, cep, uf, pais;
    QString documento() const { return !cnpj.isEmpty() ? cnpj : cpf; }
};

struct TItemLido {
    int numero = 0;
    QString cfop, cst, csosn;
    Money aliquota; // percent
    // What the item adds to the invoice total apart from the import duty and the relieved ICMS, which the
    // emitters' totals take in or leave out (see TComposicao).
    Money valor;
    Money ii, desonerado;
    Money base, icms, ipi, baseSt, icmsSt, fcpSt;
    Money valorEm(bool comII, bool menosDesonerado) const
    {
        return valor + (comII ? ii : Money()) - (menosDesonerado ? desonerado : Money());
    }
};

struct TNotaLida {
    QString chave, modelo, serie, numero, tpNF;
    QDate emissao;
    TParteLida emissor, dest;
    QList<TItemLido> itens;
    Money vNF;
    bool denegada = false;
    bool cancelada = false;   // the processed file carries its own registered cancellation
    bool autorizada = false;  // came with the authority's protocol, which has checked vNF
};

struct TEventoLido {
    QString chave;
};

struct TDocumentoLido {
    enum class Tipo { Recusado, Ignorado, Nota, Cancelamento } tipo = Tipo::Recusado;
    QString motivo;
    TNotaLida nota;
    TEventoLido evento;
};

// Amounts as the layout writes them: digits with an optional point and up to four decimals.
std::optional<Money> valorXml(const QString& texto)
{
    // Read by hand: a note has a few hundred amounts, and this runs for each.
    qint64 inteiro = 0, fracao = 0;
    int digitos = 0, decimais = 0;
    qsizetype i = 0;
    for (; i < texto.size() && texto[i].isDigit() && texto[i].unicode() < 128; ++i, ++digitos)
        inteiro = inteiro * 10 + (texto[i].unicode() - '0');
    if (digitos < 1 || digitos > 13)
        return std::nullopt;
    if (i < texto.size()) {
        if (texto[i] != QLatin1Char('.'))
            return std::nullopt;
        for (++i; i < texto.size() && texto[i].isDigit() && texto[i].unicode() < 128; ++i, ++decimais)
            fracao = fracao * 10 + (texto[i].unicode() - '0');
        if (decimais < 1 || decimais > 4 || i < texto.size())
            return std::nullopt;
    }
    for (int d = decimais; d < 4; ++d)
        fracao *= 10;
    return Money::fromRaw(inteiro * Money::Escala + fracao);
}

struct ELeitura {
    QString motivo;
    bool ignorado = false; // a document of a kind the register does not take, not a faulty one
};

class TLeitorNota {
public:
    explicit TLeitorNota(const TArvore& a) : m_a(a) {}

    QString obrigatorio(const TNo* no, const QString& caminho, const QString& onde) const
    {
        const QString t = m_a.texto(no, caminho);
        if (t.isEmpty())
            throw ELeitura{QString::fromUtf8("falta o campo %1/%2").arg(onde, caminho)};
        return t;
    }
    Money valor(const TNo* no, const QString& caminho, const QString& onde) const
    {
        const QString t = m_a.texto(no, caminho);
        if (t.isEmpty())
            return {};
        const std::optional<Money> v = valorXml(t);
        if (!v)
            throw ELeitura{QString::fromUtf8("valor inválido em %1/%2: \"%3\"").arg(onde, caminho, t)};
        return *v;
    }

    TParteLida parte(const TNo* no, const QString& endereco) const
    {
        TParteLida p;
        if (!no)
            return p;
        p.presente = true;
        p.cnpj = m_a.texto(no, QStringLiteral("CNPJ"));
        p.cpf = m_a.texto(no, QStringLiteral("CPF"));
        p.idEstrangeiro = m_a.texto(no, QStringLiteral("idEstrangeiro"));
        p.nome = m_a.texto(no, QStringLiteral("xNome"));
        // The register stores the registration without its separators, as the masked field gives it.
        static const QRegularExpression separadores(QStringLiteral("[\\s./-]"));
        p.ie = m_a.texto(no, QStringLiteral("IE")).remove(separadores).toUpper();
        const TNo* e = m_a.filho(no, endereco);
        p.logradouro = m_a.texto(e, QStringLiteral("xLgr"));
        p.numero = m_a.texto(e, QStringLiteral("nro"));
        p.complemento = m_a.texto(e, QStringLiteral("xCpl"));
        p.bairro = m_a.texto(e, QStringLiteral("xBairro"));
        p.municipio = m_a.texto(e, QStringLiteral("xMun"));
        p.cep = m_a.texto(e, QStringLiteral("CEP"));
        p.uf = m_a.texto(e, QStringLiteral("UF")).toUpper();
        p.pais = m_a.texto(e, QStringLiteral("xPais"));
        // Abroad is marked by the foreign identification (an empty one is allowed) or by the state "EX".
        if (m_a.filho(no, QStringLiteral("idEstrangeiro")))
            p.uf = QStringLiteral("EX");
        return p;
    }

    TItemLido item(const TNo* det) const
    {
        TItemLido it;
        it.numero = det->atributos.value(QStringLiteral("nItem")).toInt();
        const QString onde = QStringLiteral("item %1").arg(it.numero);
        const TNo* prod = m_a.filho(det, QStringLiteral("prod"));
        if (!prod)
            throw ELeitura{QString::fromUtf8("falta o campo prod do %1").arg(onde)};
        it.cfop = obrigatorio(prod, QStringLiteral("CFOP"), onde + QStringLiteral("/prod"));
        static const QRegularExpression quatroDigitos(QStringLiteral("^[1-7]\\d{3}$"));
        if (!quatroDigitos.match(it.cfop).hasMatch())
            throw ELeitura{QString::fromUtf8("CFOP inválido no %1: \"%2\"").arg(onde, it.cfop)};
        const QString p = onde + QStringLiteral("/prod");
        const Money vProd = valor(prod, QStringLiteral("vProd"), p);
        const Money vFrete = valor(prod, QStringLiteral("vFrete"), p);
        const Money vSeg = valor(prod, QStringLiteral("vSeg"), p);
        const Money vOutro = valor(prod, QStringLiteral("vOutro"), p);
        const Money vDesc = valor(prod, QStringLiteral("vDesc"), p);

        const TNo* imposto = m_a.filho(det, QStringLiteral("imposto"));
        const QList<const TNo*> grupos = m_a.filhos(m_a.filho(imposto, QStringLiteral("ICMS")));
        const TNo* icms = grupos.value(0);
        if (!icms)
            throw ELeitura{QString::fromUtf8("falta o grupo do ICMS no %1").arg(onde)};
        const QString i = onde + QStringLiteral("/ICMS");
        it.cst = m_a.texto(icms, QStringLiteral("CST"));
        it.csosn = m_a.texto(icms, QStringLiteral("CSOSN"));
        if (it.cst.isEmpty() && it.csosn.isEmpty())
            throw ELeitura{QString::fromUtf8("falta o CST ou o CSOSN do ICMS no %1").arg(onde)};
        it.base = valor(icms, QStringLiteral("vBC"), i);
        it.icms = valor(icms, QStringLiteral("vICMS"), i);
        it.baseSt = valor(icms, QStringLiteral("vBCST"), i);
        it.icmsSt = valor(icms, QStringLiteral("vICMSST"), i);
        // Absent from layout 3.10, and so zero there.
        it.fcpSt = valor(icms, QStringLiteral("vFCPST"), i);
        it.desonerado = valor(icms, QStringLiteral("vICMSDeson"), i);
        if (!it.base.isZero())
            it.aliquota = valor(icms, QStringLiteral("pICMS"), i);
        it.ipi = valor(imposto, QStringLiteral("IPI/IPITrib/vIPI"), onde);
        it.ii = valor(imposto, QStringLiteral("II/vII"), onde);
        const Money ipiDevolvido = valor(det, QStringLiteral("impostoDevol/IPI/vIPIDevol"), onde);
        // What the item adds to the invoice total. The ICMS a substitute withheld earlier (CST 60) is not in
        // it: only the substitution charged on this invoice is. The IPI given back on a return counts as IPI.
        it.ipi += ipiDevolvido;
        it.valor = vProd + vFrete + vSeg + vOutro - vDesc + it.ipi + it.icmsSt + it.fcpSt;
        return it;
    }

    TNotaLida nota(const TNo* infNFe) const
    {
        TNotaLida n;
        // Layout 3.10 was in use until 2019 and the register keeps periods that far back; its tags are those
        // of 4.00, and what it lacks (the poverty fund, for one) reads as absent.
        const QString versao = infNFe->atributos.value(QStringLiteral("versao"));
        if (versao != QLatin1String("4.00") && versao != QLatin1String("3.10"))
            throw ELeitura{QString::fromUtf8("leiaute %1 da NF-e não é lido (somente o 3.10 e o 4.00)")
                               .arg(versao.isEmpty() ? QStringLiteral("sem versão") : versao)};
        const QString id = infNFe->atributos.value(QStringLiteral("Id"));
        n.chave = id.startsWith(QLatin1String("NFe")) ? id.mid(3) : id;
        static const QRegularExpression digitos44(QStringLiteral("^\\d{44}$"));
        if (!digitos44.match(n.chave).hasMatch())
            throw ELeitura{QString::fromUtf8("chave de acesso ausente ou sem 44 dígitos: \"%1\"").arg(id)};
        if (!ChaveNFeValida(n.chave))
            throw ELeitura{QString::fromUtf8("chave de acesso %1 com dígito verificador errado").arg(n.chave)};

        const TNo* ide = m_a.filho(infNFe, QStringLiteral("ide"));
        const QString onde = QStringLiteral("ide");
        n.modelo = obrigatorio(ide, QStringLiteral("mod"), onde);
        if (n.modelo == QLatin1String("65"))
            throw ELeitura{QString::fromUtf8("NFC-e (modelo 65): não é NF-e de modelo 55, não entra no registro de "
                                             "notas fiscais"),
                           true};
        if (n.modelo != QLatin1String("55"))
            throw ELeitura{QString::fromUtf8("modelo %1 não é lançado no registro de notas fiscais (somente o 55)")
                               .arg(n.modelo)};
        // A note of the test environment has no fiscal value whatever else it says.
        if (m_a.texto(ide, QStringLiteral("tpAmb")) == QLatin1String("2"))
            throw ELeitura{QString::fromUtf8("nota emitida em ambiente de homologação (tpAmb 2), SEM VALOR FISCAL")};
        n.serie = obrigatorio(ide, QStringLiteral("serie"), onde);
        n.numero = obrigatorio(ide, QStringLiteral("nNF"), onde);
        static const QRegularExpression soDigitos(QStringLiteral("^\\d{1,9}$"));
        if (!soDigitos.match(n.serie).hasMatch() || !soDigitos.match(n.numero).hasMatch())
            throw ELeitura{QString::fromUtf8("série ou número da nota inválido")};
        n.serie = QString::number(n.serie.toInt());
        n.numero = QString::number(n.numero.toInt());
        // The key repeats model, series and number: a file whose parts disagree was altered.
        if (n.chave.mid(20, 2) != n.modelo || n.chave.mid(22, 3).toInt() != n.serie.toInt() ||
            n.chave.mid(25, 9).toInt() != n.numero.toInt())
            throw ELeitura{QString::fromUtf8("a chave de acesso não confere com o modelo, a série e o número da nota")};
        n.tpNF = obrigatorio(ide, QStringLiteral("tpNF"), onde);
        if (n.tpNF != QLatin1String("0") && n.tpNF != QLatin1String("1"))
            throw ELeitura{QString::fromUtf8("tipo da nota (tpNF) inválido: \"%1\"").arg(n.tpNF)};
        const QString dhEmi = obrigatorio(ide, QStringLiteral("dhEmi"), onde);
        // The date as written, in the emitter's own offset: converting it would move a late-evening note
        // into the next day.
        static const QRegularExpression momento(
            QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})T\\d{2}:\\d{2}:\\d{2}(?:[+-]\\d{2}:\\d{2}|Z)?$"));
        const QRegularExpressionMatch m = momento.match(dhEmi);
        n.emissao = m.hasMatch() ? QDate::fromString(m.captured(1), Qt::ISODate) : QDate();
        if (!n.emissao.isValid())
            throw ELeitura{QString::fromUtf8("data de emissão inválida: \"%1\"").arg(dhEmi)};

        n.emissor = parte(m_a.filho(infNFe, QStringLiteral("emit")), QStringLiteral("enderEmit"));
        n.dest = parte(m_a.filho(infNFe, QStringLiteral("dest")), QStringLiteral("enderDest"));
        if (!n.emissor.presente || n.emissor.documento().isEmpty())
            throw ELeitura{QString::fromUtf8("falta o CNPJ ou CPF do emitente")};

        for (const TNo* det : m_a.filhos(infNFe, QStringLiteral("det")))
            n.itens << item(det);
        if (n.itens.isEmpty())
            throw ELeitura{QString::fromUtf8("a nota não tem itens")};
        const QString total = obrigatorio(infNFe, QStringLiteral("total/ICMSTot/vNF"), QStringLiteral("total"));
        const std::optional<Money> vNF = valorXml(total);
        if (!vNF)
            throw ELeitura{QString::fromUtf8("valor inválido em total/ICMSTot/vNF: \"%1\"").arg(total)};
        n.vNF = *vNF;
        return n;
    }

private:
    const TArvore& m_a;
};

TDocumentoLido recusa(const QString& motivo)
{
    TDocumentoLido d;
    d.motivo = motivo;
    return d;
}

TDocumentoLido ignora(const QString& motivo)
{
    TDocumentoLido d;
    d.tipo = TDocumentoLido::Tipo::Ignorado;
    d.motivo = motivo;
    return d;
}

const QString kCancelamento = QStringLiteral("110111");

// Registered (135), registered without a link (136) or accepted late (155): any other answer means the
// event did not happen.
bool eventoRegistrado(const QString& cStat)
{
    static const QStringList registrado = {QStringLiteral("135"), QStringLiteral("136"), QStringLiteral("155")};
    return registrado.contains(cStat);
}

QString nomeDoEvento(const QString& tipo)
{
    static const QHash<QString, QString> nomes = {
        {QStringLiteral("110110"), QString::fromUtf8("carta de correção")},
        {QStringLiteral("110112"), QString::fromUtf8("cancelamento por substituição")},
        {QStringLiteral("110140"), QString::fromUtf8("EPEC")},
        {QStringLiteral("210200"), QString::fromUtf8("confirmação da operação")},
        {QStringLiteral("210210"), QString::fromUtf8("ciência da operação")},
        {QStringLiteral("210220"), QString::fromUtf8("desconhecimento da operação")},
        {QStringLiteral("210240"), QString::fromUtf8("operação não realizada")},
    };
    const QString nome = nomes.value(tipo);
    return nome.isEmpty() ? QStringLiteral("evento %1").arg(tipo) : QStringLiteral("evento %1 (%2)").arg(tipo, nome);
}

// Whether a processed note carries its own registered cancellation: an event (procEventoNFe) or the
// authority's answer to one (retEvento) appended to the file, for this access key.
bool trazCancelamento(const TArvore& a, const QString& chave)
{
    for (const TNo& no : a.nos) {
        QString tipo, chaveEvento, cStat;
        if (no.nome == QLatin1String("procEventoNFe")) {
            const TNo* inf = a.caminho(&no, QStringLiteral("evento/infEvento"));
            tipo = a.texto(inf, QStringLiteral("tpEvento"));
            chaveEvento = a.texto(inf, QStringLiteral("chNFe"));
            cStat = a.texto(&no, QStringLiteral("retEvento/infEvento/cStat"));
        } else if (no.nome == QLatin1String("retEvento")) {
            const TNo* inf = a.filho(&no, QStringLiteral("infEvento"));
            tipo = a.texto(inf, QStringLiteral("tpEvento"));
            chaveEvento = a.texto(inf, QStringLiteral("chNFe"));
            cStat = a.texto(inf, QStringLiteral("cStat"));
        } else {
            continue;
        }
        if (tipo == kCancelamento && chaveEvento == chave && eventoRegistrado(cStat))
            return true;
    }
    return false;
}

TDocumentoLido leDocumento(const QByteArray& bytes)
{
    TArvore a;
    if (const QString motivo = leArvore(bytes, a); !motivo.isEmpty())
        return recusa(motivo);
    const TNo* raiz = a.raiz();
    TLeitorNota leitor(a);
    try {
        TDocumentoLido d;
        if (raiz->nome == QLatin1String("nfeProc") || raiz->nome == QLatin1String("NFe")) {
            const TNo* nfe = raiz->nome == QLatin1String("NFe") ? raiz : a.filho(raiz, QStringLiteral("NFe"));
            const TNo* infNFe = a.filho(nfe, QStringLiteral("infNFe"));
            if (!infNFe)
                return recusa(QString::fromUtf8("falta o grupo infNFe da nota"));
            d.tipo = TDocumentoLido::Tipo::Nota;
            d.nota = leitor.nota(infNFe);
            if (raiz->nome == QLatin1String("nfeProc")) {
                const TNo* prot = a.caminho(raiz, QStringLiteral("protNFe/infProt"));
                if (!prot)
                    return recusa(QString::fromUtf8("falta o protocolo (protNFe) da nota processada"));
                const QString cStat = a.texto(prot, QStringLiteral("cStat"));
                if (a.texto(prot, QStringLiteral("chNFe")) != d.nota.chave)
                    return recusa(QString::fromUtf8("o protocolo é de outra chave de acesso"));
                static const QStringList autorizada = {QStringLiteral("100"), QStringLiteral("150")};
                static const QStringList denegada = {QStringLiteral("110"), QStringLiteral("301"), QStringLiteral("302")};
                if (denegada.contains(cStat))
                    d.nota.denegada = true;
                else if (!autorizada.contains(cStat))
                    return recusa(QString::fromUtf8("o protocolo não autoriza a nota (situação %1)").arg(cStat));
                d.nota.autorizada = !d.nota.denegada;
                d.nota.cancelada = trazCancelamento(a, d.nota.chave);
            }
            return d;
        }
        if (raiz->nome == QLatin1String("procEventoNFe")) {
            const TNo* inf = a.caminho(raiz, QStringLiteral("evento/infEvento"));
            const QString tipo = a.texto(inf, QStringLiteral("tpEvento"));
            const QString chave = a.texto(inf, QStringLiteral("chNFe"));
            if (tipo.isEmpty())
                return recusa(QString::fromUtf8("evento sem tipo (tpEvento)"));
            if (tipo != kCancelamento)
                return ignora(QString::fromUtf8("%1: não altera o registro de notas fiscais").arg(nomeDoEvento(tipo)));
            d.tipo = TDocumentoLido::Tipo::Cancelamento;
            d.evento.chave = chave;
            if (!ChaveNFeValida(d.evento.chave))
                return recusa(QString::fromUtf8("chave de acesso %1 do cancelamento inválida").arg(d.evento.chave));
            if (d.evento.chave.mid(20, 2) == QLatin1String("65"))
                return ignora(QString::fromUtf8("cancelamento de NFC-e (modelo 65): não é NF-e de modelo 55"));
            if (a.texto(inf, QStringLiteral("tpAmb")) == QLatin1String("2"))
                return recusa(QString::fromUtf8("evento de ambiente de homologação (tpAmb 2), SEM VALOR FISCAL"));
            const QString cStat = a.texto(raiz, QStringLiteral("retEvento/infEvento/cStat"));
            if (!eventoRegistrado(cStat))
                return recusa(QString::fromUtf8("cancelamento não registrado (situação %1)")
                                  .arg(cStat.isEmpty() ? QStringLiteral("ausente") : cStat));
            return d;
        }
        // What the authority's distribution service hands out besides whole notes: summaries and the
        // service's own envelopes. They are not faults of the batch, only nothing to book.
        static const QStringList distribuicao = {QStringLiteral("resNFe"), QStringLiteral("resEvento"),
                                                 QStringLiteral("retDistDFeInt"), QStringLiteral("distDFeInt")};
        if (distribuicao.contains(raiz->nome))
            return ignora(QString::fromUtf8("documento de distribuição <%1>: não é NF-e de modelo 55").arg(raiz->nome));
        return recusa(QString::fromUtf8("XML de outro tipo (<%1>): não é NF-e nem evento de cancelamento").arg(raiz->nome));
    } catch (const ELeitura& e) {
        return e.ignorado ? ignora(e.motivo) : recusa(e.motivo);
    }
}

// ----- inputs, read one at a time

QString mensagemGrande() { return QString::fromUtf8("arquivo maior que %1 MB").arg(kMaiorArquivoNFe / (1024 * 1024)); }

// One input found and not yet read: a file on disk or an entry of a zip archive. Listing a batch costs no
// more than its names; the bytes are read when the input's turn comes, and let go after it.
struct TEntrada {
    QString nome;
    QString caminho;       // the file, or the archive
    qint64 indiceZip = -1; // the entry's index in the archive; -1 for a file
    QString recusa;        // already unreadable when listed
};

bool ehZip(const QString& caminho)
{
    if (caminho.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        return true;
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) && f.read(4) == QByteArray("PK\x03\x04", 4);
}

void listaZip(const QString& caminho, const QString& nome, QList<TEntrada>& r)
{
    int codigo = 0;
    zip_t* z = zip_open(QFile::encodeName(caminho).constData(), ZIP_RDONLY, &codigo);
    if (!z) {
        r << TEntrada{nome, caminho, -1, QString::fromUtf8("arquivo zip ilegível")};
        return;
    }
    const zip_int64_t total = zip_get_num_entries(z, 0);
    bool algum = false;
    for (zip_int64_t i = 0; i < total; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            continue;
        const QString entrada = QString::fromUtf8(st.name);
        if (entrada.endsWith(QLatin1Char('/')) || !entrada.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive))
            continue;
        algum = true;
        TEntrada e{nome + QLatin1Char(':') + entrada, caminho, i, {}};
        if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(kMaiorArquivoNFe))
            e.recusa = mensagemGrande();
        r << e;
    }
    zip_discard(z);
    if (!algum)
        r << TEntrada{nome, caminho, -1, QString::fromUtf8("o arquivo zip não tem arquivos XML")};
}

void listaArquivo(const QString& caminho, const QString& nome, QList<TEntrada>& r)
{
    if (ehZip(caminho)) {
        listaZip(caminho, nome, r);
        return;
    }
    TEntrada e{nome, caminho, -1, {}};
    if (QFileInfo(caminho).size() > kMaiorArquivoNFe)
        e.recusa = mensagemGrande();
    r << e;
}

QList<TEntrada> listaEntradas(const QStringList& caminhos)
{
    QList<TEntrada> r;
    for (const QString& caminho : caminhos) {
        const QFileInfo info(caminho);
        if (info.isDir()) {
            const QDir pasta(caminho);
            const QStringList nomes = pasta.entryList({QStringLiteral("*.xml"), QStringLiteral("*.zip")},
                                                      QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
            if (nomes.isEmpty())
                r << TEntrada{caminho, caminho, -1, QString::fromUtf8("a pasta não tem arquivos XML nem zip")};
            for (const QString& n : nomes)
                listaArquivo(pasta.filePath(n), pasta.filePath(n), r);
        } else if (info.isFile()) {
            listaArquivo(caminho, caminho, r);
        } else {
            r << TEntrada{caminho, caminho, -1, QString::fromUtf8("arquivo não encontrado")};
        }
    }
    return r;
}

// The inputs of a batch, each read when asked for: `limite` bytes of its start, or (with -1) the whole input,
// refused past kMaiorArquivoNFe.
class TFonte {
public:
    virtual ~TFonte() = default;
    virtual int total() const = 0;
    virtual QString nome(int i) const = 0;
    virtual TArquivoNFe le(int i, qint64 limite) = 0;
};

// Inputs already in memory.
class TFonteMemoria final : public TFonte {
public:
    explicit TFonteMemoria(const QList<TArquivoNFe>& a) : m_a(a) {}
    int total() const override { return int(m_a.size()); }
    QString nome(int i) const override { return m_a[i].nome; }
    TArquivoNFe le(int i, qint64 limite) override
    {
        TArquivoNFe a = m_a[i];
        if (limite >= 0 && a.conteudo.size() > limite)
            a.conteudo.truncate(limite);
        return a;
    }

private:
    const QList<TArquivoNFe>& m_a;
};

// Files, folders and zip archives on disk. The archive being read stays open: its entries come one after
// another.
class TFonteDisco final : public TFonte {
public:
    explicit TFonteDisco(const QStringList& caminhos) : m_entradas(listaEntradas(caminhos)) {}
    ~TFonteDisco() override { fechaZip(); }
    TFonteDisco(const TFonteDisco&) = delete;
    TFonteDisco& operator=(const TFonteDisco&) = delete;

    int total() const override { return int(m_entradas.size()); }
    QString nome(int i) const override { return m_entradas[i].nome; }
    TArquivoNFe le(int i, qint64 limite) override
    {
        const TEntrada& e = m_entradas[i];
        TArquivoNFe a{e.nome, {}, e.recusa};
        if (!a.recusa.isEmpty())
            return a;
        if (e.indiceZip >= 0)
            leDoZip(e, limite, a);
        else
            leDoArquivo(e, limite, a);
        if (!a.recusa.isEmpty())
            a.conteudo.clear();
        return a;
    }

private:
    void fechaZip()
    {
        if (m_zip)
            zip_discard(m_zip);
        m_zip = nullptr;
        m_caminhoZip.clear();
    }

    void leDoZip(const TEntrada& e, qint64 limite, TArquivoNFe& a)
    {
        if (m_caminhoZip != e.caminho) {
            fechaZip();
            int codigo = 0;
            m_zip = zip_open(QFile::encodeName(e.caminho).constData(), ZIP_RDONLY, &codigo);
            if (!m_zip) {
                a.recusa = QString::fromUtf8("arquivo zip ilegível");
                return;
            }
            m_caminhoZip = e.caminho;
        }
        zip_file_t* f = zip_fopen_index(m_zip, zip_uint64_t(e.indiceZip), 0);
        if (!f) {
            a.recusa = QString::fromUtf8("entrada do zip ilegível (cifrada ou danificada)");
            return;
        }
        // The stated size may lie: the reading itself stops one byte past the limit.
        const qint64 maximo = limite >= 0 ? limite : kMaiorArquivoNFe + 1;
        char bloco[65536];
        while (a.conteudo.size() < maximo) {
            const zip_int64_t lidos =
                zip_fread(f, bloco, zip_uint64_t(qMin<qint64>(qint64(sizeof bloco), maximo - a.conteudo.size())));
            if (lidos < 0) {
                a.recusa = QString::fromUtf8("entrada do zip danificada");
                break;
            }
            if (lidos == 0)
                break;
            a.conteudo.append(bloco, qsizetype(lidos));
        }
        if (limite < 0 && a.conteudo.size() > kMaiorArquivoNFe)
            a.recusa = mensagemGrande();
        zip_fclose(f);
    }

    static void leDoArquivo(const TEntrada& e, qint64 limite, TArquivoNFe& a)
    {
        QFile f(e.caminho);
        if (!f.open(QIODevice::ReadOnly)) {
            a.recusa = QString::fromUtf8("arquivo ilegível: %1").arg(f.errorString());
            return;
        }
        a.conteudo = f.read(limite >= 0 ? limite : kMaiorArquivoNFe + 1);
        if (limite < 0 && a.conteudo.size() > kMaiorArquivoNFe)
            a.recusa = mensagemGrande();
    }

    QList<TEntrada> m_entradas;
    zip_t* m_zip = nullptr;
    QString m_caminhoZip;
};

} // namespace

QList<TArquivoNFe> LeEntradasNFe(const QStringList& caminhos)
{
    TFonteDisco fonte(caminhos);
    QList<TArquivoNFe> r;
    for (int i = 0; i < fonte.total(); ++i)
        r << fonte.le(i, -1);
    return r;
}

namespace {

// ----- writing

// The writing path speaks to a screen; here its messages become the file's reason.
class TDialogosAnotados final : public IDialogos {
public:
    QStringList textos;
    Botao mostraMensagem(const TPedidoMensagem& p) override
    {
        textos << p.texto;
        return p.cancela != Botao::Nenhum ? p.cancela : Botao::Ok;
    }
    bool confirmaExclusao(const QString&) override { return false; }
    void mensagemSimples(const QString& texto) override { textos << texto; }
    QString salvarArquivo(const QString&, const QString&, const QString&) override { return {}; }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    bool abrirAssociado(const QString&) override { return false; }
    int executaModal(QObject*) override { return 0; }
};

QString umaLinha(QString texto)
{
    texto.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return texto.simplified();
}

struct ERecusa {
    QString motivo;
};

struct TGrupo {
    QString cfop;     // as the register stores it (an entry code for a third party's note)
    Money aliquota;   // percent
    Money valor, base, icms, isentas, outras, ipi, baseSt, icmsSt;
};

struct TContribuinteAberto {
    int id = 0;
    QString documento; // CNPJ or CPF digits
};

QString somenteDigitos(const QString& t)
{
    QString r;
    for (const QChar c : t)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            r += c;
    return r;
}

const QString kCnpjExterior = QStringLiteral("00000000000000");

class TImportacao {
public:
    TImportacao(TDTM& dtm, const IRelogio& relogio, const TContribuinteAberto& c)
        : m_dtm(dtm), m_relogio(relogio), m_contribuinte(c)
    {
    }

    TResultadoNFe importa(const QString& arquivo, const TNotaLida& n, bool cancelada)
    {
        TResultadoNFe r;
        r.arquivo = arquivo;
        try {
            m_partesDoArquivo.clear();
            TTransacao transacao(m_dtm.conexao());
            r.idsNotas = grava(n, cancelada, &r);
            if (r.situacao == TResultadoNFe::Situacao::Importado) {
                transacao.commit();
                // A party registered by this file exists from now on; one registered by a file taken back
                // does not, and must not be found in the cache.
                m_partes.insert(m_partesDoArquivo);
            } else {
                r.idsNotas.clear(); // the savepoint takes back whatever this file wrote
            }
        } catch (const ERecusa& e) {
            r.situacao = TResultadoNFe::Situacao::Recusado;
            r.motivo = e.motivo;
            r.idsNotas.clear();
        } catch (const EBancoDados& e) {
            r.situacao = TResultadoNFe::Situacao::Recusado;
            r.motivo = umaLinha(e.mensagem());
            r.idsNotas.clear();
        }
        return r;
    }

    // After a batch's commit failed, nothing it registered exists any more.
    void esqueceCadastros() { m_partes.clear(); }

    // The stored situation of the taxpayer's own note named by an access key; empty when none is stored.
    QString situacaoGravada(const QString& chave)
    {
        TDataSet q(m_dtm.conexao());
        q.setCommandText(QStringLiteral("SELECT Situacao FROM NotaFiscal WHERE IdContribuinte = :Id AND Modelo = '55' "
                                        "AND Serie = :Serie AND NumeroNF = :Numero AND Emitente = 'P' "
                                        "AND TipoNota = 'S' ORDER BY IdNotaFiscal"));
        q.setParam(QStringLiteral("Id"), m_contribuinte.id);
        q.setParam(QStringLiteral("Serie"), QString::number(chave.mid(22, 3).toInt()));
        q.setParam(QStringLiteral("Numero"), PreencheZeros(QString::number(chave.mid(25, 9).toInt()), 6));
        q.open();
        return q.isEmpty() ? QString() : q.asString(QStringLiteral("Situacao")).trimmed();
    }

private:
    QList<int> grava(const TNotaLida& n, bool cancelada, TResultadoNFe* r)
    {
        const QString doc = m_contribuinte.documento;
        const bool emitente = somenteDigitos(n.emissor.documento()) == doc;
        const bool destinatario = n.dest.presente && somenteDigitos(n.dest.documento()) == doc;
        if (!emitente && !destinatario)
            throw ERecusa{QString::fromUtf8("a nota não é do contribuinte aberto (emitente %1, destinatário %2)")
                              .arg(n.emissor.documento(),
                                   n.dest.documento().isEmpty() ? QStringLiteral("-") : n.dest.documento())};
        if (!emitente && n.tpNF == QLatin1String("0"))
            throw ERecusa{QString::fromUtf8("nota de entrada emitida pelo outro participante: o contribuinte é o "
                                            "remetente, e essa nota não é lançada por importação")};
        const bool entrada = emitente ? n.tpNF == QLatin1String("0") : true;
        if (n.numero.size() > 6)
            throw ERecusa{QString::fromUtf8("número %1 com mais de seis dígitos: o registro guarda seis").arg(n.numero)};
        if ((cancelada || n.denegada) && entrada)
            throw ERecusa{QString::fromUtf8("nota de entrada %1: só as notas de saída próprias são registradas "
                                            "canceladas ou denegadas")
                              .arg(cancelada ? QStringLiteral("cancelada") : QStringLiteral("denegada"))};
        const QString numero = PreencheZeros(n.numero, 6);
        const QString ufContribuinte = emitente ? n.emissor.uf : n.dest.uf;

        QString ajuste;
        const QList<TGrupo> grupos = (cancelada || n.denegada) ? QList<TGrupo>() : agrupa(n, !emitente, &ajuste);

        // The notes to write, each through the entry screen's checks.
        QList<TCamposNota> campos;
        QString encurtados;
        TCamposNota base;
        base.entrada = entrada;
        base.proprio = emitente;
        base.modelo = n.modelo;
        base.serie = n.serie;
        base.numero = numero;
        base.emissao = n.emissao;
        if (cancelada || n.denegada) {
            // Stored as the screen stores them: one row naming the taxpayer itself, with no amounts.
            base.cancelada = cancelada;
            base.nfe = cancelada ? SituacaoNFe::Nenhuma : SituacaoNFe::Denegado;
            campos << base;
        } else {
            const TParteLida& outra = emitente ? n.dest : n.emissor;
            if (!outra.presente || (outra.documento().isEmpty() && outra.uf != QLatin1String("EX")))
                throw ERecusa{QString::fromUtf8("a nota não identifica o destinatário")};
            int idParte = 0;
            QString ufParte;
            contraparte(outra, ufContribuinte, &idParte, &ufParte, &encurtados);
            const QString versao = VersaoCfop(n.emissao);
            const QString filtro = FiltroCfop(TelaCfop::IncluirNota, entrada, versao);
            TDataSet lista(m_dtm.conexao());
            for (const TGrupo& g : grupos) {
                // The table does not change during an import: a code found once for a date's filter stays found.
                const QString chaveCfop = filtro + QLatin1Char('|') + g.cfop;
                if (!m_cfopsAchados.contains(chaveCfop) && !BuscaCfop(lista, g.cfop, filtro).isEmpty())
                    m_cfopsAchados.insert(chaveCfop);
                if (!m_cfopsAchados.contains(chaveCfop))
                    throw ERecusa{QString::fromUtf8("CFOP %1 não consta da tabela de CFOP de %2 para notas de %3")
                                      .arg(g.cfop, n.emissao.toString(QStringLiteral("dd/MM/yyyy")),
                                           entrada ? QStringLiteral("entrada") : QString::fromUtf8("saída"))};
                TCamposNota c = base;
                c.cfop = g.cfop;
                c.idEmtDest = idParte;
                c.ufEmtDest = ufParte;
                c.valorTotal = g.valor;
                c.baseIcms = g.base;
                c.valorIcms = g.icms;
                c.isentasIcms = g.isentas;
                c.outrasIcms = g.outras;
                c.aliquota = g.aliquota;
                c.valorIpi = g.ipi;
                c.baseSubst = g.baseSt;
                c.icmsRetido = g.icmsSt;
                campos << c;
            }
        }

        QList<std::pair<TNotaFiscal, TSituacaoNota>> notas;
        for (const TCamposNota& c : campos) {
            const TSituacaoNota s = ChecaSituacaoNota(c);
            if (s.falha.falhou())
                throw ERecusa{umaLinha(s.falha.mensagem)};
            TNotaFiscal nota;
            const TFalha f = ChecaNota(c, s, m_contribuinte.id, m_relogio.agora(), false, nota);
            if (f.falhou())
                throw ERecusa{QString::fromUtf8("CFOP %1: %2").arg(c.cfop, umaLinha(f.mensagem))};
            notas.append({nota, s});
        }

        TNotasFiscais tabela(m_dtm);
        int duplicadas = 0;
        QDate cadastrada;
        // Most files of a batch are new: one look for their number comes first, and only a number already
        // stored is compared row by row (the writing below checks each row again, as the screen does).
        if (algumaGravada(notas))
            for (const auto& [nota, s] : notas) {
                const QDate d = tabela.Duplicata(nota);
                if (d.isValid()) {
                    ++duplicadas;
                    cadastrada = d;
                }
            }
        const QString nome = QString::fromUtf8("nota %1 série %2").arg(numero, n.serie);
        if (duplicadas == notas.size()) {
            r->situacao = TResultadoNFe::Situacao::Duplicado;
            r->motivo = QString::fromUtf8("%1 já está cadastrada (em %2)")
                            .arg(nome, cadastrada.toString(QStringLiteral("dd/MM/yyyy")));
            return {};
        }
        if (duplicadas > 0)
            throw ERecusa{QString::fromUtf8("%1 já tem parte das linhas cadastrada (%2 de %3); confira-a na tela de notas")
                              .arg(nome).arg(duplicadas).arg(notas.size())};

        QList<int> ids;
        for (const auto& [nota, s] : notas) {
            TDialogosAnotados dialogos;
            QString foco;
            if (!GravaNotasEntrada(m_dtm, dialogos, nota, s, &foco))
                throw ERecusa{umaLinha(dialogos.textos.join(QLatin1Char(' ')))};
            ids << lidoPorUltimo(nota);
        }
        r->situacao = TResultadoNFe::Situacao::Importado;
        r->descricao = QString::fromUtf8("%1%2, %3 %4")
                           .arg(nome,
                                cancelada ? QStringLiteral(" (cancelada)")
                                          : (n.denegada ? QStringLiteral(" (denegada)") : QString()))
                           .arg(ids.size())
                           .arg(ids.size() == 1 ? QStringLiteral("linha") : QStringLiteral("linhas"));
        for (const QString& nota : {ajuste, encurtados})
            if (!nota.isEmpty())
                r->descricao += QStringLiteral("; ") + nota;
        return ids;
    }

    // Whether any row of the taxpayer carries the party, model, series and number of one of `notas`: without
    // one, none of them can be a duplicate.
    bool algumaGravada(const QList<std::pair<TNotaFiscal, TSituacaoNota>>& notas)
    {
        QSet<QString> vistas;
        for (const auto& [nota, s] : notas) {
            const QString chave = QString::number(nota.IdEmtDest) + QLatin1Char('|') + nota.Modelo + QLatin1Char('|') +
                                  nota.Serie.trimmed() + QLatin1Char('|') + nota.NumeroNF;
            if (vistas.contains(chave))
                continue;
            vistas.insert(chave);
            TDataSet q(m_dtm.conexao());
            q.setCommandText(QStringLiteral("SELECT 1 AS Achou FROM NotaFiscal WHERE IdContribuinte = :Id AND "
                                            "IdEmtDest = :Parte AND Modelo = :Modelo AND Serie = :Serie AND "
                                            "NumeroNF = :Numero LIMIT 1"));
            q.setParam(QStringLiteral("Id"), nota.IdContribuinte);
            q.setParam(QStringLiteral("Parte"), nota.IdEmtDest);
            q.setParam(QStringLiteral("Modelo"), nota.Modelo);
            q.setParam(QStringLiteral("Serie"), nota.Serie.trimmed());
            q.setParam(QStringLiteral("Numero"), nota.NumeroNF);
            q.open();
            if (!q.isEmpty())
                return true;
        }
        return false;
    }

    // The key of the row just written for `nota`: the entry path does not hand it back.
    int lidoPorUltimo(const TNotaFiscal& nota)
    {
        TDataSet q(m_dtm.conexao());
        q.setCommandText(QStringLiteral("SELECT MAX(A.IdNotaFiscal) AS Id FROM NotaFiscal A, NFICMS B WHERE "
                                        "A.IdNotaFiscal = B.IdNotaFiscal AND A.IdContribuinte = :Id AND "
                                        "A.IdEmtDest = :Parte AND A.Modelo = :Modelo AND A.Serie = :Serie AND "
                                        "A.NumeroNF = :Numero AND A.Cfop = :Cfop AND B.AliquotaICMS = :Aliquota"));
        q.setParam(QStringLiteral("Id"), nota.IdContribuinte);
        q.setParam(QStringLiteral("Parte"), nota.IdEmtDest);
        q.setParam(QStringLiteral("Modelo"), nota.Modelo);
        q.setParam(QStringLiteral("Serie"), nota.Serie);
        q.setParam(QStringLiteral("Numero"), nota.NumeroNF);
        q.setParam(QStringLiteral("Cfop"), nota.Cfop);
        q.setParam(QStringLiteral("Aliquota"), nota.AliquotaICMS);
        q.open();
        return q.asInteger(QStringLiteral("Id"));
    }

    // Where the part of an item's value outside its ICMS base is booked, by the item's ICMS code (the table
    // is in the README). Exempt: a reduced base, an exempt, untaxed or immune operation. Other: deferred,
    // suspended, charged earlier by a substitute, and everything else, including codes this table does not
    // know yet.
    static bool foraDaBaseEmIsentas(const TItemLido& it)
    {
        static const QStringList cst = {QStringLiteral("20"), QStringLiteral("30"), QStringLiteral("40"),
                                        QStringLiteral("41"), QStringLiteral("70")};
        static const QStringList csosn = {QStringLiteral("103"), QStringLiteral("203"), QStringLiteral("300"),
                                          QStringLiteral("400")};
        return it.cst.isEmpty() ? csosn.contains(it.csosn) : cst.contains(it.cst);
    }

    // How the items' values are summed into the note's total. The layout's rule adds the import duty and
    // takes off the relieved ICMS, but the authority also accepts an import note whose products already
    // carry the duty, and older notes that do not take the relief off: the first composition that gives
    // the file's vNF is the one its emitter used.
    struct TComposicao {
        bool comII, menosDesonerado;
    };
    static Money somaDosItens(const TNotaLida& n, TComposicao c)
    {
        Money soma;
        for (const TItemLido& it : n.itens)
            soma += it.valorEm(c.comII, c.menosDesonerado);
        return soma;
    }

    // One invoice row per (CFOP, rate) of the items, in the order their first item appears. In every row the
    // base, the exempt and the other amounts add up to the row's value, as the fiscal books require.
    static QList<TGrupo> agrupa(const TNotaLida& n, bool terceiros, QString* ajuste)
    {
        static const TComposicao composicoes[] = {{true, true}, {false, true}, {true, false}, {false, false}};
        std::optional<TComposicao> usada;
        for (const TComposicao c : composicoes)
            if (somaDosItens(n, c) == n.vNF) {
                usada = c;
                break;
            }
        const Money soma = somaDosItens(n, composicoes[0]);
        // A note without its protocol proves nothing: its items must give its total. An authorised one
        // has had its vNF checked by the authority, and vNF is what the books carry.
        if (!usada && !n.autorizada)
            throw ERecusa{QString::fromUtf8("a soma dos itens (%1) não confere com o total da nota (%2): diferença de %3")
                              .arg(soma.toStringExato(), n.vNF.toStringExato(), (n.vNF - soma).toStringExato())};
        const TComposicao c = usada.value_or(composicoes[0]);

        QList<TGrupo> grupos;
        for (const TItemLido& it : n.itens) {
            const Money valor = it.valorEm(c.comII, c.menosDesonerado);
            // An item of no value (a gift's companion line, a returned container) adds nothing to any row:
            // with no base it would otherwise open an all-zero row of its own.
            if (valor.isZero())
                continue;
            QString cfop = it.cfop;
            if (terceiros) {
                // The emitter wrote its own exit code; the taxpayer's entry is the same operation seen from
                // the other side.
                static const QHash<QChar, QChar> entradaDe = {{QLatin1Char('5'), QLatin1Char('1')},
                                                              {QLatin1Char('6'), QLatin1Char('2')},
                                                              {QLatin1Char('7'), QLatin1Char('3')}};
                if (!entradaDe.contains(cfop[0]))
                    throw ERecusa{QString::fromUtf8("CFOP %1 do item %2 não é de saída do emitente").arg(cfop).arg(it.numero)};
                cfop[0] = entradaDe.value(cfop[0]);
            }
            const Money fora = valor - it.base;
            if (fora.raw() < 0)
                throw ERecusa{QString::fromUtf8("a base do ICMS do item %1 (%2) é maior que o valor do item (%3): "
                                                "lance a nota na tela de notas")
                                  .arg(it.numero)
                                  .arg(it.base.toStringExato(), valor.toStringExato())};
            // The IPI and the substitution charged on the note are no part of the operation's own ICMS:
            // what of them lies outside the base is booked as other, whatever the code.
            const Money impostos = it.ipi + it.icmsSt + it.fcpSt;
            const Money outrasImpostos = impostos < fora ? impostos : fora;
            const Money resto = fora - outrasImpostos;

            const Money aliquota = it.base.isZero() ? Money() : it.aliquota;
            const QString texto = TextoAliquota(aliquota);
            TGrupo* g = nullptr;
            for (TGrupo& existente : grupos)
                if (existente.cfop == cfop && TextoAliquota(existente.aliquota) == texto)
                    g = &existente;
            if (!g) {
                grupos.append(TGrupo{cfop, aliquota, {}, {}, {}, {}, {}, {}, {}, {}});
                g = &grupos.last();
            }
            g->valor += valor;
            g->base += it.base;
            g->icms += it.icms;
            g->outras += outrasImpostos;
            (foraDaBaseEmIsentas(it) ? g->isentas : g->outras) += resto;
            g->ipi += it.ipi;
            g->baseSt += it.baseSt;
            g->icmsSt += it.icmsSt;
        }
        if (grupos.isEmpty())
            throw ERecusa{QString::fromUtf8("todos os itens da nota têm valor zero: não há linha a lançar")};

        if (!usada) {
            // An authorised note whose items give no composition of its vNF: the books carry vNF, and the
            // difference goes to the other amounts of the largest row, where it is shown.
            const Money diferenca = n.vNF - soma;
            TGrupo* maior = &grupos[0];
            for (TGrupo& g : grupos)
                if (maior->valor < g.valor)
                    maior = &g;
            if ((maior->outras + diferenca).raw() < 0)
                throw ERecusa{QString::fromUtf8("a soma dos itens (%1) não confere com o total da nota (%2): diferença de %3")
                                  .arg(soma.toStringExato(), n.vNF.toStringExato(), diferenca.toStringExato())};
            maior->valor += diferenca;
            maior->outras += diferenca;
            *ajuste = QString::fromUtf8("diferença de %1 entre os itens e o total autorizado lançada em outras (CFOP %2)")
                          .arg(diferenca.toStringExato(), maior->cfop);
        }
        return grupos;
    }

    // The register's UF of a party: "ZR" for the taxpayer's own state, "EX" for abroad.
    static QString ufDoCadastro(const TParteLida& p, const QString& ufContribuinte)
    {
        if (p.uf == QLatin1String("EX"))
            return p.uf;
        if (p.uf == ufContribuinte || p.uf == QLatin1String("ZR"))
            return QStringLiteral("ZR");
        return p.uf;
    }

    // The register's width of a text column, read from the schema once per import.
    int largura(const char* coluna)
    {
        const QString nome = QString::fromLatin1(coluna);
        auto i = m_larguras.constFind(nome);
        if (i == m_larguras.constEnd())
            i = m_larguras.insert(nome, Sql::larguraTexto(m_dtm.conexao().db(), QStringLiteral("Contribuinte"), nome));
        return i.value();
    }

    // A text of the file cut to its register field: at the last blank when one lies in the last third of
    // the field (so that a word is not cut in two), at the field's width otherwise. `nome` is listed in
    // `encurtados` when anything was cut.
    static QString encurta(const QString& texto, int largura, const QString& nome, QStringList& encurtados)
    {
        if (largura <= 0 || texto.size() <= largura)
            return texto;
        encurtados << nome;
        if (texto[largura] == QLatin1Char(' '))
            return texto.left(largura).trimmed();
        const int branco = texto.left(largura).lastIndexOf(QLatin1Char(' '));
        if (branco >= largura * 2 / 3)
            return texto.left(branco).trimmed();
        return texto.left(largura).trimmed();
    }

    void contraparte(const TParteLida& p, const QString& ufContribuinte, int* id, QString* uf, QString* aviso)
    {
        const QString ufCadastro = ufDoCadastro(p, ufContribuinte);
        const bool exterior = ufCadastro == QLatin1String("EX");
        // A party abroad has no CNPJ: the register keeps it with zeros, told apart by its name and its
        // country, which the register's municipality holds for it (the register has no field of its own).
        const QString documento = exterior ? kCnpjExterior : somenteDigitos(p.documento());
        // The texts as the register stores them (accents folded, capitals), cut to its fields: the file's run
        // to 60 characters, the register's to 15 to 35.
        QStringList encurtados;
        const QString nome = encurta(PreparaRazaoSocial(p.nome, true), largura("RazaoSocial"),
                                     QString::fromUtf8("razão social"), encurtados);
        const QString municipio = encurta(PreparaTexto(exterior && !p.pais.isEmpty() ? p.pais : p.municipio),
                                          largura("Municipio"), QString::fromUtf8("município"), encurtados);
        // A batch names the same parties over and over: each is looked up once.
        const QString chave = exterior ? QStringLiteral("EX|") + nome + QLatin1Char('|') + municipio
                                       : documento + QLatin1Char('|') + p.ie;
        if (const auto achada = m_partes.constFind(chave); achada != m_partes.constEnd()) {
            *id = achada->first;
            *uf = achada->second;
            return;
        }
        TDataSet q(m_dtm.conexao());
        if (exterior) {
            q.setCommandText(QStringLiteral("SELECT IdContribuinte, UF FROM Contribuinte WHERE CNPJ = :Cnpj AND "
                                            "UF = 'EX' AND RazaoSocial = :Nome AND Municipio = :Municipio AND "
                                            "IdContribuinte <> :Id ORDER BY IdContribuinte"));
            q.setParam(QStringLiteral("Nome"), nome);
            q.setParam(QStringLiteral("Municipio"), municipio);
        } else {
            // The same number may be registered more than once (other registrations): the one with the
            // file's registration first, then a client or supplier.
            q.setCommandText(QStringLiteral("SELECT IdContribuinte, UF FROM Contribuinte WHERE CNPJ = :Cnpj AND "
                                            "IdContribuinte <> :Id ORDER BY (Ccicms = :Ie) DESC, (Tipo = 'F') DESC, "
                                            "IdContribuinte"));
            q.setParam(QStringLiteral("Ie"), p.ie);
        }
        q.setParam(QStringLiteral("Cnpj"), documento);
        q.setParam(QStringLiteral("Id"), m_contribuinte.id);
        q.open();
        if (!q.isEmpty()) {
            *id = q.asInteger(QStringLiteral("IdContribuinte"));
            *uf = q.asString(QStringLiteral("UF")).trimmed();
            m_partesDoArquivo.insert(chave, {*id, *uf});
            return;
        }

        TCamposContribuinte c;
        c.tipoInscricao = !exterior && p.cnpj.isEmpty() ? QStringLiteral("CPF") : QStringLiteral("CNPJ");
        c.numero = documento;
        c.razaoSocial = nome;
        c.isento = exterior || p.ie.isEmpty() || p.ie.compare(QLatin1String("ISENTO"), Qt::CaseInsensitive) == 0;
        c.ccicms = c.isento ? QStringLiteral("ISENTO") : p.ie;
        c.logradouro = encurta(PreparaTexto(p.logradouro), largura("Logradouro"), QString::fromUtf8("endereço"), encurtados);
        // The register's number field takes digits only; any other number ("S/N", "KM 12") goes to the
        // complement, where the register asks for "S/N".
        static const QRegularExpression numeroSimples(QStringLiteral("^\\d{1,5}$"));
        QString complemento;
        if (numeroSimples.match(p.numero).hasMatch()) {
            c.numeroEndereco = p.numero;
            complemento = p.complemento;
        } else {
            static const QRegularExpression semNumero(QStringLiteral("^S\\.?/?N\\.?$"), QRegularExpression::CaseInsensitiveOption);
            const QString numero = semNumero.match(p.numero).hasMatch() || p.numero.isEmpty() ? QStringLiteral("S/N") : p.numero;
            complemento = (numero + QLatin1Char(' ') + p.complemento).trimmed();
        }
        c.complemento = encurta(PreparaTexto(complemento), largura("Complemento"), QStringLiteral("complemento"), encurtados);
        c.bairro = encurta(PreparaTexto(p.bairro), largura("Bairro"), QStringLiteral("bairro"), encurtados);
        c.municipio = municipio;
        // Postal codes are Brazilian: an address abroad has none, and the register's field is kept in zeros.
        c.cep = exterior && p.cep.isEmpty() ? QStringLiteral("00000000") : p.cep;
        c.uf = ufCadastro;
        TContribuinte registro(m_dtm);
        const QString quem = somenteDigitos(p.documento()).isEmpty() ? nome : p.documento();
        TFalha f = ChecaContribuinte(c, ModoContribuinte::IncluirClienteFornecedor, registro);
        // The register tells parties apart by number, registration and state, which all parties abroad share
        // (zeros, exempt, "EX"): another name or country abroad is another party, as the look-up above found.
        if (exterior && f.mensagem == QString::fromUtf8("Este Contribuinte já está cadastrado!"))
            f = {};
        if (f.falhou())
            throw ERecusa{QString::fromUtf8("cadastro de %1 recusado: %2").arg(quem, umaLinha(f.mensagem))};
        PreparaContribuinte(c, ModoContribuinte::IncluirClienteFornecedor, registro);
        if (!registro.Incluir())
            throw ERecusa{QString::fromUtf8("cadastro de %1 recusado: %2")
                              .arg(quem, registro.Recusa().falhou() ? umaLinha(registro.Recusa().mensagem)
                                                                    : QString::fromUtf8("o banco não gravou a linha"))};
        *id = int(m_dtm.ADOCommand.ultimoIdInserido());
        *uf = ufCadastro;
        m_partesDoArquivo.insert(chave, {*id, *uf});
        if (!encurtados.isEmpty())
            *aviso = QString::fromUtf8("cadastro de %1 com texto encurtado: %2").arg(quem, encurtados.join(QStringLiteral(", ")));
    }

    TDTM& m_dtm;
    const IRelogio& m_relogio;
    TContribuinteAberto m_contribuinte;
    QHash<QString, int> m_larguras;
    QSet<QString> m_cfopsAchados;
    QHash<QString, std::pair<int, QString>> m_partes, m_partesDoArquivo;
};

TResultadoNFe recusado(const QString& arquivo, const QString& motivo)
{
    TResultadoNFe r;
    r.arquivo = arquivo;
    r.motivo = motivo;
    return r;
}

// The transaction of a batch's lot. Outside any transaction it is a plain one, not a savepoint: while a
// savepoint stays open the engine keeps, in its statement journal, every page each file's own savepoint saved,
// for the whole lot (hundreds of megabytes written to a temporary file); with no savepoint around the files,
// that journal starts over with each file. Inside a caller's transaction it is a savepoint, as TTransacao is.
class TLote {
public:
    explicit TLote(TDTMCON& con) : m_con(con)
    {
        if (sqlite3_get_autocommit(con.db())) {
            Sql::executa(con.db(), QStringLiteral("BEGIN"), TParametros());
            m_propria = true;
        } else {
            m_aninhada = std::make_unique<TTransacao>(con);
        }
    }
    ~TLote()
    {
        if (m_propria && !sqlite3_get_autocommit(m_con.db()))
            sqlite3_exec(m_con.db(), "ROLLBACK", nullptr, nullptr, nullptr); // a destructor must not throw
    }
    TLote(const TLote&) = delete;
    TLote& operator=(const TLote&) = delete;
    void commit()
    {
        if (m_aninhada)
            m_aninhada->commit();
        else
            Sql::executa(m_con.db(), QStringLiteral("COMMIT"), TParametros());
    }

private:
    TDTMCON& m_con;
    bool m_propria = false;
    std::unique_ptr<TTransacao> m_aninhada;
};

// Each file's savepoint journals, in the engine's statement journal, the pages the lot had already changed;
// past a few pages that journal goes to a temporary file, one write per page, file after file. For the batch
// it is kept in memory (it starts over with each file, so it stays small) and the connection's setting comes
// back afterwards. Only outside a transaction can the setting change; otherwise it stays as it is. (A change
// drops the connection's temporary tables, which the program only keeps for the length of one operation.)
class TJournalEmMemoria {
public:
    explicit TJournalEmMemoria(sqlite3* db) : m_db(db)
    {
        if (!sqlite3_get_autocommit(db))
            return;
        try {
            Sql::executa(db, QStringLiteral("PRAGMA temp_store"), TParametros(), nullptr,
                         [&](sqlite3_stmt* st) { m_antes = sqlite3_column_int(st, 0); });
            if (m_antes != 2) {
                Sql::executa(db, QStringLiteral("PRAGMA temp_store = MEMORY"), TParametros());
                m_mudou = true;
            }
        } catch (const EBancoDados&) { // the batch only runs slower
        }
    }
    ~TJournalEmMemoria()
    {
        if (m_mudou && sqlite3_get_autocommit(m_db)) {
            const QByteArray volta = "PRAGMA temp_store = " + QByteArray::number(m_antes);
            sqlite3_exec(m_db, volta.constData(), nullptr, nullptr, nullptr);
        }
    }
    TJournalEmMemoria(const TJournalEmMemoria&) = delete;
    TJournalEmMemoria& operator=(const TJournalEmMemoria&) = delete;

private:
    sqlite3* m_db;
    int m_antes = 0;
    bool m_mudou = false;
};

// Parsing a file takes about as long as writing it: the next files are read and parsed on a thread of their
// own while this one writes, never more than a few ahead, so that a batch of any size holds only those in
// memory. The database is written by the calling thread alone, and the progress is told there.
class TLeituraAdiante {
public:
    explicit TLeituraAdiante(TFonte& fonte) : m_fonte(fonte), m_total(fonte.total()), m_thread([this] { roda(); }) {}
    ~TLeituraAdiante()
    {
        {
            const std::lock_guard trava(m_mutex);
            m_parar = true;
        }
        m_sinal.notify_all();
        m_thread.join();
    }
    TLeituraAdiante(const TLeituraAdiante&) = delete;
    TLeituraAdiante& operator=(const TLeituraAdiante&) = delete;

    // The next input, in the batch's order, read and parsed.
    TDocumentoLido proximo()
    {
        std::unique_lock trava(m_mutex);
        m_sinal.wait(trava, [&] { return !m_fila.empty(); });
        TDocumentoLido d = std::move(m_fila.front());
        m_fila.pop_front();
        trava.unlock();
        m_sinal.notify_all();
        return d;
    }

private:
    static constexpr size_t kAdiante = 32;

    void roda()
    {
        for (int i = 0; i < m_total; ++i) {
            TDocumentoLido d;
            try {
                const TArquivoNFe a = m_fonte.le(i, -1);
                d = a.recusa.isEmpty() ? leDocumento(a.conteudo) : recusa(a.recusa);
            } catch (const std::exception&) { // out of memory on a huge document: that file alone fails
                d = recusa(QString::fromUtf8("memória insuficiente para ler o arquivo"));
            }
            std::unique_lock trava(m_mutex);
            m_sinal.wait(trava, [&] { return m_parar || m_fila.size() < kAdiante; });
            if (m_parar)
                return;
            m_fila.push_back(std::move(d));
            trava.unlock();
            m_sinal.notify_all();
        }
    }

    TFonte& m_fonte;
    const int m_total;
    std::mutex m_mutex;
    std::condition_variable m_sinal;
    std::deque<TDocumentoLido> m_fila;
    bool m_parar = false;
    std::thread m_thread; // last: starts once the rest is built
};

// Enough of a file's start to show its root element past the declaration and a comment or two.
constexpr qint64 kInicioDoArquivo = 1024;

// The name of the root element, from the start of a document; empty when the start does not show it.
QString raizDe(const QByteArray& inicio)
{
    QXmlStreamReader r(inicio);
    r.setNamespaceProcessing(true);
    while (!r.atEnd()) {
        const QXmlStreamReader::TokenType t = r.readNext();
        if (t == QXmlStreamReader::StartElement)
            return r.name().toString();
        if (t == QXmlStreamReader::DTD || t == QXmlStreamReader::Invalid)
            break;
    }
    return {};
}

// The cancellations among the inputs (access key -> the first input that cancels it), which must be known
// before the note they cancel is written. Only the start of each input is read, except for events and for
// inputs whose start does not tell what they are.
QHash<QString, int> achaCancelamentos(TFonte& fonte, const std::function<void(int, int)>& progresso)
{
    QHash<QString, int> cancelamentos;
    for (int i = 0; i < fonte.total(); ++i) {
        // A large batch takes a moment here: the progress window is told, so that it stays painted.
        if (progresso && i > 0 && i % 1000 == 0)
            progresso(0, fonte.total());
        TArquivoNFe a = fonte.le(i, kInicioDoArquivo);
        if (!a.recusa.isEmpty())
            continue;
        const QString raiz = raizDe(a.conteudo);
        if (!raiz.isEmpty() && raiz != QLatin1String("procEventoNFe"))
            continue;
        if (a.conteudo.size() >= kInicioDoArquivo)
            a = fonte.le(i, -1);
        if (!a.recusa.isEmpty())
            continue;
        const TDocumentoLido d = leDocumento(a.conteudo);
        if (d.tipo == TDocumentoLido::Tipo::Cancelamento && !cancelamentos.contains(d.evento.chave))
            cancelamentos.insert(d.evento.chave, i);
    }
    return cancelamentos;
}

QList<TResultadoNFe> importaDe(TDTM& dtm, const IRelogio& relogio, int idContribuinte, int notasPorLote,
                               const std::function<void(int, int)>& progresso, TFonte& fonte)
{
    QList<TResultadoNFe> resultados;
    const int total = fonte.total();
    TContribuinteAberto contribuinte;
    contribuinte.id = idContribuinte;
    try {
        TDataSet q(dtm.conexao());
        q.setCommandText(QStringLiteral("SELECT CNPJ FROM Contribuinte WHERE IdContribuinte = :Id"));
        q.setParam(QStringLiteral("Id"), idContribuinte);
        q.open();
        if (!q.isEmpty())
            contribuinte.documento = somenteDigitos(q.asString(QStringLiteral("CNPJ")));
    } catch (const EBancoDados& e) {
        for (int i = 0; i < total; ++i)
            resultados << recusado(fonte.nome(i), umaLinha(e.mensagem()));
        return resultados;
    }
    if (contribuinte.documento.isEmpty()) {
        for (int i = 0; i < total; ++i)
            resultados << recusado(fonte.nome(i), QString::fromUtf8("o contribuinte aberto não tem CNPJ/CPF no cadastro"));
        return resultados;
    }

    const QHash<QString, int> cancelamentos = achaCancelamentos(fonte, progresso);
    resultados.reserve(total);
    TImportacao importacao(dtm, relogio, contribuinte);
    const TJournalEmMemoria journal(dtm.conexao().db());
    // One transaction for many files, each file in its own savepoint inside it: a commit (a disk flush) per
    // file would cost more than the file's own work. A crash loses at most the files since the last
    // commit, and a second import picks them up, since what is stored is skipped.
    std::unique_ptr<TLote> lote;
    QList<int> doLote; // the files imported since the last commit
    auto fechaLote = [&] {
        if (!lote)
            return;
        QString falha;
        try {
            lote->commit();
        } catch (const EBancoDados& e) {
            falha = umaLinha(e.mensagem());
        }
        lote.reset(); // rolls back whatever a refused commit left
        if (!falha.isEmpty()) {
            for (const int i : doLote) {
                resultados[i].situacao = TResultadoNFe::Situacao::Recusado;
                resultados[i].motivo = QString::fromUtf8("o banco recusou a gravação do lote: %1").arg(falha);
                resultados[i].descricao.clear();
                resultados[i].idsNotas.clear();
            }
            importacao.esqueceCadastros();
        }
        doLote.clear();
    };
    QHash<QString, int> notas;                // access key -> the file that held the note
    QList<std::pair<int, QString>> eventos;   // the cancellations: file and access key
    {
        TLeituraAdiante adiante(fonte);
        for (int i = 0; i < total; ++i) {
            const TDocumentoLido d = adiante.proximo();
            resultados << recusado(fonte.nome(i), d.motivo);
            resultados.last().ignorado = d.tipo == TDocumentoLido::Tipo::Ignorado;
            if (d.tipo == TDocumentoLido::Tipo::Cancelamento)
                eventos.append({i, d.evento.chave});
            if (d.tipo == TDocumentoLido::Tipo::Nota) {
                const TNotaLida& n = d.nota;
                if (const auto primeiro = notas.constFind(n.chave); primeiro != notas.constEnd()) {
                    // The same note twice in one batch: the first decides, the second is a repetition.
                    const TResultadoNFe& r = resultados[*primeiro];
                    resultados[i].situacao = r.situacao == TResultadoNFe::Situacao::Recusado
                                                 ? TResultadoNFe::Situacao::Recusado
                                                 : TResultadoNFe::Situacao::Duplicado;
                    resultados[i].motivo = QString::fromUtf8("a mesma nota de %1").arg(r.arquivo);
                } else {
                    notas.insert(n.chave, i);
                    if (!lote) {
                        try {
                            lote = std::make_unique<TLote>(dtm.conexao());
                        } catch (const EBancoDados&) {
                            // Each file's savepoint then is its own transaction, as slow as it is sound.
                        }
                    }
                    resultados[i] = importacao.importa(resultados[i].arquivo, n,
                                                       n.cancelada || cancelamentos.contains(n.chave));
                    if (resultados[i].situacao == TResultadoNFe::Situacao::Importado)
                        doLote << i;
                    if (doLote.size() >= notasPorLote)
                        fechaLote();
                }
            }
            if (progresso)
                progresso(i + 1, total);
        }
    }
    fechaLote();

    for (const auto& [i, chave] : eventos) {
        TResultadoNFe& r = resultados[i];
        if (notas.contains(chave)) {
            const TResultadoNFe& nota = resultados[notas.value(chave)];
            r.situacao = nota.situacao;
            if (nota.situacao == TResultadoNFe::Situacao::Importado)
                r.descricao = QString::fromUtf8("cancelamento da nota de %1").arg(nota.arquivo);
            else if (nota.situacao == TResultadoNFe::Situacao::Duplicado)
                r.motivo = QString::fromUtf8("cancelamento da nota de %1, já cadastrada").arg(nota.arquivo);
            else
                r.motivo = QString::fromUtf8("a nota deste cancelamento (%1) foi recusada").arg(nota.arquivo);
            continue;
        }
        // An event alone: it can only confirm what the register already says.
        r.situacao = TResultadoNFe::Situacao::Recusado;
        if (chave.mid(6, 14) != contribuinte.documento.rightJustified(14, QLatin1Char('0'))) {
            r.motivo = QString::fromUtf8("cancelamento de nota de outro emitente");
            continue;
        }
        try {
            const QString situacao = importacao.situacaoGravada(chave);
            if (situacao == QLatin1String("S") || situacao == QLatin1String("X")) {
                r.situacao = TResultadoNFe::Situacao::Duplicado;
                r.motivo = QString::fromUtf8("a nota já está cadastrada como cancelada");
            } else if (!situacao.isEmpty()) {
                r.motivo = QString::fromUtf8("a nota já está cadastrada como não cancelada; "
                                             "registre o cancelamento na tela de notas");
            } else {
                r.motivo = QString::fromUtf8("o XML da nota cancelada não está entre os arquivos importados");
            }
        } catch (const EBancoDados& e) {
            r.motivo = umaLinha(e.mensagem());
        }
    }
    return resultados;
}

} // namespace

TImportaNFe::TImportaNFe(TDTM& dtm, const IRelogio& relogio, int idContribuinte)
    : m_dtm(dtm), m_relogio(relogio), m_idContribuinte(idContribuinte)
{
}

QList<TResultadoNFe> TImportaNFe::Importa(const QList<TArquivoNFe>& arquivos)
{
    TFonteMemoria fonte(arquivos);
    return importaDe(m_dtm, m_relogio, m_idContribuinte, notasPorLote, progresso, fonte);
}

QList<TResultadoNFe> TImportaNFe::ImportaCaminhos(const QStringList& caminhos)
{
    TFonteDisco fonte(caminhos);
    return importaDe(m_dtm, m_relogio, m_idContribuinte, notasPorLote, progresso, fonte);
}
