// The Windows side of tools/sample-installation: makes, shows and takes away a sample
// Corvane installation inside the sandbox, as the product's installer would have left it.
//
//   sample_helper create --product FILE [--launcher FILE] [--folder DIR] [--entry VALUE |
//                        --no-entry] [--running] [--running-elsewhere DIR] [--neighbours]
//   sample_helper show [--keys] [--folder DIR]
//   sample_helper remove [--folder DIR] [--elsewhere DIR]
//   sample_helper hold FILE STOPFILE SECONDS
//   sample_helper pending
//
// `hold` is another program that keeps a file of the installation open, with no sharing (a
// log file a tool still writes, say): it makes the file, holds it until STOPFILE appears or
// SECONDS have passed, and ends. `pending` prints the paths Windows is to delete at the next
// restart (PendingFileRenameOperations), one a line, in their order.
//
// It knows the product's names on its own (it is what an installer would have written), so
// it checks the uninstaller instead of sharing its mistakes.
#include "RunningProcesses.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const wchar_t kDefaultFolder[] = L"C:\\Program Files\\Corvane";
const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kEntryName[] = L"Corvane";
const wchar_t kNeighbourEntryName[] = L"CorvaneHelper";
const wchar_t kShortcutName[] = L"VelkorCorvane.lnk";
const wchar_t kUninstallShortcutName[] = L"\u5378\u8F7DVelkorCorvane.lnk"; // 卸载VelkorCorvane
const wchar_t kGroupName[] = L"Tessamure";
// Left by `create` in every folder it makes, so `remove` takes away nothing else.
const wchar_t kMarkerName[] = L".sample-installation";

// Near misses: things beside the installation that share part of its names. An
// uninstaller that removes by prefix or by a careless path would take them too.
const wchar_t kNeighbourFolderSuffix[] = L" Tools"; // "C:\Program Files\Corvane Tools"
const wchar_t kNeighbourShortcutName[] = L"VelkorCorvane Beta.lnk"; // on the desktop
const wchar_t kNeighbourGroupName[] = L"Tessamure Tools";           // a second Start-menu group

void Print(const std::wstring& text) {
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

[[noreturn]] void Fail(const std::wstring& text) {
    Print(L"sample_helper: " + text);
    std::fflush(stdout);
    std::exit(1);
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ParentOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

void MakeFolders(const std::wstring& path) {
    if (path.size() <= 3 || IsFolder(path))
        return;
    MakeFolders(ParentOf(path));
    if (!CreateDirectoryW(path.c_str(), nullptr) && !IsFolder(path))
        Fail(L"cannot make the folder " + path);
}

void WriteText(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Fail(L"cannot write " + path);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void CopyInto(const std::wstring& from, const std::wstring& to) {
    MakeFolders(ParentOf(to));
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
        Fail(L"cannot copy " + from + L" to " + to);
}

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                path)))
        Fail(L"cannot find a shell folder");
    return path;
}

std::wstring Desktop() {
    return ShellFolder(CSIDL_DESKTOPDIRECTORY);
}

std::wstring Group() {
    return ShellFolder(CSIDL_PROGRAMS) + L"\\" + kGroupName;
}

// A real shell link, as an installer makes it.
void MakeShortcut(const std::wstring& link, const std::wstring& target) {
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink))))
        Fail(L"no shell link object");
    shellLink->SetPath(target.c_str());
    shellLink->SetWorkingDirectory(ParentOf(target).c_str());
    IPersistFile* file = nullptr;
    HRESULT saved = E_FAIL;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        saved = file->Save(link.c_str(), TRUE);
        file->Release();
    }
    shellLink->Release();
    if (FAILED(saved) || !IsFile(link))
        Fail(L"cannot save the shortcut " + link);
}

void StartDetached(const std::wstring& program) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = L"\"" + program + L"\"";
    // In its own folder, as its shortcut starts it.
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS, nullptr, ParentOf(program).c_str(), &startup, &process))
        Fail(L"cannot start " + program);
    WaitForInputIdle(process.hProcess, 2000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

HKEY OpenUninstallKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        Fail(L"cannot open the uninstall key");
    return key;
}

void SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void WriteEntry(const wchar_t* name, const std::wstring& location, const std::wstring& folder) {
    HKEY uninstall = OpenUninstallKey();
    HKEY entry = nullptr;
    if (RegCreateKeyExW(uninstall, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &entry, nullptr) !=
        ERROR_SUCCESS)
        Fail(L"cannot write the uninstall entry");
    SetString(entry, L"DisplayName", name);
    SetString(entry, L"Publisher", L"Velkor");
    SetString(entry, L"DisplayVersion", L"1.0.0");
    SetString(entry, L"InstallLocation", location);
    SetString(entry, L"UninstallString", L"\"" + folder + L"\\uninstall.exe\"");
    RegCloseKey(entry);
    RegCloseKey(uninstall);
}

// The entry's state: absent (false), or present with its InstallLocation (maybe empty).
bool ReadEntry(std::wstring* location) {
    const std::wstring path = std::wstring(kUninstallKey) + L"\\" + kEntryName;
    HKEY entry = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &entry) != ERROR_SUCCESS)
        return false;
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(entry, L"InstallLocation", nullptr, &type, reinterpret_cast<BYTE*>(value),
                         &size) == ERROR_SUCCESS &&
        type == REG_SZ)
        *location = value;
    RegCloseKey(entry);
    return true;
}

bool NeighbourEntryExists() {
    const std::wstring path = std::wstring(kUninstallKey) + L"\\" + kNeighbourEntryName;
    HKEY entry = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &entry) != ERROR_SUCCESS)
        return false;
    RegCloseKey(entry);
    return true;
}

struct Process {
    DWORD id;
    std::wstring name;
    std::wstring image;
};

