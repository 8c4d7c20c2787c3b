// Shared-file counts in the system's register and component (self-)registration.
#pragma once

#include <string>

#include "platform/sys/types.h"

namespace setup {

// Key of the shared-file register under HKEY_LOCAL_MACHINE; one DWORD value per file path.
extern const char* const kSharedDllsKey;

// The stored count for the path exactly as given; 0 when missing, unreadable or not a DWORD.
// Creates the key when it is missing.
int GetSharedCount(const std::string& path);

// Raises (raise = true) or lowers the count and returns the new count: raising a missing count
// over an existing file counts that file as used once already; lowering returns -1 when there
// was no count and deletes the value when the count reaches 0.
// A count that cannot be written (or deleted) never ends the caller's run: the returned count is
// the one that was meant to be stored, and writeError (when given) receives the registry's error
// code, 0 on success, so the caller can log the failure and go on.
int ChangeSharedCount(const std::string& path, bool raise, plat::ErrorCode* writeError = nullptr);

// True when the path contains ".OCX" or ".DLL" anywhere, without regard to case.
bool IsComponentFile(const std::string& path);

// Calls the component's DllRegisterServer (register = true) or DllUnregisterServer. True only
// when registration returned exactly 0. Load failures, a missing DllRegisterServer and a failed
// registration are reported in a message box ("OCX/DLL登録エラー"); unregistering is always false.
bool RegisterComponent(const std::string& path, bool doRegister);

}  // namespace setup
