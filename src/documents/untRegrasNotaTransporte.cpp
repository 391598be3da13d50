#include "documents/untRegrasNotaTransporte.h"

#include "core/DialogsNew.h"
#include "core/untFuncoes.h"
#include "db/UntDTM.h"
#include "db/untSqlite.h"
#include "documents/untCfop.h"

namespace {

TFalha falha(const char* mensagem, const char* campo)
{
    return {QString::fromUtf8(mensagem), QString::fromLatin1(campo)};
}

bool ehNumero(const QString& t)
{
    if (t.isEmpty())
        return false;
    for (const QChar ch : t)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

TChecagemTransporte ChecaNotaTransporte(const TCamposTransporte& c, int idAtivo, const QDateTime& agora, bool alteracao)
{
    TChecagemTransporte r;
    const QString modelo = c.modelo.trimmed();
    static const QStringList papel = {QStringLiteral("07"), QStringLiteral("08"), QStringLiteral("09"),
                                      QStringLiteral("10"), QStringLiteral("11")};
    if (alteracao ? !papel.contains(modelo) : !(papel.contains(modelo) || modelo == QLatin1String("57"))) {
        r.falha = alteracao ? falha("Modelo de Nota Inválido!\n Modelos válidos 07,08,09, 10 e 11.", "edtModelo")
                            : falha("Modelo de Nota Inválido!\n Modelos válidos 07,08,09, 10, 11 e 57.", "edtModelo");
        return r;
    }
    const QString serie = c.serie.trimmed().toUpper();
    if (!(serie.isEmpty() || serie == QLatin1String("B") || serie == QLatin1String("C") || serie == QLatin1String("U"))) {
        r.falha = falha("Série da Nota Inválida!\n Séries válidas B,C,U e em branco.", "edtSerie");
        return r;
    }
    const QString subSerie = c.subSerie.trimmed().toUpper();
    if (!(subSerie.isEmpty() || subSerie == QLatin1String("U") || ehNumero(subSerie))) {
        r.falha = falha("Sub Série da Nota Inválida!\nDigite U, ou um número.", "edtSubSerie");
        return r;
    }
    const bool inutilizado = !alteracao && c.nfe == SituacaoNFe::Inutilizado;
    const QString numero = c.numero.trimmed();
    // Digits only, 1 to 999999: a sign or a separator would become part of the number written to the file.
    if (!inutilizado && (!ehNumero(numero) || numero.size() > 6 || numero.toInt() < 1)) {
        r.falha = falha("Número da Nota Inválido!", "edtNumNtTransporte");
        return r;
    }

    const bool eletronica = !alteracao && c.nfe != SituacaoNFe::Nenhuma;
    int idEmitente = c.idEmitente;
    QString uf = c.ufEmitente;
    QString cfop = c.cfop.trimmed();
    const QString versao = VersaoCfop(c.emissao);
    if (c.cancelada || eletronica) {
        idEmitente = idAtivo;
        uf = QStringLiteral("ZR");
        cfop = versao == QLatin1String("1") ? QStringLiteral("599") : QStringLiteral("5949");
    }
    // The state rule binds only the digits that name a place (home state, another state, abroad). A code
    // with no such digit is no code of the date's table, which the length rule below tells; a party not yet
    // chosen has no state and is not "ZR" nor "EX", so an interstate code goes on to ask for the party.
    const QChar primeiro = cfop.isEmpty() ? QChar() : cfop[0];
    bool ufServe = true;
    if (primeiro == QLatin1Char('1') || primeiro == QLatin1Char('5'))
        ufServe = uf == QLatin1String("ZR");
    else if (primeiro == QLatin1Char('3') || primeiro == QLatin1Char('7'))
        ufServe = uf == QLatin1String("EX");
    else if (primeiro == QLatin1Char('2') || primeiro == QLatin1Char('6'))
        ufServe = uf != QLatin1String("ZR") && uf != QLatin1String("EX");
    if (!ufServe) {
        r.falha = falha("UF Inválida para CFOP informado!", "edtCodCFOP");
        return r;
    }
    const bool primeiroDaTabela = primeiro >= QLatin1Char('1') && primeiro <= QLatin1Char('7');
    if (!primeiroDaTabela || cfop.size() != (versao == QLatin1String("1") ? 3 : 4)) {
        r.falha = falha("CFOP Inválido para a Data informada!", "edtCodCFOP");
        return r;
    }

    TCamposNota situacao;
    situacao.modelo = modelo;
    situacao.cancelada = c.cancelada;
    situacao.nfe = alteracao ? SituacaoNFe::Nenhuma : c.nfe;
    situacao.inicioFaixa = c.inicioFaixa;
    situacao.finalFaixa = c.finalFaixa;
    r.situacao = ChecaSituacaoNota(situacao, QStringLiteral("57"));
    if (r.situacao.falha.falhou()) {
        r.falha = r.situacao.falha;
        return r;
    }
    if (r.situacao.situacao != QLatin1String("4"))
        r.situacao.mensagemFinal = QStringLiteral("Nota de Transporte\nGravada com Sucesso!");

    const bool semValores = c.cancelada || eletronica;
    if (!semValores) {
        if (idEmitente == 0) {
            r.falha = falha("Selecione o Emitente/Tomador", "edtCnpjTomador");
            return r;
        }
        if (c.valorTotal <= Money()) {
            r.falha = falha("Valor deve ser Maior que Zero!", "curNTVlrTotal");
            return r;
        }
        if (c.baseIcms + c.isentas + c.outras != c.valorTotal) {
            r.falha = falha("Valor Total da Nota Difere do Informado", "curNTBaseCalc");
            return r;
        }
    }

    TNotaTransporte& n = r.nota;
    n.IDContribuinte = idAtivo;
    n.IDEmitente = idEmitente;
    n.DtEmissao = c.emissao;
    n.Modelo = modelo;
    n.Serie = serie;
    n.SubSerie = subSerie;
    n.Numero = PreencheZeros(inutilizado ? QString::number(r.situacao.primeiro) : numero, 6);
    n.Cfop = cfop;
    if (!semValores) {
        n.ValorTotal = c.valorTotal;
        n.BaseCalcIcms = c.baseIcms;
        n.ValorIcms = c.valorIcms;
        n.Isenta = c.isentas;
        n.Outras = c.outras;
    }
    n.Modalidade = c.cif ? QStringLiteral("1") : QStringLiteral("2");
    n.Situacao = r.situacao.situacao;
    n.Obs = c.observacao;
    n.DtUltAlteracao = agora;
    return r;
}

TFalha ChecaCarga(const QString& modelo, const QString& numero, Money valor)
{
    static const QStringList modelos = {QStringLiteral("01"), QStringLiteral("04"), QStringLiteral("1"),
                                        QStringLiteral("4"), QStringLiteral("55")};
    if (!modelos.contains(modelo.trimmed()))
        return falha("Modelo da Nota Inválido!\n Modelos válidos 01, 04 e 55.", "edtModelo");
    const QString n = numero.trimmed();
    if (!ehNumero(n) || n.size() > 6 || n.toInt() < 1)
        return falha("Número da Nota Inválido!", "edtNumeroNF");
    if (valor <= Money())
        return falha("Valor deve ser Maior que Zero!", "edtValorNF");
    return {};
}

bool GravaNotasTransporte(TDTM& dtm, IDialogos& dialogos, const TChecagemTransporte& checagem, QString* campoFoco,
                          int* idPrimeira)
{
    TNotasTransporte notas(dtm);
    const TSituacaoNota& s = checagem.situacao;
    try {
        TTransacao desta(dtm.conexao());
        int primeira = 0;
        for (int i = 0; i < s.linhas; ++i) {
            TNotaTransporte n = checagem.nota;
            if (s.situacao == QLatin1String("4"))
                n.Numero = PreencheZeros(QString::number(s.primeiro + i), 6);
            const QDate existente = notas.Duplicata(n);
            if (existente.isValid()) {
                dialogos.mensagemSimples(QString::fromUtf8("Nota %1 já está cadastrada!\nem: %2.")
                                             .arg(n.Numero, existente.toString(QStringLiteral("dd/MM/yyyy"))));
                if (campoFoco)
                    *campoFoco = QStringLiteral("edtModelo");
                return false; // the savepoint takes back the rows of this save
            }
            if (!notas.Incluir(n)) {
                Informa(dialogos, QString::fromUtf8("Erro na Inclusão! Verifique os dados digitados."));
                return false;
            }
            if (i == 0)
                primeira = n.IDNFTransporte;
        }
        desta.commit();
        if (idPrimeira)
            *idPrimeira = primeira;
        return true;
    } catch (const EBancoDados& e) {
        dialogos.mensagemSimples(e.mensagem());
        return false;
    }
}
