// Bitmap files as scripts show them: read into one packed device-independent bitmap (40-byte
// header, colour masks, colour table, pixel rows) and drawn 1:1 or stretched.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class DibImage {
 public:
  DibImage() = default;
  DibImage(const DibImage&) = delete;
  DibImage& operator=(const DibImage&) = delete;
  ~DibImage();

  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(packed_.data()); }
  const void* Bits() const { return packed_.data() + bitsOffset_; }
  LONG Width() const { return Info()->bmiHeader.biWidth; }
  LONG Height() const { return Info()->bmiHeader.biHeight; }  // negative for top-down rows
  HPALETTE Palette() const { return palette_; }

 private:
  friend std::unique_ptr<DibImage> LoadDibFile(const std::string& path, const std::function<void()>& notFound);
  std::vector<BYTE> packed_;
  size_t bitsOffset_ = 0;
  HPALETTE palette_ = nullptr;  // the system palette when the display has one
};

// Reads a bitmap file; nullptr for a file that cannot be opened (after [notFound] has said so,
// or a "File Not Found!" box) or whose headers do not fit the file.
std::unique_ptr<DibImage> LoadDibFile(const std::string& path, const std::function<void()>& notFound);
std::unique_ptr<DibImage> LoadDibFile(const std::string& path);
// The text and style of that box.
constexpr char kFileNotFoundText[] = "File Not Found!";
constexpr UINT kFileNotFoundStyle = MB_OK | MB_ICONERROR;

// Draws [source] of [image] into [destination] (1:1 when both have the same size, stretched
// otherwise) with [palette] when one is given. The number of scan lines drawn; 0 on failure.
int DrawDib(HDC dc, const RECT& destination, const DibImage& image, const RECT& source, HPALETTE palette);
