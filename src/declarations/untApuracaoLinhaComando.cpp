#include "declarations/untApuracaoLinhaComando.h"

#include <QRegularExpression>

#include "db/untBancoPasta.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untApuracao.h"
#include "declarations/untZel.h"
#include "declarations/untZelEpp.h"
#include "declarations/untZelSN.h"

int ExecutaApuracao(const TOpcoesApuracao& o, IDialogos& dialogos, QStringList* linhas, QString* erro)
{
    linhas->clear();
    if (o.ie.trimmed().isEmpty() || o.periodo.isEmpty()) {
        *erro = QString::fromUtf8("informe --ie e --periodo");
        return 2;
    }
    static const QRegularExpression rePeriodo(QStringLiteral("^(\\d{4})(\\d{2})$"));
    const auto m = rePeriodo.match(o.periodo.trimmed());
    const int ano = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int mes = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (ano < 1 || mes < 1 || mes > 12) {
        *erro = QString::fromUtf8("período deve ser AAAAMM, com o mês de 01 a 12: %1").arg(o.periodo);
        return 2;
    }
    const QString declaracao = o.declaracao.trimmed().toLower();
    if (!declaracao.isEmpty() && declaracao != QLatin1String("normal") && declaracao != QLatin1String("epp") &&
        declaracao != QLatin1String("sn")) {
        *erro = QString::fromUtf8("declaração desconhecida: %1 (use normal, epp ou sn)").arg(o.declaracao);
        return 2;
    }
    // A period the declaration's screen refuses is refused here too, with the screen's own words: the tool
    // must not print figures of a month no screen would compute.
    TFalha periodoRecusado;
    if (declaracao == QLatin1String("epp"))
        periodoRecusado = TApuracaoEPP::ChecaPeriodo(TApuracaoEPP::PeriodoDaMP3706(mes, ano), mes, ano);
    else if (declaracao == QLatin1String("sn"))
        periodoRecusado = ChecaPeriodoSN(mes, ano);
    if (periodoRecusado.falhou()) {
        *erro = periodoRecusado.mensagem;
        return 1;
    }
    TDTMCON con(o.pasta, dialogos);
    int idAtivo = 0;
    if (const int r = AbreContribuinteDaPasta(con, o.ie, &idAtivo, erro); r != 0)
        return r;
    try {
        if (declaracao.isEmpty()) {
            *linhas = LinhasApuracao(con, idAtivo, mes, ano);
        } else if (declaracao == QLatin1String("normal")) {
            TApuracaoNormal a;
            ProcessaNormal(con, idAtivo, mes, ano, a);
            // The figures first, then the fields of the screen.
            *linhas = LinhasApuracao(con, idAtivo, mes, ano) + LinhasNormal(a);
        } else if (declaracao == QLatin1String("epp")) {
            TApuracaoEPP a;
            ProcessaEPP(con, idAtivo, mes, ano, a);
            *linhas = LinhasEPP(a);
        } else {
            TInformacoesSN c;
            ProcessaSN(con, idAtivo, mes, ano, c);
            *linhas = LinhasSN(c);
        }
    } catch (const EBancoDados& e) {
        *erro = e.mensagem();
        return 1;
    }
    return 0;
}
