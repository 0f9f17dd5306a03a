#include "RealInput.h"

#include "Files.h"
#include "Wait.h"

#include <cstdlib>
#include <string>

namespace TestSupport {
namespace {

std::wstring BridgeFolder() {
    const wchar_t* folder = _wgetenv(L"CORVANE_INPUT_BRIDGE");
    return folder ? folder : L"";
}

// The bridge sees the request whole or not at all.
bool WriteRequest(const std::wstring& folder, const std::string& line) {
    return WriteWhole(folder + L"\\request", line);
}

bool Request(const std::string& line) {
    const std::wstring folder = BridgeFolder();
    if (folder.empty() || !WriteRequest(folder, line))
        return false;
    const std::wstring done = folder + L"\\done";
    const bool answered = PumpUntil([&] { return PathExists(done); }, 20000);
    DeleteFileW(done.c_str());
    return answered;
}

} // namespace

bool RealInput::Available() {
    return !BridgeFolder().empty();
}

bool RealInput::MoveTo(int x, int y) {
    return Request("move " + std::to_string(x) + " " + std::to_string(y));
}

bool RealInput::Press() {
    return Request("down");
}

bool RealInput::Release() {
    return Request("up");
}

bool RealInput::Key(const std::string& name) {
    return Request("key " + name);
}

bool RealInput::KeyDown(const std::string& name) {
    return Request("keydown " + name);
}

bool RealInput::KeyUp(const std::string& name) {
    return Request("keyup " + name);
}

std::wstring RealInput::Screenshot(const std::string& fileName) {
    const std::wstring path =
        BridgeFolder() + L"\\" + std::wstring(fileName.begin(), fileName.end());
    DeleteFileW(path.c_str());
    if (!Request("screenshot " + fileName) || !PathExists(path))
        return {};
    if (const wchar_t* folder = _wgetenv(L"CORVANE_UI_FRAMES")) {
        const std::wstring kept =
            std::wstring(folder) + L"\\" + std::wstring(fileName.begin(), fileName.end());
        CopyFileW(path.c_str(), kept.c_str(), FALSE);
    }
    return path;
}

} // namespace TestSupport
