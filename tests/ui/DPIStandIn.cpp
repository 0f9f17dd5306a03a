// A 96-DPI stand-in for the DPI converter until its own implementation joins this branch: the
// composition tests run at 100 %, where every conversion returns its input.
#include "DPI.h"

void CDPI::Init() {}
void CDPI::UpdateForWindow(HWND) {}
int CDPI::Scale(int value) const {
    return value;
}
int CDPI::Unscale(int value) const {
    return value;
}
void CDPI::ScaleRect(RECT*) const {}
void CDPI::ScaleRect(const RECT* source, RECT* destination) const {
    *destination = *source;
}
