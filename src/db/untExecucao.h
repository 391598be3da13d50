#pragma once
#include <functional>

class IDialogos;

// Runs one command of the user (a menu item, a toolbar button, a screen's opening): a refusal of the engine
// (a file locked by another program, a full disk, a damaged page) or any other failure shows its text in an
// error box, and the program goes on with its window usable. True when the command ran to its end.
bool ExecutaProtegido(IDialogos& dialogos, const std::function<void()>& comando);
