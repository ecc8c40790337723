// One picture of the banner strip: its device bitmap and its own palette,
// both empty until loaded.
#pragma once

#include "CGdiObject.h"

struct BannerFrame {
    CBitmap bitmap;
    CPalette palette;
};
