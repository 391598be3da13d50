// The return-file check: every file the writer makes passes it (a fixed month in each declaration kind and
// layout, and large seeded months); each kind of damage made to the bytes of a sound file is found at its line
// and position, whatever the chunks the bytes arrive in; the fault cap; a huge line in bounded memory; and
// zelcli verifica's answers and exit codes.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

#include "core/untRelogio.h"
#include "output/untGeradorArquivo.h"
#include "output/untRegistros.h"
#include "output/untVerificaArquivo.h"
#include "support/TBancoTeste.h"
#include "support/TCadastroTeste.h"

#if defined(Q_OS_LINUX)
#include <unistd.h>
#endif

namespace {

// ----- helpers over bytes and faults

// The records of a sound file, without their separators.
QList<QByteArray> separa(const QByteArray& arquivo)
{
    QList<QByteArray> r;
    for (QByteArray l : arquivo.split('\n')) {
        if (l.endsWith('\r'))
            l.chop(1);
        r << l;
    }
    return r;
}

QByteArray junta(const QList<QByteArray>& ls)
{
    QByteArray r;
    for (qsizetype i = 0; i < ls.size(); ++i) {
        if (i > 0)
            r += "\r\n";
        r += ls[i];
    }
    return r;
}

QStringList tipos(const QList<QByteArray>& ls)
{
    QStringList r;
    for (const QByteArray& l : ls)
        r << QString::fromLatin1(l.startsWith("60") ? l.left(3) : l.startsWith("88") ? l.left(4) : l.left(2));
    return r;
}

// Line, position and message of each fault, comparable as a whole.
QStringList descreve(const QList<TFalhaArquivo>& falhas)
{
    QStringList r;
    for (const TFalhaArquivo& f : falhas)
        r << QStringLiteral("%1|%2|%3").arg(f.linha).arg(f.posicao).arg(f.mensagem);
    return r;
}

std::string mostra(const QList<TFalhaArquivo>& falhas)
{
    std::string r;
    for (const TFalhaArquivo& f : falhas)
        r += "\n  " + f.texto().toStdString();
    return r.empty() ? std::string("\n  (nenhuma falha)") : r;
}

// The same bytes handed to one checker in pieces of the sizes `tamanho` gives.
QList<TFalhaArquivo> porPartes(const QByteArray& bytes, const std::function<qsizetype()>& tamanho, qint64* omitidas = nullptr)
{
    TVerificadorArquivo v;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype n = qMin(tamanho(), bytes.size() - i);
        v.adiciona(QByteArrayView(bytes).sliced(i, n));
        i += n;
    }
    const QList<TFalhaArquivo> r = v.conclui();
    if (omitidas)
        *omitidas = v.falhasOmitidas();
    return r;
}

// Feeding byte by byte and in uneven pieces must see what the whole buffer sees: every CR LF and every field
// then falls across a boundary somewhere.
void confereEmPartes(const QByteArray& bytes, const QList<TFalhaArquivo>& inteiro)
{
    EXPECT_EQ(descreve(porPartes(bytes, [] { return qsizetype(1); })), descreve(inteiro)) << "byte a byte";
    std::mt19937 sorteio(20060715);
    std::uniform_int_distribution<int> pedaco(1, 300);
    EXPECT_EQ(descreve(porPartes(bytes, [&] { return qsizetype(pedaco(sorteio)); })), descreve(inteiro))
        << "em pedaços";
}

