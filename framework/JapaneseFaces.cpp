#include "JapaneseFaces.h"

#include "ChooseFace.h"

namespace {

// The faces the screen has. An enumeration by name finds only faces that
// exist: unlike the face name of a created font, it does not echo a name
// the system substituted.
class ScreenFaces final : public InstalledFaces {
public:
    explicit ScreenFaces(HDC screen) : m_screen(screen) {}

    bool Has(const wchar_t* face) const override
    {
        LOGFONTW wanted{};
        wanted.lfCharSet = SHIFTJIS_CHARSET;
        ::lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
        bool found = false;
        ::EnumFontFamiliesExW(
            m_screen, &wanted,
            [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM answer) -> int {
                *reinterpret_cast<bool*>(answer) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&found), 0);
        return found;
    }

private:
    const HDC m_screen;
};

}  // namespace

LPCWSTR InstalledFaceFor(LPCWSTR face)
{
    const HDC screen = ::GetDC(nullptr);
    const LPCWSTR chosen = ChooseFace(face, ScreenFaces(screen));
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
