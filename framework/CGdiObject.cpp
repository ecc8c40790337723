#include "CGdiObject.h"

#include "CDC.h"

CGdiObject& CGdiObject::operator=(CGdiObject&& other) noexcept
{
    if (this != &other)
        Attach(other.Detach());
    return *this;
}

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (object != m_hObject)
        DeleteObject();
    m_hObject = object;
    return object != nullptr;
}

HGDIOBJ CGdiObject::Detach()
{
    const HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBitmap::LoadBitmap(UINT id)
{
    return Attach(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
}

// Compatible with dc, not with a memory context, which would give a
// one-bit bitmap.
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}
