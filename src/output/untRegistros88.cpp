#include "output/untRegistros88.h"

#include "core/untDatas.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untQuadroV.h"

using namespace Qt::Literals::StringLiterals;

namespace Registros {

namespace {

TCampo lit(const QString& texto)
{
    // Literals come as u"..."_s, whose text is static: no record allocates its type again.
    return {Tipo::Literal, int(texto.size()), int(texto.size()), texto};
}
TCampo brancos(int largura) { return {Tipo::Brancos, largura, largura, {}}; }
TCampo x(int largura, const QString& v) { return {Tipo::X, largura, largura, v}; }
TCampo n(int largura, const TValorCampo& v, const char* nome) { return {Tipo::N, largura, largura, v, nome}; }
TCampo valor(int largura, Money m, const char* nome)
{
    return {Tipo::ValorCentavos, largura, largura, m.raw(), nome};
}
TCampo numero(int largura, double v, const char* nome) { return {Tipo::Numero, largura, largura, v, nome}; }

QList<TCampo> cabecalho(const char* subtipo, const TDeclaracaoArquivo& d)
{
    return {lit(subtipo), x(9, d.ie), n(6, d.periodo, "Período"), x(1, d.letraTipo)};
}

QList<TCampo> campos8801(const TDeclaracaoArquivo& d)
{
    const TValoresZel& z = d.zel;
    return cabecalho("8801", d) + QList<TCampo>{valor(13, z.CredEntradas, "CredEntradas"),
                                                valor(13, z.CredAtivoImob, "CredAtivoImob"),
                                                valor(13, z.CredTransferencia, "CredTransferencia"),
                                                valor(13, z.CredIcms_JR, "CredIcms_JR"),
                                                valor(13, z.CredIcms_AR, "CredIcms_AR"),
                                                valor(13, z.CredOutros, "CredOutros"),
                                                valor(13, z.CredEstornoDeb, "CredEstornoDeb"),
                                                valor(13, z.CredSaldoAnterior, "CredSaldoAnterior"),
                                                brancos(2)};
}

QList<TCampo> campos8802(const TDeclaracaoArquivo& d)
{
    const TValoresZel& z = d.zel;
    // The outputs' substitution goes AR before JR, unlike the inputs'.
    return cabecalho("8802", d) + QList<TCampo>{valor(13, z.DebSaidas, "DebSaidas"),
                                                valor(13, z.DebTransfCredAc, "DebTransfCredAc"),
                                                valor(13, z.DebOutros, "DebOutros"),
                                                valor(13, z.DebEstornoCred, "DebEstornoCred"),
                                                valor(13, z.SubstEnt_JR, "SubstEnt_JR"),
                                                valor(13, z.SubstEnt_AR, "SubstEnt_AR"),
                                                valor(13, z.SubstSai_AR, "SubstSai_AR"),
                                                valor(13, z.SubstSai_JR, "SubstSai_JR"),
                                                brancos(2)};
}

QList<TCampo> campos8804(const TDeclaracaoArquivo& d)
{
    Money difAliquota, outraUF;
    if (d.tipoDeclaracao == 1) {
        difAliquota = d.zel.DifAliquota;
        outraUF = d.zel.ImpOutraUF;
    } else if (d.tipoDeclaracao == 2) {
        difAliquota = d.epp.Dif_Aliquota;
    }
    return cabecalho("8804", d) + QList<TCampo>{valor(13, difAliquota, "DifAliquota"), valor(13, outraUF, "ImpOutraUF"),
                                                x(40, d.email), lit(u"19800101"_s), lit(u"S240"_s), x(1, d.regime),
                                                brancos(27)};
}

QList<TCampo> campos8805(const TContadorArquivo& c)
{
    return {lit(u"8805"_s), n(14, c.cpf, "CPF"), {Tipo::Alfanumerico, 10, 10, c.crc, "CRC"}, x(40, c.nome), x(12, c.fone), x(40, c.email),
            brancos(6)};
}

QList<TCampo> campos8806(const TDeclaracaoArquivo& d)
{
    const TValoresAnuais& a = d.anuais;
    return {lit(u"8806"_s), x(9, d.ie), n(4, d.periodo.left(4), "Ano"), x(1, d.letraTipo),
            valor(13, a.EstqTrib, "EstqTrib"), valor(13, a.EstqNaoTrib, "EstqNaoTrib"),
            valor(13, a.EstqSubsTrib, "EstqSubsTrib"), valor(13, a.SldCaixa, "SldCaixa"),
            valor(13, a.SldBanco, "SldBanco"), valor(13, a.DespPessoal, "DespPessoal"),
            valor(13, a.OutrosImpostos, "OutrosImpostos"), valor(13, a.DespGeral, "DespGeral"), brancos(4)};
}

QList<TCampo> campos8814(const TEppArquivo& e)
{
    return {lit(u"8814"_s), valor(9, e.RecApurada, "RecApurada"), valor(9, e.MediaEntradas, "MediaEntradas"),
            valor(9, e.RecEfetiva, "RecEfetiva"), numero(2, e.Perc_Recolh * 10, "Perc_Recolh"),
            valor(9, e.Imp_Devido, "Imp_Devido"), n(3, e.Num_Empreg, "Num_Empreg"),
            numero(2, e.CredEmpreg, "CredEmpreg"), valor(9, e.TotalAquis, "TotalAquis"),
            valor(9, e.Aquis_Inter, "Aquis_Inter"), numero(2, e.Cred_Aq_Inter, "Cred_Aq_Inter"),
            numero(2, e.Perc_Cred_Pres, "Perc_Cred_Pres"), valor(9, e.Cred_Presumido, "Cred_Presumido"),
            valor(9, e.Imp_Recolher, "Imp_Recolher"), valor(9, e.Subs_EntJR, "Subs_EntJR"),
            valor(9, e.Subs_EntAR, "Subs_EntAR"), valor(9, e.ICMS_SubsSaida, "ICMS_SubsSaida"),
            valor(9, e.ICMS_RetFonte, "ICMS_RetFonte"), brancos(3)};
}

QList<TCampo> campos8815(const TValoresZel& z, const QString& periodo)
{
    QList<TCampo> c = {lit(u"8815"_s), valor(13, z.OutrosRegEspec, "OutrosRegEspec"), valor(13, z.Tare, "Tare"),
                       valor(13, z.PrevRicms, "PrevRICMS"), valor(13, z.Dorq, "Dorq")};
    if (periodo < QLatin1String("200601"))
        return c << brancos(70);
    return c << valor(13, z.ChqHabitacao, "ChqHabitacao") << valor(13, z.ChqEducacao, "ChqEducacao")
             << valor(13, Money(), "zero") << valor(13, Money(), "zero") << brancos(18);
}

QList<TCampo> campos8816(const TValoresZel& z)
{
    return {lit(u"8816"_s), valor(13, z.MirvelIcms, "MirvelIcms"), valor(13, z.MirvelSubSaida, "MirvelSubSaida"),
            valor(13, z.MirvelSubEntrada, "MirvelSubEntrada"), valor(13, z.MirvelRegFonte, "MirvelRegFonte"),
            valor(13, z.MirvelDifAliq, "MirvelDifAliq"), brancos(57)};
}

QList<TCampo> campos8817(const TEppArquivo& e)
{
    return {lit(u"8817"_s), valor(9, e.RecApurada, "RecApurada"), valor(9, e.MediaEntradas, "MediaEntradas"),
            valor(9, e.RecEfetiva, "RecEfetiva"), numero(2, e.Perc_Recolh * 10, "Perc_Recolh"),
            valor(9, e.Imp_Devido, "Imp_Devido"), valor(9, e.Cred_TEF_ECF, "Cred_TEF_ECF"),
            valor(9, e.Chq_Moradia, "Chq_Moradia"), valor(9, e.Chq_Educacao, "Chq_Educacao"),
            valor(9, e.Total_Cred_Outorgado, "Total_Cred_Outorgado"), valor(9, e.Imp_Recolher, "Imp_Recolher"),
            valor(9, e.Subs_EntJR, "Subs_EntJR"), valor(9, e.Subs_EntAR, "Subs_EntAR"),
            valor(9, e.ICMS_SubsSaida, "ICMS_SubsSaida"), valor(9, e.ICMS_RetFonte, "ICMS_RetFonte"), brancos(3)};
}

QList<TCampo> campos8818(const TDeclaracaoArquivo& d)
{
    const TSnArquivo& s = d.sn;
    return cabecalho("8818", d) +
           QList<TCampo>{valor(9, s.DifAliquota, "DifAliquota"), valor(9, s.DifAliqComplem, "DifAliqComplem"),
                         valor(9, s.ImpAntecipado, "ImpAntecipado"), valor(9, s.SubsSaidas, "SubsSaidas"),
                         valor(9, s.SubsEntradas, "SubsEntradas"), valor(9, s.ICMSRetidoFonte, "ICMSRetidoFonte"),
                         valor(9, s.ICMSImportacao, "ICMSImportacao"), x(1, d.regime),
                         valor(9, s.Faturamento, "Faturamento"), valor(9, s.TotEntradas, "TotEntradas"),
                         numero(3, s.PercRecolhimento * 100, "PercRecolhimento"), valor(9, s.MirvelSN, "MirvelSN"),
                         valor(9, s.ICMSSN, "ICMSSN"), n(1, qint64(s.categEstabel), "categEstabel"), brancos(2)};
}

QList<TCampo> campos8825(const TChequeArquivo& c)
{
    return {lit(u"8825"_s), valor(13, c.credAutorizado, "CredAutorizado"),
            valor(13, c.transfCredEntrada, "TransfCredEntrada"), valor(13, c.transfCredSaida, "TransfCredSaida"),
            valor(13, c.valorApropriado, "ValorApropriado"), valor(13, c.sldPeriodoAnterior, "SldPeriodoAnterior"),
            valor(13, c.sldRemanescente, "SldRemanescente"), x(1, QString::number(c.tipo)), brancos(43)};
}

QList<TCampo> campos8829(qint64 codigo, Money v)
{
    return {lit(u"8829"_s), n(5, codigo, "CodMunicipio"), valor(13, v, "Valor"), brancos(104)};
}

QList<TCampo> campos8830(const TReciboArquivo& r)
{
    return {lit(u"8830"_s), x(32, r.numero), n(1, qint64(r.tipoEntrega), "sitCadastroContrib"),
            {Tipo::DataDia, 8, 8, r.data, "dataSitCadastro"}, brancos(81)};
}

} // namespace

QString TDeclaracaoArquivo::descricao() const
{
    static const char* const nomes[] = {"declaração", "declaração do regime normal", "declaração EPP",
                                        "declaração do Simples Nacional", "declaração de dados anuais"};
    const char* nome = nomes[tipoDeclaracao >= 1 && tipoDeclaracao <= 4 ? tipoDeclaracao : 0];
    if (tipoDeclaracao == 4)
        return QString::fromUtf8("%1 de %2").arg(QString::fromUtf8(nome), periodo.left(4));
    return QString::fromUtf8("%1 de %2/%3").arg(QString::fromUtf8(nome), periodo.mid(4, 2), periodo.left(4));
}

const QStringList& Subtipos88()
{
    static const QStringList s = {"8801", "8802", "8804", "8805", "8806", "8814", "8815",
                                  "8816", "8817", "8818", "8825", "8829", "8830"};
    return s;
}

QList<QStringList> Registros88(const TDeclaracaoArquivo& d)
{
    QList<QStringList> grupos;
    const std::function<QString()> qual = [&d] { return d.descricao(); };
    auto grupo = [&](const QList<QList<TCampo>>& registros) {
        QStringList g;
        for (const QList<TCampo>& campos : registros)
            g << Monta(campos, QStringLiteral("3"), qual);
        grupos << g;
    };
    const int tipo = d.tipoDeclaracao;
    const QString& p = d.periodo;
    const bool regimeNormal = d.regime == QLatin1String("1");

    if (tipo == 1) {
        grupo({campos8801(d)});
        grupo({campos8802(d)});
    }
    grupo({campos8804(d)});
    if (d.contador)
        grupo({campos8805(*d.contador)});
    if (tipo == 4)
        grupo({campos8806(d)});
    if (tipo == 2 && p <= QLatin1String("200606"))
        grupo({campos8814(d.epp)});
    if (tipo == 1 && p >= QLatin1String("200501"))
        grupo({campos8815(d.zel, p), campos8816(d.zel)});
    if (tipo == 2 && p >= QLatin1String("200607"))
        grupo({campos8817(d.epp)});
    if (tipo == 3 && p >= QLatin1String("200707")) {
        // The layout has one digit for the establishment: 1 head office or single, 2 branch, 3 head office
        // without movement. Anything else would write a code the authority reads as another category.
        if (d.sn.categEstabel < 1 || d.sn.categEstabel > 3)
            throw EArquivoInvalido(QString::fromUtf8("A categoria do estabelecimento não está informada (ou é inválida) "
                                                     "na %1: altere a declaração e salve-a de novo.")
                                       .arg(d.descricao()));
        grupo({campos8818(d)});
    }
    if (regimeNormal) {
        QList<QList<TCampo>> cheques;
        for (const TChequeArquivo& c : d.cheques)
            cheques << campos8825(c);
        if (!cheques.isEmpty())
            grupo(cheques);
    }
    if (regimeNormal && tipo != 4 && !d.municipios.isEmpty()) {
        QList<QList<TCampo>> municipios;
        // Two rows of one code (as numbers: "4405" is "04405") would hand in the municipality twice.
        QHash<qint64, QStringList> porCodigo;
        for (const TMunicipioArquivo& m : d.municipios) {
            bool numero = false;
            const qint64 codigo = m.codigo.toLongLong(&numero);
            if (numero)
                porCodigo[codigo] << QStringLiteral("\"%1\"").arg(m.codigo);
        }
        for (const TMunicipioArquivo& m : d.municipios) {
            const QStringList mesmos = porCodigo.value(m.codigo.toLongLong());
            if (mesmos.size() > 1)
                throw EArquivoInvalido(QString::fromUtf8("O Quadro V de %1/%2 tem %3 linhas do município %4 (%5): exclua as "
                                                         "repetidas ou atualize os municípios, que as soma, e gere o arquivo "
                                                         "de novo.")
                                           .arg(p.mid(4, 2), p.left(4)).arg(mesmos.size()).arg(m.codigo.toLongLong())
                                           .arg(mesmos.join(QStringLiteral(", "))));
        }
        for (const TMunicipioArquivo& m : d.municipios) {
            // Zero-filled, never cut: a code that is not five digits at most names another municipality.
            bool ok = !m.codigo.isEmpty() && m.codigo.size() <= 5;
            for (const QChar c : m.codigo)
                ok = ok && c.isDigit();
            if (!ok)
                throw EArquivoInvalido(QString::fromUtf8("O código de município \"%1\" do Quadro V de %2/%3 não tem até "
                                                         "5 algarismos.")
                                           .arg(m.codigo, p.mid(4, 2), p.left(4)));
            municipios << campos8829(m.codigo.toLongLong(), m.valor);
        }
        grupo(municipios);
    }
    if (p >= QLatin1String("201105") && d.letraTipo == QLatin1String("N") &&
        (tipo == 3 || (regimeNormal && tipo != 4))) {
        if (d.recibo.tipoEntrega < 0)
            throw EArquivoInvalido(QString::fromUtf8("O tipo de entrega não está informado na %1: informe-o na página "
                                                     "\"Recibo\" da declaração e salve-a de novo.")
                                       .arg(d.descricao()));
        // The layout knows the codes 0 to 3 only; any other digit would be read as no delivery type at all.
        if (d.recibo.tipoEntrega > 3)
            throw EArquivoInvalido(QString::fromUtf8("O tipo de entrega %1 da %2 não existe (de 0 a 3): corrija-o na página "
                                                     "\"Recibo\" da declaração e salve-a de novo.")
                                       .arg(d.recibo.tipoEntrega).arg(d.descricao()));
        grupo({campos8830(d.recibo)});
    }
    return grupos;
}

QList<TCampo> Leiaute88(const QString& subtipo, const QString& periodo)
{
    TDeclaracaoArquivo d;
    d.periodo = periodo;
    if (subtipo == QLatin1String("8801"))
        return campos8801(d);
    if (subtipo == QLatin1String("8802"))
        return campos8802(d);
    if (subtipo == QLatin1String("8804"))
        return campos8804(d);
    if (subtipo == QLatin1String("8805"))
        return campos8805({});
    if (subtipo == QLatin1String("8806"))
        return campos8806(d);
    if (subtipo == QLatin1String("8814"))
        return campos8814({});
    if (subtipo == QLatin1String("8815"))
        return campos8815({}, periodo);
    if (subtipo == QLatin1String("8816"))
        return campos8816({});
    if (subtipo == QLatin1String("8817"))
        return campos8817({});
    if (subtipo == QLatin1String("8818"))
        return campos8818(d);
    if (subtipo == QLatin1String("8825"))
        return campos8825({});
    if (subtipo == QLatin1String("8829"))
        return campos8829(0, {});
    if (subtipo == QLatin1String("8830"))
        return campos8830({});
    return {};
}

// ----- reading the declaration

namespace {

// "No date" comes as a null, a 0 or the old engine's day 0 (30/12/1899) alike.
QDate dataOuNenhuma(const QVariant& v)
{
    if (v.isNull() || v.toString().trimmed() == QLatin1String("0"))
        return {};
    const QDate d = v.toDate();
    return d.isValid() && d > QDate(1899, 12, 30) ? d : QDate();
}

double real(const TDataSet& q, const char* campo) { return q.fieldByName(QString::fromLatin1(campo)).toDouble(); }
Money dinheiro(const TDataSet& q, const char* campo) { return q.asMoney(QString::fromLatin1(campo)); }

// The rows of the kind and period, newest first; the one of the type asked for (or the newest).
bool escolheLinha(TDataSet& q, const QString& tipoPedido, const TDeclaracaoArquivo& d)
{
    if (q.isEmpty())
        throw EArquivoInvalido(QString::fromUtf8("A %1 não foi encontrada: o arquivo não foi gerado.").arg(d.descricao()));
    if (tipoPedido.isEmpty())
        return true;
    const bool normal = tipoPedido == QLatin1String("1");
    for (q.first(); !q.eof(); q.next())
        if ((q.asString(QStringLiteral("Tipo")).trimmed() == QLatin1String("N")) == normal)
            return true;
    q.first();
    throw EArquivoInvalido(QString::fromUtf8("A %1 está gravada como %2, não como %3: o arquivo não foi gerado.")
                               .arg(d.descricao(), normal ? QStringLiteral("retificadora") : QStringLiteral("normal"),
                                    normal ? QStringLiteral("normal") : QStringLiteral("retificadora")));
}

} // namespace

TDeclaracaoArquivo CarregaDeclaracaoArquivo(TDTM& dtm, int idAtivo, int tipoDeclaracao, const QString& periodo,
                                            const QString& tipoPedido, const QString& regime, const QString& ie)
{
    TDeclaracaoArquivo d;
    d.tipoDeclaracao = tipoDeclaracao;
    d.periodo = periodo;
    d.regime = regime;
    d.ie = ie;
    TDTMCON& con = dtm.conexao();

    TDataSet q(con);
    static const char* const tabelas[] = {"ZEL", "ZEL_EPP", "ZEL_SN"};
    static const char* const chaves[] = {"IDZel", "IdEpp", "IdSN"};
    if (tipoDeclaracao >= 1 && tipoDeclaracao <= 3) {
        q.setCommandText(QStringLiteral("SELECT * FROM %1 WHERE IdContribuinte =:IdAtivo AND Periodo =:Periodo ORDER BY %2 DESC")
                             .arg(QString::fromLatin1(tabelas[tipoDeclaracao - 1]),
                                  QString::fromLatin1(chaves[tipoDeclaracao - 1])));
        q.setParam(QStringLiteral("IdAtivo"), idAtivo);
        q.setParam(QStringLiteral("Periodo"), periodo);
    } else if (tipoDeclaracao == 4) {
        q.setCommandText(QStringLiteral("SELECT * FROM DadosAnuais WHERE IdContribuinte =:IdAtivo AND "
                                        "CAST(Ano AS INTEGER) = :Ano ORDER BY IdDadosAnuais DESC"));
        q.setParam(QStringLiteral("IdAtivo"), idAtivo);
        q.setParam(QStringLiteral("Ano"), periodo.left(4).toInt());
    } else {
        throw EArquivoInvalido(QString::fromUtf8("Tipo de declaração inválido: %1.").arg(tipoDeclaracao));
    }
    q.open();
    escolheLinha(q, tipoPedido, d);
    d.letraTipo = q.asString(QStringLiteral("Tipo")).trimmed() == QLatin1String("N") ? QStringLiteral("N") : QStringLiteral("R");

    switch (tipoDeclaracao) {
    case 1: {
        TZel z(dtm);
        z.Carregar(q);
        d.zel = z.valores;
        d.recibo = {z.NumRecibo, z.sitCadastroContrib, dataOuNenhuma(q.fieldByName(QStringLiteral("dataSitCadastro")))};
        break;
    }
    case 2: {
        TEppArquivo& e = d.epp;
        e.RecApurada = dinheiro(q, "RecApurada");
        e.MediaEntradas = dinheiro(q, "MediaEntradas");
        e.RecEfetiva = dinheiro(q, "RecEfetiva");
        e.Perc_Recolh = real(q, "Perc_Recolh");
        e.Imp_Devido = dinheiro(q, "Imp_Devido");
        e.Num_Empreg = q.fieldByName(QStringLiteral("Num_Empreg")).toLongLong();
        e.CredEmpreg = real(q, "CredEmpreg");
        e.TotalAquis = dinheiro(q, "TotalAquis");
        e.Aquis_Inter = dinheiro(q, "Aquis_Inter");
        e.Cred_Aq_Inter = real(q, "Cred_Aq_Inter");
        e.Perc_Cred_Pres = real(q, "Perc_Cred_Pres");
        e.Cred_Presumido = dinheiro(q, "Cred_Presumido");
        e.Imp_Recolher = dinheiro(q, "Imp_Recolher");
        e.Subs_EntJR = dinheiro(q, "Subs_EntJR");
        e.Subs_EntAR = dinheiro(q, "Subs_EntAR");
        e.ICMS_SubsSaida = dinheiro(q, "ICMS_SubsSaida");
        e.ICMS_RetFonte = dinheiro(q, "ICMS_RetFonte");
        e.Cred_TEF_ECF = dinheiro(q, "Cred_TEF_ECF");
        e.Chq_Moradia = dinheiro(q, "Chq_Moradia");
        e.Chq_Educacao = dinheiro(q, "Chq_Educacao");
        e.Total_Cred_Outorgado = dinheiro(q, "Total_Cred_Outorgado");
        e.Dif_Aliquota = dinheiro(q, "Dif_Aliquota");
        break;
    }
    case 3: {
        TSnArquivo& s = d.sn;
        s.DifAliquota = dinheiro(q, "DifAliquota");
        s.DifAliqComplem = dinheiro(q, "DifAliqComplem");
        s.ImpAntecipado = dinheiro(q, "ImpAntecipado");
        s.SubsSaidas = dinheiro(q, "SubsSaidas");
        s.SubsEntradas = dinheiro(q, "SubsEntradas");
        s.ICMSRetidoFonte = dinheiro(q, "ICMSRetidoFonte");
        s.ICMSImportacao = dinheiro(q, "ICMSImportacao");
        s.Faturamento = dinheiro(q, "Faturamento");
        s.TotEntradas = dinheiro(q, "TotEntradas");
        s.PercRecolhimento = real(q, "PercRecolhimento");
        s.MirvelSN = dinheiro(q, "MirvelSN");
        s.ICMSSN = dinheiro(q, "ICMSSN");
        s.categEstabel = q.isNull(QStringLiteral("categEstabel")) ? -1 : q.asInteger(QStringLiteral("categEstabel"));
        // The receipt number counts as empty when the delivery type is.
        const bool semTipo = q.isNull(QStringLiteral("sitCadastroContrib"));
        d.recibo.tipoEntrega = semTipo ? -1 : q.asInteger(QStringLiteral("sitCadastroContrib"));
        d.recibo.numero = semTipo ? QString() : q.asString(QStringLiteral("Recibo")).trimmed();
        d.recibo.data = dataOuNenhuma(q.fieldByName(QStringLiteral("dataSitCadastro")));
        break;
    }
    case 4: {
        TDadosAnuais a(dtm);
        a.Carregar(q);
        d.anuais = a.valores;
        // The annual file carries the regime recorded with the year's data; a row from before the regime
        // existed has none, and a guess would deliver the year under another regime.
        if (!RegimeAnualValido(a.TipoRegimeContrib))
            throw EArquivoInvalido(QString::fromUtf8("O regime do contribuinte não está informado nos dados anuais de %1: "
                                                     "altere-os e salve-os de novo.")
                                       .arg(a.Ano));
        d.regime = QString::number(a.TipoRegimeContrib);
        break;
    }
    }

    // The taxpayer's e-mail and accountant. A read error stops the file: an accountant left out would be
    // delivered as a declaration without one.
    TDataSet c(con);
    c.setCommandText(QStringLiteral("SELECT Email, IdContador FROM Contribuinte WHERE IdContribuinte =:IdAtivo"));
    c.setParam(QStringLiteral("IdAtivo"), idAtivo);
    c.open();
    if (c.isEmpty())
        throw EArquivoInvalido(QString::fromUtf8("Contribuinte não encontrado."));
    d.email = c.asString(QStringLiteral("Email")).trimmed();
    if (!c.isNull(QStringLiteral("IdContador"))) {
        TDataSet a(con);
        a.setCommandText(QStringLiteral("SELECT * FROM Contador WHERE IDContador =:IDCont"));
        a.setParam(QStringLiteral("IDCont"), c.asInteger(QStringLiteral("IdContador")));
        a.open();
        if (!a.isEmpty()) {
            auto campo = [&a](const char* nome) { return a.asString(QString::fromLatin1(nome)).trimmed(); };
            d.contador = TContadorArquivo{campo("CPF"), campo("CRC"), campo("Nome"), campo("Fone"), campo("EMail")};
        }
    }

    if (d.regime == QLatin1String("1")) {
        for (int cheque = 1; cheque <= 2; ++cheque) {
            TDataSet g(con);
            g.setCommandText(QStringLiteral("SELECT * FROM ZEL_PRGGOV WHERE IdContribuinte =:IdAtivo AND periodo = :Periodo "
                                            "AND TipoCheque = :TipoCheque"));
            g.setParam(QStringLiteral("IdAtivo"), idAtivo);
            g.setParam(QStringLiteral("Periodo"), periodo);
            g.setParam(QStringLiteral("TipoCheque"), cheque);
            try {
                g.open();
            } catch (const EBancoDados&) {
                // A file without the programme credits would be handed in as complete: it stops here.
                throw EArquivoInvalido(QString::fromUtf8("Ocorreu um erro ao abrir a Tabela ZEL_PRGGOV \nConsulte o Suporte."));
            }
            if (g.isEmpty())
                continue;
            TChequeArquivo t;
            t.tipo = cheque;
            t.credAutorizado = dinheiro(g, "credAutorizado");
            t.transfCredEntrada = dinheiro(g, "transfCredEntrada");
            t.transfCredSaida = dinheiro(g, "transfCredSaida");
            t.valorApropriado = dinheiro(g, "valorApropriado");
            t.sldPeriodoAnterior = dinheiro(g, "sldPeriodoAnterior");
            t.sldRemanescente = dinheiro(g, "sldRemanescente");
            d.cheques << t;
        }
        if (tipoDeclaracao != 4) {
            TDataSet v(con);
            AbreListaQuadroV(v, idAtivo, periodo.mid(4, 2), periodo.left(4));
            for (v.first(); !v.eof(); v.next()) {
                TQuadroV linha;
                CarregaQuadroV(v, linha);
                d.municipios << TMunicipioArquivo{linha.CodMunicipio.trimmed(), linha.Valor};
            }
        }
    }
    return d;
}

} // namespace Registros
