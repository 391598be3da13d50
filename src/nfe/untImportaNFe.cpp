#include "nfe/untImportaNFe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <optional>
#include <zip.h>

#include "core/DialogsNew.h"
#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
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
    QList<int> filhos;
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
        for (const int i : no->filhos)
            if (nos[i].nome == nome)
                return &nos[i];
        return nullptr;
    }
    QList<const TNo*> filhos(const TNo* no, const QString& nome = {}) const
    {
        QList<const TNo*> r;
        if (no)
            for (const int i : no->filhos)
                if (nome.isEmpty() || nos[i].nome == nome)
                    r << &nos[i];
        return r;
    }
    // "a/b/c" from `no`, each step the first child of that name.
    const TNo* caminho(const TNo* no, const QString& caminho) const
    {
        for (const QString& passo : caminho.split(QLatin1Char('/')))
            no = filho(no, passo);
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
            no.nome = r.name().toString();
            for (const QXmlStreamAttribute& at : r.attributes())
                no.atributos.insert(at.name().toString(), at.value().toString());
            const int i = int(a.nos.size());
            a.nos.append(std::move(no));
            if (!pilha.isEmpty())
                a.nos[pilha.last()].filhos.append(i);
            pilha.append(i);
            algumElemento = true;
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!pilha.isEmpty())
                pilha.removeLast();
            break;
        case QXmlStreamReader::Characters:
            if (!pilha.isEmpty() && !r.isWhitespace())
                a.nos[pilha.last()].texto += r.text();
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
    QString logradouro, numero, complemento, bairro, municipio, cep, uf;
    QString documento() const { return !cnpj.isEmpty() ? cnpj : cpf; }
};

struct TItemLido {
    int numero = 0;
    QString cfop, cst, csosn;
    Money aliquota; // percent
    Money valor, base, icms, ipi, baseSt, icmsSt;
};

struct TNotaLida {
    QString chave, modelo, serie, numero, tpNF;
    QDate emissao;
    TParteLida emissor, dest;
    QList<TItemLido> itens;
    Money vNF;
    bool denegada = false;
};

struct TEventoLido {
    QString chave;
};

struct TDocumentoLido {
    enum class Tipo { Recusado, Nota, Cancelamento } tipo = Tipo::Recusado;
    QString motivo;
    TNotaLida nota;
    TEventoLido evento;
};

// Amounts as the layout writes them: digits with an optional point and up to four decimals.
std::optional<Money> valorXml(const QString& texto)
{
    static const QRegularExpression padrao(QStringLiteral("^(\\d{1,13})(?:\\.(\\d{1,4}))?$"));
    const QRegularExpressionMatch m = padrao.match(texto);
    if (!m.hasMatch())
        return std::nullopt;
    const QString decimais = m.captured(2).leftJustified(4, QLatin1Char('0'));
    return Money::fromRaw(m.captured(1).toLongLong() * Money::Escala + decimais.toLongLong());
}

