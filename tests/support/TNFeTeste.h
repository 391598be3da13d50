#pragma once
// Electronic invoice files built by the tests: an invoice with its items, its protocol and access key, and a
// cancellation event, as the authority's systems deliver them.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace nfeteste {

inline const char* const kContribuinte = "11222333000181"; // the open taxpayer, IE 123456789
inline const char* const kClienteLocal = "44555666000181";
inline const char* const kFornecedorSP = "77888999000181";
inline const char* const kOutraEmpresa = "22333444000181";

struct TItemTeste {
    QString cfop = QStringLiteral("5102");
    QString cst = QStringLiteral("00"); // "SN:" + code for a CSOSN
    QString vProd, vBC, pICMS, vICMS, vIPI, vBCST, vICMSST, vFrete, vDesc, vICMSSTRet;
    QString pRedBC, vICMSDeson, vII;
};

// An address as the layout writes it (enderEmit, enderDest).
struct TEnderecoTeste {
    QString xLgr, nro, xCpl, xBairro, cMun, xMun, UF, CEP, cPais, xPais;
};

struct TNotaTeste {
    int numero = 123;
    QString serie = QStringLiteral("1");
    QString tpNF = QStringLiteral("1");
    QString dhEmi = QStringLiteral("2024-05-10T23:30:00-03:00");
    QString emitente = QString::fromLatin1(kContribuinte);
    QString ufEmitente = QStringLiteral("DF");
    QString ieEmitente = QStringLiteral("123456789");
    QString nomeEmitente = QStringLiteral("Comercial Exemplo Ltda");
    QString destTag = QStringLiteral("CNPJ"); // "CNPJ", "CPF" or "idEstrangeiro"
    QString destinatario = QString::fromLatin1(kClienteLocal);
    QString ufDestinatario = QStringLiteral("DF");
    QString ieDestinatario = QStringLiteral("100000010");
    QString nomeDestinatario = QString::fromUtf8("Comércio São João Ltda");
    QString cepDestinatario = QStringLiteral("70000000");
    QList<TItemTeste> itens;
    QString vNF;            // the file's total; computed from the items when empty
    QString cStat = QStringLiteral("100"); // empty: the bare NFe without its protocol
    bool digitoErrado = false;
    QString versao = QStringLiteral("4.00");
    QString modelo = QStringLiteral("55");
    QString tpAmb = QStringLiteral("1");
    bool vNFSemII = false;  // the computed total leaves the import duty out, as some import notes do
    // Addresses; empty fields take the usual test values.
    TEnderecoTeste enderEmit, enderDest;
    // Appended to the processed file after its protocol: "procEventoNFe" or "retEvento" with this status.
    QString cancelamentoNoProc, cStatCancelamento = QStringLiteral("135");
};

inline int digito(const QString& k)
{
    int s = 0, p = 2;
    for (int i = k.size() - 1; i >= 0; --i) {
        s += k[i].digitValue() * p;
        p = p == 9 ? 2 : p + 1;
    }
    return s % 11 < 2 ? 0 : 11 - s % 11;
}

inline QString chaveDe(const TNotaTeste& n)
{
    const QString k = QStringLiteral("53") + n.dhEmi.mid(2, 2) + n.dhEmi.mid(5, 2) + n.emitente.rightJustified(14, '0') +
                      n.modelo + n.serie.rightJustified(3, '0') + QString::number(n.numero).rightJustified(9, '0') +
                      "1" + "00000001";
    const int d = (digito(k) + (n.digitoErrado ? 1 : 0)) % 10;
    return k + QString::number(d);
}

inline qint64 centavos(const QString& v) { return v.isEmpty() ? 0 : qRound64(v.toDouble() * 100); }

inline QString tag(const char* nome, const QString& valor)
{
    return valor.isEmpty() ? QString() : QStringLiteral("<%1>%2</%1>").arg(QLatin1String(nome), valor);
}

