#include "declarations/untZelEpp.h"

#include <cmath>

#include "declarations/untApuracao.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untLinhaDeclaracao.h"

namespace {

TFalha falha(const char* mensagem, const char* campo)
{
    return {QString::fromUtf8(mensagem), QString::fromLatin1(campo)};
}

const int kFaixas[5] = {150, 200, 250, 300, 350};

} // namespace

Money EmCentavos(Money m)
{
    return Money::fromCents(m.cents());
}

Money TApuracaoEPP::recEfetiva() const
{
    const Money oitentaPorCento = Money::fromRaw(divideTiesToEven(mediaEntradas.raw() * 8, 10));
    return EmCentavos(recApurada < oitentaPorCento ? oitentaPorCento : recApurada);
}

int TApuracaoEPP::percRecolhCentesimos() const
{
    if (mp3706)
        return 100;
    return faixa >= 1 && faixa <= 5 ? kFaixas[faixa - 1] : 0;
}

Money TApuracaoEPP::impDevido() const
{
    return EmCentavos(recEfetiva().timesRateHundredths(percRecolhCentesimos()));
}

int TApuracaoEPP::credEmpreg() const
{
    if (mp3706)
        return 0;
    const int n = numEmpreg;
    if (n == 0)
        return 0;
    if (n >= 1 && n <= 5)
        return n;
    if (n >= 6 && n <= 20)
        return (n - 5) * 2 + 5;
    return 35;
}

int TApuracaoEPP::participacaoInterna() const
{
    if (totalAquis.raw() <= 0)
        return 0;
    return int((aquisInter.raw() * 100) / totalAquis.raw());
}

int TApuracaoEPP::credAqInter() const
{
    if (mp3706)
        return 0;
    const int p = participacaoInterna();
    return p >= 80 ? 40 : (p >= 60 ? 20 : 0);
}

int TApuracaoEPP::percCredPres() const
{
    return qMin(50, credAqInter() + credEmpreg());
}

Money TApuracaoEPP::credPresumido() const
{
    return EmCentavos(impDevido().timesRateHundredths(qint64(percCredPres()) * 100));
}

Money TApuracaoEPP::totalCredOutorgado() const
{
    return mp3706 ? chqEducacao + credTEF + chqMoradia : Money();
}

Money TApuracaoEPP::impRecolher() const
{
    if (mp3706)
        return impDevido() - totalCredOutorgado();
    const Money d = impDevido() - credPresumido();
    return d.isNegative() ? -d : d;
}

Money TApuracaoEPP::s04() const { return s02 - s03; }
Money TApuracaoEPP::s07() const { return substSaidas + regFonte; }

TFalha TApuracaoEPP::ChecaSalvar() const
{
    if (!mp3706 && faixa == 0)
        return falha("Selecione a Faixa de Recolhimento", "cmbFaixa");
    if (!mp3706 && numEmpreg < 0)
        return falha("O número de empregados não pode ser negativo.", "edtNum_Empreg");
    if (mp3706 && impRecolher().isNegative())
        return falha("Valor do Imposto a Recolher não pode ser negativo.", "edtCredTEF_ECF");
    if (s04().isNegative())
        return falha("Resultado Negativo!", "edtIcmsSTEntradas");
    // Every amount goes to a nine-digit field of the return file.
    if (const TFalha f = ChecaValoresDoArquivo({{recApurada, "edtBase_RecApurada", "Base de Recolhimento Apurada"},
                                                {mediaEntradas, "edtMediaEntradas", "Média Mensal de Entradas"},
                                                {recEfetiva(), "edtMediaEntradas", "Base de Recolhimento Efetiva"},
                                                {impDevido(), "edtMediaEntradas", "Imposto Devido"},
                                                {credTEF, "edtCredTEF_ECF", "Créditos TEF/ECF"},
                                                {chqMoradia, "edtCredChqMoradia", "Crédito Cheque Moradia"},
                                                {chqEducacao, "edtCredChqEducacao", "Crédito Cheque Educação"},
                                                {totalCredOutorgado(), "edtCredTEF_ECF", "Total do Crédito Outorgado"},
                                                {impRecolher(), "edtMediaEntradas", "Imposto a Recolher"},
                                                {difAliquota, "edtDifAliquota", "01- ICMS Dif. de alíquota a recolher"},
                                                {s03, "edtIcmsST_JR", "03-Subst. recolhida"},
                                                {s04(), "edtIcmsSTEntradas", "04-Subst. a recolher"},
                                                {substSaidas, "edtDifAliquota", "05 - ICMS Subst. Saídas Internas"},
                                                {regFonte, "edtDifAliquota", "06 - ICMS Subst. Regime Fonte"}},
                                             kMaiorValorNoveDigitos); f.falhou())
        return f;
    return {};
}

