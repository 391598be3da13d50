#pragma once

// A second program on the same data folder, for tests that need two real processes: the test executable
// starts itself again with these arguments.
//   --segura-pasta DIR   takes the folder's lock, opens a write transaction adding the accountant
//                        "DO OUTRO PROCESSO", prints "pronto", commits after a line on its input, prints
//                        "gravado" and ends.
// Returns -1 when the arguments ask for no child role (the tests then run as usual).
int ExecutaPapelDeFilho(int argc, char** argv);
