#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <memory>

// The check of a return file in the national fixed-width layout, as the tax authority's validator makes it:
// every line 126 bytes, CR LF between records and none after the last, known record types and sub-types 88,
// numeric fields of digits only, dates that are calendar dates, the records in their order, record 90's counts
// and total against the records present, and bytes of the single-byte code page only.
//
// It reads bytes in any chunks as they stream past (a file of any size, ours or another program's, in bounded
// memory), so the writer checks each new file with the very bytes it writes.

struct TFalhaArquivo {
    qint64 linha = 0;     // 1-based; 0 for the file as a whole
    int posicao = 0;      // 1-based; 0 for the line as a whole
    QString mensagem;
    // "linha 12, posição 34: ..."
    QString texto() const;
};

class TVerificadorArquivo {
public:
    TVerificadorArquivo();
    ~TVerificadorArquivo();
    TVerificadorArquivo(const TVerificadorArquivo&) = delete;
    TVerificadorArquivo& operator=(const TVerificadorArquivo&) = delete;

    void adiciona(QByteArrayView bytes);
    // Ends the file: the last line and the totals. The faults in the order found, at most `MaxFalhas`
    // of them (the rest only counted).
    QList<TFalhaArquivo> conclui();
    qint64 falhasOmitidas() const { return m_omitidas; }
    qint64 linhas() const { return m_linha; }

    static constexpr int MaxFalhas = 1000;

    // The whole check of bytes already in memory.
    static QList<TFalhaArquivo> Verifica(QByteArrayView conteudo);

private:
    struct TEstado;
    void fimDeLinha();
    void verificaLinha();
    // The fields of a record 88 that depend on record 10 and on the records before it.
    void verifica88(const QByteArray& chave, qint64 linha);
    void falha(qint64 linha, int posicao, const QString& mensagem);

    std::unique_ptr<TEstado> m;
    qint64 m_linha = 0;
    qint64 m_omitidas = 0;
    bool m_concluindo = false;
    QList<TFalhaArquivo> m_falhas;
};

// "zelcli verifica ARQUIVO": prints every fault, one per line; 0 with none, 1 with faults, 2 when the file
// cannot be read.
int ExecutaVerifica(const QString& arquivo, QString* saida, QString* erro);
