#pragma once
#include "EmbeddedProgram.h"
#include "WinHandles.h"

#include <string>

// Creates the target file, which must not exist yet, and writes the program to it. Returns the
// file still open for writing and shared with no one, or an empty handle when the file cannot be
// created (the diagnostic line then goes to standard output) or not every byte reached it: a
// partial program must never be started.
UniqueFileHandle CreateProgramFile(const std::wstring& target, const EmbeddedProgram& program);
