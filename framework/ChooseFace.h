// Which face stands in for a Japanese face the program asks for by name, where
// that face is missing: a Windows in another language may lack it, and Wine
// has it only where a prefix maps it. No windows here: which faces are
// installed is the caller's to say.
#pragma once

class InstalledFaces {
public:
    virtual bool Has(const wchar_t* face) const = 0;

protected:
    ~InstalledFaces() = default;
};

// `face` itself when it is installed; otherwise the first installed stand-in
// of the same kind, in order of preference; `face` again when there is none,
// or when it is not one of the faces we know stand-ins for.
const wchar_t* ChooseFace(const wchar_t* face, const InstalledFaces& installed);
