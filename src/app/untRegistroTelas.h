#pragma once

class TfrmMain;
struct TContexto;

// Plugs the screens of the program into the main window's commands.
void RegistraTelas(TfrmMain& janela, TContexto& ctx);