int TApuracaoEPP::FaixaDoPercentual(double percentual)
{
    const int centesimos = int(std::lround(percentual * 100));
    for (int i = 0; i < 5; ++i)
        if (kFaixas[i] == centesimos)
            return i + 1;
    return 0;
}

TFalha TApuracaoEPP::ChecaPeriodo(bool mp3706, int mes, int ano)
{
    if (mes < 1 || mes > 12)
        return falha("Informe um mês de 1 a 12!", "cmbMes");
    if (mp3706) {
        if (ano < 2006)
            return falha("O Ano deve ser a partir de 2006!", "cmbAno");
        if (ano == 2006 && mes < 7)
            return falha("O Mês deve ser a partir de 07/2006!", "cmbMes");
        return {};
    }
    if (ano < 2004)
        return falha("O Ano deve ser a partir de 2004!", "cmbAno");
    // From July 2006 on the month follows the provisional measure: the old rules would write figures of
    // another law.
    if (ano > 2006 || (ano == 2006 && mes > 6))
        return falha("Para este período utilize o formulário da MP 37/06!", "cmbMes");
    return {};
}

// ----- the row

void TZelEPP::liga(TComando& cmd) const
{
    const TApuracaoEPP& a = apuracao;
    cmd.setParam(QStringLiteral("Periodo"), Periodo);
    cmd.setParam(QStringLiteral("Tipo"), Tipo);
    cmd.setParam(QStringLiteral("RecApurada"), a.recApurada);
    cmd.setParam(QStringLiteral("MediaEntradas"), a.mediaEntradas);
    cmd.setParam(QStringLiteral("RecEfetiva"), a.recEfetiva());
    cmd.setParam(QStringLiteral("Perc_Recolh"), a.percRecolhCentesimos() / 100.0);
    cmd.setParam(QStringLiteral("Imp_Devido"), a.impDevido());
    cmd.setParam(QStringLiteral("Num_Empreg"), a.mp3706 ? 0 : a.numEmpreg);
    cmd.setParam(QStringLiteral("CredEmpreg"), double(a.credEmpreg()));
    cmd.setParam(QStringLiteral("TotalAquis"), a.mp3706 ? Money() : a.totalAquis);
    cmd.setParam(QStringLiteral("Aquis_Inter"), a.mp3706 ? Money() : a.aquisInter);
    cmd.setParam(QStringLiteral("Cred_Aq_Inter"), double(a.credAqInter()));
    cmd.setParam(QStringLiteral("Perc_Cred_Pres"), double(a.mp3706 ? 0 : a.percCredPres()));
    cmd.setParam(QStringLiteral("Cred_Presumido"), a.mp3706 ? Money() : a.credPresumido());
    cmd.setParam(QStringLiteral("Cred_TEF_ECF"), a.mp3706 ? a.credTEF : Money());
    cmd.setParam(QStringLiteral("Chq_Moradia"), a.mp3706 ? a.chqMoradia : Money());
    cmd.setParam(QStringLiteral("Chq_Educacao"), a.mp3706 ? a.chqEducacao : Money());
    cmd.setParam(QStringLiteral("Total_Cred_Outorgado"), a.totalCredOutorgado());
    cmd.setParam(QStringLiteral("Imp_Recolher"), a.impRecolher());
    cmd.setParam(QStringLiteral("Subs_EntJR"), a.s03);
    cmd.setParam(QStringLiteral("Subs_EntAR"), a.s04());
    cmd.setParam(QStringLiteral("ICMS_SubsSaida"), a.substSaidas);
    cmd.setParam(QStringLiteral("ICMS_RetFonte"), a.regFonte);
    cmd.setParam(QStringLiteral("Dif_Aliquota"), a.difAliquota);
    cmd.setParam(QStringLiteral("DtGeracao"), DtGeracao);
}

