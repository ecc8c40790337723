#include "CString.h"

#include <cstdarg>
#include <cwchar>

BOOL CString::LoadString(UINT id)
{
    // With a zero buffer size LoadStringW hands out a pointer into the
    // resource itself, so strings of any length load whole.
    LPCWSTR resource = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource) {
        m_text.clear();
        return FALSE;
    }
    m_text.assign(resource, static_cast<size_t>(length));
    return TRUE;
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
    if (length < 0) {
        m_text.clear();
    } else {
        m_text.assign(static_cast<size_t>(length) + 1, L'\0');
        std::vswprintf(&m_text[0], m_text.size(), format, args);
        m_text.resize(static_cast<size_t>(length));
    }
    va_end(args);
}
