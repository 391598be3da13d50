#include "support/TEscritorioFechamento.h"

#include <gtest/gtest.h>

#include "db/UntDTM.h"
#include "db/untSqlite.h"
#include "declarations/untRecibo.h"
#include "declarations/untZel.h"
#include "declarations/untZelEpp.h"
#include "declarations/untZelSN.h"
#include "documents/untRegrasNotaFiscal.h"
#include "support/TCadastroTeste.h"

bool TEscritorioFechamento::nota(TDTM& dtm, IDialogos& dialogos, const IRelogio& relogio, int contribuinte, int parte,
                                 bool entrada, const QString& numero, const QDate& emissao, const QString& cfop,
                                 const QString& valor)
{
    TCamposNota c;
    c.entrada = entrada;
    c.proprio = !entrada;
    c.modelo = QStringLiteral("01");
    c.serie = QStringLiteral("1");
    c.numero = numero;
    c.emissao = emissao;
    c.cfop = cfop;
    c.valorTotal = *Money::parse(valor);
    c.idEmtDest = parte;
    c.ufEmtDest = QStringLiteral("ZR");
    c.baseIcms = c.valorTotal;
    c.aliquota = *Money::parse(QStringLiteral("17"));
    c.valorIcms = ValorIcms(c.baseIcms, c.aliquota);
    const TSituacaoNota s = ChecaSituacaoNota(c);
    if (s.falha.falhou()) {
        ADD_FAILURE() << s.falha.mensagem.toStdString();
        return false;
    }
    TNotaFiscal n;
    if (const TFalha f = ChecaNota(c, s, contribuinte, relogio.agora(), false, n); f.falhou()) {
        ADD_FAILURE() << f.mensagem.toStdString();
        return false;
    }
    TTransacao transacao(dtm.conexao());
    QString foco;
    if (!GravaNotasEntrada(dtm, dialogos, n, s, &foco)) {
        ADD_FAILURE() << "invoice refused: " << foco.toStdString();
        return false;
    }
    transacao.commit();
    return true;
}

bool TEscritorioFechamento::salvaZel(TDTM& dtm, IDialogos& dialogos, const IRelogio& relogio, int id,
                                     const QString& periodo, int tipoEntrega, const QString& recibo)
{
    const int ano = periodo.left(4).toInt(), mes = periodo.mid(4, 2).toInt();
    if (tipoEntrega >= 0) {
        TCriticaRecibo critica(relogio, dialogos);
        critica.setTipoEntrega(tipoEntrega);
        critica.setNumRecibo(recibo);
        if (!critica.Critica(periodo)) {
            ADD_FAILURE() << critica.Mensagem().toStdString();
            return false;
        }
    }
    TApuracaoNormal a;
    ProcessaNormal(dtm.conexao(), id, mes, ano, a);
    if (const TFalha f = a.ChecaSalvar(); f.falhou()) {
        ADD_FAILURE() << f.mensagem.toStdString();
        return false;
    }
    TZel z(dtm);
    z.IdContribuinte = id;
    z.Periodo = periodo;
    z.Tipo = QStringLiteral("N");
    z.valores = a.valores();
    z.NumRecibo = recibo;
    z.sitCadastroContrib = tipoEntrega;
    z.DtGeracao = relogio.agora();
    QString erro;
    if (!z.Incluir(&erro)) {
        ADD_FAILURE() << erro.toStdString();
        return false;
    }
    return true;
}

namespace {

struct TMontagem {
    TDTM& dtm;
    IDialogos& dialogos;
    const IRelogio& relogio;

    bool zel(int id, const QString& periodo, int tipoEntrega, const QString& recibo)
    {
        return TEscritorioFechamento::salvaZel(dtm, dialogos, relogio, id, periodo, tipoEntrega, recibo);
    }

    bool epp(int id)
    {
        TApuracaoEPP a;
        if (TApuracaoEPP::ChecaPeriodo(true, 5, 2012).falhou())
            return false;
        ProcessaEPP(dtm.conexao(), id, 5, 2012, a);
        a.mediaEntradas = *Money::parse(QStringLiteral("500,00"));
        if (const TFalha f = a.ChecaSalvar(); f.falhou()) {
            ADD_FAILURE() << f.mensagem.toStdString();
            return false;
        }
        TZelEPP e(dtm);
        e.IdContribuinte = id;
        e.Periodo = QStringLiteral("201205");
        e.Tipo = QStringLiteral("N");
        e.apuracao = a;
        e.DtGeracao = relogio.agora();
        QString erro;
        if (!e.Incluir(&erro)) {
            ADD_FAILURE() << erro.toStdString();
            return false;
        }
        return true;
    }