struct ELeitura {
    QString motivo;
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
        p.ie = m_a.texto(no, QStringLiteral("IE")).remove(QRegularExpression(QStringLiteral("[\\s./-]"))).toUpper();
        const TNo* e = m_a.filho(no, endereco);
        p.logradouro = m_a.texto(e, QStringLiteral("xLgr"));
        p.numero = m_a.texto(e, QStringLiteral("nro"));
        p.complemento = m_a.texto(e, QStringLiteral("xCpl"));
        p.bairro = m_a.texto(e, QStringLiteral("xBairro"));
        p.municipio = m_a.texto(e, QStringLiteral("xMun"));
        p.cep = m_a.texto(e, QStringLiteral("CEP"));
        p.uf = m_a.texto(e, QStringLiteral("UF")).toUpper();
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
        const Money fcpSt = valor(icms, QStringLiteral("vFCPST"), i);
        if (!it.base.isZero())
            it.aliquota = valor(icms, QStringLiteral("pICMS"), i);
        it.ipi = valor(imposto, QStringLiteral("IPI/IPITrib/vIPI"), onde);
        const Money ii = valor(imposto, QStringLiteral("II/vII"), onde);
        const Money ipiDevolvido = valor(det, QStringLiteral("impostoDevol/IPI/vIPIDevol"), onde);
        // What the item adds to the invoice total. The ICMS a substitute withheld earlier (CST 60) is not in
        // it: only the substitution charged on this invoice is.
        it.valor = vProd + vFrete + vSeg + vOutro - vDesc + it.ipi + it.icmsSt + fcpSt + ii + ipiDevolvido;
        return it;
    }

    TNotaLida nota(const TNo* infNFe) const
    {
        TNotaLida n;
        const QString versao = infNFe->atributos.value(QStringLiteral("versao"));
        if (versao != QLatin1String("4.00"))
            throw ELeitura{QString::fromUtf8("leiaute %1 da NF-e não é lido (somente o 4.00)")
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
        if (n.modelo != QLatin1String("55"))
            throw ELeitura{QString::fromUtf8("modelo %1 não é lançado no registro de notas fiscais (somente o 55)")
                               .arg(n.modelo)};
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
            }
            return d;
        }
        if (raiz->nome == QLatin1String("procEventoNFe")) {
            const TNo* inf = a.caminho(raiz, QStringLiteral("evento/infEvento"));
            const QString tipo = a.texto(inf, QStringLiteral("tpEvento"));
            if (tipo != QLatin1String("110111"))
                return recusa(QString::fromUtf8("evento %1 não é importado (somente o cancelamento, 110111)")
                                  .arg(tipo.isEmpty() ? QStringLiteral("sem tipo") : tipo));
            d.tipo = TDocumentoLido::Tipo::Cancelamento;
            d.evento.chave = a.texto(inf, QStringLiteral("chNFe"));
            if (!ChaveNFeValida(d.evento.chave))
                return recusa(QString::fromUtf8("chave de acesso %1 do cancelamento inválida").arg(d.evento.chave));
            // Registered (135), registered without a link (136) or accepted late (155): any other answer
            // means the cancellation did not happen.
            const QString cStat = a.texto(raiz, QStringLiteral("retEvento/infEvento/cStat"));
            static const QStringList registrado = {QStringLiteral("135"), QStringLiteral("136"), QStringLiteral("155")};
            if (!registrado.contains(cStat))
                return recusa(QString::fromUtf8("cancelamento não registrado (situação %1)")
                                  .arg(cStat.isEmpty() ? QStringLiteral("ausente") : cStat));
            return d;
        }
        return recusa(QString::fromUtf8("XML de outro tipo (<%1>): não é NF-e nem evento de cancelamento").arg(raiz->nome));
    } catch (const ELeitura& e) {
        return recusa(e.motivo);
    }
}

// ----- inputs

QByteArray leLimitado(QIODevice& d, QString* recusa)
{
    QByteArray bytes = d.read(kMaiorArquivoNFe + 1);
    if (bytes.size() > kMaiorArquivoNFe) {
        *recusa = QString::fromUtf8("arquivo maior que %1 MB").arg(kMaiorArquivoNFe / (1024 * 1024));
        return {};
    }
    return bytes;
}

QString mensagemGrande() { return QString::fromUtf8("arquivo maior que %1 MB").arg(kMaiorArquivoNFe / (1024 * 1024)); }

