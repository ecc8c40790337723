// The installed faces that stand in for the Japanese faces the program asks
// for by name (ChooseFace.h says which), and whether a font draws a text.
#pragma once

#include <windows.h>

// ChooseFace over the faces the screen has.
LPCWSTR InstalledFaceFor(LPCWSTR face);

// Whether `font` itself has a glyph for every character of `text` (line
// feeds aside). Font linking may still draw what it lacks, or may not.
bool HasGlyphs(HFONT font, LPCWSTR text);
