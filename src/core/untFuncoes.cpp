#include "core/untFuncoes.h"

#include <QFile>
#include <QStringDecoder>

#include "core/untRelogio.h"

QString PreencheZeros(const QString& texto, int largura)
{
    const QString t = texto.trimmed();
    if (t.size() >= largura)
        return t;
    return QString(largura - t.size(), QLatin1Char('0')) + t;
}

QString PreencheBrancos(const QString& texto, int largura)
{
    if (texto.size() >= largura)
        return texto.left(largura);
    return texto + QString(largura - texto.size(), QLatin1Char(' '));
}

QString RemoveAcentos(const QString& texto)
{
    static const QString comAcento = QString::fromUtf8("àâêôûãõáéíóúçüÀÂÊÔÛÃÕÁÉÍÓÚÇÜ");
    static const QString semAcento = QStringLiteral("aaeouaoaeioucuAAEOUAOAEIOUCU");
    QString r = texto;
    for (QChar& c : r) {
        const int i = comAcento.indexOf(c);
        if (i >= 0)
            c = semAcento[i];
    }
    return r;
}

QString AnoAtual(const IRelogio& relogio)
{
    return QString::number(relogio.hoje().year()).rightJustified(4, QLatin1Char('0'));
}

void ListaAnos(int primeiro, int ultimo, QStringList& lista)
{
    lista.clear();
    for (int ano = ultimo; ano >= primeiro; --ano)
        lista.append(QString::number(ano));
}

// Windows tools write their "ANSI" page, which differs from Latin-1 only in 0x80-0x9F (control codes in
// Latin-1, never meant in a description); those take their Windows-1252 letters and signs.
static QString decodificaWindows1252(const QByteArray& bytes)
{
    static const char16_t kFaixa80[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
        0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString texto = QString::fromLatin1(bytes);
    for (QChar& c : texto)
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
            c = QChar(kFaixa80[c.unicode() - 0x80]);
    return texto;
}

// UTF-8 when the bytes are valid UTF-8 (a BOM dropped), the Windows page otherwise: a Latin-1 accent
// followed by plain letters is never valid UTF-8, so the test does not confuse the two in practice.
QString DecodificaArquivoTexto(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8.decode(bytes);
    if (!utf8.hasError())
        return texto.startsWith(QChar(0xFEFF)) ? texto.mid(1) : texto;
    return decodificaWindows1252(bytes);
}
