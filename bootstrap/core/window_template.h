// The in-memory dialog template of the bootstrap's working window: a visible popup with a
// caption "Setup", 222 x 93 dialog units, font "MS Sans Serif" 8, no controls. Portable, so
// that its bytes can be checked without Windows.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kWorkingWindowWidth = 222;   // dialog units
constexpr int kWorkingWindowHeight = 93;

// The DLGTEMPLATE bytes (little-endian, strings in UTF-16): style, extended style, no items,
// position 0,0 (the window centres itself), size, no menu, the standard dialog class, the
// caption, then the font's point size and face name. Copy them to DWORD-aligned memory.
std::vector<uint8_t> WorkingWindowTemplate();
