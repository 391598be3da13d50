#pragma once
#include <QString>

class IDialogos;
class QTextStream;

// "zelcli recibo": every line of a receipt file described, with its validity, on `saida`; the file's
// refusal and the errors of its lines on `erros` (the box of a line whose code does not match goes through
// `dialogos`). 0 when every line is valid; 1 when the file is refused or some line is not valid.
int ExecutaRecibo(const QString& caminho, IDialogos& dialogos, QTextStream& saida, QTextStream& erros);
