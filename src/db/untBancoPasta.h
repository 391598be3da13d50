#pragma once
#include <QString>

class TDTMCON;

// For the command-line tool: connects to the database of the connection's folder — a folder without one is a
// mistake there, not a first start, so nothing is created — and finds the taxpayer by its state registration.
// 0 on success with the taxpayer's IdContribuinte; 1 with the reason in `erro` otherwise.
int AbreContribuinteDaPasta(TDTMCON& con, const QString& ie, int* idContribuinte, QString* erro);
