#include "backup/untBackup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QTextStream>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>
#include <zip.h>

#include "core/untDatas.h"
#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "db/untEsquema.h"
#include "db/untTravaPasta.h"

namespace {

const char* const kGrupo = "Backup";

QString semBarraFinal(const QString& p)
{
    QString r = QDir::cleanPath(p);
    return r;
}

QString comBarraFinal(const QString& p)
{
    QString r = QDir::cleanPath(p);
    if (!r.endsWith(QLatin1Char('/')))
        r += QLatin1Char('/');
    return r;
}

QString erroDoSistema() { return QString::fromLocal8Bit(std::strerror(errno)); }


// A name in `pasta` that no file holds, for work in progress.
QString nomeTemporario(const QString& pasta, const QString& base)
{
    for (int i = 0;; ++i) {
        const QString nome = QDir(pasta).filePath(QStringLiteral(".%1.%2-%3.tmp").arg(base).arg(::getpid()).arg(i));
        if (!QFileInfo::exists(nome))
            return nome;
    }
}

// An entry name that could land anywhere but the folder it is extracted into.
bool nomePerigoso(const QString& nome)
{
    if (nome.isEmpty() || nome.startsWith(QLatin1Char('/')) || nome.startsWith(QLatin1Char('\\')) ||
        (nome.size() > 1 && nome[1] == QLatin1Char(':')))
        return true;
    const QStringList partes = QString(nome).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    return partes.contains(QStringLiteral(".."));
}

void progressoZip(zip_t*, double fracao, void* estado)
{
    const auto* b = static_cast<const TBackup*>(estado);
    if (b->progresso)
        b->progresso(int(fracao * 100));
}

QString digitos2(int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); }

QString horaPorExtenso(const QTime& t)
{
    return QStringLiteral("%1h%2min%3s").arg(digitos2(t.hour()), digitos2(t.minute()), digitos2(t.second()));
}

QString milhares(qint64 n)
{
    QString s = QString::number(n);
    for (int i = int(s.size()) - 3; i > 0; i -= 3)
        s.insert(i, QLatin1Char('.'));
    return s;
}

} // namespace

TBackup::TBackup(const QString& pastaPrograma, const QString& arquivoIni, IRelogio& relogio)
    : m_pastaPrograma(semBarraFinal(pastaPrograma)), m_ini(arquivoIni), m_relogio(relogio)
{
    pastaRecuperacao = m_pastaPrograma + QStringLiteral("/Tabelas");
    carrega();
}

TBackup::~TBackup()
{
    Salva();
}

QString TBackup::pastaPadrao() const
{
    return m_pastaPrograma + QStringLiteral("/Backup/");
}

void TBackup::AdicionaArquivo(const QString& caminho)
{
    if (!arquivos.contains(caminho))
        arquivos << caminho;
}

void TBackup::carrega()
{
    QSettings s(m_ini, QSettings::IniFormat);
    s.beginGroup(QLatin1String(kGrupo));
    configurado = s.value(QStringLiteral("Configurado"), false).toBool();
    ultimoArquivo = s.value(QStringLiteral("UltimoArquivo"), textoSemBackup()).toString();
    sempre = s.value(QStringLiteral("SempreFazer"), false).toBool();
    bool ok = false;
    const int dias = s.value(QStringLiteral("IntervaloMaximo"), 7).toInt(&ok);
    // A hand-edited file may hold anything: outside the range the screen offers, the default holds.
    intervalo = ok && dias >= IntervaloMinimo && dias <= IntervaloMaximo ? dias : 7;
    perguntar = s.value(QStringLiteral("PerguntarAoSair"), false).toBool();
    s.endGroup();

    pastas.clear();
    QFile f(QDir(m_pastaPrograma).filePath(nomeListaPastas()));
    if (f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&f);
        while (!in.atEnd()) {
            const QString pasta = NormalizaPasta(in.readLine());
            if (!pasta.isEmpty() && !pastas.contains(pasta))
                pastas << pasta;
        }
    }
    if (!pastas.contains(pastaPadrao()))
        pastas << pastaPadrao();
}

