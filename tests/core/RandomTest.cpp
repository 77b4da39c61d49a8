// The generator's sequence.
#include <gtest/gtest.h>

#include "fractal/Random.h"

namespace zorv {
namespace {

TEST(Random, FirstValuesForSeedOneMatchTheClassicSequence) {
    Random random(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(random.Draw(), value);
}

}  // namespace
}  // namespace zorv
