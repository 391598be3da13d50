#include "core/untAjuda.h"

namespace {

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

// What every command that works on a data folder says of --pasta.
QPair<QString, QString> opcaoPasta()
{
    return {u("--pasta PASTA"),
            u("a pasta dos dados (a do banco bcoZel.mdb). Sem ela, a mesma pasta que o programa zel usaria: a da "
              "variável ZEL_PASTA, a pasta do programa quando se pode gravar nela, ou a pasta de dados do usuário")};
}

QPair<QString, QString> saidaUso()
{
    return {u("2"), u("uso incorreto (opção desconhecida ou que falta); a ajuda do comando vai para a saída de erros")};
}

QList<TAjuda> montaComandos()
{
    QList<TAjuda> c;
    c << TAjuda{u("valida"),
                u("diz se um CNPJ, um CPF ou uma inscrição estadual é válido"),
                {u("valida cnpj NUMERO"), u("valida cpf NUMERO"), u("valida ie UF NUMERO"), u("valida --lote < ARQUIVO")},
                {u("Responde \"valido\" ou \"invalido\". Com --lote lê da entrada padrão linhas TIPO<TAB>UF<TAB>NUMERO "
                   "(UF vazia para cnpj e cpf) e escreve uma linha NUMERO<TAB>valido|invalido por linha lida; uma linha "
                   "que não pode ser lida é relatada na saída de erros e pulada.")},
                {{u("--lote"), u("lê as linhas da entrada padrão")}},
                {{u("0"), u("número válido; no lote, todas as linhas lidas e verificadas")},
                 {u("1"), u("número inválido; no lote, alguma linha não pôde ser lida")},
                 saidaUso()},
                {u("zelcli valida ie PE 032141840"), u("printf 'cnpj\\t\\t11222333000181\\n' | zelcli valida --lote")}};
    c << TAjuda{u("gerar"),
                u("grava o arquivo da declaração de um contribuinte"),
                {u("gerar [--pasta PASTA] --ie INSCRICAO --periodo AAAAMM --tipo ZEL|EPP|SN|DA [--retificadora] "
                   "[--aceita-diferencas] --saida ARQUIVO")},
                {u("Grava o arquivo da declaração do contribuinte (achado pela inscrição estadual) a partir do banco "
                   "bcoZel.mdb da PASTA: registros 10 e 11, os registros dos documentos do mês, os registros 88 da "
                   "declaração gravada do período e o registro 90. O tipo (normal ou retificadora) é o da declaração "
                   "gravada; --retificadora que não confere com ela é recusada. O arquivo é verificado antes de receber "
                   "o nome. Progresso e erros vão para a saída de erros; um arquivo existente só é substituído quando o "
                   "novo fica completo."),
                 u("Uma declaração cujos campos tirados dos documentos já não conferem com eles (os documentos do mês "
                   "mudaram depois que ela foi salva) é recusada com as diferenças, a menos que --aceita-diferencas seja "
                   "dado. O arquivo de dados anuais (DA) é do período AAAA12, ou do mês corrente no ano corrente.")},
                {opcaoPasta(),
                 {u("--ie INSCRICAO"), u("a inscrição estadual do contribuinte")},
                 {u("--periodo AAAAMM"), u("o mês da declaração")},
                 {u("--tipo ZEL|EPP|SN|DA"), u("a declaração: regime normal, EPP, Simples Nacional ou dados anuais")},
                 {u("--retificadora"), u("confirma que a declaração gravada é retificadora")},
                 {u("--aceita-diferencas"), u("gera mesmo que a declaração difira dos documentos")},
                 {u("--saida ARQUIVO"), u("o arquivo a gravar")}},
                {{u("0"), u("arquivo gravado e verificado")},
                 {u("1"), u("o arquivo não pôde ser gerado (contribuinte ou declaração não encontrados, diferenças, "
                            "falha na verificação ou na gravação)")},
                 saidaUso()},
                {u("zelcli gerar --pasta ~/zel --ie 123456789 --periodo 202405 --tipo ZEL --saida maio.txt")}};
    c << TAjuda{u("verifica"),
                u("verifica um arquivo no leiaute do convênio"),
                {u("verifica ARQUIVO")},
                {u("Verifica um arquivo no leiaute do convênio (deste ou de outro programa) e lista cada falha com a "
                   "linha e a posição.")},
                {},
                {{u("0"), u("nenhuma falha")},
                 {u("1"), u("o arquivo tem falhas")},
                 {u("2"), u("o arquivo não pode ser lido ou não é um arquivo comum (um dispositivo, um pipe, uma pasta), "
                            "ou uso incorreto")}},
                {u("zelcli verifica maio.txt")}};
    c << TAjuda{u("apuracao"),
                u("lista os valores do mês que as declarações tiram dos documentos"),
                {u("apuracao [--pasta PASTA] --ie INSCRICAO --periodo AAAAMM [--declaracao normal|epp|sn]")},
                {u("Lista os valores do mês que as declarações tiram dos documentos do contribuinte (achado pela "
                   "inscrição estadual) no banco bcoZel.mdb da PASTA: uma linha NOME<TAB>valor cada, com duas casas e "
                   "ponto decimal, e ExistemDocumentos<TAB>sim|nao."),
                 u("Com --declaracao normal, depois desses valores, uma linha NN<TAB>valor para cada campo que o "
                   "\"Processa\" da apuração do regime normal preenche (NN o número do rótulo do campo: 1, 3, 8 ... 17, "
                   "01 ... 06). Com --declaracao epp ou sn, só o que o \"Processa\" dessa tela preenche (epp: a tela "
                   "antiga até 06/2006, a da MP 37/06 depois), uma linha COLUNA<TAB>valor pela coluna da tabela ZEL_EPP "
                   "ou ZEL_SN. Esses valores têm quatro casas e ponto decimal. O banco não é alterado; erros vão para a "
                   "saída de erros.")},
                {opcaoPasta(),
                 {u("--ie INSCRICAO"), u("a inscrição estadual do contribuinte")},
                 {u("--periodo AAAAMM"), u("o mês")},
                 {u("--declaracao normal|epp|sn"), u("a declaração cujo \"Processa\" mostrar")}},
                {{u("0"), u("valores listados")},
                 {u("1"), u("banco ou contribuinte não encontrados, ou um período que a tela recusa (epp antes de 2004, "
                            "sn antes de 07/2007), com a mensagem da tela")},
                 saidaUso()},
                {u("zelcli apuracao --ie 123456789 --periodo 202405 --declaracao normal")}};
    c << TAjuda{u("recibo"),
                u("confere o comprovante de transmissão de uma declaração"),
                {u("recibo ARQUIVO.rcb")},
                {u("Descreve cada linha do comprovante de transmissão e diz se o código de autenticação confere "
                   "(valido ou invalido).")},
                {},
                {{u("0"), u("todas as linhas são válidas")},
                 {u("1"), u("alguma linha não é válida, ou o arquivo é recusado")},
                 saidaUso()},
                {u("zelcli recibo 123456789_202405.rcb")}};
    c << TAjuda{u("backup"),
                u("grava uma cópia de segurança da Base de Dados"),
                {u("backup [--pasta PASTA] [--destino PASTA_DE_BACKUP]")},
                {u("Grava uma cópia de segurança (manual) da Base de Dados bcoZel.mdb da PASTA em PASTA_DE_BACKUP (ou na "
                   "pasta Backup da PASTA) e mostra o nome do arquivo. O arquivo só recebe o nome depois de lido de volta "
                   "e conferido. Recusa a PASTA enquanto o programa estiver aberto nela.")},
                {opcaoPasta(), {u("--destino PASTA_DE_BACKUP"), u("onde gravar a cópia (padrão: a pasta Backup da PASTA)")}},
                {{u("0"), u("cópia gravada; o nome do arquivo vai para a saída padrão")},
                 {u("1"), u("falha (sem banco, pasta em uso, disco cheio, ...); nada fica gravado")},
                 saidaUso()},
                {u("zelcli backup --pasta ~/zel --destino /media/pendrive")}};
    c << TAjuda{u("restaura"),
                u("recupera a Base de Dados de uma cópia de segurança"),
                {u("restaura [--pasta PASTA] ARQUIVO.zip")},
                {u("Faz antes uma cópia dos dados atuais \"(antes da recuperação)\" na pasta Backup da PASTA e então "
                   "recupera a Base de Dados do ARQUIVO.zip; qualquer falha deixa os dados atuais como estavam. Recusa a "
                   "PASTA enquanto o programa estiver aberto nela.")},
                {opcaoPasta()},
                {{u("0"), u("Base de Dados recuperada")},
                 {u("1"), u("falha (arquivo danificado ou sem banco, pasta em uso, ...); os dados atuais ficam como estavam")},
                 saidaUso()},
                {u("zelcli restaura --pasta ~/zel \"BackupZel 2024-05-31 18h00min00s (manual).zip\"")}};
    c << TAjuda{u("relatorio"),
                u("grava em PDF um relatório do programa"),
                {u("relatorio NOME [--pasta PASTA] [--ie INSCRICAO] [--periodo AAAAMM] [--tipo E|S] "
                   "[--modalidade CIF|FOB] [--digitos 3|4] --pdf ARQUIVO.pdf")},
                {u("Grava em PDF o relatório que a tela imprimiria com as mesmas escolhas. NOME: notas, talao, "
                   "transporte, ecf, contadores, contribuintes, fornecedores, cfop, municipios, quadrov, anuais, zel, "
                   "epp, sn. Os relatórios de um contribuinte pedem --ie e --periodo (anuais: o ano do período).")},
                {opcaoPasta(),
                 {u("--ie INSCRICAO"), u("a inscrição estadual do contribuinte")},
                 {u("--periodo AAAAMM"), u("o mês (anuais: o ano)")},
                 {u("--tipo E|S"), u("notas de entrada ou de saída (padrão S)")},
                 {u("--modalidade CIF|FOB"), u("a modalidade do frete (padrão CIF)")},
                 {u("--digitos 3|4"), u("os dígitos do CFOP (padrão 4)")},
                 {u("--pdf ARQUIVO.pdf"), u("o arquivo a gravar")}},
                {{u("0"), u("arquivo gravado; o nome vai para a saída padrão")},
                 {u("1"), u("não há o que imprimir, ou a gravação falhou")},
                 saidaUso()},
                {u("zelcli relatorio notas --ie 123456789 --periodo 202405 --tipo S --pdf saidas.pdf")}};
    c << TAjuda{u("importa-nfe"),
                u("importa NF-e (XML) para as notas fiscais de um contribuinte"),
                {u("importa-nfe [--pasta PASTA] --ie INSCRICAO ARQUIVOS...")},
                {u("Importa NF-e (modelo 55, leiautes 3.10 e 4.00) para as notas fiscais do contribuinte achado pela "
                   "inscrição estadual. ARQUIVOS são arquivos XML, pastas (seus arquivos .xml e .zip) ou arquivos zip. "
                   "Uma linha por arquivo: \"importado: ...\", \"duplicado: ...\", \"ignorado: ...\" (eventos que não "
                   "são cancelamento, NFC-e, resumos da distribuição) ou \"recusado: ...: motivo\".")},
                {opcaoPasta(), {u("--ie INSCRICAO"), u("a inscrição estadual do contribuinte")}},
                {{u("0"), u("nenhum arquivo foi recusado")},
                 {u("1"), u("algum arquivo foi recusado, ou o banco não pôde ser aberto")},
                 saidaUso()},
                {u("zelcli importa-nfe --ie 123456789 ~/Downloads/notas-maio")}};
    c << TAjuda{u("fechamento"),
                u("mostra o mês de cada contribuinte e gera os arquivos prontos"),
                {u("fechamento --pasta PASTA --periodo AAAAMM [--gerar PASTA_DOS_ARQUIVOS]")},
                {u("Lista o mês de cada contribuinte do cadastro do banco bcoZel.mdb da PASTA, uma linha por "
                   "contribuinte com campos separados por tabulação: inscrição estadual, razão social, situação (sem "
                   "movimento, sem declaração, declaração desatualizada, pronto para gerar, arquivo gerado, entregue), "
                   "as quantidades de documentos do mês (notas de entrada, notas de saída, conhecimentos de transporte, "
                   "notas de série D, reduções de ECF) e, quando houver, uma observação (as diferenças da declaração, o "
                   "arquivo gravado ou o erro que o impediu)."),
                 u("Com --gerar grava em PASTA_DOS_ARQUIVOS, com os nomes que o programa lhes dá, o arquivo de cada "
                   "contribuinte pronto para gerar, verificado como todo arquivo; um contribuinte cujo arquivo falha "
                   "fica sem arquivo e os outros seguem. Um arquivo que já está lá, mais novo que a declaração, conta "
                   "como gerado.")},
                {{u("--pasta PASTA"), u("a pasta dos dados (a do banco bcoZel.mdb)")},
                 {u("--periodo AAAAMM"), u("o mês")},
                 {u("--gerar PASTA_DOS_ARQUIVOS"), u("grava ali os arquivos prontos para gerar")}},
                {{u("0"), u("nenhum contribuinte está sem declaração ou com declaração desatualizada e nenhum arquivo "
                            "falhou")},
                 {u("1"), u("caso contrário, ou quando o banco não pôde ser aberto")},
                 saidaUso()},
                {u("zelcli fechamento --pasta ~/zel --periodo 202405 --gerar ~/entregar")}};
    return c;
}

QString pastaDosDados()
{
    return u("A pasta dos dados guarda o banco bcoZel.mdb, as configurações zel.ini, o arquivo de trava bcoZel.lck e, "
             "por padrão, as cópias de segurança (subpasta Backup). É, nesta ordem: a pasta dada com --pasta; a da "
             "variável de ambiente ZEL_PASTA; a pasta do próprio programa, quando se pode gravar nela (uma cópia "
             "portátil, a pasta de compilação), nunca uma pasta do sistema como /usr/bin; e a pasta de dados do usuário "
             "(~/.local/share/zel), criada na primeira partida. Uma pasta dada que não existe é recusada.");
}

QString travaNaRede()
{
    return u("Uma só cópia do programa usa a pasta de cada vez: enquanto roda, ela mantém o arquivo bcoZel.lck, e uma "
             "segunda cópia (ou um comando do zelcli que grava) avisa e não toca no banco. A pasta pode ficar numa "
             "pasta compartilhada da rede: a trava também vale entre computadores, mas uma trava deixada por um "
             "computador que caiu só é reconhecida como abandonada por esse mesmo computador (em outro, apague o "
             "arquivo bcoZel.lck depois de conferir que ninguém usa o programa). A trava não protege o banco de outros "
             "programas nem de cópias feitas à mão, e não corrige uma rede que perde gravações: numa pasta da rede, "
             "faça as cópias de segurança com frequência.");
}

const QList<TAjuda>& comandos()
{
    static const QList<TAjuda> c = montaComandos();
    return c;
}

// A paragraph broken into lines of at most `largura` characters, each starting with `recuo`.
QString quebra(const QString& texto, const QString& recuo, int largura = 100)
{
    QString r, linha;
    for (const QString& palavra : texto.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!linha.isEmpty() && recuo.size() + linha.size() + 1 + palavra.size() > largura) {
            r += recuo + linha + QLatin1Char('\n');
            linha.clear();
        }
        linha += (linha.isEmpty() ? QString() : QStringLiteral(" ")) + palavra;
    }
    if (!linha.isEmpty())
        r += recuo + linha + QLatin1Char('\n');
    return r;
}

