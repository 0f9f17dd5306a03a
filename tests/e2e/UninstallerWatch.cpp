// Watches the uninstaller from beside it, as the end-to-end tests need: which uninstaller
// processes start, the windows the running one shows and where, which window has the keyboard
// when a key arrives, which programs it starts, its peak memory and its exit code. It reads
// and never touches, except that on a stop request or its time-out it ends the uninstaller
// it watches (a test that fails must leave nothing running).
//
//   uninstaller_watch OUTDIR [SECONDS [IMAGE]]
//
// IMAGE is the program file name to watch (default uninstaller.exe; the benchmarks watch
// another program the same way).
// OUTDIR\state.txt is rewritten whole (write, then rename) whenever what it says changes:
//   pid P                    the watched uninstaller (the first one seen), 0 before
//   uninstallers N           how many uninstaller processes were seen in all
//   seen_at US               when it was first seen (Unix time in microseconds)
//   window H OWNER X Y W H US   each visible top-level window of it (screen pixels) and
//                            when it was first seen
//   foreground H             the foreground window
//   child NAME               programs it started
//   key VK OURS              a key pressed; OURS is 1 when one of its windows had the keyboard
//   peak_working_set B, peak_pagefile B   its peak memory so far
//   exit CODE                once it has ended; `stopped` when this program ended it
//   done                     last line of the final state
// Creating OUTDIR\stop asks it to end.
// A test helper, run on Wine or a recent Windows only: newer declarations are welcome.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0A00
#undef WINVER
#define WINVER 0x0A00
#include "Files.h"
#include "Text.h"
#include "ProcessWindows.h"
#include "Wait.h"

#include "RunningProcesses.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

struct Window {
    HWND handle;
    HWND owner;
    RECT rect;
    unsigned long long firstSeen;
};

struct State {
    DWORD pid = 0;
    std::set<DWORD> uninstallers;
    unsigned long long seenAt = 0;
    std::vector<Window> windows;
    HWND foreground = nullptr;
    std::vector<std::wstring> children;
    std::vector<std::pair<DWORD, bool>> keys;
    SIZE_T peakWorkingSet = 0;
    SIZE_T peakPagefile = 0;
    bool ended = false;
    bool stopped = false;
    DWORD exitCode = 0;
};

State g_state;

unsigned long long NowMicroseconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    // 100 ns ticks since 1601 to microseconds since 1970.
    return ticks / 10 - 11644473600ULL * 1000000ULL;
}

bool IsOurs(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return window && g_state.pid && pid == g_state.pid;
}

std::string Render(const State& state) {
    std::string text;
    char line[256];
    const auto add = [&](const char* format, auto... values) {
        std::snprintf(line, sizeof line, format, values...);
        text += line;
        text += '\n';
    };
    add("pid %lu", state.pid);
    add("uninstallers %u", static_cast<unsigned>(state.uninstallers.size()));
    add("seen_at %llu", state.seenAt);
    for (const Window& w : state.windows)
        add("window %llu %llu %ld %ld %ld %ld %llu",
            static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(w.handle)),
            static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(w.owner)), w.rect.left,
            w.rect.top, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top, w.firstSeen);
    add("foreground %llu",
        static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(state.foreground)));
    for (const std::wstring& child : state.children)
        text += "child " + TestSupport::Utf8(child) + "\n";
    for (const auto& key : state.keys)
        add("key %lu %d", key.first, key.second ? 1 : 0);
    add("peak_working_set %llu", static_cast<unsigned long long>(state.peakWorkingSet));
    add("peak_pagefile %llu", static_cast<unsigned long long>(state.peakPagefile));
    if (state.ended)
        add("exit %ld", static_cast<long>(state.exitCode));
    if (state.stopped)
        add("stopped");
    return text;
}

// Readers see the old state or the new one whole.
void WriteState(const std::wstring& folder, const std::string& text) {
    TestSupport::WriteWhole(folder + L"\\state.txt", text);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        g_state.keys.emplace_back(key->vkCode, IsOurs(GetForegroundWindow()));
    }
    return CallNextHookEx(nullptr, code, message, data);
}

