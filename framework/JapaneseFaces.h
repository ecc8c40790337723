// The Japanese faces the program asks for by name, and the installed faces
// that stand in for them where they are missing: a system whose language is
// not Japanese may lack them, and Wine has them only when a prefix maps them.
#pragma once

#include <windows.h>

// `face` itself when it is installed; otherwise the first installed stand-in
// of the same kind, in order of preference; `face` again when there is none,
// or when it is not one of the faces we know stand-ins for.
LPCWSTR InstalledFaceFor(LPCWSTR face);

// Whether `font` itself has a glyph for every character of `text` (line
// feeds aside). Font linking may still draw what it lacks, or may not.
bool HasGlyphs(HFONT font, LPCWSTR text);
