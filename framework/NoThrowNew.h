// Heap objects of the classes that derive from this are made with
// new (std::nothrow) only, and a failed allocation gives null.
//
// The runtime's own nothrow new calls the throwing one and catches what it
// throws; but when memory has run out, the throw needs memory too, and this
// runtime then fails inside its own locks instead of returning null. So
// these objects come straight from malloc. Declaring the nothrow form alone
// also hides the throwing one: a plain `new` of such a class does not compile.
#pragma once

#include <cstdlib>
#include <new>

class NoThrowNew {
public:
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size); }
    static void operator delete(void* object) noexcept { std::free(object); }
};
