#pragma once
#include <windows.h>

#include <string>

class StoppedProcesses;

// Scans the running processes for the image name (compared without regard to
// case). Look-only (terminate false): returns true as soon as a process of that
// name runs from fullPath, and also when one runs from anywhere else. Terminate:
// ends every process of that name whose image file is fullPath; returns whether
// any process of that name was seen. Ended processes are handed to `stopped`
// (when given) so the caller can wait for their end.
bool KillProductProcesses(std::wstring fullPath, std::wstring imageName, bool terminate,
                          StoppedProcesses* stopped = nullptr);

// Returns true when the process's image file is fullPath (compared without
// regard to case), after ending it when terminate is set.
bool KillProcessIfPathMatches(DWORD processId, std::wstring fullPath, bool terminate,
                              StoppedProcesses* stopped = nullptr);
