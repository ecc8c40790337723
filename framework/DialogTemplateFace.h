// The font face an extended dialog template names, and a copy of such a
// template that names another face. No windows here: the template is plain
// bytes, so this builds natively too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The face a DLGTEMPLATEEX with DS_SETFONT names, without its terminating
// zero. False for a template in the older format, one without a font,
// bytes that end before the face does, or no memory for the face.
bool ReadTemplateFace(const uint8_t* data, size_t size, std::u16string* face);

// The same template naming `face` instead. Everything after the face moves
// by a multiple of four bytes, so the items keep their DWORD alignment.
// False where ReadTemplateFace is, when `face` holds a zero, or when there
// is no memory for the copy.
bool ReplaceTemplateFace(const uint8_t* data, size_t size, const std::u16string& face,
                         std::vector<uint8_t>* copy);