void TBackup::Salva() const
{
    QSettings s(m_ini, QSettings::IniFormat);
    s.beginGroup(QLatin1String(kGrupo));
    s.setValue(QStringLiteral("Configurado"), configurado);
    s.setValue(QStringLiteral("UltimoArquivo"), ultimoArquivo);
    s.setValue(QStringLiteral("SempreFazer"), sempre);
    s.setValue(QStringLiteral("IntervaloMaximo"), intervalo);
    s.setValue(QStringLiteral("PerguntarAoSair"), perguntar);
    s.endGroup();
    s.sync();

    const QString lista = QDir(m_pastaPrograma).filePath(nomeListaPastas());
    if (pastas.isEmpty()) {
        QFile::remove(lista);
        return;
    }
    QSaveFile f(lista);
    if (f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        for (const QString& p : pastas)
            f.write(QFile::encodeName(p) + '\n');
        f.commit();
    }
}

void TBackup::mostraDica(const QString& texto) const
{
    if (dica)
        dica(texto);
}

QString TBackup::TextoTipo(TTipoBackup tipo)
{
    switch (tipo) {
    case TTipoBackup::Automatico: return QString::fromUtf8("(automático)");
    case TTipoBackup::AntesDaRecuperacao: return QString::fromUtf8("(antes da recuperação)");
    case TTipoBackup::Manual: return QStringLiteral("(manual)");
    }
    return {};
}

QString TBackup::NomeArquivo(const QString& prefixo, const QDateTime& quando, TTipoBackup tipo)
{
    return QStringLiteral("%1 %2 %3 %4.zip")
        .arg(prefixo, quando.date().toString(QStringLiteral("yyyy-MM-dd")), horaPorExtenso(quando.time()), TextoTipo(tipo));
}

std::optional<QDateTime> TBackup::HoraDoNome(const QString& caminho)
{
    // Only the pattern of our names counts: digits elsewhere in a path (a folder "2024") are no time.
    static const QRegularExpression padrao(
        QStringLiteral("(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2})h(\\d{2})min(\\d{2})s \\([^)]*\\)\\.zip$"));
    const QRegularExpressionMatch m = padrao.match(QFileInfo(caminho).fileName());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime t(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!d.isValid() || !t.isValid())
        return std::nullopt;
    return QDateTime(d, t);
}

QString TBackup::Realiza(TTipoBackup tipo, const QString& pasta, QString* erro)
{
    struct TLimpaDica {
        const TBackup* b;
        ~TLimpaDica() { b->mostraDica(QString()); }
    } limpa{this};
    QString motivo;
    auto falha = [&](const QString& m) {
        if (erro)
            *erro = m;
        return QString();
    };

    mostraDica(QString::fromUtf8("Cópia de segurança - Checando pasta de backup..."));
    const QString destino = comBarraFinal(pasta.trimmed().isEmpty() ? pastaPadrao() : pasta.trimmed());
    if (!QDir().mkpath(destino))
        return falha(QString::fromUtf8("Não foi possível criar a pasta de backup %1.").arg(destino));
    if (arquivos.isEmpty())
        return falha(QString::fromUtf8("Não há arquivos para a cópia de segurança."));
    for (const QString& a : arquivos)
        if (!QFileInfo(a).isFile())
            return falha(QString::fromUtf8("O arquivo %1 não foi encontrado: nenhuma cópia foi feita.").arg(a));

    mostraDica(QString::fromUtf8("Cópia de segurança - Preparando compactação de arquivos..."));
    // The archive is written whole under a name of its own and only then named: a failure leaves nothing,
    // and an archive already there is never opened for writing.
    const QString temporario = nomeTemporario(destino, prefixo);
    int codigo = 0;
    zip_t* z = zip_open(QFile::encodeName(temporario).constData(), ZIP_CREATE | ZIP_EXCL, &codigo);
    if (!z) {
        zip_error_t e;
        zip_error_init_with_code(&e, codigo);
        motivo = QString::fromUtf8(zip_error_strerror(&e));
        zip_error_fini(&e);
        return falha(QString::fromUtf8("Não foi possível criar o arquivo de backup em %1: %2").arg(destino, motivo));
    }
    for (const QString& a : arquivos) {
        zip_source_t* fonte = zip_source_file(z, QFile::encodeName(a).constData(), 0, -1);
        const QByteArray entrada = QFileInfo(a).fileName().toUtf8();
        zip_int64_t indice = fonte ? zip_file_add(z, entrada.constData(), fonte, ZIP_FL_ENC_UTF_8) : -1;
        if (indice < 0) {
            if (fonte)
                zip_source_free(fonte);
            motivo = QString::fromUtf8(zip_strerror(z));
            zip_discard(z);
            QFile::remove(temporario);
            return falha(QString::fromUtf8("Não foi possível incluir %1 no backup: %2").arg(a, motivo));
        }
        zip_set_file_compression(z, zip_uint64_t(indice), ZIP_CM_DEFLATE, 0);
    }
    zip_register_progress_callback_with_state(z, 0.01, progressoZip, nullptr, const_cast<TBackup*>(this));

    mostraDica(QString::fromUtf8("Cópia de segurança - Compactando arquivos de dados..."));
    if (zip_close(z) != 0) {
        motivo = QString::fromUtf8(zip_strerror(z));
        zip_discard(z);
        QFile::remove(temporario);
        return falha(QString::fromUtf8("A cópia de segurança falhou: %1. Nenhum arquivo de backup foi gravado.").arg(motivo));
    }
    if (!GravaNoDisco(temporario)) {
        motivo = erroDoSistema();
        QFile::remove(temporario);
        return falha(QString::fromUtf8("A cópia de segurança falhou ao gravar no disco: %1.").arg(motivo));
    }

    mostraDica(QString::fromUtf8("Cópia de segurança - Renomeando arquivo de backup..."));
    // link(2) never replaces: a name already taken (two archives in the same second) falls back to the
    // plain name, and when that is taken too the archive is not delivered rather than written over another.
    QString final_;
    for (const QString& nome : {NomeArquivo(prefixo, m_relogio.agora(), tipo), prefixo + QStringLiteral(".zip")}) {
        const QString caminho = destino + nome;
        if (::link(QFile::encodeName(temporario).constData(), QFile::encodeName(caminho).constData()) == 0) {
            final_ = caminho;
            break;
        }
        if (errno != EEXIST) {
            motivo = erroDoSistema();
            break;
        }
    }
    QFile::remove(temporario);
    if (final_.isEmpty())
        return falha(motivo.isEmpty()
                         ? QString::fromUtf8("Já existem arquivos de backup com o nome deste em %1: tente de novo em "
                                             "um segundo.").arg(destino)
                         : QString::fromUtf8("Não foi possível dar nome ao arquivo de backup: %1.").arg(motivo));
    ultimoArquivo = final_;
    return final_;
}

