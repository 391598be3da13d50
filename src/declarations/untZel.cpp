#include "declarations/untZel.h"

#include "core/untDatas.h"
#include "declarations/untApuracao.h"
#include "declarations/untDadosAnuais.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untLinhaDeclaracao.h"

namespace {

Money maior(Money a, Money b) { return a < b ? b : a; }

QString textoErro(const EBancoDados& e) { return e.mensagem(); }

// The columns of the 29 amounts, in the order the row is written.
struct TColunaZel {
    const char* nome;
    Money TValoresZel::*campo;
};
const TColunaZel kColunas[] = {
    {"CredSaldoAnterior", &TValoresZel::CredSaldoAnterior}, {"CredEntradas", &TValoresZel::CredEntradas},
    {"CredAtivoImob", &TValoresZel::CredAtivoImob},         {"CredTransferencia", &TValoresZel::CredTransferencia},
    {"CredIcms_JR", &TValoresZel::CredIcms_JR},             {"CredIcms_AR", &TValoresZel::CredIcms_AR},
    {"CredEstornoDeb", &TValoresZel::CredEstornoDeb},       {"CredOutros", &TValoresZel::CredOutros},
    {"DebSaidas", &TValoresZel::DebSaidas},                 {"DebTransfCredAc", &TValoresZel::DebTransfCredAc},
    {"DebEstornoCred", &TValoresZel::DebEstornoCred},       {"DebOutros", &TValoresZel::DebOutros},
    {"SubstEnt_JR", &TValoresZel::SubstEnt_JR},             {"SubstEnt_AR", &TValoresZel::SubstEnt_AR},
    {"SubstSai_JR", &TValoresZel::SubstSai_JR},             {"SubstSai_AR", &TValoresZel::SubstSai_AR},
    {"DifAliquota", &TValoresZel::DifAliquota},             {"ImpOutraUF", &TValoresZel::ImpOutraUF},
    {"OutrosRegEspec", &TValoresZel::OutrosRegEspec},       {"Tare", &TValoresZel::Tare},
    {"PrevRicms", &TValoresZel::PrevRicms},                 {"Dorq", &TValoresZel::Dorq},
    {"MirvelIcms", &TValoresZel::MirvelIcms},               {"MirvelSubSaida", &TValoresZel::MirvelSubSaida},
    {"MirvelSubEntrada", &TValoresZel::MirvelSubEntrada},   {"MirvelRegFonte", &TValoresZel::MirvelRegFonte},
    {"MirvelDifAliq", &TValoresZel::MirvelDifAliq},         {"ChqHabitacao", &TValoresZel::ChqHabitacao},
    {"ChqEducacao", &TValoresZel::ChqEducacao},
};

TFalha falha(const char* mensagem, const char* campo)
{
    return {QString::fromUtf8(mensagem), QString::fromLatin1(campo)};
}

} // namespace

TTotaisZel TotaisZel(const TValoresZel& v)
{
    TTotaisZel t;
    t.credPresumido = v.OutrosRegEspec + v.Tare + v.PrevRicms + v.Dorq;
    t.credProgramas = v.ChqHabitacao + v.ChqEducacao;
    t.credPeriodo = v.CredEntradas + v.CredAtivoImob + v.CredTransferencia + v.CredIcms_JR + v.CredIcms_AR +
                    v.CredEstornoDeb + t.credPresumido + t.credProgramas + v.CredOutros;
    t.credTotal = t.credPeriodo + v.CredSaldoAnterior;
    t.debTotal = v.DebSaidas + v.DebTransfCredAc + v.DebEstornoCred + v.DebOutros;
    return t;
}

TValoresZel LeValoresZel(const TDataSet& q)
{
    TValoresZel v;
    for (const TColunaZel& c : kColunas)
        if (q.fieldIndex(QString::fromLatin1(c.nome)) >= 0)
            v.*c.campo = q.asMoney(QString::fromLatin1(c.nome));
    return v;
}

Money LimiteMirvel(Money base)
{
    return Money::fromRaw(divideTiesToEven(base.raw() * 2, 10));
}

bool DeducaoAceita(Money deducao, Money base)
{
    // No deduction is always acceptable, whatever the base.
    return deducao.isZero() || (!deducao.isNegative() && !(LimiteMirvel(base) < deducao));
}

// ----- the screen's model

