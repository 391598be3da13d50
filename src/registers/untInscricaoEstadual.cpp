#include "registers/untInscricaoEstadual.h"

#include <QHash>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

// Check-digit rules of every state's registration, as each tax authority publishes them for SINTEGRA. Most states
// share one shape (weights over the digits, a modulus, a mapping of the remainder to a digit) and live in the table
// at the end; the ones with a twist of their own (AP, BA, GO, MG, MT, SP, TO) have a function each.

namespace {

// How a weighted sum becomes a check digit.
enum class Conta {
    Mod11,        // 11 - (sum mod 11); remainders 0 and 1 give 0. Also the "sum x 10 mod 11, 10 gives 0" of
                  // AL and RN, which is the same digit written another way.
    Mod11Menos10, // 11 - (sum mod 11), less 10 when that has two figures: remainder 0 gives 1, 1 gives 0 (PE's
                  // old format, RO)
    RestoMod11,   // the remainder of the sum by 11 itself, its last figure (10 gives 0) (SP)
    RestoMod9,    // the remainder of the sum by 9 (RR)
    Mod10,        // 10 - (sum mod 10); remainder 0 gives 0 (BA)
};

int digitoDaSoma(int soma, Conta conta)
{
    switch (conta) {
    case Conta::Mod11: {
        const int resto = soma % 11;
        return resto < 2 ? 0 : 11 - resto;
    }
    case Conta::Mod11Menos10: {
        const int d = 11 - soma % 11;
        return d >= 10 ? d - 10 : d;
    }
    case Conta::RestoMod11:
        return soma % 11 % 10;
    case Conta::RestoMod9:
        return soma % 9;
    case Conta::Mod10:
        return (10 - soma % 10) % 10;
    }
    return -1;
}

// The text holds digits only when this is called.
int algarismo(QStringView d, int i)
{
    return d[i].unicode() - u'0';
}

// One check digit: the weights apply to the digits from the first on, and the digit checked is the one right
// after them unless `posicao` says otherwise. A weight of 0 leaves a digit out of the sum (TO's type digits, RO's
// municipality, or the check digit itself when BA weighs the digit that comes after it).
struct Verificador {
    std::vector<int> pesos;
    Conta conta = Conta::Mod11;
    int posicao = -1;
};

bool confere(QStringView d, const Verificador& v)
{
    const int n = int(v.pesos.size());
    const int posicao = v.posicao < 0 ? n : v.posicao;
    if (d.size() < n || posicao >= d.size())
        return false;
    int soma = 0;
    for (int i = 0; i < n; ++i)
        soma += v.pesos[size_t(i)] * algarismo(d, i);
    return digitoDaSoma(soma, v.conta) == algarismo(d, posicao);
}

// One layout of a state's registration: its length, the openings it may have (none listed: any) and its check
// digits, checked in order.
struct Formato {
    int tamanho;
    std::vector<QStringView> prefixos;
    std::vector<Verificador> verificadores;
};

bool confere(QStringView d, const Formato& f)
{
    if (d.size() != f.tamanho)
        return false;
    if (!f.prefixos.empty()) {
        bool achou = false;
        for (QStringView p : f.prefixos)
            achou = achou || d.startsWith(p);
        if (!achou)
            return false;
    }
    for (const Verificador& v : f.verificadores) {
        if (!confere(d, v))
            return false;
    }
    return true;
}

bool confereAlgum(QStringView d, const std::vector<Formato>& formatos)
{
    for (const Formato& f : formatos) {
        if (confere(d, f))
            return true;
    }
    return false;
}

const std::vector<int> Pesos9a2 = {9, 8, 7, 6, 5, 4, 3, 2};

// AP: 9 digits opening with 03. The first eight, read as a number, fall in one of three ranges, each with its own
// constant p added to the sum and its own digit d for a result of 11: 03000001..03017000 p=5 d=0,
// 03017001..03019022 p=9 d=1, from 03019023 on p=0 d=0. A result of 10 gives 0.
bool confereAP(QStringView d)
{
    if (d.size() != 9 || !d.startsWith(u"03"))
        return false;
    const int numero = d.left(8).toInt();
    int p = 0;
    int seOnze = 0;
    if (numero <= 3017000) {
        p = 5;
    } else if (numero <= 3019022) {
        p = 9;
        seOnze = 1;
    }
    int soma = p;
    for (int i = 0; i < 8; ++i)
        soma += Pesos9a2[size_t(i)] * algarismo(d, i);
    int dv = 11 - soma % 11;
    if (dv == 10)
        dv = 0;
    else if (dv == 11)
        dv = seOnze;
    return dv == algarismo(d, 8);
}

// BA: 8 or 9 digits, the last two being check digits computed last first: the final one over the base digits,
// then the one before it over the base digits and the final one. Modulus 10 or 11 by the first digit (8 digits) or
// the second (9 digits): 6, 7 or 9 take modulus 11, the others modulus 10.
bool confereBA(QStringView d)
{
    if (d.size() != 8 && d.size() != 9)
        return false;
    const int chave = algarismo(d, d.size() == 8 ? 0 : 1);
    const Conta conta = (chave == 6 || chave == 7 || chave == 9) ? Conta::Mod11 : Conta::Mod10;
    if (d.size() == 8) {
        return confere(d, Verificador{{7, 6, 5, 4, 3, 2}, conta, 7})
            && confere(d, Verificador{{8, 7, 6, 5, 4, 3, 0, 2}, conta, 6});
    }
    return confere(d, Verificador{{8, 7, 6, 5, 4, 3, 2}, conta, 8})
        && confere(d, Verificador{{9, 8, 7, 6, 5, 4, 3, 0, 2}, conta, 7});
}

// GO: 9 digits, weights 9..2, modulus 11. A remainder of 1 gives 1 for the numbers 10103105..10119997 and 0 for
// the others; the number 11094402 was issued with either 0 or 1, and both stand.
bool confereGO(QStringView d)
{
    if (d.size() != 9)
        return false;
    const int numero = d.left(8).toInt();
    const int informado = algarismo(d, 8);
    if (numero == 11094402)
        return informado == 0 || informado == 1;
    int soma = 0;
    for (int i = 0; i < 8; ++i)
        soma += Pesos9a2[size_t(i)] * algarismo(d, i);
    const int resto = soma % 11;
    int dv = 11 - resto;
    if (resto == 0)
        dv = 0;
    else if (resto == 1)
        dv = (numero >= 10103105 && numero <= 10119997) ? 1 : 0;
    return dv == informado;
}

// MG: 13 digits, municipality (3) + order (6) + establishment (2) + two check digits. The first: a 0 goes in after
// the municipality, the twelve figures are multiplied by 1, 2, 1, 2..., the figures of the products are added
// (12 counts 1 + 2), and the digit takes the sum up to the next ten. The second is an ordinary modulus 11 over the
// first twelve digits as they are.
bool confereMG(QStringView d)
{
    if (d.size() != 13)
        return false;
    const QString base = d.left(3).toString() + QLatin1Char('0') + d.mid(3, 8).toString();
    int soma = 0;
    for (int i = 0; i < 12; ++i) {
        const int produto = algarismo(base, i) * (i % 2 == 0 ? 1 : 2);
        soma += produto / 10 + produto % 10;
    }
    if ((10 - soma % 10) % 10 != algarismo(d, 11))
        return false;
    return confere(d, Verificador{{3, 2, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}, Conta::Mod11});
}

// MT: 11 digits, but the registrations are commonly written without their leading zeros ("13.000.001-9" for
// 0013000001-9), so 9 and 10 digits are zero-filled first.
bool confereMT(QStringView d)
{
    if (d.size() < 9 || d.size() > 11)
        return false;
    const QString cheio = QString(11 - d.size(), QLatin1Char('0')) + d.toString();
    return confere(cheio, Formato{11, {}, {{{3, 2, 9, 8, 7, 6, 5, 4, 3, 2}}}});
}

// SP: industry and commerce, 12 digits with check digits in the 9th and 12th places; rural producer, "P" + 12 digits
// with one check digit after the first eight (the last three are the property's number). Both digits are the
// remainder by 11 itself, its last figure.
bool confereSP(QStringView d)
{
    const Verificador primeiro{{1, 3, 4, 5, 6, 7, 8, 10}, Conta::RestoMod11};
    if (d.startsWith(u'P'))
        return confere(d.mid(1), Formato{12, {}, {primeiro}});
    return confere(d, Formato{12, {}, {primeiro, {{3, 2, 10, 9, 8, 7, 6, 5, 4, 3, 2}, Conta::RestoMod11}}});
}

// TO: the current 9 digits (weights 9..2), or the earlier 11, whose 3rd and 4th digits are the type of company
// (01, 02, 03 or 99) and stay out of the sum.
bool confereTO(QStringView d)
{
    if (d.size() == 11) {
        const QStringView tipo = d.mid(2, 2);
        if (tipo != u"01" && tipo != u"02" && tipo != u"03" && tipo != u"99")
            return false;
        return confere(d, Verificador{{9, 8, 0, 0, 7, 6, 5, 4, 3, 2}});
    }
    return confere(d, Formato{9, {}, {{Pesos9a2}}});
}

using Regra = std::function<bool(QStringView)>;

Regra porFormatos(std::vector<Formato> formatos)
{
    return [formatos = std::move(formatos)](QStringView d) { return confereAlgum(d, formatos); };
}

const QHash<QString, Regra>& regras()
{
    static const QHash<QString, Regra> tabela = [] {
        const Verificador nove{Pesos9a2};
        const Verificador primeiroDe13{{4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}};
        const Verificador segundoDe13{{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}};
        return QHash<QString, Regra>{
            {QStringLiteral("AC"), porFormatos({{13, {u"01"}, {primeiroDe13, segundoDe13}}})},
            {QStringLiteral("AL"), porFormatos({{9, {u"24"}, {nove}}})},
            {QStringLiteral("AP"), confereAP},
            // AM: a sum below 11 gives 11 - sum, which is what the modulus gives too.
            {QStringLiteral("AM"), porFormatos({{9, {}, {nove}}})},
            {QStringLiteral("BA"), confereBA},
            {QStringLiteral("CE"), porFormatos({{9, {}, {nove}}})},
            {QStringLiteral("DF"), porFormatos({{13, {}, {primeiroDe13, segundoDe13}}})},
            {QStringLiteral("ES"), porFormatos({{9, {}, {nove}}})},
            {QStringLiteral("GO"), confereGO},
            {QStringLiteral("MA"), porFormatos({{9, {u"12"}, {nove}}})},
            {QStringLiteral("MT"), confereMT},
            {QStringLiteral("MS"), porFormatos({{9, {u"28", u"50"}, {nove}}})},
            {QStringLiteral("MG"), confereMG},
            {QStringLiteral("PA"), porFormatos({{9, {}, {nove}}})},
            {QStringLiteral("PB"), porFormatos({{9, {}, {nove}}})},
            {QStringLiteral("PR"),
             porFormatos({{10, {}, {{{3, 2, 7, 6, 5, 4, 3, 2}}, {{4, 3, 2, 7, 6, 5, 4, 3, 2}}}}})},
            // PE: the eFisco number (7 digits + 2 check digits) and the old 14-digit one of older records.
            {QStringLiteral("PE"),
             porFormatos({{9, {}, {{{8, 7, 6, 5, 4, 3, 2}}, nove}},
                          {14, {}, {{{5, 4, 3, 2, 1, 9, 8, 7, 6, 5, 4, 3, 2}, Conta::Mod11Menos10}}}})},
            {QStringLiteral("PI"), porFormatos({{9, {}, {nove}}})},
            {QStringLiteral("RJ"), porFormatos({{8, {}, {{{2, 7, 6, 5, 4, 3, 2}}}}})},
            {QStringLiteral("RN"),
             porFormatos({{9, {u"20"}, {nove}}, {10, {u"20"}, {{{10, 9, 8, 7, 6, 5, 4, 3, 2}}}}})},
            {QStringLiteral("RS"), porFormatos({{10, {}, {{{2, 9, 8, 7, 6, 5, 4, 3, 2}}}}})},
            // RO: the old 9 digits (municipality + 5 digits + check digit, the municipality out of the sum) and the
            // 14 digits in use since 2000.
            {QStringLiteral("RO"),
             porFormatos({{9, {}, {{{0, 0, 0, 6, 5, 4, 3, 2}, Conta::Mod11Menos10}}},
                          {14, {}, {{{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}, Conta::Mod11Menos10}}}})},
            {QStringLiteral("RR"), porFormatos({{9, {u"24"}, {{{1, 2, 3, 4, 5, 6, 7, 8}, Conta::RestoMod9}}}})},
            {QStringLiteral("SC"), porFormatos({{9, {}, {nove}}})},
            {QStringLiteral("SP"), confereSP},
            {QStringLiteral("SE"), porFormatos({{9, {}, {nove}}})},
            {QStringLiteral("TO"), confereTO},
            // ZR, the home state, rule of this program: 9 digits, the last a modulus 11 check digit over the first
            // eight with weights 9, 8, 7, 6, 5, 4, 3, 2: digit = 11 - (sum mod 11), remainders 0 and 1 giving 0.
            {QStringLiteral("ZR"), porFormatos({{9, {}, {nove}}})},
        };
    }();
    return tabela;
}

// The digits of the typed text: blanks around it and the separators '.', '-' and '/' go away. A leading "P"
// (either case) is kept when `aceitaP` (São Paulo's rural producer). Nothing when another character appears, or
// when the text is far longer than any registration.
std::optional<QString> soAlgarismos(const QString& ie, bool aceitaP)
{
    const QString t = ie.trimmed();
    if (t.size() > 40)
        return std::nullopt;
    QString d;
    d.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9')
            d.append(c);
        else if (c == u'.' || c == u'-' || c == u'/')
            continue;
        else if (aceitaP && d.isEmpty() && i == 0 && (c == u'P' || c == u'p'))
            d.append(QLatin1Char('P'));
        else
            return std::nullopt;
    }
    return d;
}

} // namespace

int ConsisteInscricaoEstadual(const QString& ie, const QString& uf)
{
    const QString sigla = uf.trimmed().toUpper();
    const auto regra = regras().constFind(sigla);
    if (regra == regras().cend())
        return IE_UF_SEM_REGRA;
    const std::optional<QString> d = soAlgarismos(ie, sigla == QLatin1String("SP"));
    if (!d)
        return IE_INVALIDA;
    // No registration is all zeros, though most rules would let "000000000" through.
    bool soZeros = true;
    for (QChar c : *d)
        soZeros = soZeros && (c == u'0' || c == u'P');
    if (soZeros)
        return IE_INVALIDA;
    return regra.value()(*d) ? IE_VALIDA : IE_INVALIDA;
}
