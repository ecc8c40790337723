#include "RemarkCatalogue.h"

// These numbers are fixed by res/resource.h and res/Remarks.rc; they are
// repeated here so this file needs no resource header and no Win32.
namespace {
const unsigned kCredit = 104;
const unsigned kFirstRemark = 200;
const unsigned kRemarkCount = 50;
const unsigned kNoticePictures = 700;
const unsigned kNoticeRemarks = 701;
const unsigned kNoticeRedistribution = 702;
}

unsigned PickClickRemark(unsigned n)
{
    if (n < kRemarkCount)
        return kFirstRemark + n;
    // A bad n must still name a text that exists, and the credit line is
    // always there; it is harmless to show it by mistake.
    return kCredit;
}

unsigned PickIdleRemark(unsigned n)
{
    // With n uniform over 0..55 each notice gets 2 chances in 56 and each
    // remark 1: the author's notices come round often enough to be read
    // while idling, yet never crowd out the jokes.
    if (n < 2)
        return kNoticePictures;
    if (n < 4)
        return kNoticeRemarks;
    if (n < 6)
        return kNoticeRedistribution;
    return PickClickRemark(n - 6);
}
