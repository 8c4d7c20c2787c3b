// Path tokens such as "(Win)" and the shell's special folders behind them.
#pragma once

#include <cstdint>
#include <string>

namespace setup {

// Every token of the folder table (G().folders), in table order, replaced by its folder.
// Tokens match without regard to case and only on character boundaries.
std::string ExpandPathTokens(const std::string& text);

// Every occurrence of token replaced by value; a "\" right after the token is dropped when the
// value already ends with one. The search resumes after each inserted value, so a value that
// contains its own token (as "(App)" does before a run sets it) is inserted once, not forever.
std::string ReplaceToken(const std::string& text, const std::string& token, const std::string& value);

// File-system path of a shell special folder by CSIDL number, without a trailing "\"; "" when none.
std::string GetSpecialFolder(std::int32_t csidl);

}  // namespace setup
