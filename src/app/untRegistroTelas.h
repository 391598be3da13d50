#pragma once

class TfrmMain;
struct TContexto;

// Plugs the screens of the program into the main window's commands.
void RegistraTelas(TfrmMain& janela, TContexto& ctx);

class TBackup;
// The backup commands over the program's one manager: the management and configuration screens (with the
// connection closed), the end-of-program step, and what the start-up checks tell it.
void RegistraBackup(TfrmMain& janela, TContexto& ctx, TBackup& backup);
