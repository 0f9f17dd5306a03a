// The SVG documents the load benchmark reads: small icons, a window-sized picture and a
// large path-heavy document, all generated here so every run reads the same bytes.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct BenchDocument {
    std::string name;
    std::string text;
};

// A few icon-like documents of a handful of shapes each (sprites, a logo, a check mark).
std::vector<BenchDocument> IconDocuments();

// A 700 x 400 picture of a few hundred path elements filled and stroked with linear and
// radial gradients, the size and kind of the uninstaller's background.
BenchDocument PictureDocument();

// A path-heavy document of at least `minimumBytes` bytes of long path data.
BenchDocument LargePathDocument(std::size_t minimumBytes = 1000 * 1000);

// Every "*.svg" file directly in `folder`, sorted by name; none when the folder is absent.
std::vector<BenchDocument> DocumentsInFolder(const std::string& folder);

} // namespace bench
