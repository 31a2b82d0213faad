// Dialogs made from the in-memory templates of support/dialog_template.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A modeless dialog from template [bytes] (copied to DWORD-aligned memory first).
HWND CreateModelessDialog(const std::vector<uint8_t>& bytes, HWND owner, DLGPROC procedure, LPARAM parameter);
// Who answers a modal dialog: a person (kPressNothing), or the dialog itself once it has opened,
// by a click on its default button (kPressDefault: the button marked default, else OK when it
// has one, else Cancel) or on the button of a given id; when the click leaves it open, Escape
// follows, so that nothing waits for a person. A dialog that answers itself is never shown.
constexpr int kPressNothing = 0;
constexpr int kPressDefault = -1;
// A modal dialog from template [bytes]: what it ended with, or -1 when it could not be made.
INT_PTR RunModalDialog(const std::vector<uint8_t>& bytes, HWND owner, DLGPROC procedure, LPARAM parameter,
                       int press = kPressNothing);
// Centres [window] on the screen. With [countEdgePixels] its width and height count both edge
// pixels (right - left + 1), as the bootstrap's working window places itself.
void CentreOnScreen(HWND window, bool countEdgePixels = false);

// Fills [window]'s client rectangle, widened by one pixel to the right and bottom, with light
// grey (192, 192, 192): the background of the bootstrap's window and the wait message.
void FillClientGrey(HWND window, HDC dc);

// An 8-bit text in the system's code page as the UTF-16 that templates hold.
std::u16string AnsiToUtf16(const std::string& text);
