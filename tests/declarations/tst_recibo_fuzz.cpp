// Receipt files come from outside the program: whatever their bytes, the reader either reads them or raises
// one of its own errors, in bounded time. Random and mutated files from a fixed seed; ZEL_FUZZ_ITERACOES and
// ZEL_FUZZ_SEMENTE run more of them, or others.
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <random>

#include "core/DialogsNew.h"
#include "core/untRelogio.h"
#include "declarations/ReciboVarnoNet.h"
#include "declarations/untRecibo.h"

namespace {

class TDialogosMudos final : public IDialogos {
public:
    int caixas = 0;
    Botao mostraMensagem(const TPedidoMensagem& p) override
    {
        ++caixas;
        return p.cancela;
    }
    bool confirmaExclusao(const QString&) override { return false; }
    void mensagemSimples(const QString&) override { ++caixas; }
    QString salvarArquivo(const QString&, const QString&, const QString&) override { return {}; }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    bool abrirAssociado(const QString&) override { return false; }
    int executaModal(QObject*) override { return 0; }
};

int doAmbiente(const char* nome, int padrao)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(nome, &ok);
    return ok && v > 0 ? v : padrao;
}

class TGerador {
public:
    explicit TGerador(quint32 semente) : m_rng(semente) {}

    int ate(int n) { return int(m_rng() % quint32(n)); }  // 0 .. n-1
    bool chance(int emCada) { return ate(emCada) == 0; }

    QByteArray bytesAleatorios(int n)
    {
        QByteArray b(n, '\0');
        for (char& c : b)
            c = char(ate(256));
        return b;
    }

    // A field that is sometimes at a limit of its range or not a number at all.
    QByteArray numero(int minimo, int maximo)
    {
        switch (ate(8)) {
        case 0: return QByteArray::number(minimo - 1);
        case 1: return QByteArray::number(maximo + 1);
        case 2: return QByteArray::number(minimo);
        case 3: return QByteArray::number(maximo);
        case 4: return QByteArray(1 + ate(30), '9');
        case 5: return "+" + QByteArray::number(ate(10));
        case 6: return bytesAleatorios(1 + ate(3));
        default: return QByteArray::number(minimo + ate(maximo - minimo + 1));
        }
    }

    QByteArray linhaValida()
    {
        QByteArray periodo = QByteArray::number(1 + ate(28)).rightJustified(2, '0') +
                             QByteArray::number(1 + ate(12)).rightJustified(2, '0') + QByteArray::number(2000 + ate(20));
        if (chance(10))
            periodo = bytesAleatorios(ate(12)).replace(' ', 'x');
        QByteArray campos = (chance(5) ? numero(0, 255) : QByteArray("15")) + " " + periodo + " " +
                            (chance(4) ? QByteArray::number(100000000 + ate(900000000)) : QByteArray("123456789")) +
                            " 15/04/2011 10:20:30 " + (chance(20) ? QByteArray("-1") : QByteArray("A1B2C3D4E5"));
        QByteArray l = campos + QByteArray(chance(5) ? 2 : 1, ' ') +
                       QCryptographicHash::hash(campos, QCryptographicHash::Md5).toHex().toUpper();
        if (!chance(3))
            l += " " + numero(-128, 127);
        if (chance(6))
            l = QByteArray(ate(4), ' ') + l + QByteArray(ate(4), chance(2) ? ' ' : '\t');
        return l;
    }

    QByteArray quebra()
    {
        // Doubled breaks make empty lines, which refuse the whole file, so they stay rare.
        if (chance(20))
            return chance(2) ? "\n\r" : "\r\r\n";
        static const char* const simples[] = {"\r\n", "\r", "\n"};
        return simples[ate(3)];
    }

    QByteArray arquivoDeLinhas()
    {
        QByteArray a;
        const int n = 1 + ate(6);
        for (int i = 0; i < n; ++i) {
            a += linhaValida();
            if (i + 1 < n || !chance(3))
                a += quebra();
        }
        return a;
    }

