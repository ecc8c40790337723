// A function the program looks up at run time rather than imports: one a
// Windows it supports may lack, or one of a library it loads by hand.
#pragma once

#include <windows.h>

// Function is the pointer type, decltype(&::TheFunction) where the headers
// declare it; null where library is null or has no such export.
template <class Function>
Function FindFunction(HMODULE library, const char* name)
{
    // Through a plain function pointer: the cast from FARPROC to any other
    // function pointer type is then not a warning.
    return library ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)))
                   : nullptr;
}
