// tfdata pack: the game disk of a project, made by the same code as the editor's "Crear
// Instalación..." dialog, for authors who build their games from scripts.
#pragma once

#include <ostream>
#include <string>
#include <vector>

extern const char* const kPackHelp;
// The arguments after "pack"; messages go to err. 0 when the disk is complete, 1 otherwise.
int RunPackCommand(int argc, char** argv, const std::vector<std::string>& args, std::ostream& err);
