#include "DPI.h"

#include "win/SystemLibrary.h"

#include <mutex>

namespace {

// Values of shellscalingapi.h, which the Windows 7 headers lack.
constexpr int kEffectiveDpi = 0;       // MDT_EFFECTIVE_DPI
constexpr int kPerMonitorDpiAware = 2; // PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kDesignDpi = 96;

template <typename Function> void LookUp(HMODULE module, const char* name, Function* function) {
    *function =
        module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

int DesktopDpi() {
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    if (!dc)
        return 0;
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(desktop, dc);
    return dpi;
}

} // namespace

// Windows 7 has no Shcore, and Vista-era systems no per-monitor awareness: every entry is
// looked up, once for the whole process, and the libraries stay loaded for good because
// every CDPI keeps the pointers.
const CDPI::EntryPoints& CDPI::SystemEntryPoints() {
    static std::once_flag once;
    static EntryPoints entries;
    std::call_once(once, [] {
        HMODULE user32 = LoadSystemLibrary(L"user32.dll");
        HMODULE shcore = LoadSystemLibrary(L"shcore.dll");
        LookUp(user32, "SetProcessDPIAware", &entries.setProcessDPIAware);
        LookUp(shcore, "SetProcessDpiAwareness", &entries.setProcessDpiAwareness);
        LookUp(shcore, "GetDpiForMonitor", &entries.getDpiForMonitor);
    });
    return entries;
}

void CDPI::Init() {
    Init(SystemEntryPoints());
}

void CDPI::Init(const EntryPoints& entryPoints) {
    currentPercent_ = 0;
    initialPercent_ = 0;
    mode_ = NotAware;
    entries_ = entryPoints;

    if (entries_.setProcessDpiAwareness) {
        // E_ACCESSDENIED: the awareness was fixed before (a manifest, an earlier dialog).
        const HRESULT result = entries_.setProcessDpiAwareness(kPerMonitorDpiAware);
        if (result == S_OK || result == E_ACCESSDENIED)
            mode_ = PerMonitorAware;
    } else if (entries_.setProcessDPIAware && entries_.setProcessDPIAware()) {
        mode_ = SystemAware;
    }

    // Read only now: DPI virtualization (Vista to 8.0) shows a process not yet DPI aware 96 DPI.
    // The primary monitor holds the point (1, 1).
    ReadDpi(MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTONEAREST));
}

void CDPI::UpdateForWindow(HWND window) {
    ReadDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

void CDPI::UpdateForDpiChange(WPARAM wParam) {
    // WM_DPICHANGED: LOWORD(wParam) is the window's new DPI (HIWORD the same, vertically).
    TakeDpi(LOWORD(wParam));
}

void CDPI::ReadDpi(HMONITOR monitor) {
    int dpi = 0;
    if (entries_.getDpiForMonitor) {
        UINT dpiX = 0, dpiY = 0;
        if (SUCCEEDED(entries_.getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)))
            dpi = static_cast<int>(dpiX);
    } else {
        dpi = DesktopDpi();
    }
    TakeDpi(dpi);
}

void CDPI::TakeDpi(int dpi) {
    // A DPI that cannot be read counts as the design DPI, so the percentage is never 0.
    if (dpi <= 0)
        dpi = kDesignDpi;
    currentPercent_ = MulDiv(dpi, 100, kDesignDpi);
    if (initialPercent_ == 0)
        initialPercent_ = currentPercent_;
}

int CDPI::Percent() const {
    return mode_ == SystemAware ? initialPercent_ : currentPercent_;
}

int CDPI::Scale(int value) const {
    return mode_ == NotAware ? value : MulDiv(value, Percent(), 100);
}

int CDPI::Unscale(int value) const {
    return mode_ == NotAware ? value : MulDiv(value, 100, Percent());
}

void CDPI::ScaleRect(RECT* rect) const {
    ScaleRect(rect, rect);
}

void CDPI::ScaleRect(const RECT* source, RECT* destination) const {
    const RECT scaled = {Scale(source->left), Scale(source->top), Scale(source->right),
                         Scale(source->bottom)};
    *destination = scaled;
}