bool TBackup::Recupera(const QString& arquivo, const std::function<bool()>& conexaoAberta, QString* erro)
{
    struct TLimpaDica {
        const TBackup* b;
        ~TLimpaDica() { b->mostraDica(QString()); }
    } limpa{this};
    const QString inalterado = QString::fromUtf8(" Os dados atuais não foram alterados.");
    auto falha = [&](const QString& m) {
        if (erro)
            *erro = m + inalterado;
        return false;
    };
    if (conexaoAberta && conexaoAberta())
        return falha(QString::fromUtf8("A recuperação não pode ser feita com a Base de Dados aberta."));
    const QString banco = QDir(pastaRecuperacao).filePath(nomeEntradaBanco());
    if (QFileInfo::exists(banco + QStringLiteral("-journal")) || QFileInfo::exists(banco + QStringLiteral("-wal")))
        return falha(QString::fromUtf8("A Base de Dados tem uma transação pendente (o programa foi interrompido): "
                                       "abra o programa uma vez antes de recuperar um backup."));

    // The archive is read and its database extracted and checked first: one that cannot be restored makes
    // no safety copy and changes nothing.
    int codigo = 0;
    zip_t* z = zip_open(QFile::encodeName(arquivo).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codigo);
    if (!z) {
        zip_error_t e;
        zip_error_init_with_code(&e, codigo);
        const QString motivo = QString::fromUtf8(zip_error_strerror(&e));
        zip_error_fini(&e);
        return falha(QString::fromUtf8("O arquivo %1 não pôde ser lido como backup: %2.").arg(arquivo, motivo));
    }
    struct TFechaZip {
        zip_t* z;
        ~TFechaZip() { zip_discard(z); }
    } fechaZip{z};
    const zip_int64_t n = zip_get_num_entries(z, 0);
    zip_int64_t indice = -1;
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* nome = zip_get_name(z, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        const QString texto = nome ? QString::fromUtf8(nome) : QString();
        if (nomePerigoso(texto))
            return falha(QString::fromUtf8("O arquivo %1 tem a entrada \"%2\", que sairia da pasta do programa: "
                                           "não é um backup deste sistema.").arg(arquivo, texto));
        if (texto == nomeEntradaBanco())
            indice = i;
    }
    if (indice < 0)
        return falha(QString::fromUtf8("O arquivo %1 não contém a Base de Dados (%2).").arg(arquivo, nomeEntradaBanco()));
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(z, zip_uint64_t(indice), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        return falha(QString::fromUtf8("O arquivo %1 não informa o tamanho da Base de Dados.").arg(arquivo));

    QString motivo;
    mostraDica(QString::fromUtf8("Cópia de segurança - Descompactando arquivos de dados..."));
    if (!QDir().mkpath(pastaRecuperacao))
        return falha(QString::fromUtf8("Não foi possível criar a pasta %1.").arg(pastaRecuperacao));
    const QString temporario = nomeTemporario(pastaRecuperacao, nomeEntradaBanco());
    QFile saida(temporario);
    auto desiste = [&](const QString& m) {
        saida.close();
        QFile::remove(temporario);
        return falha(m);
    };
    if (!saida.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return desiste(QString::fromUtf8("Não foi possível gravar em %1: %2.").arg(pastaRecuperacao, saida.errorString()));
    zip_file_t* entrada = zip_fopen_index(z, zip_uint64_t(indice), 0);
    if (!entrada)
        return desiste(QString::fromUtf8("A Base de Dados do backup não pôde ser aberta: %1.")
                           .arg(QString::fromUtf8(zip_strerror(z))));
    QByteArray bloco(1 << 20, Qt::Uninitialized);
    zip_uint64_t lidos = 0;
    bool ok = true;
    // Read to its end: the entry's checksum is verified there, and nothing beyond the size it declares is
    // taken.
    for (;;) {
        const zip_int64_t r = zip_fread(entrada, bloco.data(), zip_uint64_t(bloco.size()));
        if (r < 0) {
            motivo = QString::fromUtf8(zip_file_strerror(entrada));
            ok = false;
            break;
        }
        if (r == 0)
            break;
        lidos += zip_uint64_t(r);
        if (lidos > st.size) {
            motivo = QString::fromUtf8("a entrada é maior do que declara");
            ok = false;
            break;
        }
        if (saida.write(bloco.constData(), r) != r) {
            motivo = saida.errorString();
            ok = false;
            break;
        }
        if (progresso && st.size > 0)
            progresso(int(lidos * 100 / st.size));
    }
    zip_fclose(entrada);
    if (ok && lidos != st.size) {
        motivo = QString::fromUtf8("a entrada terminou antes do tamanho que declara");
        ok = false;
    }
    if (!ok)
        return desiste(QString::fromUtf8("A Base de Dados do backup está danificada: %1.").arg(motivo));
    if (!saida.flush()) {
        return desiste(QString::fromUtf8("Não foi possível gravar em %1: %2.").arg(pastaRecuperacao, saida.errorString()));
    }
    saida.close();

    // One of our databases, whole: the same tests as a start of the program.
    sqlite3* db = nullptr;
    QString problema;
    if (sqlite3_open_v2(QFile::encodeName(temporario).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        problema = QString::fromUtf8("não é uma Base de Dados");
    } else {
        try {
            if (!TEsquema::ehNossoBanco(db)) {
                problema = QString::fromUtf8("não é uma Base de Dados deste sistema");
            } else {
                sqlite3_stmt* q = nullptr;
                QString resultado;
                if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &q, nullptr) == SQLITE_OK &&
                    sqlite3_step(q) == SQLITE_ROW)
                    resultado = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)));
                sqlite3_finalize(q);
                if (resultado != QLatin1String("ok"))
                    problema = QString::fromUtf8("a verificação de integridade encontrou erros");
            }
        } catch (...) {
            problema = QString::fromUtf8("não é uma Base de Dados deste sistema");
        }
    }
    sqlite3_close_v2(db);
    if (!problema.isEmpty())
        return desiste(QString::fromUtf8("O arquivo %1 não pode ser recuperado: a Base de Dados contida nele %2.")
                           .arg(arquivo, problema));
    if (!GravaNoDisco(temporario))
        return desiste(QString::fromUtf8("Não foi possível gravar a Base de Dados recuperada no disco: %1.").arg(erroDoSistema()));

    // The safety copy of the current data once the archive is known to be good (a refused archive leaves no
    // trace), and before anything is replaced: without it there is no restore.
    if (Realiza(TTipoBackup::AntesDaRecuperacao, QString(), &motivo).isEmpty())
        return desiste(QString::fromUtf8("A cópia de segurança dos dados atuais, feita antes de toda recuperação, "
                                         "falhou: %1 Nada foi recuperado.").arg(motivo));

    mostraDica(QString::fromUtf8("Cópia de segurança - Recuperando arquivos da cópia de segurança..."));
    // rename(2) replaces in one step: the name holds the old database or the restored one, never neither.
    if (::rename(QFile::encodeName(temporario).constData(), QFile::encodeName(banco).constData()) != 0)
        return desiste(QString::fromUtf8("Não foi possível substituir a Base de Dados: %1.").arg(erroDoSistema()));
    ultimoArquivo = arquivo;
    recuperado = true;
    return true;
}

