// libFuzzer target for reading and replacing a dialog template's face:
// whatever the bytes, a face that can be read can be replaced, and the copy
// names the new face. AddressSanitizer catches any read past the bytes.
#include "DialogTemplateFace.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string face;
    const bool read = ReadTemplateFace(data, size, &face);

    // Faces of two lengths, so that the padding after the new face takes
    // both of its sizes.
    const std::u16string replacement = size % 2 ? u"IPAPGothic" : u"VL PGothic!";
    std::vector<uint8_t> copy;
    if (ReplaceTemplateFace(data, size, replacement, &copy) != read)
        std::abort();
    if (!read)
        return 0;

    std::u16string again;
    if (!ReadTemplateFace(copy.data(), copy.size(), &again) || again != replacement)
        std::abort();
    return 0;
}