// The word before the synopsis lines: the program, and for a command the tool that runs it.
QString programaDe(const TAjuda& a)
{
    return a.nome == QLatin1String("zel") || a.nome == QLatin1String("zelcli") ? a.nome : QStringLiteral("zelcli");
}

// Roff: backslashes and minus signs escaped, and no line may start with a control character.
QString roff(QString t)
{
    t.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    t.replace(QLatin1Char('-'), QStringLiteral("\\-"));
    if (t.startsWith(QLatin1Char('.')) || t.startsWith(QLatin1Char('\'')))
        t.prepend(QStringLiteral("\\&"));
    return t;
}

// A program's page has a section for each part; a command's parts are headed paragraphs of its subsection.
QString secaoManual(const TAjuda& a, const QString& programa, bool principal)
{
    const auto titulo = [principal](const char* nome) {
        return principal ? QStringLiteral(".SH %1\n").arg(QString::fromUtf8(nome).toUpper())
                         : QStringLiteral(".PP\n.I %1:\n").arg(QString::fromUtf8(nome));
    };
    QString m;
    m += QStringLiteral(".nf\n");
    for (const QString& l : a.uso)
        m += QStringLiteral(".B %1\n").arg(roff(programa + QLatin1Char(' ') + l));
    m += QStringLiteral(".fi\n");
    if (principal)
        m += titulo("Descrição");
    for (const QString& p : a.descricao)
        m += QStringLiteral(".PP\n") + roff(p) + QLatin1Char('\n');
    if (!a.opcoes.isEmpty()) {
        m += titulo("Opções");
        for (const auto& o : a.opcoes)
            m += QStringLiteral(".TP\n.B %1\n%2\n").arg(roff(o.first), roff(o.second));
    }
    m += titulo("Saída");
    for (const auto& s : a.saidas)
        m += QStringLiteral(".TP\n.B %1\n%2\n").arg(roff(s.first), roff(s.second));
    m += titulo("Exemplo") + QStringLiteral(".RS\n.nf\n");
    for (const QString& e : a.exemplos)
        m += roff(e) + QLatin1Char('\n');
    m += QStringLiteral(".fi\n.RE\n");
    return m;
}