void grava(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << caminho.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// ----- files the writer makes

// A database of its own, the writer over it and the file it writes for a declaration.
struct TOficina {
    TBancoTeste t;
    TRelogioFixo relogio{QDateTime(QDate(2006, 9, 15), QTime(10, 0))};
    TProgressoGravado progresso;
    QTemporaryDir saida;

    TOficina() { EXPECT_EQ(t.con->Conectar(), "JET"); }
    void sql(const QString& comando) { TBancoTeste::executaDireto(t.con->db(), comando); }
    QByteArray arquivo(const QString& regime, const QString& periodo, int tipoDeclaracao)
    {
        const QString caminho = saida.filePath(QStringLiteral("%1_%2.txt").arg(periodo).arg(tipoDeclaracao));
        TGeradorArquivo g(*t.dtm, t.dialogos, progresso, relogio, 1);
        g.MostraErros = false;
        const bool ok = g.GravaArquivo(caminho, regime, periodo, tipoDeclaracao, {});
        EXPECT_TRUE(ok) << periodo.toStdString() << ": " << g.ultimoErro().toStdString();
        return ok ? TBancoTeste::conteudo(caminho) : QByteArray();
    }
};

// A month with one document of each kind (the writer's own test data), written for every declaration kind.
struct TGravado {
    const char* nome;
    const char* regime;
    const char* periodo;
    int tipo;
};

void PrintTo(const TGravado& g, std::ostream* os) { *os << g.nome; }

const TGravado gravadosDoMes[] = {
    {"NormalComDocumentos", "1", "200607", 1},  {"NormalSemDocumentos", "1", "200605", 1},
    {"NormalLeiauteAntigo", "1", "200212", 1},  {"Epp", "7", "200607", 2},
    {"SimplesLeiaute2", "3", "200301", 3},       {"DadosAnuais", "1", "200609", 4},
};

const std::map<std::string, QByteArray>& arquivosDoMes()
{
    static const std::map<std::string, QByteArray> arquivos = [] {
        std::map<std::string, QByteArray> r;
        TOficina o;
        // The taxpayer with its accountant, a client of the state and a carrier of another, as the registers
        // take them.
        TCadastroTeste cadastro(*o.t.dtm, o.t.dialogos);
        EXPECT_EQ(cadastro.contribuinte(), 1);
        EXPECT_EQ(cadastro.parte(), 2);
        EXPECT_EQ(cadastro.parte(Fixtura::Transportadora()), 3);
        o.sql("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
              "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
              "(1, 1, 2, '2006-07-10', 'S', '01', '1', '', '000123', '5405', 'P', 12345600, 'N', '2006-07-10'),"
              "(2, 1, 3, '2006-07-20', 'E', '01', '2', '', '000045', '2102', 'T', 5000000, 'N', '2006-07-20')");
        o.sql("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
              "(1, 10000000, 1700000, 0, 2345600, '1700'), (2, 5000000, 350000, 0, 0, '0700')");
        o.sql("INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) VALUES (1, 500000, 0, 0), (2, 0, 0, 0)");
        o.sql("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
              "(1, 0, 0, 0, '')");
        o.sql("INSERT INTO CUPOMFISCAL (IDCupomFiscal, IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, COOInicial, "
              "COOFinal, CRZ, CRO, GTInicioDia, GTFimDia, VendaBruta, T_ISS, T_F, T_I, T_N, T_CANC, T_DESC) VALUES "
              "(1, 1, '2006-07-15', 'BE0512SC560000012', '001', '2D', 100, 250, 45, 3, 1184567800, 1234567800, "
              "50000000, 0, 0, 0, 0, 150000, 0)");
        o.sql("INSERT INTO CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado) VALUES (1, '1700', 30000000), "
              "(1, '0700', 20000000)");
        o.sql("INSERT INTO NOTATALAO (IDContribuinte, DtEmissao, Modelo, Serie, SubSerie, NumeroInicial, NumeroFinal, "
              "ValorTotal, BaseICMS, ValorICMS, Isenta, Outras, Aliquota) VALUES "
              "(1, '2006-07-05', '02', 'D', '', 1, 150, 3000000, 3000000, 510000, 0, 0, '1700')");
        o.sql("INSERT INTO NFTRANSPORTE (IDNFTransporte, IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, SubSerie, "
              "Numero, Cfop, ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao) VALUES "
              "(1, 1, 3, '2006-07-12', '08', 'U', '', '004567', '1352', 8000000, 8000000, 960000, 0, 0, '1', 'N')");
        o.sql("INSERT INTO NFCARGA (IDContribuinte, IDDestino, IDNotaTransporte, DtEmissao, ModeloNF, SerieNF, "
              "SubSerieNF, NumNF, ValorNF) VALUES (1, 2, 1, '2006-07-10', '01', '1', '', '000123', 12345600), "
              "(1, 2, 1, '2006-07-11', '01', '1', '', '000125', 1000000)");
        o.sql("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200607', 'N'), (1, '200605', 'N'), "
              "(1, '200212', 'N')");
        o.sql("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo) VALUES (1, '200607', 'N')");
        o.sql("INSERT INTO ZEL_SN (IdContribuinte, Periodo, Tipo) VALUES (1, '200301', 'R')");
        o.sql("INSERT INTO DadosAnuais (IdContribuinte, Ano, Tipo, TipoRegimeContrib) VALUES (1, '2006', 'N', 1)");
        for (const TGravado& g : gravadosDoMes)
            r[g.nome] = o.arquivo(QString::fromLatin1(g.regime), QString::fromLatin1(g.periodo), g.tipo);
        return r;
    }();
    return arquivos;
}

// The normal declaration of 07/2006 with its documents: the file every damage below starts from.
const QByteArray& mesSao() { return arquivosDoMes().at("NormalComDocumentos"); }

const QStringList tiposDoMes = {"10",  "11",  "50",  "50",  "51",  "53",   "60M",  "60A",  "60A",  "60A",
                                "61",  "70",  "71",  "71",  "8801", "8802", "8804", "8805", "8815", "8816",
                                "90"};

// ----- seeded months: a few hundred documents of every kind with values drawn at random within what the
// layouts hold, counterparties with accented names, and a declaration with accountant, programme cheques,
// municipalities and the receipt

struct TSorteio {
    std::mt19937 g{1234567u};
    int entre(int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); }
    qint64 entre64(qint64 a, qint64 b) { return std::uniform_int_distribution<qint64>(a, b)(g); }
    bool chance(int porcento) { return entre(1, 100) <= porcento; }
    template <class T> const T& um(const QList<T>& l) { return l[entre(0, int(l.size()) - 1)]; }
    QString digitos(int n)
    {
        QString r;
        for (int i = 0; i < n; ++i)
            r += QChar(u'0' + entre(0, 9));
        return r;
    }
    // An amount in the database's ten-thousandths, in whole cents, up to `digitos` digits of cents; now and
    // then the widest the field holds, more often a zero.
    qint64 valor(int digitos)
    {
        qint64 maximo = 1;
        for (int i = 0; i < digitos; ++i)
            maximo *= 10;
        --maximo;
        const int k = entre(1, 20);
        const qint64 centavos = k == 1 ? maximo : k <= 4 ? 0 : entre64(0, qMin<qint64>(maximo, 99999999999LL));
        return centavos * 100;
    }
    QString texto(int minimo, int maximo)
    {
        static const QString letras = QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ÁÉÍÓÚÂÊÔÃÕÇÜáéíóúãõçª°");
        QString r;
        const int n = entre(minimo, maximo);
        for (int i = 0; i < n; ++i)
            r += letras[entre(0, int(letras.size()) - 1)];
        return r;
    }
};

QString q(const QString& t) { return QLatin1Char('\'') + t + QLatin1Char('\''); }
QString dia(const QDate& d) { return q(d.toString(Qt::ISODate)); }

struct TMesSorteado {
    QByteArray bytes;
    int registros50 = 0;
};

const QStringList periodosSorteados = {"201105", "200307", "200212"};