inline QByteArray xmlNota(const TNotaTeste& n)
{
    const QString chave = chaveDe(n);
    QString det;
    qint64 total = 0;
    int i = 0;
    qint64 totalII = 0, totalDeson = 0;
    for (const TItemTeste& it : n.itens) {
        total += centavos(it.vProd) + centavos(it.vFrete) - centavos(it.vDesc) + centavos(it.vIPI) + centavos(it.vICMSST);
        totalII += centavos(it.vII);
        totalDeson += centavos(it.vICMSDeson);
        const bool sn = it.cst.startsWith("SN:");
        const QString codigo = sn ? it.cst.mid(3) : it.cst;
        // The layout's groups: one group serves several codes.
        static const QHash<QString, QString> grupoDe = {
            {"41", "40"}, {"50", "40"}, {"103", "102"}, {"300", "102"}, {"400", "102"}, {"203", "202"}};
        const QString grupo = (sn ? "ICMSSN" : "ICMS") + grupoDe.value(codigo, codigo);
        const QString ii = it.vII.isEmpty() ? QString()
                                            : "<II><vBC>" + it.vProd + "</vBC><vDespAdu>0.00</vDespAdu><vII>" + it.vII +
                                                  "</vII><vIOF>0.00</vIOF></II>";
        det += QStringLiteral("<det nItem=\"%1\"><prod><cProd>%1</cProd><xProd>PRODUTO</xProd><CFOP>%2</CFOP>%3%4%5"
                              "</prod><imposto><ICMS><%6><orig>0</orig>%7%8%9%10%11%12%13</%6></ICMS>%14</imposto></det>")
                   .arg(++i)
                   .arg(it.cfop, tag("vProd", it.vProd), tag("vFrete", it.vFrete), tag("vDesc", it.vDesc), grupo,
                        sn ? tag("CSOSN", codigo) : tag("CST", codigo) + tag("pRedBC", it.pRedBC),
                        tag("vBC", it.vBC), tag("pICMS", it.pICMS))
                   .arg(tag("vICMS", it.vICMS), tag("vBCST", it.vBCST), tag("vICMSST", it.vICMSST),
                        tag("vICMSSTRet", it.vICMSSTRet) +
                            (it.vICMSDeson.isEmpty() ? QString()
                                                     : tag("vICMSDeson", it.vICMSDeson) + "<motDesICMS>9</motDesICMS>"),
                        (it.vIPI.isEmpty() ? QString() : "<IPI><cEnq>999</cEnq><IPITrib><CST>50</CST><vIPI>" + it.vIPI +
                                                             "</vIPI></IPITrib></IPI>") + ii);
    }
    total += (n.vNFSemII ? 0 : totalII) - totalDeson;
    auto reais = [](qint64 c) { return QString::number(c / 100) + "." + QString::number(c % 100).rightJustified(2, '0'); };
    auto ou = [](const QString& v, const char* padrao) { return v.isEmpty() ? QString::fromUtf8(padrao) : v; };
    const QString vNF = n.vNF.isEmpty() ? reais(total) : n.vNF;
    const TEnderecoTeste& ee = n.enderEmit;
    const QString emissor = QStringLiteral("<emit><CNPJ>%1</CNPJ><xNome>%2</xNome><enderEmit><xLgr>%6</xLgr><nro>%7</nro>"
                                        "%8<xBairro>%9</xBairro><cMun>5300108</cMun><xMun>%3</xMun><UF>%4</UF>"
                                        "<CEP>%10</CEP></enderEmit><IE>%5</IE><CRT>3</CRT></emit>")
                             .arg(n.emitente, n.nomeEmitente, ou(ee.xMun, "Brasília"), n.ufEmitente, n.ieEmitente,
                                  ou(ee.xLgr, "RUA UM"), ou(ee.nro, "10"), tag("xCpl", ee.xCpl), ou(ee.xBairro, "CENTRO"))
                             .arg(ou(ee.CEP, "70000001"));
    const bool exterior = n.destTag == "idEstrangeiro";
    const TEnderecoTeste& ed = n.enderDest;
    const QString dest = QStringLiteral("<dest><%1>%2</%1><xNome>%3</xNome><enderDest><xLgr>%4</xLgr><nro>%5</nro>"
                                        "%10<xBairro>%6</xBairro><cMun>%7</cMun><xMun>%8</xMun><UF>%9</UF>")
                             .arg(n.destTag, n.destinatario, n.nomeDestinatario, ou(ed.xLgr, "Rua das Acácias"),
                                  ou(ed.nro, exterior ? "S/N" : "45"), ou(ed.xBairro, exterior ? "EXTERIOR" : "ASA SUL"),
                                  exterior ? "9999999" : "5300108", ou(ed.xMun, exterior ? "EXTERIOR" : "Brasilia"),
                                  n.ufDestinatario)
                             .arg(tag("xCpl", ou(ed.xCpl, "LOJA 2"))) +
                         tag("CEP", n.cepDestinatario) + tag("cPais", ed.cPais) + tag("xPais", ed.xPais) + "</enderDest>" +
                         (n.ieDestinatario.isEmpty() ? "<indIEDest>9</indIEDest>"
                                                     : "<indIEDest>1</indIEDest>" + tag("IE", n.ieDestinatario)) +
                         "</dest>";
    const QString totais = tag("vICMSDeson", totalDeson ? reais(totalDeson) : QString()) +
                           tag("vII", totalII ? reais(totalII) : QString());
    const QString nfe = QStringLiteral("<NFe xmlns=\"http://www.portalfiscal.inf.br/nfe\"><infNFe versao=\"%10\" Id=\"NFe%1\">"
                                       "<ide><cUF>53</cUF><mod>%11</mod><serie>%2</serie><nNF>%3</nNF><dhEmi>%4</dhEmi>"
                                       "<tpNF>%5</tpNF><tpAmb>%12</tpAmb></ide>%6%7%8<total><ICMSTot>%13<vNF>%9</vNF></ICMSTot></total>"
                                       "</infNFe></NFe>")
                            .arg(chave, n.serie, QString::number(n.numero), n.dhEmi, n.tpNF, emissor, dest, det, vNF)
                            .arg(n.versao, n.modelo, n.tpAmb, totais);
    if (n.cStat.isEmpty())
        return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + nfe).toUtf8();
    QString evento;
    const QString retorno = "<retEvento versao=\"1.00\"><infEvento><tpAmb>" + n.tpAmb + "</tpAmb><cStat>" +
                            n.cStatCancelamento + "</cStat><xMotivo>Evento registrado e vinculado a NF-e</xMotivo><chNFe>" +
                            chave + "</chNFe><tpEvento>110111</tpEvento><nSeqEvento>1</nSeqEvento></infEvento></retEvento>";
    if (n.cancelamentoNoProc == "procEventoNFe")
        evento = "<procEventoNFe versao=\"1.00\"><evento versao=\"1.00\"><infEvento><tpAmb>" + n.tpAmb + "</tpAmb><chNFe>" +
                 chave + "</chNFe><tpEvento>110111</tpEvento><nSeqEvento>1</nSeqEvento><detEvento versao=\"1.00\">"
                 "<descEvento>Cancelamento</descEvento><xJust>Erro no pedido do cliente</xJust></detEvento>"
                 "</infEvento></evento>" + retorno + "</procEventoNFe>";
    else if (n.cancelamentoNoProc == "retEvento")
        evento = retorno;
    return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><nfeProc versao=\"" + n.versao +
            "\" xmlns=\"http://www.portalfiscal.inf.br/nfe\">" + nfe + "<protNFe versao=\"" + n.versao +
            "\"><infProt><tpAmb>" + n.tpAmb + "</tpAmb><chNFe>" + chave + "</chNFe><cStat>" + n.cStat +
            "</cStat></infProt></protNFe>" + evento + "</nfeProc>")
        .toUtf8();
}

