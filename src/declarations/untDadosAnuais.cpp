#include "declarations/untDadosAnuais.h"

#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untLinhaDeclaracao.h"

bool RegimeAnualValido(int regime)
{
    return regime == 1 || regime == 3 || regime == 7;
}

TFalha ChecaDadosAnuais(const TValoresAnuais& v, int regime)
{
    if (!(Money() < v.estoqueTotal() + v.saldoTotal() + v.DespPessoal + v.OutrosImpostos + v.DespGeral))
        return {QString::fromUtf8("Saldo Total dos Dados Anuais\ndeve ser maior que ZERO!"), QStringLiteral("curVlrTrib")};
    if (!RegimeAnualValido(regime))
        return {QString::fromUtf8("Informe o regime de pagamento do contribuinte"), QStringLiteral("rdgRegime")};
    if (const TFalha f = ChecaValoresDoArquivo({{v.EstqTrib, "curVlrTrib", "Valor tributável"},
                                                {v.EstqNaoTrib, "curVlrNaoTrib", "Valor não tributável"},
                                                {v.EstqSubsTrib, "curSubTrib", "Substituição Tributária"},
                                                {v.SldCaixa, "curSldCaixa", "Saldo em caixa"},
                                                {v.SldBanco, "curSldBancos", "Saldo em bancos"},
                                                {v.DespPessoal, "curDespPessoal", "Despesas com pessoal, serviços de terceiros e pró-labore"},
                                                {v.OutrosImpostos, "curOutrosImpostos", "Outros impostos e encargos"},
                                                {v.DespGeral, "curDespGerais", "Despesas Gerais"}},
                                             kMaiorValorTrezeDigitos); f.falhou())
        return f;
    return {};
}

QString PeriodoDadosAnuais(const QString& ano, const QDate& hoje)
{
    const QString a = ano.trimmed();
    return a == QString::number(hoje.year()) ? a + QStringLiteral("%1").arg(hoje.month(), 2, 10, QLatin1Char('0'))
                                             : a + QStringLiteral("12");
}

static void liga(TComando& cmd, const TDadosAnuais& d)
{
    const TValoresAnuais& v = d.valores;
    cmd.setParam(QStringLiteral("IdContribuinte"), d.IdContribuinte);
    cmd.setParam(QStringLiteral("Ano"), d.Ano.trimmed());
    cmd.setParam(QStringLiteral("Tipo"), d.Tipo);
    cmd.setParam(QStringLiteral("EstqTrib"), v.EstqTrib);
    cmd.setParam(QStringLiteral("EstqNaoTrib"), v.EstqNaoTrib);
    cmd.setParam(QStringLiteral("EstqSubsTrib"), v.EstqSubsTrib);
    cmd.setParam(QStringLiteral("SldCaixa"), v.SldCaixa);
    cmd.setParam(QStringLiteral("SldBanco"), v.SldBanco);
    cmd.setParam(QStringLiteral("DespPessoal"), v.DespPessoal);
    cmd.setParam(QStringLiteral("OutrosImpostos"), v.OutrosImpostos);
    cmd.setParam(QStringLiteral("DespGeral"), v.DespGeral);
    cmd.setParam(QStringLiteral("DtGeracao"), d.DtGeracao);
    cmd.setParam(QStringLiteral("TipoRegimeContrib"), d.TipoRegimeContrib);
}

