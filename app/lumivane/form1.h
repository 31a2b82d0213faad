// Form1, the main window of Lumivane: the settings, the wave input, the scan timer that
// drives the spectrum and the path, and the port output started by the Start/Stop button.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/core/port_output.h"
#include "app/core/band_transform.h"
#include "app/core/tessil_path.h"

// The state the form owns; every run starts from the same values.
struct FormState {
  int32_t sampleRate = 0;
  OutputSettings output;  // portBase, portDelay, xFirst, outputRunning
  bool showSpectrum = false;
  UINT scanInterval = 100;  // Timer1, in ms
  unsigned long scanTicks = 0;
  SpectrumBlock block;
  TessilPath path;
};

struct Form1Controls {
  HWND check1, check2, combo1, combo2, slider1, slider2, command1, picture1;
  HWND label1, label2, label3, label4, label5, label6;
  HWND tooltip;
};

// Creates Form1's controls with their captions, tooltips and fonts (form1_controls.cpp).
void CreateForm1Controls(HWND form, Form1Controls& controls);

// Creates Form1, runs its load and shows it. Only one Form1 exists per process.
HWND CreateForm1(HINSTANCE instance);
const FormState& Form1State();

// The whole program: Form1 and its message loop. Closing Form1 ends the process.
int RunLumivane(HINSTANCE instance);
