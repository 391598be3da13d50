#include "registers/untValidaLote.h"

#include <QStringList>

#include "registers/untValidacoes.h"

static QString soDigitos(const QString& numero)
{
    QString r = numero.trimmed();
    r.remove(QLatin1Char('.'));
    r.remove(QLatin1Char('-'));
    r.remove(QLatin1Char('/'));
    return r;
}

bool ValidaNumero(const QString& tipo, const QString& uf, const QString& numero, bool* reconhecido)
{
    const QString t = tipo.trimmed().toLower();
    const QString n = soDigitos(numero);
    if (reconhecido)
        *reconhecido = true;
    if (t == QLatin1String("cnpj"))
        return n.size() == 14 && ValidaCNPJ(n);
    if (t == QLatin1String("cpf"))
        return n.size() == 11 && ValidaCPF(n);
    if (t == QLatin1String("ie"))
        return ValidaInscricaoEstadual(n, uf.trimmed().toUpper());
    if (reconhecido)
        *reconhecido = false;
    return false;
}

QString ValidaLinhaLote(const QString& linha, bool* ok)
{
    QString texto = linha;
    if (texto.endsWith(QLatin1Char('\r')))
        texto.chop(1);
    const QStringList campos = texto.split(QLatin1Char('\t'));
    bool reconhecido = false;
    if (campos.size() != 3) {
        *ok = false;
        return {};
    }
    const bool valido = ValidaNumero(campos[0], campos[1], campos[2], &reconhecido);
    *ok = reconhecido && !campos[2].trimmed().isEmpty();
    if (!*ok)
        return {};
    return campos[2].trimmed() + QLatin1Char('\t') + (valido ? QStringLiteral("valido") : QStringLiteral("invalido"));
}
