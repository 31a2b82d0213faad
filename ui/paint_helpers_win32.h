// Drawing steps that several of the installer's windows share: sunken rings, the size of one
// line of text, and the colours that scripts write as numbers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// A script colour (red + 256 * green + 65536 * blue) as the system takes it.
inline COLORREF ScriptColour(int32_t colour) { return static_cast<COLORREF>(colour) & 0xFFFFFF; }

// Draws [count] rings inside [r], the outermost first, each one pixel inside the previous:
// left and top edges in [topLeft], right and bottom edges in [bottomRight]. [r] shrinks by
// [count] on every side.
void DrawRings(HDC dc, RECT& r, int count, COLORREF topLeft, COLORREF bottomRight);

// The size of [line] in the font selected into [dc], tabs expanded; an empty line is as wide
// and as high as "W".
SIZE TextLineSize(HDC dc, const std::string& line);
