/* A service that runs until it is told to stop. */
#include <windows.h>

static SERVICE_STATUS_HANDLE handle;
static SERVICE_STATUS status;
static HANDLE stopEvent;

static DWORD WINAPI Control(DWORD code, DWORD type, LPVOID data, LPVOID context) {
  (void)type, (void)data, (void)context;
  if (code == SERVICE_CONTROL_STOP) {
    status.dwCurrentState = SERVICE_STOP_PENDING;
    SetServiceStatus(handle, &status);
    SetEvent(stopEvent);
  }
  return NO_ERROR;
}

static void WINAPI ServiceMain(DWORD argc, LPSTR* argv) {
  (void)argc, (void)argv;
  handle = RegisterServiceCtrlHandlerExA("", Control, NULL);
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = SERVICE_RUNNING;
  status.dwControlsAccepted = SERVICE_ACCEPT_STOP;
  SetServiceStatus(handle, &status);
  WaitForSingleObject(stopEvent, INFINITE);
  status.dwCurrentState = SERVICE_STOPPED;
  SetServiceStatus(handle, &status);
}

int main(void) {
  SERVICE_TABLE_ENTRYA table[] = {{(LPSTR)"", ServiceMain}, {NULL, NULL}};
  stopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
  return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
