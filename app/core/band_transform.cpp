#include "app/core/band_transform.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kTwoPi = 6.28318530717958;
constexpr double kPiOver128 = 0.024543692606170234;

// std::nearbyint rounds in the default mode, to nearest with ties to even.
int32_t RoundToInt(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

// The twiddle recurrence of both stages: w := w * (1 + wpr + i wpi).
void AdvanceTwiddle(double& wr, double& wi, double wpr, double wpi) {
  const double wtemp = wr;
  wr = wr * wpr - wi * wpi + wr;
  wi = wi * wpr + wtemp * wpi + wi;
}

// Elements are counted from 1 as in the textbook form of the routine: element p sits at
// index p - 1.
class OneBased {
 public:
  explicit OneBased(std::array<int32_t, kSamplesPerBlock>& data) : data_(data) {}
  int32_t& operator()(int position) { return data_[static_cast<size_t>(position - 1)]; }

 private:
  std::array<int32_t, kSamplesPerBlock>& data_;
};

void BitReverse(OneBased e) {
  int j = 1;
  for (int i = 1; i < kSamplesPerBlock; i += 2) {
    if (j > i) {
      std::swap(e(j), e(i));
      std::swap(e(j + 1), e(i + 1));
    }
    int m = kSamplesPerBlock / 2;
    while (m >= 2 && j > m) {
      j -= m;
      m /= 2;
    }
    j += m;
  }
}

void Butterflies(OneBased e) {
  for (int mmax = 2; mmax < kSamplesPerBlock;) {
    const int istep = 2 * mmax;
    const double theta = kTwoPi / mmax;
    const double halfSine = std::sin(0.5 * theta);
    const double wpr = -2.0 * halfSine * halfSine;
    const double wpi = std::sin(theta);
    double wr = 1.0;
    double wi = 0.0;
    for (int m = 1; m < mmax; m += 2) {
      for (int i = m; i <= kSamplesPerBlock; i += istep) {
        const int j = i + mmax;
        const double tempr = wr * e(j) - wi * e(j + 1);
        const double tempi = wr * e(j + 1) + wi * e(j);
        e(j) = RoundToInt(e(i) - tempr);
        e(j + 1) = RoundToInt(e(i + 1) - tempi);
        e(i) = RoundToInt(e(i) + tempr);
        e(i + 1) = RoundToInt(e(i + 1) + tempi);
      }
      AdvanceTwiddle(wr, wi, wpr, wpi);
    }
    mmax = istep;
  }
}

// Separates the transforms of the even and odd samples into the spectrum of the real block.
void RealPostProcessing(std::array<int32_t, kSamplesPerBlock>& a) {
  const double halfSine = std::sin(0.5 * kPiOver128);
  const double wpr = -2.0 * halfSine * halfSine;
  const double wpi = std::sin(kPiOver128);
  double wr = 1.0 + wpr;
  double wi = wpi;
  for (int i = 2; i <= kSamplesPerBlock / 4 + 1; ++i) {
    const size_t i1 = static_cast<size_t>(2 * i - 2);
    const size_t i2 = static_cast<size_t>(2 * i - 1);
    const size_t i3 = static_cast<size_t>(258 - 2 * i);
    const size_t i4 = static_cast<size_t>(259 - 2 * i);
    const double h1r = 0.5 * (a[i1] + a[i3]);
    const double h1i = 0.5 * (a[i2] - a[i4]);
    const double h2r = 0.5 * (a[i2] + a[i4]);
    const double h2i = -0.5 * (a[i1] - a[i3]);
    // At i = 65 the two ends meet (i1 = i3): the later stores win, in this order.
    a[i1] = RoundToInt(h1r + wr * h2r - wi * h2i);
    a[i2] = RoundToInt(h1i + wr * h2i + wi * h2r);
    a[i3] = RoundToInt(h1r - wr * h2r + wi * h2i);
    a[i4] = RoundToInt(-h1i + wr * h2i + wi * h2r);
    AdvanceTwiddle(wr, wi, wpr, wpi);
  }
  const int32_t t = a[0];
  a[0] = t + a[1];
  a[1] = t - a[1];
}

}  // namespace

void TransformSamples(const std::array<uint8_t, kSamplesPerBlock>& samples,
                      std::array<int32_t, kSamplesPerBlock>& fftData) {
  for (size_t i = 0; i < samples.size(); ++i) fftData[i] = samples[i];
  BitReverse(OneBased(fftData));
  Butterflies(OneBased(fftData));
  RealPostProcessing(fftData);
}

void ReduceToBands(std::array<int32_t, kSamplesPerBlock>& fftData,
                   std::array<uint8_t, kBandCount + 1>& bandLevel) {
  constexpr int kBandStride = 25;
  int k = 1;
  for (int b = 1; b <= kBandCount; ++b) {
    uint8_t& level = bandLevel[static_cast<size_t>(b)];
    level = 0;
    for (int m = k; m <= k + kBandStride; ++m) {
      int32_t& value = fftData[static_cast<size_t>(m)];
      if (value > 255) value = 255;
      if (value < 1) value = 1;
      if (value < level) {
        if (level > 9) level = static_cast<uint8_t>(level - 2);
      } else {
        level = static_cast<uint8_t>(value);
      }
    }
    k += kBandStride;
  }
}

void ComputeSpectrum(SpectrumBlock& block) {
  TransformSamples(block.sampleBuffer, block.fftData);
  ReduceToBands(block.fftData, block.bandLevel);
}
