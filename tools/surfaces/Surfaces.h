// The five bitmaps behind the program's "CMPBMP" resources: four table surfaces
// that tile without a seam and the stop button's glyph.
#pragma once

#include "IndexedImage.h"

#include <string>
#include <vector>

namespace spades::surfaces {

TIndexedImage DrawGreenCloth();  // 100 × 100, 8 bits
TIndexedImage DrawMahogany();    // 124 × 125, 8 bits
TIndexedImage DrawOak();         // 124 × 125, 8 bits
TIndexedImage DrawGranite();     // 90 × 81, 8 bits
TIndexedImage DrawInterrupt();   // 32 × 32, 4 bits

struct TNamedImage {
    std::string name;  // the resource name
    TIndexedImage image;
};

std::vector<TNamedImage> DrawAll();

}  // namespace spades::surfaces
