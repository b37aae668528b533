// Never run: a program whose imports break every rule, so that the import
// check can be shown to catch them.
#include <string>

extern "C" {
__declspec(dllimport) unsigned long long __stdcall GetTickCount64();
__declspec(dllimport) void* __stdcall AddVectoredExceptionHandler(unsigned long first, void* handler);
__declspec(dllimport) void __stdcall AcquireSRWLockExclusive(void* lock);
__declspec(dllimport) int __stdcall IsHungAppWindow(void* window);
__declspec(dllimport) int __stdcall EnumProcessModules(void* process, void* modules, unsigned long size,
                                                       unsigned long* needed);
}

int main(int argc, char** argv) {
  // Keeps every call (and so every import) in the program.
  if (argc > 100) {
    AcquireSRWLockExclusive(argv);
    return static_cast<int>(GetTickCount64()) + (AddVectoredExceptionHandler(0, argv) != nullptr) +
           IsHungAppWindow(argv) + EnumProcessModules(argv, argv, 0, nullptr);
  }
  return static_cast<int>(std::string(argv[0]).size());
}
