#pragma once
// What the register screen tests share: a connected temporary database, the context the screens are given,
// and helpers that drive the dialogs without a display and read back what was stored.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/untContexto.h"
#include "support/TBancoTeste.h"

namespace cadastro {

// Numbers whose check digits are right.
inline const QString CpfValido = QStringLiteral("52998224725");
inline const QString OutroCpfValido = QStringLiteral("11144477735");
inline const QString CnpjValido = QStringLiteral("11222333000181");

// A home-state registration: the eight digits given and their check digit (weights 9..2, 11 - sum mod 11,
// remainders 0 and 1 giving 0).
inline QString InscricaoZR(const QString& oito)
{
    int soma = 0;
    for (int i = 0; i < 8; ++i)
        soma += (9 - i) * oito[i].digitValue();
    const int resto = soma % 11;
    return oito + QString::number(resto < 2 ? 0 : 11 - resto);
}

// Shows a dialog as the active window, so that its show preset runs and focus changes reach the fields.
inline void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

inline QString Foco()
{
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("<sem foco>");
}

// A mouse click: the button takes the focus before it acts, as with a person at the screen.
inline void Clica(QAbstractButton* botao)
{
    QTest::mouseClick(botao, Qt::LeftButton);
}

inline void EscolheLinha(QTableView* grade, int linha)
{
    grade->setCurrentIndex(grade->model()->index(linha, 0));
}

inline QStringList Linhas(QTableView* grade, int coluna)
{
    QStringList r;
    for (int i = 0; i < grade->model()->rowCount(); ++i)
        r << grade->model()->index(i, coluna).data().toString();
    return r;
}

template <class T>
T* Filho(QObject* tela, const char* nome)
{
    T* w = tela->findChild<T*>(QString::fromLatin1(nome));
    EXPECT_TRUE(w) << nome;
    return w;
}

struct TelaCadastro : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;

    void SetUp() override
    {
        preparaContexto();
        ASSERT_EQ(banco.con->Conectar(), QStringLiteral("JET"));
    }
    void preparaContexto()
    {
        ctx.pasta = banco.pasta.path();
        ctx.dialogos = &banco.dialogos;
        ctx.con = banco.con.get();
        ctx.dtm = banco.dtm.get();
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    sqlite3* db() { return banco.con->db(); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    int conta(const QString& tabela) { return valor(QStringLiteral("SELECT COUNT(*) FROM ") + tabela).toInt(); }
    int insere(const QString& sql)
    {
        TBancoTeste::executaDireto(db(), sql);
        return int(sqlite3_last_insert_rowid(db()));
    }
    int criaContador(const QString& nome, const QString& cpf)
    {
        return insere(QStringLiteral("INSERT INTO Contador (CPF, CRC, Nome, EMail, Fone) VALUES ('%1', 'ZR123456S1', "
                                     "'%2', 'contador@exemplo.com.br', '006132221111')")
                          .arg(cpf, nome));
    }
    int criaParte(const QString& razao, const QString& tipo, const QString& ccicms = QStringLiteral("123456789"),
                  int idContador = 0)
    {
        QString r = razao;
        r.replace(QLatin1Char('\''), QStringLiteral("''"));
        return insere(QStringLiteral("INSERT INTO Contribuinte (IdContador, CNPJ, Ccicms, RazaoSocial, Logradouro, "
                                     "Numero, Complemento, Bairro, Municipio, Cep, UF, Fone, Fax, Contato, Email, Tipo) "
                                     "VALUES (%1, '%2', '%3', '%4', 'RUA UM', '00010', '', 'CENTRO', 'BRASILIA', "
                                     "'70000000', 'ZR', '006133334444', '6133335555', 'MARIA', 'a@b.com', '%5')")
                          .arg(QString::number(idContador), CnpjValido, ccicms, r, tipo));
    }
    // One column of one row, as stored.
    QString campo(const char* tabela, const char* chave, int id, const char* nome)
    {
        return valor(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                         .arg(QString::fromLatin1(nome), QString::fromLatin1(tabela), QString::fromLatin1(chave))
                         .arg(id))
            .toString();
    }

    // Clicks a button that must refuse with one message and leave the focus on the given field.
    void recusa(QAbstractButton* botao, const QString& mensagem, const QString& campoFoco)
    {
        SCOPED_TRACE(mensagem.toStdString());
        informa(botao, mensagem);
        EXPECT_EQ(Foco(), campoFoco);
    }
    // Clicks a button that must show exactly this message.
    void informa(QAbstractButton* botao, const QString& mensagem)
    {
        SCOPED_TRACE(mensagem.toStdString());
        const QStringList antes = mensagens();
        banco.dialogos.esperaMensagem(mensagem);
        Clica(botao);
        EXPECT_EQ(mensagens(), antes + QStringList{mensagem});
        EXPECT_EQ(banco.dialogos.pendentes(), 0);
    }
    // The texts of the message boxes shown so far.
    QStringList mensagens() const
    {
        QStringList r;
        for (const auto& m : banco.dialogos.registros())
            if (m.tipo == QLatin1String("mensagem"))
                r << m.texto;
        return r;
    }
};

} // namespace cadastro
