#pragma once
// How many pictures the render objects have rasterised in this process. Rasterising is
// the costly step and should happen only when a picture changes; the count shows when.
namespace RasterCount {

void Add();
long Value();

} // namespace RasterCount