void leZip(const QString& caminho, const QString& nome, QList<TArquivoNFe>& r)
{
    int codigo = 0;
    zip_t* z = zip_open(QFile::encodeName(caminho).constData(), ZIP_RDONLY, &codigo);
    if (!z) {
        r << TArquivoNFe{nome, {}, QString::fromUtf8("arquivo zip ilegível")};
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
        TArquivoNFe a{nome + QLatin1Char(':') + entrada, {}, {}};
        if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(kMaiorArquivoNFe)) {
            a.recusa = mensagemGrande();
            r << a;
            continue;
        }
        zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
        if (!f) {
            a.recusa = QString::fromUtf8("entrada do zip ilegível (cifrada ou danificada)");
            r << a;
            continue;
        }
        // The stated size may lie: the reading itself stops one byte past the limit.
        QByteArray bytes;
        char bloco[65536];
        for (;;) {
            const zip_int64_t lidos = zip_fread(f, bloco, sizeof bloco);
            if (lidos < 0) {
                a.recusa = QString::fromUtf8("entrada do zip danificada");
                break;
            }
            if (lidos == 0)
                break;
            bytes.append(bloco, qsizetype(lidos));
            if (bytes.size() > kMaiorArquivoNFe) {
                a.recusa = mensagemGrande();
                break;
            }
        }
        zip_fclose(f);
        if (a.recusa.isEmpty())
            a.conteudo = std::move(bytes);
        r << a;
    }
    zip_discard(z);
    if (!algum)
        r << TArquivoNFe{nome, {}, QString::fromUtf8("o arquivo zip não tem arquivos XML")};
}

bool ehZip(const QString& caminho)
{
    if (caminho.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        return true;
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) && f.read(4) == QByteArray("PK\x03\x04", 4);
}

void leArquivo(const QString& caminho, const QString& nome, QList<TArquivoNFe>& r)
{
    if (ehZip(caminho)) {
        leZip(caminho, nome, r);
        return;
    }
    TArquivoNFe a{nome, {}, {}};
    QFile f(caminho);
    if (QFileInfo(caminho).size() > kMaiorArquivoNFe)
        a.recusa = mensagemGrande();
    else if (!f.open(QIODevice::ReadOnly))
        a.recusa = QString::fromUtf8("arquivo ilegível: %1").arg(f.errorString());
    else
        a.conteudo = leLimitado(f, &a.recusa);
    r << a;
}

} // namespace

