#pragma once
// The entry points of oleacc.dll the toolkit uses. Oleacc is not among the DLLs Windows
// always takes from its system folder, so the shipped programs do not import it: it is
// loaded from the system folder the first time one of these is called.
#include <windows.h>
#include <oleacc.h>

namespace Oleacc {

// LresultFromObject: the answer to WM_GETOBJECT that hands object to the asking client.
// A negative HRESULT on failure (HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND) without oleacc).
LRESULT ResultFromObject(REFIID interfaceId, WPARAM wParam, IUnknown* object);

// AccessibleObjectFromWindow: the system's (or the window's own) object for objectId.
HRESULT ObjectFromWindow(HWND window, DWORD objectId, REFIID interfaceId, void** object);

} // namespace Oleacc
