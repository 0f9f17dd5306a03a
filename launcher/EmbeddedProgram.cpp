#include "EmbeddedProgram.h"

namespace {
constexpr WORD kEmbeddedProgramId = 201;
}

EmbeddedProgram FindEmbeddedProgram(HMODULE module) {
    EmbeddedProgram program;
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(kEmbeddedProgramId), L"BIN");
    if (!resource)
        return program;
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded)
        return program;
    program.bytes = LockResource(loaded);
    program.size = program.bytes ? SizeofResource(module, resource) : 0;
    return program;
}
