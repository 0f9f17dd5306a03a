#pragma once
// The composition host of one dialog window: the graphics devices (the process's, shared with
// the other hosts), the composition device and target, the root visual, and the root surface
// that holds the window's frame (a transparent margin with a soft drop shadow of the content
// rectangle). Render objects hang their visuals under the root visual and make their surfaces,
// swap chains and text formats from this host's devices.
#include "CompositionBackend.h"
#include "DPI.h"
#include "GraphicsDevices.h"

#include "ui/composition/Composition.h"

#include <windows.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dwrite.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

class CSVGSimpleObject;
struct ShadowStyle;

class CDCompUtil {
  public:
    CDCompUtil() = default;
    CDCompUtil(const CDCompUtil&) = delete;
    CDCompUtil& operator=(const CDCompUtil&) = delete;
    ~CDCompUtil();

    // Set by the dialog before CreateDevices.
    HWND m_hWnd = nullptr;
    CDPI* m_dpi = nullptr;
    // Selects the shadow style: 1 active, 0 inactive.
    int m_active = 1;

    // The extended style bits the next window must be created with for the backend its host
    // will use: WS_EX_NOREDIRECTIONBITMAP for DirectComposition, which takes effect only when
    // CreateWindowEx makes the window; none for the software compositor's layered window.
    static DWORD CreationExStyleForNextWindow() { return CreationExStyleFor(NextWindowBackend()); }

    // Builds the stack if it does not exist yet; always refreshes the client size first.
    void CreateDevices();
    // Repaints the root surface (frame and shadow) at the current client size.
    virtual HRESULT DrawFrame();
    // Records the result of a step of the composition (the host's, or a render object's);
    // returns it. A lost device is reported (ReportIfDeviceLost), not counted as a failure.
    HRESULT Check(HRESULT hr);
    // Any thread (a render control's animation thread too): if hr says the devices are lost
    // (DXGI_ERROR_DEVICE_REMOVED or _RESET, D2DERR_RECREATE_TARGET), the set is marked lost
    // and every host holding it is sent DeviceLostMessage, which its dialog hands to
    // RecoverFromDeviceLoss. True if it did.
    bool ReportIfDeviceLost(HRESULT hr) const;
    // The message a host's window gets when the devices it draws with are lost.
    static UINT DeviceLostMessage();
    // UI thread, on DeviceLostMessage: if the host's devices are lost, new ones are made, the
    // frame and the tree are built again on them, each object (in the order they were made)
    // is made again and drawn as it stood, and the host commits. Once per loss: false (and
    // nothing done) when the host's devices are not lost, as for the second message of a loss.
    bool RecoverFromDeviceLoss(const std::vector<CSVGSimpleObject*>& objects);
    // The set of graphics objects the host draws with (null before CreateDevices).
    const std::shared_ptr<CGraphicsDevices>& Devices() const { return m_devices; }
    // Whether a step has failed since the host was built.
    bool CompositionFailed() const { return m_failed; }
    // For the end of WM_INITDIALOG, before the window shows: true when a step of
    // DirectComposition failed. The process uses the software compositor from then on, the
    // host is empty again, and the dialog is to be run again on a new window
    // (CDialogImplBase::EndAndRunAgain).
    bool MustRunAgainWithSoftwareCompositor();
    // Lets go of the tree and the devices, as before CreateDevices (window, DPI and the active
    // flag are kept).
    void Reset();
    // Shows the changes made to the tree; 0 without a device.
    HRESULT Commit();

    // WM_SIZE as every dialog handles it: resize the root surface and repaint the frame
    // (nothing without a device or when minimised).
    void OnSize(WPARAM type, LPARAM size);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The backend the host composes with (decided by CreateDevices).
    CompositionBackend Backend() const { return m_backend; }
    // The process's graphics objects, shared with the other hosts alive (null before
    // CreateDevices, or when they cannot be made). The factories are made on first use.
    IDWriteFactory* DWriteFactory() const;
    // What render controls draw their pages with: the Direct2D device's factory on
    // DirectComposition, the process's Direct2D factory on the software compositor.
    ID2D1Factory* D2DFactory() const;
    // Direct2D's lock over the Direct3D device DirectComposition draws with: held by each
    // thread around its drawing and presenting there (CD2DLock). Null on the software
    // compositor, whose surfaces and pages share no device between threads.
    ID2D1Multithread* Multithread() const { return m_multithread.Get(); }
    // DirectComposition's devices; null on the software compositor, which needs none.
    ID3D11Device* D3DDevice() const;
    IDXGIFactory2* DXGIFactory() const;
    ID2D1Device* D2DDevice() const;
    Composition::Device* CompositionDevice() const { return m_compositionDevice.get(); }
    const std::shared_ptr<Composition::Visual>& RootVisual() const { return m_rootVisual; }

  private:
    // The process's Direct3D devices, if made (null on the software compositor).
    const CDirect3DDevices* Direct3D() const;
    // The frame on the CPU, copied into the root surface (software compositor), or drawn with
    // Direct2D's effects.
    HRESULT DrawComputedFrame(int w, int h, const RECT& silhouetteRect, ShadowStyle style);
    HRESULT DrawFrameWithDirect2D(int w, int h, const RECT& silhouetteRect, ShadowStyle style);

    int m_width = 0;
    int m_height = 0;
    bool m_failed = false;
    // What the frame in the root surface was drawn for.
    bool m_frameDrawn = false;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    int m_frameActive = 0;
    int m_frameMargin = 0;
    CompositionBackend m_backend = CompositionBackend::Software;
    std::shared_ptr<CGraphicsDevices> m_devices;
    Microsoft::WRL::ComPtr<ID2D1Multithread> m_multithread;
    std::unique_ptr<Composition::Device> m_compositionDevice;
    std::shared_ptr<Composition::Target> m_target;
    std::shared_ptr<Composition::Visual> m_rootVisual;
    std::shared_ptr<Composition::Surface> m_rootSurface;
};