// An event on a note as the authority returns it: the event and the answer that registered it.
inline QByteArray xmlEvento(const QString& chave, const QString& tpEvento, const QString& cStat = QStringLiteral("135"),
                            const QString& descricao = QStringLiteral("Cancelamento"))
{
    return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><procEventoNFe versao=\"1.00\" "
            "xmlns=\"http://www.portalfiscal.inf.br/nfe\"><evento versao=\"1.00\"><infEvento Id=\"ID" + tpEvento + chave +
            "01\"><cOrgao>53</cOrgao><tpAmb>1</tpAmb><chNFe>" + chave + "</chNFe><dhEvento>2024-05-11T10:00:00-03:00"
            "</dhEvento><tpEvento>" + tpEvento + "</tpEvento><nSeqEvento>1</nSeqEvento><verEvento>1.00</verEvento>"
            "<detEvento versao=\"1.00\"><descEvento>" + descricao + "</descEvento></detEvento></infEvento></evento>"
            "<retEvento versao=\"1.00\"><infEvento><tpAmb>1</tpAmb><cStat>" + cStat + "</cStat><chNFe>" + chave +
            "</chNFe><tpEvento>" + tpEvento + "</tpEvento></infEvento></retEvento></procEventoNFe>")
        .toUtf8();
}

