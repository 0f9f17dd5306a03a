#pragma once
#include "WinHandles.h"

#include <vector>

// Processes the engine has just terminated. TerminateProcess only starts the end
// of a process; the install folder must not be removed while they still hold
// their files, so the removal waits for them here, within a fixed time budget.
class StoppedProcesses {
  public:
    static constexpr DWORD kWaitBudgetMs = 3000;

    // Takes a handle with SYNCHRONIZE access to a process being terminated.
    void Add(UniqueHandle process);

    // Waits until every added process has ended or the budget, counted over all
    // of them together, is spent. Returns true when all have ended.
    bool WaitForAll(DWORD budgetMs = kWaitBudgetMs);

    size_t Count() const { return processes_.size(); }

  private:
    std::vector<UniqueHandle> processes_;
};
