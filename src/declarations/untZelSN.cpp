#include "declarations/untZelSN.h"

#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untLinhaDeclaracao.h"
#include "declarations/untApuracao.h"
#include "declarations/untZelEpp.h"

namespace {

TPassoSN para(const char* mensagem, const char* campo, const char* zera = nullptr)
{
    TPassoSN p;
    p.tipo = TPassoSN::Tipo::Falha;
    p.falha = {QString::fromUtf8(mensagem), QString::fromLatin1(campo)};
    if (zera)
        p.zera = QString::fromLatin1(zera);
    return p;
}

} // namespace

bool TInformacoesSN::LeAliquota(const QString& texto, Money* aliquota)
{
    const auto m = Money::parse(texto.trimmed());
    if (!m)
        return false;
    *aliquota = *m;
    return true;
}

const QStringList& TInformacoesSN::Aliquotas()
{
    static const QStringList lista = QStringLiteral("1,25 1,86 2,33 2,56 2,58 2,82 2,84 2,87 3,07 3,10 3,38 3,41 3,45 "
                                                    "3,48 3,51 3,82 3,85 3,88 3,91 3,95")
                                         .split(QLatin1Char(' '));
    return lista;
}

Money TInformacoesSN::valorAliquota() const
{
    Money a;
    LeAliquota(aliquota, &a);
    return a;
}

Money TInformacoesSN::icmsEsperado() const
{
    // The rate in hundredths of a percent: 3,95 % is 395.
    return EmCentavos(faturamento.timesRateHundredths(valorAliquota().raw() / 100));
}

bool FigurasDosDocumentosMudaram(const TInformacoesSN& mostrado, const TInformacoesSN& guardado)
{
    return mostrado.totEntradas != guardado.totEntradas || mostrado.subsSaidas != guardado.subsSaidas ||
           mostrado.retidoFonte != guardado.retidoFonte;
}

TPassoSN ChecaSalvarSN(const TInformacoesSN& c, bool existemDocumentos, const QString& cnpj, bool perguntaFeita)
{
    if (c.aliquota.trimmed().isEmpty())
        return para("A alíquota deve ser informada", "cbAliquotas");
    Money aliquota;
    if (!TInformacoesSN::LeAliquota(c.aliquota, &aliquota))
        return para("O valor informado não é um número válido", "cbAliquotas");
    // The file carries the rate in three digits, in hundredths.
    if (aliquota.isNegative() || aliquota.hasFractionOfCent() || aliquota.raw() >= 100000)
        return para("A alíquota do ICMS no Simples Nacional deve ser menor que 10% e ter no máximo duas casas "
                    "decimais.",
                    "cbAliquotas");
    const QString estabelecimento = cnpj.rightJustified(14, QLatin1Char('0')).mid(8, 4);
    TPassoSN r;
    if (c.categoria == 2) {
        if (!c.faturamento.isZero())
            return para("O faturamento não deve ser informado para a declaração de filial", "edtFaturamento", "edtFaturamento");
        if (!aliquota.isZero())
            return para("A alíquota não deve ser informada para a declaração de filial", "cbAliquotas", "cbAliquotas");
        if (!c.icmssn.isZero())
            return para("O ICMS a recolher não deve ser informado para a declaração de filial", "edtICMSSN", "edtICMSSN");
        r.categoria = 2;
        if (estabelecimento == QLatin1String("0001") && !perguntaFeita) {
            r.tipo = TPassoSN::Tipo::Pergunta;
            r.pergunta = QStringLiteral("A empresa selecionada tem o CNPJ ") + cnpj +
                         QStringLiteral(". Foi informado que a empresa é uma filial, ") +
                         QStringLiteral("contudo o CNPJ pode não ser dessa categoria. ") +
                         QStringLiteral("Confirma realmente se a empresa é uma filial ?");
            return r;
        }
    } else {
        if (c.categoria == 3 && existemDocumentos)
            return para("Foram encontradas notas e/ou cupons fiscais vinculados à declaração. Para a categoria de "
                        "estabelecimento informada não é permitido ter operações fiscais vinculadas à declaração",
                        "edtDifAliquota");
        if (!c.faturamento.isZero()) {
            if (aliquota.isZero())
                return para("A alíquota não pode ser zero se o faturamento é diferente de zero", "cbAliquotas");
            if (c.icmssn.isZero())
                return para("O valor do ICMS não pode ser zero se o faturamento e a alíquota são diferentes de zero",
                            "edtICMSSN");
            if (c.categoria == 1 && !existemDocumentos)
                return para("Está sendo informado faturamento, contudo não foi localizada nenhuma nota e/ou cupons "
                            "ficais vinculados à declaração.",
                            "edtFaturamento");
        } else {
            if (!c.icmssn.isZero())
                return para("O valor do ICMS não pode ser diferente de zero se o faturamento é igual a zero", "edtICMSSN");
            if (!aliquota.isZero())
                return para("A alíquota não pode ser diferente de zero se o faturamento é igual a zero", "cbAliquotas");
        }
        r.categoria = c.categoria == 3 ? 3 : 1;
        if (estabelecimento != QLatin1String("0001") && !perguntaFeita) {
            r.tipo = TPassoSN::Tipo::Pergunta;
            r.pergunta = QStringLiteral("A empresa selecionada tem o CNPJ ") + cnpj +
                         QStringLiteral(". Foi informado que a empresa é uma matriz ") +
                         QStringLiteral("ou estabelecimento único, contudo o CNPJ pode ") +
                         QStringLiteral("não ser dessa categoria. ") + QStringLiteral("Confirma realmente se a empresa é matriz ") +
                         QStringLiteral("ou Estabelecimento único ?");
            return r;
        }
    }
    // Every amount goes to a nine-digit field of the return file.
    if (const TFalha f = ChecaValoresDoArquivo({{c.faturamento, "edtFaturamento", "Faturamento"},
                                                {c.icmssn, "edtICMSSN", "ICMS a recolher no Simples"},
                                                {c.totEntradas, "edtDifAliquota", "Total de Entradas"},
                                                {c.subsSaidas, "edtDifAliquota", "Substituição por Saída"},
                                                {c.subsEntradas, "edtSubsEntrada", "Substituição por Entrada"},
                                                {c.retidoFonte, "edtDifAliquota", "ICMS Retido Fonte"},
                                                {c.antecipado, "edtICMSAntecipado", "Imposto Antecipado"},
                                                {c.difAliquota, "edtDifAliquota", "Diferencial de Alíquota"},
                                                {c.difAliqComplem, "edtDifAliqComplem", "Diferença Alíquota Complementar"},
                                                {c.importacao, "edtICMSImportacao", "ICMS Importação"},
                                                {c.mirvel, "edtMIRVELSN", "MIRVEL Simples Nacional"}},
                                             kMaiorValorNoveDigitos); f.falhou())
        return {TPassoSN::Tipo::Falha, f, {}, {}, 1};
    r.tipo = TPassoSN::Tipo::Segue;
    return r;
}

