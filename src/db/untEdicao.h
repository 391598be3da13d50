#pragma once
#include <QString>
#include <memory>

class IDialogos;
class TDTMCON;
class TTransacao;

// The transaction of an edit screen, from "new" or "change" to a save or a cancel. Every edit screen holds
// one, so that the rules are the same everywhere:
//   - the transaction begins when the edit begins (a refusal shows the engine's text and no edit begins);
//   - the success message may follow only a commit that succeeded: `confirma` says whether it did;
//   - a failed commit shows the engine's text and gives back what this save wrote, and a fresh transaction
//     keeps the screen editing with what was typed, to save again or cancel;
//   - "&Cancelar", Esc and closing roll back (`desfaz`); a destroyed screen rolls back too.
class TEdicao {
public:
    TEdicao(TDTMCON& con, IDialogos& dialogos);
    ~TEdicao();
    TEdicao(const TEdicao&) = delete;
    TEdicao& operator=(const TEdicao&) = delete;

    bool inicia();
    bool confirma();
    // False (after the engine's text) when the rollback itself was refused.
    bool desfaz();
    bool ativa() const;

private:
    TDTMCON& m_con;
    IDialogos& m_dialogos;
    std::unique_ptr<TTransacao> m_transacao;
    bool m_externa = true; // the edit's transaction is the connection's outermost one
};
