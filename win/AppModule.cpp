#include "AppModule.h"

#include <new>

CAppModule _Module;

namespace {

class CriticalSectionLock {
  public:
    explicit CriticalSectionLock(CRITICAL_SECTION& section) : section_(section) {
        EnterCriticalSection(&section_);
    }
    ~CriticalSectionLock() { LeaveCriticalSection(&section_); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

  private:
    CRITICAL_SECTION& section_;
};

} // namespace

HRESULT CAppModule::Init(HINSTANCE instance) {
    if (initialized_)
        return S_FALSE;
    InitializeCriticalSection(&lock_);
    instance_ = instance ? instance : GetModuleHandleW(nullptr);
    mainThreadId_ = GetCurrentThreadId();
    initialized_ = true;
    return S_OK;
}

void CAppModule::Term() {
    if (!initialized_)
        return;
    while (pending_) {
        CreateWndData* next = pending_->next;
        delete pending_;
        pending_ = next;
    }
    DeleteCriticalSection(&lock_);
    initialized_ = false;
}

bool CAppModule::AddCreateWndData(void* object) {
    if (!initialized_)
        return false;
    CriticalSectionLock hold(lock_);
    CreateWndData* record =
        new (std::nothrow) CreateWndData{object, GetCurrentThreadId(), pending_};
    if (!record)
        return false;
    pending_ = record;
    return true;
}

void* CAppModule::ExtractCreateWndData() {
    CriticalSectionLock hold(lock_);
    const DWORD thread = GetCurrentThreadId();
    for (CreateWndData** link = &pending_; *link; link = &(*link)->next) {
        if ((*link)->threadId == thread) {
            CreateWndData* found = *link;
            *link = found->next;
            void* object = found->object;
            delete found;
            return object;
        }
    }
    return nullptr;
}
