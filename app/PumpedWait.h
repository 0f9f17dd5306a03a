#pragma once
#include <windows.h>

// Waits until the object is signalled or the time is up, handling this thread's messages
// meanwhile, so that its windows go on painting and moving. A WM_QUIT ends the wait and is
// posted again for the loop it was meant for. True when the object was signalled.
bool WaitPumpingMessages(HANDLE object, DWORD timeoutMs);
