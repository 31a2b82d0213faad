// The virtual device's latches: each loads on the rising edge of its control line only.
#include <gtest/gtest.h>

#include "app/virtual_device/xy_latches.h"

namespace {

TEST(XyLatches, ThePointSequenceLoadsFirstThenSecond) {
  XyLatches latches(0x378);
  EXPECT_FALSE(latches.Write(0x378, 40));
  EXPECT_FALSE(latches.Write(0x37A, 4));
  // The data changes while bit 2 is still high: an edge-triggered latch keeps 40.
  EXPECT_FALSE(latches.Write(0x378, 90));
  EXPECT_TRUE(latches.Write(0x37A, 8));
  EXPECT_FALSE(latches.Write(0x37A, 0));
  EXPECT_EQ(latches.First(), 40);
  EXPECT_EQ(latches.Second(), 90);
}

TEST(XyLatches, AHeldLineDoesNotLoadAgainAndOtherPortsAreIgnored) {
  XyLatches latches(0x278);
  latches.Write(0x278, 7);
  latches.Write(0x27A, 8);
  latches.Write(0x278, 9);
  EXPECT_FALSE(latches.Write(0x27A, 8));  // still high: no new edge
  EXPECT_EQ(latches.Second(), 7);
  latches.Write(0x378, 55);               // another port's data register
  latches.Write(0x37A, 4);
  EXPECT_EQ(latches.First(), 0);
  latches.Write(0x27A, 0);
  EXPECT_TRUE(latches.Write(0x27A, 12));  // both lines rise at once
  EXPECT_EQ(latches.First(), 9);
  EXPECT_EQ(latches.Second(), 9);
}

}  // namespace
