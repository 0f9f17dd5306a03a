#pragma once
#include "EmbeddedProgram.h"
#include <string>

// Writes the program to the target file, creating or truncating it. False when the file
// cannot be opened (for instance while an uninstaller started from it still runs) or
// when not every byte reached the disk: a partial program must never be started.
bool WriteProgramFile(const std::wstring& target, const EmbeddedProgram& program);
