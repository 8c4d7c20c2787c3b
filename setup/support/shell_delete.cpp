// DeleteWithShell and RemoveFolder.
#include "setup/support/shell_delete.h"

#include "setup/support/globals.h"
#include "setup/support/shared_files.h"
#include "setup/support/uStrOp.h"

namespace setup {

plat::ErrorCode DeleteWithShell(const std::string& path) {
  std::uint32_t attributes = 0;
  const bool isFile = Sys().files.getAttributes(path, attributes) == plat::err::kSuccess &&
                      (attributes & plat::attr::kDirectory) == 0;
  if (!isFile && PosNoCase("*", path) == 0) return plat::err::kFileNotFound;
  // A component must be unregistered while its file is still there; the outcome does not stop
  // the deletion.
  if (IsComponentFile(path)) RegisterComponent(path, false);
  return Sys().files.shellDelete(path);
}

plat::ErrorCode RemoveFolder(const std::string& folder, const std::string& patterns) {
  const std::string base = AddPathDelimiter(folder, "B");
  std::string rest = patterns;
  while (!rest.empty()) {
    const int bar = PosNoCase("|", rest);
    const std::string item = bar > 0 ? StrLeft(rest, bar - 1) : rest;
    rest = bar > 0 ? StrMidFrom(rest, bar + 1) : std::string();
    DeleteWithShell(base + item);
  }
  return Sys().files.removeDirectory(base);
}

}  // namespace setup