bool TBackup::Vencido(const QDateTime& agora) const
{
    if (sempre)
        return true;
    const std::optional<QDateTime> ultimo = ultimoBackup();
    if (!ultimo)
        return false;
    const QDateTime meiaNoite(agora.date(), QTime(0, 0));
    return ultimo->secsTo(meiaNoite) >= qint64(intervalo) * 86400;
}

QString TBackup::PerguntaAoSair(const QDateTime& agora) const
{
    const std::optional<QDateTime> ultimo = ultimoBackup();
    if (!ultimo)
        return QString::fromUtf8("O sistema ainda não possui nenhuma cópia de segurança!\nDeseja realizar cópia de "
                                 "segurança agora?");
    const qint64 dias = ultimo->date().daysTo(agora.date());
    const QString quando = QString::fromUtf8("%1, %2, às %3")
                               .arg(Datas::nomeDia(ultimo->date().dayOfWeek()),
                                    ultimo->date().toString(QStringLiteral("dd/MM/yyyy")), horaPorExtenso(ultimo->time()));
    QString texto;
    if (dias == 0)
        texto = QStringLiteral("hoje, ") + quando;
    else if (dias == 1)
        texto = QStringLiteral("ontem, ") + quando;
    else
        texto = QString::fromUtf8("há %1 dias (%2)").arg(milhares(dias), quando);
    return QString::fromUtf8("A última cópia de segurança dos dados do sistema foi realizada %1.\n\nDeseja realizar "
                             "cópia de segurança agora?")
        .arg(texto);
}

