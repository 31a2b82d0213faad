#include "app/lumivane/sound_module.h"

namespace {

// Set by the device's callback thread when it hands a filled buffer back.
volatile LONG gDataReady = 0;
HANDLE gDataEvent = nullptr;

void CALLBACK WaveInCallback(HWAVEIN, UINT message, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  if (message != WIM_DATA) return;
  InterlockedExchange(&gDataReady, -1);
  SetEvent(gDataEvent);  // one of the few calls a wave callback may make
}

}  // namespace

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) ExitProcess(static_cast<UINT>(message.wParam));
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

MMRESULT SoundModule::Open(int sampleRate) {
  if (!gDataEvent) gDataEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = static_cast<DWORD>(sampleRate);
  format.nAvgBytesPerSec = static_cast<DWORD>(sampleRate);
  format.nBlockAlign = 1;
  format.wBitsPerSample = 8;
  HWAVEIN handle = nullptr;
  const MMRESULT result = waveInOpen(&handle, WAVE_MAPPER, &format,
                                     reinterpret_cast<DWORD_PTR>(WaveInCallback), 0,
                                     CALLBACK_FUNCTION);
  handle_ = result == MMSYSERR_NOERROR ? handle : nullptr;
  return result;
}

void SoundModule::Start() {
  if (handle_) waveInStart(handle_);
}

void SoundModule::Close() {
  if (!handle_) return;
  HWAVEIN handle = handle_;
  handle_ = nullptr;
  waveInReset(handle);
  waveInStop(handle);
  waveInClose(handle);
}

void SoundModule::CaptureBlock(std::array<uint8_t, kSamplesPerBlock>& samples) {
  HWAVEIN handle = handle_;
  if (!handle) return;
  header_ = {};
  header_.lpData = reinterpret_cast<LPSTR>(samples.data());
  header_.dwBufferLength = kSamplesPerBlock;
  if (waveInPrepareHeader(handle, &header_, sizeof header_) != MMSYSERR_NOERROR) return;
  InterlockedExchange(&gDataReady, 0);
  if (waveInAddBuffer(handle, &header_, sizeof header_) == MMSYSERR_NOERROR) {
    // No time-out: the wait ends with the block or when the device is closed meanwhile.
    while (!InterlockedCompareExchange(&gDataReady, 0, 0) && handle_) {
      PumpMessages();
      if (InterlockedCompareExchange(&gDataReady, 0, 0) || !handle_) break;
      MsgWaitForMultipleObjects(1, &gDataEvent, FALSE, INFINITE, QS_ALLINPUT);
    }
  }
  // The device may have been closed during the wait; the header belongs to the old handle.
  waveInUnprepareHeader(handle, &header_, sizeof header_);
}