std::vector<Process> Processes() {
    std::vector<Process> list;
    for (const PROCESSENTRY32W& entry : RunningProcesses()) {
        Process process{entry.th32ProcessID, entry.szExeFile, L""};
        if (HANDLE handle =
                OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID)) {
            wchar_t image[MAX_PATH] = {};
            DWORD length = MAX_PATH;
            if (QueryFullProcessImageNameW(handle, 0, image, &length))
                process.image.assign(image, length);
            CloseHandle(handle);
        }
        list.push_back(process);
    }
    return list;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool IsInside(const std::wstring& path, const std::wstring& folder) {
    const std::wstring prefix = folder + L"\\";
    return !folder.empty() && path.size() > prefix.size() &&
           CompareStringOrdinal(path.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

bool IsProductProgram(const Process& process) {
    return SameText(process.name, L"Corvane.exe") || SameText(process.name, L"adb.exe");
}

void StopProgramsIn(const std::wstring& folder) {
    for (const Process& process : Processes()) {
        if (!IsProductProgram(process) || !IsInside(process.image, folder))
            continue;
        if (HANDLE handle = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process.id)) {
            TerminateProcess(handle, 1);
            WaitForSingleObject(handle, 5000);
            CloseHandle(handle);
        }
    }
}

int CountFiles(const std::wstring& folder) {
    int count = 0;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += CountFiles(folder + L"\\" + name);
        else
            ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

std::vector<std::wstring> Entries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void RemoveTree(const std::wstring& path) {
    if (IsFile(path)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
        return;
    }
    for (const std::wstring& name : Entries(path))
        RemoveTree(path + L"\\" + name);
    RemoveDirectoryW(path.c_str());
}

// Removes a folder only if `create` made it (its marker is inside).
void RemoveMadeFolder(const std::wstring& folder) {
    if (!IsFolder(folder))
        return;
    if (!IsFile(folder + L"\\" + kMarkerName)) {
        Print(L"sample_helper: leaving " + folder + L": not made by the sample installation");
        return;
    }
    RemoveTree(folder);
}

void MakeMarkedFolder(const std::wstring& folder) {
    MakeFolders(folder);
    WriteText(folder + L"\\" + kMarkerName, "made by tools/sample-installation\n");
}

struct Options {
    std::wstring folder = kDefaultFolder;
    std::wstring entry;
    bool entryGiven = false;
    bool noEntry = false;
    std::wstring product;
    std::wstring launcher;
    bool running = false;
    std::wstring elsewhere;
    bool neighbours = false;
    bool keys = false;
};

Options ReadOptions(int argc, wchar_t** argv) {
    Options options;
    for (int i = 2; i < argc; ++i) {
        const std::wstring option = argv[i];
        const auto value = [&]() -> std::wstring {
            if (i + 1 >= argc)
                Fail(option + L" needs a value");
            return argv[++i];
        };
        if (option == L"--folder")
            options.folder = value();
        else if (option == L"--entry") {
            options.entry = value();
            options.entryGiven = true;
        } else if (option == L"--no-entry")
            options.noEntry = true;
        else if (option == L"--product")
            options.product = value();
        else if (option == L"--launcher")
            options.launcher = value();
        else if (option == L"--running")
            options.running = true;
        else if (option == L"--running-elsewhere" || option == L"--elsewhere")
            options.elsewhere = value();
        else if (option == L"--neighbours")
            options.neighbours = true;
        else if (option == L"--keys")
            options.keys = true;
        else
            Fail(L"unknown option " + option);
    }
    while (options.folder.size() > 3 && options.folder.back() == L'\\')
        options.folder.pop_back();
    return options;
}

int Create(const Options& options) {
    if (options.product.empty() || !IsFile(options.product))
        Fail(L"--product names no program");
    const std::wstring& folder = options.folder;
    if (IsFolder(folder))
        Fail(folder + L" exists already (sample-installation remove takes it away)");

    MakeMarkedFolder(folder);
    CopyInto(options.product, folder + L"\\Corvane.exe");
    CopyInto(options.product, folder + L"\\platform-tools\\adb.exe");
    if (!options.launcher.empty())
        CopyInto(options.launcher, folder + L"\\uninstall.exe");
    MakeFolders(folder + L"\\resources");
    for (int i = 1; i <= 3; ++i)
        WriteText(folder + L"\\resources\\data" + std::to_wstring(i) + L".bin",
                  std::string(4096 * i, static_cast<char>('a' + i)));
    WriteText(folder + L"\\platform-tools\\NOTICE.txt", "Android platform tools\n");

    if (!options.noEntry)
        WriteEntry(kEntryName, options.entryGiven ? options.entry : folder, folder);

    MakeShortcut(Desktop() + L"\\" + kShortcutName, folder + L"\\Corvane.exe");
    MakeFolders(Group());
    MakeShortcut(Group() + L"\\" + kShortcutName, folder + L"\\Corvane.exe");
    MakeShortcut(Group() + L"\\" + kUninstallShortcutName, folder + L"\\uninstall.exe");

    if (options.neighbours) {
        const std::wstring tools = folder + kNeighbourFolderSuffix;
        MakeMarkedFolder(tools);
        WriteText(tools + L"\\keep.txt", "beside the installation, not part of it\n");
        MakeShortcut(Desktop() + L"\\" + kNeighbourShortcutName, tools + L"\\keep.txt");
        const std::wstring otherGroup = ShellFolder(CSIDL_PROGRAMS) + L"\\" + kNeighbourGroupName;
        MakeMarkedFolder(otherGroup);
        MakeShortcut(otherGroup + L"\\" + kShortcutName, tools + L"\\keep.txt");
        WriteEntry(kNeighbourEntryName, tools, tools);
    }

    if (options.running) {
        StartDetached(folder + L"\\Corvane.exe");
        StartDetached(folder + L"\\platform-tools\\adb.exe");
    }
    if (!options.elsewhere.empty()) {
        MakeMarkedFolder(options.elsewhere);
        CopyInto(options.product, options.elsewhere + L"\\Corvane.exe");
        StartDetached(options.elsewhere + L"\\Corvane.exe");
    }
    return 0;
}

int Show(const Options& options) {
    std::wstring location;
    const bool entry = ReadEntry(&location);
    const std::wstring desktopShortcut = Desktop() + L"\\" + kShortcutName;
    const bool group = IsFolder(Group());
    std::wstring groupList;
    for (const std::wstring& name : Entries(Group()))
        groupList += (groupList.empty() ? L"" : L", ") + name;
    std::vector<Process> product;
    for (const Process& process : Processes()) {
        if (IsProductProgram(process))
            product.push_back(process);
    }
    if (options.keys) {
        Print(L"entry=" + std::wstring(entry ? L"1" : L"0"));
        Print(L"entry_location=" + location);
        Print(L"neighbour_entry=" + std::wstring(NeighbourEntryExists() ? L"1" : L"0"));
        Print(L"folder_files=" +
              (IsFolder(options.folder) ? std::to_wstring(CountFiles(options.folder)) : L"-1"));
        Print(L"desktop_shortcut=" + std::wstring(IsFile(desktopShortcut) ? L"1" : L"0"));
        Print(L"group=" + (group ? groupList : L"-"));
        Print(L"profile=" + ShellFolder(CSIDL_PROFILE));
        for (const Process& process : product)
            Print(L"process=" + std::to_wstring(process.id) + L" " + process.image);
        return 0;
    }
    Print(L"  uninstall entry:  " +
          (entry ? L"present, InstallLocation = \"" + location + L"\"" : L"gone"));
    Print(L"  install folder:   " +
          (IsFolder(options.folder)
               ? options.folder + L" (" + std::to_wstring(CountFiles(options.folder)) + L" files)"
               : options.folder + L" gone"));
    Print(L"  desktop shortcut: " + desktopShortcut + L" " +
          (IsFile(desktopShortcut) ? L"present" : L"gone"));
    Print(L"  Start-menu group: " + Group() + L" " +
          (group ? L"holds " + (groupList.empty() ? L"nothing" : groupList) : L"gone"));
    if (product.empty())
        Print(L"  product running:  no");
    for (const Process& process : product)
        Print(L"  product running:  " + process.name + L" (pid " + std::to_wstring(process.id) +
              L") from " + process.image);
    return 0;
}

int Remove(const Options& options) {
    StopProgramsIn(options.folder);
    if (!options.elsewhere.empty()) {
        StopProgramsIn(options.elsewhere);
        RemoveMadeFolder(options.elsewhere);
    }
    HKEY uninstall = OpenUninstallKey();
    RegDeleteTreeW(uninstall, kEntryName);
    RegDeleteTreeW(uninstall, kNeighbourEntryName);
    RegCloseKey(uninstall);
    DeleteFileW((Desktop() + L"\\" + kShortcutName).c_str());
    DeleteFileW((Desktop() + L"\\" + kNeighbourShortcutName).c_str());
    DeleteFileW((Group() + L"\\" + kShortcutName).c_str());
    DeleteFileW((Group() + L"\\" + kUninstallShortcutName).c_str());
    RemoveDirectoryW(Group().c_str()); // only when empty
    RemoveMadeFolder(ShellFolder(CSIDL_PROGRAMS) + L"\\" + kNeighbourGroupName);
    RemoveMadeFolder(options.folder + kNeighbourFolderSuffix);
    RemoveMadeFolder(options.folder);
    return 0;
}

int Hold(const std::wstring& file, const std::wstring& stopFile, int seconds) {
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        Fail(L"cannot open " + file);
    DWORD written = 0;
    WriteFile(held, "adb server log\r\n", 16, &written, nullptr);
    Print(L"holding " + file);
    std::fflush(stdout);
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    while (GetTickCount64() < deadline && !IsFile(stopFile))
        Sleep(50);
    CloseHandle(held);
    return 0;
}

int PrintPendingDeletions() {
    const wchar_t key[] = L"System\\CurrentControlSet\\Control\\Session Manager";
    const wchar_t value[] = L"PendingFileRenameOperations";
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return 0;
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 2, L'\0');
    bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_MULTI_SZ, nullptr, data.data(),
                     &bytes) != ERROR_SUCCESS)
        return 1;
    // Pairs of names: the file, then its new name, empty for a deletion.
    std::vector<std::wstring> names;
    for (size_t at = 0; at < bytes / sizeof(wchar_t);) {
        const std::wstring name(data.data() + at);
        names.push_back(name);
        at += name.size() + 1;
    }
    for (size_t at = 0; at + 1 < names.size(); at += 2) {
        if (!names[at].empty() && names[at + 1].empty())
            Print(names[at].compare(0, 4, L"\\??\\") == 0 ? names[at].substr(4) : names[at]);
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        Fail(L"usage: sample_helper create|show|remove|hold [options]");
    const std::wstring command = argv[1];
    if (command == L"hold") {
        if (argc != 5)
            Fail(L"usage: sample_helper hold FILE STOPFILE SECONDS");
        return Hold(argv[2], argv[3], std::min(600, std::max(1, _wtoi(argv[4]))));
    }
    if (command == L"pending")
        return PrintPendingDeletions();
    CoInitialize(nullptr);
    const Options options = ReadOptions(argc, argv);
    int rc = 2;
    if (command == L"create")
        rc = Create(options);
    else if (command == L"show")
        rc = Show(options);
    else if (command == L"remove")
        rc = Remove(options);
    else
        Fail(L"unknown command " + command);
    CoUninitialize();
    std::fflush(stdout);
    return rc;
}