    int sn(int id, const QString& cnpj)
    {
        TInformacoesSN c;
        ProcessaSN(dtm.conexao(), id, 5, 2012, c);
        c.faturamento = *Money::parse(QStringLiteral("1.000,00"));
        c.aliquota = QStringLiteral("3,95");
        c.icmssn = c.icmsEsperado();
        const TPassoSN passo = ChecaSalvarSN(c, true, cnpj, true);
        if (passo.tipo != TPassoSN::Tipo::Segue) {
            ADD_FAILURE() << passo.falha.mensagem.toStdString();
            return 0;
        }
        c.categoria = passo.categoria;
        TZelSN s(dtm);
        s.IdContribuinte = id;
        s.Periodo = QStringLiteral("201205");
        s.Tipo = QStringLiteral("N");
        s.info = c;
        s.NumRecibo = TEscritorioFechamento::recibo();
        s.sitCadastroContrib = 0;
        QString erro;
        if (!s.Incluir(relogio.agora(), &erro)) {
            ADD_FAILURE() << erro.toStdString();
            return 0;
        }
        return s.IdSN;
    }
};

} // namespace

bool TEscritorioFechamento::monta(TDTM& dtm, IDialogos& dialogos, const IRelogio& relogio)
{
    TCadastroTeste cadastro(dtm, dialogos);
    const int contador = cadastro.contador();
    struct TQuem {
        const char* nome;
        const char* cnpj;
        const char* ie;
    };
    static const TQuem quem[] = {
        {"ALFA", "301000010001", "30100001"},    {"BETA", "302000020001", "30200002"},
        {"GAMA", "303000030001", "30300003"},    {"DELTA", "304000040001", "30400004"},
        {"EPSILON", "305000050001", "30500005"}, {"ZETA", "306000060001", "30600006"},
        {"ETA", "307000070001", "30700007"},     {"TETA", "308000080001", "30800008"},
        {"IOTA", "309000090001", "30900009"},
    };
    QMap<QString, QString> cnpjs;
    for (const TQuem& q : quem) {
        TCamposContribuinte c = Fixtura::Contribuinte();
        c.numero = Fixtura::Cnpj(QString::fromLatin1(q.cnpj));
        c.ccicms = Fixtura::IeDoEstado(QString::fromLatin1(q.ie));
        // Names that fill their 35 characters, as an office's register has them.
        c.razaoSocial = (QString::fromLatin1(q.nome) + QStringLiteral(" COMERCIO DE MATERIAIS DE CONSTRUCAO")).left(35);
        const int id = cadastro.contribuinte(c, contador);
        if (id == 0)
            return false;
        ids.insert(QString::fromLatin1(q.nome), id);
        inscricoes.insert(QString::fromLatin1(q.nome), c.ccicms);
        razoes.insert(QString::fromLatin1(q.nome), c.razaoSocial);
        cnpjs.insert(QString::fromLatin1(q.nome), c.numero);
    }
    cliente = cadastro.parte();
    if (cliente == 0)
        return false;

    const QDate dia(2012, 5, 10);
    int numero = 100;
    auto venda = [&](const char* nome, const char* valor) {
        return nota(dtm, dialogos, relogio, ids.value(QString::fromLatin1(nome)), cliente, false,
                    QString::number(++numero).rightJustified(6, QLatin1Char('0')), dia, QStringLiteral("5102"),
                    QString::fromLatin1(valor));
    };
    for (const char* nome : {"BETA", "GAMA", "DELTA", "EPSILON", "ZETA", "ETA", "TETA", "IOTA"})
        if (!venda(nome, "1.000,00"))
            return false;
    // A purchase too, so that the normal regime's entries and the Simples Nacional's total are not empty.
    if (!nota(dtm, dialogos, relogio, ids.value(QStringLiteral("DELTA")), cliente, true, QStringLiteral("004567"), dia,
              QStringLiteral("1102"), QStringLiteral("400,00")))
        return false;

    TMontagem m{dtm, dialogos, relogio};
    const QString maio = QString::fromLatin1(kPeriodo);
    if (!m.zel(ids.value(QStringLiteral("GAMA")), maio, 0, recibo()) || !m.zel(ids.value(QStringLiteral("DELTA")), maio, 0, recibo()) ||
        !m.epp(ids.value(QStringLiteral("EPSILON"))) || !m.sn(ids.value(QStringLiteral("ZETA")), cnpjs.value(QStringLiteral("ZETA"))) ||
        !m.zel(ids.value(QStringLiteral("TETA")), maio, 0, recibo()) ||
        !m.zel(ids.value(QStringLiteral("TETA")), QStringLiteral("201206"), 0, QStringLiteral("F0E1D2C3B4A5968778695A4B3C2D1E0F")) ||
        // Kept from before the delivery type was asked for: the entity stores it, the file cannot carry it.
        !m.zel(ids.value(QStringLiteral("IOTA")), maio, -1, QString()))
        return false;
    const int eta = m.sn(ids.value(QStringLiteral("ETA")), cnpjs.value(QStringLiteral("ETA")));
    if (eta == 0)
        return false;
    TZelSN gerada(dtm);
    gerada.IdSN = eta;
    QString erro;
    if (!gerada.RegistraGeracao(relogio.agora().addSecs(60), &erro)) {
        ADD_FAILURE() << erro.toStdString();
        return false;
    }
    // GAMA's month gets one more sale after its declaration was saved.
    return venda("GAMA", "250,00");
}
