#pragma once
#include <string>
#include <vector>

// One thing to remove: a file, a folder, or a link (junction, symbolic link or other
// reparse point), which is removed as itself and never followed.
struct RemovalItem {
    std::wstring path;
    bool isFolder = false; // a folder, or a link to one: RemoveDirectoryW takes it
};

// Everything inside the folder and the folder itself, in an order in which each can be
// removed: every folder's files and links before its subfolders' contents are done with,
// deeper folders before their parents, the folder itself last. Reparse points inside are
// listed as themselves and never entered; a folder that is itself a reparse point is
// listed alone. Empty when the folder does not exist.
std::vector<RemovalItem> ListForRemoval(const std::wstring& folder);

// The path in the form the file functions take beyond MAX_PATH ("\\?\C:\...").
std::wstring ExtendedLengthPath(const std::wstring& path);
