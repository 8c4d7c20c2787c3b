// The program's file version and the banner made from it ("2.20(Build:2463)").
#pragma once

#include <cstdint>
#include <string>

namespace setup {

struct FileVersion {
  std::int32_t major = 0;
  std::int32_t minor = 0;
  std::int32_t release = 0;
  std::int32_t build = 0;
};

// Parses the FileVersion text of the version resource ("2.2.0.2463"); missing parts are 0.
FileVersion ParseFileVersion(const std::string& text);
// Reads the version of a program file through the system; false (all 0) when it has none.
bool ReadFileVersion(const std::string& path, FileVersion& version);
std::string MakeVersionBanner(const FileVersion& version);

}  // namespace setup
