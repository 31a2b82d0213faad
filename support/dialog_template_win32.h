// Dialogs made from the in-memory templates of support/dialog_template.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A modeless dialog from template [bytes] (copied to DWORD-aligned memory first).
HWND CreateModelessDialog(const std::vector<uint8_t>& bytes, HWND owner, DLGPROC procedure, LPARAM parameter);
// A modal dialog from template [bytes]: what it ended with, or -1 when it could not be made.
INT_PTR RunModalDialog(const std::vector<uint8_t>& bytes, HWND owner, DLGPROC procedure, LPARAM parameter);
// Centres [window] on the screen. With [countEdgePixels] its width and height count both edge
// pixels (right - left + 1), as the bootstrap's working window places itself.
void CentreOnScreen(HWND window, bool countEdgePixels = false);

// Fills [window]'s client rectangle, widened by one pixel to the right and bottom, with light
// grey (192, 192, 192): the background of the bootstrap's window and the wait message.
void FillClientGrey(HWND window, HDC dc);

// An 8-bit text in the system's code page as the UTF-16 that templates hold.
std::u16string AnsiToUtf16(const std::string& text);
