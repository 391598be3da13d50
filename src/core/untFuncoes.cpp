#include "core/untFuncoes.h"

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
