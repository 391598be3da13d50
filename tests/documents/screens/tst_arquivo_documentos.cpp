// A month of the other fiscal documents typed through their entry screens as a user does (a series D run, a
// cash-register day, a freight bill with its cargo notes), then the month's return file: its records 60M/60A,
// 61, 70 and 71 must be the bytes the layout asks for, built here from the positions of each field rather
// than by the program's own record builders.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "documents/screens/untCarga.h"
#include "documents/screens/untIncluirCupomFiscal.h"
#include "documents/screens/untIncluirNotasTalao.h"
#include "documents/screens/untIncluirNotasTransporte.h"
#include "output/untGeradorArquivo.h"
#include "support/TBancoTeste.h"
#include "support/TCadastroTeste.h"
#include "widgets/untTelas.h"

namespace {

void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

void Clica(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

void Digita(QWidget* e, const QString& texto)
{
    e->setFocus(Qt::TabFocusReason);
    if (auto* l = qobject_cast<QLineEdit*>(e))
        l->selectAll();
    else if (auto* c = qobject_cast<QComboBox*>(e))
        c->lineEdit()->selectAll();
    QTest::keyClicks(e, texto);
}

// Leaves the field that has the focus, as Tab does.
void Sai()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

QString esp(int n) { return QString(n, QLatin1Char(' ')); }
// N fields: zero-filled on the left.
QString num(qint64 v, int largura) { return QString::number(v).rightJustified(largura, QLatin1Char('0')); }
// Amounts: cents, zero-filled on the left.
QString valor(qint64 centavos, int largura) { return num(centavos, largura); }
// X fields: blank-filled on the right.
QString txt(const QString& t, int largura) { return t.leftJustified(largura, QLatin1Char(' ')); }

struct ArquivoDosDocumentos : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};
    TProgressoGravado progresso;
    QTemporaryDir saida;
    // The cargo notes' recipient and the freight bill's carrier, found on the screens by their CNPJ.
    const TCamposContribuinte cliente = Fixtura::Parte();
    const TCamposContribuinte transportadora = Fixtura::Transportadora();

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        // The month's declaration, which the file carries in its records 88.
        TBancoTeste::executaDireto(banco.con->db(), "INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, sitCadastroContrib) "
                                                    "VALUES (1, '202407', 'N', 1)");
        // The taxpayer with its accountant and the two counterparties, as the registers take them.
        TCadastroTeste cadastro(*banco.dtm, banco.dialogos);
        ASSERT_EQ(cadastro.contribuinte(), 1);
        ASSERT_EQ(cadastro.parte(cliente), 2);
        ASSERT_EQ(cadastro.parte(transportadora), 3);
        ctx.IdAtivo = 1;
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    void talao()
    {
        TfrmIncluirNotasTalao t(ctx);
        Ativa(&t);
        Clica(t.btnNovaNota);
        Digita(t.edtSerie, "d");
        Digita(t.edtNInicial, "1");
        Digita(t.edtNFinal, "50");
        Sai();
        Digita(t.curVlrTotal, "1.250,00");
        Digita(t.curBaseIcms, "1.000,00");
        Digita(t.curVlrIsenta, "200,00");
        Digita(t.curVlrOutras, "50,00");
        Digita(t.vlrAliquota, "17");
        Sai();
        banco.dialogos.esperaMensagem(QString::fromUtf8("Nota Incluída com Sucesso!"));
        Clica(t.btnSalvar);
        banco.dialogos.verificaConsumo();
    }

