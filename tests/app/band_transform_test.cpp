// The block transform against a second, plain implementation of the same arithmetic, and the
// band reduction's clamp, rise and decay.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/core/band_transform.h"

namespace {

using Samples = std::array<uint8_t, kSamplesPerBlock>;
using Components = std::array<int32_t, kSamplesPerBlock>;

// Round half to even, written out instead of relying on the rounding mode.
long long RoundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  long long result = static_cast<long long>(below);
  if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
  return result;
}

// The same transform written the plain way, independently of the library: one-based elements
// d[1..256], the complex transform of 128 points, then the real post-processing with
// zero-based a[].
Components ReferenceTransform(const Samples& samples) {
  long long d[257] = {};
  for (int i = 0; i < 256; ++i) d[i + 1] = samples[static_cast<size_t>(i)];

  int j = 1;
  for (int i = 1; i <= 255; i += 2) {
    if (j > i) {
      long long t = d[j]; d[j] = d[i]; d[i] = t;
      t = d[j + 1]; d[j + 1] = d[i + 1]; d[i + 1] = t;
    }
    int m = 128;
    while (m >= 2 && j > m) { j = j - m; m = m / 2; }
    j = j + m;
  }

  int mmax = 2;
  while (mmax < 256) {
    const int istep = 2 * mmax;
    const double theta = 6.28318530717958 / mmax;
    const double wpr = -2.0 * (std::sin(theta / 2) * std::sin(theta / 2));
    const double wpi = std::sin(theta);
    double wr = 1, wi = 0;
    for (int m = 1; m <= mmax - 1; m += 2) {
      for (int i = m; i <= 256; i += istep) {
        const int jj = i + mmax;
        const double tempr = wr * d[jj] - wi * d[jj + 1];
        const double tempi = wr * d[jj + 1] + wi * d[jj];
        d[jj] = RoundHalfEven(d[i] - tempr);
        d[jj + 1] = RoundHalfEven(d[i + 1] - tempi);
        d[i] = RoundHalfEven(d[i] + tempr);
        d[i + 1] = RoundHalfEven(d[i + 1] + tempi);
      }
      const double wtemp = wr;
      wr = wr * wpr - wi * wpi + wr;
      wi = wi * wpr + wtemp * wpi + wi;
    }
    mmax = istep;
  }

  long long* a = d + 1;
  const double theta = 0.024543692606170234;
  const double wpr = -2.0 * (std::sin(theta / 2) * std::sin(theta / 2));
  const double wpi = std::sin(theta);
  double wr = 1 + wpr, wi = wpi;
  for (int i = 2; i <= 65; ++i) {
    const int i1 = 2 * i - 2, i2 = 2 * i - 1, i3 = 258 - 2 * i, i4 = 259 - 2 * i;
    const double h1r = 0.5 * (a[i1] + a[i3]);
    const double h1i = 0.5 * (a[i2] - a[i4]);
    const double h2r = 0.5 * (a[i2] + a[i4]);
    const double h2i = -0.5 * (a[i1] - a[i3]);
    a[i1] = RoundHalfEven(h1r + wr * h2r - wi * h2i);
    a[i2] = RoundHalfEven(h1i + wr * h2i + wi * h2r);
    a[i3] = RoundHalfEven(h1r - wr * h2r + wi * h2i);
    a[i4] = RoundHalfEven(-h1i + wr * h2i + wi * h2r);
    const double wtemp = wr;
    wr = wr * wpr - wi * wpi + wr;
    wi = wi * wpr + wtemp * wpi + wi;
  }
  const long long t = a[0];
  a[0] = t + a[1];
  a[1] = t - a[1];

  Components result{};
  for (int i = 0; i < 256; ++i) result[static_cast<size_t>(i)] = static_cast<int32_t>(a[i]);
  return result;
}

Components Transform(const Samples& samples) {
  Components out{};
  TransformSamples(samples, out);
  return out;
}

std::vector<Samples> TestBlocks() {
  std::vector<Samples> blocks;
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int n = 0; n < 3000; ++n) {
    Samples s;
    for (auto& v : s) v = static_cast<uint8_t>(byte(random));
    blocks.push_back(s);
  }
  Samples s;
  s.fill(0); blocks.push_back(s);
  s.fill(255); blocks.push_back(s);
  for (int i = 0; i < 256; ++i) s[static_cast<size_t>(i)] = static_cast<uint8_t>(i % 2 ? 255 : 0);
  blocks.push_back(s);
  for (int i = 0; i < 256; ++i) s[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  blocks.push_back(s);
  for (int i = 0; i < 256; ++i)
    s[static_cast<size_t>(i)] = static_cast<uint8_t>(128 + std::lround(100 * std::sin(i * 0.3)));
  blocks.push_back(s);
  return blocks;
}

