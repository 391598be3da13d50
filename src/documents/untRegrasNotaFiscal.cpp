#include "documents/untRegrasNotaFiscal.h"

#include <QStringList>

#include "core/DialogsNew.h"
#include "core/untFuncoes.h"
#include "db/UntDTM.h"
#include "documents/untCfop.h"

static TFalha falha(const QString& mensagem, const char* campo, bool simples = false)
{
    TFalha f{mensagem, QString::fromLatin1(campo)};
    f.simples = simples;
    return f;
}

static bool numeroPositivo(const QString& texto, int* valor)
{
    bool ok = false;
    const int n = texto.trimmed().toInt(&ok);
    *valor = ok ? n : 0;
    return ok && n > 0;
}

int NumeroDaFaixa(const QString& texto)
{
    const QString t = texto.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return -1;
    // ASCII digits only: no sign, no separator, no digit of another script that toInt would take.
    for (const QChar ch : t)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return -1;
    return t.toInt();
}

// Each number of a voided range is a six-digit note number: 1 to 999999.
static TFalha checaNumeroDaFaixa(const QString& texto, const char* campo, const QString& nome, int* numero)
{
    *numero = NumeroDaFaixa(texto);
    if (*numero >= 1 && *numero <= kMaiorNumeroDaFaixa)
        return {};
    return falha(QString::fromUtf8("%1 da faixa de inutilizado inválido!\nInforme um número inteiro de 1 a %2.")
                     .arg(nome)
                     .arg(kMaiorNumeroDaFaixa),
                 campo);
}

TSituacaoNota ChecaSituacaoNota(const TCamposNota& c, const QString& modeloEletronico)
{
    TSituacaoNota s;
    if (c.cancelada)
        s.situacao = c.extemporaneo ? QStringLiteral("X") : QStringLiteral("S");
    else
        s.situacao = c.extemporaneo ? QStringLiteral("E") : QStringLiteral("N");
    s.mensagemFinal = QStringLiteral("Nota Gravada com Sucesso!");
    if (c.nfe == SituacaoNFe::Nenhuma)
        return s;
    if (c.cancelada) {
        s.falha = falha(QString::fromUtf8("Informe a situação cancelada ou uma das duas situações da NFE!"), "edtEmissao");
        return s;
    }
    if (c.modelo.trimmed() != modeloEletronico) {
        s.falha = falha(QString::fromUtf8("As situações de NFE só são permitidas para o modelo %1!").arg(modeloEletronico),
                        "edtModelo");
        return s;
    }
    if (c.nfe == SituacaoNFe::Inutilizado) {
        if (c.inicioFaixa.trimmed().isEmpty() || c.finalFaixa.trimmed().isEmpty()) {
            s.falha = falha(QString::fromUtf8("Informe o início e o final da faixa de inutilizado!"),
                            "edtInicioInutilizado");
            return s;
        }
        s.falha = checaNumeroDaFaixa(c.inicioFaixa, "edtInicioInutilizado", QString::fromUtf8("Início"), &s.primeiro);
        if (!s.falha.falhou())
            s.falha = checaNumeroDaFaixa(c.finalFaixa, "edtFinalInutilizado", QStringLiteral("Final"), &s.ultimo);
        if (s.falha.falhou()) {
            s.primeiro = s.ultimo = 0;
            return s;
        }
        if (s.primeiro > s.ultimo) {
            s.falha = falha(QString::fromUtf8("O valor inicial da faixa não pode ser superior ao final!"),
                            "edtInicioInutilizado", true);
            return s;
        }
        s.pergunta = QString::fromUtf8("Confirma a inclusão da faixa de %1 a %2 de notas inutilizadas")
                         .arg(s.primeiro).arg(s.ultimo);
        s.mensagemFinal = QStringLiteral("Faixa de %1 a %2 de notas inutilizadas cadastradas com sucesso!")
                              .arg(s.primeiro).arg(s.ultimo);
        s.situacao = QStringLiteral("4");
        s.linhas = s.ultimo - s.primeiro + 1;
    } else {
        s.situacao = QStringLiteral("2");
        s.linhas = 1;
    }
    return s;
}