inline QByteArray xmlCancelamento(const QString& chave, const QString& cStat = QStringLiteral("135"))
{
    return xmlEvento(chave, QStringLiteral("110111"), cStat);
}

// An own sale: two rates and an exempt item under 5102, a withheld-earlier substitution item under 5405.
inline TNotaTeste vendaVariada()
{
    TNotaTeste n;
    TItemTeste a;
    a.vProd = "1000.00"; a.vBC = "1000.00"; a.pICMS = "17.00"; a.vICMS = "170.00"; a.vIPI = "50.00";
    TItemTeste b;
    b.vProd = "500.00"; b.vBC = "500.00"; b.pICMS = "12.0000"; b.vICMS = "60.00";
    TItemTeste isento;
    isento.cst = "40"; isento.vProd = "200.00";
    TItemTeste st;
    st.cfop = "5405"; st.cst = "60"; st.vProd = "300.00"; st.vICMSSTRet = "40.00";
    TItemTeste c;
    c.vProd = "100.00"; c.vBC = "100.00"; c.pICMS = "17"; c.vICMS = "17.00"; c.vFrete = "10.00"; c.vDesc = "5.00";
    n.itens = {a, b, isento, st, c};
    return n;
}

// A purchase from another state with IPI and substitution charged on the note.
inline TNotaTeste compraSP()
{
    TNotaTeste n;
    n.numero = 4567;
    n.serie = "2";
    n.emitente = kFornecedorSP;
    n.ufEmitente = "SP";
    n.ieEmitente = "110.042.490.114";
    n.nomeEmitente = QString::fromUtf8("Indústria Paulista S.A.");
    n.destinatario = kContribuinte;
    n.ieDestinatario = "123456789";
    n.nomeDestinatario = "COMERCIAL EXEMPLO LTDA";
    TItemTeste it;
    it.cfop = "6401"; it.cst = "10"; it.vProd = "1000.00"; it.vBC = "1000.00"; it.pICMS = "12.00"; it.vICMS = "120.00";
    it.vBCST = "1400.00"; it.vICMSST = "48.00"; it.vIPI = "100.00";
    TItemTeste outro;
    outro.cfop = "6102"; outro.cst = "00"; outro.vProd = "250.00"; outro.vBC = "250.00"; outro.pICMS = "12.00";
    outro.vICMS = "30.00";
    n.itens = {it, outro};
    return n;
}

inline TNotaTeste vendaSimples(int numero)
{
    TNotaTeste n;
    n.numero = numero;
    TItemTeste it;
    it.vProd = "100.00"; it.vBC = "100.00"; it.pICMS = "17.00"; it.vICMS = "17.00";
    n.itens = {it};
    return n;
}

// ----- a folder of files as an accounting office receives them

inline TItemTeste item(const char* cfop, const char* cst, const char* vProd, const char* vBC = "", const char* pICMS = "",
                       const char* vICMS = "")
{
    TItemTeste it;
    it.cfop = QString::fromLatin1(cfop);
    it.cst = QString::fromLatin1(cst);
    it.vProd = QString::fromLatin1(vProd);
    it.vBC = QString::fromLatin1(vBC);
    it.pICMS = QString::fromLatin1(pICMS);
    it.vICMS = QString::fromLatin1(vICMS);
    return it;
}

