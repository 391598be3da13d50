#pragma once
#include <QString>

// The program's four-part version, from the one build constant.
inline QString TextoVersao()
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ZEL_VERSAO_MAIOR).arg(ZEL_VERSAO_MENOR).arg(ZEL_VERSAO_REVISAO).arg(ZEL_VERSAO_BUILD);
}
