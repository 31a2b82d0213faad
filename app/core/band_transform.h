// The block transform of the spectrum display: 256 unsigned 8-bit samples go through a packed
// real fast Fourier transform into 256 integer components, which are reduced to ten band
// levels. Portable: no platform headers, no allocation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int kSamplesPerBlock = 256;
constexpr int kBandCount = 10;

struct SpectrumBlock {
  std::array<uint8_t, kSamplesPerBlock> sampleBuffer{};  // filled by the capture; 128 = silence
  std::array<int32_t, kSamplesPerBlock> fftData{};
  // Indexed by band number 1..10; slot 0 is unused.
  std::array<uint8_t, kBandCount + 1> bandLevel{};
};

// sampleBuffer -> fftData (TransformSamples) -> bandLevel (ReduceToBands).
void ComputeSpectrum(SpectrumBlock& block);

// The packed real transform. fftData ends holding the zero-frequency term at index 0, the
// term at half the sample rate at index 1, then the real and imaginary parts of frequencies
// 1..127 at indexes 2k and 2k + 1. Every value written back is rounded to the nearest
// integer, ties to even.
void TransformSamples(const std::array<uint8_t, kSamplesPerBlock>& samples,
                      std::array<int32_t, kSamplesPerBlock>& fftData);

// Reads 26 raw components per band (neighbouring bands share one index), clamping each to
// 1..255 in place. A value at or above the running level becomes the level; a lower one
// lowers the level by 2 while it is above 9.
void ReduceToBands(std::array<int32_t, kSamplesPerBlock>& fftData,
                   std::array<uint8_t, kBandCount + 1>& bandLevel);
