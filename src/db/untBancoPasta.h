#pragma once
#include <QString>

class TDTMCON;

// For the command-line tool: connects to the database of the connection's folder — a folder without one is a
// mistake there, not a first start, so nothing is created — and finds the taxpayer by its state registration.
// 0 on success with the taxpayer's IdContribuinte; 1 with the reason in `erro` otherwise.
int AbreContribuinteDaPasta(TDTMCON& con, const QString& ie, int* idContribuinte, QString* erro);
// The same connection without a taxpayer, for the commands that go over the whole register: 0 when the
// folder's database is open, 1 with the reason in `erro` otherwise.
int AbreBancoDaPasta(TDTMCON& con, QString* erro);
