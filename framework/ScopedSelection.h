// Selects an object or a palette into a device context for one scope and
// puts back what was there before on every way out. Guards declared one
// after another restore in the reverse order of their selections.
#pragma once

#include "CDC.h"

class ScopedSelection {
public:
    // A null object selects nothing and restores nothing.
    ScopedSelection(CDC& dc, HGDIOBJ object)
        : m_dc(dc), m_previous(object ? dc.SelectObject(object) : nullptr) {}

    // Palettes go through SelectPalette, with the background flag for the
    // selection and the one for putting the old palette back.
    ScopedSelection(CDC& dc, HPALETTE palette, BOOL forceBackground, BOOL restoreInBackground)
        : m_dc(dc), m_previous(palette ? dc.SelectPalette(palette, forceBackground) : nullptr),
          m_isPalette(true), m_restoreInBackground(restoreInBackground) {}

    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

    ~ScopedSelection()
    {
        if (!m_previous)
            return;
        if (m_isPalette)
            m_dc.SelectPalette(static_cast<HPALETTE>(m_previous), m_restoreInBackground);
        else
            m_dc.SelectObject(m_previous);
    }

    // Whether something was selected (the context handed back its old object).
    bool Selected() const { return m_previous != nullptr; }

private:
    CDC& m_dc;
    HGDIOBJ m_previous;
    bool m_isPalette = false;
    BOOL m_restoreInBackground = FALSE;
};