// ----- the row

static void ligaSN(TComando& cmd, const TZelSN& z)
{
    const TInformacoesSN& c = z.info;
    cmd.setParam(QStringLiteral("Periodo"), z.Periodo);
    cmd.setParam(QStringLiteral("Tipo"), z.Tipo);
    cmd.setParam(QStringLiteral("Faturamento"), c.faturamento);
    cmd.setParam(QStringLiteral("TotEntradas"), c.totEntradas);
    cmd.setParam(QStringLiteral("SubsSaidas"), c.subsSaidas);
    cmd.setParam(QStringLiteral("SubsEntradas"), c.subsEntradas);
    cmd.setParam(QStringLiteral("DifAliquota"), c.difAliquota);
    cmd.setParam(QStringLiteral("ImpAntecipado"), c.antecipado);
    cmd.setParam(QStringLiteral("DifAliqComplem"), c.difAliqComplem);
    cmd.setParam(QStringLiteral("PercRecolhimento"), double(c.valorAliquota().raw()) / 10000.0);
    cmd.setParam(QStringLiteral("ICMSRetidoFonte"), c.retidoFonte);
    cmd.setParam(QStringLiteral("ICMSImportacao"), c.importacao);
    cmd.setParam(QStringLiteral("MirvelSN"), c.mirvel);
    cmd.setParam(QStringLiteral("ICMSSN"), c.icmssn);
    cmd.setParam(QStringLiteral("categEstabel"), c.categoria);
    cmd.setParam(QStringLiteral("sitCadastroContrib"), z.sitCadastroContrib);
    cmd.setParam(QStringLiteral("NumRecibo"), z.NumRecibo.trimmed());
    // No date is no date: a 0 would come back as 30/12/1899 and reach the file.
    cmd.setParam(QStringLiteral("dataSitCadastro"), z.dataSitCadastro.isValid() ? QVariant(z.dataSitCadastro) : QVariant());
}

