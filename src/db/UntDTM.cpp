#include "db/UntDTM.h"

#include <QRegularExpression>

#include "db/untDTMCON.h"
#include "db/untEsquema.h"

TDTM::TDTM(TDTMCON& con)
    : ADOCommand(con), ADODataSetAtivo(con, QStringLiteral("ADODataSetAtivo")),
      ADODataSetVariavel(con, QStringLiteral("ADODataSetVariavel")),
      ADODataSetContador(con, QStringLiteral("ADODataSetContador")),
      ADODataSetNotas(con, QStringLiteral("ADODataSetNotas")), ADODataSetCFOP(con, QStringLiteral("ADODataSetCFOP")),
      m_con(con)
{
}

bool TDTM::podeExecutar()
{
    return m_con.Reabrir();
}

bool TDTM::cadaUmNaSuaArmadilha(const QStringList& comandos)
{
    if (!podeExecutar())
        return false;
    for (const QString& sql : comandos) {
        ADOCommand.setCommandText(sql);
        ADOCommand.tentaExecutar();
    }
    return true;
}

bool TDTM::todosNumaArmadilha(const QStringList& comandos)
{
    if (!podeExecutar())
        return false;
    for (const QString& sql : comandos) {
        ADOCommand.setCommandText(sql);
        if (!ADOCommand.tentaExecutar())
            break;
    }
    return true;
}

bool TDTM::CriarZelEpp() { return cadaUmNaSuaArmadilha({TEsquema::criaZelEpp()}); }
bool TDTM::AtualizarZelEpp() { return cadaUmNaSuaArmadilha(TEsquema::atualizaZelEpp()); }
bool TDTM::CriarZelSN() { return cadaUmNaSuaArmadilha({TEsquema::criaZelSN()}); }
bool TDTM::AtualizarZelSN() { return cadaUmNaSuaArmadilha(TEsquema::atualizaZelSN()); }
bool TDTM::CriarZelPrgGov() { return cadaUmNaSuaArmadilha({TEsquema::criaZelPrgGov()}); }
bool TDTM::AtualizarDadosAnuais() { return cadaUmNaSuaArmadilha({TEsquema::atualizaDadosAnuais()}); }
bool TDTM::AtualizarEmailContribuinte() { return cadaUmNaSuaArmadilha({TEsquema::atualizaEmailContribuinte()}); }
bool TDTM::CriarMunicipio() { return cadaUmNaSuaArmadilha({TEsquema::criaMunicipio()}); }
bool TDTM::AtualizarVornQuadroV() { return todosNumaArmadilha(TEsquema::atualizaVornQuadroV()); }
bool TDTM::CriarVornQuadroV() { return cadaUmNaSuaArmadilha({TEsquema::criaVornQuadroV()}); }
bool TDTM::AtualizarZel()
{
    // All or nothing: a refusal half-way must not leave some columns added and the closing data fix never run;
    // rolled back, the whole step is tried again next time. A column already there (a file left half-way by an
    // earlier version) is not added twice; when every column is already there the step has nothing to do, so
    // the data fix runs only on the start that adds the columns.
    if (!podeExecutar())
        return false;
    static const QRegularExpression reAdd(QStringLiteral("^Alter Table (\\w+) ADD (\\w+) "),
                                          QRegularExpression::CaseInsensitiveOption);
    try {
        TTransacao transacao(m_con);
        bool acrescentou = false;
        for (const QString& sql : TEsquema::atualizaZel()) {
            const auto m = reAdd.match(sql);
            if (m.hasMatch() && Sql::existeColuna(m_con.db(), m.captured(1), m.captured(2)))
                continue;
            if (!m.hasMatch() && sql.startsWith(QLatin1String("UPDATE"), Qt::CaseInsensitive) && !acrescentou)
                return true;
            acrescentou = acrescentou || m.hasMatch();
            ADOCommand.setCommandText(sql);
            if (!ADOCommand.tentaExecutar())
                return true;
        }
        transacao.commit();
    } catch (const EBancoDados&) { // the transaction itself could not be had or kept: nothing was changed
    }
    return true;
}

void TDTM::AposConectar()
{
    // Called from inside the connection's own opening, so it must not ask the connection to reopen.
    if (!m_con.conectado())
        return;
    ADOCommand.setCommandText(TEsquema::criaVornQuadroV());
    ADOCommand.tentaExecutar();
    for (const QString& sql : TEsquema::indicesEGuardas()) {
        ADOCommand.setCommandText(sql);
        ADOCommand.tentaExecutar();
    }
}

QList<TDTM::TPassoInicio> TDTM::passosDeInicio()
{
    const QString suporte = QStringLiteral(" \nConsulte o Suporte.");
    return {
        {[this] { return CriarZelEpp(); }, QStringLiteral("Ocorreu um erro ao criar Tabela EPP") + suporte},
        {[this] { return AtualizarZelEpp(); }, QStringLiteral("Ocorreu um erro ao Alterar Tabela EPP") + suporte},
        {[this] { return CriarZelSN(); }, QStringLiteral("Ocorreu um erro ao criar Tabela ZEL_SN") + suporte},
        {[this] { return AtualizarZelSN(); }, QStringLiteral("Ocorreu um erro ao Alterar Tabela ZEL_SN") + suporte},
        {[this] { return CriarZelPrgGov(); }, QStringLiteral("Ocorreu um erro ao criar Tabela ZEL_PRGGOV") + suporte},
        {[this] { return AtualizarDadosAnuais(); }, QString()},
        {[this] { return AtualizarEmailContribuinte(); }, QString()},
        {[this] { return CriarMunicipio() && AtualizarVornQuadroV(); },
         QStringLiteral("Ocorreu um erro ao criar a tabela municipio e/ou \nalterar a tabela VornQuadroV.")},
    };
}

void TDTM::LerContribuinteAtivo(int idAtivo)
{
    ADODataSetAtivo.setCommandText(QStringLiteral("SELECT * from Contribuinte WHERE IdContribuinte =:OLD_IdContribuinte"));
    ADODataSetAtivo.setParam(QStringLiteral("OLD_IdContribuinte"), idAtivo);
    ADODataSetAtivo.open();
}
