// Reading the program's file version and writing the banner from it.
#include "setup/shell/version_banner.h"

#include <cstdio>

#include "setup/shell/paths.h"
#include "setup/support/globals.h"

namespace setup {

namespace {

// The decimal value of a text; 0 when it is empty or not a number (the version text comes from
// a resource that anyone can edit, so a bad part must not stop the program).
std::int32_t DecimalOrZero(const std::string& text) { return ParseDecimal(text).value_or(0); }

}  // namespace

FileVersion ParseFileVersion(const std::string& text) {
  FileVersion v;
  std::string rest = text;
  std::int32_t* parts[] = {&v.major, &v.minor, &v.release};
  for (std::int32_t* part : parts) {
    std::size_t dot = rest.find('.');
    if (dot == std::string::npos) {
      *part = 0;
      continue;
    }
    *part = DecimalOrZero(rest.substr(0, dot));
    rest.erase(0, dot + 1);
  }
  v.build = DecimalOrZero(rest);
  return v;
}

bool ReadFileVersion(const std::string& path, FileVersion& version) {
  std::string text = Sys().system.fileVersion(path);
  if (text.empty()) {
    version = FileVersion{};
    return false;
  }
  version = ParseFileVersion(text);
  return true;
}

std::string MakeVersionBanner(const FileVersion& version) {
  std::string minorRelease = std::to_string(version.minor) + std::to_string(version.release);
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%d.%02d(Build:%04d)", static_cast<int>(version.major),
                static_cast<int>(DecimalOrZero(minorRelease)), static_cast<int>(version.build));
  return buffer;
}

}  // namespace setup
