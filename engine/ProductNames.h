#pragma once
// Fixed names of the installed product: registry entry, programs, shortcuts.

inline constexpr const wchar_t* kUninstallKeyPath =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const wchar_t* kProductSubkeyName = L"Corvane";
inline constexpr const wchar_t* kInstallLocationValueName = L"InstallLocation";

inline constexpr const wchar_t* kMainProgramImageName = L"Corvane.exe";
inline constexpr const wchar_t* kMainProgramRelativePath = L"Corvane.exe";
inline constexpr const wchar_t* kDebugBridgeImageName = L"adb.exe";
inline constexpr const wchar_t* kDebugBridgeRelativePath = L"platform-tools\\adb.exe";

// Held as GBK bytes and widened with the thread's ANSI code page, like the
// product's installer wrote it.
inline constexpr const char* kDesktopShortcutNameGbk = "\\VelkorCorvane.lnk";
inline constexpr const wchar_t* kStartMenuGroupName = L"\\Tessamure";
inline constexpr const wchar_t* kStartMenuShortcutName = L"\\VelkorCorvane.lnk";
// "\\卸载VelkorCorvane.lnk" (卸载: uninstall).
inline constexpr const wchar_t* kStartMenuUninstallShortcutName =
    L"\\\u5378\u8F7DVelkorCorvane.lnk";

// The launcher writes the uninstaller into this folder of the user's temporary folder and
// starts it from there.
inline constexpr const wchar_t* kTempCopyFolderName = L"KVDN13084007";
inline constexpr const wchar_t* kTempCopyFileName = L"uninstaller.exe";
