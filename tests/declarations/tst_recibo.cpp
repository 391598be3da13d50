// Transmission receipts: the digest, the reader and its refusals, the line fields and their display, the
// checks of the delivery values and the search of a folder for the last receipt.
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include "core/untRelogio.h"
#include "declarations/MD5.h"
#include "declarations/ReciboVarnoNet.h"
#include "declarations/untRecibo.h"
#include "declarations/untReciboLinhaComando.h"
#include "support/TDialogosRoteiro.h"

namespace {

// Computed here apart from TMD5, so a fault of the program's digest cannot hide itself.
QString md5(const QString& texto)
{
    return QString::fromLatin1(QCryptographicHash::hash(texto.toLatin1(), QCryptographicHash::Md5).toHex().toUpper());
}

// A receipt line: fields 1 to 6 joined by blanks, `separador`, the digest of fields 1 to 6, then field 8
// when given.
QString monta(const QStringList& campos, const QString& duplicidade = {}, const QString& separador = QStringLiteral(" "))
{
    const QString prefixo = campos.join(QLatin1Char(' '));
    QString l = prefixo + separador + md5(prefixo);
    if (!duplicidade.isEmpty())
        l += QLatin1Char(' ') + duplicidade;
    return l;
}

QString recibo(const QString& periodo, const QString& inscricao = QStringLiteral("123456789"), int magico = 15,
               const QString& duplicidade = QStringLiteral("0"), const QString& dados = QStringLiteral("A1B2C3D4E5"))
{
    return monta({QString::number(magico), periodo, inscricao, QStringLiteral("15/04/2011"), QStringLiteral("10:20:30"),
                  dados},
                 duplicidade);
}

// A valid line of exactly `n` characters (45 to 110 and beyond), the data code taking up the difference.
QString linhaDeTamanho(int n)
{
    return monta({QStringLiteral("15"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                  QString(n - 44, QLatin1Char('D'))});
}

QString codigoDe(const QString& linha)
{
    return linha.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(6);
}

// Accepts every box, for tests that only count them.
class TDialogosAnotados final : public IDialogos {
public:
    QStringList textos;
    Botao mostraMensagem(const TPedidoMensagem& p) override
    {
        textos.append(p.texto);
        return p.cancela;
    }
    bool confirmaExclusao(const QString&) override { return false; }
    void mensagemSimples(const QString& texto) override { textos.append(texto); }
    QString salvarArquivo(const QString&, const QString&, const QString&) override { return {}; }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    bool abrirAssociado(const QString&) override { return false; }
    int executaModal(QObject*) override { return 0; }
};

class Recibos : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TDialogosRoteiro dialogos;

    void TearDown() override { dialogos.verificaConsumo(); }

    QString grava(const QString& nome, const QByteArray& dados)
    {
        const QString caminho = dir.filePath(nome);
        QDir().mkpath(QFileInfo(caminho).absolutePath());
        QFile f(caminho);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(dados);
        return caminho;
    }
    QString grava(const QString& nome, const QStringList& linhas)
    {
        return grava(nome, linhas.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    }

    // The message of the reader's refusal of a file; empty when it opens.
    QString recusa(const QString& caminho)
    {
        try {
            TArqReciboVarnoNet arq(caminho, dialogos);
        } catch (const ERecibo& e) {
            return e.mensagem();
        }
        return {};
    }

    static QString invalido(const QString& caminho, const QString& motivo)
    {
        return QString::fromUtf8("Arquivo de recibo inválido:\n\"%1\"\n%2").arg(caminho, motivo);
    }
};

} // namespace

TEST(MD5, DigestosConhecidosEmMaiusculas)
{
    EXPECT_EQ(MD5Texto(QString()), QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
    EXPECT_EQ(MD5Texto(QStringLiteral("abc")), QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
    EXPECT_EQ(MD5Texto(QStringLiteral("message digest")), QStringLiteral("F96B697D7CB7938D525A2F31AAF161D0"));
    // One byte per character: "é" is the single byte E9, not its two UTF-8 bytes.
    EXPECT_EQ(MD5Texto(QString::fromUtf8("é")), md5(QString::fromUtf8("é")));
    EXPECT_NE(MD5Texto(QString::fromUtf8("é")),
              QString::fromLatin1(QCryptographicHash::hash("\xC3\xA9", QCryptographicHash::Md5).toHex().toUpper()));
}

TEST(MD5, TresPassosEmPedacosDeQualquerTamanho)
{
    const QByteArray milhao(1000000, 'a');
    TMD5 md5;
    md5.Inicia();
    md5.Adiciona("lixo que o Inicia descarta", 26);
    md5.Inicia();
    qsizetype feito = 0;
    for (qsizetype pedaco = 0; feito < milhao.size(); pedaco = (pedaco * 7 + 13) % 4099) {
        const qsizetype n = std::min(pedaco, milhao.size() - feito);
        md5.Adiciona(milhao.constData() + feito, n);
        feito += n;
    }
    EXPECT_EQ(md5.Finaliza(), QStringLiteral("7707D6AE4E027C70EEA2A935C2296F21"));
    // Finishing starts a new digest.
    md5.Adiciona(QByteArray("abc"));
    EXPECT_EQ(md5.Finaliza(), QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
    EXPECT_EQ(md5.Finaliza(), QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
}

TEST_F(Recibos, TamanhoDasLinhasNaAbertura)
{
    ASSERT_EQ(linhaDeTamanho(45).size(), 45);
    ASSERT_EQ(linhaDeTamanho(110).size(), 110);
    const QString curta = monta({"1", "1", "2", "3", "4", "D"});
    ASSERT_EQ(curta.size(), 44);

    QString c = grava("curta.rcb", QStringList{curta});
    EXPECT_EQ(recusa(c), invalido(c, "Linha 1 muito curta (44 caracteres)"));
    EXPECT_EQ(recusa(grava("limites.rcb", QStringList{linhaDeTamanho(45), linhaDeTamanho(110)})), QString());

    c = grava("longa.rcb", QStringList{linhaDeTamanho(60), linhaDeTamanho(111), linhaDeTamanho(60)});
    EXPECT_EQ(recusa(c), invalido(c, "Linha 2 muito longa (111 caracteres)"));
    // The first of equal longest (and shortest) lines is named; a long line is reported before a short one.
    c = grava("duas.rcb", QStringList{linhaDeTamanho(60), curta, linhaDeTamanho(112), linhaDeTamanho(112), curta});
    EXPECT_EQ(recusa(c), invalido(c, "Linha 3 muito longa (112 caracteres)"));
    c = grava("curtas.rcb", QStringList{linhaDeTamanho(60), curta, linhaDeTamanho(60), curta});
    EXPECT_EQ(recusa(c), invalido(c, "Linha 2 muito curta (44 caracteres)"));
    // Lengths are measured as stored: blanks count, the line break does not.
    c = grava("brancos.rcb", QStringList{linhaDeTamanho(60) + QString(51, QLatin1Char(' '))});
    EXPECT_EQ(recusa(c), invalido(c, "Linha 1 muito longa (111 caracteres)"));
}

TEST_F(Recibos, FinsDeLinhaCrLfCrELf)
{
    const QString a = recibo("01032011"), b = recibo("01042011"), d = recibo("01052011");
    const QString c = grava("mistos.rcb", (a + "\r" + b + "\n" + d + "\r\n").toLatin1());
    TArqReciboVarnoNet arq(c, dialogos);
    EXPECT_EQ(arq.Linhas(), QStringList({a, b, d}));
    EXPECT_EQ(arq.QuantidadeLinhas(), 3);
    EXPECT_EQ(arq.NumeroMagico(), 15);
    EXPECT_EQ(arq.Indice(), -1);
    // Without the final break the last line is the same; "\n\r" is two breaks and so an empty line.
    EXPECT_EQ(TArqReciboVarnoNet(grava("sem.rcb", (a + "\r\n" + b).toLatin1()), dialogos).QuantidadeLinhas(), 2);
    const QString vazia = grava("nr.rcb", (a + "\n\r" + b).toLatin1());
    EXPECT_EQ(recusa(vazia), invalido(vazia, "Linha 2 muito curta (0 caracteres)"));
}

TEST_F(Recibos, ArquivosRecusadosInteiros)
{
    QString c = grava("vazio.rcb", QByteArray());
    EXPECT_EQ(recusa(c), QString::fromUtf8("Arquivo de recibo vazio: \"%1\".").arg(c));

    // The first line must begin with a number from 0 to 255, with no blank before it.
    for (const QString& primeira : {QStringLiteral(" ") + recibo("01042011"), recibo("01042011", "123456789", 256),
                                    QStringLiteral("abc") + recibo("01042011").mid(2), QStringLiteral("-1") + recibo("01042011").mid(2)}) {
        c = grava("magico.rcb", QStringList{primeira});
        const QString m = recusa(c);
        EXPECT_TRUE(m.startsWith(invalido(c, QString::fromUtf8("Número mágico inválido: ")))) << m.toStdString();
    }
    EXPECT_EQ(recusa(grava("255.rcb", QStringList{recibo("01042011", "123456789", 255)})), QString());
    // The number is checked before the lengths.
    c = grava("ordem.rcb", QStringList{QStringLiteral("x")});
    EXPECT_TRUE(recusa(c).contains(QString::fromUtf8("Número mágico inválido"))) << recusa(c).toStdString();

    c = dir.filePath("nao-existe.rcb");
    EXPECT_EQ(recusa(c), QString::fromUtf8("Arquivo de recibo não encontrado: \"%1\".").arg(c));
    EXPECT_EQ(recusa(dir.path()), invalido(dir.path(), QString::fromUtf8("Não é um arquivo comum.")));
}

TEST_F(Recibos, ArquivoGrandeDemaisRecusadoSemLeitura)
{
    // 16384 lines of 62 characters and CR LF make exactly the limit, which is accepted; one byte more is not.
    const QString linha = linhaDeTamanho(62);
    QByteArray exato;
    for (int i = 0; i < 16384; ++i)
        exato += linha.toLatin1() + "\r\n";
    ASSERT_EQ(exato.size(), TArqReciboVarnoNet::TamanhoMaximo);
    QString c = grava("exato.rcb", exato);
    EXPECT_EQ(TArqReciboVarnoNet(c, dialogos).QuantidadeLinhas(), 16384);
    c = grava("mais.rcb", exato + "\n");
    const QString muitoGrande =
        QString::fromUtf8("Arquivo de recibo muito grande: \"%1\" (mais de 1048576 bytes).");
    EXPECT_EQ(recusa(c), muitoGrande.arg(c));

    // A sparse file of 3 GiB: reading it whole would take seconds and gigabytes.
    c = dir.filePath("enorme.rcb");
    QFile f(c);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    if (!f.resize(qint64(3) << 30))
        GTEST_SKIP() << "o sistema de arquivos não aceita um arquivo esparso de 3 GiB";
    f.close();
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(recusa(c), muitoGrande.arg(c));
    EXPECT_LT(t.elapsed(), 1000);
}

TEST_F(Recibos, ConteudoBinarioETruncado)
{
    TDialogosAnotados anotados;
    // Every byte value, line breaks included: refused at opening with one of the reader's messages.
    QByteArray todos;
    for (int i = 0; i < 4096; ++i)
        todos += char(i % 256);
    EXPECT_THROW(TArqReciboVarnoNet(grava("binario.rcb", todos), anotados), ERecibo);
    // Bytes without breaks after a good number: opens, and the line is simply not valid.
    QByteArray lixo("15 ");
    for (int i = 0x80; i < 0xC0; ++i)
        lixo += char(i);
    lixo += '\0';
    {
        TArqReciboVarnoNet arq(grava("lixo.rcb", lixo), anotados);
        EXPECT_FALSE(arq.Proximo());
        EXPECT_FALSE(arq.Registro().Valido);
        EXPECT_EQ(arq.Registro().Linha.size(), 2 + 1 + 64) << "the trailing NUL is trimmed as a control character";
        EXPECT_EQ(anotados.textos.size(), 1);
    }
    // A line cut inside its code still opens and reads as not valid; cut shorter it is refused.
    const QString boa = recibo("01042011");
    {
        TArqReciboVarnoNet arq(grava("cortada.rcb", QStringList{boa, boa.left(70)}), anotados);
        EXPECT_TRUE(arq.Proximo());
        EXPECT_FALSE(arq.Proximo());
        EXPECT_EQ(anotados.textos.size(), 2);
    }
    const QString c = grava("curta.rcb", boa.left(30).toLatin1());
    EXPECT_EQ(recusa(c), invalido(c, "Linha 1 muito curta (30 caracteres)"));
}

TEST_F(Recibos, CamposDaLinha)
{
    const QString semDuplicidade = monta({"15", "01042011", "123456789", "15/04/2011", "10:20:30", "A1B2C3D4E5"});
    const QString reapresentacao = recibo("01032011", "987654321", 15, "1");
    // Blanks and control characters around a line are no part of it; longer period and registration are cut.
    const QString cortes = monta({"16", "010420119", "1234567890", "d", "h", "X"});
    const QString c = grava("campos.rcb", QStringList{semDuplicidade, "   " + reapresentacao + "\t ", cortes});
    TArqReciboVarnoNet arq(c, dialogos);

    ASSERT_TRUE(arq.TemProximo());
    ASSERT_TRUE(arq.Proximo());
    const TRegReciboVarnoNet& r = arq.Registro();
    EXPECT_EQ(r.NumeroMagico, 15);
    EXPECT_EQ(r.Periodo, "01042011");
    EXPECT_EQ(r.Inscricao, "123456789");
    EXPECT_EQ(r.Data, "15/04/2011");
    EXPECT_EQ(r.Hora, "10:20:30");
    EXPECT_EQ(r.CodigoDados, "A1B2C3D4E5");
    EXPECT_EQ(r.CodigoRecibo, codigoDe(semDuplicidade));
    EXPECT_EQ(r.Duplicidade, 0) << "a missing field 8 counts as a first presentation";
    EXPECT_EQ(r.Linha, semDuplicidade);
    EXPECT_EQ(arq.Indice(), 0);

    ASSERT_TRUE(arq.Proximo());
    EXPECT_EQ(r.Inscricao, "987654321");
    EXPECT_EQ(r.Duplicidade, 1);
    EXPECT_EQ(r.Linha, reapresentacao);

    ASSERT_TRUE(arq.Proximo());
    EXPECT_EQ(r.NumeroMagico, 16);
    EXPECT_EQ(r.Periodo, "01042011");
    EXPECT_EQ(r.Inscricao, "123456789");
    EXPECT_FALSE(arq.TemProximo());
    // No next line: false, and the last line stays in the line object.
    EXPECT_FALSE(arq.Proximo());
    EXPECT_EQ(arq.Indice(), 2);
    EXPECT_EQ(r.NumeroMagico, 16);
}

TEST_F(Recibos, AutenticacaoDaLinha)
{
    const QStringList campos{"15", "01042011", "123456789", "15/04/2011", "10:20:30", "A1B2C3D4E5"};
    const QString prefixo = campos.join(' ');
    const QString minusculas = prefixo + " " + md5(prefixo).toLower();
    // Two blanks before the code: the digested text keeps one blank after the data code.
    const QString doisBrancosCerto = prefixo + "  " + md5(prefixo + " ");
    const QString doisBrancosErrado = prefixo + "  " + md5(prefixo);
    // More blanks before field 8 change nothing.
    const QString brancosAntesDo8 = prefixo + " " + md5(prefixo) + "     1";
    const QString c = grava("codigos.rcb", QStringList{minusculas, doisBrancosCerto, doisBrancosErrado, brancosAntesDo8});
    const QString caixa = QString::fromUtf8("Erro na recuperação do arquivo de recibo \"%1\"!\n\nRecibo inválido: código incorreto!\n").arg(c);
    const QString descricao = QString::fromUtf8(
        "Numero mágico: 15\nPeríodo: 2011-04\nInscricao: 12.345.678-9\nData: 15/04/2011\nHora: 10:20:30\n"
        "Código dos dados: A1B2C3D4E5\nCódigo do recibo: %1\nSituação: Primeira apresentação");
    dialogos.esperaMensagem(caixa + descricao.arg(md5(prefixo).toLower()))
        .esperaMensagem(caixa + descricao.arg(md5(prefixo)));

    TArqReciboVarnoNet arq(c, dialogos);
    EXPECT_FALSE(arq.Proximo()) << "the comparison is case-sensitive";
    EXPECT_FALSE(arq.Registro().Valido);
    EXPECT_TRUE(arq.Proximo());
    EXPECT_FALSE(arq.Proximo());
    EXPECT_TRUE(arq.Proximo()) << "reading goes on after a line that does not match";
    EXPECT_EQ(arq.Registro().Duplicidade, 1);

    ASSERT_EQ(dialogos.registros().size(), 2);
    const TPedidoMensagem& p = dialogos.registros().at(0).pedido;
    EXPECT_EQ(p.tipo, TipoMsg::Erro);
    EXPECT_EQ(p.titulo, tituloAplicacao());
    EXPECT_EQ(p.botoes, QList<Botao>{Botao::Ok});
}

TEST_F(Recibos, ErrosDosCamposDaLinha)
{
    const QString boa = recibo("01042011");
    const auto erroDaSegunda = [&](const QString& segunda) -> QString {
        TArqReciboVarnoNet arq(grava("erro.rcb", QStringList{boa, segunda, boa}), dialogos);
        EXPECT_TRUE(arq.Proximo());
        try {
            arq.Proximo();
        } catch (const EVarnoNetForaDoPrazo&) {
            return QStringLiteral("fora do prazo");
        } catch (const ERecibo& e) {
            EXPECT_EQ(arq.Indice(), 1) << "the failing line is consumed";
            return e.mensagem();
        }
        return {};
    };
    EXPECT_EQ(erroDaSegunda(recibo("01042011", "123456789", 256)),
              QString::fromUtf8("Número mágico inválido: 256 está fora do intervalo de 0 a 255."));
    EXPECT_EQ(erroDaSegunda("x" + boa.mid(2)), QString::fromUtf8("Número mágico inválido: 'x' não é um número inteiro."));
    EXPECT_EQ(erroDaSegunda(recibo("01042011", "123456789", 15, "abc")),
              QString::fromUtf8("Duplicidade inválida: 'abc' não é um número inteiro."));
    EXPECT_EQ(erroDaSegunda(recibo("01042011", "123456789", 15, "128")),
              QString::fromUtf8("Duplicidade inválida: 128 está fora do intervalo de -128 a 127."));
    EXPECT_EQ(erroDaSegunda(recibo("01042011", "123456789", 15, "99999999999999999999999")),
              QString::fromUtf8("Duplicidade inválida: 99999999999999999999999 está fora do intervalo de -128 a 127."));
    EXPECT_TRUE(erroDaSegunda(recibo("01042011", "123456789", 15, "0 1")).startsWith(QString::fromUtf8("Duplicidade inválida: '0 1'")))
        << "field 8 is a single number";
    EXPECT_EQ(erroDaSegunda(recibo("01042011", "123456789", 15, "-128")), QString());
    // A line that does not match and whose duplicity has no situation raises instead of showing the box.
    EXPECT_EQ(erroDaSegunda(monta({"15", "01042011", "123456789", "d", "h", "X"}, "5", " ").replace(QLatin1String(" X "),
                                                                                                   QLatin1String(" Y "))),
              QString::fromUtf8("Código de duplicidade inválido: 5"));
}

TEST_F(Recibos, TransmissaoForaDoPrazoEncerraALeitura)
{
    const QString fora = QStringLiteral("15 01042011 123456789 15/04/2011 10:20:30 -1 qualquer coisa que viria depois");
    ASSERT_GE(fora.size(), 45);
    const QString c = grava("fora.rcb", QStringList{recibo("01032011"), fora, recibo("01052011")});
    TArqReciboVarnoNet arq(c, dialogos);
    EXPECT_TRUE(arq.Proximo());
    try {
        arq.Proximo();
        ADD_FAILURE() << "the out-of-time line must raise";
    } catch (const EVarnoNetForaDoPrazo& e) {
        EXPECT_EQ(e.mensagem(), QString::fromUtf8("Exercício: 01042011\nData e hora da transmissão: 15/04/2011 10:20:30\n"
                                                  "Inscrição estadual: 12.345.678-9"));
    }
    const TRegReciboVarnoNet& r = arq.Registro();
    EXPECT_EQ(r.CodigoRecibo, "-1");
    EXPECT_EQ(r.Duplicidade, -1);
    EXPECT_FALSE(r.Valido);
    EXPECT_TRUE(arq.Descricao(0).endsWith(QString::fromUtf8("Situação: Fora do prazo")));
}

TEST(ReciboExibicao, PeriodoInscricaoSituacaoEDescricao)
{
    EXPECT_EQ(PeriodoExibicao("01042011"), "2011-04");
    EXPECT_EQ(PeriodoExibicao("20112011"), "2011");
    EXPECT_EQ(InscricaoExibicao("123456789"), "12.345.678-9");
    EXPECT_EQ(InscricaoExibicao(" 123456789 "), "12.345.678-9");
    EXPECT_EQ(InscricaoExibicao("12345678"), "12345678");
    EXPECT_EQ(SituacaoDuplicidade(0), QString::fromUtf8("Primeira apresentação"));
    EXPECT_EQ(SituacaoDuplicidade(1), QString::fromUtf8("Reapresentação (2ª via)"));
    EXPECT_EQ(SituacaoDuplicidade(-1), QString::fromUtf8("Fora do prazo"));
    for (const int v : {2, -2, 127}) {
        try {
            SituacaoDuplicidade(v);
            ADD_FAILURE() << v;
        } catch (const ERecibo& e) {
            EXPECT_EQ(e.mensagem(), QString::fromUtf8("Código de duplicidade inválido: %1").arg(v));
        }
    }

    TRegReciboVarnoNet r;
    r.NumeroMagico = 15;
    r.Periodo = "01042011";
    r.Inscricao = "12345678";
    r.Data = "15/04/2011";
    r.Hora = "10:20:30";
    r.CodigoDados = "DADOS";
    r.CodigoRecibo = "RECIBO";
    r.Duplicidade = 1;
    EXPECT_EQ(r.Descricao(3), QString::fromUtf8("   Numero mágico: 15\n   Período: 2011-04\n   Inscricao: 12345678\n"
                                                "   Data: 15/04/2011\n   Hora: 10:20:30\n   Código dos dados: DADOS\n"
                                                "   Código do recibo: RECIBO\n   Situação: Reapresentação (2ª via)"));
}

TEST(ReciboExibicao, ConversoesDoPeriodo)
{
    EXPECT_EQ(PeriodoOrdenavel("01042011"), "20110401");
    EXPECT_EQ(PeriodoOrdenavel("31122010"), "20101231");
    EXPECT_EQ(DataDoPeriodo("20110401"), QDate(2011, 4, 1));
    EXPECT_EQ(DataDoPeriodo("20120229"), QDate(2012, 2, 29));
    for (const QString& t : {QStringLiteral("20110230"), QStringLiteral("20110001"), QStringLiteral("2011AB01"),
                             QStringLiteral(""), QStringLiteral("2011040"), QStringLiteral("00000101"),
                             QStringLiteral("-0010401"), QStringLiteral("2011 401")}) {
        try {
            DataDoPeriodo(t);
            ADD_FAILURE() << t.toStdString();
        } catch (const EFormatoInvalido& e) {
            EXPECT_EQ(e.mensagem(), QString::fromUtf8("Data inválida. Dia e/ou mês e/ou ano incorreto(s). Data: %1").arg(t));
        }
    }
}

namespace {

struct CriticaRecibo : ::testing::Test {
    TRelogioFixo relogio{QDateTime(QDate(2012, 3, 15), QTime(10, 0))};
    TDialogosRoteiro dialogos;
    const QString numero = md5("qualquer");

    // The answer of Critica for May 2011 and its message.
    QString critica(int tipo, const QString& num, const QDate& data = {})
    {
        TCriticaRecibo c(relogio, dialogos);
        c.setTipoEntrega(tipo);
        c.setNumRecibo(num);
        c.setDataSituacao(data);
        const bool ok = c.Critica("201105");
        EXPECT_EQ(ok, c.Mensagem().isEmpty());
        return c.Mensagem();
    }
};

const QString kSemTipo = QStringLiteral("O tipo de entrega deve ser informado");
const QString kNumeroVazio = QString::fromUtf8("Para o tipo de entrega selecionado, o número do recibo deve ser informado");
const QString kNumero32 = QString::fromUtf8("O número do recibo deve ter 32 dígitos");
const QString kNumeroInvalido = QString::fromUtf8("Informe um número de recibo válido");
const QString kDataMensal = QString::fromUtf8("A data não deve ser informada para o tipo de entrega 'Entrega mensal'");
const QString kDataFalta = QString::fromUtf8("A data deve ser informada para o tipo de entrega diferente da entrega mensal");
const QString kDataFutura = QString::fromUtf8("A data não pode ser superior a hoje");
const QString kInicioNumero = QString::fromUtf8(
    "O número do recibo não deve ser informado para o tipo de entrega 'Primeira entrega da declaração após o "
    "contribuinte está iniciando as suas atividades'");
const QString kInicioData = QString::fromUtf8(
    "A data deve ser informada para o tipo de entrega 'Primeira entrega da declaração após o contribuinte está "
    "iniciando as suas atividades'");
const QString kInicioMes = QString::fromUtf8("A data do início de atividade não pode ser dentro do mês atual");

} // namespace

TEST_F(CriticaRecibo, ValoresIniciaisEPeriodoAnterior)
{
    TCriticaRecibo c(relogio, dialogos);
    EXPECT_TRUE(c.NumRecibo().isEmpty());
    EXPECT_EQ(c.TipoEntrega(), -1);
    EXPECT_TRUE(c.DataSituacao().isNull());
    EXPECT_TRUE(c.Mensagem().isEmpty());
    EXPECT_TRUE(c.Critica("201104"));
    EXPECT_TRUE(c.Critica("200001"));
    EXPECT_FALSE(c.Critica("201105"));
    EXPECT_EQ(c.Mensagem(), kSemTipo);
    EXPECT_FALSE(c.Critica("201201"));
    // A later pass clears the message of an earlier one.
    c.setTipoEntrega(0);
    c.setNumRecibo(numero);
    EXPECT_TRUE(c.Critica("201105"));
    EXPECT_TRUE(c.Mensagem().isEmpty());
}

TEST_F(CriticaRecibo, TipoDeEntrega)
{
    EXPECT_EQ(critica(-1, numero), kSemTipo);
    EXPECT_EQ(critica(4, numero), kSemTipo);
    EXPECT_EQ(critica(0, numero), QString());
    EXPECT_EQ(critica(2, numero, QDate(2012, 1, 10)), QString());
    EXPECT_EQ(critica(3, numero, QDate(2012, 1, 10)), QString());
    EXPECT_EQ(critica(1, QString(), QDate(2012, 1, 10)), QString());
}

TEST_F(CriticaRecibo, NumeroDoRecibo)
{
    EXPECT_EQ(critica(0, QString()), kNumeroVazio);
    EXPECT_EQ(critica(0, "  \t "), kNumeroVazio);
    EXPECT_EQ(critica(0, numero.left(31)), kNumero32);
    EXPECT_EQ(critica(0, numero + "0"), kNumero32);
    EXPECT_EQ(critica(0, "  " + numero + " "), QString()) << "measured without the surrounding blanks";
    EXPECT_EQ(critica(0, QString(32, '7')), kNumeroInvalido);
    EXPECT_EQ(critica(0, QString(32, 'F')), kNumeroInvalido);
    EXPECT_EQ(critica(0, QString(31, '7') + "z"), QString());
    EXPECT_EQ(critica(0, QString(31, '7') + "-"), kNumeroInvalido);
    EXPECT_EQ(critica(0, QString(31, '7') + QString::fromUtf8("é")), kNumeroInvalido) << "letters are A-Z and a-z only";
    EXPECT_EQ(critica(2, QString(32, '7'), QDate(2012, 3, 1)), kNumeroInvalido);
    EXPECT_EQ(critica(3, QString(), QDate(2012, 3, 1)), kNumeroVazio);
}

TEST_F(CriticaRecibo, DataDaSituacaoEAUltimaMensagem)
{
    EXPECT_EQ(critica(0, numero, QDate(2011, 5, 1)), kDataMensal);
    EXPECT_EQ(critica(0, numero.left(31), QDate(2011, 5, 1)), kDataMensal) << "the last failing rule wins";
    for (const int tipo : {2, 3}) {
        EXPECT_EQ(critica(tipo, numero, QDate(2012, 3, 16)), kDataFutura);
        EXPECT_EQ(critica(tipo, numero, QDate(2012, 3, 15)), QString()) << "today is accepted";
        EXPECT_EQ(critica(tipo, numero), kDataFalta);
        EXPECT_EQ(critica(tipo, QString(), QDate(2013, 1, 1)), kDataFutura);
        EXPECT_EQ(critica(tipo, QString(32, 'A')), kDataFalta);
    }
}

TEST_F(CriticaRecibo, PrimeiraEntregaAposInicioDeAtividade)
{
    EXPECT_EQ(critica(1, QString(), QDate(2012, 3, 1)), kInicioMes);
    EXPECT_EQ(critica(1, QString(), QDate(2012, 3, 31)), kInicioMes);
    EXPECT_EQ(critica(1, QString(), QDate(2011, 3, 1)), QString()) << "the same month of another year";
    EXPECT_EQ(critica(1, QString(), QDate(2012, 2, 29)), QString());
    EXPECT_EQ(critica(1, QString(), QDate(2012, 4, 1)), QString());
    EXPECT_EQ(critica(1, "   "), kInicioData);
    EXPECT_EQ(critica(1, numero), kInicioData) << "with a number and no date, the date message";
    EXPECT_EQ(critica(1, numero, QDate(2012, 2, 1)), kInicioNumero);
    EXPECT_EQ(critica(1, numero, QDate(2012, 3, 2)), kInicioMes);
}

namespace {

struct LocalizaRecibo : Recibos {
    TRelogioFixo relogio{QDateTime(QDate(2012, 3, 15), QTime(10, 0))};

    QString pasta() const { return dir.filePath("recibos"); }
    QString erroDaBusca(const QString& pastaBusca)
    {
        TCriticaRecibo c(relogio, dialogos);
        try {
            c.LocalizaRecibo(pastaBusca, "123456789", "201105");
        } catch (const ERecibo& e) {
            return e.mensagem();
        }
        return {};
    }
};

} // namespace

TEST_F(LocalizaRecibo, MensagensDaPasta)
{
    EXPECT_EQ(erroDaBusca(pasta()), QString::fromUtf8("Pasta dos recibos não localizada: '%1'.").arg(pasta()));
    EXPECT_EQ(erroDaBusca(QString()), QString::fromUtf8("Pasta dos recibos não localizada: ''."));
    const QString arquivo = grava("solto.rcb", QStringList{recibo("01042011")});
    EXPECT_EQ(erroDaBusca(arquivo), QString::fromUtf8("Pasta dos recibos não localizada: '%1'.").arg(arquivo));

    // Receipts of subfolders, other extensions and folders named like receipts are not the folder's receipts.
    grava("recibos/sub/abril.rcb", QStringList{recibo("01042011")});
    grava("recibos/abril.txt", QStringList{recibo("01042011")});
    QDir().mkpath(pasta() + "/pasta.rcb");
    EXPECT_EQ(erroDaBusca(pasta()),
              QString::fromUtf8("Nenhum arquivo de recibo (*.rcb) foi localizado na pasta '%1'.").arg(pasta()));

    // The reader's errors end the search.
    const QString vazio = grava("recibos/vazio.rcb", QByteArray());
    EXPECT_EQ(erroDaBusca(pasta()), QString::fromUtf8("Arquivo de recibo vazio: \"%1\".").arg(vazio));
}

TEST_F(LocalizaRecibo, UltimoPeriodoAntesDoLimite)
{
    const QString marco = recibo("01032011"), abril = recibo("01042011"), maio = recibo("01052011");
    grava("recibos/a.rcb", QStringList{abril});
    grava("recibos/b.rcb", QStringList{maio, marco});
    // Later receipts that must never win: another registration, another declaration, a subfolder.
    grava("recibos/c.rcb", QStringList{recibo("10042011", "987654321", 15, "0", "OUTRA"),
                                       recibo("15042011", "123456789", 16, "0", "OUTRO")});
    grava("recibos/sub/d.rcb", QStringList{recibo("20042011")});

    const auto busca = [&](const QString& periodo, QString* num, QDate* data) {
        TCriticaRecibo c(relogio, dialogos);
        c.setNumRecibo("anterior");
        c.setDataSituacao(QDate(2000, 1, 1));
        const bool achou = c.LocalizaRecibo(pasta(), "123456789", periodo);
        *num = c.NumRecibo();
        *data = c.DataSituacao();
        return achou;
    };
    QString num;
    QDate data;
    EXPECT_TRUE(busca("201105", &num, &data));
    EXPECT_EQ(num, codigoDe(abril));
    EXPECT_EQ(data, QDate(2011, 4, 1));
    EXPECT_TRUE(busca("201104", &num, &data));
    EXPECT_EQ(num, codigoDe(marco));
    EXPECT_EQ(data, QDate(2011, 3, 1));
    EXPECT_TRUE(busca("201201", &num, &data));
    EXPECT_EQ(num, codigoDe(maio));
    EXPECT_FALSE(busca("201103", &num, &data));
    EXPECT_EQ(num, "anterior") << "nothing found leaves the values as they were";
    EXPECT_EQ(data, QDate(2000, 1, 1));
}

TEST_F(LocalizaRecibo, EmpateLinhaInvalidaEExtensaoMaiuscula)
{
    // Three receipts of April: the first read wins, within a file and across files read by name.
    const QString reapresentada = recibo("01042011", "123456789", 15, "1", "SEGUNDA");
    const QString terceira = recibo("01042011", "123456789", 15, "1", "TERCEIRA");
    const QString primeira = recibo("01042011", "123456789", 15, "0", "PRIMEIRA");
    grava("recibos/a.rcb", QStringList{reapresentada, terceira});
    grava("recibos/b.rcb", QStringList{primeira});
    TCriticaRecibo c(relogio, dialogos);
    EXPECT_TRUE(c.LocalizaRecibo(pasta(), "123456789", "201105"));
    EXPECT_EQ(c.NumRecibo(), codigoDe(reapresentada));

    // A later receipt whose code does not match is reported and skipped; an upper-case extension is a receipt.
    QString falsa = recibo("01042011", "123456789", 15, "0", "FALSA");
    falsa.replace(QLatin1String("01042011"), QLatin1String("20042011"));
    const QString maiusculo = grava("recibos/0.RCB", QStringList{falsa});
    dialogos.esperaMensagem(QString());
    TCriticaRecibo d(relogio, dialogos);
    EXPECT_TRUE(d.LocalizaRecibo(pasta(), "123456789", "201105"));
    EXPECT_EQ(d.NumRecibo(), codigoDe(reapresentada));
    ASSERT_EQ(dialogos.registros().size(), 1);
    EXPECT_TRUE(dialogos.registros().at(0).texto.contains(maiusculo));
}

TEST_F(LocalizaRecibo, ErrosDaLeituraEncerramABusca)
{
    grava("recibos/a.rcb", QStringList{recibo("01042011")});
    grava("recibos/b.rcb", QStringList{recibo("01032011"),
                                       "15 01052011 123456789 01/06/2011 10:00:00 -1 " + QString(20, QLatin1Char('x')),
                                       recibo("01022011")});
    TCriticaRecibo c(relogio, dialogos);
    EXPECT_THROW(c.LocalizaRecibo(pasta(), "123456789", "201105"), EVarnoNetForaDoPrazo);
    EXPECT_TRUE(c.NumRecibo().isEmpty());

    // A taking-part line without a real date: day 00 sorts below the limit but is no date.
    QFile::remove(dir.filePath("recibos/b.rcb"));
    grava("recibos/c.rcb", QStringList{recibo("00032011")});
    EXPECT_EQ(erroDaBusca(pasta()),
              QString::fromUtf8("Data inválida. Dia e/ou mês e/ou ano incorreto(s). Data: 20110300"));
}

TEST(ReciboPagina, ItensMesAnteriorEMensagem)
{
    const QStringList& itens = ItensSituacaoCadastro();
    ASSERT_EQ(itens.size(), 4);
    EXPECT_EQ(itens[0], "Entrega mensal");
    EXPECT_EQ(itens[3], QString::fromUtf8("Primeira entrada da declaração após suspensão de ofício "));

    EXPECT_TRUE(ReciboDoMesAnterior(QDate(2011, 12, 1), "201201"));
    EXPECT_TRUE(ReciboDoMesAnterior(QDate(2011, 4, 30), "201105"));
    EXPECT_FALSE(ReciboDoMesAnterior(QDate(2010, 12, 1), "201201"));
    EXPECT_FALSE(ReciboDoMesAnterior(QDate(2012, 1, 1), "201201"));
    EXPECT_FALSE(ReciboDoMesAnterior(QDate(2011, 3, 1), "201105"));
    EXPECT_FALSE(ReciboDoMesAnterior(QDate(), "201105"));

    EXPECT_EQ(MensagemReciboNaoEncontrado("/tmp/r", "201105", "123456789", "EMPRESA LTDA"),
              QString::fromUtf8("Nenhum código de recibo encontrado para os dados abaixo:\n\r\n\rPasta:  /tmp/r\n\r"
                                "Período anterior a:  5/2011\n\rEmpresa:  123456789 - EMPRESA LTDA"));
}

TEST_F(Recibos, LinhaDeComandoDescreveCadaLinha)
{
    const auto executa = [&](const QString& caminho, QString* out, QString* err) {
        out->clear();
        err->clear();
        QTextStream s(out), e(err);
        const int r = ExecutaRecibo(caminho, dialogos, s, e);
        s.flush();
        e.flush();
        return r;
    };
    QString out, err;
    const QString boa = recibo("01042011");
    EXPECT_EQ(executa(grava("boa.rcb", QStringList{boa, boa}), &out, &err), 0);
    EXPECT_TRUE(err.isEmpty());
    const QString descricao = QString::fromUtf8(
        "  Numero mágico: 15\n  Período: 2011-04\n  Inscricao: 12.345.678-9\n  Data: 15/04/2011\n  Hora: 10:20:30\n"
        "  Código dos dados: A1B2C3D4E5\n  Código do recibo: %1\n  Situação: Primeira apresentação\n").arg(codigoDe(boa));
    EXPECT_EQ(out, "Linha 1: valido\n" + descricao + "Linha 2: valido\n" + descricao);

    QString errada = boa;
    errada.replace(QLatin1String("A1B2C3D4E5"), QLatin1String("A1B2C3D4E6"));
    dialogos.esperaMensagem(QString());
    EXPECT_EQ(executa(grava("errada.rcb", QStringList{errada, boa}), &out, &err), 1);
    EXPECT_TRUE(out.startsWith("Linha 1: invalido\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("Linha 2: valido\n"));

    const QString vazio = grava("vazio.rcb", QByteArray());
    EXPECT_EQ(executa(vazio, &out, &err), 1);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(err, QString::fromUtf8("Arquivo de recibo vazio: \"%1\".\n").arg(vazio));

    const QString fora = "15 01052011 123456789 01/06/2011 10:00:00 -1 " + QString(20, QLatin1Char('x'));
    EXPECT_EQ(executa(grava("fora.rcb", QStringList{boa, fora, boa}), &out, &err), 1);
    EXPECT_TRUE(out.contains(QString::fromUtf8("Linha 2: invalido\n")));
    EXPECT_FALSE(out.contains("Linha 3"));
    EXPECT_TRUE(err.startsWith(QString::fromUtf8("Linha 2: transmissão fora do prazo\n"))) << err.toStdString();

    EXPECT_EQ(executa(grava("magico.rcb", QStringList{boa, recibo("01042011", "123456789", 300)}), &out, &err), 1);
    EXPECT_EQ(err, QString::fromUtf8("Linha 2: Número mágico inválido: 300 está fora do intervalo de 0 a 255.\n"));
}