QString cabecalhoManual(const QString& nome, const QString& versao, const QString& resumo)
{
    return QStringLiteral(".TH %1 1 \"\" \"zel %2\" \"Zel do ICMS\"\n.SH NOME\n%3 \\- %4\n")
        .arg(nome.toUpper(), versao, nome, roff(resumo));
}

QString fimManual(const QString& outro)
{
    return QString::fromUtf8(".SH AMBIENTE\n.TP\n.B ZEL_PASTA\n") +
           roff(u("a pasta dos dados, quando --pasta não é dada")) + QString::fromUtf8("\n.SH PASTA DOS DADOS\n") +
           roff(pastaDosDados()) + QStringLiteral("\n.PP\n") + roff(travaNaRede()) +
           QString::fromUtf8("\n.SH VEJA TAMBÉM\n.BR %1 (1)\n").arg(outro);
}

} // namespace

const QList<TAjuda>& AjudasDosComandos()
{
    return comandos();
}

const TAjuda* AjudaDoComando(const QString& nome)
{
    for (const TAjuda& a : comandos())
        if (a.nome == nome)
            return &a;
    return nullptr;
}

const TAjuda& AjudaDoZel()
{
    static const TAjuda a{
        u("zel"),
        u("apuração mensal do ICMS e arquivo da declaração"),
        {u("[--pasta PASTA]")},
        {u("O programa de janelas do Zel do ICMS: cadastros de contribuintes, contabilistas e fornecedores, os "
           "documentos fiscais do mês (digitados ou importados de NF-e), a declaração mensal de cada regime e o seu "
           "arquivo verificado, relatórios com visualização, impressão e PDF, e cópias de segurança zip do banco.")},
        {{u("--pasta PASTA"), u("a pasta dos dados (tem de existir)")},
         {u("--help"), u("mostra esta ajuda")},
         {u("--version"), u("mostra a versão")}},
        {{u("0"), u("o programa foi fechado normalmente")},
         {u("1"), u("a pasta dos dados não pode ser usada (não existe, sem permissão de gravação, ou outra cópia do "
                    "programa está aberta nela)")},
         {u("2"), u("opção desconhecida")}},
        {u("zel --pasta /mnt/escritorio/zel")}};
    return a;
}

