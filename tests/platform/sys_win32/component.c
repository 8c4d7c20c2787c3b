/* A component library for the registration tests: its DllRegisterServer returns COMPONENT_RESULT,
   or it has none when COMPONENT_NO_ENTRY is defined. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}

#ifdef COMPONENT_NO_ENTRY
__declspec(dllexport) int Unrelated(void) { return 0; }
#else
HRESULT WINAPI DllRegisterServer(void) { return COMPONENT_RESULT; }
#endif