const std::map<QString, TMesSorteado>& mesesSorteados()
{
    static const std::map<QString, TMesSorteado> meses = [] {
        std::map<QString, TMesSorteado> r;
        TOficina o;
        TSorteio s;
        // The accountant as its screen registers it; the rest are rows of another program's making, written
        // straight into the tables.
        const int contador = TCadastroTeste(*o.t.dtm, o.t.dialogos).contador();
        o.sql("BEGIN");
        o.sql(QString::fromUtf8("INSERT INTO Contribuinte (IdContribuinte, IdContador, CNPJ, Ccicms, RazaoSocial, Logradouro, "
                                "Numero, Complemento, Bairro, Municipio, Cep, UF, Fone, Fax, Contato, Email, Tipo) VALUES "
                                "(1, %1, '11222333000181', '123456789', 'DISTRIBUIÇÃO SÃO JOSÉ LTDA', 'AVENIDA BRÁS', "
                                "'1200', 'BLOCO Ç', 'JARDIM ÉDEN', 'SÃO JOÃO', '01234567', 'ZR', '1133335555', "
                                "'1133334444', 'JOÃO', 'fiscal@exemplo.com.br', 'C')").arg(contador));
        const int partes = 30;
        static const QStringList ufs = {"ZR", "SP", "RJ", "MG", "PR", "BA", "RS"};
        QStringList valores;
        for (int i = 0; i < partes; ++i)
            valores << QStringLiteral("(%1, %2, %3, %4, %5, 'F')")
                           .arg(10 + i)
                           .arg(q(s.digitos(s.chance(20) ? 11 : 14)),
                                q(s.chance(10) ? QStringLiteral("ISENTO") : s.digitos(s.entre(8, 14))),
                                q(s.texto(3, 35)), q(s.um(ufs)));
        o.sql("INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES " +
              valores.join(','));
        auto parte = [&] { return 10 + s.entre(0, partes - 1); };

        static const QStringList cfops = {"1102", "1403", "2102", "2403", "5102", "5405", "6102", "6404", "5949"};
        static const QStringList aliquotas = {"0000", "0700", "1200", "1700", "1800", "2500"};
        static const QStringList series = {"1", "2", "U", "A1", QString::fromUtf8("É"), "", "001"};
        int idNota = 1000, idCupom = 1000, idTransporte = 1000;
        for (const QString& periodo : periodosSorteados) {
            TMesSorteado& mes = r[periodo];
            const QDate inicio(periodo.left(4).toInt(), periodo.mid(4).toInt(), 1);
            auto diaDoMes = [&] { return inicio.addDays(s.entre(0, inicio.daysInMonth() - 1)); };

            QStringList notas, icms, ipi, subst;
            for (int i = 0; i < 300; ++i) {
                const int id = ++idNota;
                const QDate emissao = diaDoMes();
                const QString situacao = s.um(QStringList{"N", "N", "N", "S", "E", "X"});
                notas << QStringLiteral("(%1, 1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13)")
                             .arg(id)
                             .arg(parte())
                             .arg(dia(emissao), q(s.chance(50) ? "E" : "S"), q(s.chance(80) ? "01" : "55"),
                                  q(s.um(series)), q(s.chance(80) ? QString() : s.digitos(s.entre(1, 2))),
                                  q(s.digitos(6)), q(s.um(cfops)), q(s.chance(50) ? "P" : "T"))
                             .arg(s.valor(13))
                             .arg(q(situacao), dia(emissao.addDays(s.entre(0, 60))));
                // Now and then a second ICMS line (another rate): a second record 50 of the same invoice.
                for (int k = s.chance(15) ? 2 : 1; k > 0; --k) {
                    icms << QStringLiteral("(%1, %2, %3, %4, %5, %6)")
                                .arg(id)
                                .arg(s.valor(13))
                                .arg(s.valor(13))
                                .arg(s.valor(13))
                                .arg(s.valor(13))
                                .arg(q(s.um(aliquotas)));
                    ++mes.registros50;
                }
                if (s.chance(60))
                    ipi << QStringLiteral("(%1, %2, %3, %4)").arg(id).arg(s.valor(13)).arg(s.valor(13)).arg(s.valor(13));
                if (s.chance(40))
                    subst << QStringLiteral("(%1, %2, %3, %4, %5)")
                                 .arg(id)
                                 .arg(s.valor(13))
                                 .arg(s.valor(13))
                                 .arg(s.valor(13))
                                 .arg(q(s.um(QStringList{"", "A", "B", "1"})));
            }
            o.sql("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                  "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES " +
                  notas.join(','));
            o.sql("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) "
                  "VALUES " + icms.join(','));
            o.sql("INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) VALUES " + ipi.join(','));
            o.sql("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES " +
                  subst.join(','));

            QStringList cupons, porAliquota;
            for (int i = 0; i < 40; ++i) {
                const int id = ++idCupom;
                cupons << QStringLiteral("(%1, 1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13, %14, %15, %16, %17, %18)")
                              .arg(id)
                              .arg(dia(diaDoMes()), q(s.texto(10, 20)), q(s.digitos(3)), q(s.um(QStringList{"2D", "2B", "2E"})))
                              .arg(s.entre(0, 999999))
                              .arg(s.entre(0, 999999))
                              .arg(s.entre(0, 999999))
                              .arg(s.entre(0, 999))
                              .arg(s.valor(16))
                              .arg(s.valor(16))
                              .arg(s.valor(16))
                              .arg(s.valor(12))
                              .arg(s.valor(12))
                              .arg(s.valor(12))
                              .arg(s.valor(12))
                              .arg(s.valor(12))
                              .arg(s.valor(12));
                for (int k = s.entre(0, 4); k > 0; --k)
                    porAliquota << QStringLiteral("(%1, %2, %3)").arg(id).arg(q(s.um(aliquotas))).arg(s.valor(12));
            }
            o.sql("INSERT INTO CUPOMFISCAL (IDCupomFiscal, IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, "
                  "COOInicial, COOFinal, CRZ, CRO, GTInicioDia, GTFimDia, VendaBruta, T_ISS, T_F, T_I, T_N, T_CANC, "
                  "T_DESC) VALUES " + cupons.join(','));
            o.sql("INSERT INTO CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado) VALUES " + porAliquota.join(','));

            QStringList taloes;
            for (int i = 0; i < 30; ++i) {
                const int primeiro = s.entre(0, 900000);
                taloes << QStringLiteral("(1, %1, '02', %2, %3, %4, %5, %6, %7, %8, %9, %10, %11)")
                              .arg(dia(diaDoMes()), q(s.um(QStringList{"D", "D1", "DU"})), q(s.chance(70) ? QString() : "1"))
                              .arg(primeiro)
                              .arg(primeiro + s.entre(0, 99999))
                              .arg(s.valor(13))
                              .arg(s.valor(13))
                              .arg(s.valor(12))
                              .arg(s.valor(13))
                              .arg(s.valor(13))
                              .arg(q(s.um(aliquotas)));
            }
            o.sql("INSERT INTO NOTATALAO (IDContribuinte, DtEmissao, Modelo, Serie, SubSerie, NumeroInicial, NumeroFinal, "
                  "ValorTotal, BaseICMS, ValorICMS, Isenta, Outras, Aliquota) VALUES " + taloes.join(','));

            QStringList transportes, cargas;
            for (int i = 0; i < 40; ++i) {
                const int id = ++idTransporte;
                transportes << QStringLiteral("(%1, 1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13, %14, %15)")
                                   .arg(id)
                                   .arg(parte())
                                   .arg(dia(diaDoMes()), q(s.um(QStringList{"07", "08", "09", "10", "11", "26"})),
                                        q(s.um(QStringList{"U", "1", "A", ""})), q(s.chance(80) ? QString() : "2"),
                                        q(s.digitos(6)), q(s.um(cfops)))
                                   .arg(s.valor(13))
                                   .arg(s.valor(14))
                                   .arg(s.valor(14))
                                   .arg(s.valor(14))
                                   .arg(s.valor(14))
                                   .arg(q(s.um(QStringList{"1", "2", "3"})), q(s.chance(90) ? "N" : "S"));
                for (int k = s.entre(0, 3); k > 0; --k)
                    cargas << QStringLiteral("(1, %1, %2, %3, %4, %5, %6, %7, %8)")
                                  .arg(s.chance(15) ? 0 : parte())
                                  .arg(id)
                                  .arg(dia(diaDoMes().addDays(-s.entre(0, 20))), q(s.um(QStringList{"01", "1A", "55"})),
                                       q(s.um(series)), q(s.chance(80) ? QString() : "3"), q(s.digitos(6)))
                                  .arg(s.valor(14));
            }
            o.sql("INSERT INTO NFTRANSPORTE (IDNFTransporte, IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, "
                  "SubSerie, Numero, Cfop, ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao) "
                  "VALUES " + transportes.join(','));
            o.sql("INSERT INTO NFCARGA (IDContribuinte, IDDestino, IDNotaTransporte, DtEmissao, ModeloNF, SerieNF, "
                  "SubSerieNF, NumNF, ValorNF) VALUES " + cargas.join(','));

            // The declaration: amounts with fractions of a cent (records 88 round them), the receipt, both
            // programme cheques and a few municipalities.
            o.sql(QStringLiteral("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredEntradas, CredSaldoAnterior, "
                                 "DebSaidas, SubstSai_JR, DifAliquota, ImpOutraUF, OutrosRegEspec, MirvelIcms, "
                                 "ChqHabitacao, NumRecibo, sitCadastroContrib, dataSitCadastro) VALUES "
                                 "(1, '%1', 'N', %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13)")
                      .arg(periodo)
                      .arg(s.entre64(0, 99999999999999LL))
                      .arg(s.entre64(0, 99999999999999LL))
                      .arg(s.entre64(0, 99999999999999LL))
                      .arg(s.entre64(0, 999999999))
                      .arg(s.entre64(0, 999999999))
                      .arg(s.entre64(0, 999999999))
                      .arg(s.entre64(0, 999999999))
                      .arg(s.entre64(0, 999999999))
                      .arg(s.entre64(0, 999999999))
                      .arg(q(s.texto(10, 32)))
                      .arg(s.entre(0, 3))
                      .arg(dia(inicio.addDays(-s.entre(1, 400)))));
            o.sql(QStringLiteral("INSERT INTO ZEL_PRGGOV (idContribuinte, periodo, credAutorizado, transfCredEntrada, "
                                 "transfCredSaida, valorApropriado, sldPeriodoAnterior, sldRemanescente, tipoCheque) "
                                 "VALUES (1, '%1', %2, %3, 0, %4, 0, %5, 1), (1, '%1', %6, 0, %7, 0, %8, 0, 2)")
                      .arg(periodo)
                      .arg(s.valor(13))
                      .arg(s.valor(13))
                      .arg(s.valor(13))
                      .arg(s.valor(13))
                      .arg(s.valor(13))
                      .arg(s.valor(13))
                      .arg(s.valor(13)));
            QStringList municipios;
            for (int k = 0; k < 6; ++k)
                municipios << QStringLiteral("(1, %1, '%2', %3)").arg(dia(inicio)).arg(100 * k + s.entre(1, 99)).arg(s.valor(13));
            o.sql("INSERT INTO VornQuadroV (IdContribuinte, PeriodoZel, CodMunicipio, Valor) VALUES " +
                  municipios.join(','));
        }
        o.sql("COMMIT");
        for (const QString& periodo : periodosSorteados)
            r[periodo].bytes = o.arquivo(QStringLiteral("1"), periodo, 1);
        return r;
    }();
    return meses;
}

} // namespace

