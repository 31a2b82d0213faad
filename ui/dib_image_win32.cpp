#include "ui/dib_image_win32.h"

#include "support/win32.h"
#include "ui/dib_layout.h"

namespace {

constexpr DWORD kReadPiece = 32767;

class BitmapFile {
 public:
  explicit BitmapFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {}
  ~BitmapFile() {
    if (IsOpen()) CloseHandle(handle_);
  }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  uint64_t Size() const {
    LARGE_INTEGER size{};
    return GetFileSizeEx(handle_, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  // Reads [length] bytes at [offset] in pieces; false on a short read.
  bool ReadAt(uint32_t offset, BYTE* into, uint32_t length) {
    if (SetFilePointer(handle_, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    while (length > 0) {
      const DWORD piece = length < kReadPiece ? length : kReadPiece;
      DWORD got = 0;
      if (!ReadFile(handle_, into, piece, &got, nullptr) || got != piece) return false;
      into += piece;
      length -= piece;
    }
    return true;
  }

 private:
  HANDLE handle_;
};

HPALETTE SystemPalette() {
  HDC screen = GetDC(nullptr);
  int entries = GetDeviceCaps(screen, SIZEPALETTE);
  if (entries == 0) entries = GetDeviceCaps(screen, NUMCOLORS);
  HPALETTE palette = nullptr;
  if (entries > 0) {
    std::vector<BYTE> memory(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(entries));
    auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(entries);
    GetSystemPaletteEntries(screen, 0, static_cast<UINT>(entries), logical->palPalEntry);
    palette = CreatePalette(logical);
  }
  ReleaseDC(nullptr, screen);
  return palette;
}

}  // namespace

DibImage::~DibImage() {
  if (palette_) DeleteObject(palette_);
}

std::unique_ptr<DibImage> LoadDibFile(const std::string& path) {
  return LoadDibFile(path, [] { ShowMessageBox(nullptr, kFileNotFoundText, "", kFileNotFoundStyle); });
}

std::unique_ptr<DibImage> LoadDibFile(const std::string& path, const std::function<void()>& notFound) {
  BitmapFile file(path);
  if (!file.IsOpen()) {
    notFound();
    return nullptr;
  }
  const uint64_t fileSize = file.Size();
  BYTE headers[kBitmapFileHeaderSize + kBitmapInfoHeaderSize];
  DibLayout layout;
  if (fileSize < sizeof headers || !file.ReadAt(0, headers, sizeof headers) ||
      !ReadDibLayout(headers, headers + kBitmapFileHeaderSize, kBitmapInfoHeaderSize, fileSize, layout))
    return nullptr;
  auto image = std::make_unique<DibImage>();
  image->packed_.assign(layout.PackedSize(), 0);
  BYTE* packed = image->packed_.data();
  PackedInfoHeader(headers + kBitmapFileHeaderSize, layout, packed);
  BYTE* table = packed + kBitmapInfoHeaderSize;
  if (layout.maskBytes && !file.ReadAt(layout.masksOffset, table, layout.maskBytes)) return nullptr;
  if (layout.colourCount && !file.ReadAt(layout.colourTableOffset, table + layout.maskBytes, layout.colourCount * 4))
    return nullptr;
  image->bitsOffset_ = layout.PackedBitsOffset();
  if (!file.ReadAt(layout.bitsOffset, packed + image->bitsOffset_, layout.imageSize)) return nullptr;
  image->palette_ = SystemPalette();
  return image;
}

int DrawDib(HDC dc, const RECT& destination, const DibImage& image, const RECT& source, HPALETTE palette) {
  HPALETTE previous = nullptr;
  if (palette) {
    previous = SelectPalette(dc, palette, TRUE);
    RealizePalette(dc);
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  const int width = destination.right - destination.left, height = destination.bottom - destination.top;
  const int sourceWidth = source.right - source.left, sourceHeight = source.bottom - source.top;
  const LONG rows = image.Height() < 0 ? -image.Height() : image.Height();
  int lines = 0;
  if (width == sourceWidth && height == sourceHeight) {
    // Rows are counted from the bottom of the bitmap.
    lines = SetDIBitsToDevice(dc, destination.left, destination.top, static_cast<DWORD>(width),
                              static_cast<DWORD>(height), source.left, static_cast<int>(rows) - source.bottom, 0,
                              static_cast<UINT>(rows), image.Bits(), image.Info(), DIB_RGB_COLORS);
  } else {
    lines = StretchDIBits(dc, destination.left, destination.top, width, height, source.left,
                          static_cast<int>(rows) - source.bottom, sourceWidth, sourceHeight, image.Bits(),
                          image.Info(), DIB_RGB_COLORS, SRCCOPY);
  }
  if (previous) SelectPalette(dc, previous, TRUE);
  return lines > 0 ? lines : 0;
}
