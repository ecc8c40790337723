#include "KeyRuns.h"

bool FindKeyRuns(int width, int height, uint32_t key, KeyRunTrace& trace)
{
    // An empty picture has no corner to take the key from.
    if (width <= 0 || height <= 0)
        return true;
    if (key == kKeyTopLeft)
        key = trace.Pixel(0, 0);

    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            if (trace.Pixel(x, y) == key) {
                ++x;
                continue;
            }
            // The scan starts over at x0 (one read more per run) so that a
            // run of any length is found by this one plain loop.
            const int x0 = x;
            while (x < width && trace.Pixel(x, y) != key)
                ++x;
            if (!trace.Run(KeyRun{x0, y, x, y + 1}))
                return false;
            // Column x is key or past the edge; it has been read already.
            x = x + 1;
        }
    }
    return true;
}