TBackup::TFim TBackup::FimDoPrograma()
{
    TFim r;
    const QDateTime agora = m_relogio.agora();
    if (Vencido(agora)) {
        if (!impedimento.isEmpty()) {
            r.acao = TFim::Acao::Impedido;
            r.mensagem = QString::fromUtf8("O backup automático não foi feito: %1").arg(impedimento);
            return r;
        }
        QString erro;
        r.arquivo = Realiza(TTipoBackup::Automatico, QString(), &erro);
        r.acao = r.arquivo.isEmpty() ? TFim::Acao::Falhou : TFim::Acao::Realizado;
        r.mensagem = erro;
        return r;
    }
    if (perguntar) {
        r.acao = TFim::Acao::Pergunta;
        r.mensagem = PerguntaAoSair(agora);
    }
    return r;
}

QStringList TBackup::ArquivosDaPasta(const QString& pasta) const
{
    if (pasta.trimmed().isEmpty())
        return {};
    QDir d(pasta);
    if (!d.exists())
        return {};
    return d.entryList({prefixo + QStringLiteral("*.zip")}, QDir::Files | QDir::Hidden, QDir::Name);
}

QString TBackup::NormalizaPasta(const QString& texto)
{
    QString t = texto.trimmed();
    if (t.isEmpty())
        return {};
    t.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return comBarraFinal(QFileInfo(t).absoluteFilePath());
}

