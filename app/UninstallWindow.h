#pragma once
#include <windows.h>

// What the uninstall workflow needs of the window it runs from.
class IUninstallWindow {
  public:
    // The window that owns the workflow's dialogs; it takes no input while they are open.
    virtual HWND OwnerWindow() const = 0;
    // The removal is done: the window shows its finished state at once.
    virtual void ShowFinishedState() = 0;

  protected:
    ~IUninstallWindow() = default;
};