Money TApuracaoNormal::credPresumido() const { return presumido[0] + presumido[1] + presumido[2] + presumido[3]; }
Money TApuracaoNormal::credProgramas() const { return chqHabitacao + chqEducacao; }
Money TApuracaoNormal::c8() const { return c1 + c2 + c3 + c4 + c5 + c6 + c7 + credPresumido() + credProgramas(); }
Money TApuracaoNormal::c10() const { return c8() + c9; }
Money TApuracaoNormal::d11() const { return DeducaoAceita(m18, debitoSaidas) ? debitoSaidas - m18 : debitoSaidas; }
Money TApuracaoNormal::d15() const { return d11() + d12 + d13 + d14; }
Money TApuracaoNormal::s16() const { return maior(Money(), c10() - d15()); }
Money TApuracaoNormal::s17() const { return maior(Money(), d15() - c10()); }
Money TApuracaoNormal::s03() const { return s01 - s02; }
Money TApuracaoNormal::s04() const { return DeducaoAceita(m09, substSaidas) ? substSaidas - m09 : substSaidas; }
Money TApuracaoNormal::s05() const { return DeducaoAceita(m10, substFonte) ? substFonte - m10 : substFonte; }
Money TApuracaoNormal::s06() const { return s04() + s05(); }

TFalha TApuracaoNormal::ChecaSalvar() const
{
    if (s17().isNegative())
        return falha("Valor do Imposto a Recolher \nnão pode ser negativo!", "edtCredAtivoImobilizado");
    const struct {
        Money deducao, base;
        const char* campo;
    } deducoes[] = {{m18, debitoSaidas, "edtMirvelIcms"},
                    {m20, d19, "edtMirvelDifAliq"},
                    {m07, s01, "edtMirvelSubEntrada"},
                    {m09, substSaidas, "edtMirvelSubSaida"},
                    {m10, substFonte, "edtMirvelRegFonte"}};
    for (const auto& d : deducoes) {
        if (d.deducao.isNegative())
            return falha("Valor da Dedução MIRVEL-ZR \nnão pode ser negativo!", d.campo);
        if (!DeducaoAceita(d.deducao, d.base))
            return falha("Valor da Dedução MIRVEL-ZR \nmaior que limite máximo!", d.campo);
    }
    if (s03().isNegative())
        return falha("Resultado Negativo!", "edtIcmsSTEntradas");
    // Every column goes to a thirteen-digit field of the return file, which has no sign. A computed figure
    // names its label and puts the focus on the typed field nearest to it.
    const TValoresZel v = valores();
    if (const TFalha f = ChecaValoresDoArquivo({{v.CredEntradas, "edtCredAtivoImobilizado", "1- Por entradas"},
                                                {v.CredAtivoImob, "edtCredAtivoImobilizado", "2- Ativo Imobilizado"},
                                                {v.CredTransferencia, "edtCredAtivoImobilizado", "3- Cred. Acum. rec. p/ transf."},
                                                {v.CredIcms_AR, "edtCredICMS_AR", "4- ICMS antecipado a recolher"},
                                                {v.CredIcms_JR, "edtCredICMS_JR", "5- ICMS antecipado recolhido"},
                                                {v.CredOutros, "edtCredOutros", "6- Outros créditos"},
                                                {v.CredEstornoDeb, "edtCredEstornoDeb", "7- Estorno de Débito"},
                                                {v.OutrosRegEspec, "btnCredPresumido", "01- Outros Regimes Especiais"},
                                                {v.Tare, "btnCredPresumido", "02- Termo de Acordo - TARE"},
                                                {v.PrevRicms, "btnCredPresumido", "03- Previsão do RICMS"},
                                                {v.Dorq, "btnCredPresumido", "04- DORQ"},
                                                {v.ChqHabitacao, "btnCredProgGov", "Cheque Habitação"},
                                                {v.ChqEducacao, "btnCredProgGov", "Cheque Educação"},
                                                {v.CredSaldoAnterior, "edtCredSaldoAnterior", "9- Saldo Credor Anterior"},
                                                {v.DebSaidas, "edtDebOutros", "11- Por saídas"},
                                                {v.DebTransfCredAc, "edtDebOutros", "12- Transf. créditos acumulados"},
                                                {v.DebOutros, "edtDebOutros", "13- Outros débitos"},
                                                {v.DebEstornoCred, "edtDebEstornoCred", "14- Estorno de créditos"},
                                                {v.MirvelIcms, "edtMirvelIcms", "18- MIRVEL-ZR - ICMS Normal"},
                                                {v.DifAliquota, "edtDifAliquota", "19-Diferença de alíquota a recolher"},
                                                {v.MirvelDifAliq, "edtMirvelDifAliq", "20- MIRVEL-ZR - Dif.Alíquota"},
                                                {v.ImpOutraUF, "edtRetidoOutrasUF", "21- ICMS retido por outras UF"},
                                                {v.SubstEnt_JR, "edtIcmsST_JR", "02-Subst. recolhida"},
                                                {v.SubstEnt_AR, "edtIcmsSTEntradas", "03-Subst. a recolher"},
                                                {v.SubstSai_AR, "edtIcmsSTEntradas", "04-ICMS Subst. Saídas Internas"},
                                                {v.SubstSai_JR, "edtIcmsSTEntradas", "05-ICMS Subst. Regime Fonte"},
                                                {v.MirvelSubEntrada, "edtMirvelSubEntrada", "07- Entradas"},
                                                {v.MirvelSubSaida, "edtMirvelSubSaida", "09- Saídas Internas"},
                                                {v.MirvelRegFonte, "edtMirvelRegFonte", "10- Regime Fonte"}},
                                             kMaiorValorTrezeDigitos); f.falhou())
        return f;
    return {};
}

