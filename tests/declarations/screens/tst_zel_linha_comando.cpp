// "zelcli apuracao --declaracao normal" against the entry screen's "Processa" over the same database: every
// value the tool prints is the one the screen's field shows, to the ten-thousandth.
#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untIncluirZEL.h"
#include "declarations/screens/untIncluirZELEPP.h"
#include "declarations/screens/untInformacoesSN.h"
#include "declarations/untApuracao.h"
#include "support/TBancoTeste.h"
#include "widgets/untTelas.h"

namespace {

struct ZelLinhaComando : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 8, 20), QTime(10, 0))};

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        sql("INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES "
            "(1, '11222333000181', '123456789', 'ATIVO', 'ZR', 'C'), (2, '44555666000177', '987654321', 'CLIENTE', 'ZR', 'F'),"
            "(3, '77888999000155', '111222333', 'FORNECEDOR', 'SP', 'F')");
        ctx.IdAtivo = 1;
        // July 2024: a sale with substitution, a source-regime line, a purchase with a fraction of a cent, an
        // accumulated-credit transfer each way and an interstate purchase with retained tax.
        sql("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
            "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
            "(1, 1, 2, '2024-07-10', 'S', '55', '1', '', '000001', '5102', 'P', 20000000, 'N', '2024-07-10'),"
            "(2, 1, 2, '2024-07-11', 'S', '55', '1', '', '000002', '5405', 'P', 5000000, 'N', '2024-07-11'),"
            "(3, 1, 3, '2024-07-12', 'E', '55', '1', '', '000777', '2102', 'T', 8000000, 'N', '2024-07-12'),"
            "(4, 1, 2, '2024-07-13', 'E', '55', '1', '', '000888', '1601', 'T', 1000000, 'N', '2024-07-13'),"
            "(5, 1, 2, '2024-07-14', 'S', '55', '1', '', '000003', '5601', 'P', 600000, 'N', '2024-07-14')");
        sql("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
            "(1, 20000000, 3400000, 0, 0, '1700'), (2, 5000000, 850000, 0, 0, '1700'), "
            "(3, 8000000, 560005, 0, 0, '0700'), (4, 1000000, 120000, 0, 0, '1200'), (5, 600000, 72000, 0, 0, '1200')");
        sql("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
            "(2, 6000000, 170000, 0, '1'), (1, 0, 0, 0, '5'), (3, 1000000, 45000, 0, '')");
        // June 2024's declaration leaves a credit balance of 123,4567.
        sql("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredEntradas, DebSaidas) VALUES (1, '202406', 'N', 2234567, 1000000)");
    }
    void sql(const char* comando) { TBancoTeste::executaDireto(banco.con->db(), QString::fromUtf8(comando)); }

    // What the tool prints for the period and declaration, by column.
    QHash<QString, QString> zelcli(const char* periodo, const char* declaracao)
    {
        QProcess p;
        p.start(QStringLiteral(ZELCLI), {"apuracao", "--pasta", banco.pasta.path(), "--ie", "123456789", "--periodo",
                                         periodo, "--declaracao", declaracao});
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        QHash<QString, QString> r;
        for (const QString& l : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
            r.insert(l.section('\t', 0, 0), l.section('\t', 1));
        return r;
    }
    template <class Tela>
    static void processa(Tela& t, const char* mes, const char* ano)
    {
        t.show();
        QApplication::setActiveWindow(&t);
        t.cmbMes->setEditText(QString::fromLatin1(mes));
        t.cmbAno->setEditText(QString::fromLatin1(ano));
        QTest::mouseClick(t.btnProcessa, Qt::LeftButton);
    }
    template <class Tela>
    static void confere(const Tela& t, const QHash<QString, QString>& impresso,
                        const QList<std::pair<const char*, const char*>>& campos)
    {
        ASSERT_EQ(impresso.size(), campos.size());
        for (const auto& [coluna, campo] : campos) {
            ASSERT_TRUE(t.campo(campo)) << campo;
            EXPECT_EQ(impresso.value(QString::fromLatin1(coluna)), ValorQuatroCasas(t.campo(campo)->valor())) << coluna;
        }
    }
};

} // namespace