void ScanWindows() {
    const std::vector<Window> before = g_state.windows;
    std::vector<Window> collected;
    for (HWND window : TestSupport::VisibleWindowsOf(g_state.pid)) {
        RECT rect;
        GetWindowRect(window, &rect);
        collected.push_back({window, GetWindow(window, GW_OWNER), rect, 0});
    }
    for (Window& window : collected) {
        window.firstSeen = NowMicroseconds();
        for (const Window& known : before) {
            if (known.handle == window.handle)
                window.firstSeen = known.firstSeen;
        }
    }
    g_state.windows = collected;
}

struct ProcessEntry {
    DWORD id;
    DWORD parent;
    std::wstring name;
};

std::vector<ProcessEntry> Processes() {
    std::vector<ProcessEntry> list;
    for (const PROCESSENTRY32W& entry : RunningProcesses())
        list.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    return list;
}

std::wstring g_image = L"uninstaller.exe";

bool IsUninstaller(const std::wstring& name) {
    return CompareStringOrdinal(name.c_str(), -1, g_image.c_str(), -1, TRUE) == CSTR_EQUAL;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: uninstaller_watch OUTDIR [SECONDS [IMAGE]]\n");
        return 2;
    }
    // Window rectangles in the display's own pixels whatever its DPI: a DPI-unaware reader
    // would be given them scaled to 96 DPI.
    using SetAwareness = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const auto setAwareness = reinterpret_cast<SetAwareness>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (!setAwareness || !setAwareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        SetProcessDPIAware();

    const std::wstring folder = argv[1];
    const unsigned long long seconds = argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 120;
    if (argc > 3)
        g_image = argv[3];
    const ULONGLONG deadline = GetTickCount64() + seconds * 1000;
    const std::wstring stopFile = folder + L"\\stop";

    // Uninstallers left from before are not the one to watch.
    std::set<DWORD> earlier;
    for (const ProcessEntry& process : Processes()) {
        if (IsUninstaller(process.name))
            earlier.insert(process.id);
    }

    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, GetModuleHandleW(nullptr), 0);
    HANDLE watched = nullptr;
    std::string written;
    for (;;) {
        for (const ProcessEntry& process : Processes()) {
            if (IsUninstaller(process.name) && !earlier.count(process.id)) {
                g_state.uninstallers.insert(process.id);
                if (!watched) {
                    watched = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION |
                                              PROCESS_VM_READ | PROCESS_TERMINATE,
                                          FALSE, process.id);
                    if (watched) {
                        g_state.pid = process.id;
                        g_state.seenAt = NowMicroseconds();
                    }
                }
            }
            if (g_state.pid && process.parent == g_state.pid &&
                std::find(g_state.children.begin(), g_state.children.end(), process.name) ==
                    g_state.children.end())
                g_state.children.push_back(process.name);
        }
        if (watched) {
            PROCESS_MEMORY_COUNTERS memory = {};
            memory.cb = sizeof memory;
            // The counters can be read only while the process lives; peaks only grow.
            if (GetProcessMemoryInfo(watched, &memory, sizeof memory)) {
                g_state.peakWorkingSet =
                    std::max(g_state.peakWorkingSet, memory.PeakWorkingSetSize);
                g_state.peakPagefile = std::max(g_state.peakPagefile, memory.PeakPagefileUsage);
            }
            ScanWindows();
            g_state.foreground = GetForegroundWindow();
            if (WaitForSingleObject(watched, 0) == WAIT_OBJECT_0) {
                g_state.ended = true;
                GetExitCodeProcess(watched, &g_state.exitCode);
                g_state.windows.clear();
            }
        }
        const bool stop = TestSupport::PathExists(stopFile) || GetTickCount64() >= deadline;
        if (stop && watched && !g_state.ended) {
            TerminateProcess(watched, 1000);
            WaitForSingleObject(watched, 5000);
            g_state.stopped = true;
            g_state.ended = true;
            GetExitCodeProcess(watched, &g_state.exitCode);
            g_state.windows.clear();
        }
        const bool finished = g_state.ended || stop;
        std::string text = Render(g_state);
        if (finished)
            text += "done\n";
        if (text != written) {
            WriteState(folder, text);
            written = text;
        }
        if (finished)
            break;
        // Pumps messages so the keyboard hook is called, and paces the loop.
        TestSupport::PumpFor(15);
    }
    if (hook)
        UnhookWindowsHookEx(hook);
    if (watched)
        CloseHandle(watched);
    return 0;
}
