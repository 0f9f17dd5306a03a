#pragma once
// Resources of a program: this test program's own (the pictures it is built with), or those
// of another file read as data, so nothing of it runs. As a plain data file: for an image load
// of any file named uninstaller.exe, Wine maps its own built-in program of that name.
#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport {

class Resources {
  public:
    // This program's own.
    Resources() = default;
    explicit Resources(const std::wstring& file);
    ~Resources();
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

    bool Loaded() const { return own_ || module_ != nullptr; }
    // The resource's bytes; empty when there is none.
    std::vector<char> Bytes(const wchar_t* type, const wchar_t* name) const;
    std::string Text(const wchar_t* type, const wchar_t* name) const;

  private:
    bool own_ = true;
    HMODULE module_ = nullptr;
};

// An SVG picture of this program ("SVG" resource of that id) as text; empty when missing.
std::string SvgResource(int id);

} // namespace TestSupport