TEST(Transform, MatchesAPlainImplementationBitForBit) {
  int block = 0;
  for (const Samples& samples : TestBlocks()) {
    ASSERT_EQ(Transform(samples), ReferenceTransform(samples)) << "block " << block;
    ++block;
  }
}

// Checks that both implementations compute the spectrum at all: the exact sums
// F(k) = sum x(n) e^(+2 pi i k n / 256), within the rounding of eight stages.
TEST(Transform, AgreesWithTheDirectSumWithinRounding) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  Samples samples;
  for (auto& v : samples) v = static_cast<uint8_t>(byte(random));
  const Components fft = Transform(samples);
  const double pi = std::acos(-1.0);
  for (int k = 0; k <= 128; ++k) {
    double re = 0, im = 0;
    for (int n = 0; n < 256; ++n) {
      re += samples[static_cast<size_t>(n)] * std::cos(2 * pi * k * n / 256);
      im += samples[static_cast<size_t>(n)] * std::sin(2 * pi * k * n / 256);
    }
    if (k == 0) {
      EXPECT_NEAR(fft[0], re, 8);
    } else if (k == 128) {
      EXPECT_NEAR(fft[1], re, 8);
    } else {
      EXPECT_NEAR(fft[static_cast<size_t>(2 * k)], re, 8) << "k " << k;
      EXPECT_NEAR(fft[static_cast<size_t>(2 * k + 1)], im, 8) << "k " << k;
    }
  }
}

TEST(Spectrum, SilenceGivesTheZeroTermOnlyAndEveryBandAtOne) {
  SpectrumBlock block;
  block.sampleBuffer.fill(128);
  TransformSamples(block.sampleBuffer, block.fftData);
  EXPECT_EQ(block.fftData[0], 32768);
  for (size_t i = 1; i < block.fftData.size(); ++i) ASSERT_EQ(block.fftData[i], 0) << i;
  ComputeSpectrum(block);
  for (int b = 1; b <= kBandCount; ++b) EXPECT_EQ(block.bandLevel[static_cast<size_t>(b)], 1);
}

class BandReduction : public ::testing::Test {
 protected:
  // Fills indexes first..first+count-1 with start, start+step, ...
  void Fill(int first, int count, int start, int step) {
    for (int i = 0; i < count; ++i) fft[static_cast<size_t>(first + i)] = start + i * step;
  }
  uint8_t Level(int band) {
    ReduceToBands(fft, levels);
    return levels[static_cast<size_t>(band)];
  }
  Components fft{};
  std::array<uint8_t, kBandCount + 1> levels{};
};

TEST_F(BandReduction, ARisingBandTakesTheLastValueRead) {
  Fill(1, 26, 10, 7);  // 10, 17, ..., 185 at index 26
  EXPECT_EQ(Level(1), 185);
}

TEST_F(BandReduction, ALowerValueLowersTheLevelByTwoAtMostFiftyPerBand) {
  fft[1] = 200;  // the rest of band 1 stays 0 and is clamped to 1
  EXPECT_EQ(Level(1), 150);
  EXPECT_EQ(fft[1], 200);
  EXPECT_EQ(fft[2], 1);
}

TEST_F(BandReduction, DecayStopsOnceTheLevelIsNineOrLess) {
  fft[1] = 12;
  EXPECT_EQ(Level(1), 8);  // 12 -> 10 -> 8, then no lower
}

TEST_F(BandReduction, ClampsInPlaceAndSharesTheBoundaryIndex) {
  Fill(1, 26, -100, 0);
  fft[26] = 4000;  // last of band 1, first of band 2
  fft[27] = 300;
  const uint8_t band1 = Level(1);
  EXPECT_EQ(band1, 255);
  EXPECT_EQ(fft[3], 1);
  EXPECT_EQ(fft[26], 255);
  EXPECT_EQ(levels[2], 255 - 2 * 24);  // 255, 255, then 24 ones
  fft[252] = -5;  // beyond band 10, which ends at index 251
  ReduceToBands(fft, levels);
  EXPECT_EQ(fft[252], -5);
  EXPECT_EQ(fft[0], 0);
}

}  // namespace
