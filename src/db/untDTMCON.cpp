#include "db/untDTMCON.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

#include "core/DialogsNew.h"
#include "core/untProgresso.h"
#include "core/untSistema.h"
#include "db/untEsquema.h"
#include "db/untSqlite.h"

static bool renomeiaAtomico(const QString& de, const QString& para, QString* erro)
{
    if (Sistema::Substitui(de, para) == 0)
        return true;
    if (erro)
        *erro = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}


TDTMCON::TDTMCON(QString pasta, IDialogos& dialogos)
    : m_pasta(std::move(pasta)), m_dialogos(dialogos)
{
    substituiArquivo = renomeiaAtomico;
}

TDTMCON::~TDTMCON()
{
    Fechar();
}

QString TDTMCON::caminhoBanco() const
{
    return QDir(m_pasta).filePath(nomeBanco());
}

void TDTMCON::Fechar()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

static bool somenteLeitura(const QString& caminho)
{
    // The file's own read-only mark is honoured even for a user the system would let write anyway.
    const QFileInfo fi(caminho);
    return !(fi.permissions() & QFile::WriteOwner);
}

bool TDTMCON::abre(const QString& modo)
{
    Fechar();
    const QString caminho = caminhoBanco();
    if (!QFileInfo::exists(caminho))
        return false;
    const bool leitura = modo == QLatin1String("MAD");
    if (!leitura && somenteLeitura(caminho))
        return false;
    sqlite3* db = nullptr;
    const int flags = (leitura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX; // one thread uses the connection
    if (sqlite3_open_v2(QFile::encodeName(caminho).constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return false;
    }
    sqlite3_busy_timeout(db, esperaBloqueioMs);
    sqlite3_extended_result_codes(db, 1);
    if (!leitura && sqlite3_db_readonly(db, "main") == 1) {
        sqlite3_close_v2(db);
        return false;
    }
    bool ok = false;
    try {
        ok = TEsquema::ehNossoBanco(db);
        if (ok && modo == QLatin1String("JET")) {
            QString resultado;
            Sql::executa(db, QStringLiteral("PRAGMA quick_check"), TParametros(), nullptr,
                         [&](sqlite3_stmt* st) { resultado += Sql::valorColuna(st, 0).toString(); });
            ok = resultado == QLatin1String("ok");
        }
    } catch (const EBancoDados&) {
        ok = false;
    }
    if (!ok) {
        sqlite3_close_v2(db);
        return false;
    }
    Sql::registraFuncoesJet(db);
    // A month of a busy taxpayer touches a few megabytes of pages; a larger cache and reading through the
    // memory map keep the browse and summary queries from going back to the system for every page.
    sqlite3_exec(db, "PRAGMA cache_size = -32768; PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
    m_db = db;
    m_modo = modo;
    // A damaged file gets nothing written into it that the user did not ask for: no indexes, no guards.
    if (AposConectar && !danificado()) {
        try {
            AposConectar();
        } catch (const EBancoDados&) { // the after-connect step is allowed to fail (a table that exists)
        }
    }
    return true;
}

QString TDTMCON::Conectar()
{
    const QFileInfo fi(caminhoBanco());
    if (!fi.exists() || (fi.isFile() && fi.size() == 0)) {
        // Nothing to lose: a missing or empty file becomes the database the program is delivered with.
        TEsquema::criaBancoEntregue(caminhoBanco());
    }
    for (const char* modo : {"JET", "MSD", "MAD"})
        if (abre(QString::fromLatin1(modo)))
            return m_modo;
    m_modo.clear();
    MessageDlg(m_dialogos,
               QString::fromUtf8("Não foi possível realizar a \nconexão com a Base de Dados.\n"
                                 "Provavelmente a Base de Dados está danificada.\nRecupere o Backup da Base de Dados."),
               TipoMsg::Erro, {Botao::Ok});
    return QStringLiteral("ERR");
}

QString TDTMCON::mensagemDanificado()
{
    return QString::fromUtf8("A Base de Dados está danificada: a verificação de integridade encontrou erros.\n"
                             "Ela foi aberta como está, sem nenhuma alteração automática, mas dados podem "
                             "estar perdidos.\n\nRecomenda-se recuperar a Base de Dados de uma cópia de "
                             "segurança (Ajuda > Gerencia Backup).");
}

bool TDTMCON::Reabrir()
{
    if (m_db)
        return true;
    if (m_modo.isEmpty())
        return false;
    return abre(m_modo);
}

sqlite3* TDTMCON::db()
{
    if (!m_db && !Reabrir())
        throw EBancoDados(QString::fromUtf8("Sem conexão com a Base de Dados."));
    return m_db;
}

bool TDTMCON::CompactarBanco(const QString& nomeArquivo, IProgresso& progresso)
{
    progresso.inicia();
    progresso.posicao(10);
    const QFileInfo origem(QDir(m_pasta).filePath(nomeArquivo));
    const QString caminho = origem.absoluteFilePath();
    const QString temporario = origem.absoluteDir().filePath(QStringLiteral("TEMP") + origem.fileName());
    if (QFileInfo::exists(temporario))
        QFile::remove(temporario);
    progresso.posicao(25);

    bool ok = false;
    QString erro;
    sqlite3* fonte = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(caminho).constData(), &fonte, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(fonte, esperaBloqueioMs);
        try {
            // From the copy to the rename no other process may write: whatever it wrote would go to the file
            // that the rename takes away. In exclusive locking mode the lock of an (empty) exclusive
            // transaction stays held until the connection closes, and this connection may still read under it.
            const TParametros nenhum;
            Sql::executa(fonte, QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"), nenhum);
            Sql::executa(fonte, QStringLiteral("BEGIN EXCLUSIVE"), nenhum);
            Sql::executa(fonte, QStringLiteral("COMMIT"), nenhum);
            TParametros p;
            p.set(QStringLiteral("destino"), temporario);
            Sql::executa(fonte, QStringLiteral("VACUUM INTO :destino"), p);
            ok = true;
        } catch (const EBancoDados& e) {
            erro = e.mensagem();
        }
    } else {
        erro = QString::fromUtf8(sqlite3_errmsg(fonte));
    }

    if (ok && !Sistema::GravaNoDisco(temporario)) {
        ok = false;
        erro = QString::fromUtf8("Não foi possível gravar a cópia compactada em disco.");
    }
    if (ok) {
        QString motivo;
        if (!substituiArquivo(temporario, caminho, &motivo)) {
            ok = false;
            erro = QString::fromUtf8("Não foi possível substituir a Base de Dados pela cópia compactada: %1\n"
                                     "A Base de Dados não foi alterada.").arg(motivo);
        }
    }
    // Only now, with the compacted copy in place, may others write again.
    sqlite3_close_v2(fonte);
    if (ok) {
        progresso.posicao(40);
    } else {
        // A partial or orphaned copy must not linger beside the database.
        QFile::remove(temporario);
        m_dialogos.mensagemSimples(erro);
    }
    for (int i = 41; i <= 100; ++i) {
        progresso.posicao(i);
        progresso.pausa(10);
    }
    progresso.termina();
    return ok;
}
