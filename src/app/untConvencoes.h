#pragma once

class QApplication;

// The regional conventions of the whole program, set before the first screen: Brazilian Portuguese
// formats (dd/MM/yyyy, comma decimals), Qt's own dialogs in Portuguese, and quick tooltips.
void AplicaConvencoes(QApplication& app);
