// Shared-file counting and component registration.
#include "setup/support/shared_files.h"

#include "setup/support/globals.h"
#include "setup/support/registry_access.h"
#include "setup/support/uStrOp.h"

namespace setup {

const char* const kSharedDllsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

namespace {

constexpr std::uint32_t kMbOkExclamation = 0x00000030u;  // MB_OK | MB_ICONEXCLAMATION
const char* const kComponentErrorCaption = "OCX/DLL登録エラー";

bool FileExistsAt(const std::string& path) {
  std::uint32_t attributes = 0;
  return Sys().files.getAttributes(path, attributes) == plat::err::kSuccess &&
         (attributes & plat::attr::kDirectory) == 0;
}

}  // namespace

int GetSharedCount(const std::string& path) {
  RegistryAccess reg(plat::RegRoot::LocalMachine);
  if (!reg.OpenKey(kSharedDllsKey, true)) return 0;
  std::int32_t count = 0;
  if (reg.ReadInteger(path, count) != plat::err::kSuccess) return 0;
  return count;
}

int ChangeSharedCount(const std::string& path, bool raise, plat::ErrorCode* writeError) {
  int count = GetSharedCount(path);
  plat::ErrorCode code = plat::err::kSuccess;
  RegistryAccess reg(plat::RegRoot::LocalMachine);
  plat::ErrorCode openCode = reg.CreateKey(kSharedDllsKey);
  if (openCode == plat::err::kSuccess && !reg.OpenKey(kSharedDllsKey, false)) openCode = plat::err::kFileNotFound;
  if (raise) {
    // A file found in place without a count was put there by an earlier install.
    if (count == 0 && FileExistsAt(path)) count = 1;
    ++count;
    code = openCode != plat::err::kSuccess ? openCode : reg.WriteInteger(path, count);
  } else {
    --count;
    if (count > 0) {
      code = openCode != plat::err::kSuccess ? openCode : reg.WriteInteger(path, count);
    } else if (openCode == plat::err::kSuccess && reg.ValueExists(path)) {
      code = reg.DeleteValue(path);
    }
  }
  if (writeError) *writeError = code;
  return count;
}

bool IsComponentFile(const std::string& path) {
  return PosNoCase(".OCX", path) > 0 || PosNoCase(".DLL", path) > 0;
}

bool RegisterComponent(const std::string& path, bool doRegister) {
  std::int32_t result = 0;
  const char* entry = doRegister ? "DllRegisterServer" : "DllUnregisterServer";
  // callExport loads the library, calls the entry and frees the library again.
  const plat::LibraryCallStatus status = Sys().system.callExport(path, entry, result);
  if (status == plat::LibraryCallStatus::LoadFailed) {
    ShowMessageBox(path + "の読み込みに失敗しました．", kComponentErrorCaption, kMbOkExclamation);
    return false;
  }
  if (!doRegister) return false;
  if (status == plat::LibraryCallStatus::ExportMissing) {
    ShowMessageBox(path + "のDllRegisterServerエントリが見つかりません．", kComponentErrorCaption, kMbOkExclamation);
    return false;
  }
  if (result != 0) {
    ShowMessageBox(path + "のDllRegisterServer関数が失敗しました．", kComponentErrorCaption, kMbOkExclamation);
    return false;
  }
  return true;
}

}  // namespace setup
