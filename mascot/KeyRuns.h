// Finds the stretches of a picture that are not the colour key, row by row, so
// that a window can be shaped to them. Kept free of Win32: the caller reads
// the pixels, and the walk itself can be tested with made-up pictures.
#pragma once

#include <cstdint>

// Asks for the key to be the colour of the top-left pixel. A real pixel
// never has this value: colours keep their high byte zero.
constexpr uint32_t kKeyTopLeft = 0xFF000000u;

// One horizontal stretch of non-key pixels; right and bottom are exclusive.
struct KeyRun {
    int left;
    int top;
    int right;
    int bottom;
};

// What FindKeyRuns walks: the picture's pixels, and where its runs go.
class KeyRunTrace {
public:
    virtual uint32_t Pixel(int x, int y) = 0;
    // False stops the walk there: nothing more is read or reported.
    virtual bool Run(const KeyRun& run) = 0;

protected:
    ~KeyRunTrace() = default;
};

// Reports every run of a width x height picture at once, rows top to bottom
// and runs left to right. Each pixel is read once, the first pixel of a run
// once more, and the corner once more when key is kKeyTopLeft. An empty
// picture reads nothing and reports nothing. False when a run was refused.
bool FindKeyRuns(int width, int height, uint32_t key, KeyRunTrace& trace);
