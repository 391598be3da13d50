#pragma once
#include <QString>

class IDialogos;
class IProgresso;
class IRelogio;
class TDTMCON;
class TDTM;

// The main window's state switches that the taxpayer selection drives.
class ISessao {
public:
    virtual ~ISessao() = default;
    virtual void AbrirSessao() = 0;
    virtual void CancelarSelecao() = 0;
};

// What every screen works with, handed in by whoever creates it: the data folder, the dialogs, the clock,
// the connection, the main data module and the open taxpayer. Nothing of it is global, so tests build
// their own over a temporary folder.
struct TContexto {
    QString pasta;
    IDialogos* dialogos = nullptr;
    IRelogio* relogio = nullptr;
    TDTMCON* con = nullptr;
    TDTM* dtm = nullptr;
    ISessao* sessao = nullptr;
    // Where long work (writing a return file) shows how far it got; none: nothing is shown.
    IProgresso* progresso = nullptr;

    // The open taxpayer's IdContribuinte (0 until one is opened; closing keeps it).
    int IdAtivo = 0;
    // The accountant chosen last in the accountant list (0 at start and after "C&ancela").
    int IdContadorEscolhido = 0;
};