TFalha TApuracaoNormal::ZeraDeducao18SemSaidas()
{
    if (m18.isZero() || permiteDeducao18())
        return {};
    const Money anterior = m18;
    m18 = Money();
    return {QString::fromUtf8("Sem saídas no mês, o limite da Dedução MIRVEL-ZR é zero: o valor de \"18- MIRVEL-ZR - "
                              "ICMS Normal\" (%1) passou a 0,00.")
                .arg(anterior.toStringExato()),
            QString()};
}

TApuracaoNormal TApuracaoNormal::DaLinha(const TValoresZel& v)
{
    TApuracaoNormal a;
    a.c1 = v.CredEntradas;
    a.c2 = v.CredAtivoImob;
    a.c3 = v.CredTransferencia;
    a.c4 = v.CredIcms_AR;
    a.c5 = v.CredIcms_JR;
    a.c6 = v.CredOutros;
    a.c7 = v.CredEstornoDeb;
    a.c9 = v.CredSaldoAnterior;
    a.presumido[0] = v.OutrosRegEspec;
    a.presumido[1] = v.Tare;
    a.presumido[2] = v.PrevRicms;
    a.presumido[3] = v.Dorq;
    a.chqHabitacao = v.ChqHabitacao;
    a.chqEducacao = v.ChqEducacao;
    a.m18 = v.MirvelIcms;
    a.debitoSaidas = v.DebSaidas + v.MirvelIcms;
    if (!DeducaoAceita(a.m18, a.debitoSaidas))
        a.debitoSaidas = v.DebSaidas; // a row stored with a deduction that did not count kept its gross debit
    a.d12 = v.DebTransfCredAc;
    a.d13 = v.DebOutros;
    a.d14 = v.DebEstornoCred;
    a.d19 = v.DifAliquota;
    a.m20 = v.MirvelDifAliq;
    a.d21 = v.ImpOutraUF;
    a.s01 = v.SubstEnt_JR + v.SubstEnt_AR;
    a.s02 = v.SubstEnt_JR;
    a.m07 = v.MirvelSubEntrada;
    a.m09 = v.MirvelSubSaida;
    a.m10 = v.MirvelRegFonte;
    a.substSaidas = v.SubstSai_AR + v.MirvelSubSaida;
    if (!DeducaoAceita(a.m09, a.substSaidas))
        a.substSaidas = v.SubstSai_AR;
    a.substFonte = v.SubstSai_JR + v.MirvelRegFonte;
    if (!DeducaoAceita(a.m10, a.substFonte))
        a.substFonte = v.SubstSai_JR;
    return a;
}

