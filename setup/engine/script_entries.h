// How the install run takes the setup script's values apart: pure text work, no system calls
// besides the text operations of setup/support.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sys/types.h"

namespace setup {

// Folder part of a path without its final "\" ("" when there is none) and the last component.
// The "\" is found on character boundaries only.
std::string PathFolderPart(const std::string& path);
std::string PathLastComponent(const std::string& path);
// True when the text's last character (not a trail byte) is ch.
bool EndsWithChar(const std::string& text, char ch);

// Text before the first "," (the whole text when it has none) and after it ("" when none).
std::string BeforeComma(const std::string& text);
std::string AfterComma(const std::string& text);

// A "CopyFile" entry after its tokens were replaced.
struct CopyEntry {
  bool diskChange = false;  // "(Dch)" marker
  std::string target;       // may end in "\AUTO.EXT" for a compressed source without "|"
  std::string flags;        // from the first "," on, comma included; "" when none
  std::string sourceName;   // last path component of the entry: the file in the program folder
};
CopyEntry ParseCopyEntry(const std::string& expanded);

// The source file name that the required-size phase uses: entry as written, cut at "," and "|".
std::string SizeSourceName(const std::string& rawEntry);

// Which main-window check box decides about a "ShortCut" entry.
enum class ShortcutKind { Desktop, StartMenu, StartUp, SendTo, Always };
ShortcutKind ShortcutKindOf(const std::string& name);

// A "Registry" Key<n>: root and key path without one leading and one trailing "\".
struct RegistryKeySpec {
  plat::RegRoot root = plat::RegRoot::CurrentUser;
  std::string path;
};
RegistryKeySpec ParseRegistryKey(const std::string& key);

// A "Registry" Value<n> after "(Pdd)" handling and token replacement.
enum class RegistryValueKind { String, ExpandString, Dword, Binary };
struct RegistryValueSpec {
  RegistryValueKind kind = RegistryValueKind::String;
  std::string data;  // the text to write (for String: the whole value when no type matched)
};
RegistryValueSpec ParseRegistryValue(const std::string& rawValue);

// "(Int)" / "(Dwd)" data: decimal with optional sign, or hexadecimal after "0x"; blanks around
// it are ignored. Anything else, or a number outside 32 bits, gives 0.
std::uint32_t ParseDwordData(const std::string& data);

// "(Bin)" data: hexadecimal byte pairs, optionally separated by blanks, "," or "-".
// False (bytes untouched) when the notation is broken.
bool ParseBinaryData(const std::string& data, std::string& bytes);

// An "IniFile" Data<n> after token replacement; false when it lacks one of its four fields.
struct IniEntry {
  std::string section, key, value, file;
};
bool ParseIniEntry(const std::string& expanded, IniEntry& out);

// A "Relate" pair; the command text after token replacement.
struct AssociationSpec {
  std::string extension;
  std::string description;
  std::string verb;
  std::string iconPath;    // the program unquoted, without the icon index
  std::string iconIndex;
  std::string command;     // the program, quoted when it holds a blank, then " " + each argument
};
AssociationSpec ParseAssociation(const std::string& extensionSpec, const std::string& expandedCommand);

}  // namespace setup
