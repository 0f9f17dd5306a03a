#include "ProgramFile.h"

#include <cstdio>

UniqueFileHandle CreateProgramFile(const std::wstring& target, const EmbeddedProgram& program) {
    // By its wide path: a temporary folder outside the ANSI code page (a Chinese user name on a
    // Western Windows) must still work. The file inherits the folder's entries, which let the
    // user read, run and delete it only; the creator's handle still has the write access it asks
    // for.
    UniqueFileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        printf("Create temp file[%ls] fialed\n", target.c_str());
        return file;
    }
    DWORD written = 0;
    if (program.size == 0 || program.size > MAXDWORD ||
        !WriteFile(file.Get(), program.bytes, static_cast<DWORD>(program.size), &written,
                   nullptr) ||
        written != program.size)
        return UniqueFileHandle();
    return file;
}