TValoresZel TApuracaoNormal::valores() const
{
    TValoresZel v;
    v.CredEntradas = c1;
    v.CredAtivoImob = c2;
    v.CredTransferencia = c3;
    v.CredIcms_AR = c4;
    v.CredIcms_JR = c5;
    v.CredOutros = c6;
    v.CredEstornoDeb = c7;
    v.CredSaldoAnterior = c9;
    v.OutrosRegEspec = presumido[0];
    v.Tare = presumido[1];
    v.PrevRicms = presumido[2];
    v.Dorq = presumido[3];
    v.ChqHabitacao = chqHabitacao;
    v.ChqEducacao = chqEducacao;
    v.DebSaidas = d11();
    v.DebTransfCredAc = d12;
    v.DebOutros = d13;
    v.DebEstornoCred = d14;
    v.MirvelIcms = m18;
    v.DifAliquota = d19;
    v.MirvelDifAliq = m20;
    v.ImpOutraUF = d21;
    v.SubstEnt_JR = s02;
    v.SubstEnt_AR = s03();
    v.SubstSai_AR = s04();
    v.SubstSai_JR = s05();
    v.MirvelSubEntrada = m07;
    v.MirvelSubSaida = m09;
    v.MirvelRegFonte = m10;
    return v;
}

// ----- the row

static void ligaValores(TComando& cmd, const TZel& z, const QDateTime& agora)
{
    cmd.setParam(QStringLiteral("IdContribuinte"), z.IdContribuinte);
    cmd.setParam(QStringLiteral("Periodo"), z.Periodo);
    cmd.setParam(QStringLiteral("Tipo"), z.Tipo);
    for (const TColunaZel& c : kColunas)
        cmd.setParam(QString::fromLatin1(c.nome), z.valores.*c.campo);
    cmd.setParam(QStringLiteral("Entregue"), false);
    cmd.setParam(QStringLiteral("DtGeracao"), agora);
}

static QString listaColunas(const QString& prefixo, const QString& separador)
{
    QStringList r;
    for (const TColunaZel& c : kColunas)
        r << prefixo + QString::fromLatin1(c.nome);
    return r.join(separador);
}

bool TZel::Incluir(QString* erro)
{
    if (!TipoEntregaGravavel(sitCadastroContrib, erro))
        return false;
    try {
        QString colunas = QStringLiteral("IdContribuinte, Periodo, Tipo, ") + listaColunas({}, QStringLiteral(", ")) +
                          QStringLiteral(", Entregue, DtGeracao");
        QString valoresSql = QStringLiteral(":IdContribuinte, :Periodo, :Tipo, ") +
                             listaColunas(QStringLiteral(":"), QStringLiteral(", ")) + QStringLiteral(", :Entregue, :DtGeracao");
        const bool recibo = sitCadastroContrib >= 0;
        if (recibo) {
            colunas += QStringLiteral(", sitCadastroContrib");
            valoresSql += QStringLiteral(", :sitCadastroContrib");
            if (!NumRecibo.trimmed().isEmpty()) {
                colunas += QStringLiteral(", NumRecibo");
                valoresSql += QStringLiteral(", :NumRecibo");
            }
            if (dataSitCadastro.isValid()) {
                colunas += QStringLiteral(", dataSitCadastro");
                valoresSql += QStringLiteral(", :dataSitCadastro");
            }
        }
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral("insert into ZEL (%1) values (%2)").arg(colunas, valoresSql));
        ligaValores(cmd, *this, DtGeracao);
        if (recibo) {
            cmd.setParam(QStringLiteral("sitCadastroContrib"), sitCadastroContrib);
            cmd.setParam(QStringLiteral("NumRecibo"), NumRecibo.trimmed());
            cmd.setParam(QStringLiteral("dataSitCadastro"), dataSitCadastro);
        }
        if (cmd.execute() != 1)
            return false;
        IDZel = int(cmd.ultimoIdInserido());
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = textoErro(e);
        return false;
    }
}

