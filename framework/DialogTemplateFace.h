// The font face an extended dialog template names, and a copy of such a
// template that names another face. No windows here: the template is plain
// bytes, so this builds natively too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The face a DLGTEMPLATEEX with DS_SETFONT names, without its terminating
// zero. False for a template in the older format, one without a font, or
// bytes that end before the face does.
bool ReadTemplateFace(const uint8_t* data, size_t size, std::u16string* face);

// The same template naming `face` instead. Everything after the face moves
// by a multiple of four bytes, so the items keep their DWORD alignment.
// False where ReadTemplateFace is, or when `face` holds a zero.
bool ReplaceTemplateFace(const uint8_t* data, size_t size, const std::u16string& face,
                         std::vector<uint8_t>* copy);
