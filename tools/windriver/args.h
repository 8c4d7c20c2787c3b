// Command-line grammar of the window driver, kept free of Win32 so it is tested and fuzzed natively.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace windriver {

// One parsed invocation: the verb and its --options (all texts UTF-8).
struct Command {
  std::string verb;
  std::map<std::string, std::string> options;

  bool has(const std::string& name) const { return options.count(name) != 0; }
  std::string get(const std::string& name, const std::string& fallback = "") const;
};

struct ParseResult {
  bool ok = false;
  Command command;
  std::string error;  // set when !ok
};

// Parses the arguments after the program name. Options are "--name value" or "--name=value";
// flags ("--hidden") take no value. Unknown verbs and options, missing values, missing required
// options and malformed numbers are errors.
ParseResult parseArguments(const std::vector<std::string>& args);

// Reads a non-negative decimal number that fits in 32 bits; false for anything else.
bool parseCount(const std::string& text, unsigned long& out);

// Splits a menu path at "/"; "//" stands for a "/" inside an item. Empty items are an error
// (returned as an empty vector).
std::vector<std::string> splitMenuPath(const std::string& path);

// A caption as the user reads it: a single "&" marks the mnemonic and disappears, "&&" is "&".
std::string stripMnemonic(const std::string& caption);

// The mnemonic key of a caption: the character after a single "&", lower-cased when it is an ASCII
// letter; 0 when the caption has none.
char mnemonicOf(const std::string& caption);

// Menu items carry a tab and their shortcut ("開く(&O)\tCtrl+O"); the part before the tab names them.
std::string menuItemName(const std::string& caption);

// A wanted caption matches when it is equal, equal to the caption as shown, or equal once both
// mnemonics are removed.
bool captionMatches(const std::string& actual, const std::string& wanted);

// The usage text printed for --help and on errors.
std::string usage();

}  // namespace windriver
