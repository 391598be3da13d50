#include "declarations/MD5.h"

TMD5::TMD5() : m_hash(QCryptographicHash::Md5) {}

void TMD5::Inicia()
{
    m_hash.reset();
}

void TMD5::Adiciona(const char* dados, qsizetype tamanho)
{
    if (tamanho > 0)
        m_hash.addData(QByteArrayView(dados, tamanho));
}

void TMD5::Adiciona(const QByteArray& dados)
{
    m_hash.addData(dados);
}

QString TMD5::Finaliza()
{
    const QString digest = QString::fromLatin1(m_hash.result().toHex().toUpper());
    m_hash.reset();
    return digest;
}

QString MD5Texto(const QString& texto)
{
    TMD5 md5;
    md5.Adiciona(texto.toLatin1());
    return md5.Finaliza();
}
