#include "moxel/dpi_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(ArtworkScale, NearestWholeMultipleOf96WithHalvesUpFromOneToEight) {
  const struct {
    unsigned dpi;
    int scale;
  } cases[] = {{0, 1},   {72, 1},  {96, 1},  {120, 1}, {143, 1}, {144, 2}, {168, 2},  {192, 2},
               {239, 2}, {240, 3}, {288, 3}, {480, 5}, {767, 8}, {768, 8}, {1000, 8}, {0xFFFFFFFFu, 8}};
  for (const auto& c : cases) EXPECT_EQ(ArtworkScale(c.dpi), c.scale) << c.dpi;
}

}  // namespace
