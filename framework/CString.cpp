#include "CString.h"

#include <cstdarg>
#include <cwchar>
#include <new>

BOOL CString::LoadString(UINT id)
{
    // With a zero buffer size LoadStringW hands out a pointer into the
    // resource itself, so strings of any length load whole.
    LPCWSTR resource = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    try {
        if (length > 0 && resource) {
            m_text.assign(resource, static_cast<size_t>(length));
            return TRUE;
        }
    } catch (const std::bad_alloc&) {
        // No room for the text: as if the table had none.
    }
    m_text.clear();
    return FALSE;
}

void CString::Format(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    // The standard vswprintf cannot measure (it fails on a null buffer);
    // the runtime's _vscwprintf does.
    const int length = ::_vscwprintf(format, measure);
    va_end(measure);
    m_text.clear();
    try {
        if (length >= 0) {
            m_text.assign(static_cast<size_t>(length) + 1, L'\0');
            std::vswprintf(&m_text[0], m_text.size(), format, args);
            m_text.resize(static_cast<size_t>(length));
        }
    } catch (const std::bad_alloc&) {
        // No room for the text: it stays empty.
        m_text.clear();
    }
    va_end(args);
}