// A purchase from an industry in another state whose name and address are longer than the register's fields,
// with an item of every ICMS code of the normal regime and an item of no value.
inline TNotaTeste compraComTodosOsCst()
{
    TNotaTeste n;
    n.numero = 501;
    n.emitente = kFornecedorSP;
    n.ufEmitente = "SP";
    n.ieEmitente = "110.042.490.114";
    n.nomeEmitente = QString::fromUtf8("Indústria e Comércio de Produtos Alimentícios Paulista Ltda");
    n.enderEmit.xLgr = QString::fromUtf8("Avenida Doutor José Bonifácio Coutinho Nogueira");
    n.enderEmit.nro = "1500";
    n.enderEmit.xCpl = QString::fromUtf8("Galpão 3 Bloco B Conjunto Industrial");
    n.enderEmit.xBairro = QString::fromUtf8("Jardim das Indústrias Reunidas");
    n.enderEmit.xMun = QString::fromUtf8("Florínea da Serra Alta do Paranapanema");
    n.enderEmit.CEP = "12345678";
    n.destinatario = kContribuinte;
    n.ieDestinatario = "123456789";
    n.nomeDestinatario = "COMERCIAL EXEMPLO LTDA";
    TItemTeste a = item("6102", "00", "1000.00", "1000.00", "12.00", "120.00");
    a.vIPI = "50.00";
    TItemTeste b = item("6401", "10", "500.00", "500.00", "12.00", "60.00");
    b.vBCST = "700.00"; b.vICMSST = "24.00";
    TItemTeste c = item("6102", "20", "313.92", "209.29", "12.00", "25.11");
    c.pRedBC = "33.33";
    TItemTeste f = item("6102", "60", "80.00");
    f.vICMSSTRet = "10.00";
    TItemTeste g = item("6401", "70", "400.00", "300.00", "12.00", "36.00");
    g.pRedBC = "25.00"; g.vBCST = "500.00"; g.vICMSST = "24.00";
    n.itens = {a, b, c, item("6102", "40", "200.00"), item("6102", "41", "150.00"), f, g,
               item("6102", "90", "100.00", "50.00", "12.00", "6.00"), item("6949", "41", "0.00")};
    return n;
}

// A purchase from a local supplier of the Simples Nacional.
inline TNotaTeste compraDoSimples()
{
    TNotaTeste n;
    n.numero = 502;
    n.emitente = kClienteLocal;
    n.ieEmitente = "100000010";
    n.nomeEmitente = "Distribuidora Cerrado Ltda ME";
    n.destinatario = kContribuinte;
    n.ieDestinatario = "123456789";
    n.nomeDestinatario = "COMERCIAL EXEMPLO LTDA";
    n.itens = {item("5102", "SN:101", "300.00"), item("5102", "SN:102", "200.00"), item("5102", "SN:500", "100.00"),
               item("5102", "SN:900", "120.00", "100.00", "17.00", "17.00")};
    return n;
}

// The taxpayer's own entry of an import: the duty is in the products' value and left out of vNF.
inline TNotaTeste importacaoSemII()
{
    TNotaTeste n;
    n.numero = 503;
    n.tpNF = "0";
    n.destTag = "idEstrangeiro";
    n.destinatario = "US-4471";
    n.ufDestinatario = "EX";
    n.ieDestinatario.clear();
    n.cepDestinatario.clear();
    n.nomeDestinatario = "Global Industrial Supplies Corporation of North America";
    n.enderDest.xLgr = "1200 Harbor Boulevard Industrial Park";
    n.enderDest.nro = "S/N";
    n.enderDest.xCpl = "Suite 400";
    n.enderDest.cPais = "2496";
    n.enderDest.xPais = "Estados Unidos";
    TItemTeste it = item("3102", "00", "1000.00", "1055.00", "17.00", "179.35");
    it.vIPI = "55.00"; it.vII = "100.00";
    n.itens = {it};
    n.vNFSemII = true;
    return n;
}

// A sale abroad to a second foreign party.
inline TNotaTeste exportacao()
{
    TNotaTeste n;
    n.numero = 504;
    n.destTag = "idEstrangeiro";
    n.destinatario = "CL-99887";
    n.ufDestinatario = "EX";
    n.ieDestinatario.clear();
    n.cepDestinatario.clear();
    n.nomeDestinatario = QString::fromUtf8("Importadora Andina de Alimentos Sociedad Anónima");
    n.enderDest.cPais = "1589";
    n.enderDest.xPais = "Chile";
    n.itens = {item("7101", "41", "2000.00")};
    return n;
}

// A sale with relieved ICMS on an exempt item: vNF leaves the relief out.
inline TNotaTeste vendaDesonerada()
{
    TNotaTeste n;
    n.numero = 505;
    TItemTeste isento = item("5102", "40", "1000.00");
    isento.vICMSDeson = "170.00";
    n.itens = {item("5102", "00", "100.00", "100.00", "17.00", "17.00"), isento};
    return n;
}