    void cupom()
    {
        TfrmIncluirCupomFiscal t(ctx);
        Ativa(&t);
        Clica(t.btnNovo);
        Digita(t.edtNumSerie, "ABC123");
        Digita(t.edtNumeroEqp, "1");
        Digita(t.edtCooInicial, "10");
        Digita(t.edtCooFinal, "20");
        Digita(t.edtCRZ, "5");
        Digita(t.curGTInicial, "1.000,00");
        Digita(t.curGTFinal, "1.500,00");
        Sai();                       // "Venda Bruta" proposed: 500,00
        t.curVendaBruta->setFocus(Qt::TabFocusReason);
        Sai();                       // the header step
        ASSERT_NE(t.cupomAtual(), 0);
        Digita(t.curVlr_CANC, "10,00");
        Digita(t.curVlr_DESC, "5,00");
        Digita(t.curVlr_F, "50,00");
        Sai();
        for (auto [aliquota, v] : {std::pair{"1700", "300,00"}, std::pair{"1200", "135,00"}}) {
            Digita(t.cmbAliquota, QString::fromLatin1(aliquota));
            Sai();
            Digita(t.curVlrAcumulado, QString::fromLatin1(v));
            Sai();
        }
        banco.dialogos.esperaMensagem(QString::fromUtf8("Cupom Incluído com Sucesso!"));
        Clica(t.btnSalvar);
        banco.dialogos.verificaConsumo();
    }

    // One cargo note through its entry screen, opened from the transport screen's grid menu.
    void carga(TfrmIncluirNotasTransporte& t, const QString& destino, const QString& numero, const QDate& dia,
               const QString& v)
    {
        banco.dialogos.esperaTela("TfrmIncluirCarga", [&](QObject* o) {
            auto* c = static_cast<TfrmIncluirCarga*>(o);
            Ativa(c);
            if (destino.isEmpty()) // leaving the empty field offers the register; closing it chooses nobody
                banco.dialogos.esperaTela("TfrmEmpresas", [](QObject*) { return 0; });
            else
                Digita(c->edtCnpjDestino, destino);
            Sai();
            Digita(c->edtModelo, "1");
            Digita(c->edtSerie, "1");
            Digita(c->edtNumeroNF, numero);
            c->edtEmissao->setDate(dia);
            Digita(c->edtValorNF, v);
            banco.dialogos.esperaMensagem(QStringLiteral("Nota de Carga\nGravada com Sucesso!"));
            Clica(c->btnSalvar);
            Clica(c->btnFechar);
            return 0;
        });
        t.mnuIncluirCarga->trigger();
        banco.dialogos.verificaConsumo();
    }

    void transporte()
    {
        TfrmIncluirNotasTransporte t(ctx);
        Ativa(&t);
        Clica(t.btnNovaNota);
        Digita(t.edtSerie, "u");
        Digita(t.edtNumNtTransporte, "4567");
        Digita(t.curNTVlrTotal, "800,00");
        Digita(t.curNTBaseCalc, "800,00");
        Digita(t.curNTValorIcms, "96,00");
        Digita(t.edtCodCFOP, "2352");
        Sai();
        Digita(t.edtCnpjTomador, transportadora.numero);
        Sai();
        ASSERT_EQ(t.lblUF->text(), "SP");
        t.ckbTransportadora->setFocus(Qt::TabFocusReason);
        Clica(t.ckbTransportadora);   // the header, inside the screen's transaction
        ASSERT_NE(t.notaAtual(), 0);
        carga(t, cliente.numero, QStringLiteral("123"), QDate(2024, 7, 10),
              QStringLiteral("1.234,56"));
        carga(t, QString(), QStringLiteral("125"), QDate(2024, 7, 11), QStringLiteral("100,00"));
        banco.dialogos.esperaMensagem(QStringLiteral("Nota de Transporte\nGravada com Sucesso!"));
        Clica(t.btnSalvar);
        banco.dialogos.verificaConsumo();
    }

    QStringList arquivo()
    {
        const QString caminho = saida.filePath(QStringLiteral("arquivo.txt"));
        TGeradorArquivo g(*banco.dtm, banco.dialogos, progresso, relogio, 1);
        EXPECT_TRUE(g.GravaArquivo(caminho, QStringLiteral("1"), QStringLiteral("202407"), 1, QStringLiteral("1")))
            << g.ultimoErro().toStdString();
        QFile f(caminho);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_FALSE(bytes.endsWith("\r\n")) << "no CR LF after the last record";
        return QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    }
};

} // namespace

