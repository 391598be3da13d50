#include "backup/untBackup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStorageInfo>
#include <QTextStream>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <sqlite3.h>
#include <vector>
#include <zip.h>

#include "core/untDatas.h"
#include "core/untRelogio.h"
#include "core/untSistema.h"
#include "db/untEsquema.h"
#include "db/untSqlite.h"
#include "db/untTravaPasta.h"

namespace {

const char* const kGrupo = "Backup";
// Every database file starts with these 16 bytes.
const QByteArray kCabecalhoBanco("SQLite format 3\0", 16);
const char* const kNenhumGravado = " Nenhum arquivo de backup foi gravado.";

// Paths are kept absolute and clean: a relative one would mean another folder from another working
// directory, and "./Backup/" beside "/dados/Backup/" would be one folder listed twice.
QString absoluta(const QString& p)
{
    return QDir::cleanPath(QFileInfo(p).absoluteFilePath());
}

QString comBarraFinal(const QString& p)
{
    QString r = absoluta(p);
    if (!r.endsWith(QLatin1Char('/')))
        r += QLatin1Char('/');
    return r;
}

// A name in `pasta` that no file holds, for work in progress. The process id in it tells a file left by a
// copy that was killed (LimpaTemporarios) from one still being written.
QString nomeTemporario(const QString& pasta, const QString& base)
{
    for (int i = 0;; ++i) {
        const QString nome = QDir(pasta).filePath(QStringLiteral(".%1.%2-%3.tmp").arg(base).arg(Sistema::IdProcesso()).arg(i));
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

QString tamanhoLegivel(qint64 n)
{
    const QLocale br(QLocale::Portuguese, QLocale::Brazil);
    if (n < 1024 * 1024)
        return br.toString(qMax<qint64>(1, (n + 1023) / 1024)) + QStringLiteral(" KB");
    if (n < qint64(1024) * 1024 * 1024)
        return br.toString(double(n) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
    return br.toString(double(n) / (1024.0 * 1024 * 1024), 'f', 1) + QStringLiteral(" GB");
}

QString textoErroZip(const zip_error_t* e)
{
    return TextoErroZip(zip_error_code_zip(e),
                        zip_error_system_type(e) == ZIP_ET_SYS ? zip_error_code_system(e) : 0);
}

int erroSistemaZip(const zip_error_t* e)
{
    return zip_error_system_type(e) == ZIP_ET_SYS ? zip_error_code_system(e) : 0;
}

// The failures of writing that say nothing about the archive: the disk, the quota, the size limit, the
// permissions. A good backup must never be blamed for them.
bool falhaDeGravacao(int e)
{
    return e == ENOSPC || e == EDQUOT || e == EFBIG || e == EACCES || e == EPERM || e == EROFS;
}

QString mensagemDeGravacao(int e, const QString& pasta, qint64 necessario, qint64 livre)
{
    const QString p = QDir::toNativeSeparators(pasta);
    const QString precisa = tamanhoLegivel(necessario);
    switch (e) {
    case ENOSPC:
        return livre >= 0 ? QString::fromUtf8("Não há espaço livre suficiente no disco da pasta %1: são necessários %2 "
                                              "e há %3 livres.").arg(p, precisa, tamanhoLegivel(livre))
                          : QString::fromUtf8("Não há espaço livre suficiente no disco da pasta %1: são necessários %2.")
                                .arg(p, precisa);
    case EDQUOT:
        return QString::fromUtf8("A cota de disco do usuário na pasta %1 se esgotou: são necessários %2.").arg(p, precisa);
    case EFBIG:
        return QString::fromUtf8("O arquivo não pôde ser gravado na pasta %1: com %2, ele passaria do tamanho máximo de "
                                 "arquivo permitido (pelo limite do sistema para este programa ou pelo tipo de disco).")
            .arg(p, precisa);
    case EROFS:
        return QString::fromUtf8("A pasta %1 está num disco somente para leitura: não é possível gravar nela os %2 "
                                 "necessários.").arg(p, precisa);
    case EACCES:
    case EPERM:
        return QString::fromUtf8("Falta permissão de gravação na pasta %1 (são necessários %2 livres nela).").arg(p, precisa);
    default:
        return QString::fromUtf8("Não foi possível gravar na pasta %1: %2.").arg(p, TextoErroSistema(e));
    }
}

struct TExtracao {
    enum class Falha { Nenhuma, Danificada, NaoEBanco, Gravacao };
    Falha falha = Falha::Nenhuma;
    int erro = 0;      // Gravacao: the system's reason
    QString motivo;    // Danificada
};

// Extracts entry `indice`, which declares `tamanho` bytes, into the new file `caminho`, flushed to the disk.
// Read to its end: the entry's checksum is verified there, and nothing beyond the size it declares is taken.
// With `banco`, an entry that does not start with the database header is refused at its first block, before
// a byte is written: a small archive of a huge run of zeros must not fill the disk first.
TExtracao extrai(zip_t* z, zip_uint64_t indice, zip_uint64_t tamanho, const QString& caminho, bool banco,
                 const std::function<void(int)>& progresso)
{
    TExtracao r;
    zip_file_t* entrada = zip_fopen_index(z, indice, 0);
    if (!entrada) {
        r.falha = TExtracao::Falha::Danificada;
        r.motivo = textoErroZip(zip_get_error(z));
        return r;
    }
    const int fd = Sistema::CriaExclusivo(caminho);
    if (fd < 0) {
        r.falha = TExtracao::Falha::Gravacao;
        r.erro = errno;
        zip_fclose(entrada);
        return r;
    }
    QByteArray bloco(1 << 20, Qt::Uninitialized);
    zip_uint64_t lidos = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(entrada, bloco.data(), zip_uint64_t(bloco.size()));
        if (n < 0) {
            r.falha = TExtracao::Falha::Danificada;
            r.motivo = textoErroZip(zip_file_get_error(entrada));
            break;
        }
        if (n == 0)
            break;
        if (banco && lidos == 0 && (n < kCabecalhoBanco.size() || !bloco.startsWith(kCabecalhoBanco))) {
            r.falha = TExtracao::Falha::NaoEBanco;
            break;
        }
        lidos += zip_uint64_t(n);
        if (lidos > tamanho) {
            r.falha = TExtracao::Falha::Danificada;
            r.motivo = QString::fromUtf8("a entrada é maior do que declara");
            break;
        }
        if (!Sistema::EscreveTudo(fd, bloco.constData(), n)) {
            r.falha = TExtracao::Falha::Gravacao;
            r.erro = errno;
            break;
        }
        if (progresso && tamanho > 0)
            progresso(int(lidos * 100 / tamanho));
    }
    zip_fclose(entrada);
    if (r.falha == TExtracao::Falha::Nenhuma && banco && lidos == 0)
        r.falha = TExtracao::Falha::NaoEBanco;
    if (r.falha == TExtracao::Falha::Nenhuma && lidos != tamanho) {
        r.falha = TExtracao::Falha::Danificada;
        r.motivo = QString::fromUtf8("a entrada terminou antes do tamanho que declara");
    }
    if (r.falha == TExtracao::Falha::Nenhuma && !Sistema::Sincroniza(fd)) {
        r.falha = TExtracao::Falha::Gravacao;
        r.erro = errno;
    }
    if (!Sistema::Fecha(fd) && r.falha == TExtracao::Falha::Nenhuma) {
        r.falha = TExtracao::Falha::Gravacao;
        r.erro = errno;
    }
    if (r.falha != TExtracao::Falha::Nenhuma)
        QFile::remove(caminho);
    return r;
}

// One of our databases, whole: the same tests as a start of the program. Empty when it is; otherwise what
// is wrong, as a clause about "the database".
enum class TProblemaBanco { Nenhum, NaoEBanco, Outro, Danificado };
TProblemaBanco verificaBanco(const QString& caminho)
{
    sqlite3* db = nullptr;
    TProblemaBanco problema = TProblemaBanco::Nenhum;
    if (sqlite3_open_v2(QFile::encodeName(caminho).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        problema = TProblemaBanco::NaoEBanco;
    } else {
        try {
            if (!TEsquema::ehNossoBanco(db)) {
                problema = TProblemaBanco::Outro;
            } else {
                QString resultado;
                Sql::executa(db, QStringLiteral("PRAGMA integrity_check"), TParametros(), nullptr,
                             [&](sqlite3_stmt* st) {
                                 if (resultado.isEmpty())
                                     resultado = Sql::valorColuna(st, 0).toString();
                             });
                if (resultado != QLatin1String("ok"))
                    problema = TProblemaBanco::Danificado;
            }
        } catch (const EBancoDados& e) {
            // A file that starts as a database but whose pages the engine cannot read is a damaged one.
            problema = (e.codigo() & 0xff) == SQLITE_CORRUPT ? TProblemaBanco::Danificado : TProblemaBanco::NaoEBanco;
        } catch (...) {
            problema = TProblemaBanco::NaoEBanco;
        }
    }
    sqlite3_close_v2(db);
    return problema;
}

bool comecaComoBanco(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) && f.read(kCabecalhoBanco.size()) == kCabecalhoBanco;
}

// A read transaction on a database file, held while the file is archived. Taking it, the engine first rolls
// back what a writer killed in the middle of a transaction left (its journal beside the file); while it is
// held no writer can commit. So the archived bytes are those of a committed, sound database.
class TLeituraConsistente {
public:
    TLeituraConsistente() = default;
    TLeituraConsistente(const TLeituraConsistente&) = delete;
    TLeituraConsistente& operator=(const TLeituraConsistente&) = delete;
    ~TLeituraConsistente()
    {
        if (m_db) {
            sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close_v2(m_db);
        }
    }
    // Empty on success; the reason otherwise.
    QString abre(const QString& caminho)
    {
        // Read-write even to read: rolling a pending transaction back writes. A file marked read-only is
        // opened for reading and can be archived when nothing is pending.
        const bool gravavel = QFileInfo(caminho).permissions() & QFile::WriteOwner;
        if (sqlite3_open_v2(QFile::encodeName(caminho).constData(), &m_db,
                            gravavel ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            return QString::fromUtf8("o arquivo não pôde ser aberto (%1)").arg(QString::fromUtf8(sqlite3_errmsg(m_db)));
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, 10000);
        try {
            Sql::executa(m_db, QStringLiteral("BEGIN"), TParametros());
            Sql::executa(m_db, QStringLiteral("SELECT COUNT(*) FROM sqlite_master"), TParametros());
        } catch (const EBancoDados& e) {
            switch (e.codigo() & 0xff) {
            case SQLITE_BUSY:
            case SQLITE_LOCKED:
                return QString::fromUtf8("outro programa está gravando nela e não a liberou a tempo; tente de novo");
            case SQLITE_READONLY:
            case SQLITE_CANTOPEN:
            case SQLITE_PERM:
                return QString::fromUtf8("uma transação interrompida (o arquivo %1-journal) não pôde ser desfeita por "
                                         "falta de permissão de gravação na pasta ou no arquivo")
                    .arg(QFileInfo(caminho).fileName());
            case SQLITE_NOTADB:
            case SQLITE_CORRUPT:
                return QString::fromUtf8("ela está danificada");
            case SQLITE_IOERR:
                return QString::fromUtf8("erro de leitura ou gravação no disco");
            default:
                return e.mensagem();
            }
        }
        return {};
    }

private:
    sqlite3* m_db = nullptr;
};

int ligaNoSistema(const char* de, const char* para)
{
    return Sistema::Liga(QFile::decodeName(de), QFile::decodeName(para));
}

int renomeiaSemSubstituirNoSistema(const char* de, const char* para)
{
    return Sistema::RenomeiaSemSubstituir(QFile::decodeName(de), QFile::decodeName(para));
}

} // namespace

QString TextoErroSistema(int erro)
{
    switch (erro) {
    case 0: return QString::fromUtf8("erro desconhecido");
    case ENOSPC: return QString::fromUtf8("não há espaço livre no disco");
    case EDQUOT: return QString::fromUtf8("a cota de disco do usuário se esgotou");
    case EFBIG: return QString::fromUtf8("o arquivo passaria do tamanho máximo permitido");
    case EACCES:
    case EPERM: return QString::fromUtf8("falta permissão");
    case EROFS: return QString::fromUtf8("o disco está somente para leitura");
    case ENOENT: return QString::fromUtf8("o arquivo ou a pasta não existe");
    case EEXIST: return QString::fromUtf8("já existe um arquivo com esse nome");
    case ENOTDIR: return QString::fromUtf8("uma parte do caminho não é uma pasta");
    case EISDIR: return QString::fromUtf8("o nome é de uma pasta");
    case EIO: return QString::fromUtf8("erro de leitura ou gravação no disco");
    case EBUSY: return QString::fromUtf8("o arquivo está em uso");
    case ENOMEM: return QString::fromUtf8("memória insuficiente");
    case EMFILE:
    case ENFILE: return QString::fromUtf8("há arquivos abertos demais");
    case ENAMETOOLONG: return QString::fromUtf8("o nome do arquivo é longo demais");
    case EXDEV: return QString::fromUtf8("a origem e o destino estão em discos diferentes");
    case EINVAL: return QString::fromUtf8("operação inválida para este disco");
    case ENOSYS:
    case EOPNOTSUPP: return QString::fromUtf8("operação não suportada por este disco");
    case ETXTBSY: return QString::fromUtf8("o arquivo está em uso");
    case EMLINK: return QString::fromUtf8("o disco não aceita mais nomes para o arquivo");
    default: return QString::fromUtf8("erro nº %1 do sistema").arg(erro);
    }
}

QString TextoErroZip(int codigoZip, int erroSistema)
{
    QString t;
    switch (codigoZip) {
    case ZIP_ER_OK: t = QString::fromUtf8("nenhum erro"); break;
    case ZIP_ER_MULTIDISK: t = QString::fromUtf8("arquivos zip divididos em vários discos não são aceitos"); break;
    case ZIP_ER_RENAME: t = QString::fromUtf8("não foi possível dar o nome final ao arquivo zip"); break;
    case ZIP_ER_CLOSE: t = QString::fromUtf8("não foi possível fechar o arquivo zip"); break;
    case ZIP_ER_SEEK: t = QString::fromUtf8("erro ao posicionar a leitura no arquivo"); break;
    case ZIP_ER_READ: t = QString::fromUtf8("erro de leitura"); break;
    case ZIP_ER_WRITE: t = QString::fromUtf8("erro de gravação"); break;
    case ZIP_ER_CRC: t = QString::fromUtf8("a soma de verificação (CRC) não confere: o conteúdo foi alterado ou corrompido"); break;
    case ZIP_ER_ZIPCLOSED: t = QString::fromUtf8("o arquivo zip foi fechado antes do fim da operação"); break;
    case ZIP_ER_NOENT: t = QString::fromUtf8("o arquivo não existe"); break;
    case ZIP_ER_EXISTS: t = QString::fromUtf8("já existe um arquivo ou uma entrada com esse nome"); break;
    case ZIP_ER_OPEN: t = QString::fromUtf8("não foi possível abrir o arquivo"); break;
    case ZIP_ER_TMPOPEN: t = QString::fromUtf8("não foi possível criar o arquivo temporário"); break;
    case ZIP_ER_ZLIB: t = QString::fromUtf8("os dados compactados não puderam ser lidos"); break;
    case ZIP_ER_MEMORY: t = QString::fromUtf8("memória insuficiente"); break;
    case ZIP_ER_CHANGED: t = QString::fromUtf8("o arquivo mudou enquanto era compactado"); break;
    case ZIP_ER_COMPNOTSUPP: t = QString::fromUtf8("o método de compactação não é aceito"); break;
    case ZIP_ER_EOF: t = QString::fromUtf8("o arquivo terminou antes do esperado"); break;
    case ZIP_ER_INVAL: t = QString::fromUtf8("pedido inválido à biblioteca zip"); break;
    case ZIP_ER_NOZIP: t = QString::fromUtf8("não é um arquivo zip"); break;
    case ZIP_ER_INTERNAL: t = QString::fromUtf8("erro interno da biblioteca zip"); break;
    case ZIP_ER_INCONS: t = QString::fromUtf8("o arquivo zip está inconsistente (danificado ou incompleto)"); break;
    case ZIP_ER_REMOVE: t = QString::fromUtf8("não foi possível apagar o arquivo"); break;
    case ZIP_ER_DELETED: t = QString::fromUtf8("a entrada foi apagada"); break;
    case ZIP_ER_ENCRNOTSUPP: t = QString::fromUtf8("o método de criptografia não é aceito"); break;
    case ZIP_ER_RDONLY: t = QString::fromUtf8("o arquivo zip só pode ser lido"); break;
    case ZIP_ER_NOPASSWD: t = QString::fromUtf8("o arquivo está protegido por senha"); break;
    case ZIP_ER_WRONGPASSWD: t = QString::fromUtf8("a senha do arquivo está errada"); break;
    case ZIP_ER_OPNOTSUPP: t = QString::fromUtf8("operação não aceita pela biblioteca zip"); break;
    case ZIP_ER_INUSE: t = QString::fromUtf8("o recurso ainda está em uso"); break;
    case ZIP_ER_TELL: t = QString::fromUtf8("erro ao obter a posição no arquivo"); break;
    case ZIP_ER_COMPRESSED_DATA: t = QString::fromUtf8("os dados compactados são inválidos"); break;
    case ZIP_ER_CANCELLED: t = QString::fromUtf8("a operação foi cancelada"); break;
#ifdef ZIP_ER_DATA_LENGTH
    case ZIP_ER_DATA_LENGTH: t = QString::fromUtf8("o tamanho dos dados não confere com o declarado"); break;
#endif
#ifdef ZIP_ER_NOT_ALLOWED
    case ZIP_ER_NOT_ALLOWED: t = QString::fromUtf8("operação não permitida"); break;
#endif
#ifdef ZIP_ER_TRUNCATED_ZIP
    case ZIP_ER_TRUNCATED_ZIP: t = QString::fromUtf8("o arquivo zip está truncado (incompleto)"); break;
#endif
    default: t = QString::fromUtf8("erro nº %1 da biblioteca zip").arg(codigoZip); break;
    }
    if (erroSistema != 0)
        t += QStringLiteral(" (") + TextoErroSistema(erroSistema) + QLatin1Char(')');
    return t;
}

TBackup::TBackup(const QString& pastaPrograma, const QString& arquivoIni, IRelogio& relogio)
    : liga(ligaNoSistema), renomeiaSemSubstituir(renomeiaSemSubstituirNoSistema),
      m_pastaPrograma(absoluta(pastaPrograma)), m_ini(arquivoIni), m_relogio(relogio)
{
    espacoLivre = [](const QString& pasta) {
        const QStorageInfo info(pasta);
        return info.isValid() ? info.bytesAvailable() : qint64(-1);
    };
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
    QStringList unicas;
    for (const QString& p : pastas)
        if (const QString n = NormalizaPasta(p); !n.isEmpty() && !unicas.contains(n))
            unicas << n;
    QSaveFile f(lista);
    if (f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        for (const QString& p : unicas)
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
    qint64 tamanho = 0;
    for (const QString& a : arquivos) {
        if (!QFileInfo(a).isFile())
            return falha(QString::fromUtf8("O arquivo %1 não foi encontrado: nenhuma cópia foi feita.").arg(a));
        tamanho += QFileInfo(a).size();
    }
    limpaTemporariosEm(destino);
    // The archive (at most the size of its files) and the copy its check extracts.
    const qint64 necessario = 2 * tamanho;
    auto falhaAoGravar = [&](int e) {
        return falha(QString::fromUtf8("A cópia de segurança falhou: %1").arg(mensagemDeGravacao(e, destino, necessario, livreEm(destino))) +
                     QString::fromUtf8(kNenhumGravado));
    };

    mostraDica(QString::fromUtf8("Cópia de segurança - Preparando compactação de arquivos..."));
    // The archive is written whole under a name of its own and only then named: a failure leaves nothing,
    // and an archive already there is never opened for writing.
    const QString temporario = nomeTemporario(destino, prefixo);
    int codigo = 0;
    zip_t* z = zip_open(QFile::encodeName(temporario).constData(), ZIP_CREATE | ZIP_EXCL, &codigo);
    if (!z) {
        zip_error_t e;
        zip_error_init_with_code(&e, codigo);
        const int sistema = erroSistemaZip(&e);
        motivo = textoErroZip(&e);
        zip_error_fini(&e);
        if (falhaDeGravacao(sistema))
            return falhaAoGravar(sistema);
        return falha(QString::fromUtf8("Não foi possível criar o arquivo de backup em %1: %2.").arg(destino, motivo));
    }
    // Each database is read inside a transaction from before its size is taken until it is archived.
    std::vector<std::unique_ptr<TLeituraConsistente>> leituras;
    QStringList entradasDeBanco;
    for (const QString& a : arquivos) {
        if (!comecaComoBanco(a))
            continue;
        auto leitura = std::make_unique<TLeituraConsistente>();
        motivo = leitura->abre(a);
        if (!motivo.isEmpty()) {
            zip_discard(z);
            QFile::remove(temporario);
            return falha(QString::fromUtf8("A cópia de segurança não foi feita: a Base de Dados %1 não pôde ser lida: %2.")
                             .arg(a, motivo) + QString::fromUtf8(kNenhumGravado));
        }
        leituras.push_back(std::move(leitura));
        entradasDeBanco << QFileInfo(a).fileName();
    }
    for (const QString& a : arquivos) {
        zip_source_t* fonte = zip_source_file(z, QFile::encodeName(a).constData(), 0, -1);
        const QByteArray entrada = QFileInfo(a).fileName().toUtf8();
        zip_int64_t indice = fonte ? zip_file_add(z, entrada.constData(), fonte, ZIP_FL_ENC_UTF_8) : -1;
        if (indice < 0) {
            if (fonte)
                zip_source_free(fonte);
            motivo = textoErroZip(zip_get_error(z));
            zip_discard(z);
            QFile::remove(temporario);
            return falha(QString::fromUtf8("Não foi possível incluir %1 no backup: %2.").arg(a, motivo));
        }
        zip_set_file_compression(z, zip_uint64_t(indice), ZIP_CM_DEFLATE, 0);
    }
    zip_register_progress_callback_with_state(z, 0.01, progressoZip, nullptr, const_cast<TBackup*>(this));

    mostraDica(QString::fromUtf8("Cópia de segurança - Compactando arquivos de dados..."));
    if (zip_close(z) != 0) {
        const int sistema = erroSistemaZip(zip_get_error(z));
        motivo = textoErroZip(zip_get_error(z));
        zip_discard(z);
        QFile::remove(temporario);
        if (falhaDeGravacao(sistema))
            return falhaAoGravar(sistema);
        return falha(QString::fromUtf8("A cópia de segurança falhou: %1.").arg(motivo) + QString::fromUtf8(kNenhumGravado));
    }
    // The archive holds its bytes now: writers may go on.
    leituras.clear();
    if (!Sistema::GravaNoDisco(temporario)) {
        const int e = errno;
        QFile::remove(temporario);
        return falhaAoGravar(e);
    }

    // Reported only when it can be restored: each database is extracted from the written archive and given
    // the checks of a restore, before the archive takes its name.
    if (!entradasDeBanco.isEmpty()) {
        zip_t* lido = zip_open(QFile::encodeName(temporario).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codigo);
        QString problema;
        int erroGravacao = 0;
        if (!lido) {
            zip_error_t e;
            zip_error_init_with_code(&e, codigo);
            problema = QString::fromUtf8("o arquivo gravado em %1 não pôde ser lido de volta (%2): o disco pode estar "
                                         "com defeito").arg(destino, textoErroZip(&e));
            zip_error_fini(&e);
        }
        for (qsizetype i = 0; lido && i < entradasDeBanco.size() && problema.isEmpty() && !erroGravacao; ++i) {
            const QString& nome = entradasDeBanco[i];
            zip_stat_t st;
            zip_stat_init(&st);
            if (zip_stat(lido, nome.toUtf8().constData(), 0, &st) != 0) {
                problema = textoErroZip(zip_get_error(lido));
                break;
            }
            const QString copia = nomeTemporario(destino, nome);
            const TExtracao x = extrai(lido, st.index, st.size, copia, true, {});
            if (x.falha == TExtracao::Falha::Gravacao) {
                erroGravacao = x.erro;
            } else if (x.falha != TExtracao::Falha::Nenhuma) {
                problema = x.motivo.isEmpty() ? QString::fromUtf8("a cópia de %1 não começa como uma Base de Dados").arg(nome)
                                              : QString::fromUtf8("o arquivo gravado em %1 não confere com a Base de "
                                                                  "Dados (%2): o disco pode estar com defeito")
                                                    .arg(destino, x.motivo);
            } else {
                switch (verificaBanco(copia)) {
                case TProblemaBanco::Nenhum:
                    break;
                case TProblemaBanco::NaoEBanco:
                    problema = QString::fromUtf8("a cópia de %1 não pôde ser aberta como Base de Dados").arg(nome);
                    break;
                case TProblemaBanco::Outro:
                    problema = QString::fromUtf8("%1 não é uma Base de Dados deste sistema").arg(nome);
                    break;
                case TProblemaBanco::Danificado:
                    problema = QString::fromUtf8("a Base de Dados %1 está danificada (a verificação de integridade "
                                                 "encontrou erros); uma cópia dela não poderia ser recuperada").arg(nome);
                    break;
                }
                QFile::remove(copia);
            }
        }
        if (lido)
            zip_discard(lido);
        if (erroGravacao || !problema.isEmpty()) {
            QFile::remove(temporario);
            if (erroGravacao)
                return falhaAoGravar(erroGravacao);
            return falha(QString::fromUtf8("A cópia de segurança não foi feita: %1.").arg(problema) +
                         QString::fromUtf8(kNenhumGravado));
        }
    }

    mostraDica(QString::fromUtf8("Cópia de segurança - Renomeando arquivo de backup..."));
    // Never over another file: a name already taken (two archives in the same second) falls back to the
    // plain name, and when that is taken too the archive is not delivered rather than written over another.
    QString final_;
    for (const QString& nome : {NomeArquivo(prefixo, m_relogio.agora(), tipo), prefixo + QStringLiteral(".zip")}) {
        const QString caminho = destino + nome;
        const int r = nomeia(temporario, caminho, destino);
        if (r == 0) {
            final_ = caminho;
            break;
        }
        if (r != EEXIST) {
            motivo = TextoErroSistema(r);
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

int TBackup::nomeia(const QString& de, const QString& para, const QString& pasta) const
{
    const QByteArray origem = QFile::encodeName(de), destino = QFile::encodeName(para);
    if (liga(origem.constData(), destino.constData()) == 0)
        return 0;
    int e = errno;
    if (e != EPERM && e != EOPNOTSUPP && e != ENOTSUP && e != ENOSYS)
        return e;
    // Links refused (FAT, exFAT): the rename that fails on an existing name.
    if (renomeiaSemSubstituir(origem.constData(), destino.constData()) == 0)
        return 0;
    e = errno;
    if (e != ENOSYS && e != EINVAL && e != EOPNOTSUPP && e != ENOTSUP)
        return e;
    // No such rename either: the name is checked and taken under the backup folder's lock, which every copy of
    // this program naming an archive there respects.
    QLockFile trava(QDir(pasta).filePath(QStringLiteral(".%1.lck").arg(prefixo)));
    if (!trava.tryLock(10000))
        return trava.error() == QLockFile::PermissionError ? EACCES : EBUSY;
    if (QFileInfo::exists(para) || QFileInfo(para).isSymLink())
        return EEXIST;
    return Sistema::Substitui(de, para) == 0 ? 0 : errno;
}

qint64 TBackup::livreEm(const QString& pasta) const
{
    return espacoLivre ? espacoLivre(pasta) : -1;
}

void TBackup::limpaTemporariosEm(const QString& pasta) const
{
    QStringList bases{QRegularExpression::escape(prefixo), QRegularExpression::escape(nomeEntradaBanco())};
    for (const QString& a : arquivos)
        bases << QRegularExpression::escape(QFileInfo(a).fileName());
    bases.removeDuplicates();
    // The names nomeTemporario gives, and the zip library's own temporary file beside them.
    const QRegularExpression nosso(QStringLiteral("^\\.(?:%1)\\.(\\d{1,10})-\\d+\\.tmp(?:\\.[A-Za-z0-9]{6})?$")
                                       .arg(bases.join(QLatin1Char('|'))));
    const QDir d(pasta);
    for (const QString& nome : d.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch m = nosso.match(nome);
        if (!m.hasMatch())
            continue;
        bool ok = false;
        const qint64 pid = m.captured(1).toLongLong(&ok);
        if (!ok || pid <= 0 || pid > std::numeric_limits<qint32>::max() || pid == Sistema::IdProcesso())
            continue;
        // Only when its process is gone: a live one may still be writing it.
        if (Sistema::ProcessoVivo(pid))
            continue;
        QFile::remove(d.filePath(nome));
    }
}

void TBackup::LimpaTemporarios() const
{
    QStringList feitas;
    for (const QString& p : QStringList{pastaRecuperacao, pastaPadrao()} + pastas) {
        const QString pasta = absoluta(p);
        if (p.trimmed().isEmpty() || feitas.contains(pasta) || !QFileInfo(pasta).isDir())
            continue;
        feitas << pasta;
        limpaTemporariosEm(pasta);
    }
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
    const QString pastaDados = absoluta(pastaRecuperacao);
    const QString banco = QDir(pastaDados).filePath(nomeEntradaBanco());
    if (QFileInfo::exists(banco + QStringLiteral("-journal")) || QFileInfo::exists(banco + QStringLiteral("-wal")))
        return falha(QString::fromUtf8("A Base de Dados tem uma transação pendente (o programa foi interrompido): "
                                       "abra o programa uma vez antes de recuperar um backup."));

    // The archive is read and its database extracted and checked first: one that cannot be restored makes
    // no safety copy and changes nothing.
    const QString repetidas = QString::fromUtf8("O arquivo %1 tem mais de uma entrada com o mesmo nome (duas Bases de "
                                                "Dados %2, por exemplo): não se sabe qual delas recuperar, e ele não é "
                                                "um backup deste sistema.")
                                  .arg(arquivo, nomeEntradaBanco());
    int codigo = 0;
    zip_t* z = zip_open(QFile::encodeName(arquivo).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codigo);
    if (!z) {
        if (codigo == ZIP_ER_EXISTS)
            return falha(repetidas);
        zip_error_t e;
        zip_error_init_with_code(&e, codigo);
        const QString motivo = textoErroZip(&e);
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
        if (texto == nomeEntradaBanco()) {
            if (indice >= 0)
                return falha(repetidas);
            indice = i;
        }
    }
    if (indice < 0)
        return falha(QString::fromUtf8("O arquivo %1 não contém a Base de Dados (%2).").arg(arquivo, nomeEntradaBanco()));
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(z, zip_uint64_t(indice), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        return falha(QString::fromUtf8("O arquivo %1 não informa o tamanho da Base de Dados.").arg(arquivo));

    QString motivo;
    mostraDica(QString::fromUtf8("Cópia de segurança - Descompactando arquivos de dados..."));
    if (!QDir().mkpath(pastaDados))
        return falha(QString::fromUtf8("Não foi possível criar a pasta %1.").arg(pastaDados));
    limpaTemporariosEm(pastaDados);
    // Refused before a byte is written when the entry cannot fit: a small archive must not fill the disk.
    const qint64 livre = livreEm(pastaDados);
    if (livre >= 0 && st.size > zip_uint64_t(livre))
        return falha(mensagemDeGravacao(ENOSPC, pastaDados, qint64(st.size), livre));
    const QString temporario = nomeTemporario(pastaDados, nomeEntradaBanco());
    auto desiste = [&](const QString& m) {
        QFile::remove(temporario);
        return falha(m);
    };
    const TExtracao x = extrai(z, zip_uint64_t(indice), st.size, temporario, true, progresso);
    switch (x.falha) {
    case TExtracao::Falha::Nenhuma:
        break;
    case TExtracao::Falha::Gravacao:
        return desiste(mensagemDeGravacao(x.erro, pastaDados, qint64(st.size), livreEm(pastaDados)));
    case TExtracao::Falha::NaoEBanco:
        return desiste(QString::fromUtf8("O arquivo %1 não pode ser recuperado: o seu %2 não é uma Base de Dados.")
                           .arg(arquivo, nomeEntradaBanco()));
    case TExtracao::Falha::Danificada:
        return desiste(QString::fromUtf8("A Base de Dados do backup está danificada: %1.").arg(x.motivo));
    }

    switch (verificaBanco(temporario)) {
    case TProblemaBanco::Nenhum:
        break;
    case TProblemaBanco::NaoEBanco:
        return desiste(QString::fromUtf8("O arquivo %1 não pode ser recuperado: o seu %2 não é uma Base de Dados.")
                           .arg(arquivo, nomeEntradaBanco()));
    case TProblemaBanco::Outro:
        return desiste(QString::fromUtf8("O arquivo %1 não pode ser recuperado: a Base de Dados contida nele não é "
                                         "deste sistema.").arg(arquivo));
    case TProblemaBanco::Danificado:
        return desiste(QString::fromUtf8("O arquivo %1 não pode ser recuperado: a Base de Dados contida nele está "
                                         "danificada (a verificação de integridade encontrou erros).").arg(arquivo));
    }

    // The safety copy of the current data once the archive is known to be good (a refused archive leaves no
    // trace), and before anything is replaced: without it there is no restore.
    if (Realiza(TTipoBackup::AntesDaRecuperacao, QString(), &motivo).isEmpty())
        return desiste(QString::fromUtf8("A cópia de segurança dos dados atuais, feita antes de toda recuperação, "
                                         "falhou: %1 Nada foi recuperado.").arg(motivo));

    mostraDica(QString::fromUtf8("Cópia de segurança - Recuperando arquivos da cópia de segurança..."));
    // One step: the name holds the old database or the restored one, never neither.
    if (Sistema::Substitui(temporario, banco) != 0)
        return desiste(QString::fromUtf8("Não foi possível substituir a Base de Dados: %1.").arg(TextoErroSistema(errno)));
    ultimoArquivo = absoluta(arquivo);
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
        backup->pastaRecuperacao = absoluta(pasta);
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
        *erro = b.trava.mensagemDaFalha();
        return 1;
    }
    b.backup->LimpaTemporarios();
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
        *erro = b.trava.mensagemDaFalha();
        return 1;
    }
    b.backup->LimpaTemporarios();
    // The tool never holds a connection: nothing is open while the file is replaced.
    if (!b.backup->Recupera(arquivo, [] { return false; }, erro))
        return 1;
    *saida = QString::fromUtf8("Cópia de segurança recuperada com sucesso.");
    return 0;
}
