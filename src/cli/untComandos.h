#pragma once
#include <QStringList>

// The commands of zelcli, each given the arguments after its name; each returns the exit status.
int ComandoValida(const QStringList& args);
int ComandoGerar(const QStringList& args);
int ComandoApuracao(const QStringList& args);
int ComandoRecibo(const QStringList& args);
int ComandoBackup(const QStringList& args);
int ComandoRestaura(const QStringList& args);
int ComandoRelatorio(const QStringList& args);
int ComandoImportaNFe(const QStringList& args);
int ComandoFechamento(const QStringList& args);
