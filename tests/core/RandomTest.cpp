// The generator's sequence and range.
#include <gtest/gtest.h>

#include "fractal/Random.h"
#include "tests/core/DrawControl.h"

namespace zorv {
namespace {

TEST(Random, FirstValuesForSeedOneMatchTheClassicSequence) {
    Random random(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(random.Draw(), value);
}

TEST(Random, SeedForDrawPlacesTheWantedValue) {
    for (int position : {0, 1, 7, 16, 22}) {
        for (int value : {0, 1, 6553, 32767}) {
            Random random(SeedForDraw(position, value));
            for (int i = 0; i < position; ++i) random.Draw();
            EXPECT_EQ(random.Draw(), value) << "position " << position;
        }
    }
}

}  // namespace
}  // namespace zorv
