#include "declarations/ReciboVarnoNet.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/DialogsNew.h"
#include "declarations/MD5.h"

namespace {

// Texts from a file may be anything; a message quotes only their beginning.
QString trecho(const QString& texto)
{
    constexpr int Limite = 40;
    return texto.size() <= Limite ? texto : texto.left(Limite) + QStringLiteral("...");
}

// A decimal integer with an optional sign, as the receipts write their numbers. Adding up stops as soon as the
// value leaves the range, so no run of digits can overflow.
int inteiro(const QString& texto, int minimo, int maximo, const QString& erro)
{
    int i = 0;
    bool negativo = false;
    if (!texto.isEmpty() && (texto[0] == QLatin1Char('-') || texto[0] == QLatin1Char('+'))) {
        negativo = texto[0] == QLatin1Char('-');
        i = 1;
    }
    const int digitos = int(texto.size()) - i;
    bool numero = digitos > 0;
    for (int j = i; numero && j < texto.size(); ++j)
        numero = texto[j] >= QLatin1Char('0') && texto[j] <= QLatin1Char('9');
    if (!numero)
        throw ERecibo(QString::fromUtf8("%1: '%2' não é um número inteiro.").arg(erro, trecho(texto)));
    qint64 valor = 0;
    bool dentro = true;
    for (int j = i; j < texto.size() && dentro; ++j) {
        valor = valor * 10 + (texto[j].unicode() - '0');
        dentro = valor <= qint64(std::max(std::abs(minimo), std::abs(maximo)));
    }
    if (negativo)
        valor = -valor;
    if (!dentro || valor < minimo || valor > maximo)
        throw ERecibo(QString::fromUtf8("%1: %2 está fora do intervalo de %3 a %4.")
                          .arg(erro, trecho(texto), QString::number(minimo), QString::number(maximo)));
    return int(valor);
}

// A line ends at CR LF, a lone CR or a lone LF; a break at the very end opens no further line.
QStringList separaLinhas(const QByteArray& dados)
{
    QStringList linhas;
    qsizetype inicio = 0;
    const qsizetype n = dados.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = dados[i];
        if (c != '\r' && c != '\n')
            continue;
        linhas.append(QString::fromLatin1(dados.constData() + inicio, i - inicio));
        if (c == '\r' && i + 1 < n && dados[i + 1] == '\n')
            ++i;
        inicio = i + 1;
    }
    if (inicio < n)
        linhas.append(QString::fromLatin1(dados.constData() + inicio, n - inicio));
    return linhas;
}

QString cabecalhoInvalido(const QString& caminho)
{
    return QString::fromUtf8("Arquivo de recibo inválido:\n\"%1\"\n").arg(caminho);
}

