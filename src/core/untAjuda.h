#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The one text of every command's help: `zelcli COMANDO --help` prints it, a wrong use of the command prints
// it on the error output, and the manual pages zel(1) and zelcli(1) are generated from it at build time.
struct TAjuda {
    QString nome;                             // "gerar"; "zel" and "zelcli" for the programs themselves
    QString resumo;                           // one line, for the list of commands and the manual's NAME
    QStringList uso;                          // the synopsis lines, without the program name
    QStringList descricao;                    // paragraphs
    QList<QPair<QString, QString>> opcoes;    // "--pasta PASTA", what it does
    QList<QPair<QString, QString>> saidas;    // exit status, when
    QStringList exemplos;                     // whole command lines
};

// The commands of zelcli, in the order of the list.
const QList<TAjuda>& AjudasDosComandos();
// The command's help; null for a name that is no command.
const TAjuda* AjudaDoComando(const QString& nome);
const TAjuda& AjudaDoZel();
const TAjuda& AjudaDoZelcli();

// The texts shown on a terminal.
QString TextoAjuda(const TAjuda& ajuda);
QString TextoAjudaZelcli();   // the program's own help followed by the list of commands
QString TextoAjudaZel();

// The manual pages, in the man(7) macros.
QString PaginaManualZel(const QString& versao);
QString PaginaManualZelcli(const QString& versao);