TEST_F(ZelLinhaComando, ProcessaDaTelaEOQueOComandoImprime)
{
    TfrmIncluirZEL t(ctx);
    t.show();
    QApplication::setActiveWindow(&t);
    t.cmbMes->setEditText(QStringLiteral("7"));
    QTest::mouseClick(t.btnProcessa, Qt::LeftButton);
    ASSERT_TRUE(t.btnSalvarZel->isEnabled());
    banco.dialogos.verificaConsumo();

    QProcess p;
    p.start(QStringLiteral(ZELCLI), {"apuracao", "--pasta", banco.pasta.path(), "--ie", "123456789", "--periodo",
                                     "202407", "--declaracao", "normal"});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QStringList linhas = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);

    // The month's figures come first, then one line per field the screen's "Processa" fills.
    const std::pair<const char*, const char*> campos[] = {
        {"1", "edtCredEntrada"},   {"3", "edtCredAcumulado"},  {"8", "edtCredPeriodo"},       {"9", "edtCredSaldoAnterior"},
        {"10", "edtCredTotal"},    {"11", "edtDebSaidas"},     {"12", "edtDebTransCredAC"},    {"15", "edtDebTotal"},
        {"16", "edtSaldoCredorPeriodo"}, {"17", "edtImpostoRecolher"}, {"01", "edtIcmsSTEntradas"}, {"02", "edtIcmsST_JR"},
        {"03", "edtIcmsST_AR"},    {"04", "edtSTSaidas"},      {"05", "edtST_Fonte"},          {"06", "edtTotalST"},
    };
    const int inicio = int(linhas.indexOf(QRegularExpression(QStringLiteral("^ExistemDocumentos\t.*")))) + 1;
    ASSERT_GT(inicio, 0) << linhas.join('\n').toStdString();
    ASSERT_EQ(linhas.size() - inicio, int(std::size(campos))) << linhas.join('\n').toStdString();
    for (int i = 0; i < int(std::size(campos)); ++i) {
        const auto& [numero, campo] = campos[i];
        ASSERT_TRUE(t.campo(campo)) << campo;
        EXPECT_EQ(linhas[inicio + i], QString::fromLatin1(numero) + QLatin1Char('\t') + ValorQuatroCasas(t.campo(campo)->valor()))
            << numero;
    }
    QHash<QString, QString> impresso;
    for (int i = inicio; i < linhas.size(); ++i)
        impresso.insert(linhas[i].section('\t', 0, 0), linhas[i].section('\t', 1));
    // The month itself, worked out by hand: the credit carries the fraction of a cent whole.
    EXPECT_EQ(impresso.value("1"), "56.0005");
    EXPECT_EQ(impresso.value("3"), "12.0000");
    EXPECT_EQ(impresso.value("9"), "123.4567");
    EXPECT_EQ(impresso.value("12"), "7.2000");
    EXPECT_EQ(impresso.value("10"), "191.4572");
}

TEST_F(ZelLinhaComando, ProcessaDasTelasEPPESimplesNacional)
{
    // May 2006 under the old rules: a sale and a purchase inside the state.
    sql("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, SubSerie, "
        "NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
        "(10, 1, 2, '2006-05-10', 'S', '01', '1', '', '000010', '5102', 'P', 30000005, 'N', '2006-05-10'),"
        "(11, 1, 2, '2006-05-11', 'E', '01', '1', '', '000011', '1102', 'T', 9000000, 'N', '2006-05-11')");
    sql("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
        "(10, 30000005, 5100000, 0, 0, '1700'), (11, 9000000, 1530000, 0, 0, '1700')");
    {
        TfrmIncluirZELEPP t(ctx);
        processa(t, "5", "2006");
        ASSERT_TRUE(t.btnSalvarZel->isEnabled());
        confere(t, zelcli("200605", "epp"),
                {{"RecApurada", "edtBase_RecApurada"}, {"RecEfetiva", "edtBase_RecEfetiva"},
                 {"Imp_Devido", "edtImp_Devido"}, {"TotalAquis", "edtTotalAquis"},
                 {"Aquis_Inter", "edtAquis_Internas"}, {"Imp_Recolher", "edtImp_Recolher"},
                 {"ICMS_SubsSaida", "edtSTSaidas"}, {"ICMS_RetFonte", "edtSTRegFonte"}});
        EXPECT_EQ(ValorQuatroCasas(t.campo("edtBase_RecApurada")->valor()), "3000.0000") << "shown and stored to the cent";
    }
    {
        TfrmApuraZELEPP2006 t(ctx);
        processa(t, "7", "2024");
        ASSERT_TRUE(t.btnSalvarZel->isEnabled());
        const auto impresso = zelcli("202407", "epp");
        confere(t, impresso,
                {{"RecApurada", "edtBase_RecApurada"}, {"RecEfetiva", "edtBase_RecEfetiva"},
                 {"Imp_Devido", "edtImp_Devido"}, {"Imp_Recolher", "edtImp_Recolher"},
                 {"ICMS_SubsSaida", "edtSTSaidas"}, {"ICMS_RetFonte", "edtSTRegFonte"}});
        EXPECT_NE(impresso.value("Imp_Devido"), "0.0000");
    }
    {
        TfrmInformacoesSN t(ctx);
        processa(t, "7", "2024");
        ASSERT_TRUE(t.btnSalvar->isEnabled());
        const auto impresso = zelcli("202407", "sn");
        confere(t, impresso,
                {{"TotEntradas", "edtTotEntradas"}, {"SubsSaidas", "edtSubsSaida"}, {"ICMSRetidoFonte", "edtICMSRetidoFonte"}});
        EXPECT_NE(impresso.value("TotEntradas"), "0.0000");
    }
    banco.dialogos.verificaConsumo();
}

TEST_F(ZelLinhaComando, PeriodoQueATelaEPPRecusaOComandoRecusaComAMesmaMensagem)
{
    // The old EPP screen refuses December 2003; the tool asked for the same month ends with the screen's own
    // words and code 1, printing no figure.
    TfrmIncluirZELEPP t(ctx);
    t.show();
    QApplication::setActiveWindow(&t);
    const QString mensagem = QString::fromUtf8("O Ano deve ser a partir de 2004!");
    banco.dialogos.esperaMensagem(mensagem);
    t.cmbMes->setEditText(QStringLiteral("12"));
    t.cmbAno->setEditText(QStringLiteral("2003"));
    QTest::mouseClick(t.btnProcessa, Qt::LeftButton);
    banco.dialogos.verificaConsumo();
    EXPECT_FALSE(t.btnSalvarZel->isEnabled());

    QProcess p;
    p.start(QStringLiteral(ZELCLI), {"apuracao", "--pasta", banco.pasta.path(), "--ie", "123456789", "--periodo",
                                     "200312", "--declaracao", "epp"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    const QString erro = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(erro.contains(mensagem)) << erro.toStdString();
}
