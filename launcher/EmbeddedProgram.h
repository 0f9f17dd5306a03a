#pragma once
#include <windows.h>
#include <cstddef>

// The uninstaller carried by the launcher as resource "BIN" 201, byte for byte.
struct EmbeddedProgram {
    const void* bytes = nullptr;
    size_t size = 0;
};

EmbeddedProgram FindEmbeddedProgram(HMODULE module);
