#include "db/untExecucao.h"

#include <exception>

#include "core/DialogsNew.h"
#include "db/untSqlite.h"

bool ExecutaProtegido(IDialogos& dialogos, const std::function<void()>& comando)
{
    try {
        comando();
        return true;
    } catch (const EBancoDados& e) {
        InformaErro(dialogos, e.mensagem());
    } catch (const std::exception& e) {
        InformaErro(dialogos, QString::fromUtf8("Ocorreu um erro inesperado: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    return false;
}
