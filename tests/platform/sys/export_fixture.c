/* A shared object standing in for a component library: two registration exports. */
#include <stdint.h>

int32_t DllRegisterServer(void) { return 0; }
int32_t DllUnregisterServer(void) { return (int32_t)0x80004005u; }
