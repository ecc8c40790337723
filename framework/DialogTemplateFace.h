// The font face an extended dialog template names, and a copy of such a
// template that names another face. No windows here: the template is plain
// bytes, so this builds natively too.
#pragma once

#include <cstddef>
#include <cstdint>

// The longest face a font can be asked for by (LF_FACESIZE less the zero).
constexpr size_t kMaxFaceLength = 31;

// The face a DLGTEMPLATEEX with DS_SETFONT names, zero-ended. False for a
// template in the older format, one without a font, bytes that end before
// the face does, or a face longer than kMaxFaceLength.
bool ReadTemplateFace(const uint8_t* data, size_t size, char16_t (&face)[kMaxFaceLength + 1]);

// Room enough for any copy ReplaceTemplateFace makes of a size-byte template.
constexpr size_t ReplacedTemplateCapacity(size_t size)
{
    return size + 2 * (kMaxFaceLength + 1) + 3;
}

// Writes the same template naming the zero-ended `face` instead into copy,
// which has room for capacity bytes, and returns the copy's size.
// Everything after the face moves by a multiple of four bytes, so the items
// keep their DWORD alignment. 0 where ReadTemplateFace is false, when
// `face` is longer than kMaxFaceLength, or when the copy does not fit.
size_t ReplaceTemplateFace(const uint8_t* data, size_t size, const char16_t* face, uint8_t* copy,
                           size_t capacity);