static const char* const kColunasSN = "Periodo, Tipo, Faturamento, TotEntradas, SubsSaidas, SubsEntradas, DifAliquota, "
                                      "ImpAntecipado, DifAliqComplem, PercRecolhimento, ICMSRetidoFonte, ICMSImportacao, "
                                      "MirvelSN, ICMSSN, categEstabel";

bool TZelSN::Incluir(const QDateTime& agora, QString* erro)
{
    if (!TipoEntregaGravavel(sitCadastroContrib, erro))
        return false;
    try {
        QStringList colunas = QString::fromLatin1(kColunasSN).split(QStringLiteral(", "));
        colunas << QStringLiteral("DtInclusao");
        if (sitCadastroContrib >= 0) {
            colunas << QStringLiteral("sitCadastroContrib");
            if (!NumRecibo.trimmed().isEmpty())
                colunas << QStringLiteral("recibo");
            if (dataSitCadastro.isValid())
                colunas << QStringLiteral("dataSitCadastro");
        }
        QStringList parametros;
        for (const QString& c : colunas)
            parametros << QLatin1Char(':') + (c == QLatin1String("recibo") ? QStringLiteral("NumRecibo") : c);
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral(" insert into ZEL_SN (IdContribuinte, %1) values (:IdContribuinte, %2)")
                               .arg(colunas.join(QStringLiteral(", ")), parametros.join(QStringLiteral(", "))));
        cmd.setParam(QStringLiteral("IdContribuinte"), IdContribuinte);
        ligaSN(cmd, *this);
        cmd.setParam(QStringLiteral("DtInclusao"), agora);
        if (cmd.execute() != 1)
            return false;
        IdSN = int(cmd.ultimoIdInserido());
        DtInclusao = agora;
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TZelSN::Alterar(const QDateTime& agora, QString* erro)
{
    if (!TipoEntregaGravavel(sitCadastroContrib, erro))
        return false;
    try {
        QStringList sets;
        for (const QString& c : QString::fromLatin1(kColunasSN).split(QStringLiteral(", ")))
            sets << QStringLiteral("%1 = :%1").arg(c);
        sets << QStringLiteral("DtAlteracao = :DtAlteracao");
        if (sitCadastroContrib >= 0)
            sets << QStringLiteral("recibo = :NumRecibo") << QStringLiteral("sitCadastroContrib = :sitCadastroContrib")
                 << QStringLiteral("dataSitCadastro = :dataSitCadastro");
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral("update ZEL_SN set %1 where IdSN = :OLD_IDZel and IdContribuinte = :OLD_IdContribuinte")
                               .arg(sets.join(QStringLiteral(", "))));
        ligaSN(cmd, *this);
        cmd.setParam(QStringLiteral("DtAlteracao"), agora);
        cmd.setParam(QStringLiteral("OLD_IDZel"), IdSN);
        cmd.setParam(QStringLiteral("OLD_IdContribuinte"), IdContribuinte);
        if (cmd.execute() != 1)
            return false;
        DtAlteracao = agora;
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TZelSN::Excluir(int idSN, QString* erro)
{
    return ExcluiUmaLinha(m_dtm, QStringLiteral("DELETE FROM ZEL_SN WHERE IdSN = :OLD_IDZel"), QStringLiteral("OLD_IDZel"), idSN, erro);
}

void TZelSN::Carregar(const TDataSet& q)
{
    IdSN = q.asInteger(QStringLiteral("IdSN"));
    IdContribuinte = q.asInteger(QStringLiteral("IdContribuinte"));
    Periodo = q.asString(QStringLiteral("Periodo")).trimmed();
    Tipo = q.asString(QStringLiteral("Tipo")).trimmed();
    TInformacoesSN& c = info;
    c.faturamento = q.asMoney(QStringLiteral("Faturamento"));
    c.totEntradas = q.asMoney(QStringLiteral("TotEntradas"));
    c.subsSaidas = q.asMoney(QStringLiteral("SubsSaidas"));
    c.subsEntradas = q.asMoney(QStringLiteral("SubsEntradas"));
    c.difAliquota = q.asMoney(QStringLiteral("DifAliquota"));
    c.antecipado = q.asMoney(QStringLiteral("ImpAntecipado"));
    c.difAliqComplem = q.asMoney(QStringLiteral("DifAliqComplem"));
    c.aliquota = Money::fromDouble(q.fieldByName(QStringLiteral("PercRecolhimento")).toDouble()).toString();
    c.retidoFonte = q.asMoney(QStringLiteral("ICMSRetidoFonte"));
    c.importacao = q.asMoney(QStringLiteral("ICMSImportacao"));
    c.mirvel = q.asMoney(QStringLiteral("MirvelSN"));
    c.icmssn = q.asMoney(QStringLiteral("ICMSSN"));
    const int categoria = q.asInteger(QStringLiteral("categEstabel"));
    c.categoria = categoria >= 1 && categoria <= 3 ? categoria : 1;
    if (q.isNull(QStringLiteral("sitCadastroContrib"))) {
        sitCadastroContrib = -1;
        NumRecibo.clear();
    } else {
        sitCadastroContrib = q.asInteger(QStringLiteral("sitCadastroContrib"));
        NumRecibo = q.asString(QStringLiteral("Recibo")).trimmed();
    }
    // A 0 or the day 0 of the old engine (30/12/1899) is no date.
    dataSitCadastro = QDate();
    const QVariant data = q.fieldByName(QStringLiteral("dataSitCadastro"));
    if (!data.isNull() && data.toString().trimmed() != QLatin1String("0")) {
        const QDate d = data.toDate();
        if (d.isValid() && d > QDate(1899, 12, 30))
            dataSitCadastro = d;
    }
    DtInclusao = q.fieldByName(QStringLiteral("DtInclusao")).toDateTime();
    DtAlteracao = q.fieldByName(QStringLiteral("DtAlteracao")).toDateTime();
    DtGeracao = q.fieldByName(QStringLiteral("DtGeracao")).toDateTime();
}

bool TZelSN::CarregarId(int idSN, int idContribuinte)
{
    TDataSet q(m_dtm.conexao());
    if (!AbreLinhaDoContribuinte(q, "ZEL_SN", "IdSN", idSN, idContribuinte))
        return false;
    Carregar(q);
    return true;
}

bool TZelSN::RegistraGeracao(const QDateTime& agora, QString* erro)
{
    try {
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral("update ZEL_SN set DtGeracao=:DtGeracao where IdSN = :OLD_IDZel"));
        cmd.setParam(QStringLiteral("DtGeracao"), agora);
        cmd.setParam(QStringLiteral("OLD_IDZel"), IdSN);
        if (cmd.execute() != 1)
            return false;
        DtGeracao = agora;
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

void AbreListaSN(TDataSet& lista, int idAtivo)
{
    lista.setCommandText(QStringLiteral("SELECT * FROM ZEL_SN WHERE IdContribuinte =:IdAtivo ORDER BY Periodo DESC"));
    lista.setParam(QStringLiteral("IdAtivo"), idAtivo);
    lista.open();
}

bool ExisteSN(TDTM& dtm, int idAtivo, const QString& periodo)
{
    TDataSet q(dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT IdSN FROM ZEL_SN WHERE IdContribuinte =:IdAtivo AND Periodo =:newPer"));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    q.setParam(QStringLiteral("newPer"), periodo);
    q.open();
    return !q.isEmpty();
}

TFalha ChecaPeriodoSN(int mes, int ano)
{
    if (mes < 1 || mes > 12)
        return {QString::fromUtf8("Informe um mês de 1 a 12!"), QStringLiteral("cmbMes")};
    if (ano < 2007)
        return {QString::fromUtf8("O Ano deve ser a partir de 2007!"), QStringLiteral("cmbAno")};
    if (ano == 2007 && mes < 7)
        return {QString::fromUtf8("O Mês deve ser a partir de 07/2007!"), QStringLiteral("cmbMes")};
    return {};
}

void ProcessaSN(TDTMCON& con, int idAtivo, int mes, int ano, TInformacoesSN& c)
{
    // Shown in two-decimal fields and stored as shown: rounded to the cent, ties to even.
    c.totEntradas = EmCentavos(TotalEntradasSN(con, idAtivo, mes, ano));
    c.subsSaidas = EmCentavos(SubstituicaoSaidasInternas(con, idAtivo, mes, ano));
    c.retidoFonte = EmCentavos(SubstituicaoRegimeFonte(con, idAtivo, mes, ano));
}

QStringList LinhasSN(const TInformacoesSN& c)
{
    const std::pair<const char*, Money> linhas[] = {
        {"TotEntradas", c.totEntradas}, {"SubsSaidas", c.subsSaidas}, {"ICMSRetidoFonte", c.retidoFonte}};
    QStringList r;
    for (const auto& [nome, valor] : linhas)
        r << QString::fromLatin1(nome) + QLatin1Char('\t') + ValorQuatroCasas(valor);
    return r;
}
