// A wide string with the two things the program needs beyond std::wstring:
// loading from the string table and "%d"-style formatting.
#pragma once

#include <windows.h>

#include <string>

class CString {
public:
    CString() = default;

    // Replaces the text with string id of the program's string table; a
    // missing string, or no memory for it, leaves it empty and returns FALSE.
    BOOL LoadString(UINT id);
    // Without memory for the result the text is left empty.
    void Format(LPCWSTR format, ...);

    bool IsEmpty() const { return m_text.empty(); }
    operator LPCWSTR() const { return m_text.c_str(); }

private:
    std::wstring m_text;
};
