#pragma once
// Design units (device-independent pixels at 96 DPI) to device pixels and back, for one
// dialog. Works as a percentage: 100 at 96 DPI, 150 at 144 DPI. The percentage is never 0:
// a DPI that cannot be read counts as 96.
#include <windows.h>

class CDPI {
  public:
    enum Awareness { NotAware = 0, SystemAware = 1, PerMonitorAware = 2 };

    CDPI() = default;

    // Looks up the DPI entry points (once per process), reads the primary monitor's DPI and
    // makes the process DPI aware. Called once per dialog, before its window exists.
    void Init();
    // Re-reads the DPI of the monitor that holds the window.
    void UpdateForWindow(HWND window);

    int Scale(int value) const;
    int Unscale(int value) const;
    void ScaleRect(RECT* rect) const;
    void ScaleRect(const RECT* source, RECT* destination) const;

    int CurrentPercent() const { return currentPercent_; }
    int InitialPercent() const { return initialPercent_; }
    int Mode() const { return mode_; }

  private:
    using SetProcessDPIAwareFunction = BOOL(WINAPI*)();
    using SetProcessDpiAwarenessFunction = HRESULT(WINAPI*)(int);
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

    void ReadDpi(HMONITOR monitor);
    int Percent() const;

    SetProcessDPIAwareFunction setProcessDPIAware_ = nullptr;
    SetProcessDpiAwarenessFunction setProcessDpiAwareness_ = nullptr;
    GetDpiForMonitorFunction getDpiForMonitor_ = nullptr;
    int currentPercent_ = 100;
    int initialPercent_ = 0;
    int mode_ = NotAware;
};
