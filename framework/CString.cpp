#include "CString.h"

#include <cstdarg>
#include <cstdlib>
#include <cwchar>
#include <iterator>

CString::~CString()
{
    Empty();
}

void CString::Empty()
{
    if (m_text != m_inline)
        std::free(m_text);
    m_text = m_inline;
    m_inline[0] = L'\0';
}

bool CString::Reserve(size_t length)
{
    Empty();
    if (length < std::size(m_inline))
        return true;
    auto* block = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
    if (!block)
        return false;
    block[0] = L'\0';
    m_text = block;
    return true;
}

BOOL CString::LoadString(UINT id)
{
    // With a zero buffer size LoadStringW hands out a pointer into the
    // resource itself, so strings of any length load whole.
    LPCWSTR resource = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource || !Reserve(static_cast<size_t>(length))) {
        Empty();
        return FALSE;
    }
    std::wmemcpy(m_text, resource, static_cast<size_t>(length));
    m_text[length] = L'\0';
    return TRUE;
}

void CString::Format(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    // Measured and written by the same printf, msvcrt's: the standard
    // vswprintf cannot measure (it fails on a null buffer), and MinGW's own,
    // which libstdc++'s std::vswprintf calls, reads %s, %c, %S and %g
    // otherwise, so that its text need not fit the measured length.
    const int length = ::_vscwprintf(format, measure);
    va_end(measure);
    if (length < 0 || !Reserve(static_cast<size_t>(length)) ||
        ::_vsnwprintf(m_text, static_cast<size_t>(length) + 1, format, args) != length)
        Empty();
    va_end(args);
}
