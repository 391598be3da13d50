#pragma once

class QAbstractButton;
class QAction;
class QLineEdit;
class QString;
struct TContexto;

// Makes a pop-up item follow the enabled state of the button it stands for, now and on every later change,
// so that the menu never offers what the buttons refuse (changing or deleting on an empty list).
void SegueBotao(QAction* acao, QAbstractButton* botao);

// The field admits as many characters as its column, read from the database's own declaration, so that the
// dialogs and the schema cannot disagree. Left unlimited when the column declares no width.
void LimitaAColuna(QLineEdit* campo, TContexto& ctx, const char* tabela, const char* coluna);

// Shows a stored text in full: a field narrower than the value is widened for it rather than cutting it, and
// the save then refuses the value, naming the field, until it is shortened.
void MostraSemCortar(QLineEdit* campo, const QString& valor);
