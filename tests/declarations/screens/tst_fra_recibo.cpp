// The page "Recibo": the search of a folder of receipt files and the "&Copiar" rules.
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untFraRecibo.h"
#include "support/TBancoTeste.h"

namespace {

// A receipt line whose code is the digest of the fields before it.
QByteArray linhaRecibo(const char* periodo, const char* inscricao, int magico = 15)
{
    const QByteArray dados = QByteArray::number(magico) + ' ' + periodo + ' ' + inscricao + " 10/05/2011 10:30:00 98765";
    const QByteArray codigo = QCryptographicHash::hash(dados, QCryptographicHash::Md5).toHex().toUpper();
    return dados + ' ' + codigo + " 0";
}

QString codigoDe(const QByteArray& linha) { return QString::fromLatin1(linha.split(' ').value(6)); }

void grava(const QString& caminho, const QList<QByteArray>& linhas)
{
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(linhas.join("\r\n"));
}

struct PaginaRecibo : ::testing::Test {
    TBancoTeste banco;
    TRelogioFixo relogio{QDateTime(QDate(2012, 2, 10), QTime(9, 0))};
    TContexto ctx;
    QTemporaryDir recibos;
    QByteArray marco = linhaRecibo("01032011", "123456789");
    QByteArray abril = linhaRecibo("01042011", "123456789");

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        TBancoTeste::executaDireto(banco.con->db(), "INSERT INTO Contribuinte (Ccicms, RazaoSocial, Tipo) "
                                                    "VALUES ('123456789', 'COMERCIO EXEMPLO', 'C')");
        ctx.dialogos = &banco.dialogos;
        ctx.relogio = &relogio;
        ctx.con = banco.con.get();
        ctx.dtm = banco.dtm.get();
        ctx.IdAtivo = 1;
        banco.dtm->LerContribuinteAtivo(1);
        grava(recibos.filePath("marco.rcb"), {marco});
        grava(recibos.filePath("abril.rcb"), {abril, linhaRecibo("01042011", "999999999"), linhaRecibo("01042011", "123456789", 14)});
    }
};

} // namespace

TEST_F(PaginaRecibo, AchaOUltimoReciboAntesDoPeriodoECopiaNaInclusao)
{
    TfraRecibo pagina(ctx, TfraRecibo::Variante::Normal);
    pagina.defineDeclaracao("201105", true);
    EXPECT_FALSE(pagina.btnCopiar->isEnabled());
    pagina.edtPastaRecibo->setText(recibos.path());
    EXPECT_EQ(pagina.edtReferencia->text(), "04/2011");
    EXPECT_EQ(pagina.edtRecibo->text(), codigoDe(abril));
    EXPECT_EQ(pagina.edtNrRecibo->text(), codigoDe(abril)) << "the month right before is copied at once";
    EXPECT_TRUE(pagina.btnCopiar->isEnabled());

    // In April the March receipt is the last one; a change (not an inclusion) copies nothing by itself.
    TfraRecibo alteracao(ctx, TfraRecibo::Variante::Normal);
    alteracao.defineDeclaracao("201104", false);
    alteracao.edtPastaRecibo->setText(recibos.path());
    EXPECT_EQ(alteracao.edtReferencia->text(), "03/2011");
    EXPECT_TRUE(alteracao.edtNrRecibo->text().isEmpty());
}

TEST_F(PaginaRecibo, NadaEncontradoEPastaAusente)
{
    TfraRecibo pagina(ctx, TfraRecibo::Variante::SimplesNacional);
    pagina.defineDeclaracao("201103", true);
    banco.dialogos.esperaMensagem(QString::fromUtf8("Nenhum código de recibo encontrado para os dados abaixo:\n\r\n\rPasta:  ") +
                                  recibos.path() +
                                  QString::fromUtf8("\n\rPeríodo anterior a:  3/2011\n\rEmpresa:  123456789 - COMERCIO EXEMPLO"));
    pagina.edtPastaRecibo->setText(recibos.path());
    EXPECT_TRUE(pagina.edtReferencia->text().isEmpty());
    EXPECT_FALSE(pagina.btnCopiar->isEnabled());

    const QString ausente = recibos.filePath("nao-existe");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Pasta dos recibos não localizada: '%1'.").arg(ausente));
    pagina.edtPastaRecibo->setText(ausente);
    ASSERT_FALSE(banco.dialogos.registros().isEmpty());
    EXPECT_EQ(banco.dialogos.registros().last().titulo, "Erro");
    banco.dialogos.verificaConsumo();
}

TEST_F(PaginaRecibo, CopiarPedeOTipoEConfirma)
{
    TfraRecibo pagina(ctx, TfraRecibo::Variante::Normal);
    pagina.defineDeclaracao("201106", true); // April is not the month before June: nothing copied by itself
    pagina.edtPastaRecibo->setText(recibos.path());
    EXPECT_TRUE(pagina.edtNrRecibo->text().isEmpty());
    ASSERT_TRUE(pagina.btnCopiar->isEnabled());

    banco.dialogos.esperaMensagem("Informe o Tipo de entrega");
    pagina.btnCopiar->click();

    pagina.cbSituacaoCadastro->setCurrentIndex(0);
    EXPECT_FALSE(pagina.btnCopiar->isEnabled()) << "a monthly delivery needs the receipt of the month before";
    pagina.cbSituacaoCadastro->setCurrentIndex(2);
    ASSERT_TRUE(pagina.btnCopiar->isEnabled());
    const QString pergunta = QString::fromUtf8("O número da autenticação encontrado será copiado para o campo do número "
                                               "do recibo oficial. Confirma ?");
    banco.dialogos.esperaMensagemTecla(pergunta, TDialogosRoteiro::Tecla::Enter); // Enter is "&Não" here
    pagina.btnCopiar->click();
    EXPECT_TRUE(pagina.edtNrRecibo->text().isEmpty());
    banco.dialogos.esperaMensagem(pergunta, Botao::Sim);
    pagina.btnCopiar->click();
    EXPECT_EQ(pagina.edtNrRecibo->text(), codigoDe(abril));
    pagina.btnCopiar->click(); // the same number: nothing to ask
    banco.dialogos.verificaConsumo();
}

TEST_F(PaginaRecibo, ProcessaLimpaNaInclusaoEPreencheACritica)
{
    TfraRecibo pagina(ctx, TfraRecibo::Variante::Normal);
    pagina.defineDeclaracao("201201", true);
    pagina.edtNrRecibo->setText("X");
    pagina.cbSituacaoCadastro->setCurrentIndex(1);
    pagina.edtDataSituacao->setText("15/12/2011");
    EXPECT_EQ(pagina.dataSituacao(), QDate(2011, 12, 15));
    pagina.Processa();
    EXPECT_TRUE(pagina.edtNrRecibo->text().isEmpty());
    EXPECT_EQ(pagina.cbSituacaoCadastro->currentIndex(), -1);
    EXPECT_FALSE(pagina.dataSituacao().isValid());

    EXPECT_TRUE(TfraRecibo::Visivel("201105", true));
    EXPECT_FALSE(TfraRecibo::Visivel("201104", true));
    EXPECT_FALSE(TfraRecibo::Visivel("201105", false));

    pagina.edtDataSituacao->setText("31/02/2011");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Data inválida: 31/02/2011"));
    EXPECT_FALSE(pagina.saiData());
    banco.dialogos.verificaConsumo();
}
