#include "JapaneseFaces.h"

namespace {

// Each list starts with the face the program asks for; a face that is not
// installed is simply skipped.
const LPCWSTR kProportionalGothic[] = {
    L"ＭＳ Ｐゴシック",  // the dialogs' face: their layout is measured in its dialog units
    L"MS PGothic",        // the same face under its English name
    L"IPAPGothic",        // drawn to the same widths, so the dialogs keep their designed size
    L"TakaoPGothic",      // IPAPGothic under another name, as some distributions ship it
    L"VL PGothic",        // common on Linux; other metrics, so the dialogs come out taller
    L"Noto Sans CJK JP",  // installed with many Linux desktops; other metrics too
};

const LPCWSTR kFixedPitchGothic[] = {
    L"ＭＳ ゴシック",          // the balloon's face: its remarks are laid out in its columns
    L"MS Gothic",              // the same face under its English name
    L"IPAGothic",              // drawn to the same widths
    L"TakaoGothic",            // IPAGothic under another name
    L"VL Gothic",              // half-width characters half as wide as full-width ones, too
    L"Noto Sans Mono CJK JP",  // the same, in Noto's fixed-pitch cut
};

// An enumeration by name finds only faces that exist: unlike the face name
// of a created font, it does not echo a name the system substituted.
bool IsInstalled(HDC screen, LPCWSTR face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    ::lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

template <size_t N>
bool Lists(const LPCWSTR (&faces)[N], LPCWSTR face)
{
    for (LPCWSTR listed : faces)
        if (::lstrcmpiW(listed, face) == 0)
            return true;
    return false;
}

template <size_t N>
LPCWSTR FirstInstalled(HDC screen, const LPCWSTR (&faces)[N], LPCWSTR fallback)
{
    for (LPCWSTR face : faces)
        if (IsInstalled(screen, face))
            return face;
    return fallback;
}

}  // namespace

LPCWSTR InstalledFaceFor(LPCWSTR face)
{
    const HDC screen = ::GetDC(nullptr);
    LPCWSTR chosen = face;
    if (!IsInstalled(screen, face)) {
        if (Lists(kProportionalGothic, face))
            chosen = FirstInstalled(screen, kProportionalGothic, face);
        else if (Lists(kFixedPitchGothic, face))
            chosen = FirstInstalled(screen, kFixedPitchGothic, face);
    }
    ::ReleaseDC(nullptr, screen);
    return chosen;
}

bool HasGlyphs(HFONT font, LPCWSTR text)
{
    const HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc)
        return false;
    const HGDIOBJ old = ::SelectObject(dc, font);
    // A piece at a time through a buffer on the stack: nothing to allocate.
    constexpr int kPiece = 64;
    WORD glyphs[kPiece];
    bool found = true;
    for (int at = 0, length = ::lstrlenW(text); found && at < length; at += kPiece) {
        const int piece = length - at < kPiece ? length - at : kPiece;
        found = ::GetGlyphIndicesW(dc, text + at, piece, glyphs, GGI_MARK_NONEXISTING_GLYPHS) ==
                static_cast<DWORD>(piece);
        for (int i = 0; found && i < piece; ++i)
            found = glyphs[i] != 0xFFFF || text[at + i] == L'\n';
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return found;
}
