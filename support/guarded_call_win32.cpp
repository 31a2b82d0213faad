#include "support/guarded_call_win32.h"

#if defined(__i386__)
#include <intrin.h>

namespace {

// A frame of the thread's exception handler chain (fs:[0]) that ends a guarded call: its
// handler unwinds the frames the call left above it and jumps back into CallGuarded.
struct GuardFrame {
  EXCEPTION_REGISTRATION_RECORD record;  // first: the chain points at it
  void* jump[5];
  DWORD code;
};

EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* exception, void* frame, CONTEXT*, void*) {
  if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  GuardFrame* guard = static_cast<GuardFrame*>(frame);
  guard->code = exception->ExceptionCode;
  RtlUnwind(frame, nullptr, exception, nullptr);
  __builtin_longjmp(guard->jump, 1);
}

}  // namespace

GuardedResult CallGuarded(StatusEntryPoint entry) {
  GuardedResult result;
  GuardFrame guard{};
  guard.record.Next = reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(__readfsdword(0));
  guard.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(GuardHandler);
  __writefsdword(0, reinterpret_cast<DWORD>(&guard.record));
  volatile bool returned = false;
  volatile LONG status = 0;
  if (__builtin_setjmp(guard.jump) == 0) {
    status = entry();
    returned = true;
  }
  __writefsdword(0, reinterpret_cast<DWORD>(guard.record.Next));
  result.returned = returned;
  result.status = status;
  result.exceptionCode = returned ? 0 : guard.code;
  return result;
}

#else

GuardedResult CallGuarded(StatusEntryPoint entry) {
  GuardedResult result;
  result.status = entry();
  result.returned = true;
  return result;
}

#endif
