#pragma once
// The dialog module: the program's instance, the thread that created it, and the
// registry that binds window handles to the objects that own them while a window is
// being created. Init before the first dialog, Term after the last.
#include <windows.h>

class CAppModule {
  public:
    CAppModule() = default;
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;
    ~CAppModule() { Term(); }

    HRESULT Init(HINSTANCE instance);
    void Term();

    bool IsInitialized() const { return initialized_; }
    HINSTANCE Instance() const { return instance_; }
    DWORD MainThreadId() const { return mainThreadId_; }

    // The object whose window is being created on this thread: set just before the
    // window is created, taken by its first message. false if the record cannot be
    // made (no memory, or the module is not initialised).
    bool AddCreateWndData(void* object);
    void* ExtractCreateWndData();

  private:
    bool initialized_ = false;
    HINSTANCE instance_ = nullptr;
    DWORD mainThreadId_ = 0;
    CRITICAL_SECTION lock_{};
    struct CreateWndData {
        void* object;
        DWORD threadId;
        CreateWndData* next;
    };
    CreateWndData* pending_ = nullptr;
};

// The program's one module, as in WTL.
extern CAppModule _Module;