const TAjuda& AjudaDoZelcli()
{
    static const TAjuda a{
        u("zelcli"),
        u("o Zel do ICMS sem janelas, para scripts e contabilistas"),
        {u("COMANDO [OPÇÕES]"), u("COMANDO --help"), u("--help"), u("--version")},
        {u("Os comandos usam o mesmo núcleo do programa zel. Os que trabalham numa pasta de dados aceitam --pasta; sem "
           "ela usam a mesma pasta que o programa zel usaria. Os que gravam no banco respeitam a trava da pasta: "
           "recusam-na enquanto o programa estiver aberto nela.")},
        {{u("--help"), u("lista os comandos; depois de um comando, mostra a ajuda dele")},
         {u("--version"), u("mostra a versão")}},
        {{u("0"), u("sucesso")}, {u("1"), u("falha (cada comando diz qual)")}, {u("2"), u("uso incorreto")}},
        {u("zelcli gerar --help")}};
    return a;
}

QString TextoAjuda(const TAjuda& a)
{
    const QString programa = programaDe(a);
    const QString titulo = programa == a.nome ? a.nome : programa + QLatin1Char(' ') + a.nome;
    QString t = titulo + QStringLiteral(" - ") + a.resumo + QStringLiteral("\n\nUso:\n");
    for (const QString& l : a.uso)
        t += QStringLiteral("  ") + programa + QLatin1Char(' ') + l + QLatin1Char('\n');
    for (const QString& p : a.descricao)
        t += QLatin1Char('\n') + quebra(p, QString());
    if (!a.opcoes.isEmpty()) {
        t += QString::fromUtf8("\nOpções:\n");
        for (const auto& o : a.opcoes)
            t += QStringLiteral("  ") + o.first + QLatin1Char('\n') + quebra(o.second, QStringLiteral("      "));
    }
    t += QString::fromUtf8("\nSaída:\n");
    for (const auto& s : a.saidas)
        t += QStringLiteral("  ") + s.first + quebra(s.second, QStringLiteral("     ")).mid(3);
    t += QString::fromUtf8("\nExemplo:\n");
    for (const QString& e : a.exemplos)
        t += QStringLiteral("  ") + e + QLatin1Char('\n');
    return t;
}

