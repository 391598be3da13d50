#include "core/untPastaDados.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

QString absoluta(const QString& p)
{
    return QDir::cleanPath(QFileInfo(p).absoluteFilePath());
}

bool pastaDoSistema(const QString& pasta)
{
#ifdef Q_OS_WIN
    const QString p = QDir::fromNativeSeparators(pasta).toLower();
    for (const char* v : {"PROGRAMFILES", "PROGRAMFILES(X86)", "SYSTEMROOT"}) {
        const QString raiz = QDir::fromNativeSeparators(qEnvironmentVariable(v)).toLower();
        if (!raiz.isEmpty() && (p == raiz || p.startsWith(raiz + QLatin1Char('/'))))
            return true;
    }
    return false;
#else
    const QString p = absoluta(pasta);
    return p == QLatin1String("/usr") || p.startsWith(QLatin1String("/usr/")) || p == QLatin1String("/bin") ||
           p == QLatin1String("/sbin");
#endif
}

} // namespace

bool PastaDoProgramaGravavel(const QString& pasta)
{
    if (pasta.isEmpty() || pastaDoSistema(pasta))
        return false;
    QTemporaryFile teste(QDir(pasta).filePath(QStringLiteral(".zel-teste-XXXXXX")));
    return teste.open();
}

QString PastaDadosDoUsuario()
{
    // The location depends on the application's name, and the tool calls itself "zelcli": both must find the
    // desktop program's folder.
    const QString nome = QCoreApplication::applicationName(), organizacao = QCoreApplication::organizationName();
    QCoreApplication::setApplicationName(QStringLiteral("zel"));
    QCoreApplication::setOrganizationName(QString());
    const QString pasta = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(nome);
    QCoreApplication::setOrganizationName(organizacao);
    return pasta;
}

TPastaDados EscolhePastaDados(const QString& pastaPrograma, const QString& argumento, bool argumentoDado,
                              const std::function<bool(const QString&)>& gravavel)
{
    TPastaDados r;
    QString dada;
    if (argumentoDado) {
        r.origem = TOrigemPasta::Argumento;
        dada = argumento;
    } else if (!qEnvironmentVariable("ZEL_PASTA").isEmpty()) {
        r.origem = TOrigemPasta::Ambiente;
        dada = qEnvironmentVariable("ZEL_PASTA");
    }
    if (r.origem == TOrigemPasta::Argumento || r.origem == TOrigemPasta::Ambiente) {
        const QString como = r.origem == TOrigemPasta::Argumento ? QStringLiteral("--pasta")
                                                                 : QStringLiteral("ZEL_PASTA");
        if (dada.trimmed().isEmpty()) {
            r.erro = QString::fromUtf8("A pasta dos dados indicada em %1 está vazia.").arg(como);
            return r;
        }
        if (!QFileInfo(dada).isDir()) {
            r.erro = QString::fromUtf8("A pasta dos dados indicada em %1 não existe: %2")
                         .arg(como, QDir::toNativeSeparators(dada));
            return r;
        }
        r.pasta = absoluta(dada);
        return r;
    }
    if (!pastaPrograma.isEmpty() && gravavel(pastaPrograma)) {
        r.origem = TOrigemPasta::Programa;
        r.pasta = absoluta(pastaPrograma);
        return r;
    }
    r.origem = TOrigemPasta::Usuario;
    const QString usuario = PastaDadosDoUsuario();
    if (usuario.isEmpty() || !QDir().mkpath(usuario)) {
        r.erro = QString::fromUtf8("Não foi possível criar a pasta dos dados do usuário %1.\n"
                                   "Indique outra pasta com --pasta ou com a variável ZEL_PASTA.")
                     .arg(QDir::toNativeSeparators(usuario));
        return r;
    }
    r.pasta = absoluta(usuario);
    return r;
}

QStringList ArgumentosComPasta(const QStringList& args, const QString& pastaPrograma,
                               const std::function<bool(const QString&)>& gravavel)
{
    for (const QString& a : args) {
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--pasta") || a.startsWith(QLatin1String("--pasta=")))
            return args;
    }
    const TPastaDados escolha = EscolhePastaDados(pastaPrograma, QString(), false, gravavel);
    // A folder that cannot be used is passed on as it was named: the command then says what it lacks.
    const QString pasta = escolha.erro.isEmpty() ? escolha.pasta
                          : escolha.origem == TOrigemPasta::Ambiente ? qEnvironmentVariable("ZEL_PASTA")
                                                                     : PastaDadosDoUsuario();
    return QStringList{QStringLiteral("--pasta"), pasta} + args;
}
