#include "reports/untRelatorioLinhaComando.h"

#include <QDir>
#include <QFileInfo>

#include "core/DialogsNew.h"
#include "db/UntDTM.h"
#include "db/untBancoPasta.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untDadosAnuais.h"
#include "declarations/untQuadroV.h"
#include "declarations/untZel.h"
#include "declarations/untZelEpp.h"
#include "declarations/untZelSN.h"
#include "documents/untClsCupomFiscal.h"
#include "documents/untClsNotaTalao.h"
#include "documents/untClsNotaTransporte.h"
#include "documents/untConsultasNotas.h"
#include "registers/untClsContribuinte.h"
#include "reports/untRelatorios.h"

namespace {

// No window: whatever the connection would ask or tell goes nowhere, and the caller reports `erro`.
class TDialogosMudos final : public IDialogos {
public:
    Botao mostraMensagem(const TPedidoMensagem& p) override { return p.cancela != Botao::Nenhum ? p.cancela : Botao::Ok; }
    bool confirmaExclusao(const QString&) override { return false; }
    void mensagemSimples(const QString&) override {}
    QString salvarArquivo(const QString&, const QString&, const QString&) override { return {}; }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    bool abrirAssociado(const QString&) override { return false; }
    int executaModal(QObject*) override { return 0; }
};

bool doContribuinte(const QString& nome)
{
    static const QStringList semContribuinte = {"contadores", "contribuintes", "fornecedores", "cfop", "municipios"};
    return !semContribuinte.contains(nome);
}

// The id of the taxpayer's declaration row of the period in `tabela`, newest first; 0 for none.
int declaracaoDoPeriodo(TDTMCON& con, const char* tabela, const char* chave, int idAtivo, const QString& periodo)
{
    TDataSet q(con);
    q.setCommandText(QStringLiteral("SELECT %2 FROM %1 WHERE IdContribuinte =:IdAtivo AND Periodo =:Periodo ORDER BY %2 DESC")
                         .arg(QString::fromLatin1(tabela), QString::fromLatin1(chave)));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    q.setParam(QStringLiteral("Periodo"), periodo);
    q.open();
    return q.isEmpty() ? 0 : q.asInteger(QString::fromLatin1(chave));
}

} // namespace

const QStringList& NomesRelatorios()
{
    static const QStringList n = {"notas",      "talao", "transporte", "ecf",     "contadores", "contribuintes", "fornecedores",
                                  "cfop",       "municipios", "quadrov", "anuais", "zel", "epp", "sn"};
    return n;
}

