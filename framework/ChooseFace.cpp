#include "ChooseFace.h"

#include <cwctype>

namespace {

// Each list starts with the face the program asks for; a face that is not
// installed is simply skipped. Windows' own Japanese faces come before the
// ones Linux distributions ship, under the names Windows lists them by; their
// metrics differ from the designed face's, and the dialogs grow to fit.
const wchar_t* const kProportionalGothic[] = {
    L"ＭＳ Ｐゴシック",  // the dialogs' face: their layout is measured in its dialog units
    L"MS PGothic",        // the same face under its English name
    L"Yu Gothic UI",      // Windows' Japanese user-interface face since 8.1; 10 has it in every language
    L"Meiryo UI",         // the same from Vista to 8
    L"MS UI Gothic",      // the same before Vista
    L"IPAPGothic",        // drawn to MS PGothic's widths, so the dialogs keep their designed size
    L"TakaoPGothic",      // IPAPGothic under another name, as some distributions ship it
    L"VL PGothic",        // common on Linux; other metrics, so the dialogs come out taller
    L"Noto Sans CJK JP",  // installed with many Linux desktops; other metrics too
};

const wchar_t* const kFixedPitchGothic[] = {
    L"ＭＳ ゴシック",          // the balloon's face: its remarks are laid out in its columns
    L"MS Gothic",              // the same face under its English name
    L"BIZ UDGothic",           // Windows' other fixed-pitch Gothic (10 since 1809), its columns as regular
    L"IPAGothic",              // drawn to MS Gothic's widths
    L"TakaoGothic",            // IPAGothic under another name
    L"VL Gothic",              // half-width characters half as wide as full-width ones, too
    L"Noto Sans Mono CJK JP",  // the same, in Noto's fixed-pitch cut
};

// towlower takes a wint_t, which is unsigned where wchar_t is signed (Linux).
wint_t Lower(wchar_t c)
{
    return std::towlower(static_cast<wint_t>(c));
}

// As GDI compares face names: without regard to case.
bool SameFace(const wchar_t* a, const wchar_t* b)
{
    while (*a && Lower(*a) == Lower(*b)) {
        ++a;
        ++b;
    }
    return Lower(*a) == Lower(*b);
}

template <class List>
bool Lists(const List& faces, const wchar_t* face)
{
    for (const wchar_t* listed : faces)
        if (SameFace(listed, face))
            return true;
    return false;
}

template <class List>
const wchar_t* FirstInstalled(const List& faces, const InstalledFaces& installed, const wchar_t* fallback)
{
    for (const wchar_t* face : faces)
        if (installed.Has(face))
            return face;
    return fallback;
}

}  // namespace

const wchar_t* ChooseFace(const wchar_t* face, const InstalledFaces& installed)
{
    if (installed.Has(face))
        return face;
    if (Lists(kProportionalGothic, face))
        return FirstInstalled(kProportionalGothic, installed, face);
    if (Lists(kFixedPitchGothic, face))
        return FirstInstalled(kFixedPitchGothic, installed, face);
    return face;
}
