#include "support/TDialogosRoteiro.h"

#include <QObject>
#include <gtest/gtest.h>

TDialogosRoteiro::~TDialogosRoteiro() = default;

TDialogosRoteiro& TDialogosRoteiro::esperaMensagem(const QString& texto, Botao resposta)
{
    m_fila.append({QStringLiteral("mensagem"), texto, resposta, Tecla::Botao, false, {}, {}});
    return *this;
}

TDialogosRoteiro& TDialogosRoteiro::esperaMensagemTecla(const QString& texto, Tecla tecla)
{
    m_fila.append({QStringLiteral("mensagem"), texto, Botao::Nenhum, tecla, false, {}, {}});
    return *this;
}

TDialogosRoteiro& TDialogosRoteiro::esperaExclusao(const QString& texto, bool resposta)
{
    m_fila.append({QStringLiteral("exclusao"), texto, Botao::Nenhum, Tecla::Botao, resposta, {}, {}});
    return *this;
}

TDialogosRoteiro& TDialogosRoteiro::esperaSimples(const QString& texto)
{
    m_fila.append({QStringLiteral("simples"), texto, Botao::Ok, Tecla::Botao, false, {}, {}});
    return *this;
}

TDialogosRoteiro& TDialogosRoteiro::esperaSalvar(const QString& caminho)
{
    m_fila.append({QStringLiteral("salvar"), caminho, Botao::Ok, Tecla::Botao, false, {}, {}});
    return *this;
}

TDialogosRoteiro& TDialogosRoteiro::esperaPasta(const QString& pasta)
{
    m_fila.append({QStringLiteral("pasta"), pasta, Botao::Ok, Tecla::Botao, false, {}, {}});
    return *this;
}

TDialogosRoteiro& TDialogosRoteiro::esperaArquivos(const QStringList& arquivos)
{
    TEspera e{QStringLiteral("arquivos"), QString(), Botao::Ok, Tecla::Botao, false, {}, {}};
    e.lista = arquivos;
    m_fila.append(e);
    return *this;
}

TDialogosRoteiro& TDialogosRoteiro::esperaAbrir(bool resultado)
{
    m_fila.append({QStringLiteral("abrir"), QString(), Botao::Ok, Tecla::Botao, resultado, {}, {}});
    return *this;
}

TDialogosRoteiro& TDialogosRoteiro::esperaTela(const QString& classe, std::function<int(QObject*)> tratador)
{
    m_fila.append({QStringLiteral("modal"), classe, Botao::Ok, Tecla::Botao, false, std::move(tratador), {}});
    return *this;
}

void TDialogosRoteiro::verificaConsumo()
{
    for (const TEspera& e : m_fila)
        ADD_FAILURE() << "Esperado e não mostrado: " << e.tipo.toStdString() << " \"" << e.texto.toStdString() << "\"";
    m_fila.clear();
}

// Matching rules differ by kind: messages compare their text (empty = any), files and folders carry the
// answer in `texto`, screens compare the class name.
const TDialogosRoteiro::TEspera* TDialogosRoteiro::proxima(const QString& tipo, const QString& texto)
{
    if (m_fila.isEmpty()) {
        ADD_FAILURE() << "Diálogo inesperado (" << tipo.toStdString() << "): \"" << texto.toStdString() << "\"";
        return nullptr;
    }
    const TEspera& e = m_fila.first();
    const bool textoConfere = (tipo == QLatin1String("salvar") || tipo == QLatin1String("pasta") ||
                               tipo == QLatin1String("arquivos") ||
                               tipo == QLatin1String("abrir") || e.texto.isEmpty() || e.texto == texto);
    if (e.tipo != tipo || !textoConfere) {
        ADD_FAILURE() << "Diálogo inesperado (" << tipo.toStdString() << "): \"" << texto.toStdString()
                      << "\"; esperado (" << e.tipo.toStdString() << "): \"" << e.texto.toStdString() << "\"";
        return nullptr;
    }
    m_atual = m_fila.takeFirst();
    return &m_atual;
}

Botao TDialogosRoteiro::mostraMensagem(const TPedidoMensagem& pedido)
{
    m_registros.append({QStringLiteral("mensagem"), pedido.titulo, pedido.texto, pedido});
    const TEspera* e = proxima(QStringLiteral("mensagem"), pedido.texto);
    if (!e)
        return pedido.cancela;
    switch (e->tecla) {
    case Tecla::Enter: return pedido.padrao;
    case Tecla::Esc: return pedido.cancela;
    case Tecla::Botao: break;
    }
    if (!pedido.botoes.contains(e->botao)) {
        ADD_FAILURE() << "A resposta não é um dos botões da caixa: \"" << pedido.texto.toStdString() << "\"";
        return pedido.cancela;
    }
    return e->botao;
}

bool TDialogosRoteiro::confirmaExclusao(const QString& texto)
{
    m_registros.append({QStringLiteral("exclusao"), QString::fromUtf8("Exclusão"), texto, {}});
    const TEspera* e = proxima(QStringLiteral("exclusao"), texto);
    return e && e->logico;
}

void TDialogosRoteiro::mensagemSimples(const QString& texto)
{
    m_registros.append({QStringLiteral("simples"), tituloAplicacao(), texto, {}});
    proxima(QStringLiteral("simples"), texto);
}

QString TDialogosRoteiro::salvarArquivo(const QString& titulo, const QString& caminhoSugerido, const QString&)
{
    m_registros.append({QStringLiteral("salvar"), titulo, caminhoSugerido, {}});
    const TEspera* e = proxima(QStringLiteral("salvar"), caminhoSugerido);
    return e ? e->texto : QString();
}

QString TDialogosRoteiro::escolherPasta(const QString& titulo, const QString& pastaInicial)
{
    m_registros.append({QStringLiteral("pasta"), titulo, pastaInicial, {}});
    const TEspera* e = proxima(QStringLiteral("pasta"), pastaInicial);
    return e ? e->texto : QString();
}

QStringList TDialogosRoteiro::abrirArquivos(const QString& titulo, const QString& filtro)
{
    m_registros.append({QStringLiteral("arquivos"), titulo, filtro, {}});
    const TEspera* e = proxima(QStringLiteral("arquivos"), filtro);
    return e ? e->lista : QStringList();
}

bool TDialogosRoteiro::abrirAssociado(const QString& enderecoOuArquivo)
{
    m_registros.append({QStringLiteral("abrir"), QString(), enderecoOuArquivo, {}});
    const TEspera* e = proxima(QStringLiteral("abrir"), enderecoOuArquivo);
    return e && e->logico;
}

int TDialogosRoteiro::executaModal(QObject* tela)
{
    const QString classe = QString::fromLatin1(tela->metaObject()->className());
    m_registros.append({QStringLiteral("modal"), classe, classe, {}});
    const TEspera* e = proxima(QStringLiteral("modal"), classe);
    if (!e || !e->tratador)
        return 0;
    const auto tratador = e->tratador;
    return tratador(tela);
}
