#pragma once
#include "InstallLocationGuard.h"

#include <string>

// Gathers what the system says about the location and its surroundings.
InstallLocationFacts GatherInstallLocationFacts(const std::wstring& locationAsRead);

// True when the install folder at this location may be removed with "rd /s /q".
bool IsSafeToRemoveInstallFolder(const std::wstring& locationAsRead);