bool TZel::Alterar(QString* erro)
{
    if (!TipoEntregaGravavel(sitCadastroContrib, erro))
        return false;
    try {
        QStringList sets = {QStringLiteral("IdContribuinte = :IdContribuinte"), QStringLiteral("Periodo = :Periodo"),
                            QStringLiteral("Tipo = :Tipo")};
        for (const TColunaZel& c : kColunas)
            sets << QStringLiteral("%1 = :%1").arg(QString::fromLatin1(c.nome));
        sets << QStringLiteral("Entregue = :Entregue") << QStringLiteral("DtGeracao = :DtGeracao");
        const bool recibo = sitCadastroContrib >= 0;
        // With a delivery type the row takes the page's number as it stands, an emptied one included: a number
        // kept from before would go into the file beside a type that carries none.
        if (recibo)
            sets << QStringLiteral("sitCadastroContrib = :sitCadastroContrib")
                 << QStringLiteral("dataSitCadastro = :dataSitCadastro") << QStringLiteral("NumRecibo = :NumRecibo");
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral("update ZEL set %1 where IDZel = :OLD_IDZel and IdContribuinte = :OLD_IdContribuinte")
                               .arg(sets.join(QStringLiteral(", "))));
        ligaValores(cmd, *this, DtGeracao);
        if (recibo) {
            cmd.setParam(QStringLiteral("sitCadastroContrib"), sitCadastroContrib);
            // A missing date is written as 0, the "no date" of older rows.
            cmd.setParam(QStringLiteral("dataSitCadastro"),
                         dataSitCadastro.isValid() ? QVariant(dataSitCadastro) : QVariant(0));
            // An empty number is no number, as an inclusion leaves it.
            const QString numero = NumRecibo.trimmed();
            cmd.setParam(QStringLiteral("NumRecibo"), numero.isEmpty() ? QVariant() : QVariant(numero));
        }
        cmd.setParam(QStringLiteral("OLD_IDZel"), IDZel);
        cmd.setParam(QStringLiteral("OLD_IdContribuinte"), IdContribuinte);
        return cmd.execute() == 1;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = textoErro(e);
        return false;
    }
}

bool TZel::Excluir(int idZel, QString* erro)
{
    return ExcluiUmaLinha(m_dtm, QStringLiteral("delete from ZEL where IDZel = :OLD_IDZel"), QStringLiteral("OLD_IDZel"), idZel, erro);
}

void TZel::Carregar(const TDataSet& q)
{
    IDZel = q.asInteger(QStringLiteral("IDZel"));
    IdContribuinte = q.asInteger(QStringLiteral("IdContribuinte"));
    Periodo = q.asString(QStringLiteral("Periodo")).trimmed();
    Tipo = q.asString(QStringLiteral("Tipo")).trimmed();
    valores = LeValoresZel(q);
    NumRecibo = q.asString(QStringLiteral("NumRecibo")).trimmed();
    sitCadastroContrib = q.isNull(QStringLiteral("sitCadastroContrib")) ? -1 : q.asInteger(QStringLiteral("sitCadastroContrib"));
    // Older rows write "no date" as 0.
    const QVariant data = q.fieldByName(QStringLiteral("dataSitCadastro"));
    dataSitCadastro = QDate();
    if (!data.isNull() && data.toString().trimmed() != QLatin1String("0")) {
        const QDate d = data.toDate();
        if (d.isValid() && d.year() > 1900)
            dataSitCadastro = d;
    }
    DtGeracao = q.fieldByName(QStringLiteral("DtGeracao")).toDateTime();
    totais = TotaisZel(valores);
}

bool TZel::CarregarId(int idZel, int idContribuinte)
{
    TDataSet q(m_dtm.conexao());
    if (!AbreLinhaDoContribuinte(q, "ZEL", "IDZel", idZel, idContribuinte))
        return false;
    Carregar(q);
    return true;
}

void TZel::AtualizaTabela(TDTM& dtm)
{
    if (!dtm.AtualizarZel())
        throw EBancoDados(QStringLiteral("Sem conexão com o banco de dados."));
}

void AbreListaZel(TDataSet& lista, int idAtivo, bool crescente)
{
    lista.setCommandText(QStringLiteral("SELECT * FROM Zel WHERE IdContribuinte =:IdAtivo ORDER BY Periodo") +
                         (crescente ? QString() : QStringLiteral(" DESC")));
    lista.setParam(QStringLiteral("IdAtivo"), idAtivo);
    lista.open();
}

