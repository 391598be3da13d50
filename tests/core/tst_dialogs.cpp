#include "core/DialogsNew.h"
#include "support/TDialogosRoteiro.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

using Tecla = TDialogosRoteiro::Tecla;

TEST(DialogsPergunta, EnterRespondeOBotaoPadrao)
{
    TDialogosRoteiro d;
    d.esperaMensagemTecla(QStringLiteral("Apagar?"), Tecla::Enter)
        .esperaMensagemTecla(QStringLiteral("Gravar?"), Tecla::Enter)
        .esperaMensagemTecla(QStringLiteral("Apagar?"), Tecla::Esc)
        .esperaMensagemTecla(QStringLiteral("Gravar?"), Tecla::Esc)
        .esperaMensagem(QStringLiteral("Apagar?"), Botao::Sim)
        .esperaMensagem(QStringLiteral("Gravar?"), Botao::Nao);
    EXPECT_FALSE(PerguntaNao(d, QStringLiteral("Apagar?")));
    EXPECT_TRUE(PerguntaSim(d, QStringLiteral("Gravar?")));
    EXPECT_FALSE(PerguntaNao(d, QStringLiteral("Apagar?")));
    EXPECT_FALSE(PerguntaSim(d, QStringLiteral("Gravar?")));
    EXPECT_TRUE(PerguntaNao(d, QStringLiteral("Apagar?")));
    EXPECT_FALSE(PerguntaSim(d, QStringLiteral("Gravar?")));

    ASSERT_EQ(d.registros().size(), 6);
    const TPedidoMensagem& p = d.registros().at(0).pedido;
    EXPECT_EQ(p.tipo, TipoMsg::Confirmacao);
    EXPECT_EQ(p.titulo, QStringLiteral("Zel do ICMS - Confirmação"));
    EXPECT_EQ(p.botoes, QList<Botao>({Botao::Sim, Botao::Nao}));
    EXPECT_EQ(p.padrao, Botao::Nao);
    EXPECT_EQ(p.cancela, Botao::Nao);
    EXPECT_EQ(d.registros().at(1).pedido.padrao, Botao::Sim);
    d.verificaConsumo();
}

TEST(DialogsCaixa, LegendasDoTituloEDosBotoes)
{
    TDialogosRoteiro d;
    d.esperaMensagem(QStringLiteral("a")).esperaMensagem(QStringLiteral("b")).esperaMensagem(QStringLiteral("c"))
        .esperaMensagem(QStringLiteral("d")).esperaMensagem(QStringLiteral("e"));
    MensagemDlg(d, QStringLiteral("a"), TipoMsg::Informacao, {Botao::Ok});
    MessageDlg(d, QStringLiteral("b"), TipoMsg::Erro, {Botao::Ok});
    MensagemDlg(d, QStringLiteral("c"), TipoMsg::Aviso, {Botao::Ok});
    Informa(d, QStringLiteral("d"));
    InformaErro(d, QStringLiteral("e"));

    const auto& r = d.registros();
    ASSERT_EQ(r.size(), 5);
    EXPECT_EQ(r[0].titulo, QStringLiteral("Zel do ICMS - Informação"));
    EXPECT_EQ(r[1].titulo, QStringLiteral("Erro"));
    EXPECT_EQ(r[2].titulo, QStringLiteral("Zel do ICMS - Aviso"));
    EXPECT_EQ(r[3].titulo, QStringLiteral("Informação"));
    EXPECT_EQ(r[3].pedido.botoes, QList<Botao>{Botao::Ok});
    EXPECT_EQ(r[4].pedido.tipo, TipoMsg::Erro);

    EXPECT_EQ(legendaBotao(Botao::Sim), QStringLiteral("&Sim"));
    EXPECT_EQ(legendaBotao(Botao::Nao), QStringLiteral("&Não"));
    EXPECT_EQ(legendaBotao(Botao::Ok), QStringLiteral("&Ok"));
    EXPECT_TRUE(legendaBotao(Botao::Nenhum).isEmpty());
    d.verificaConsumo();
}

TEST(DialogsBotoes, OrdemFixaSemRepeticao)
{
    const QList<Botao> todos{Botao::Sim, Botao::Nao, Botao::Ok, Botao::Cancela, Botao::Abortar, Botao::Repetir,
                             Botao::Ignorar, Botao::Todos, Botao::NaoParaTodos, Botao::SimParaTodos, Botao::Ajuda};
    QList<Botao> invertidos(todos.rbegin(), todos.rend());
    invertidos << Botao::Ok << Botao::Nenhum << Botao::Sim;
    EXPECT_EQ(ordenaBotoes(invertidos), todos);
    EXPECT_EQ(ordenaBotoes({Botao::Ajuda, Botao::Nao, Botao::Sim}),
              QList<Botao>({Botao::Sim, Botao::Nao, Botao::Ajuda}));

    // The box itself receives the ordered buttons.
    TDialogosRoteiro d;
    d.esperaMensagem(QString(), Botao::Ignorar);
    EXPECT_EQ(MensagemDlg(d, QStringLiteral("x"), TipoMsg::Erro, {Botao::Ignorar, Botao::Abortar, Botao::Repetir}),
              Botao::Ignorar);
    ASSERT_EQ(d.registros().size(), 1);
    EXPECT_EQ(d.registros()[0].pedido.botoes, QList<Botao>({Botao::Abortar, Botao::Repetir, Botao::Ignorar}));
    d.verificaConsumo();
}

