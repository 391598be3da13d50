#pragma once
#include <QList>
#include <QString>

#include "core/untMoney.h"

class TDTMCON;
namespace Registros {
struct TDeclaracaoArquivo;
}

// A declaration is stored once, but the documents of its month may change afterwards; its file would then carry
// document records that disagree with the figures of its records 88. Before a file is written, what "Processa"
// of the declaration's screen would fill now is compared with the stored row's fields that come from the
// documents.
struct TDiferencaDocumentos {
    QString campo;       // the field as its screen names it
    Money declarado;     // stored
    Money documentos;    // what the documents give now
};

// The fields that differ, in the screen's order; none for the annual data (nothing of it comes from the
// documents). Raises EBancoDados when the documents cannot be read.
QList<TDiferencaDocumentos> ConfereComDocumentos(TDTMCON& con, int idAtivo, const Registros::TDeclaracaoArquivo& d);

// The differences in words, one field a line with both values and the difference; empty when there is none.
QString DescreveDiferencas(const Registros::TDeclaracaoArquivo& d, const QList<TDiferencaDocumentos>& diferencas);
