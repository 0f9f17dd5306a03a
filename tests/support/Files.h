#pragma once
// Files as the tests see them: whether a path is there, a file's bytes, and a tree removed.
#include <string>
#include <vector>

namespace TestSupport {

bool PathExists(const std::wstring& path);
bool FileExists(const std::wstring& path); // a file, not a folder
bool FolderExists(const std::wstring& path);
// Writes the file whole: to a temporary file beside it, then renamed over it, so a reader
// sees the old content or the new, never part of it. False if it could not.
bool WriteWhole(const std::wstring& path, const std::string& bytes);
// The temporary folder (TMP, TEMP), with its trailing backslash.
std::wstring TempFolder();
// Every byte of the file (shared for reading and writing, so a file a program holds open can
// be read); empty when it cannot be opened.
std::vector<char> ReadAll(const std::wstring& path);
// Removes the file, or the folder with everything below it (read-only files too), as far as
// it can. It judges nothing: callers keep it to their own test folders (ProductSandbox.h
// RemoveTree keeps to the sandbox's).
void DeleteTree(const std::wstring& path);

} // namespace TestSupport
