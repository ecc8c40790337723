// libFuzzer target for reading and replacing a dialog template's face:
// whatever the bytes, a face that can be read can be replaced, and the copy
// names the new face. AddressSanitizer catches any read past the bytes.
#include "DialogTemplateFace.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char16_t face[kMaxFaceLength + 1];
    const bool read = ReadTemplateFace(data, size, face);

    // Faces of two lengths, so that the padding after the new face takes
    // both of its sizes.
    const char16_t* replacement = size % 2 ? u"IPAPGothic" : u"VL PGothic!";
    std::vector<uint8_t> copy(ReplacedTemplateCapacity(size));
    copy.resize(ReplaceTemplateFace(data, size, replacement, copy.data(), copy.size()));
    if (copy.empty() == read)
        std::abort();
    if (!read)
        return 0;

    char16_t again[kMaxFaceLength + 1];
    if (!ReadTemplateFace(copy.data(), copy.size(), again) || std::u16string(again) != replacement)
        std::abort();
    return 0;
}
