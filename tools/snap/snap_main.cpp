// qs-snap: keeps pictures of the screen while an installation runs under Wine. It captures the
// screen whenever the set of visible top-level windows changes, into OUTPUT_FOLDER/NN.bmp,
// until it has taken MAX_PICTURES (default 12) or SECONDS have passed.
//   qs-snap OUTPUT_FOLDER SECONDS [MAX_PICTURES]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

BOOL CALLBACK CollectVisible(HWND window, LPARAM data) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

std::string WindowState() {
  std::vector<HWND> windows;
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&windows));
  std::string state;
  for (HWND window : windows) {
    char title[128] = "";
    GetWindowTextA(window, title, sizeof title);
    state += std::to_string(reinterpret_cast<uintptr_t>(window)) + ":" + title + ";";
  }
  return state;
}

bool SaveScreen(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD rowBytes = static_cast<DWORD>((width * 3 + 3) & ~3);
  std::vector<char> pixels(rowBytes * static_cast<DWORD>(height));
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: qs-snap OUTPUT_FOLDER SECONDS [MAX_PICTURES]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const DWORD limit = static_cast<DWORD>(std::atoi(argv[2])) * 1000;
  const int most = argc > 3 ? std::atoi(argv[3]) : 12;
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string last;
  int taken = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < limit && taken < most) {
    const std::string state = WindowState();
    if (state != last) {
      Sleep(100);  // let the new window paint itself first
      char name[32];
      std::snprintf(name, sizeof name, "\\%02d.bmp", ++taken);
      SaveScreen(folder + name);
      last = WindowState();
    }
    Sleep(20);
  }
  return 0;
}
