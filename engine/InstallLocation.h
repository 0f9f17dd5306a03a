#pragma once
#include <string>

// Reads the product's install location from its uninstall entry under HKLM.
// With deleteEntry set, the product's uninstall subkey is deleted after the read.
// Returns an empty string when the entry or its value is missing or unreadable.
std::wstring QueryInstallLocation(bool deleteEntry);