bool ExisteZel(TDTM& dtm, int idAtivo, const QString& periodo)
{
    TDataSet q(dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT IDZel FROM ZEL WHERE IdContribuinte =:IdAtivo AND Periodo =:newPer"));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    q.setParam(QStringLiteral("newPer"), periodo);
    q.open();
    return !q.isEmpty();
}

// ----- government programmes

Money SaldoRemanescente(Money anterior, Money autorizado, Money entrada, Money saida, Money apropriado)
{
    return anterior + autorizado + entrada - saida - apropriado;
}

QStringList AvisosSaldoRemanescente(Money habitacao, Money educacao)
{
    QStringList avisos;
    if (habitacao.isNegative())
        avisos << QString::fromUtf8("O saldo remanescente do cheque habitação está negativo para os valores informados. "
                                    "Por favor, corrija-os.");
    if (educacao.isNegative())
        avisos << QString::fromUtf8("O saldo remanescente do cheque educação está negativo para os valores informados. "
                                    "Por favor, corrija-os.");
    return avisos;
}

Money TZelCredGov::saldoCalculado() const
{
    return SaldoRemanescente(sldPeriodoAnterior, credAutorizado, transfCredEntrada, transfCredSaida, valorApropriado);
}

Money TZelCredGov::credito() const
{
    return valorApropriado + transfCredSaida;
}

bool TZelCredGov::todosZero() const
{
    for (const Money m : {credAutorizado, transfCredEntrada, transfCredSaida, valorApropriado, sldPeriodoAnterior, sldRemanescente})
        if (!m.isZero())
            return false;
    return true;
}

QString TZelCredGov::PeriodoAnterior(const QString& periodo)
{
    const int ano = periodo.left(4).toInt();
    const int mes = periodo.mid(4, 2).toInt();
    return mes <= 1 ? QStringLiteral("%1%2").arg(ano - 1, 4, 10, QLatin1Char('0')).arg(12)
                    : QStringLiteral("%1%2").arg(ano, 4, 10, QLatin1Char('0')).arg(mes - 1, 2, 10, QLatin1Char('0'));
}

bool TZelCredGov::CarregaPeriodo(const QString& p, int tipo, QString* erro)
{
    id = 0;
    existe = false;
    ilegivel = false;
    credAutorizado = transfCredEntrada = transfCredSaida = valorApropriado = sldPeriodoAnterior = sldRemanescente = Money();
    periodo = p;
    tipoCheque = tipo;
    try {
        TDataSet q(m_dtm.conexao());
        q.setCommandText(QStringLiteral("SELECT * FROM ZEL_PRGGOV WHERE IdContribuinte =:IdAtivo AND periodo = :Periodo "
                                        "AND TipoCheque = :TipoCheque"));
        q.setParam(QStringLiteral("IdAtivo"), idContribuinte);
        q.setParam(QStringLiteral("Periodo"), p);
        q.setParam(QStringLiteral("TipoCheque"), tipo);
        q.open();
        if (q.isEmpty())
            return true;
        existe = true;
        id = q.asInteger(QStringLiteral("idZelProgGoverno"));
        credAutorizado = q.asMoney(QStringLiteral("credAutorizado"));
        transfCredEntrada = q.asMoney(QStringLiteral("transfCredEntrada"));
        transfCredSaida = q.asMoney(QStringLiteral("transfCredSaida"));
        valorApropriado = q.asMoney(QStringLiteral("valorApropriado"));
        sldPeriodoAnterior = q.asMoney(QStringLiteral("sldPeriodoAnterior"));
        // The remaining balance follows from the others, whatever an older version stored.
        sldRemanescente = saldoCalculado();
        return true;
    } catch (const EBancoDados& e) {
        ilegivel = true;
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

Money TZelCredGov::SaldoAnterior(const QString& p, int tipo, QString* erro)
{
    if (!CarregaPeriodo(PeriodoAnterior(p), tipo, erro) || !existe)
        return Money();
    return sldRemanescente;
}

bool TZelCredGov::Incluir(QString* erro)
{
    if (ilegivel)
        return false;
    try {
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral(
            " insert into ZEL_PRGGOV (idContribuinte, periodo, credAutorizado, transfCredEntrada, transfCredSaida, "
            "valorApropriado, sldPeriodoAnterior, sldRemanescente, tipoCheque) values (:idContribuinte, :periodo, "
            ":credAutorizado, :transfCredEntrada, :transfCredSaida, :valorApropriado, :sldPeriodoAnterior, "
            ":sldRemanescente, :tipoCheque)"));
        cmd.setParam(QStringLiteral("idContribuinte"), idContribuinte);
        cmd.setParam(QStringLiteral("periodo"), periodo);
        cmd.setParam(QStringLiteral("credAutorizado"), credAutorizado);
        cmd.setParam(QStringLiteral("transfCredEntrada"), transfCredEntrada);
        cmd.setParam(QStringLiteral("transfCredSaida"), transfCredSaida);
        cmd.setParam(QStringLiteral("valorApropriado"), valorApropriado);
        cmd.setParam(QStringLiteral("sldPeriodoAnterior"), sldPeriodoAnterior);
        cmd.setParam(QStringLiteral("sldRemanescente"), saldoCalculado());
        cmd.setParam(QStringLiteral("tipoCheque"), tipoCheque);
        if (cmd.execute() != 1)
            return false;
        id = int(cmd.ultimoIdInserido());
        existe = true;
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TZelCredGov::Alterar(QString* erro)
{
    if (ilegivel || id == 0)
        return false;
    try {
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral(
            "update ZEL_PRGGOV set credAutorizado = :credAutorizado , transfCredEntrada = :transfCredEntrada, "
            "transfCredSaida = :transfCredSaida, valorApropriado = :valorApropriado, sldPeriodoAnterior = "
            ":sldPeriodoAnterior, sldRemanescente = :sldRemanescente where IdZELProgGoverno = :OLD_IDZel"));
        cmd.setParam(QStringLiteral("credAutorizado"), credAutorizado);
        cmd.setParam(QStringLiteral("transfCredEntrada"), transfCredEntrada);
        cmd.setParam(QStringLiteral("transfCredSaida"), transfCredSaida);
        cmd.setParam(QStringLiteral("valorApropriado"), valorApropriado);
        cmd.setParam(QStringLiteral("sldPeriodoAnterior"), sldPeriodoAnterior);
        cmd.setParam(QStringLiteral("sldRemanescente"), saldoCalculado());
        cmd.setParam(QStringLiteral("OLD_IDZel"), id);
        return cmd.execute() == 1;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TZelCredGov::Excluir(int chave, QString* erro)
{
    return ExcluiUmaLinha(m_dtm, QStringLiteral("DELETE FROM ZEL_PRGGOV WHERE IdZelProgGoverno = :OLD_IDZel"), QStringLiteral("OLD_IDZel"), chave, erro);
}

bool ExcluiZel(TDTM& dtm, int idZel, int idContribuinte, const QString& periodo, QString* mensagem)
{
    try {
        TTransacao transacao(dtm.conexao());
        TZel zel(dtm);
        QString erro;
        if (!zel.Excluir(idZel, &erro)) {
            *mensagem = QString::fromUtf8("Erro na Exclusão da apuração.");
            return false; // the transaction rolls back as it goes
        }
        for (const int tipo : {1, 2}) {
            TZelCredGov cheque(dtm);
            cheque.idContribuinte = idContribuinte;
            if (!cheque.CarregaPeriodo(periodo, tipo, &erro) || (cheque.existe && !cheque.Excluir(cheque.id, &erro))) {
                *mensagem = QString::fromUtf8("Erro na Exclusão dos créditos do governo.");
                return false;
            }
        }
        transacao.commit();
        return true;
    } catch (const EBancoDados& e) {
        *mensagem = QString::fromUtf8("Erro na Exclusão da apuração.\n") + e.mensagem();
        return false;
    }
}

void ProcessaNormal(TDTMCON& con, int idAtivo, int mes, int ano, TApuracaoNormal& a)
{
    a.c3 = CreditoAcumuladoRecebido(con, idAtivo, mes, ano);
    a.d12 = TransferenciaCreditoAcumulado(con, idAtivo, mes, ano);
    a.c1 = CreditoPorEntradas(con, idAtivo, mes, ano);
    a.c9 = SaldoCredorAnterior(con, idAtivo, mes, ano);
    a.debitoSaidas = DebitoPorSaidas(con, idAtivo, mes, ano);
    a.substSaidas = SubstituicaoSaidasInternas(con, idAtivo, mes, ano);
    a.substFonte = SubstituicaoRegimeFonte(con, idAtivo, mes, ano);
    a.s02 = SubstituicaoEntradasOutrasUF(con, idAtivo, mes, ano);
}

QStringList LinhasNormal(const TApuracaoNormal& a)
{
    // The fields "Processa" fills, by the number the screen's label gives them.
    const std::pair<const char*, Money> linhas[] = {
        {"1", a.c1},      {"3", a.c3},      {"8", a.c8()},    {"9", a.c9},      {"10", a.c10()},  {"11", a.d11()},
        {"12", a.d12},    {"15", a.d15()},  {"16", a.s16()},  {"17", a.s17()},  {"01", a.s01},    {"02", a.s02},
        {"03", a.s03()},  {"04", a.s04()},  {"05", a.s05()},  {"06", a.s06()},
    };
    QStringList r;
    for (const auto& [nome, valor] : linhas)
        r << QString::fromLatin1(nome) + QLatin1Char('\t') + ValorQuatroCasas(valor);
    return r;
}