struct TAmostraNFe {
    QString nome;
    QByteArray xml;
    QString situacao;    // as zelcli lists it: "importado", "recusado", "ignorado"
    QString numero;      // the note's stored number
    QStringList linhas;  // the rows stored for it, as TipoNota|Emitente|...|ICMSRetido (empty: none)
};

// The folder, with what each file must become.
inline QList<TAmostraNFe> amostrasComoReais()
{
    TNotaTeste homologacao = vendaSimples(506);
    homologacao.tpAmb = "2";
    TNotaTeste cancelada = vendaSimples(507);
    cancelada.cancelamentoNoProc = "procEventoNFe";
    TNotaTeste antiga = vendaSimples(509);
    antiga.versao = "3.10";
    antiga.dhEmi = "2018-03-15T10:00:00-03:00";
    TNotaTeste nfce = vendaSimples(510);
    nfce.modelo = "65";
    const QByteArray resumo =
        ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><resNFe versao=\"1.01\" xmlns=\"http://www.portalfiscal.inf.br/nfe\">"
         "<chNFe>" + chaveDe(vendaSimples(511)) + "</chNFe><CNPJ>" + kClienteLocal + "</CNPJ><xNome>DISTRIBUIDORA</xNome>"
         "<IE>100000010</IE><dhEmi>2024-05-10T10:00:00-03:00</dhEmi><tpNF>1</tpNF><vNF>100.00</vNF><cSitNFe>1</cSitNFe>"
         "</resNFe>").toUtf8();
    return {
        {"01-compra-sp.xml", xmlNota(compraComTodosOsCst()), "importado", "000501",
         {"E|T|55|1|000501|2102|2024-05-10|N|14639200|1200|12592900|1511100|1046300|1000000|500000|0|0",
          "E|T|55|1|000501|2401|2024-05-10|N|9480000|1200|8000000|960000|1000000|480000|0|12000000|480000",
          "E|T|55|1|000501|2102|2024-05-10|N|4300000|0|0|0|3500000|800000|0|0|0"}},
        {"02-compra-simples.xml", xmlNota(compraDoSimples()), "importado", "000502",
         {"E|T|55|1|000502|1102|2024-05-10|N|6000000|0|0|0|0|6000000|0|0|0",
          "E|T|55|1|000502|1102|2024-05-10|N|1200000|1700|1000000|170000|0|200000|0|0|0"}},
        {"03-importacao.xml", xmlNota(importacaoSemII()), "importado", "000503",
         {"E|P|55|1|000503|3102|2024-05-10|N|10550000|1700|10550000|1793500|0|0|550000|0|0"}},
        {"04-exportacao.xml", xmlNota(exportacao()), "importado", "000504",
         {"S|P|55|1|000504|7101|2024-05-10|N|20000000|0|0|0|20000000|0|0|0|0"}},
        {"05-desonerada.xml", xmlNota(vendaDesonerada()), "importado", "000505",
         {"S|P|55|1|000505|5102|2024-05-10|N|1000000|1700|1000000|170000|0|0|0|0|0",
          "S|P|55|1|000505|5102|2024-05-10|N|8300000|0|0|0|8300000|0|0|0|0"}},
        {"06-homologacao.xml", xmlNota(homologacao), "recusado", "000506", {}},
        {"07-cancelada.xml", xmlNota(cancelada), "importado", "000507",
         {"S|P|55|1|000507|5949|2024-05-10|S|0|0|0|0|0|0|0|0|0"}},
        {"08-carta-correcao.xml", xmlEvento(chaveDe(vendaDesonerada()), "110110", "135", QString::fromUtf8("Carta de Correção")),
         "ignorado", {}, {}},
        {"09-leiaute-310.xml", xmlNota(antiga), "importado", "000509",
         {"S|P|55|1|000509|5102|2018-03-15|N|1000000|1700|1000000|170000|0|0|0|0|0"}},
        {"10-nfce.xml", xmlNota(nfce), "ignorado", "000510", {}},
        {"11-resumo.xml", resumo, "ignorado", {}, {}},
    };
}

} // namespace nfeteste
