#pragma once
// The processes running now, as one Toolhelp snapshot lists them.
#include <windows.h>

#include <tlhelp32.h>

#include <vector>

// Empty when no snapshot can be taken.
std::vector<PROCESSENTRY32W> RunningProcesses();