    void muta(QByteArray& a)
    {
        const int vezes = 1 + ate(3);
        for (int i = 0; i < vezes; ++i) {
            switch (ate(7)) {
            case 0:  // flip a byte
                if (!a.isEmpty())
                    a[ate(int(a.size()))] = char(ate(256));
                break;
            case 1:  // insert bytes, breaks and blanks more often than others
                a.insert(a.isEmpty() ? 0 : ate(int(a.size()) + 1),
                         chance(4) ? quebra() : (chance(2) ? QByteArray(1 + ate(3), ' ') : bytesAleatorios(1 + ate(8))));
                break;
            case 2:  // truncate, mostly near the end as an interrupted copy would
                a.truncate(chance(3) ? ate(int(a.size()) + 1) : std::max(0, int(a.size()) - ate(60)));
                break;
            case 3:  // delete a run
                if (!a.isEmpty()) {
                    const int p = ate(int(a.size()));
                    a.remove(p, 1 + ate(10));
                }
                break;
            case 4:  // a run inside a line, now and then a very long one
                a.insert(a.isEmpty() ? 0 : ate(int(a.size()) + 1),
                         QByteArray(chance(4) ? 100 + ate(5000) : 1 + ate(30), chance(2) ? 'A' : ' '));
                break;
            case 5:  // every break replaced by another kind
                {
                    QByteArray b;
                    for (const char c : std::as_const(a)) {
                        if (c == '\n' || c == '\r')
                            b += quebra();
                        else
                            b += c;
                    }
                    a = b;
                }
                break;
            default:  // NULs and high bytes
                if (!a.isEmpty())
                    a[ate(int(a.size()))] = chance(2) ? '\0' : char(0x80 + ate(128));
                break;
            }
        }
    }

    QByteArray arquivo()
    {
        switch (ate(10)) {
        case 0: return bytesAleatorios(ate(400));
        case 1: return "15 " + bytesAleatorios(40 + ate(80));
        case 2: return arquivoDeLinhas();
        default: {
            QByteArray a = arquivoDeLinhas();
            muta(a);
            return a;
        }
        }
    }

private:
    std::mt19937 m_rng;
};

struct TContagem {
    QMap<QString, int> motivos;  // of the refusals
    int recusados = 0, abertos = 0, validas = 0, invalidas = 0, foraDoPrazo = 0, errosDeLinha = 0, buscas = 0;
};

