// A wide string with the two things the program needs beyond std::wstring:
// loading from the string table and "%d"-style formatting.
#pragma once

#include <windows.h>

#include <string>

class CString {
public:
    CString() = default;
    CString(LPCWSTR text) : m_text(text ? text : L"") {}

    // Replaces the text with string id of the program's string table; a
    // missing string, or no memory for it, leaves it empty and returns FALSE.
    BOOL LoadString(UINT id);
    // Without memory for the result the text is left empty.
    void Format(LPCWSTR format, ...);

    bool IsEmpty() const { return m_text.empty(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    operator LPCWSTR() const { return m_text.c_str(); }
    bool operator==(const CString& other) const { return m_text == other.m_text; }

private:
    std::wstring m_text;
};
