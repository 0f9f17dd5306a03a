// libFuzzer target for the number scanner: from every position of the input, the
// sixteen-byte scanner must find exactly what the bytewise one finds (whether a number
// is there, its float bits, where it ends). The input is read in place, so
// AddressSanitizer catches any look past its end.
#include "NumberScanner.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* const begin = reinterpret_cast<const char*>(data);
    const char* const end = begin + size;
    for (const char* start = begin; start != end; ++start) {
        const char* fast = start;
        const char* plain = start;
        float fastValue = 0.0f, plainValue = 0.0f;
        const bool fastRead = SVGEngine::ScanNumber(fast, end, fastValue);
        const bool plainRead = SVGEngine::detail::ScanNumberBytewise(plain, end, plainValue);
        if (fastRead != plainRead)
            std::abort();
        if (fastRead &&
            (fast != plain || std::memcmp(&fastValue, &plainValue, sizeof fastValue) != 0))
            std::abort();
        if (!fastRead && (fast != start || plain != start))
            std::abort(); // a failed read moves nothing
    }
    return 0;
}
