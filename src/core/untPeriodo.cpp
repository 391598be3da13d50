#include "core/untPeriodo.h"

static int numeroOuZero(const QString& parte)
{
    if (parte.isEmpty())
        return 0;
    for (const QChar c : parte)
        if (!(c.isDigit() && c.unicode() < 128))
            return 0;
    return parte.toInt();
}

int TPeriodoRegras::mesDe(const QString& texto)
{
    const int mes = numeroOuZero(texto.left(2).trimmed());
    return (mes >= 1 && mes <= 12) ? mes : 0;
}

int TPeriodoRegras::anoDe(const QString& texto)
{
    const int ano = numeroOuZero(texto.mid(2, 4).trimmed());
    return ano < 1899 ? 0 : ano;
}

bool TPeriodoRegras::sintaxeValida(const QString& texto) const
{
    return mesDe(texto) != 0 && anoDe(texto) != 0;
}

bool TPeriodoRegras::dentroDosLimites(const QString& texto) const
{
    const int mes = mesDe(texto), ano = anoDe(texto);
    const int anoMin = anoDe(PeriodoMin), anoMax = anoDe(PeriodoMax);
    if (ano < anoMin || ano > anoMax)
        return false;
    if (ano == anoMax && mes > mesDe(PeriodoMax))
        return false;
    if (ano == anoMin && mes < mesDe(PeriodoMin))
        return false;
    return true;
}

void TPeriodoRegras::aoEntrar(const QDate& hoje)
{
    if (MaxPerAgora)
        PeriodoMax = QStringLiteral("%1%2").arg(hoje.month(), 2, 10, QLatin1Char('0')).arg(hoje.year());
}

QStringList TPeriodoRegras::aoSair(const QString& texto, bool* falhou) const
{
    QStringList mensagens;
    bool erro = false;
    if (!texto.trimmed().isEmpty()) {
        if (!sintaxeValida(texto)) {
            erro = true;
            if (!MensErroSintaxe.isEmpty())
                mensagens << MensErroSintaxe;
        } else if (!dentroDosLimites(texto)) {
            erro = true;
            if (!MensErroValidade.isEmpty())
                mensagens << MensErroValidade;
        }
        if (erro && !Aviso.trimmed().isEmpty())
            mensagens << Aviso.trimmed();
    }
    if (falhou)
        *falhou = erro;
    return mensagens;
}
