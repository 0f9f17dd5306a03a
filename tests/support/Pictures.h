#pragma once
// Pictures on disk, through GDI+ (which must run): PNG files written for people to look at,
// and picture files (screenshots) read back.
#include "ui/composition/Pixels.h"

#include <string>

namespace TestSupport {

// Saves a premultiplied picture as a PNG file.
bool SavePng(const Composition::Pixels& pixels, const std::wstring& path);
// A picture file as premultiplied pixels; empty (width 0) if it cannot be read.
Composition::Pixels LoadPicture(const std::wstring& path);
// With CORVANE_UI_FRAMES naming a folder, keeps the frame there as name@percent.png for people
// to look at; true when it was not asked for or was saved.
bool KeepForPeople(const Composition::Pixels& frame, const std::wstring& name, int percent);

} // namespace TestSupport
