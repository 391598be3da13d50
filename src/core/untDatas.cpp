#include "core/untDatas.h"

#include <QStringList>

namespace Datas {

static const char* const kMeses[12] = {"Janeiro", "Fevereiro", "Março", "Abril", "Maio", "Junho",
                                       "Julho", "Agosto", "Setembro", "Outubro", "Novembro", "Dezembro"};
static const char* const kMesesCurtos[12] = {"Jan", "Fev", "Mar", "Abr", "Mai", "Jun",
                                             "Jul", "Ago", "Set", "Out", "Nov", "Dez"};
// Sunday first, as the week is counted in Portuguese.
static const char* const kDias[7] = {"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"};
static const char* const kDiasCurtos[7] = {"Dom", "Seg", "Ter", "Qua", "Qui", "Sex", "Sáb"};

QString nomeMes(int mes, bool curto)
{
    if (mes < 1 || mes > 12)
        return {};
    return QString::fromUtf8(curto ? kMesesCurtos[mes - 1] : kMeses[mes - 1]);
}

QString nomeDia(int diaSemana, bool curto)
{
    if (diaSemana < 1 || diaSemana > 7)
        return {};
    const int i = diaSemana % 7; // Qt's Sunday (7) is the first name
    return QString::fromUtf8(curto ? kDiasCurtos[i] : kDias[i]);
}

QString formata(const QDate& data)
{
    return data.isValid() ? data.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString formataMesAno(int mes, int ano)
{
    return QStringLiteral("%1/%2").arg(mes, 2, 10, QLatin1Char('0')).arg(ano, 4, 10, QLatin1Char('0'));
}

int anoDeDoisDigitos(int aa, int anoReferencia)
{
    const int base = anoReferencia - JanelaSeculo;
    int ano = (base / 100) * 100 + aa;
    if (ano < base)
        ano += 100;
    return ano;
}

std::optional<QDate> interpreta(const QString& texto, const QDate& hoje)
{
    const QStringList partes = texto.trimmed().split(QLatin1Char('/'));
    if (partes.size() != 3)
        return std::nullopt;
    // Only plain digits: toInt() would also take a sign ("01/01/-1" read as 1999).
    for (const QString& parte : partes)
        for (const QChar c : parte.trimmed())
            if (!(c.isDigit() && c.unicode() < 128))
                return std::nullopt;
    bool okD = false, okM = false, okA = false;
    const int d = partes[0].trimmed().toInt(&okD);
    const int m = partes[1].trimmed().toInt(&okM);
    const QString textoAno = partes[2].trimmed();
    int a = textoAno.toInt(&okA);
    if (!okD || !okM || !okA || partes[0].trimmed().size() > 2 || partes[1].trimmed().size() > 2)
        return std::nullopt;
    if (textoAno.size() <= 2)
        a = anoDeDoisDigitos(a, hoje.year());
    else if (textoAno.size() != 4)
        return std::nullopt;
    const QDate data(a, m, d);
    if (!data.isValid())
        return std::nullopt;
    return data;
}

QString paraBanco(const QDate& data)
{
    return data.isValid() ? data.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString paraBanco(const QDateTime& momento)
{
    return momento.isValid() ? momento.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}

QDate doBanco(const QString& texto)
{
    // Read by hand: this runs for every row of the return file's sections.
    if (texto.size() < 10 || texto[4] != QLatin1Char('-') || texto[7] != QLatin1Char('-'))
        return {};
    int partes[3] = {0, 0, 0};
    const int inicio[3] = {0, 5, 8};
    const int tamanho[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = inicio[p]; i < inicio[p] + tamanho[p]; ++i) {
            const char16_t c = texto[i].unicode();
            if (c < u'0' || c > u'9')
                return {};
            partes[p] = partes[p] * 10 + (c - u'0');
        }
    }
    if (texto.size() > 10 && texto[10] != QLatin1Char('T') && texto[10] != QLatin1Char(' '))
        return {};
    return QDate(partes[0], partes[1], partes[2]);
}

QDateTime momentoDoBanco(const QString& texto)
{
    if (texto.size() == 10)
        return QDateTime(doBanco(texto), QTime(0, 0));
    return QDateTime::fromString(texto.left(19), QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QString inicioDoMes(int mes, int ano)
{
    return paraBanco(QDate(ano, mes, 1));
}

QString inicioDoMesSeguinte(int mes, int ano)
{
    return paraBanco(QDate(ano, mes, 1).addMonths(1));
}

} // namespace Datas
