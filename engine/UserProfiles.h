#pragma once
#include <string>
#include <vector>

// Every folder in the profiles folder: each user's profile, Public, Default, ...
std::vector<std::wstring> ProfileFolders(const std::wstring& profilesFolder);