QString TextoAjudaZelcli()
{
    QString t = TextoAjuda(AjudaDoZelcli()) + QStringLiteral("\nComandos:\n");
    for (const TAjuda& a : comandos())
        t += QStringLiteral("  %1%2\n").arg(a.nome.leftJustified(13), a.resumo);
    t += QString::fromUtf8("\nA ajuda de cada comando: zelcli COMANDO --help\n");
    return t;
}

QString TextoAjudaZel()
{
    return TextoAjuda(AjudaDoZel()) + QString::fromUtf8("\nPasta dos dados:\n") + quebra(pastaDosDados(), QString()) +
           QLatin1Char('\n') + quebra(travaNaRede(), QString());
}

QString PaginaManualZel(const QString& versao)
{
    const TAjuda& a = AjudaDoZel();
    return cabecalhoManual(a.nome, versao, a.resumo) + QStringLiteral(".SH SINOPSE\n") + secaoManual(a, a.nome, true) +
           fimManual(QStringLiteral("zelcli"));
}

QString PaginaManualZelcli(const QString& versao)
{
    const TAjuda& a = AjudaDoZelcli();
    QString m = cabecalhoManual(a.nome, versao, a.resumo) + QStringLiteral(".SH SINOPSE\n") + secaoManual(a, a.nome, true) +
                QStringLiteral(".SH COMANDOS\n");
    for (const TAjuda& c : comandos())
        m += QStringLiteral(".SS %1 \\(em %2\n").arg(roff(c.nome), roff(c.resumo)) + secaoManual(c, programaDe(c), false);
    return m + fimManual(QStringLiteral("zel"));
}
