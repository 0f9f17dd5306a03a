#include "PrivateFolder.h"

#include "ProgramFile.h"
#include "WorkingFolderSecurity.h"

#include <windows.h>
#include <winternl.h>

#include <utility>

namespace {

using NtCreateFileFunction = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES,
                                              PIO_STATUS_BLOCK, PLARGE_INTEGER, ULONG, ULONG, ULONG,
                                              ULONG, PVOID, ULONG);

NtCreateFileFunction LookUpNtCreateFile() {
    // ntdll is in every process before its first instruction, and never from another folder.
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll ? reinterpret_cast<NtCreateFileFunction>(
                       reinterpret_cast<void*>(GetProcAddress(ntdll, "NtCreateFile")))
                 : nullptr;
}

// "C:\..." as the native name "\??\C:\...", "\\server\share\..." as "\??\UNC\server\share\...".
std::wstring NativePath(const std::wstring& path) {
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 2)
        return {};
    const std::wstring absolute(full, length);
    if (absolute.compare(0, 4, L"\\\\?\\") == 0)
        return L"\\??\\" + absolute.substr(4);
    if (absolute.compare(0, 2, L"\\\\") == 0)
        return L"\\??\\UNC\\" + absolute.substr(2);
    return L"\\??\\" + absolute;
}

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

} // namespace

PrivateFolder::PrivateFolder(std::wstring path, UniqueFileHandle folder)
    : path_(std::move(path)), folder_(std::move(folder)) {}

PrivateFolder PrivateFolder::Create(const std::wstring& path) {
    const NtCreateFileFunction ntCreateFile = LookUpNtCreateFile();
    const SecurityDescriptor security = WorkingFolderSecurity(true);
    std::wstring native = NativePath(path);
    if (!ntCreateFile || !security || native.empty() || native.size() > 32000)
        return PrivateFolder(path, UniqueFileHandle());

    UNICODE_STRING name = {};
    name.Buffer = native.data();
    name.Length = name.MaximumLength = static_cast<USHORT>(native.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes = {};
    attributes.Length = sizeof attributes;
    attributes.ObjectName = &name;
    attributes.Attributes = OBJ_CASE_INSENSITIVE;
    attributes.SecurityDescriptor = security.get();
    IO_STATUS_BLOCK status = {};
    HANDLE folder = nullptr;
    // CreateDirectoryW's own call, keeping the handle. FILE_CREATE fails
    // (STATUS_OBJECT_NAME_COLLISION, ERROR_ALREADY_EXISTS) when anything is at the path. The
    // creator's handle carries the access it asks for, whatever the new folder's descriptor
    // grants: WRITE_DAC here, which no entry gives the user.
    const NTSTATUS result = ntCreateFile(
        &folder, FILE_LIST_DIRECTORY | FILE_TRAVERSE | READ_CONTROL | WRITE_DAC | SYNCHRONIZE,
        &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE,
        FILE_CREATE, FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (result < 0)
        return PrivateFolder(path, UniqueFileHandle());
    return PrivateFolder(path, UniqueFileHandle(folder));
}

bool PrivateFolder::AddProgram(const std::wstring& target, const EmbeddedProgram& program) {
    if (!folder_)
        return false;
    UniqueFileHandle file = CreateProgramFile(target, program);
    if (!file)
        return false;
    // Through the creator's handle: the entry that let the user add a file goes, while the
    // program's file is still open without sharing, so no one else has opened it meanwhile.
    const SecurityDescriptor sealed = WorkingFolderSecurity(false);
    if (!sealed ||
        !SetKernelObjectSecurity(folder_.Get(),
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                 sealed.get()))
        return false;
    file.Reset();

    // From here on only SYSTEM and Administrators can add to the folder: what it holds now is
    // what the uninstaller starts beside.
    const std::wstring expected = target.substr(target.find_last_of(L'\\') + 1);
    if (target.compare(0, target.size() - expected.size(), path_ + L'\\') != 0)
        return false;
    WIN32_FIND_DATAW found = {};
    UniqueFindHandle search(FindFirstFileExW((path_ + L"\\*").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0));
    if (!search)
        return false;
    int entries = 0;
    bool onlyTheProgram = true;
    do {
        if (IsDotEntry(found.cFileName))
            continue;
        ++entries;
        onlyTheProgram =
            onlyTheProgram && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            CompareStringOrdinal(found.cFileName, -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL;
    } while (FindNextFileW(search.Get(), &found));
    return entries == 1 && onlyTheProgram;
}
