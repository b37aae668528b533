// Import slots for the three kernel32 functions that the static winpthreads
// (pulled in by libstdc++'s exception and static-initialisation support)
// imports but Windows 2000 lacks (and GetTickCount64, which XP x64 and
// Server 2003 x64 lack too): defined here, the linker takes these instead of
// kernel32's, and they look the real functions up at run time.
// Must be linked as an object of cvt.exe itself, not from a static library,
// so that it is already defined when libpthread.a asks for the symbols.
#include <windows.h>

namespace {

template <typename Fn>
Fn Kernel32Function(const char* name) {
  // Through void*: FARPROC's own type says nothing about the real signature.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

ULONGLONG WINAPI TickCount64() {
  using Fn = ULONGLONG(WINAPI*)();
  const auto real = Kernel32Function<Fn>("GetTickCount64");
  if (real != nullptr) return real();
  // Extends the 32-bit count across its wrap; winpthreads only takes
  // differences, on the one thread this program has.
  static DWORD last = 0;
  static ULONGLONG high = 0;
  const DWORD now = GetTickCount();
  if (now < last) high += 0x100000000ULL;
  last = now;
  return high | now;
}

PVOID WINAPI AddHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
  using Fn = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
  const auto real = Kernel32Function<Fn>("AddVectoredExceptionHandler");
  return real != nullptr ? real(first, handler) : nullptr;  // winpthreads copes with NULL
}

ULONG WINAPI RemoveHandler(PVOID handle) {
  using Fn = ULONG(WINAPI*)(PVOID);
  const auto real = Kernel32Function<Fn>("RemoveVectoredExceptionHandler");
  return real != nullptr && handle != nullptr ? real(handle) : 0;
}

}  // namespace

// The slot's symbol: decorated with the argument bytes on x86, plain on x64.
#ifdef _WIN64
#define CVT_IMPORT_SLOT(name, argumentBytes) asm("__imp_" #name)
#else
#define CVT_IMPORT_SLOT(name, argumentBytes) asm("__imp__" #name "@" #argumentBytes)
#endif

extern "C" {
void* cvtImpGetTickCount64 CVT_IMPORT_SLOT(GetTickCount64, 0) = reinterpret_cast<void*>(&TickCount64);
void* cvtImpAddVectoredExceptionHandler CVT_IMPORT_SLOT(AddVectoredExceptionHandler, 8) =
    reinterpret_cast<void*>(&AddHandler);
void* cvtImpRemoveVectoredExceptionHandler CVT_IMPORT_SLOT(RemoveVectoredExceptionHandler, 4) =
    reinterpret_cast<void*>(&RemoveHandler);
}
