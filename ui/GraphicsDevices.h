#pragma once
// The graphics objects of the process, one set shared by every window's host alive at the
// same time: the DirectWrite factory (text formats), the Direct2D factory (pages, and surfaces
// the software compositor draws), the WIC factory (the software compositor's bitmaps) and,
// for DirectComposition only, the Direct3D devices. Each part is made when first asked for:
// the main window on the software compositor, whose pictures are copied in as pixels, makes
// none of Direct2D and Direct3D (under Wine each is a software OpenGL context of hundreds of
// megabytes; Wine's Direct2D makes one of its own for every factory that draws). Released, in
// order, when the last host lets go.
#include "Direct3DDevices.h"

#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>

class CGraphicsDevices {
  public:
    // The set the live hosts share, made now (empty) if none is alive or the one alive was
    // lost.
    static std::shared_ptr<CGraphicsDevices> Shared();

    CGraphicsDevices(const CGraphicsDevices&) = delete;
    CGraphicsDevices& operator=(const CGraphicsDevices&) = delete;
    ~CGraphicsDevices();

    // Each made on the first call; null (and asked for again next time) when it cannot be made.
    IDWriteFactory* DWriteFactory();
    // Multithreaded; the Direct2D 1.0 interface, which every Windows has.
    ID2D1Factory* D2DFactory();
    IWICImagingFactory* WicFactory();
    // For the DirectComposition backend: made on the first call, null when it cannot be (and
    // then for the life of the set).
    const CDirect3DDevices* Direct3D();
    // The Direct3D devices if they have been made (nothing is made).
    const CDirect3DDevices* Direct3DIfMade() const;

    // Any thread: the devices were removed or reset (a driver update, a GPU reset), or a
    // target must be made again. The hosts holding the set make a new one; Shared hands this
    // one out no more.
    void MarkLost() { m_lost = true; }
    bool Lost() const { return m_lost; }

  private:
    CGraphicsDevices() = default;

    // The parts are made on whichever thread asks first.
    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    Microsoft::WRL::ComPtr<IDWriteFactory> m_dwriteFactory;
    Microsoft::WRL::ComPtr<ID2D1Factory> m_d2dFactory;
    Microsoft::WRL::ComPtr<IWICImagingFactory> m_wicFactory;
    bool m_direct3DTried = false;
    std::atomic<bool> m_lost{false};
    std::unique_ptr<CDirect3DDevices> m_direct3D;
};
