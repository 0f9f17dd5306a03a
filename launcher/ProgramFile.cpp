#include "ProgramFile.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};

} // namespace

bool WriteProgramFile(const std::wstring& target, const EmbeddedProgram& program) {
    // Opened by its wide path: a temporary folder outside the ANSI code page (a Chinese
    // user name on a Western Windows) must still work.
    std::unique_ptr<FILE, FileCloser> file(_wfopen(target.c_str(), L"w+b"));
    if (!file) {
        printf("Create temp file[%ls] fialed\n", target.c_str());
        return false;
    }
    const size_t written = program.size ? fwrite(program.bytes, program.size, 1, file.get()) : 0;
    const bool closed = fclose(file.release()) == 0;
    return program.size != 0 && written == 1 && closed;
}
