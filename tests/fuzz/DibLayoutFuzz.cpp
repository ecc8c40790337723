// libFuzzer target for the picture header arithmetic: whatever the bytes,
// an accepted layout must lie inside them. Reading its last byte lets
// AddressSanitizer catch a layout that claims more than there is.
#include "DibLayout.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // .bmp files (the committed pictures seed the corpus) carry a 14-byte
    // file header that resources do not.
    if (size >= 14 && data[0] == 'B' && data[1] == 'M') {
        data += 14;
        size -= 14;
    }

    DibLayout layout;
    if (!ReadDibLayout(data, size, &layout))
        return 0;

    if (layout.bitsOffset + layout.bitsSize > size || layout.colorCount > kMaxDibColors ||
        layout.bitsOffset != 40 + 4 * static_cast<size_t>(layout.colorCount) || layout.width <= 0 ||
        layout.height <= 0 || layout.bitsSize < static_cast<size_t>(layout.height))
        std::abort();

    volatile uint8_t sink = data[layout.bitsOffset + layout.bitsSize - 1];
    if (layout.colorCount != 0)
        sink = data[layout.bitsOffset - 1];
    (void)sink;
    return 0;
}