bool TDadosAnuais::Incluir(QString* erro)
{
    try {
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral(
            "insert into DadosAnuais (IdContribuinte, Ano, Tipo, EstqTrib, EstqNaoTrib, EstqSubsTrib, SldCaixa, SldBanco, "
            "DespPessoal, OutrosImpostos, DespGeral, DtGeracao, TipoRegimeContrib) values (:IdContribuinte, :Ano, :Tipo, "
            ":EstqTrib, :EstqNaoTrib, :EstqSubsTrib, :SldCaixa, :SldBanco, :DespPessoal, :OutrosImpostos, :DespGeral, "
            ":DtGeracao, :TipoRegimeContrib)"));
        liga(cmd, *this);
        if (cmd.execute() != 1)
            return false;
        IdDadosAnuais = int(cmd.ultimoIdInserido());
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TDadosAnuais::Alterar(QString* erro)
{
    try {
        TComando& cmd = m_dtm.ADOCommand;
        cmd.setCommandText(QStringLiteral(
            "update DadosAnuais set IdContribuinte = :IdContribuinte, Ano = :Ano, Tipo = :Tipo, EstqTrib = :EstqTrib, "
            "EstqNaoTrib = :EstqNaoTrib, EstqSubsTrib = :EstqSubsTrib, SldCaixa = :SldCaixa, SldBanco = :SldBanco, "
            "DespPessoal = :DespPessoal, OutrosImpostos = :OutrosImpostos, DespGeral = :DespGeral, DtGeracao = :DtGeracao, "
            "TipoRegimeContrib = :TipoRegimeContrib where IdDadosAnuais = :OLD_IdDados and IdContribuinte = :OLD_IdContribuinte"));
        liga(cmd, *this);
        cmd.setParam(QStringLiteral("OLD_IdDados"), IdDadosAnuais);
        cmd.setParam(QStringLiteral("OLD_IdContribuinte"), IdContribuinte);
        return cmd.execute() == 1;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

bool TDadosAnuais::Excluir(int id, QString* erro)
{
    return ExcluiUmaLinha(m_dtm, QStringLiteral("delete from DadosAnuais where  IdDadosAnuais = :OLD_IdDadosAnuais"), QStringLiteral("OLD_IdDadosAnuais"), id, erro);
}

void TDadosAnuais::Carregar(const TDataSet& q)
{
    IdDadosAnuais = q.asInteger(QStringLiteral("IdDadosAnuais"));
    IdContribuinte = q.asInteger(QStringLiteral("IdContribuinte"));
    Ano = q.asString(QStringLiteral("Ano")).trimmed();
    Tipo = q.asString(QStringLiteral("Tipo")).trimmed();
    TValoresAnuais& v = valores;
    v.EstqTrib = q.asMoney(QStringLiteral("EstqTrib"));
    v.EstqNaoTrib = q.asMoney(QStringLiteral("EstqNaoTrib"));
    v.EstqSubsTrib = q.asMoney(QStringLiteral("EstqSubsTrib"));
    v.SldCaixa = q.asMoney(QStringLiteral("SldCaixa"));
    v.SldBanco = q.asMoney(QStringLiteral("SldBanco"));
    v.DespPessoal = q.asMoney(QStringLiteral("DespPessoal"));
    v.OutrosImpostos = q.asMoney(QStringLiteral("OutrosImpostos"));
    v.DespGeral = q.asMoney(QStringLiteral("DespGeral"));
    TipoRegimeContrib = q.isNull(QStringLiteral("TipoRegimeContrib")) ? 0 : q.asInteger(QStringLiteral("TipoRegimeContrib"));
    DtGeracao = q.fieldByName(QStringLiteral("DtGeracao")).toDateTime();
}

bool TDadosAnuais::CarregarId(int id, int idContribuinte)
{
    TDataSet q(m_dtm.conexao());
    if (!AbreLinhaDoContribuinte(q, "DadosAnuais", "IdDadosAnuais", id, idContribuinte))
        return false;
    Carregar(q);
    return true;
}

bool TDadosAnuais::AnoExiste(TDTM& dtm, int idAtivo, int ano)
{
    // Rows keep the year as text; compared as a number so "2006" and 2006 are the same year.
    TDataSet q(dtm.conexao());
    q.setCommandText(QStringLiteral("SELECT IdDadosAnuais FROM DadosAnuais WHERE IdContribuinte =:IdAtivo AND "
                                    "CAST(Ano AS INTEGER) = :Ano"));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    q.setParam(QStringLiteral("Ano"), ano);
    q.open();
    return !q.isEmpty();
}

void AbreListaDadosAnuais(TDataSet& lista, int idAtivo)
{
    lista.setCommandText(QStringLiteral("SELECT * FROM DadosAnuais WHERE IdContribuinte =:IdAtivo ORDER BY Ano DESC"));
    lista.setParam(QStringLiteral("IdAtivo"), idAtivo);
    lista.open();
}
