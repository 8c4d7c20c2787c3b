// FolderExists, CreateFolderPath and CopyFileReplace.
#include "setup/support/file_primitives.h"

#include <vector>

#include "setup/support/globals.h"
#include "setup/support/uStrOp.h"

namespace setup {

bool FolderExists(const std::string& folder) {
  const std::string pattern = RemovePathDelimiter(folder, "B") + "\\*.*";
  std::vector<plat::DirEntry> entries;
  if (Sys().files.findFiles(pattern, entries) != plat::err::kSuccess) return false;
  // The runtime's search for files and folders passes over hidden and system entries.
  for (const plat::DirEntry& e : entries) {
    if ((e.attributes & (plat::attr::kHidden | plat::attr::kSystem)) == 0) return true;
  }
  return false;
}

bool CreateFolderPath(const std::string& folder) {
  std::string rest = AddPathDelimiter(folder, "B");
  std::string prefix;
  bool result = true;
  for (int pos = PosNoCase("\\", rest); pos > 0; pos = PosNoCase("\\", rest)) {
    prefix += StrLeft(rest, pos);
    rest = StrMidFrom(rest, pos + 1);
    if (FolderExists(prefix)) continue;
    const plat::ErrorCode code = Sys().files.createDirectory(prefix);
    // A level the folder test cannot see (an empty drive root, a hidden folder) is still there.
    std::uint32_t attributes = 0;
    result = code == plat::err::kSuccess ||
             (Sys().files.getAttributes(prefix, attributes) == plat::err::kSuccess &&
              (attributes & plat::attr::kDirectory) != 0);
  }
  return result;
}

plat::ErrorCode CopyFileReplace(const std::string& source, const std::string& target) {
  plat::FileSystem& files = Sys().files;
  std::uint32_t attributes = 0;
  if (files.getAttributes(target, attributes) == plat::err::kSuccess)
    files.setAttributes(target, plat::attr::kArchive);
  const plat::ErrorCode code = files.copyFile(source, target, false);
  if (files.getAttributes(target, attributes) == plat::err::kSuccess)
    files.setAttributes(target, plat::attr::kArchive);
  return code;
}

}  // namespace setup
