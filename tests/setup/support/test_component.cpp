// A stand-in component library: registration entries whose results the build chooses.
// COMPONENT_REGISTER_RESULT: what DllRegisterServer returns; without COMPONENT_HAS_ENTRIES the
// library exports neither entry. DllUnregisterServer appends a line to the file named by the
// environment variable PAGINA_UNREGISTER_LOG, so a test can see that it ran.
#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#define COMPONENT_EXPORT extern "C" __declspec(dllexport)
#define COMPONENT_CALL __stdcall
#else
#define COMPONENT_EXPORT extern "C" __attribute__((visibility("default")))
#define COMPONENT_CALL
#endif

#ifdef COMPONENT_HAS_ENTRIES
COMPONENT_EXPORT long COMPONENT_CALL DllRegisterServer() { return COMPONENT_REGISTER_RESULT; }

COMPONENT_EXPORT long COMPONENT_CALL DllUnregisterServer() {
  if (const char* log = std::getenv("PAGINA_UNREGISTER_LOG")) {
    if (std::FILE* f = std::fopen(log, "ab")) {
      std::fputs("unregistered\n", f);
      std::fclose(f);
    }
  }
  return 0;
}
#else
COMPONENT_EXPORT int COMPONENT_CALL SomethingElse() { return 0; }
#endif
