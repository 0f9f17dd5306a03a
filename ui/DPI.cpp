#include "DPI.h"

#include "win/SystemLibrary.h"

#include <mutex>

namespace {

// Values of shellscalingapi.h, which the Windows 7 headers lack.
constexpr int kEffectiveDpi = 0;       // MDT_EFFECTIVE_DPI
constexpr int kPerMonitorDpiAware = 2; // PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kDesignDpi = 96;

struct DpiEntryPoints {
    BOOL(WINAPI* setProcessDPIAware)() = nullptr;
    HRESULT(WINAPI* setProcessDpiAwareness)(int) = nullptr;
    HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
};

template <typename Function> void LookUp(HMODULE module, const char* name, Function* function) {
    *function =
        module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

// Windows 7 has no Shcore, and Vista-era systems no per-monitor awareness: every entry is
// looked up, once for the whole process, and the libraries stay loaded for good because
// every CDPI keeps the pointers.
const DpiEntryPoints& EntryPoints() {
    static std::once_flag once;
    static DpiEntryPoints entries;
    std::call_once(once, [] {
        HMODULE user32 = LoadSystemLibrary(L"user32.dll");
        HMODULE shcore = LoadSystemLibrary(L"shcore.dll");
        LookUp(user32, "SetProcessDPIAware", &entries.setProcessDPIAware);
        LookUp(shcore, "SetProcessDpiAwareness", &entries.setProcessDpiAwareness);
        LookUp(shcore, "GetDpiForMonitor", &entries.getDpiForMonitor);
    });
    return entries;
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

void CDPI::Init() {
    currentPercent_ = 0;
    initialPercent_ = 0;
    mode_ = NotAware;

    const DpiEntryPoints& entries = EntryPoints();
    setProcessDPIAware_ = entries.setProcessDPIAware;
    setProcessDpiAwareness_ = entries.setProcessDpiAwareness;
    getDpiForMonitor_ = entries.getDpiForMonitor;

    // Read before the awareness is set; the primary monitor holds the point (1, 1).
    ReadDpi(MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTONEAREST));

    if (setProcessDpiAwareness_) {
        // E_ACCESSDENIED: the awareness was fixed before (a manifest, an earlier dialog).
        const HRESULT result = setProcessDpiAwareness_(kPerMonitorDpiAware);
        if (result == S_OK || result == E_ACCESSDENIED)
            mode_ = PerMonitorAware;
    } else if (setProcessDPIAware_ && setProcessDPIAware_()) {
        mode_ = SystemAware;
    }
}

void CDPI::UpdateForWindow(HWND window) {
    ReadDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

void CDPI::ReadDpi(HMONITOR monitor) {
    int dpi = 0;
    if (getDpiForMonitor_) {
        UINT dpiX = 0, dpiY = 0;
        if (SUCCEEDED(getDpiForMonitor_(monitor, kEffectiveDpi, &dpiX, &dpiY)))
            dpi = static_cast<int>(dpiX);
    } else {
        dpi = DesktopDpi();
    }
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