bool soDigitos(const QString& texto)
{
    if (texto.isEmpty())
        return false;
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

QString AparaRecibo(const QString& texto)
{
    qsizetype inicio = 0;
    qsizetype fim = texto.size();
    while (inicio < fim && texto[inicio].unicode() <= ' ')
        ++inicio;
    while (fim > inicio && texto[fim - 1].unicode() <= ' ')
        --fim;
    return texto.mid(inicio, fim - inicio);
}

QString SituacaoDuplicidade(int duplicidade)
{
    switch (duplicidade) {
    case 0: return QString::fromUtf8("Primeira apresentação");
    case 1: return QString::fromUtf8("Reapresentação (2ª via)");
    case -1: return QStringLiteral("Fora do prazo");
    default: break;
    }
    throw ERecibo(QString::fromUtf8("Código de duplicidade inválido: %1").arg(duplicidade));
}

QString PeriodoExibicao(const QString& periodo)
{
    const QString ano = periodo.mid(4, 4);
    if (ano == periodo.left(4))
        return ano;
    return ano + QLatin1Char('-') + periodo.mid(2, 2);
}

QString InscricaoExibicao(const QString& inscricao)
{
    const QString t = AparaRecibo(inscricao);
    if (t.size() != 9)
        return t;
    return t.left(2) + QLatin1Char('.') + t.mid(2, 3) + QLatin1Char('.') + t.mid(5, 3) + QLatin1Char('-') + t.mid(8, 1);
}

QString PeriodoOrdenavel(const QString& periodo)
{
    return periodo.mid(4, 4) + periodo.mid(2, 2) + periodo.left(2);
}

QDate DataDoPeriodo(const QString& texto)
{
    const QString ano = texto.left(4), mes = texto.mid(4, 2), dia = texto.mid(6, 2);
    QDate data;
    if (soDigitos(ano) && soDigitos(mes) && soDigitos(dia))
        data = QDate(ano.toInt(), mes.toInt(), dia.toInt());
    // Year 0 and the years before it exist for QDate, not on a receipt.
    if (!data.isValid() || data.year() < 1)
        throw EFormatoInvalido(
            QString::fromUtf8("Data inválida. Dia e/ou mês e/ou ano incorreto(s). Data: %1").arg(trecho(texto)));
    return data;
}

QString TRegReciboVarnoNet::Descricao(int recuo) const
{
    const QString situacao = SituacaoDuplicidade(Duplicidade);
    const QString b(std::max(recuo, 0), QLatin1Char(' '));
    return b + QString::fromUtf8("Numero mágico: ") + QString::number(NumeroMagico) + QLatin1Char('\n') +
           b + QString::fromUtf8("Período: ") + PeriodoExibicao(Periodo) + QLatin1Char('\n') +
           b + QStringLiteral("Inscricao: ") + InscricaoExibicao(Inscricao) + QLatin1Char('\n') +
           b + QStringLiteral("Data: ") + Data + QLatin1Char('\n') +
           b + QStringLiteral("Hora: ") + Hora + QLatin1Char('\n') +
           b + QString::fromUtf8("Código dos dados: ") + CodigoDados + QLatin1Char('\n') +
           b + QString::fromUtf8("Código do recibo: ") + CodigoRecibo + QLatin1Char('\n') +
           b + QString::fromUtf8("Situação: ") + situacao;
}

TArqReciboVarnoNet::TArqReciboVarnoNet(const QString& caminho, IDialogos& dialogos) : m_dialogos(dialogos)
{
    Abrir(caminho);
}

void TArqReciboVarnoNet::Abrir(const QString& caminho)
{
    m_caminho = caminho;
    const QFileInfo info(caminho);
    if (!info.exists())
        throw ERecibo(QString::fromUtf8("Arquivo de recibo não encontrado: \"%1\".").arg(caminho));
    if (!info.isFile())
        throw ERecibo(cabecalhoInvalido(caminho) + QString::fromUtf8("Não é um arquivo comum."));
    const QString muitoGrande =
        QString::fromUtf8("Arquivo de recibo muito grande: \"%1\" (mais de %2 bytes).")
            .arg(caminho, QString::number(TamanhoMaximo));
    if (info.size() > TamanhoMaximo)
        throw ERecibo(muitoGrande);
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw ERecibo(QString::fromUtf8("Não foi possível abrir o arquivo de recibo \"%1\": %2")
                          .arg(caminho, arquivo.errorString()));
    // The file may have grown since its size was asked, so the read itself is bounded too.
    const QByteArray dados = arquivo.read(TamanhoMaximo + 1);
    if (arquivo.error() != QFileDevice::NoError)
        throw ERecibo(QString::fromUtf8("Não foi possível ler o arquivo de recibo \"%1\": %2")
                          .arg(caminho, arquivo.errorString()));
    if (dados.size() > TamanhoMaximo)
        throw ERecibo(muitoGrande);

    m_linhas = separaLinhas(dados);
    m_quantidade = int(m_linhas.size());
    if (m_linhas.isEmpty())
        throw ERecibo(QStringLiteral("Arquivo de recibo vazio: \"%1\".").arg(caminho));

    const QString& primeira = m_linhas.first();
    const qsizetype branco = primeira.indexOf(QLatin1Char(' '));
    try {
        m_numeroMagico = quint8(inteiro(branco < 0 ? primeira : primeira.left(branco), 0, 255,
                                        QString::fromUtf8("Número mágico inválido")));
    } catch (const ERecibo& e) {
        throw ERecibo(cabecalhoInvalido(caminho) + e.mensagem());
    }

    int longa = 0, curta = 0;
    for (int i = 1; i < m_quantidade; ++i) {
        if (m_linhas[i].size() > m_linhas[longa].size())
            longa = i;
        if (m_linhas[i].size() < m_linhas[curta].size())
            curta = i;
    }
    if (m_linhas[longa].size() > LinhaMaxima)
        throw ERecibo(cabecalhoInvalido(caminho) + QStringLiteral("Linha %1 muito longa (%2 caracteres)")
                                                       .arg(longa + 1)
                                                       .arg(m_linhas[longa].size()));
    if (m_linhas[curta].size() < LinhaMinima)
        throw ERecibo(cabecalhoInvalido(caminho) + QStringLiteral("Linha %1 muito curta (%2 caracteres)")
                                                       .arg(curta + 1)
                                                       .arg(m_linhas[curta].size()));
    m_indice = -1;
}

void TArqReciboVarnoNet::LeLinha(const QString& linha)
{
    m_registro = TRegReciboVarnoNet();
    m_registro.Linha = AparaRecibo(linha);
    QString resto = m_registro.Linha;
    const auto campo = [&resto]() {
        const qsizetype branco = resto.indexOf(QLatin1Char(' '));
        if (branco < 0)
            return std::exchange(resto, QString());
        const QString c = resto.left(branco);
        qsizetype i = branco;
        while (i < resto.size() && resto[i] == QLatin1Char(' '))
            ++i;
        resto = resto.mid(i);
        return c;
    };

    m_registro.NumeroMagico = quint8(inteiro(campo(), 0, 255, QString::fromUtf8("Número mágico inválido")));
    m_registro.Periodo = campo().left(8);
    m_registro.Inscricao = campo().left(9);
    m_registro.Data = campo();
    m_registro.Hora = campo();
    m_registro.CodigoDados = campo();
    if (m_registro.CodigoDados == QLatin1String("-1")) {
        m_registro.CodigoRecibo = QStringLiteral("-1");
        m_registro.Duplicidade = -1;
        m_registro.Valido = false;
        throw EVarnoNetForaDoPrazo(
            QString::fromUtf8("Exercício: %1\nData e hora da transmissão: %2 %3\nInscrição estadual: %4")
                .arg(m_registro.Periodo, m_registro.Data, m_registro.Hora, InscricaoExibicao(m_registro.Inscricao)));
    }
    m_registro.CodigoRecibo = campo();
    m_registro.Duplicidade = resto.isEmpty() ? 0 : qint8(inteiro(resto, -128, 127, QString::fromUtf8("Duplicidade inválida")));

    // The digest covers the line up to the blank before the code; with more blanks there, only the last one
    // is left out. An empty code is found at the start, so nothing is digested and the line is invalid.
    const qsizetype fim = m_registro.Linha.indexOf(m_registro.CodigoRecibo) - 1;
    const QString digerido = fim > 0 ? m_registro.Linha.left(fim) : QString();
    m_registro.Valido = MD5Texto(digerido) == m_registro.CodigoRecibo;
}

bool TArqReciboVarnoNet::Proximo()
{
    if (!TemProximo())
        return false;
    ++m_indice;
    LeLinha(m_linhas[m_indice]);
    if (m_registro.Valido)
        return true;
    // Built here rather than through MensagemDlg: the box has the error kind but is captioned with the
    // application's title alone, which MensagemDlg gives only to the untyped box.
    TPedidoMensagem p;
    p.tipo = TipoMsg::Erro;
    p.titulo = tituloAplicacao();
    p.texto = QString::fromUtf8("Erro na recuperação do arquivo de recibo \"%1\"!\n\nRecibo inválido: código incorreto!\n")
                  .arg(m_caminho) +
              Descricao(0);
    p.botoes = {Botao::Ok};
    p.padrao = resolvePadrao(p.botoes, Botao::Ok);
    p.cancela = resolveCancela(p.botoes, Botao::Ok);
    m_dialogos.mostraMensagem(p);
    return false;
}
