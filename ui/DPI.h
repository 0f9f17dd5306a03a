#pragma once
// Design units (device-independent pixels at 96 DPI) to device pixels and back, for one
// dialog. Works as a percentage: 100 at 96 DPI, 150 at 144 DPI. The percentage is never 0:
// a DPI that cannot be read counts as 96.
#include <windows.h>

class CDPI {
  public:
    enum Awareness { NotAware = 0, SystemAware = 1, PerMonitorAware = 2 };

    // The system's DPI entry points, each null where the system lacks it.
    struct EntryPoints {
        BOOL(WINAPI* setProcessDPIAware)() = nullptr;                             // User32
        HRESULT(WINAPI* setProcessDpiAwareness)(int) = nullptr;                   // Shcore
        HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr; // Shcore
    };
    // Looked up once per process; the libraries stay loaded.
    static const EntryPoints& SystemEntryPoints();

    CDPI() = default;

    // Makes the process DPI aware, then reads the primary monitor's DPI. Called once per
    // dialog, before its window exists. The second form takes the entry points to use.
    void Init();
    void Init(const EntryPoints& entryPoints);
    // Re-reads the DPI of the monitor that holds the window.
    void UpdateForWindow(HWND window);
    // Takes the new DPI from WM_DPICHANGED's wParam.
    void UpdateForDpiChange(WPARAM wParam);

    int Scale(int value) const;
    int Unscale(int value) const;
    void ScaleRect(RECT* rect) const;
    void ScaleRect(const RECT* source, RECT* destination) const;

    int CurrentPercent() const { return currentPercent_; }
    int InitialPercent() const { return initialPercent_; }
    int Mode() const { return mode_; }

  private:
    void ReadDpi(HMONITOR monitor);
    void TakeDpi(int dpi);
    int Percent() const;

    EntryPoints entries_;
    int currentPercent_ = 100;
    int initialPercent_ = 0;
    int mode_ = NotAware;
};
