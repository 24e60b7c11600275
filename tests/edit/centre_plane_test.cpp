// The centre-plane mapping in a real front view: axis directions, the
// window-row flip, and the 32 pixel limit after clamping to the grid.
#include <gtest/gtest.h>

#include "edit/centre_plane.h"
#include "front_view_scene.h"

namespace cubrik {
namespace {

using testing::kCentreX;
using testing::kCentreY;

TEST(CentrePlane, MapsPixelsToCellsOnThePlaneThroughTheGridCentre) {
    testing::FrontViewScene scene(KernelVariant::Scalar);
    const VoxelModel& model = scene.model();
    EXPECT_EQ(unprojectToCentrePlane(model, 600, kCentreX, kCentreY), cellIndex(49, 49, 49));
    // 43 pixels is 10.09 cells: right is +x, up the window is +y.
    EXPECT_EQ(unprojectToCentrePlane(model, 600, kCentreX + 43, kCentreY), cellIndex(59, 49, 49));
    EXPECT_EQ(unprojectToCentrePlane(model, 600, kCentreX, kCentreY - 43), cellIndex(49, 59, 49));
}

TEST(CentrePlane, AcceptsPointsWithin32PixelsOfTheClampedGrid) {
    testing::FrontViewScene scene(KernelVariant::Scalar);
    const VoxelModel& model = scene.model();
    // The grid's right edge, x = 50, projects to column 645.
    EXPECT_EQ(unprojectToCentrePlane(model, 600, 645 + 30, kCentreY), cellIndex(99, 49, 49));
    EXPECT_EQ(unprojectToCentrePlane(model, 600, 645 + 35, kCentreY), -1);
    EXPECT_EQ(unprojectToCentrePlane(model, 600, 799, 0), -1);
    // Box corners take the nearest cell on the edge at any distance.
    EXPECT_EQ(nearestCentrePlaneCell(model, 600, 645 + 35, kCentreY), cellIndex(99, 49, 49));
    EXPECT_EQ(nearestCentrePlaneCell(model, 600, 799, 0), cellIndex(99, 99, 49));
}

}  // namespace
}  // namespace cubrik