static bool serieValida(const QString& serie)
{
    const QString t = serie.trimmed();
    for (const QChar ch : t)
        if (ch.isDigit())
            return true;
    static const QStringList aceitas = {QString(), QStringLiteral("U"), QStringLiteral("B"), QStringLiteral("C"),
                                        QStringLiteral("E"), QStringLiteral("BU"), QStringLiteral("CU"),
                                        QStringLiteral("EU")};
    return aceitas.contains(t);
}

QString TextoAliquota(Money percentual)
{
    return QString::number(percentual.raw() / 100);
}

Money ValorIcms(Money base, Money percentual)
{
    // base × rate ÷ 100, rounded to cents as the field shows it.
    const Money exato = base.timesRateHundredths(percentual.raw() / 100);
    return Money::fromCents(exato.cents());
}

TFalha ChecaNota(const TCamposNota& c, const TSituacaoNota& s, int idAtivo, const QDateTime& agora, bool alteracao,
                 TNotaFiscal& n)
{
    const QString modelo = c.modelo.trimmed();
    static const QStringList modelosPapel = {QStringLiteral("01"), QStringLiteral("04"), QStringLiteral("06"),
                                             QStringLiteral("21"), QStringLiteral("22")};
    if (alteracao) {
        if (!modelosPapel.contains(modelo))
            return falha(QString::fromUtf8("Modelo de Nota Inválido! Modelos válidos 01,04,06,21 e 22."), "edtModelo");
    } else if (!modelosPapel.contains(modelo) && modelo != QLatin1String("55")) {
        return falha(QString::fromUtf8("Modelo de Nota Inválido!\nModelos válidos 01,04,06,21,22 e 55."), "edtModelo");
    }
    if (!serieValida(c.serie))
        return falha(QString::fromUtf8("Série da Nota Inválida!\nSéries válidas U,B,C,E,BU,CU e EU."), "edtSerie");
    const QString versao = VersaoCfop(c.emissao);
    if (versao == QLatin1String("1") && modelo == QLatin1String("01") && !c.subSerie.trimmed().isEmpty())
        return falha(QString::fromUtf8("Para Notas Fiscais Modelo 01, a Sub-Série deve vir em branco."), "edtSubSerie");
    int numero = 0;
    if (s.situacao != QLatin1String("4") && !numeroPositivo(c.numero, &numero)) {
        TFalha f = falha(QString::fromUtf8("Número da Nota Inválido!"), "edtNumeroNF");
        f.esvazia = true;
        return f;
    }
    if (s.situacao == QLatin1String("4"))
        numero = s.primeiro;

    int idEmtDest = c.idEmtDest;
    QString uf = c.ufEmtDest;
    QString cfop = c.cfop.trimmed();
    if (c.cancelada || s.situacao == QLatin1String("2") || s.situacao == QLatin1String("4")) {
        // A note that moves no goods names the taxpayer itself, in its own state, with the generic exit code.
        idEmtDest = idAtivo;
        uf = QStringLiteral("ZR");
        cfop = versao == QLatin1String("1") ? QStringLiteral("599") : QStringLiteral("5949");
    }
    if (cfop.size() != (versao == QLatin1String("1") ? 3 : 4))
        return falha(QString::fromUtf8("CFOP Inválido para a Data informada!"), "edtCodCFOP");
    const QChar primeiro = cfop.isEmpty() ? QChar() : cfop[0];
    const QString permitidos = c.entrada ? QStringLiteral("123") : QStringLiteral("567");
    if (primeiro.isNull() || !permitidos.contains(primeiro))
        return falha(QString::fromUtf8("CFOP Inválido para o Tipo da Nota!"), "edtCodCFOP");
    if (!CfopDispensaCriticaUF(cfop)) {
        bool ufConfere = false;
        if (primeiro == QLatin1Char('1') || primeiro == QLatin1Char('5'))
            ufConfere = uf == QLatin1String("ZR");
        else if (primeiro == QLatin1Char('3') || primeiro == QLatin1Char('7'))
            ufConfere = uf == QLatin1String("EX");
        else
            ufConfere = uf != QLatin1String("ZR") && uf != QLatin1String("EX");
        if (!ufConfere)
            return falha(QString::fromUtf8("UF Inválida para CFOP informado!"), "edtCodCFOP");
    }

    n = TNotaFiscal();
    n.IdContribuinte = idAtivo;
    n.IdEmtDest = idEmtDest;
    if (s.situacao == QLatin1String("E") || s.situacao == QLatin1String("X")) {
        n.DtEmissao = QDate(c.anoZel, c.mesZel, 1);
        n.DtUltAlteracao = QDateTime(c.emissao, QTime(0, 0));
    } else {
        n.DtEmissao = c.emissao;
        n.DtUltAlteracao = agora;
    }
    n.TipoNota = c.entrada ? QStringLiteral("E") : QStringLiteral("S");
    n.Emitente = c.proprio ? QStringLiteral("P") : QStringLiteral("T");
    n.AliquotaICMS = TextoAliquota(c.aliquota);
    n.MVA = c.regimeFonte ? QStringLiteral("5") : QStringLiteral(" ");
    if (!c.cancelada && idEmtDest == 0)
        return falha(QString::fromUtf8("Selecione o Remetente/Destinatário"), "edtObservacao");
    n.Obs = RemoveAcentos(c.observacao).toUpper().trimmed();
    n.Modelo = modelo;
    n.Serie = c.serie.trimmed();
    n.SubSerie = c.subSerie.trimmed();
    n.NumeroNF = PreencheZeros(QString::number(numero), 6);
    n.Cfop = cfop;
    n.ValorTotalNota = c.valorTotal;
    n.Situacao = s.situacao;
    n.BaseCalculoICMS = c.baseIcms;
    n.ValorICMS = c.valorIcms;
    n.IsentaICMS = c.isentasIcms;
    n.OutrasICMS = c.outrasIcms;
    n.ValorIPI = c.valorIpi;
    n.IsentaIPI = c.isentasIpi;
    n.OutrasIPI = c.outrasIpi;
    n.BaseCalculoSubst = c.baseSubst;
    n.ICMSRetido = c.icmsRetido;
    n.DespAcessorias = c.despAcessorias;
    return {};
}

