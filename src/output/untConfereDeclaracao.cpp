#include "output/untConfereDeclaracao.h"

#include <QStringList>

#include "declarations/untZel.h"
#include "declarations/untZelEpp.h"
#include "declarations/untZelSN.h"
#include "output/untRegistros88.h"

using Registros::TDeclaracaoArquivo;

QList<TDiferencaDocumentos> ConfereComDocumentos(TDTMCON& con, int idAtivo, const TDeclaracaoArquivo& d)
{
    const int ano = d.periodo.left(4).toInt();
    const int mes = d.periodo.mid(4, 2).toInt();
    QList<TDiferencaDocumentos> todas;
    auto confere = [&todas](const char* campo, Money declarado, Money documentos) {
        todas.append({QString::fromUtf8(campo), declarado, documentos});
    };
    switch (d.tipoDeclaracao) {
    case 1: {
        TApuracaoNormal agora;
        ProcessaNormal(con, idAtivo, mes, ano, agora);
        // The stored row as its screen shows it: the exit debit before the deduction taken from it.
        const TApuracaoNormal gravada = TApuracaoNormal::DaLinha(d.zel);
        confere("1- Por entradas", gravada.c1, agora.c1);
        confere("3- Cred. Acum. rec. p/ transf.", gravada.c3, agora.c3);
        confere("9- Saldo Credor Anterior", gravada.c9, agora.c9);
        confere("11- Por saídas", gravada.debitoSaidas, agora.debitoSaidas);
        confere("12- Transf. créditos acumulados", gravada.d12, agora.d12);
        confere("02-Subst. recolhida", gravada.s02, agora.s02);
        confere("04-ICMS Subst. Saídas Internas", gravada.substSaidas, agora.substSaidas);
        confere("05-ICMS Subst. Regime Fonte", gravada.substFonte, agora.substFonte);
        break;
    }
    case 2: {
        TApuracaoEPP agora;
        ProcessaEPP(con, idAtivo, mes, ano, agora);
        confere("Receita Apurada", d.epp.RecApurada, agora.recApurada);
        if (!agora.mp3706) {
            confere("Total de Aquisições", d.epp.TotalAquis, agora.totalAquis);
            confere("Aquisições Internas", d.epp.Aquis_Inter, agora.aquisInter);
        }
        confere("ICMS Subst. Saídas", d.epp.ICMS_SubsSaida, agora.substSaidas);
        confere("ICMS Retido Fonte", d.epp.ICMS_RetFonte, agora.regFonte);
        break;
    }
    case 3: {
        TInformacoesSN agora;
        ProcessaSN(con, idAtivo, mes, ano, agora);
        confere("Total de Entradas", d.sn.TotEntradas, agora.totEntradas);
        confere("ICMS Subst. Saídas", d.sn.SubsSaidas, agora.subsSaidas);
        confere("ICMS Retido Fonte", d.sn.ICMSRetidoFonte, agora.retidoFonte);
        break;
    }
    default:
        break;
    }
    QList<TDiferencaDocumentos> r;
    for (const TDiferencaDocumentos& x : todas)
        if (x.declarado != x.documentos)
            r.append(x);
    return r;
}

QString DescreveDiferencas(const TDeclaracaoArquivo& d, const QList<TDiferencaDocumentos>& diferencas)
{
    if (diferencas.isEmpty())
        return {};
    QStringList linhas;
    linhas << QString::fromUtf8("A %1 difere do que \"Processa\" calcula hoje com os documentos do mês:")
                  .arg(d.descricao());
    for (const TDiferencaDocumentos& x : diferencas) {
        const Money diferenca = x.documentos - x.declarado;
        linhas << QString::fromUtf8("  %1: declarado %2, documentos %3 (diferença %4%5)")
                      .arg(x.campo, x.declarado.toStringExato(), x.documentos.toStringExato(),
                           diferenca.isNegative() ? QString() : QStringLiteral("+"), diferenca.toStringExato());
    }
    return linhas.join(QLatin1Char('\n'));
}
