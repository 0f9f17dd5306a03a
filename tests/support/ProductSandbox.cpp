#include "ProductSandbox.h"

#include "ProductNames.h"
#include "RunningProcesses.h"
#include "TestProgramFolder.h"
#include "WinHandles.h"

#include <shlobj.h>

#include <algorithm>
#include <stdexcept>

namespace TestSupport {

namespace {

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() &&
           CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

bool IsInside(const std::wstring& path, const std::wstring& folder) {
    return !folder.empty() && path.size() > folder.size() + 1 &&
           StartsWithIgnoringCase(path, folder + L"\\");
}

HKEY OpenUninstallKey(REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, nullptr, 0, access, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot open the uninstall key");
    return key;
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

} // namespace

std::wstring TestRoot() {
    return L"C:\\CorvaneEngineTests";
}

ScratchFolder::ScratchFolder(const std::wstring& name) : path_(TestRoot() + L"\\" + name) {
    RemoveTree(path_);
    CreateFolders(path_);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

MadeFolder::MadeFolder(const std::wstring& path) : path_(path) {
    for (std::wstring part = path; part.size() > 3 && !FolderExists(part); part = FolderOf(part))
        topmostMade_ = part;
    CreateFolders(path_);
}

MadeFolder::~MadeFolder() {
    if (!topmostMade_.empty())
        DeleteTree(topmostMade_);
}

std::wstring FakeProductProgram() {
    return TestProgramFolder() + L"\\fake_product.exe";
}

std::wstring PlaceProgram(const std::wstring& folder, const std::wstring& relativePath) {
    const std::wstring target = folder + L"\\" + relativePath;
    CreateFolders(FolderOf(target));
    if (!CopyFileW(FakeProductProgram().c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy the stand-in program");
    return target;
}

RunningProgram::RunningProgram(const std::wstring& exePath) {
    CreateFolders(TestRoot());
    StartOptions options;
    options.workingFolder = TestRoot();
    options.attempts = 10;
    Start(L"\"" + exePath + L"\"", options);
}

UninstallEntry::UninstallEntry(REGSAM view) : view_(view) {
    RegDeleteTreeW(UniqueRegKey(OpenUninstallKey(KEY_ALL_ACCESS | view_)).Get(),
                   kProductSubkeyName);
}

UninstallEntry::~UninstallEntry() {
    UniqueRegKey uninstall(OpenUninstallKey(KEY_ALL_ACCESS | view_));
    RegDeleteTreeW(uninstall.Get(), kProductSubkeyName);
}

void UninstallEntry::CreateEmpty() {
    UniqueRegKey uninstall(OpenUninstallKey(KEY_ALL_ACCESS | view_));
    HKEY product = nullptr;
    if (RegCreateKeyExW(uninstall.Get(), kProductSubkeyName, 0, nullptr, 0, KEY_ALL_ACCESS | view_,
                        nullptr, &product, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the product key");
    RegCloseKey(product);
}

void UninstallEntry::SetRawLocation(DWORD type, const void* data, DWORD byteCount) {
    CreateEmpty();
    UniqueRegKey uninstall(OpenUninstallKey(KEY_ALL_ACCESS | view_));
    HKEY rawProduct = nullptr;
    RegOpenKeyExW(uninstall.Get(), kProductSubkeyName, 0, KEY_ALL_ACCESS | view_, &rawProduct);
    UniqueRegKey product(rawProduct);
    if (RegSetValueExW(product.Get(), kInstallLocationValueName, 0, type,
                       static_cast<const BYTE*>(data), byteCount) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write the install location");
}

void UninstallEntry::SetLocation(const std::wstring& location) {
    SetRawLocation(REG_SZ, location.c_str(),
                   static_cast<DWORD>((location.size() + 1) * sizeof(wchar_t)));
}

void UninstallEntry::AddChildKey(const std::wstring& name) {
    CreateEmpty();
    HKEY child = nullptr;
    const std::wstring path =
        std::wstring(kUninstallKeyPath) + L"\\" + kProductSubkeyName + L"\\" + name;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_,
                        nullptr, &child, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create a child key");
    RegCloseKey(child);
}

bool UninstallEntry::Exists(REGSAM view) {
    const std::wstring path = std::wstring(kUninstallKeyPath) + L"\\" + kProductSubkeyName;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void WriteFile(const std::wstring& path, const std::string& content) {
    CreateFolders(FolderOf(path));
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        throw std::runtime_error("cannot create a test file");
    }
    DWORD written = 0;
    ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

void CreateFolders(const std::wstring& path) {
    if (path.size() <= 3 || FolderExists(path))
        return;
    CreateFolders(FolderOf(path));
    CreateDirectoryW(path.c_str(), nullptr);
}

void RemoveTree(const std::wstring& path) {
    if (!IsInside(path, TestRoot()) && !IsInside(path, ShellFolder(CSIDL_PROGRAMS)) &&
        !IsInside(path, ShellFolder(CSIDL_DESKTOPDIRECTORY)))
        throw std::logic_error("refusing to remove a tree outside the test folders");
    DeleteTree(path);
}

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::wstring();
    return path;
}

DefinedDrive::DefinedDrive(wchar_t after, const std::wstring& target, bool rawTarget) {
    const DWORD used = GetLogicalDrives();
    for (wchar_t letter = static_cast<wchar_t>(after + 1); letter <= L'Z'; ++letter) {
        if (used & (1u << (letter - L'A')))
            continue;
        const std::wstring name{letter, L':'};
        if (!DefineDosDeviceW(rawTarget ? DDD_RAW_TARGET_PATH : 0, name.c_str(), target.c_str()))
            break;
        name_ = name;
        return;
    }
    throw std::runtime_error("cannot define a drive letter");
}

DefinedDrive::~DefinedDrive() {
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, name_.c_str(), nullptr);
}

namespace {

std::vector<DWORD> OwnCommandInterpreters() {
    std::vector<DWORD> ids;
    for (const PROCESSENTRY32W& entry : RunningProcesses()) {
        if (entry.th32ParentProcessID == GetCurrentProcessId() &&
            CompareStringOrdinal(entry.szExeFile, -1, L"cmd.exe", -1, TRUE) == CSTR_EQUAL)
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

} // namespace

void TerminateProcessById(DWORD processId) {
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (process) {
        TerminateProcess(process.Get(), 1);
        WaitForSingleObject(process.Get(), 5000);
    }
}

bool SamePath(const std::wstring& left, const std::wstring& right) {
    return CompareStringOrdinal(left.c_str(), -1, right.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring ImagePathOf(DWORD processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return std::wstring();
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.Get(), 0, path, &length))
        return std::wstring();
    return std::wstring(path, length);
}

std::vector<DWORD> ProcessesRunningFrom(const std::wstring& folder) {
    std::vector<DWORD> ids;
    for (const PROCESSENTRY32W& entry : RunningProcesses()) {
        if (IsInside(ImagePathOf(entry.th32ProcessID), folder))
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

ChildCommandWatch::ChildCommandWatch() : before_(OwnCommandInterpreters()) {}

std::vector<DWORD> ChildCommandWatch::NewCommands() const {
    std::vector<DWORD> fresh;
    for (DWORD id : OwnCommandInterpreters()) {
        if (std::find(before_.begin(), before_.end(), id) == before_.end())
            fresh.push_back(id);
    }
    return fresh;
}

void ChildCommandWatch::StopNewCommands() const {
    const std::vector<DWORD> commands = NewCommands();
    for (DWORD command : commands) {
        TerminateProcessById(command);
        for (const PROCESSENTRY32W& entry : RunningProcesses()) {
            if (entry.th32ParentProcessID == command)
                TerminateProcessById(entry.th32ProcessID);
        }
    }
}

namespace {

constexpr const wchar_t* kSessionManagerKey =
    L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t* kPendingValue = L"PendingFileRenameOperations";

bool ReadPending(std::vector<wchar_t>& value) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManagerKey, kPendingValue, RRF_RT_REG_MULTI_SZ,
                     nullptr, nullptr, &bytes) != ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManagerKey, kPendingValue, RRF_RT_REG_MULTI_SZ,
                     nullptr, value.data(), &bytes) != ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    value.resize(bytes / sizeof(wchar_t));
    return true;
}

// The strings of a REG_MULTI_SZ value, empty ones included (an empty new name means delete).
std::vector<std::wstring> Strings(const std::vector<wchar_t>& value) {
    std::vector<std::wstring> strings;
    size_t start = 0;
    for (size_t at = 0; at < value.size(); ++at) {
        if (value[at] == L'\0') {
            strings.emplace_back(value.data() + start, at - start);
            start = at + 1;
        }
    }
    // The list ends with an empty string of its own.
    while (!strings.empty() && strings.back().empty() && strings.size() % 2 == 1)
        strings.pop_back();
    return strings;
}

} // namespace

PendingRestartRemovals::PendingRestartRemovals() {
    existed_ = ReadPending(before_);
}

PendingRestartRemovals::~PendingRestartRemovals() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return;
    if (existed_)
        RegSetValueExW(key, kPendingValue, 0, REG_MULTI_SZ,
                       reinterpret_cast<const BYTE*>(before_.data()),
                       static_cast<DWORD>(before_.size() * sizeof(wchar_t)));
    else
        RegDeleteValueW(key, kPendingValue);
    RegCloseKey(key);
}

std::vector<std::wstring> PendingRestartRemovals::Added() const {
    std::vector<wchar_t> now;
    ReadPending(now);
    const std::vector<std::wstring> earlier = Strings(before_);
    const std::vector<std::wstring> strings = Strings(now);
    std::vector<std::wstring> added;
    for (size_t at = earlier.size(); at + 1 < strings.size(); at += 2) {
        if (!strings[at + 1].empty())
            continue; // a rename, not a deletion
        std::wstring path = strings[at];
        if (path.compare(0, 4, L"\\??\\") == 0)
            path.erase(0, 4);
        added.push_back(path);
    }
    return added;
}

} // namespace TestSupport
