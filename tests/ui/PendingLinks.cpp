// Link-only definitions for the DPI converter and the host's commit until their own
// implementations join this branch. The tests here create objects without a DPI
// converter or a host, so none of these runs; each ends the program if it ever did.
#include "DCompUtil.h"
#include "DPI.h"

#include <cstdlib>

int CDPI::Scale(int) const {
    std::abort();
}
int CDPI::Unscale(int) const {
    std::abort();
}
void CDPI::ScaleRect(const RECT*, RECT*) const {
    std::abort();
}
HRESULT CDCompUtil::Commit() {
    std::abort();
}
void CDCompUtil::CreateDevices() {
    std::abort();
}
void CDCompUtil::OnSize(WPARAM, LPARAM) {
    std::abort();
}