TEST(DialogsBotoes, PadraoECancelamento)
{
    const QList<Botao> simNao{Botao::Sim, Botao::Nao};
    const QList<Botao> repetir{Botao::Abortar, Botao::Repetir, Botao::Ignorar};

    EXPECT_EQ(resolvePadrao(simNao, Botao::Nao), Botao::Nao);
    EXPECT_EQ(resolvePadrao(simNao, Botao::Ok), Botao::Sim); // not in the box
    EXPECT_EQ(resolvePadrao({Botao::Sim, Botao::Ok}, Botao::Nenhum), Botao::Ok);
    EXPECT_EQ(resolvePadrao(simNao, Botao::Nenhum), Botao::Sim);
    EXPECT_EQ(resolvePadrao(repetir, Botao::Nenhum), Botao::Repetir);
    EXPECT_EQ(resolvePadrao({Botao::Ajuda}, Botao::Nenhum), Botao::Nenhum);

    EXPECT_EQ(resolveCancela(simNao, Botao::Sim), Botao::Sim);
    EXPECT_EQ(resolveCancela({Botao::Ok, Botao::Cancela}, Botao::Nenhum), Botao::Cancela);
    EXPECT_EQ(resolveCancela({Botao::Sim, Botao::Nao, Botao::Cancela}, Botao::Ajuda), Botao::Cancela);
    EXPECT_EQ(resolveCancela(simNao, Botao::Nenhum), Botao::Nao);
    EXPECT_EQ(resolveCancela({Botao::Ok}, Botao::Nenhum), Botao::Ok);
    EXPECT_EQ(resolveCancela(repetir, Botao::Nenhum), Botao::Nenhum);

    // Enter and Esc on a box built by MensagemDlg use the resolved buttons.
    TDialogosRoteiro d;
    d.esperaMensagemTecla(QString(), Tecla::Enter).esperaMensagemTecla(QString(), Tecla::Esc);
    EXPECT_EQ(MensagemDlg(d, QStringLiteral("x"), TipoMsg::Aviso, {Botao::Cancela, Botao::Ok}, Botao::Cancela),
              Botao::Cancela);
    EXPECT_EQ(MensagemDlg(d, QStringLiteral("x"), TipoMsg::Aviso, {Botao::Ok, Botao::Nao, Botao::Sim}), Botao::Nao);
    d.verificaConsumo();
}

TEST(DialogsRoteiro, RegistraEReclamaDoInesperado)
{
    TDialogosRoteiro d;
    d.esperaExclusao(QStringLiteral("Excluir?"), true).esperaSimples(QString()).esperaPasta(QStringLiteral("/tmp/x"));
    EXPECT_TRUE(d.confirmaExclusao(QStringLiteral("Excluir?")));
    d.mensagemSimples(QStringLiteral("Falha"));
    EXPECT_EQ(d.escolherPasta(QStringLiteral("Pasta"), QStringLiteral("/home")), QStringLiteral("/tmp/x"));
    ASSERT_EQ(d.registros().size(), 3);
    EXPECT_EQ(d.registros()[0].titulo, QStringLiteral("Exclusão"));
    EXPECT_EQ(d.registros()[1].titulo, QStringLiteral("Zel do ICMS"));
    EXPECT_EQ(d.registros()[1].texto, QStringLiteral("Falha"));
    EXPECT_EQ(d.registros()[2].texto, QStringLiteral("/home"));

    // An unexpected box fails the test and is answered with its cancel button.
    Botao resposta = Botao::Nenhum;
    EXPECT_NONFATAL_FAILURE(resposta = MensagemDlg(d, QStringLiteral("?"), TipoMsg::Confirmacao,
                                                   {Botao::Sim, Botao::Nao}),
                            "inesperado");
    EXPECT_EQ(resposta, Botao::Nao);
    EXPECT_EQ(d.registros().size(), 4);

    // So does an expectation left unused.
    d.esperaMensagem(QStringLiteral("nunca"));
    EXPECT_EQ(d.pendentes(), 1);
    EXPECT_NONFATAL_FAILURE(d.verificaConsumo(), "nunca");
    EXPECT_EQ(d.pendentes(), 0);
    d.verificaConsumo();
}
