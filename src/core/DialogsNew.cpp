#include "core/DialogsNew.h"

#include <algorithm>

QString legendaTipo(TipoMsg tipo)
{
    switch (tipo) {
    case TipoMsg::Aviso: return QStringLiteral("Aviso");
    case TipoMsg::Erro: return QStringLiteral("Erro");
    case TipoMsg::Informacao: return QString::fromUtf8("Informação");
    case TipoMsg::Confirmacao: return QString::fromUtf8("Confirmação");
    case TipoMsg::Personalizado: break;
    }
    return {};
}

QString legendaBotao(Botao botao)
{
    switch (botao) {
    case Botao::Sim: return QStringLiteral("&Sim");
    case Botao::Nao: return QString::fromUtf8("&Não");
    case Botao::Ok: return QStringLiteral("&Ok");
    case Botao::Cancela: return QStringLiteral("Cancela");
    case Botao::Abortar: return QStringLiteral("&Abortar");
    case Botao::Repetir: return QStringLiteral("&Repetir");
    case Botao::Ignorar: return QStringLiteral("&Ignorar");
    case Botao::Todos: return QStringLiteral("&Todos");
    case Botao::NaoParaTodos: return QString::fromUtf8("N&ão para todos");
    case Botao::SimParaTodos: return QStringLiteral("Sim para &todos");
    case Botao::Ajuda: return QStringLiteral("&Ajuda");
    case Botao::Nenhum: break;
    }
    return {};
}

QString tituloAplicacao()
{
    return QStringLiteral("Zel do ICMS");
}

QList<Botao> ordenaBotoes(const QList<Botao>& botoes)
{
    QList<Botao> r;
    for (const Botao b : botoes)
        if (b != Botao::Nenhum && !r.contains(b))
            r.append(b);
    std::sort(r.begin(), r.end(), [](Botao a, Botao b) { return int(a) < int(b); });
    return r;
}

static Botao primeiroPresente(const QList<Botao>& botoes, std::initializer_list<Botao> ordem)
{
    for (const Botao b : ordem)
        if (botoes.contains(b))
            return b;
    return Botao::Nenhum;
}

Botao resolvePadrao(const QList<Botao>& botoes, Botao pedido)
{
    if (pedido != Botao::Nenhum && botoes.contains(pedido))
        return pedido;
    return primeiroPresente(botoes, {Botao::Ok, Botao::Sim, Botao::Repetir});
}

Botao resolveCancela(const QList<Botao>& botoes, Botao pedido)
{
    if (pedido != Botao::Nenhum && botoes.contains(pedido))
        return pedido;
    return primeiroPresente(botoes, {Botao::Cancela, Botao::Nao, Botao::Ok});
}

static TPedidoMensagem monta(const QString& titulo, const QString& texto, TipoMsg tipo, const QList<Botao>& botoes,
                             Botao padrao, Botao cancela)
{
    TPedidoMensagem p;
    p.tipo = tipo;
    p.titulo = titulo;
    p.texto = texto;
    p.botoes = ordenaBotoes(botoes);
    p.padrao = resolvePadrao(p.botoes, padrao);
    p.cancela = resolveCancela(p.botoes, cancela);
    return p;
}

Botao MessageDlg(IDialogos& d, const QString& texto, TipoMsg tipo, const QList<Botao>& botoes)
{
    return d.mostraMensagem(monta(legendaTipo(tipo), texto, tipo, botoes, Botao::Nenhum, Botao::Nenhum));
}

Botao MensagemDlg(IDialogos& d, const QString& texto, TipoMsg tipo, const QList<Botao>& botoes, Botao padrao,
                  Botao cancela)
{
    const QString titulo = tipo == TipoMsg::Personalizado ? tituloAplicacao()
                                                          : tituloAplicacao() + QStringLiteral(" - ") + legendaTipo(tipo);
    return d.mostraMensagem(monta(titulo, texto, tipo, botoes, padrao, cancela));
}

bool PerguntaSim(IDialogos& d, const QString& texto)
{
    return MensagemDlg(d, texto, TipoMsg::Confirmacao, {Botao::Sim, Botao::Nao}, Botao::Sim, Botao::Nao) == Botao::Sim;
}

bool PerguntaNao(IDialogos& d, const QString& texto)
{
    return MensagemDlg(d, texto, TipoMsg::Confirmacao, {Botao::Sim, Botao::Nao}, Botao::Nao, Botao::Nao) == Botao::Sim;
}

void Informa(IDialogos& d, const QString& texto)
{
    MessageDlg(d, texto, TipoMsg::Informacao, {Botao::Ok});
}

void InformaErro(IDialogos& d, const QString& texto)
{
    MessageDlg(d, texto, TipoMsg::Erro, {Botao::Ok});
}