bool TBackup::ApagaPasta(const QString& pasta, QString* erro) const
{
    auto recusa = [&](const QString& m) {
        if (erro)
            *erro = m;
        return false;
    };
    const QFileInfo info(pasta);
    if (!info.exists())
        return true;
    if (info.isSymLink() || !info.isDir())
        return recusa(QString::fromUtf8("'%1' não é uma pasta comum: só foi retirada da lista.").arg(pasta));
    const QString alvo = comBarraFinal(info.canonicalFilePath());
    const QString programa = comBarraFinal(QFileInfo(m_pastaPrograma).canonicalFilePath());
    const QString casa = comBarraFinal(QFileInfo(QDir::homePath()).canonicalFilePath());
    // Never the root, a home, the program's folder or a folder that holds it.
    if (alvo == QLatin1String("/") || alvo == casa || programa.startsWith(alvo) ||
        alvo.count(QLatin1Char('/')) <= 2)
        return recusa(QString::fromUtf8("A pasta '%1' não pode ser excluída por este programa: só foi retirada da lista.")
                          .arg(pasta));
    // Only this program's archives and empty folders are deleted; anything else keeps the folder on disk.
    QStringList arquivosDoBackup, subpastas;
    const QRegularExpression nosso(QStringLiteral("^") + QRegularExpression::escape(prefixo) + QStringLiteral(".*\\.zip$"));
    QDirIterator it(alvo, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo f = it.fileInfo();
        if (f.isSymLink() || (!f.isDir() && !(f.isFile() && nosso.match(f.fileName()).hasMatch())))
            return recusa(QString::fromUtf8("A pasta '%1' contém outros arquivos além das cópias de segurança "
                                            "(%2): só foi retirada da lista.")
                              .arg(pasta, f.filePath()));
        (f.isDir() ? subpastas : arquivosDoBackup) << f.filePath();
    }
    bool tudo = true;
    for (const QString& a : arquivosDoBackup) {
        QFile::setPermissions(a, QFile::permissions(a) | QFileDevice::WriteOwner);
        tudo = QFile::remove(a) && tudo;
    }
    // Deepest first.
    std::sort(subpastas.begin(), subpastas.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& s : subpastas)
        tudo = QDir().rmdir(s) && tudo;
    tudo = QDir().rmdir(alvo) && tudo;
    if (!tudo)
        return recusa(QString::fromUtf8("A pasta '%1' não pôde ser excluída por inteiro.").arg(pasta));
    return true;
}

// ----- the command-line tool

namespace {

struct TBackupDaPasta {
    TTravaPasta trava;
    std::unique_ptr<TBackup> backup;
    QString banco;

    TBackupDaPasta(const QString& pasta, IRelogio& relogio) : trava(pasta)
    {
        banco = QDir(pasta).filePath(TBackup::nomeEntradaBanco());
        backup = std::make_unique<TBackup>(pasta, QDir(pasta).filePath(QStringLiteral("zel.ini")), relogio);
        backup->prefixo = QStringLiteral("BackupZel");
        backup->AdicionaArquivo(banco);
        backup->pastaRecuperacao = QDir::cleanPath(pasta);
    }
};

} // namespace

int ExecutaBackup(const QString& pasta, const QString& destino, IRelogio& relogio, QString* saida, QString* erro)
{
    if (!QFileInfo(QDir(pasta).filePath(TBackup::nomeEntradaBanco())).isFile()) {
        *erro = QString::fromUtf8("a pasta %1 não tem a Base de Dados %2").arg(pasta, TBackup::nomeEntradaBanco());
        return 1;
    }
    TBackupDaPasta b(pasta, relogio);
    if (!b.trava.trava()) {
        *erro = TTravaPasta::mensagemOcupada();
        return 1;
    }
    const QString arquivo = b.backup->Realiza(TTipoBackup::Manual, destino, erro);
    if (arquivo.isEmpty())
        return 1;
    *saida = arquivo;
    return 0;
}

int ExecutaRestaura(const QString& pasta, const QString& arquivo, IRelogio& relogio, QString* saida, QString* erro)
{
    if (!QFileInfo(arquivo).isFile()) {
        *erro = QString::fromUtf8("o arquivo %1 não existe").arg(arquivo);
        return 1;
    }
    if (!QFileInfo(QDir(pasta).filePath(TBackup::nomeEntradaBanco())).isFile()) {
        *erro = QString::fromUtf8("a pasta %1 não tem a Base de Dados %2").arg(pasta, TBackup::nomeEntradaBanco());
        return 1;
    }
    TBackupDaPasta b(pasta, relogio);
    if (!b.trava.trava()) {
        *erro = TTravaPasta::mensagemOcupada();
        return 1;
    }
    // The tool never holds a connection: nothing is open while the file is replaced.
    if (!b.backup->Recupera(arquivo, [] { return false; }, erro))
        return 1;
    *saida = QString::fromUtf8("Cópia de segurança recuperada com sucesso.");
    return 0;
}
