#pragma once
#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

// The message digest of RFC 1321, as the transmission receipts quote it: 32 upper-case hexadecimal characters,
// two per byte in the digest's byte order.
class TMD5 {
public:
    TMD5();
    // Starts a new digest, forgetting whatever was added before.
    void Inicia();
    void Adiciona(const char* dados, qsizetype tamanho);
    void Adiciona(const QByteArray& dados);
    // The digest of everything added since the start; the object is started again afterwards.
    QString Finaliza();

private:
    QCryptographicHash m_hash;
};

// The digest of a text's bytes, one byte per character (Latin-1, the receipts' own encoding).
QString MD5Texto(const QString& texto);