static const char* const kColunasEpp =
    "RecApurada, MediaEntradas, RecEfetiva, Perc_Recolh, Imp_Devido, Num_Empreg, CredEmpreg, TotalAquis, "
    "Aquis_Inter, Cred_Aq_Inter, Perc_Cred_Pres, Cred_Presumido, Cred_TEF_ECF, Chq_Moradia, Chq_Educacao, "
    "Total_Cred_Outorgado, Imp_Recolher, Subs_EntJR, Subs_EntAR, ICMS_SubsSaida, ICMS_RetFonte, Dif_Aliquota, DtGeracao";

bool TZelEPP::Incluir(QString* erro)
{
    try {
        const QStringList colunas = QString::fromLatin1(kColunasEpp).split(QStringLiteral(", "));
        QStringList parametros;
        for (const QString& c : colunas)
            parametros << QLatin1Char(':') + c;
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral(" insert into ZEL_EPP (IdContribuinte, Periodo, Tipo, %1) values "
                                          "(:IdContribuinte, :Periodo, :Tipo, %2)")
                               .arg(colunas.join(QStringLiteral(", ")), parametros.join(QStringLiteral(", "))));
        cmd.setParam(QStringLiteral("IdContribuinte"), IdContribuinte);
        liga(cmd);
        if (cmd.execute() != 1)
            return false;
        IdEpp = int(cmd.ultimoIdInserido());
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TZelEPP::Alterar(QString* erro)
{
    try {
        QStringList sets = {QStringLiteral("Periodo = :Periodo"), QStringLiteral("Tipo = :Tipo")};
        for (const QString& c : QString::fromLatin1(kColunasEpp).split(QStringLiteral(", ")))
            sets << QStringLiteral("%1 = :%1").arg(c);
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral("update ZEL_EPP set %1 where IdEpp = :OLD_IDZel and IdContribuinte = :OLD_IdContribuinte")
                               .arg(sets.join(QStringLiteral(", "))));
        liga(cmd);
        cmd.setParam(QStringLiteral("OLD_IDZel"), IdEpp);
        cmd.setParam(QStringLiteral("OLD_IdContribuinte"), IdContribuinte);
        return cmd.execute() == 1;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TZelEPP::Excluir(int idEpp, QString* erro)
{
    return ExcluiUmaLinha(m_dtm, QStringLiteral("delete from ZEL_EPP where IdEpp = :OLD_IDZel"), QStringLiteral("OLD_IDZel"), idEpp, erro);
}

void TZelEPP::Carregar(const TDataSet& q)
{
    IdEpp = q.asInteger(QStringLiteral("IdEpp"));
    IdContribuinte = q.asInteger(QStringLiteral("IdContribuinte"));
    Periodo = q.asString(QStringLiteral("Periodo")).trimmed();
    Tipo = q.asString(QStringLiteral("Tipo")).trimmed();
    TApuracaoEPP& a = apuracao;
    a.mp3706 = Periodo >= QLatin1String("200607");
    a.recApurada = q.asMoney(QStringLiteral("RecApurada"));
    a.mediaEntradas = q.asMoney(QStringLiteral("MediaEntradas"));
    a.faixa = TApuracaoEPP::FaixaDoPercentual(q.fieldByName(QStringLiteral("Perc_Recolh")).toDouble());
    a.numEmpreg = q.asInteger(QStringLiteral("Num_Empreg"));
    a.totalAquis = q.asMoney(QStringLiteral("TotalAquis"));
    a.aquisInter = q.asMoney(QStringLiteral("Aquis_Inter"));
    a.credTEF = q.asMoney(QStringLiteral("Cred_TEF_ECF"));
    a.chqMoradia = q.asMoney(QStringLiteral("Chq_Moradia"));
    a.chqEducacao = q.asMoney(QStringLiteral("Chq_Educacao"));
    a.difAliquota = q.asMoney(QStringLiteral("Dif_Aliquota"));
    a.s03 = q.asMoney(QStringLiteral("Subs_EntJR"));
    a.s02 = a.s03 + q.asMoney(QStringLiteral("Subs_EntAR"));
    a.substSaidas = q.asMoney(QStringLiteral("ICMS_SubsSaida"));
    a.regFonte = q.asMoney(QStringLiteral("ICMS_RetFonte"));
    DtGeracao = q.fieldByName(QStringLiteral("DtGeracao")).toDateTime();
}

bool TZelEPP::CarregarId(int idEpp, int idContribuinte)
{
    TDataSet q(m_dtm.conexao());
    if (!AbreLinhaDoContribuinte(q, "ZEL_EPP", "IdEpp", idEpp, idContribuinte))
        return false;
    Carregar(q);
    return true;
}

void AbreListaEpp(TDataSet& lista, int idAtivo)
{
    lista.setCommandText(QStringLiteral("SELECT * FROM ZEL_EPP WHERE IdContribuinte =:IdAtivo ORDER BY Periodo DESC"));
    lista.setParam(QStringLiteral("IdAtivo"), idAtivo);
    lista.open();
}

bool ExisteEpp(TDTM& dtm, int idAtivo, const QString& periodo)
{
    TDataSet q(dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT IdEpp FROM ZEL_EPP WHERE IdContribuinte =:IdAtivo AND Periodo =:newPer"));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    q.setParam(QStringLiteral("newPer"), periodo);
    q.open();
    return !q.isEmpty();
}

void ProcessaEPP(TDTMCON& con, int idAtivo, int mes, int ano, TApuracaoEPP& a)
{
    a.mp3706 = TApuracaoEPP::PeriodoDaMP3706(mes, ano);
    // Shown in two-decimal fields and stored as shown: rounded to the cent, ties to even.
    a.recApurada = EmCentavos(ReceitaApuradaEPP(con, idAtivo, mes, ano));
    a.substSaidas = EmCentavos(SubstituicaoSaidasInternas(con, idAtivo, mes, ano));
    a.regFonte = EmCentavos(SubstituicaoRegimeFonte(con, idAtivo, mes, ano));
    if (!a.mp3706) {
        a.totalAquis = EmCentavos(TotalAquisicoesEPP(con, idAtivo, mes, ano));
        a.aquisInter = EmCentavos(AquisicoesInternasEPP(con, idAtivo, mes, ano));
    }
}

QStringList LinhasEPP(const TApuracaoEPP& a)
{
    QList<std::pair<const char*, Money>> linhas = {{"RecApurada", a.recApurada}, {"RecEfetiva", a.recEfetiva()},
                                                   {"Imp_Devido", a.impDevido()}};
    if (!a.mp3706)
        linhas << std::pair{"TotalAquis", a.totalAquis} << std::pair{"Aquis_Inter", a.aquisInter};
    linhas << std::pair{"Imp_Recolher", a.impRecolher()} << std::pair{"ICMS_SubsSaida", a.substSaidas}
           << std::pair{"ICMS_RetFonte", a.regFonte};
    QStringList r;
    for (const auto& [nome, valor] : linhas)
        r << QString::fromLatin1(nome) + QLatin1Char('\t') + ValorQuatroCasas(valor);
    return r;
}
