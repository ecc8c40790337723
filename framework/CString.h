// A wide string with what the program needs: loading from the string table
// and "%d"-style formatting. It never throws: a text that needs memory the
// system cannot give is left empty, and the call says so. Short texts, a
// number say, live in the object itself and need no memory at all.
#pragma once

#include <windows.h>

#include <cstddef>

class CString {
public:
    CString() = default;
    CString(const CString&) = delete;
    CString& operator=(const CString&) = delete;
    ~CString();

    // Replaces the text with string id of the program's string table; a
    // missing string, or no memory for it, leaves it empty and returns FALSE.
    BOOL LoadString(UINT id);
    // Without memory for the result the text is left empty.
    void Format(LPCWSTR format, ...);

    bool IsEmpty() const { return m_text[0] == L'\0'; }
    operator LPCWSTR() const { return m_text; }

private:
    void Empty();
    // Empties the text and makes room for length characters and the
    // terminating zero; false, with the text empty, when there is none.
    bool Reserve(size_t length);

    // Longer than any number "%d" gives.
    static constexpr size_t kInlineLength = 15;
    wchar_t m_inline[kInlineLength + 1] = {};
    wchar_t* m_text = m_inline;  // m_inline, or a block of our own from malloc
};
