// frmAbout: the application's title and version, and a button that starts the platform's
// system-information tool.
#pragma once

#include <windows.h>

// Shows frmAbout modally over [owner].
void ShowAboutBox(HWND owner);

// Starts the system-information tool, or tells the user over [owner] that it is not there.
void StartSysInfo(HWND owner);