TEST_F(ArquivoDosDocumentos, RegistrosDosDocumentosDigitadosNasTelas)
{
    talao();
    cupom();
    transporte();
    ASSERT_FALSE(HasFailure());

    const QStringList ls = arquivo();
    for (const QString& l : ls)
        EXPECT_EQ(l.size(), 126) << l.toStdString();

    const QString serie = txt(QStringLiteral("ABC123"), 20);
    const QString dia = QStringLiteral("20240715");
    const QString m60 = QStringLiteral("60M") + dia + serie + QStringLiteral("001") + QStringLiteral("2D") + num(10, 6) +
                        num(20, 6) + num(5, 6) + num(0, 3) + valor(50000, 16) + valor(150000, 16) + esp(37);
    auto a60 = [&](const char* rotulo, qint64 centavos) {
        return QStringLiteral("60A") + dia + serie + QString::fromLatin1(rotulo) + valor(centavos, 12) + esp(79);
    };
    const QString r61 = QStringLiteral("61") + esp(28) + dia + QStringLiteral("02") + txt("D", 3) + txt("", 2) +
                        num(1, 6) + num(50, 6) + valor(125000, 13) + valor(100000, 13) + valor(17000, 12) +
                        valor(20000, 13) + valor(5000, 13) + QStringLiteral("1700") + esp(1);
    const QString transportador = transportadora.numero + txt(transportadora.ccicms, 14);
    const QString doc70 = transportador + dia + QStringLiteral("SP") + QStringLiteral("08") + QStringLiteral("U") +
                          txt("", 2) + QStringLiteral("004567");
    const QString r70 = QStringLiteral("70") + doc70 + QStringLiteral("2352") + valor(80000, 13) + valor(80000, 14) +
                        valor(9600, 14) + valor(0, 14) + valor(0, 14) + QStringLiteral("1") + QStringLiteral("N");
    const QString r71a = QStringLiteral("71") + doc70 + QStringLiteral("ZR") + cliente.numero +
                         txt(cliente.ccicms, 14) + QStringLiteral("20240710") + QStringLiteral("01") + txt("1", 3) +
                         QStringLiteral("000123") + valor(123456, 14) + esp(12);
    // A cargo note without a recipient: zeros for the number, blanks for registration and state.
    const QString r71b = QStringLiteral("71") + doc70 + esp(2) + num(0, 14) + esp(14) + QStringLiteral("20240711") +
                         QStringLiteral("01") + txt("1", 3) + QStringLiteral("000125") + valor(10000, 14) + esp(12);

    const QStringList esperadas = {m60,          a60("1700", 30000), a60("1200", 13500), a60("F   ", 5000),
                                   a60("CANC", 1000), a60("DESC", 500), r61, r70, r71a, r71b};
    const int inicio = int(ls.indexOf(m60));
    ASSERT_GE(inicio, 0) << "the 60M of the day:\n" << ls.join('\n').toStdString();
    ASSERT_LE(inicio + esperadas.size(), ls.size());
    for (int i = 0; i < esperadas.size(); ++i)
        EXPECT_EQ(ls[inicio + i], esperadas[i]) << "record " << i;

    // Record 90 counts the families: 60 (M and A together) 6, 61 1, 70 1, 71 2.
    const QString r90 = ls.last();
    EXPECT_TRUE(r90.startsWith(QStringLiteral("90") + QStringLiteral("11222333000181") + txt("123456789", 14)));
    for (const QString& contagem : {QStringLiteral("60") + num(6, 8), QStringLiteral("61") + num(1, 8),
                                    QStringLiteral("70") + num(1, 8), QStringLiteral("71") + num(2, 8)})
        EXPECT_TRUE(r90.contains(contagem)) << contagem.toStdString() << " in " << r90.toStdString();
}
