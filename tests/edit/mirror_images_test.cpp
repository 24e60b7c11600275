#include <gtest/gtest.h>

#include <set>

#include "edit/mirror.h"

namespace cubrik {
namespace {

// Planes beyond the middle put the images of near cells exactly one past the
// far edge: those images do not exist (x = 100 is no next row, z = 100 no
// cell at all).
TEST(MirrorImages, ImagesOnePastTheFarEdgeAreLeftOut) {
    MirrorPlanes planes;
    planes.enabled = {true, true, true};
    planes.position = {150, 150, 150};
    const MirrorImages mirror(planes);
    std::set<int> images;
    mirror.forEachImage(50, 60, 50, [&](int cell) { images.insert(cell); });
    EXPECT_EQ(images, std::set<int>{cellIndex(50, 90, 50)});
    EXPECT_EQ(mirror.imageOfX(50), -1);
    MirrorImages::RowImage rows[7];
    EXPECT_EQ(mirror.rowImages(50, 50, rows), 1);  // x alone: the row itself, flipped
}

}  // namespace
}  // namespace cubrik
