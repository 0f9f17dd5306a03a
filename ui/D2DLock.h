#pragma once
// Direct2D's lock (ID2D1Multithread) held for a scope: where the UI thread and a render
// control's animation thread draw over one Direct3D device, each thread's Direct2D drawing and
// its use of Direct3D and DXGI (Present) happen inside it ("Multithreaded Direct2D apps").
// Without the interface (null) the guard does nothing.
#include <d2d1_1.h>

class CD2DLock {
  public:
    explicit CD2DLock(ID2D1Multithread* lock) : m_lock(lock) {
        if (m_lock)
            m_lock->Enter();
    }
    ~CD2DLock() {
        if (m_lock)
            m_lock->Leave();
    }
    CD2DLock(const CD2DLock&) = delete;
    CD2DLock& operator=(const CD2DLock&) = delete;

  private:
    ID2D1Multithread* m_lock;
};
