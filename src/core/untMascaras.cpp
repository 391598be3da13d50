#include "core/untMascaras.h"

#include <algorithm>

namespace Mascaras {

namespace {
// Walks the positions a mask shows: `posicao` is called with each position's index in the shown text and
// whether the user types there.
template <class F>
void PercorrePosicoes(const QString& mascara, QChar& branco, F&& posicao)
{
    const qsizetype pv = mascara.lastIndexOf(QLatin1Char(';'));
    const QString corpo = pv >= 0 ? mascara.left(pv) : mascara;
    branco = (pv >= 0 && pv + 1 < mascara.size()) ? mascara[pv + 1] : QLatin1Char(' ');
    static const QString marcadores = QStringLiteral("AaNnXx90Dd#HhBb");
    int pos = 0;
    for (qsizetype i = 0; i < corpo.size(); ++i) {
        const QChar m = corpo[i];
        if (m == QLatin1Char('>') || m == QLatin1Char('<') || m == QLatin1Char('!'))
            continue; // case switches take no position
        if (m == QLatin1Char('\\')) {
            ++i; // an escaped literal
            ++pos;
            continue;
        }
        if (posicao(pos, marcadores.contains(m)))
            return;
        ++pos;
    }
}
} // namespace

QString SemLiterais(const QString& textoMostrado, const QString& mascara)
{
    QString r;
    QChar branco;
    PercorrePosicoes(mascara, branco, [&](int pos, bool digitavel) {
        if (digitavel) {
            const QChar c = pos < textoMostrado.size() ? textoMostrado[pos] : QLatin1Char(' ');
            r.append(c == branco ? QLatin1Char(' ') : c);
        }
        return false;
    });
    return r;
}

int PrimeiraPosicaoVazia(const QString& textoMostrado, const QString& mascara)
{
    int vazia = -1;
    QChar branco;
    PercorrePosicoes(mascara, branco, [&](int pos, bool digitavel) {
        // A blank typed or stored where nothing was typed is as empty as the mask's own blank.
        if (digitavel && (pos >= textoMostrado.size() || textoMostrado[pos] == branco
                          || textoMostrado[pos] == QLatin1Char(' ')))
            vazia = pos;
        return vazia >= 0;
    });
    return vazia;
}

QString CnpjCpf(const QString& numero)
{
    const QString t = numero.trimmed();
    const bool digitos = !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
    if (digitos && t.size() == 14)
        return QStringLiteral("%1.%2.%3/%4-%5").arg(t.left(2), t.mid(2, 3), t.mid(5, 3), t.mid(8, 4), t.right(2));
    if (digitos && t.size() == 11)
        return QStringLiteral("%1.%2.%3-%4").arg(t.left(3), t.mid(3, 3), t.mid(6, 3), t.right(2));
    return t;
}

} // namespace Mascaras
