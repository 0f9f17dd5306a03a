#include "StoppedProcesses.h"

void StoppedProcesses::Add(UniqueHandle process) {
    if (process)
        processes_.push_back(std::move(process));
}

bool StoppedProcesses::WaitForAll(DWORD budgetMs) {
    const ULONGLONG deadline = GetTickCount64() + budgetMs;
    bool allEnded = true;
    for (const UniqueHandle& process : processes_) {
        const ULONGLONG now = GetTickCount64();
        const DWORD remaining = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(process.Get(), remaining) != WAIT_OBJECT_0)
            allEnded = false;
    }
    return allEnded;
}