int MontaRelatorio(const TOpcoesRelatorio& o, TRelatorio* r, QString* erro)
{
    const QString nome = o.nome.toLower();
    if (!NomesRelatorios().contains(nome)) {
        *erro = QString::fromUtf8("relatório desconhecido: %1 (%2)").arg(o.nome, NomesRelatorios().join(QStringLiteral(", ")));
        return 2;
    }
    const bool porPeriodo = !QStringList{"contadores", "contribuintes", "fornecedores", "cfop", "municipios", "anuais"}.contains(nome);
    if (doContribuinte(nome) && o.ie.isEmpty()) {
        *erro = QString::fromUtf8("informe --ie");
        return 2;
    }
    if ((porPeriodo || nome == QLatin1String("anuais")) && doContribuinte(nome) && o.periodo.size() != 6) {
        *erro = QString::fromUtf8("informe --periodo AAAAMM");
        return 2;
    }
    TDialogosMudos dialogos;
    TDTMCON con(o.pasta, dialogos);
    TDTM dtm(con);
    int idAtivo = 0;
    if (doContribuinte(nome)) {
        if (const int rc = AbreContribuinteDaPasta(con, o.ie, &idAtivo, erro); rc != 0)
            return rc;
    } else {
        const QFileInfo banco(con.caminhoBanco());
        if (!banco.isFile() || banco.size() == 0 || con.Conectar() == QLatin1String("ERR")) {
            *erro = QString::fromUtf8("não há banco de dados utilizável em %1").arg(o.pasta);
            return 1;
        }
    }
    Relatorios::TCabecalho c;
    c.idAtivo = idAtivo;
    c.emissao = o.emissao;
    c.ano = o.periodo.left(4);
    c.mes = o.periodo.mid(4, 2);
    const ConsultasNotas::TPeriodo p = ConsultasNotas::periodo(c.mes, c.ano);
    const QString semLinhas = QString::fromUtf8("Não há lançamentos neste período!");
    try {
        TDataSet lista(con);
        auto vazia = [&] {
            if (!lista.isEmpty())
                return false;
            *erro = semLinhas;
            return true;
        };
        if (nome == QLatin1String("notas")) {
            const QString tipo = o.tipo.toUpper() == QLatin1String("E") ? QStringLiteral("E") : QStringLiteral("S");
            ConsultasNotas::AbreLista(lista, idAtivo, tipo, p);
            if (vazia())
                return 1;
            *r = Relatorios::Notas(dtm, c, lista, tipo);
        } else if (nome == QLatin1String("talao")) {
            ConsultasTalao::AbreLista(lista, idAtivo, p);
            if (vazia())
                return 1;
            *r = Relatorios::NotasTalao(dtm, c, lista);
        } else if (nome == QLatin1String("transporte")) {
            const QString modalidade = o.modalidade.toUpper() == QLatin1String("FOB") ? QStringLiteral("2") : QStringLiteral("1");
            ConsultasTransporte::AbreLista(lista, idAtivo, modalidade, p);
            if (vazia())
                return 1;
            *r = Relatorios::NotasTransporte(dtm, c, lista, modalidade);
        } else if (nome == QLatin1String("ecf")) {
            ConsultasCupom::AbreLista(lista, idAtivo, p);
            if (vazia())
                return 1;
            *r = Relatorios::Ecf(dtm, c, lista);
        } else if (nome == QLatin1String("contadores")) {
            lista.setCommandText(QStringLiteral("SELECT * from Contador ORDER BY Nome"));
            lista.open();
            *r = Relatorios::Contadores(lista, o.emissao);
        } else if (nome == QLatin1String("contribuintes") || nome == QLatin1String("fornecedores")) {
            TContribuinte t(dtm);
            const bool contribuintes = nome == QLatin1String("contribuintes");
            t.ListarTipo(contribuintes ? QStringLiteral("C") : QStringLiteral("F"), false);
            *r = contribuintes ? Relatorios::Contribuintes(dtm, dtm.ADODataSetVariavel, o.emissao)
                               : Relatorios::Fornecedores(dtm.ADODataSetVariavel, o.emissao);
        } else if (nome == QLatin1String("cfop")) {
            *r = Relatorios::Cfop(dtm, o.digitos == 3 ? 3 : 4, o.emissao);
        } else if (nome == QLatin1String("municipios")) {
            *r = Relatorios::Municipios(dtm, o.emissao);
        } else if (nome == QLatin1String("quadrov")) {
            AbreListaQuadroV(lista, idAtivo, c.mes, c.ano);
            if (vazia())
                return 1;
            *r = Relatorios::QuadroV(dtm, c, lista);
        } else if (nome == QLatin1String("anuais")) {
            TDataSet q(con);
            q.setCommandText(QStringLiteral("SELECT IdDadosAnuais FROM DadosAnuais WHERE IdContribuinte =:IdAtivo AND "
                                            "CAST(Ano AS INTEGER) = :Ano ORDER BY IdDadosAnuais DESC"));
            q.setParam(QStringLiteral("IdAtivo"), idAtivo);
            q.setParam(QStringLiteral("Ano"), c.ano.toInt());
            q.open();
            TDadosAnuais d(dtm);
            if (q.isEmpty() || !d.CarregarId(q.asInteger(QStringLiteral("IdDadosAnuais")), idAtivo)) {
                *erro = QString::fromUtf8("não há dados anuais de %1").arg(c.ano);
                return 1;
            }
            *r = Relatorios::DadosAnuais(dtm, c, d);
        } else {
            static const char* const tabelas[] = {"ZEL", "ZEL_EPP", "ZEL_SN"};
            static const char* const chaves[] = {"IDZel", "IdEpp", "IdSN"};
            const int k = nome == QLatin1String("zel") ? 0 : nome == QLatin1String("epp") ? 1 : 2;
            const int id = declaracaoDoPeriodo(con, tabelas[k], chaves[k], idAtivo, o.periodo);
            bool achou = false;
            if (id != 0) {
                if (k == 0) {
                    TZel z(dtm);
                    if ((achou = z.CarregarId(id, idAtivo)))
                        *r = Relatorios::Zel(dtm, c, z);
                } else if (k == 1) {
                    TZelEPP z(dtm);
                    if ((achou = z.CarregarId(id, idAtivo)))
                        *r = Relatorios::ZelEpp(dtm, c, z);
                } else {
                    TZelSN z(dtm);
                    if ((achou = z.CarregarId(id, idAtivo)))
                        *r = Relatorios::ZelSN(dtm, c, z);
                }
            }
            if (!achou) {
                *erro = QString::fromUtf8("não há declaração de %1/%2").arg(c.mes, c.ano);
                return 1;
            }
        }
    } catch (const EBancoDados& e) {
        *erro = e.mensagem();
        return 1;
    }
    return 0;
}
