// Reads a setup script the way the installer does and reports what the installer would
// silently ignore or get wrong.
#pragma once

#include <string>
#include <vector>

namespace scriptcheck {

struct Finding {
  std::string section;  // "CopyFile"
  std::string key;      // "File7"; "" for a finding about the whole section
  std::string code;     // stable identifier, e.g. "gap"
  std::string ja;       // message in Japanese (CP932)
  std::string en;       // message in English
};

struct Input {
  std::string scriptPath;          // Windows path of SETUP.INI on the machine
  std::vector<std::string> disks;  // folders of disks 2, 3, ... ("\"-terminated); may be empty
};

// The program-wide services of setup (setup::G()) must be bound before the call; the folder
// table is filled here with the checker's own example folders.
std::vector<Finding> CheckScript(const Input& input);

}  // namespace scriptcheck
