#include "WorkingFolderSecurity.h"

#include "WinHandles.h"

#include <sddl.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring CurrentUserSid() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return {};
    const UniqueHandle token(opened);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
        return {};
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return {};
    std::wstring sid = text;
    LocalFree(text);
    return sid;
}

} // namespace

SecurityDescriptor WorkingFolderSecurity(bool acceptingTheProgram) {
    const std::wstring user = CurrentUserSid();
    if (user.empty())
        return nullptr;
    wchar_t access[16] = {};
    swprintf(access, 16, L"0x%lx", static_cast<unsigned long>(kWorkingFolderUserAccess));
    // "P": protected, "OICI": inherited by files and subfolders. An OWNER RIGHTS entry replaces
    // the owner's implicit right to read and change the permissions, so the user, who owns the
    // folder, cannot give itself more.
    std::wstring sddl = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    sddl += L"(A;OICI;" + std::wstring(access) + L";;;" + user + L")";
    sddl += L"(A;OICI;" + std::wstring(access) + L";;;S-1-3-4)";
    if (acceptingTheProgram) {
        wchar_t addFile[16] = {};
        swprintf(addFile, 16, L"0x%lx", static_cast<unsigned long>(FILE_ADD_FILE));
        sddl += L"(A;;" + std::wstring(addFile) + L";;;" + user + L")";
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return nullptr;
    return SecurityDescriptor(descriptor);
}