bool codigoMaiusculo(const QString& c)
{
    if (c.size() != 32)
        return false;
    for (const QChar ch : c)
        if (!((ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'))))
            return false;
    return true;
}

// Reads one file the way the folder search does, and checks what a successful read promises.
void le(const QString& caminho, IDialogos& dialogos, TContagem& n)
{
    std::unique_ptr<TArqReciboVarnoNet> arq;
    try {
        arq = std::make_unique<TArqReciboVarnoNet>(caminho, dialogos);
    } catch (const ERecibo& e) {
        ++n.recusados;
        static const QStringList motivos{QStringLiteral("vazio"), QStringLiteral("muito longa"), QStringLiteral("muito curta"),
                                         QString::fromUtf8("Número mágico"), QStringLiteral("muito grande")};
        for (const QString& m : motivos)
            if (e.mensagem().contains(m))
                ++n.motivos[m];
        return;
    }
    ++n.abertos;
    ASSERT_GE(arq->QuantidadeLinhas(), 1);
    ASSERT_EQ(arq->QuantidadeLinhas(), arq->Linhas().size());
    for (const QString& l : arq->Linhas()) {
        ASSERT_GE(l.size(), TArqReciboVarnoNet::LinhaMinima);
        ASSERT_LE(l.size(), TArqReciboVarnoNet::LinhaMaxima);
    }
    while (arq->TemProximo()) {
        const int antes = arq->Indice();
        try {
            if (arq->Proximo()) {
                ++n.validas;
                const TRegReciboVarnoNet& r = arq->Registro();
                ASSERT_TRUE(r.Valido);
                ASSERT_TRUE(codigoMaiusculo(r.CodigoRecibo)) << r.Linha.toStdString();
                ASSERT_LE(r.Periodo.size(), 8);
                ASSERT_LE(r.Inscricao.size(), 9);
                try {
                    arq->Descricao(2);
                    DataDoPeriodo(PeriodoOrdenavel(r.Periodo));
                } catch (const ERecibo&) {
                }
            } else {
                ++n.invalidas;
            }
        } catch (const EVarnoNetForaDoPrazo&) {
            ++n.foraDoPrazo;
            return;
        } catch (const ERecibo&) {
            ++n.errosDeLinha;
        }
        ASSERT_EQ(arq->Indice(), antes + 1) << "every step consumes one line";
    }
}

} // namespace

TEST(ReciboFuzz, ArquivosAleatoriosEMutados)
{
    const int iteracoes = doAmbiente("ZEL_FUZZ_ITERACOES", 3000);
    const quint32 semente = quint32(doAmbiente("ZEL_FUZZ_SEMENTE", 20110501));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir().mkpath(dir.filePath("pasta"));
    TGerador g(semente);
    TDialogosMudos dialogos;
    TRelogioFixo relogio(QDateTime(QDate(2012, 3, 15), QTime(10, 0)));
    TContagem n;
    qint64 maisLento = 0;
    QElapsedTimer total;
    total.start();

    for (int i = 0; i < iteracoes; ++i) {
        QByteArray dados = g.arquivo();
        // Now and then a file just over the limit, which must be refused without being read.
        if (g.chance(1000))
            dados = QByteArray(TArqReciboVarnoNet::TamanhoMaximo + 1 + g.ate(1000), 'A');
        const QString caminho = dir.filePath(QStringLiteral("pasta/%1.rcb").arg(i % 8));
        {
            QFile f(caminho);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(dados);
        }
        QElapsedTimer t;
        t.start();
        try {
            le(caminho, dialogos, n);
            // A folder of the last eight files, searched as the declaration screens do.
            if (i % 8 == 7) {
                ++n.buscas;
                TCriticaRecibo critica(relogio, dialogos);
                try {
                    critica.LocalizaRecibo(dir.filePath("pasta"), QStringLiteral("123456789"), QStringLiteral("201105"));
                } catch (const ERecibo&) {
                }
            }
        } catch (const std::exception& e) {
            FAIL() << "exceção fora das do leitor no arquivo " << i << ": " << e.what();
        } catch (...) {
            FAIL() << "exceção desconhecida no arquivo " << i;
        }
        if (::testing::Test::HasFatalFailure()) {
            ADD_FAILURE() << "arquivo " << i << " (semente " << semente << "): " << dados.toHex().left(400).toStdString();
            return;
        }
        maisLento = std::max(maisLento, t.elapsed());
    }
    EXPECT_LT(maisLento, 2000) << "a single file took too long";
    std::cout << "[ fuzz ] semente " << semente << ", " << iteracoes << " arquivos em " << total.elapsed()
              << " ms (o mais lento " << maisLento << " ms): " << n.recusados << " recusados, " << n.abertos
              << " abertos; linhas " << n.validas << " válidas, " << n.invalidas << " inválidas, " << n.errosDeLinha
              << " com erro, " << n.foraDoPrazo << " fora do prazo; " << n.buscas << " buscas na pasta; " << dialogos.caixas
              << " caixas\n[ fuzz ] recusas:";
    for (auto it = n.motivos.cbegin(); it != n.motivos.cend(); ++it)
        std::cout << ' ' << it.key().toStdString() << ' ' << it.value() << ';';
    std::cout << '\n';
    // The generator must reach every outcome, or the run proves little.
    EXPECT_GT(n.recusados, 0);
    EXPECT_GT(n.validas, 0);
    EXPECT_GT(n.invalidas, 0);
    EXPECT_GT(n.errosDeLinha, 0);
    EXPECT_GT(n.foraDoPrazo, 0);
}
