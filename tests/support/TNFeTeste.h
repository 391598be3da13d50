#pragma once
// Electronic invoice files built by the tests: an invoice with its items, its protocol and access key, and a
// cancellation event, as the authority's systems deliver them.
#include <QByteArray>
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
                      "55" + n.serie.rightJustified(3, '0') + QString::number(n.numero).rightJustified(9, '0') +
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
    for (const TItemTeste& it : n.itens) {
        total += centavos(it.vProd) + centavos(it.vFrete) - centavos(it.vDesc) + centavos(it.vIPI) + centavos(it.vICMSST);
        const bool sn = it.cst.startsWith("SN:");
        const QString codigo = sn ? it.cst.mid(3) : it.cst;
        const QString grupo = sn ? "ICMSSN" + codigo : "ICMS" + codigo;
        det += QStringLiteral("<det nItem=\"%1\"><prod><cProd>%1</cProd><xProd>PRODUTO</xProd><CFOP>%2</CFOP>%3%4%5"
                              "</prod><imposto><ICMS><%6><orig>0</orig>%7%8%9%10%11%12%13</%6></ICMS>%14</imposto></det>")
                   .arg(++i)
                   .arg(it.cfop, tag("vProd", it.vProd), tag("vFrete", it.vFrete), tag("vDesc", it.vDesc), grupo,
                        sn ? tag("CSOSN", codigo) : tag("CST", codigo), tag("vBC", it.vBC), tag("pICMS", it.pICMS))
                   .arg(tag("vICMS", it.vICMS), tag("vBCST", it.vBCST), tag("vICMSST", it.vICMSST),
                        tag("vICMSSTRet", it.vICMSSTRet),
                        it.vIPI.isEmpty() ? QString() : "<IPI><cEnq>999</cEnq><IPITrib><CST>50</CST><vIPI>" + it.vIPI +
                                                            "</vIPI></IPITrib></IPI>");
    }
    const QString vNF = n.vNF.isEmpty() ? QString::number(total / 100) + "." + QString::number(total % 100).rightJustified(2, '0')
                                        : n.vNF;
    const QString emissor = QStringLiteral("<emit><CNPJ>%1</CNPJ><xNome>%2</xNome><enderEmit><xLgr>RUA UM</xLgr><nro>10</nro>"
                                        "<xBairro>CENTRO</xBairro><cMun>5300108</cMun><xMun>%3</xMun><UF>%4</UF>"
                                        "<CEP>70000001</CEP></enderEmit><IE>%5</IE><CRT>3</CRT></emit>")
                             .arg(n.emitente, n.nomeEmitente, QString::fromUtf8("Brasília"), n.ufEmitente, n.ieEmitente);
    const bool exterior = n.destTag == "idEstrangeiro";
    const QString dest = QStringLiteral("<dest><%1>%2</%1><xNome>%3</xNome><enderDest><xLgr>%4</xLgr><nro>%5</nro>"
                                        "<xCpl>LOJA 2</xCpl><xBairro>%6</xBairro><cMun>%7</cMun><xMun>%8</xMun><UF>%9</UF>")
                             .arg(n.destTag, n.destinatario, n.nomeDestinatario,
                                  QString::fromUtf8("Rua das Acácias"), exterior ? "S/N" : "45",
                                  exterior ? "EXTERIOR" : "ASA SUL", exterior ? "9999999" : "5300108",
                                  exterior ? "EXTERIOR" : "Brasilia", n.ufDestinatario) +
                         tag("CEP", n.cepDestinatario) + "</enderDest>" +
                         (n.ieDestinatario.isEmpty() ? "<indIEDest>9</indIEDest>"
                                                     : "<indIEDest>1</indIEDest>" + tag("IE", n.ieDestinatario)) +
                         "</dest>";
    const QString nfe = QStringLiteral("<NFe xmlns=\"http://www.portalfiscal.inf.br/nfe\"><infNFe versao=\"4.00\" Id=\"NFe%1\">"
                                       "<ide><cUF>53</cUF><mod>55</mod><serie>%2</serie><nNF>%3</nNF><dhEmi>%4</dhEmi>"
                                       "<tpNF>%5</tpNF></ide>%6%7%8<total><ICMSTot><vNF>%9</vNF></ICMSTot></total>"
                                       "</infNFe></NFe>")
                            .arg(chave, n.serie, QString::number(n.numero), n.dhEmi, n.tpNF, emissor, dest, det, vNF);
    if (n.cStat.isEmpty())
        return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + nfe).toUtf8();
    return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><nfeProc versao=\"4.00\" xmlns=\"http://www.portalfiscal.inf.br/nfe\">" +
            nfe + "<protNFe versao=\"4.00\"><infProt><chNFe>" + chave + "</chNFe><cStat>" + n.cStat +
            "</cStat></infProt></protNFe></nfeProc>")
        .toUtf8();
}

inline QByteArray xmlCancelamento(const QString& chave, const QString& cStat = QStringLiteral("135"))
{
    return ("<?xml version=\"1.0\"?><procEventoNFe versao=\"1.00\"><evento versao=\"1.00\"><infEvento>"
            "<chNFe>" + chave + "</chNFe><tpEvento>110111</tpEvento></infEvento></evento>"
            "<retEvento versao=\"1.00\"><infEvento><cStat>" + cStat + "</cStat></infEvento></retEvento></procEventoNFe>")
        .toUtf8();
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

} // namespace nfeteste
