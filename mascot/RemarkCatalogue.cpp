#include "RemarkCatalogue.h"

#include "resource.h"

namespace {
const unsigned kRemarkCount = IDS_REMARK_LAST - IDS_REMARK_FIRST + 1;
}

unsigned PickClickRemark(unsigned n)
{
    if (n < kRemarkCount)
        return IDS_REMARK_FIRST + n;
    // A bad n must still name a text that exists, and the credit line is
    // always there; it is harmless to show it by mistake.
    return IDS_CREDIT;
}

unsigned PickIdleRemark(unsigned n)
{
    // The balloon rolls 0..56: each notice gets 2 chances in 57, each
    // remark 1, and the credit line the last one (56). The author's notices
    // come round often enough to be read while idling, yet never crowd out
    // the jokes.
    if (n < 2)
        return IDS_NOTICE_PICTURES;
    if (n < 4)
        return IDS_NOTICE_REMARKS;
    if (n < 6)
        return IDS_NOTICE_REDISTRIBUTION;
    return PickClickRemark(n - 6);
}