// ----- every file the writer makes passes

class VerificaGravado : public ::testing::TestWithParam<TGravado> {};

TEST_P(VerificaGravado, SemFalhas)
{
    const QByteArray& bytes = arquivosDoMes().at(GetParam().nome);
    ASSERT_FALSE(bytes.isEmpty());
    const QList<TFalhaArquivo> falhas = TVerificadorArquivo::Verifica(bytes);
    EXPECT_TRUE(falhas.isEmpty()) << mostra(falhas);
    confereEmPartes(bytes, falhas);
}

INSTANTIATE_TEST_SUITE_P(Verifica, VerificaGravado, ::testing::ValuesIn(gravadosDoMes),
                         [](const ::testing::TestParamInfo<TGravado>& i) { return std::string(i.param.nome); });

class VerificaSorteado : public ::testing::TestWithParam<QString> {};

TEST_P(VerificaSorteado, MesInteiroSemFalhas)
{
    const TMesSorteado& mes = mesesSorteados().at(GetParam());
    ASSERT_FALSE(mes.bytes.isEmpty());
    const QList<QByteArray> ls = separa(mes.bytes);
    // The month really is in the file: every family, and one record 50 per ICMS line.
    const QStringList ts = tipos(ls);
    EXPECT_EQ(ts.count("50"), mes.registros50);
    for (const char* t : {"51", "53", "60M", "60A", "61", "70", "71", "8801", "8804", "8805", "8825", "8829"})
        EXPECT_GT(ts.count(QString::fromLatin1(t)), 0) << t;
    EXPECT_EQ(ts.contains("8830"), GetParam() >= "201105");
    EXPECT_EQ(ls.first().mid(123, 1), GetParam() < "200301" ? "1" : GetParam() < "200401" ? "2" : "3");

    TVerificadorArquivo v;
    v.adiciona(mes.bytes);
    const QList<TFalhaArquivo> falhas = v.conclui();
    EXPECT_TRUE(falhas.isEmpty()) << mostra(falhas);
    EXPECT_EQ(v.linhas(), ls.size());
    confereEmPartes(mes.bytes, falhas);

    QTemporaryDir pasta;
    const QString caminho = pasta.filePath("mes.txt");
    grava(caminho, mes.bytes);
    QString saida, erro;
    EXPECT_EQ(ExecutaVerifica(caminho, &saida, &erro), 0) << saida.toStdString() << erro.toStdString();
    EXPECT_EQ(saida, QStringLiteral("Nenhuma falha em %1 registros.\n").arg(ls.size()));
    EXPECT_TRUE(erro.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Verifica, VerificaSorteado, ::testing::ValuesIn(periodosSorteados),
                         [](const ::testing::TestParamInfo<QString>& i) { return i.param.toStdString(); });

// ----- damaged files: one kind of damage each, made on the bytes of the sound month

namespace {

struct TEsperada {
    qint64 linha;
    int posicao;
    QString trecho;   // text the message must contain
};

struct TDano {
    const char* nome;
    // Damages the records of the sound month (one list entry per record) into the bytes to check.
    std::function<QByteArray(QList<QByteArray>&)> aplica;
    QList<TEsperada> esperadas;   // every fault, in the order found
};

void PrintTo(const TDano& d, std::ostream* os) { *os << d.nome; }

// Record 90 of the month: 2 x 50, 1 x 51, 1 x 53, 4 x 60, 1 x 61, 1 x 70, 2 x 71, 6 x 88, 21 lines.
constexpr int L90 = 21;
constexpr int Contagem50 = 33, Contagem61 = 73, Contagem88 = 103, Total99 = 113;

QByteArray& linha(QList<QByteArray>& ls, int n) { return ls[n - 1]; }

QByteArray separadoPor(const QList<QByteArray>& ls, int depoisDa, const QByteArray& separador)
{
    QByteArray r;
    for (int i = 0; i < ls.size(); ++i) {
        if (i > 0)
            r += i == depoisDa ? separador : QByteArray("\r\n");
        r += ls[i];
    }
    return r;
}

} // namespace

class VerificaDano : public ::testing::TestWithParam<TDano> {};

TEST_P(VerificaDano, AchadaNaLinhaENaPosicao)
{
    QList<QByteArray> ls = separa(mesSao());
    ASSERT_EQ(tipos(ls), tiposDoMes) << "the damages below name the lines of this month";
    ASSERT_EQ(linha(ls, L90), QByteArray("90" "11222333000181" "123456789     " "50" "00000002" "51" "00000001"
                                         "53" "00000001" "60" "00000004" "61" "00000001" "70" "00000001" "71" "00000002"
                                         "88" "00000006" "99" "00000021" "     1"));
    const QByteArray bytes = GetParam().aplica(ls);
    ASSERT_NE(bytes, mesSao());
    const QList<TFalhaArquivo> falhas = TVerificadorArquivo::Verifica(bytes);
    const QList<TEsperada>& esperadas = GetParam().esperadas;
    ASSERT_EQ(falhas.size(), esperadas.size()) << mostra(falhas);
    for (qsizetype i = 0; i < falhas.size(); ++i) {
        EXPECT_EQ(falhas[i].linha, esperadas[i].linha) << i << mostra(falhas);
        EXPECT_EQ(falhas[i].posicao, esperadas[i].posicao) << i << mostra(falhas);
        EXPECT_TRUE(falhas[i].mensagem.contains(esperadas[i].trecho))
            << falhas[i].mensagem.toStdString() << " / " << esperadas[i].trecho.toStdString();
    }
    confereEmPartes(bytes, falhas);
}

// The order faults of a record 70 moved up to line 3: each record after it of an earlier type is out of place.
QList<TEsperada> foraDeOrdemDepoisDo70()
{
    QList<TEsperada> r = {{4, 1, "registro 50 fora de ordem: vem depois do registro 70"}};
    for (int l = 5; l <= 12; ++l)
        r << TEsperada{l, 1, "fora de ordem: vem depois do registro 70"};
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Verifica, VerificaDano,
    ::testing::Values(
        // ----- length
        TDano{"Linha125",
              [](QList<QByteArray>& ls) {
                  linha(ls, 4).remove(40, 1);
                  return junta(ls);
              },
              {{4, 0, "125 bytes em vez de 126"}}},
        TDano{"Linha127",
              [](QList<QByteArray>& ls) {
                  linha(ls, 12).append(' ');
                  return junta(ls);
              },
              {{12, 0, "127 bytes em vez de 126"}}},
        // ----- types
        TDano{"Tipo99",
              [](QList<QByteArray>& ls) {
                  linha(ls, 11).replace(0, 2, "99");
                  return junta(ls);
              },
              {{11, 1, "tipo de registro \"99\" desconhecido"},
               {L90, Contagem61, "conta 1 registros do tipo 61; o arquivo tem 0"}}},
        TDano{"Tipo45",
              [](QList<QByteArray>& ls) {
                  linha(ls, 3).replace(0, 2, "45");
                  return junta(ls);
              },
              {{3, 1, "tipo de registro \"45\" desconhecido"},
               {L90, Contagem50, "conta 2 registros do tipo 50; o arquivo tem 1"}}},
        // A record of an unknown sub-type is still a record of its type: record 90's count of the type holds.
        TDano{"Subtipo8899",
              [](QList<QByteArray>& ls) {
                  linha(ls, 17).replace(2, 2, "99");
                  return junta(ls);
              },
              {{17, 1, "subtipo \"8899\" do registro 88 desconhecido"}}},
        TDano{"Subtipo60X",
              [](QList<QByteArray>& ls) {
                  linha(ls, 9)[2] = 'X';
                  return junta(ls);
              },
              {{9, 3, "subtipo \"60X\" desconhecido"}}},
        // ----- fields
        TDano{"LetraNoValorTotalDo50",
              [](QList<QByteArray>& ls) {
                  linha(ls, 4)[59] = 'X';
                  return junta(ls);
              },
              {{4, 60, "campo numérico com o caractere \"X\""}}},
        TDano{"BrancoNaAliquotaDo50",
              [](QList<QByteArray>& ls) {
                  linha(ls, 3)[123] = ' ';
                  return junta(ls);
              },
              {{3, 124, "campo numérico com o caractere \" \""}}},
        // 8815 of 2006 carries the programme cheques where the older form has blanks: the period chooses.
        TDano{"LetraNoChequeDo8815",
              [](QList<QByteArray>& ls) {
                  linha(ls, 19)[59] = 'Z';
                  return junta(ls);
              },
              {{19, 60, "campo numérico com o caractere \"Z\""}}},
        TDano{"DataForaDoCalendario",
              [](QList<QByteArray>& ls) {
                  linha(ls, 3).replace(30, 8, "20060230");
                  return junta(ls);
              },
              {{3, 31, "\"20060230\" não é uma data do calendário"}}},
        TDano{"DataFinalDo10ForaDoCalendario",
              [](QList<QByteArray>& ls) {
                  linha(ls, 1).replace(115, 8, "20061331");
                  return junta(ls);
              },
              {{1, 116, "\"20061331\" não é uma data do calendário"}}},
        TDano{"LiteralDo8804",
              [](QList<QByteArray>& ls) {
                  linha(ls, 17).replace(86, 8, "19800102");
                  return junta(ls);
              },
              {{17, 87, "esperado \"19800101\", encontrado \"19800102\""}}},
        // ----- order
        TDano{"Troca50E70",
              [](QList<QByteArray>& ls) {
                  ls.swapItemsAt(2, 11);
                  return junta(ls);
              },
              foraDeOrdemDepoisDo70()},
        TDano{"60AAntesDo60M",
              [](QList<QByteArray>& ls) {
                  ls.swapItemsAt(6, 7);
                  return junta(ls);
              },
              {{7, 1, "registro 60A sem o seu registro 60M"}}},
        TDano{"8804Antes8801",
              [](QList<QByteArray>& ls) {
                  ls.swapItemsAt(14, 16);
                  return junta(ls);
              },
              {{16, 1, "registro 8802 fora de ordem entre os registros 88"},
               {17, 1, "registro 8801 fora de ordem entre os registros 88"}}},
        TDano{"8815Repetido",
              [](QList<QByteArray>& ls) {
                  linha(ls, 20) = linha(ls, 19);
                  return junta(ls);
              },
              {{20, 1, "registro 8815 repetido"}}},
        // ----- record 90
        TDano{"Contagem90Errada",
              [](QList<QByteArray>& ls) {
                  linha(ls, L90).replace(32, 8, "00000003");
                  return junta(ls);
              },
              {{L90, Contagem50, "conta 3 registros do tipo 50; o arquivo tem 2"}}},
        TDano{"Contagem88Errada",
              [](QList<QByteArray>& ls) {
                  linha(ls, L90).replace(102, 8, "00000004");
                  return junta(ls);
              },
              {{L90, Contagem88, "conta 4 registros do tipo 88; o arquivo tem 6"}}},
        TDano{"Total99Errado",
              [](QList<QByteArray>& ls) {
                  linha(ls, L90).replace(112, 8, "00000022");
                  return junta(ls);
              },
              {{L90, Total99, "totaliza 22 registros; o arquivo tem 21"}}},
        TDano{"FamiliaNaoContada",
              [](QList<QByteArray>& ls) {
                  QByteArray& r = linha(ls, L90);
                  r.remove(70, 10);   // the count of record 61
                  r.insert(115, QByteArray(10, ' '));
                  return junta(ls);
              },
              {{L90, 31, "não conta os 1 registros do tipo 61"}}},
        TDano{"Quantos90Errado",
              [](QList<QByteArray>& ls) {
                  linha(ls, L90)[125] = '2';
                  return junta(ls);
              },
              {{L90, 126, "declara 2 registros 90; o arquivo tem 1"}}},
        // ----- separators
        TDano{"LFSemCR",
              [](QList<QByteArray>& ls) { return separadoPor(ls, 3, "\n"); },
              {{3, 127, "LF sem o CR que o precede"}}},
        // A CR alone does not end the record: lines 3 and 4 are read as one, and record 90 then miscounts.
        TDano{"CRSemLF",
              [](QList<QByteArray>& ls) { return separadoPor(ls, 3, "\r"); },
              {{3, 127, "CR sem o LF que o segue"},
               {3, 0, "253 bytes em vez de 126"},
               {L90 - 1, Contagem50, "conta 2 registros do tipo 50; o arquivo tem 1"},
               {L90 - 1, Total99, "totaliza 21 registros; o arquivo tem 20"}}},
        TDano{"CRLFDepoisDoUltimo",
              [](QList<QByteArray>& ls) { return junta(ls) + "\r\n"; },
              {{L90, 0, "termina com uma quebra de linha depois do último registro"}}},
        TDano{"CRDepoisDoUltimo",
              [](QList<QByteArray>& ls) { return junta(ls) + "\r"; },
              {{L90, 127, "CR sem o LF que o segue"}, {L90, 0, "127 bytes em vez de 126"}}},
        TDano{"LinhaVazia",
              [](QList<QByteArray>& ls) { return separadoPor(ls, 12, "\r\n\r\n"); },
              {{13, 0, "0 bytes em vez de 126"},
               {13, 1, "registro sem tipo"},
               {L90 + 1, Total99, "totaliza 21 registros; o arquivo tem 22"}}},
        TDano{"ArquivoVazio", [](QList<QByteArray>&) { return QByteArray(); }, {{0, 0, "o arquivo está vazio"}}},
        // ----- bytes
        TDano{"Byte81NaRazaoSocial",
              [](QList<QByteArray>& ls) {
                  linha(ls, 1)[35] = char(0x81);
                  return junta(ls);
              },
              {{1, 36, "byte 0x81 fora da página de código"}}},
        TDano{"TabulacaoNoLogradouro",
              [](QList<QByteArray>& ls) {
                  linha(ls, 2)[20] = '\t';
                  return junta(ls);
              },
              {{2, 21, "byte 0x09 fora da página de código"}}},
        TDano{"NuloNaSerie",
              [](QList<QByteArray>& ls) {
                  linha(ls, 3)[43] = '\0';
                  return junta(ls);
              },
              {{3, 44, "byte 0x00 fora da página de código"}}},
        // A byte that is not a character is named by its code, never echoed.
        TDano{"ControleNoValorTotalDo50",
              [](QList<QByteArray>& ls) {
                  linha(ls, 4)[59] = '\x1b';
                  return junta(ls);
              },
              {{4, 60, "byte 0x1b fora da página de código"}, {4, 60, "campo numérico com o caractere \"<0x1b>\""}}},
        // ----- what the layout leaves blank, and the records 88 against record 10
        TDano{"LetraNosBrancosDo8801",
              [](QList<QByteArray>& ls) {
                  linha(ls, 15)[124] = 'X';
                  return junta(ls);
              },
              {{15, 125, "deixa em branco com o caractere \"X\""}}},
        TDano{"LetraNosBrancosDo90",
              [](QList<QByteArray>& ls) {
                  linha(ls, L90)[121] = '7';
                  return junta(ls);
              },
              {{L90, 122, "brancos depois das contagens"}}},
        TDano{"InscricaoDo8801Diferente",
              [](QList<QByteArray>& ls) {
                  linha(ls, 15).replace(4, 9, "987654322");
                  return junta(ls);
              },
              {{15, 5, "a inscrição estadual \"987654322\" do registro 8801 difere do registro 10 (\"123456789\")"}}},
        TDano{"PeriodoDo8802Diferente",
              [](QList<QByteArray>& ls) {
                  linha(ls, 16).replace(13, 6, "200608");
                  return junta(ls);
              },
              {{16, 14, "o período \"200608\" do registro 8802 difere do registro 10 (\"200607\")"}}},
        TDano{"LetraDoTipoDo8804Diferente",
              [](QList<QByteArray>& ls) {
                  linha(ls, 17)[19] = 'R';
                  return junta(ls);
              },
              {{17, 20, "a letra do tipo \"R\" do registro 8804 difere do registro 10 (\"N\")"}}},
        TDano{"LetraDoTipoDo8804Desconhecida",
              [](QList<QByteArray>& ls) {
                  linha(ls, 17)[19] = ' ';
                  return junta(ls);
              },
              {{17, 20, "não é N nem R"}}},
        TDano{"RegimeDo8804",
              [](QList<QByteArray>& ls) {
                  linha(ls, 17)[98] = '5';
                  return junta(ls);
              },
              {{17, 99, "código de regime \"5\" do registro 8804 diferente de 1, 7 e 3"}}},
        TDano{"HifenNoCrcDo8805",
              [](QList<QByteArray>& ls) {
                  linha(ls, 18)[20] = '-';
                  return junta(ls);
              },
              {{18, 21, "letras e algarismos com o caractere \"-\""}}},
        // 8815 and 8816 become municipalities (the counts of 88 hold).
        TDano{"MunicipioRepetidoNo8829",
              [](QList<QByteArray>& ls) {
                  linha(ls, 19) = "8829" "04405" "0000000012345" + QByteArray(104, ' ');
                  linha(ls, 20) = "8829" "04405" "0000000000100" + QByteArray(104, ' ');
                  return junta(ls);
              },
              {{20, 5, "município 4405 repetido nos registros 8829"}}},
        TDano{"MunicipiosForaDeOrdemNo8829",
              [](QList<QByteArray>& ls) {
                  linha(ls, 19) = "8829" "12345" "0000000012345" + QByteArray(104, ' ');
                  linha(ls, 20) = "8829" "00123" "0000000000100" + QByteArray(104, ' ');
                  return junta(ls);
              },
              {{20, 5, "município 123 fora da ordem dos códigos"}}},
        TDano{"TipoDeEntrega7No8830",
              [](QList<QByteArray>& ls) {
                  linha(ls, 20) = "8830" + QByteArray(32, ' ') + "7" "00000000" + QByteArray(81, ' ');
                  return junta(ls);
              },
              {{20, 37, "tipo de entrega \"7\" do registro 8830 fora de 0 a 3"}}},
        // A short record 10 is a fault of its own; the records its fields would be compared with are not
        // blamed for it.
        TDano{"Registro10Curto",
              [](QList<QByteArray>& ls) {
                  linha(ls, 1).remove(40, 1);
                  return junta(ls);
              },
              {{1, 0, "125 bytes em vez de 126"}}}),
    [](const ::testing::TestParamInfo<TDano>& i) { return std::string(i.param.nome); });

// A byte of the code page's upper half is a letter, not a fault: the accented name of a sound file passes.
TEST(VerificaArquivo, LetrasAcentuadasNaoSaoFalha)
{
    QList<QByteArray> ls = separa(mesSao());
    ASSERT_EQ(ls.size(), L90);
    linha(ls, 1).replace(30, 12, QByteArray("A\xC7\xDA" "CAR \xC9\xFF\xA0\xBA\xAA"));
    const QList<TFalhaArquivo> falhas = TVerificadorArquivo::Verifica(junta(ls));
    EXPECT_TRUE(falhas.isEmpty()) << mostra(falhas);
}

// ----- the fault cap

TEST(VerificaArquivo, NoMaximoMaxFalhasORestoContado)
{
    const QByteArray ruim = "45" + QByteArray(124, ' ');
    QList<QByteArray> ls;
    for (int i = 0; i < 1500; ++i)
        ls << ruim;
    const QByteArray bytes = junta(ls);
    qint64 omitidas = -1;
    const QList<TFalhaArquivo> falhas = porPartes(bytes, [] { return qsizetype(4096); }, &omitidas);
    // 1500 unknown records, of which the first MaxFalhas are listed; the file's missing records 10, 11 and 90
    // are listed after them whatever the cap.
    ASSERT_EQ(falhas.size(), TVerificadorArquivo::MaxFalhas + 3);
    EXPECT_EQ(omitidas, 1500 - TVerificadorArquivo::MaxFalhas);
    for (int i = 0; i < TVerificadorArquivo::MaxFalhas; ++i) {
        EXPECT_EQ(falhas[i].linha, i + 1);
        EXPECT_EQ(falhas[i].posicao, 1);
    }
    EXPECT_EQ(QStringList({falhas[1000].texto(), falhas[1001].texto(), falhas[1002].texto()}),
              QStringList({"falta o registro 10", "falta o registro 11", "falta o registro 90"}));

    QTemporaryDir pasta;
    const QString caminho = pasta.filePath("ruim.txt");
    grava(caminho, bytes);
    QString saida, erro;
    EXPECT_EQ(ExecutaVerifica(caminho, &saida, &erro), 1);
    const QStringList linhasDaSaida = saida.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(linhasDaSaida.size(), TVerificadorArquivo::MaxFalhas + 3 + 1);
    EXPECT_EQ(linhasDaSaida.first(), QString::fromUtf8("linha 1, posição 1: tipo de registro \"45\" desconhecido"));
    EXPECT_EQ(linhasDaSaida.last(), QStringLiteral("... e mais %1 falhas").arg(1500 - TVerificadorArquivo::MaxFalhas));
}

// ----- a huge line

namespace {

// The process's resident memory where the system tells it (Linux); -1 elsewhere.
qint64 memoriaResidente()
{
#if defined(Q_OS_LINUX)
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> campos = f.readAll().split(' ');
    return campos.size() > 1 ? campos[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
#else
    return -1;
#endif
}

} // namespace

TEST(VerificaArquivo, LinhaEnormeEmMemoriaLimitada)
{
    // 24 MB with no separator, in pieces as a file streams past, a tab in each piece: the line is too long
    // whatever it holds, so only the tab within its first 128 bytes is a fault of its own.
    constexpr qsizetype Pedaco = 64 * 1024;
    constexpr int Pedacos = 384;
    QByteArray pedaco(Pedaco, 'A');
    pedaco[100] = '\t';
    QElapsedTimer relogio;
    relogio.start();
    const qint64 antes = memoriaResidente();
    TVerificadorArquivo v;
    for (int i = 0; i < Pedacos; ++i)
        v.adiciona(pedaco);
    const qint64 depois = memoriaResidente();
    const QList<TFalhaArquivo> falhas = v.conclui();
    EXPECT_LT(relogio.elapsed(), 15000);
    if (antes > 0 && depois > 0) {
        EXPECT_LT(depois - antes, 8 * 1024 * 1024) << "the line must not be kept";
    }

    ASSERT_EQ(falhas.size(), 1 + 5) << mostra(falhas);
    EXPECT_EQ(falhas[0].texto(), QString::fromUtf8("linha 1, posição 101: byte 0x09 fora da página de código do arquivo"));
    EXPECT_EQ(falhas[1].texto(),
              QStringLiteral("linha 1: o registro tem %1 bytes em vez de 126").arg(qint64(Pedaco) * Pedacos));
    EXPECT_EQ(falhas[2].texto(), QString::fromUtf8("linha 1, posição 1: tipo de registro \"AA\" desconhecido"));
    EXPECT_EQ(QStringList({falhas[3].texto(), falhas[4].texto(), falhas[5].texto()}),
              QStringList({"falta o registro 10", "falta o registro 11", "falta o registro 90"}));
    EXPECT_EQ(v.linhas(), 1);
}

TEST(VerificaArquivo, LinhaEnormeDeUmArquivo)
{
    // Read from disk in blocks: the length is the whole line's, the faults the few it has.
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath("enorme.txt");
    const QByteArray bytes = "10" + QByteArray(6 * 1024 * 1024 - 2, '7');
    grava(caminho, bytes);
    QString saida, erro;
    EXPECT_EQ(ExecutaVerifica(caminho, &saida, &erro), 1);
    EXPECT_EQ(saida.split(QLatin1Char('\n')).first(),
              QStringLiteral("linha 1: o registro tem %1 bytes em vez de 126").arg(bytes.size()));
    EXPECT_TRUE(saida.contains("falta o registro 11")) << saida.toStdString();
    EXPECT_LT(saida.size(), 2000) << saida.left(2000).toStdString();
}

// ----- zelcli verifica

namespace {

struct TExecucao {
    int codigo = -1;
    QString saida, erros;
};

TExecucao zelcli(const QStringList& argumentos)
{
    QProcess p;
    p.start(QStringLiteral(ZELCLI), QStringList{"verifica"} + argumentos);
    TExecucao r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.codigo = p.exitCode();
    r.saida = QString::fromUtf8(p.readAllStandardOutput());
    r.erros = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

TEST(VerificaZelcli, ArquivoSaoSaidaZero)
{
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath("ZEL200607_123456789_331.txt");
    grava(caminho, mesSao());
    const TExecucao e = zelcli({caminho});
    EXPECT_EQ(e.codigo, 0) << e.erros.toStdString();
    EXPECT_EQ(e.saida, QStringLiteral("Nenhuma falha em 21 registros.\n"));
    EXPECT_TRUE(e.erros.isEmpty()) << e.erros.toStdString();
}

TEST(VerificaZelcli, ArquivoDanificadoListaCadaFalhaSaidaUm)
{
    QList<QByteArray> ls = separa(mesSao());
    ASSERT_EQ(ls.size(), L90);
    linha(ls, 3).replace(30, 8, "20060230");
    linha(ls, 4)[59] = 'X';
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath("danificado.txt");
    grava(caminho, separadoPor(ls, 5, "\n"));
    const TExecucao e = zelcli({caminho});
    EXPECT_EQ(e.codigo, 1) << e.erros.toStdString();
    EXPECT_EQ(e.saida.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({QString::fromUtf8("linha 3, posição 31: \"20060230\" não é uma data do calendário"),
                           QString::fromUtf8("linha 4, posição 60: campo numérico com o caractere \"X\""),
                           QString::fromUtf8("linha 5, posição 127: LF sem o CR que o precede")}));
}

TEST(VerificaZelcli, ArquivoAusenteOuUsoErradoSaidaDois)
{
    QTemporaryDir pasta;
    const QString ausente = pasta.filePath("nao-existe.txt");
    TExecucao e = zelcli({ausente});
    EXPECT_EQ(e.codigo, 2);
    EXPECT_TRUE(e.saida.isEmpty()) << e.saida.toStdString();
    EXPECT_TRUE(e.erros.startsWith("zelcli verifica: ") && e.erros.contains(ausente)) << e.erros.toStdString();

    // A device has no end to wait for: it is refused at once, never read.
    for (const QString& naoArquivo : {QStringLiteral("/dev/zero"), pasta.path()}) {
        e = zelcli({naoArquivo});
        EXPECT_EQ(e.codigo, 2) << naoArquivo.toStdString();
        EXPECT_TRUE(e.erros.contains(QString::fromUtf8("não é um arquivo comum")) ||
                    e.erros.contains(QString::fromUtf8("não foi possível abrir")))
            << e.erros.toStdString();
    }
    e = zelcli({"/dev/zero"});
    EXPECT_TRUE(e.erros.contains(QString::fromUtf8("/dev/zero não é um arquivo comum"))) << e.erros.toStdString();

    for (const QStringList& uso : {QStringList{}, QStringList{ausente, ausente}, QStringList{"--ajuda"}}) {
        e = zelcli(uso);
        EXPECT_EQ(e.codigo, 2) << uso.join(' ').toStdString();
        EXPECT_TRUE(e.erros.contains("zelcli verifica ARQUIVO")) << e.erros.toStdString();
    }
}