QList<TArquivoNFe> LeEntradasNFe(const QStringList& caminhos)
{
    QList<TArquivoNFe> r;
    for (const QString& caminho : caminhos) {
        const QFileInfo info(caminho);
        if (info.isDir()) {
            const QDir pasta(caminho);
            const QStringList nomes = pasta.entryList({QStringLiteral("*.xml"), QStringLiteral("*.zip")},
                                                      QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
            if (nomes.isEmpty())
                r << TArquivoNFe{caminho, {}, QString::fromUtf8("a pasta não tem arquivos XML nem zip")};
            for (const QString& n : nomes)
                leArquivo(pasta.filePath(n), pasta.filePath(n), r);
        } else if (info.isFile()) {
            leArquivo(caminho, caminho, r);
        } else {
            r << TArquivoNFe{caminho, {}, QString::fromUtf8("arquivo não encontrado")};
        }
    }
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
            TTransacao transacao(m_dtm.conexao());
            r.idsNotas = grava(n, cancelada, &r);
            if (r.situacao == TResultadoNFe::Situacao::Importado)
                transacao.commit();
            else
                r.idsNotas.clear(); // the savepoint takes back whatever this file wrote
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

        const QList<TGrupo> grupos = agrupa(n, !emitente);
        Money soma;
        for (const TGrupo& g : grupos)
            soma += g.valor;
        if (soma != n.vNF)
            throw ERecusa{QString::fromUtf8("a soma dos itens (%1) não confere com o total da nota (%2): diferença de %3")
                              .arg(soma.toStringExato(), n.vNF.toStringExato(), (n.vNF - soma).toStringExato())};

        // The notes to write, each through the entry screen's checks.
        QList<TCamposNota> campos;
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
            contraparte(outra, ufContribuinte, &idParte, &ufParte);
            const QString versao = VersaoCfop(n.emissao);
            const QString filtro = FiltroCfop(TelaCfop::IncluirNota, entrada, versao);
            TDataSet lista(m_dtm.conexao());
            for (const TGrupo& g : grupos) {
                if (BuscaCfop(lista, g.cfop, filtro).isEmpty())
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
        return ids;
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

    static bool isenta(const TItemLido& it)
    {
        static const QStringList cst = {QStringLiteral("40"), QStringLiteral("41")};
        static const QStringList csosn = {QStringLiteral("103"), QStringLiteral("300"), QStringLiteral("400")};
        return it.cst.isEmpty() ? csosn.contains(it.csosn) : cst.contains(it.cst);
    }

    static QList<TGrupo> agrupa(const TNotaLida& n, bool terceiros)
    {
        QList<TGrupo> grupos;
        for (const TItemLido& it : n.itens) {
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
            g->valor += it.valor;
            if (isenta(it)) {
                g->isentas += it.valor;
            } else if (!it.base.isZero()) {
                g->base += it.base;
                g->icms += it.icms;
            } else {
                g->outras += it.valor;
            }
            g->ipi += it.ipi;
            g->baseSt += it.baseSt;
            g->icmsSt += it.icmsSt;
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

    void contraparte(const TParteLida& p, const QString& ufContribuinte, int* id, QString* uf)
    {
        const QString ufCadastro = ufDoCadastro(p, ufContribuinte);
        const bool exterior = ufCadastro == QLatin1String("EX");
        // A party abroad has no CNPJ: the register keeps it with zeros, told apart by its name.
        const QString documento = exterior ? kCnpjExterior : somenteDigitos(p.documento());
        const QString nome = PreparaRazaoSocial(p.nome, true);
        TDataSet q(m_dtm.conexao());
        if (exterior) {
            q.setCommandText(QStringLiteral("SELECT IdContribuinte, UF FROM Contribuinte WHERE CNPJ = :Cnpj AND "
                                            "UF = 'EX' AND RazaoSocial = :Nome AND IdContribuinte <> :Id "
                                            "ORDER BY IdContribuinte"));
            q.setParam(QStringLiteral("Nome"), nome);
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
            return;
        }

        TCamposContribuinte c;
        c.tipoInscricao = !exterior && p.cnpj.isEmpty() ? QStringLiteral("CPF") : QStringLiteral("CNPJ");
        c.numero = documento;
        c.razaoSocial = p.nome;
        c.isento = exterior || p.ie.isEmpty() || p.ie.compare(QLatin1String("ISENTO"), Qt::CaseInsensitive) == 0;
        c.ccicms = c.isento ? QStringLiteral("ISENTO") : p.ie;
        c.logradouro = p.logradouro;
        // The register's number field takes digits only; any other number ("S/N", "KM 12") goes to the
        // complement, where the register asks for "S/N".
        static const QRegularExpression numeroSimples(QStringLiteral("^\\d{1,5}$"));
        if (numeroSimples.match(p.numero).hasMatch()) {
            c.numeroEndereco = p.numero;
            c.complemento = p.complemento;
        } else {
            static const QRegularExpression semNumero(QStringLiteral("^S\\.?/?N\\.?$"), QRegularExpression::CaseInsensitiveOption);
            const QString numero = semNumero.match(p.numero).hasMatch() || p.numero.isEmpty() ? QStringLiteral("S/N") : p.numero;
            c.complemento = (numero + QLatin1Char(' ') + p.complemento).trimmed();
        }
        c.bairro = p.bairro;
        c.municipio = p.municipio;
        // Postal codes are Brazilian: an address abroad has none, and the register's field is kept in zeros.
        c.cep = exterior && p.cep.isEmpty() ? QStringLiteral("00000000") : p.cep;
        c.uf = ufCadastro;
        TContribuinte registro(m_dtm);
        const QString quem = somenteDigitos(p.documento()).isEmpty() ? nome : p.documento();
        if (const TFalha f = ChecaContribuinte(c, ModoContribuinte::IncluirClienteFornecedor, registro); f.falhou())
            throw ERecusa{QString::fromUtf8("cadastro de %1 recusado: %2").arg(quem, umaLinha(f.mensagem))};
        PreparaContribuinte(c, ModoContribuinte::IncluirClienteFornecedor, registro);
        if (!registro.Incluir())
            throw ERecusa{QString::fromUtf8("cadastro de %1 recusado: %2")
                              .arg(quem, registro.Recusa().falhou() ? umaLinha(registro.Recusa().mensagem)
                                                                    : QString::fromUtf8("o banco não gravou a linha"))};
        *id = int(m_dtm.ADOCommand.ultimoIdInserido());
        *uf = ufCadastro;
    }

    TDTM& m_dtm;
    const IRelogio& m_relogio;
    TContribuinteAberto m_contribuinte;
};

TResultadoNFe recusado(const QString& arquivo, const QString& motivo)
{
    TResultadoNFe r;
    r.arquivo = arquivo;
    r.motivo = motivo;
    return r;
}

} // namespace

TImportaNFe::TImportaNFe(TDTM& dtm, const IRelogio& relogio, int idContribuinte)
    : m_dtm(dtm), m_relogio(relogio), m_idContribuinte(idContribuinte)
{
}

QList<TResultadoNFe> TImportaNFe::Importa(const QList<TArquivoNFe>& arquivos)
{
    QList<TResultadoNFe> resultados;
    TContribuinteAberto contribuinte;
    contribuinte.id = m_idContribuinte;
    try {
        TDataSet q(m_dtm.conexao());
        q.setCommandText(QStringLiteral("SELECT CNPJ FROM Contribuinte WHERE IdContribuinte = :Id"));
        q.setParam(QStringLiteral("Id"), m_idContribuinte);
        q.open();
        if (!q.isEmpty())
            contribuinte.documento = somenteDigitos(q.asString(QStringLiteral("CNPJ")));
    } catch (const EBancoDados& e) {
        for (const TArquivoNFe& a : arquivos)
            resultados << recusado(a.nome, umaLinha(e.mensagem()));
        return resultados;
    }
    if (contribuinte.documento.isEmpty()) {
        for (const TArquivoNFe& a : arquivos)
            resultados << recusado(a.nome, QString::fromUtf8("o contribuinte aberto não tem CNPJ/CPF no cadastro"));
        return resultados;
    }

    QList<TDocumentoLido> docs;
    QHash<QString, int> cancelamentos; // access key -> the first event that cancels it
    for (const TArquivoNFe& a : arquivos) {
        docs << (a.recusa.isEmpty() ? leDocumento(a.conteudo) : recusa(a.recusa));
        if (docs.last().tipo == TDocumentoLido::Tipo::Cancelamento && !cancelamentos.contains(docs.last().evento.chave))
            cancelamentos.insert(docs.last().evento.chave, int(docs.size()) - 1);
        resultados << recusado(a.nome, docs.last().motivo);
    }

    TImportacao importacao(m_dtm, m_relogio, contribuinte);
    QHash<QString, int> notas; // access key -> the file that held the note
    for (int i = 0; i < docs.size(); ++i) {
        if (docs[i].tipo != TDocumentoLido::Tipo::Nota)
            continue;
        const TNotaLida& n = docs[i].nota;
        if (notas.contains(n.chave)) {
            // The same note twice in one batch: the first decides, the second is a repetition.
            const TResultadoNFe& primeiro = resultados[notas.value(n.chave)];
            resultados[i].situacao = primeiro.situacao == TResultadoNFe::Situacao::Recusado
                                         ? TResultadoNFe::Situacao::Recusado
                                         : TResultadoNFe::Situacao::Duplicado;
            resultados[i].motivo = QString::fromUtf8("a mesma nota de %1").arg(primeiro.arquivo);
            continue;
        }
        notas.insert(n.chave, i);
        resultados[i] = importacao.importa(arquivos[i].nome, n, cancelamentos.contains(n.chave));
        if (progresso)
            progresso(i + 1);
    }

    for (int i = 0; i < docs.size(); ++i) {
        if (docs[i].tipo != TDocumentoLido::Tipo::Cancelamento)
            continue;
        const QString& chave = docs[i].evento.chave;
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
