#include "GraphicsDevices.h"

#include "GraphicsEntryPoints.h"

#include "ui/composition/MadeOnce.h"

namespace {

// Hosts are made on more than one thread in the tests; the set is made once all the same.
SRWLOCK g_lock = SRWLOCK_INIT;
std::weak_ptr<CGraphicsDevices> g_shared;

class ExclusiveLock {
  public:
    explicit ExclusiveLock(SRWLOCK* lock) : lock_(lock) { AcquireSRWLockExclusive(lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

  private:
    SRWLOCK* lock_;
};

// The object made on the first call that succeeds (null while none could be made).
template <class Interface, class Make>
Interface* Held(Microsoft::WRL::ComPtr<Interface>* held, const Make& make) {
    Composition::MadeOnce(held, make);
    return held->Get();
}

} // namespace

std::shared_ptr<CGraphicsDevices> CGraphicsDevices::Shared() {
    ExclusiveLock lock(&g_lock);
    std::shared_ptr<CGraphicsDevices> devices = g_shared.lock();
    if (!devices || devices->Lost()) {
        devices.reset(new CGraphicsDevices());
        g_shared = devices;
    }
    return devices;
}

CGraphicsDevices::~CGraphicsDevices() {
    // What was made from a device goes before it.
    m_direct3D.reset();
    m_wicFactory.Reset();
    m_d2dFactory.Reset();
    m_dwriteFactory.Reset();
}

IDWriteFactory* CGraphicsDevices::DWriteFactory() {
    ExclusiveLock lock(&m_lock);
    return Held(std::addressof(m_dwriteFactory), [](IDWriteFactory** factory) {
        return Graphics::CreateDWriteFactory(DWRITE_FACTORY_TYPE_SHARED, factory);
    });
}

ID2D1Factory* CGraphicsDevices::D2DFactory() {
    ExclusiveLock lock(&m_lock);
    return Held(std::addressof(m_d2dFactory), &Graphics::CreateD2DFactory);
}

IWICImagingFactory* CGraphicsDevices::WicFactory() {
    ExclusiveLock lock(&m_lock);
    return Held(std::addressof(m_wicFactory), &Graphics::CreateWicFactory);
}

const CDirect3DDevices* CGraphicsDevices::Direct3D() {
    ExclusiveLock lock(&m_lock);
    if (!m_direct3DTried) {
        m_direct3DTried = true;
        m_direct3D = CDirect3DDevices::Create();
    }
    return m_direct3D.get();
}

const CDirect3DDevices* CGraphicsDevices::Direct3DIfMade() const {
    ExclusiveLock lock(&m_lock);
    return m_direct3D.get();
}
