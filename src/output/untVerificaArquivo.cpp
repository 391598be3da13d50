#include "output/untVerificaArquivo.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>
#include <array>
#include <climits>
#include <optional>
#include <vector>

#include "output/untRegistros.h"
#include "output/untRegistros88.h"

using namespace Registros;

namespace {

// A field of a layout as the check reads it: where it starts (0-based), how wide, what kind, and for a
// literal the bytes it must hold.
struct TPosicao {
    int inicio;
    int largura;
    Tipo tipo;
    QByteArray literal;
};
using TLeiauteLido = std::vector<TPosicao>;

TLeiauteLido compila(const QList<TCampo>& campos, bool antigo)
{
    TLeiauteLido r;
    int pos = 0;
    for (const TCampo& c : campos) {
        const int largura = antigo ? c.largura1 : c.largura23;
        if (largura <= 0)
            continue;
        r.push_back({pos, largura, c.tipo, c.tipo == Tipo::Literal ? c.valor.texto().toLatin1() : QByteArray()});
        pos += largura;
    }
    return r;
}

// The national record types, in the order a file lists them. Types this program does not write are known
// (another program's file may hold them) and checked for their length and place only.
const QList<QByteArray>& ordemDosTipos()
{
    static const QList<QByteArray> t = {"10", "11", "50", "51", "53", "54", "55", "56", "57", "60", "61",
                                        "70", "71", "74", "75", "76", "77", "85", "86", "88", "90"};
    return t;
}

// The place of a type in the order of the file; -1 for a type the layout does not know.
int ordemDoTipo(int tipo)
{
    static const std::array<int, 100> ordem = [] {
        std::array<int, 100> r;
        r.fill(-1);
        const QList<QByteArray>& tipos = ordemDosTipos();
        for (int i = 0; i < tipos.size(); ++i)
            r[size_t(tipos[i].toInt())] = i;
        return r;
    }();
    return tipo >= 0 && tipo < 100 ? ordem[size_t(tipo)] : -1;
}

bool digitos(QByteArrayView b)
{
    for (const char c : b)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int numero(QByteArrayView b)
{
    int v = 0;
    for (const char c : b)
        v = v * 10 + (c - '0');
    return v;
}

// Bytes outside the single-byte code page: control characters and the five positions Windows-1252 leaves
// undefined.
bool byteInvalido(unsigned char b)
{
    return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// Bytes of a file as a message shows them: a control or undefined byte by its hex code, never raw, so that
// what the check prints cannot disturb the terminal or the log it goes to.
QString mostra(QByteArrayView b)
{
    QString r;
    r.reserve(b.size());
    for (const char ch : b) {
        const auto c = static_cast<unsigned char>(ch);
        if (byteInvalido(c) || (c >= 0x80 && c <= 0x9F))
            r += QStringLiteral("<0x%1>").arg(int(c), 2, 16, QLatin1Char('0'));
        else
            r += QChar(c);
    }
    return r;
}

// Beyond this a line is too long whatever it holds: its bytes are not looked at one by one, so that a file
// of one endless line gives one fault, not one per byte.
constexpr qint64 MaiorLinhaLida = Registros::Tamanho + 2;

// The sub-types 88 that begin with the common header (registration, period, type letter), and 8806, which
// has the year in place of the period.
bool temCabecalho88(QByteArrayView chave)
{
    return chave == "8801" || chave == "8802" || chave == "8804" || chave == "8818";
}

struct TContagem90 {
    qint64 linha;
    int posicao;
    QByteArray familia;
    qint64 quantidade;
};

} // namespace

QString TFalhaArquivo::texto() const
{
    if (linha <= 0)
        return mensagem;
    if (posicao <= 0)
        return QString::fromUtf8("linha %1: %2").arg(linha).arg(mensagem);
    return QString::fromUtf8("linha %1, posição %2: %3").arg(linha).arg(posicao).arg(mensagem);
}

struct TVerificadorArquivo::TEstado {
    QByteArray atual;            // the first 127 bytes of the line being read
    qint64 tamanho = 0;          // its whole length
    bool crPendente = false;
    bool aposSeparador = false;  // the last bytes read were a CR LF
    bool algumByte = false;

    QByteArray codigo = "3";     // layout code of record 10
    QByteArray periodo;          // "yyyymm" of record 10
    QByteArray cnpj, ie;
    // The layouts read so far, by key (kept per file: record 10 gives the layout code and the period).
    std::array<std::optional<TLeiauteLido>, 256> leiautes;

    std::array<qint64, 100> familias{};   // records per type "00".."99"
    int ultimoTipo = -1;
    int tipoAnterior = -1;
    int ultimo88 = -1;
    QSet<QByteArray> vistos88;
    QByteArray anterior60;
    bool tem10 = false, tem11 = false;
    bool lido10 = false;         // record 10 was whole, so its fields can be compared
    QByteArray ie88, letra88;    // what the headers 88 must carry, from record 10
    qint64 ultimoMunicipio = -1;
    QSet<qint64> municipios;
    qint64 registros90 = 0;
    qint64 primeiro90 = 0;
    int declarados90 = -1;
    QList<TContagem90> contagens;
    qint64 total99 = -1, linha99 = 0;
    int posicao99 = 0;
    QByteArray cnpj90, ie90;
    qint64 linhaCnpj90 = 0;
};

TVerificadorArquivo::TVerificadorArquivo() : m(std::make_unique<TEstado>()) {}
TVerificadorArquivo::~TVerificadorArquivo() = default;

void TVerificadorArquivo::falha(qint64 linha, int posicao, const QString& mensagem)
{
    // The faults of the file as a whole are found last and tell the most: they are listed whatever came before.
    if (m_falhas.size() >= MaxFalhas && !m_concluindo) {
        ++m_omitidas;
        return;
    }
    m_falhas.append({linha, posicao, mensagem});
}

void TVerificadorArquivo::adiciona(QByteArrayView bytes)
{
    TEstado& e = *m;
    const char* dados = bytes.data();
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char ch = dados[i];
        const auto b = static_cast<unsigned char>(ch);
        // The body of a line in one run: its bytes checked, the first ones kept.
        if (!e.crPendente && b != '\r' && b != '\n') {
            qsizetype j = i;
            while (j < n && dados[j] != '\r' && dados[j] != '\n') {
                const auto c = static_cast<unsigned char>(dados[j]);
                if (byteInvalido(c) && e.tamanho + (j - i) < MaiorLinhaLida)
                    falha(m_linha + 1, int(qMin<qint64>(e.tamanho + (j - i) + 1, INT_MAX)),
                          QString::fromUtf8("byte 0x%1 fora da página de código do arquivo").arg(int(c), 2, 16, QLatin1Char('0')));
                ++j;
            }
            const qsizetype guarda = qMin<qsizetype>(j - i, Tamanho + 1 - e.atual.size());
            if (guarda > 0)
                e.atual.append(dados + i, guarda);
            e.tamanho += j - i;
            e.algumByte = true;
            e.aposSeparador = false;
            i = j - 1;
            continue;
        }
        e.algumByte = true;
        if (e.crPendente) {
            e.crPendente = false;
            if (b == '\n') {
                fimDeLinha();
                e.aposSeparador = true;
                continue;
            }
            // A CR that no LF follows belongs to the line, as the byte it is.
            falha(m_linha + 1, int(qMin<qint64>(e.tamanho + 1, INT_MAX)), QString::fromUtf8("CR sem o LF que o segue"));
            ++e.tamanho;
            if (e.atual.size() < Tamanho + 1)
                e.atual.append('\r');
        }
        e.aposSeparador = false;
        if (b == '\r') {
            e.crPendente = true;
            continue;
        }
        if (b == '\n') {
            // Read as a separator, so that one bare LF does not shift every later line.
            falha(m_linha + 1, int(qMin<qint64>(e.tamanho + 1, INT_MAX)), QString::fromUtf8("LF sem o CR que o precede"));
            fimDeLinha();
            e.aposSeparador = true;
            continue;
        }
        ++e.tamanho;
        if (e.atual.size() < Tamanho + 1)
            e.atual.append(ch);
        if (byteInvalido(b) && e.tamanho <= MaiorLinhaLida)
            falha(m_linha + 1, int(qMin<qint64>(e.tamanho, INT_MAX)),
                  QString::fromUtf8("byte 0x%1 fora da página de código do arquivo").arg(int(b), 2, 16, QLatin1Char('0')));
    }
}

void TVerificadorArquivo::fimDeLinha()
{
    ++m_linha;
    verificaLinha();
    m->atual.truncate(0);   // keeps its buffer for the next line
    m->tamanho = 0;
}

void TVerificadorArquivo::verificaLinha()
{
    TEstado& e = *m;
    const QByteArray& a = e.atual;
    const qint64 linha = m_linha;
    if (e.tamanho != Tamanho)
        falha(linha, 0, QString::fromUtf8("o registro tem %1 bytes em vez de %2").arg(e.tamanho).arg(Tamanho));
    if (a.size() < 2) {
        falha(linha, 1, QString::fromUtf8("registro sem tipo"));
        return;
    }
    const QByteArray tipo = a.left(2);
    const int numeroTipo = digitos(tipo) ? numero(tipo) : -1;
    const int ordem = numeroTipo >= 0 ? ordemDoTipo(numeroTipo) : -1;
    if (ordem < 0) {
        falha(linha, 1, QString::fromUtf8("tipo de registro \"%1\" desconhecido").arg(mostra(tipo)));
        return;
    }
    // Record 90 counts records by their type alone: one of an unknown sub-type is still one of its type.
    e.familias[numeroTipo] += 1;
    // The key of the layout: the sub-type for 60 and 88, "61R" beside 61.
    QByteArray chave = tipo;
    if (numeroTipo == 60) {
        const char s = a.size() > 2 ? a[2] : ' ';
        if (s != 'M' && s != 'A' && s != 'D' && s != 'I' && s != 'R') {
            falha(linha, 3, QString::fromUtf8("subtipo \"60%1\" desconhecido").arg(mostra(QByteArrayView(&s, 1))));
            return;
        }
        chave += s;
    } else if (numeroTipo == 61 && a.size() > 2 && a[2] == 'R') {
        chave = "61R";
    } else if (numeroTipo == 88) {
        chave = a.left(4);
        if (!Subtipos88().contains(QString::fromLatin1(chave))) {
            falha(linha, 1, QString::fromUtf8("subtipo \"%1\" do registro 88 desconhecido").arg(mostra(chave)));
            return;
        }
    }

    // Place: 10 first, 11 second, then the types in their order, 90 last.
    if (numeroTipo == 10) {
        if (linha != 1 || e.tem10)
            falha(linha, 1, QString::fromUtf8("o registro 10 deve ser o primeiro e único"));
        e.tem10 = true;
    } else if (linha == 1) {
        falha(linha, 1, QString::fromUtf8("o arquivo deve começar pelo registro 10"));
    }
    if (numeroTipo == 11) {
        if (linha != 2 || e.tem11)
            falha(linha, 1, QString::fromUtf8("o registro 11 deve ser o segundo e único"));
        e.tem11 = true;
    }
    if (ordem < e.ultimoTipo)
        falha(linha, 1, QString::fromUtf8("registro %1 fora de ordem: vem depois do registro %2")
                            .arg(mostra(tipo), QStringLiteral("%1").arg(e.tipoAnterior, 2, 10, QLatin1Char('0'))));
    if (ordem > e.ultimoTipo) {
        e.ultimoTipo = ordem;
        e.tipoAnterior = numeroTipo;
    }
    if (numeroTipo == 88) {
        const int posicao = int(Subtipos88().indexOf(QString::fromLatin1(chave)));
        const bool repete = chave == "8825" || chave == "8829";
        if (posicao < e.ultimo88)
            falha(linha, 1, QString::fromUtf8("registro %1 fora de ordem entre os registros 88").arg(mostra(chave)));
        else if (!repete && e.vistos88.contains(chave))
            falha(linha, 1, QString::fromUtf8("registro %1 repetido").arg(mostra(chave)));
        e.ultimo88 = qMax(e.ultimo88, posicao);
        e.vistos88.insert(chave);
    }
    if (numeroTipo == 60) {
        if (chave == "60A" && e.anterior60 != "60M" && e.anterior60 != "60A")
            falha(linha, 1, QString::fromUtf8("registro 60A sem o seu registro 60M"));
        e.anterior60 = chave;
    } else {
        e.anterior60.clear();
    }
    if (numeroTipo == 90) {
        if (e.registros90 == 0)
            e.primeiro90 = linha;
        ++e.registros90;
    }

    if (a.size() < Tamanho)
        return; // positions of a short line would be misread
    if (numeroTipo == 10) {
        e.codigo = a.mid(123, 1);
        e.periodo = a.mid(107, 6);
        for (auto& l : e.leiautes)
            l.reset();
        e.cnpj = a.mid(2, 14);
        e.ie = a.mid(16, 14);
        e.lido10 = true;
        // The headers 88 carry the registration trimmed and cut to 9, and the finality as a letter.
        e.ie88 = e.ie.trimmed().left(9);
        e.letra88 = a[125] == '1' ? "N" : a[125] == '2' ? "R" : "";
    }
    if (numeroTipo == 90) {
        if (!digitos(QByteArrayView(a).sliced(2, 14)))
            falha(linha, 3, QString::fromUtf8("CNPJ do registro 90 com caracteres não numéricos"));
        if (e.linhaCnpj90 == 0) {
            e.cnpj90 = a.mid(2, 14);
            e.ie90 = a.mid(16, 14);
            e.linhaCnpj90 = linha;
        }
        int i = 30;
        for (; i + 10 <= 125; i += 10) {
            const QByteArray familia = a.mid(i, 2);
            if (familia == "  ")
                break;
            const QByteArrayView quantidade = QByteArrayView(a).sliced(i + 2, 8);
            if (!digitos(familia) || !digitos(quantidade)) {
                falha(linha, i + 1, QString::fromUtf8("contagem \"%1\" do registro 90 ilegível").arg(mostra(QByteArrayView(a).sliced(i, 10))));
                continue;
            }
            if (familia == "99") {
                e.total99 = numero(quantidade);
                e.linha99 = linha;
                e.posicao99 = i + 3;
            } else {
                e.contagens.append({linha, i + 3, familia, numero(quantidade)});
            }
        }
        for (int k = i; k < 125; ++k)
            if (a[k] != ' ') {
                falha(linha, k + 1, QString::fromUtf8("o registro 90 deve ter brancos depois das contagens"));
                break;
            }
        if (a[125] < '1' || a[125] > '9')
            falha(linha, 126, QString::fromUtf8("número de registros 90 \"%1\" inválido").arg(QLatin1Char(a[125])));
        else
            e.declarados90 = a[125] - '0';
        return;
    }

    const bool antigo = e.codigo == "1";
    // The layout's key: the type, or its sub-type for 60, 61R and 88.
    int chaveLeiaute = numeroTipo;
    if (numeroTipo == 60)
        chaveLeiaute = 100 + int(QByteArrayView("MADIR").indexOf(chave[2]));
    else if (chave == "61R")
        chaveLeiaute = 110;
    else if (numeroTipo == 88)
        chaveLeiaute = 120 + int(Subtipos88().indexOf(QString::fromLatin1(chave)));
    std::optional<TLeiauteLido>& leiaute = e.leiautes[size_t(chaveLeiaute)];
    if (!leiaute) {
        const QList<TCampo> campos = numeroTipo == 88 ? Leiaute88(QString::fromLatin1(chave), QString::fromLatin1(e.periodo))
                                                  : Leiaute(QString::fromLatin1(chave));
        leiaute = compila(campos, antigo);
    }
    for (const TPosicao& p : *leiaute) {
        const QByteArrayView campo = QByteArrayView(a).sliced(p.inicio, p.largura);
        switch (p.tipo) {
        case Tipo::N:
        case Tipo::Valor:
        case Tipo::ValorCentavos:
        case Tipo::Numero:
            for (int k = 0; k < p.largura; ++k)
                if (campo[k] < '0' || campo[k] > '9') {
                    falha(linha, p.inicio + k + 1, QString::fromUtf8("campo numérico com o caractere \"%1\"")
                                                       .arg(mostra(campo.sliced(k, 1))));
                    break;
                }
            break;
        case Tipo::Alfanumerico:
            for (int k = 0; k < p.largura; ++k)
                if (!((campo[k] >= '0' && campo[k] <= '9') || (campo[k] >= 'A' && campo[k] <= 'Z'))) {
                    falha(linha, p.inicio + k + 1, QString::fromUtf8("campo de letras e algarismos com o caractere \"%1\"")
                                                       .arg(mostra(campo.sliced(k, 1))));
                    break;
                }
            break;
        case Tipo::Data:
        case Tipo::DataDia: {
            const bool vazia = p.tipo == Tipo::DataDia && campo == QByteArrayView("00000000");
            bool ok = vazia || digitos(campo);
            if (ok && !vazia) {
                const QDate d = p.tipo == Tipo::Data ? QDate(numero(campo.sliced(0, 4)), numero(campo.sliced(4, 2)), numero(campo.sliced(6, 2)))
                                                     : QDate(numero(campo.sliced(4, 4)), numero(campo.sliced(2, 2)), numero(campo.sliced(0, 2)));
                ok = d.isValid();
            }
            if (!ok)
                falha(linha, p.inicio + 1, QString::fromUtf8("\"%1\" não é uma data do calendário").arg(mostra(campo)));
            break;
        }
        case Tipo::Literal:
            if (campo != QByteArrayView(p.literal))
                falha(linha, p.inicio + 1, QString::fromUtf8("esperado \"%1\", encontrado \"%2\"")
                                               .arg(QString::fromLatin1(p.literal), mostra(campo)));
            break;
        case Tipo::X:
            break;
        case Tipo::Brancos:
            // Where an 88 has its blanks depends on the period of record 10: without a whole record 10 the
            // layout read is a guess, and its blanks are not held against the record.
            if (numeroTipo == 88 && !e.lido10)
                break;
            for (int k = 0; k < p.largura; ++k)
                if (campo[k] != ' ') {
                    falha(linha, p.inicio + k + 1, QString::fromUtf8("posição que o leiaute deixa em branco com o caractere \"%1\"")
                                                       .arg(mostra(campo.sliced(k, 1))));
                    break;
                }
            break;
        }
    }
    if (numeroTipo == 88)
        verifica88(chave, linha);
}

void TVerificadorArquivo::verifica88(const QByteArray& chave, qint64 linha)
{
    TEstado& e = *m;
    const QByteArray& a = e.atual;
    auto confere = [&](int inicio, const QByteArray& lido, const QByteArray& esperado, const char* oque) {
        if (lido != esperado)
            falha(linha, inicio + 1, QString::fromUtf8("%1 \"%2\" do registro %3 difere do registro 10 (\"%4\")")
                                         .arg(QString::fromUtf8(oque), mostra(lido), mostra(chave), mostra(esperado)));
    };
    const bool anual = chave == "8806";
    if (e.lido10 && (temCabecalho88(chave) || anual)) {
        confere(4, a.mid(4, 9).trimmed(), e.ie88, "a inscrição estadual");
        if (anual)
            confere(13, a.mid(13, 4), e.periodo.left(4), "o ano");
        else
            confere(13, a.mid(13, 6), e.periodo, "o período");
        const int letra = anual ? 17 : 19;
        if (a[letra] != 'N' && a[letra] != 'R')
            falha(linha, letra + 1, QString::fromUtf8("a letra do tipo \"%1\" do registro %2 não é N nem R")
                                        .arg(mostra(a.mid(letra, 1)), mostra(chave)));
        else if (!e.letra88.isEmpty())
            confere(letra, a.mid(letra, 1), e.letra88, "a letra do tipo");
    }
    const int regime = chave == "8804" ? 98 : chave == "8818" ? 83 : -1;
    if (regime >= 0 && a[regime] != '1' && a[regime] != '7' && a[regime] != '3')
        falha(linha, regime + 1, QString::fromUtf8("código de regime \"%1\" do registro %2 diferente de 1, 7 e 3")
                                     .arg(mostra(a.mid(regime, 1)), mostra(chave)));
    if (chave == "8829" && digitos(QByteArrayView(a).sliced(4, 5))) {
        const qint64 codigo = numero(QByteArrayView(a).sliced(4, 5));
        if (e.municipios.contains(codigo))
            falha(linha, 5, QString::fromUtf8("município %1 repetido nos registros 8829").arg(codigo));
        else if (codigo < e.ultimoMunicipio)
            falha(linha, 5, QString::fromUtf8("município %1 fora da ordem dos códigos nos registros 8829 (vem depois do %2)")
                                .arg(codigo).arg(e.ultimoMunicipio));
        e.municipios.insert(codigo);
        e.ultimoMunicipio = qMax(e.ultimoMunicipio, codigo);
    }
    if (chave == "8830" && a[36] >= '4' && a[36] <= '9')
        falha(linha, 37, QString::fromUtf8("tipo de entrega \"%1\" do registro 8830 fora de 0 a 3").arg(QLatin1Char(a[36])));
}

QList<TFalhaArquivo> TVerificadorArquivo::conclui()
{
    TEstado& e = *m;
    if (e.crPendente) {
        e.crPendente = false;
        falha(m_linha + 1, int(qMin<qint64>(e.tamanho + 1, INT_MAX)), QString::fromUtf8("CR sem o LF que o segue"));
        ++e.tamanho;
        e.atual.append('\r');
    }
    if (!e.algumByte) {
        falha(0, 0, QString::fromUtf8("o arquivo está vazio"));
        return m_falhas;
    }
    if (e.tamanho > 0 || !e.aposSeparador)
        fimDeLinha();
    else
        falha(m_linha, 0, QString::fromUtf8("o arquivo termina com uma quebra de linha depois do último registro"));
    m_concluindo = true;

    if (!e.tem10)
        falha(0, 0, QString::fromUtf8("falta o registro 10"));
    if (!e.tem11)
        falha(0, 0, QString::fromUtf8("falta o registro 11"));
    if (e.registros90 == 0) {
        falha(0, 0, QString::fromUtf8("falta o registro 90"));
        return m_falhas;
    }
    if (e.declarados90 >= 0 && e.declarados90 != e.registros90)
        falha(e.primeiro90, 126, QString::fromUtf8("o registro 90 declara %1 registros 90; o arquivo tem %2")
                                     .arg(e.declarados90).arg(e.registros90));
    if (e.lido10 && e.linhaCnpj90 > 0 && (e.cnpj90 != e.cnpj || e.ie90 != e.ie))
        falha(e.linhaCnpj90, 3, QString::fromUtf8("CNPJ ou inscrição estadual do registro 90 diferente do registro 10"));
    QSet<QByteArray> contadas;
    for (const TContagem90& c : e.contagens) {
        if (contadas.contains(c.familia)) {
            falha(c.linha, c.posicao - 2, QString::fromUtf8("o tipo %1 é contado duas vezes no registro 90").arg(mostra(c.familia)));
            continue;
        }
        contadas.insert(c.familia);
        const qint64 tem = digitos(c.familia) ? e.familias[size_t(numero(c.familia))] : 0;
        if (c.quantidade != tem)
            falha(c.linha, c.posicao, QString::fromUtf8("o registro 90 conta %1 registros do tipo %2; o arquivo tem %3")
                                          .arg(c.quantidade).arg(mostra(c.familia)).arg(tem));
    }
    for (int t = 0; t < 100; ++t) {
        const QByteArray familia = QByteArray::number(t).rightJustified(2, '0');
        if (e.familias[size_t(t)] == 0 || t == 10 || t == 11 || t == 90 || contadas.contains(familia))
            continue;
        falha(e.primeiro90, 31, QString::fromUtf8("o registro 90 não conta os %1 registros do tipo %2")
                                    .arg(e.familias[size_t(t)]).arg(mostra(familia)));
    }
    if (e.total99 < 0)
        falha(e.primeiro90, 31, QString::fromUtf8("o registro 90 não tem o total (tipo 99)"));
    else if (e.total99 != m_linha)
        falha(e.linha99, e.posicao99, QString::fromUtf8("o registro 90 totaliza %1 registros; o arquivo tem %2")
                                          .arg(e.total99).arg(m_linha));
    return m_falhas;
}

QList<TFalhaArquivo> TVerificadorArquivo::Verifica(QByteArrayView conteudo)
{
    TVerificadorArquivo v;
    v.adiciona(conteudo);
    return v.conclui();
}

int ExecutaVerifica(const QString& caminho, QString* saida, QString* erro)
{
    // A device or a pipe has no end a check could wait for (/dev/zero never ends): only files are read.
    const QFileInfo info(caminho);
    if (info.exists() && !info.isFile()) {
        *erro = QString::fromUtf8("%1 não é um arquivo comum").arg(caminho);
        return 2;
    }
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) {
        *erro = QString::fromUtf8("não foi possível abrir %1: %2").arg(caminho, f.errorString());
        return 2;
    }
    if (f.isSequential()) {
        *erro = QString::fromUtf8("%1 não é um arquivo comum").arg(caminho);
        return 2;
    }
    TVerificadorArquivo v;
    QByteArray bloco;
    for (;;) {
        bloco = f.read(1 << 20);
        if (bloco.isEmpty())
            break;
        v.adiciona(bloco);
    }
    if (f.error() != QFile::NoError) {
        *erro = QString::fromUtf8("erro ao ler %1: %2").arg(caminho, f.errorString());
        return 2;
    }
    const QList<TFalhaArquivo> falhas = v.conclui();
    QStringList linhas;
    for (const TFalhaArquivo& f : falhas)
        linhas << f.texto();
    if (v.falhasOmitidas() > 0)
        linhas << QString::fromUtf8("... e mais %1 falhas").arg(v.falhasOmitidas());
    if (falhas.isEmpty())
        linhas << QString::fromUtf8("Nenhuma falha em %1 registros.").arg(v.linhas());
    *saida = linhas.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return falhas.isEmpty() ? 0 : 1;
}
