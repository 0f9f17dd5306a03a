#include "Oleacc.h"

#include "win/SystemLibrary.h"

namespace Oleacc {
namespace {

using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AccessibleObjectFromWindowFunction = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);

constexpr HRESULT kNoOleacc = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

} // namespace

LRESULT ResultFromObject(REFIID interfaceId, WPARAM wParam, IUnknown* object) {
    static const auto function =
        SystemProc<LresultFromObjectFunction>(L"oleacc.dll", "LresultFromObject");
    return function ? function(interfaceId, wParam, object) : kNoOleacc;
}

HRESULT ObjectFromWindow(HWND window, DWORD objectId, REFIID interfaceId, void** object) {
    static const auto function =
        SystemProc<AccessibleObjectFromWindowFunction>(L"oleacc.dll", "AccessibleObjectFromWindow");
    if (!function) {
        *object = nullptr;
        return kNoOleacc;
    }
    return function(window, objectId, interfaceId, object);
}

} // namespace Oleacc
