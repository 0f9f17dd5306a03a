#pragma once
// An interface made on the first call that succeeds and kept: later calls hand back the one
// made; a failed call keeps nothing, so the next one tries again.
#include <windows.h>
#include <wrl/client.h>

namespace Composition {

// make(Interface**) makes the object; its answer is returned (S_OK once held).
template <class Interface, class Make>
HRESULT MadeOnce(Microsoft::WRL::ComPtr<Interface>* held, const Make& make) {
    if (*held)
        return S_OK;
    const HRESULT hr = make(held->ReleaseAndGetAddressOf());
    if (FAILED(hr))
        held->Reset();
    return hr;
}

} // namespace Composition
