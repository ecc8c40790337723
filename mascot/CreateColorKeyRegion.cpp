#include "CreateColorKeyRegion.h"

#include "ScopedSelection.h"

#include <utility>

namespace {

// Key and pixels both come from GetPixel on the same context, so they are
// compared after the same conversion to the display's colours; a key taken
// from the file's colour table might not survive it. Each run is added to
// the shape as it is found; the first one that cannot be stops the trace.
class RegionTrace final : public KeyRunTrace {
public:
    RegionTrace(CDC& dc, CRgn& shape) : m_dc(dc), m_shape(shape) {}

    uint32_t Pixel(int x, int y) override { return m_dc.GetPixel(x, y); }
    bool Run(const KeyRun& run) override
    {
        CRgn piece;
        return piece.CreateRectRgn(run.left, run.top, run.right, run.bottom) &&
               m_shape.CombineRgn(&m_shape, &piece, RGN_OR) != ERROR;
    }

private:
    CDC& m_dc;
    CRgn& m_shape;
};

}  // namespace

int CreateColorKeyRegion(CRgn* pRgn, CBitmap* pBitmap, CDC* pDC, COLORREF clrKey)
{
    if (!pRgn || !pBitmap || !pBitmap->GetSafeHandle())
        return 0;
    BITMAP info{};
    if (!pBitmap->GetBitmap(&info))
        return 0;

    CCompatibleDC memDC(pDC);
    if (!memDC.GetSafeHdc())
        return 0;
    // A bitmap that is already selected elsewhere cannot be selected here;
    // the context would then read its own 1x1 default bitmap and give a
    // plainly wrong shape, so that is a failure, not an empty picture.
    ScopedSelection selection(memDC, static_cast<HGDIOBJ>(*pBitmap));
    if (!selection.Selected())
        return 0;

    // The region is built aside and handed over only when it is complete,
    // so a failure never leaves the caller with half a shape.
    CRgn shape;
    if (!shape.CreateRectRgn(0, 0, 0, 0))
        return 0;
    RegionTrace trace(memDC, shape);
    if (!FindKeyRuns(info.bmWidth, info.bmHeight, clrKey, trace))
        return 0;

    *pRgn = std::move(shape);
    return 1;
}