bool GravaNotasEntrada(TDTM& dtm, IDialogos& dialogos, const TNotaFiscal& modelo, const TSituacaoNota& s,
                       QString* campoFoco)
{
    TNotasFiscais notas(dtm);
    try {
        TTransacao desta(dtm.conexao());
        for (int i = 0; i < s.linhas; ++i) {
            TNotaFiscal n = modelo;
            if (s.situacao == QLatin1String("4"))
                n.NumeroNF = PreencheZeros(QString::number(s.primeiro + i), 6);
            const QDate existente = notas.Duplicata(n);
            if (existente.isValid()) {
                dialogos.mensagemSimples(QString::fromUtf8("A nota %1 já está cadastrada!\nem: %2")
                                             .arg(n.NumeroNF, existente.toString(QStringLiteral("dd/MM/yyyy"))));
                if (campoFoco)
                    *campoFoco = QStringLiteral("edtModelo");
                return false; // the savepoint takes back the rows of this save
            }
            TNotasFiscais::Etapa etapa = TNotasFiscais::Etapa::Nenhuma;
            if (!notas.Incluir(n, &etapa)) {
                switch (etapa) {
                case TNotasFiscais::Etapa::Nota:
                    dialogos.mensagemSimples(QString::fromUtf8("Erro na Inclusão da nota fiscal %1.").arg(n.NumeroNF));
                    break;
                case TNotasFiscais::Etapa::Icms:
                    Informa(dialogos, QString::fromUtf8("Erro na Inclusão dos dados do ICMS"));
                    break;
                case TNotasFiscais::Etapa::Ipi:
                    Informa(dialogos, QString::fromUtf8("Erro na Inclusão dos dados do IPI."));
                    break;
                default:
                    Informa(dialogos, QString::fromUtf8("Erro na Inclusão dos dados da Subst.Tributaria."));
                }
                Informa(dialogos, QString::fromUtf8("Ocorreu ERRO na gravação!"));
                return false;
            }
        }
        desta.commit();
        return true;
    } catch (const EBancoDados& e) {
        dialogos.mensagemSimples(e.mensagem());
        Informa(dialogos, QString::fromUtf8("Ocorreu ERRO na gravação!"));
        return false;
    }
}
