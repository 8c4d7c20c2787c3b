// Wildcard matching as the system's directory search does it: the pattern is first rewritten
// into the DOS forms ("*." before a dot, "?" that may match nothing at a dot or the end, a dot
// that may match the end), then matched character by character (CP932 characters, not bytes).
#include "platform/sys/posix/wildcard.h"

#include <vector>

#include "platform/sys/posix/cp932.h"

namespace plat::posix {
namespace {

enum class Kind { Literal, Star, DosStar, DosQm, DosDot };
struct Token {
  Kind kind;
  std::string text;
};

std::vector<std::string> characters(const std::string& s) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = charLength(s, i);
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

std::vector<Token> compile(const std::string& pattern) {
  std::vector<std::string> chars = characters(pattern);
  std::vector<Token> out;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const std::string& c = chars[i];
    const std::string next = i + 1 < chars.size() ? chars[i + 1] : std::string();
    if (c == "*") {
      out.push_back({next == "." ? Kind::DosStar : Kind::Star, c});
    } else if (c == "?") {
      out.push_back({Kind::DosQm, c});
    } else if (c == "." && (next == "?" || next == "*" || next.empty())) {
      out.push_back({Kind::DosDot, c});
    } else {
      out.push_back({Kind::Literal, foldCase(c)});
    }
  }
  return out;
}

bool match(const std::vector<Token>& p, std::size_t pi, const std::vector<std::string>& n, std::size_t ni) {
  if (pi == p.size()) return ni == n.size();
  const Token& t = p[pi];
  switch (t.kind) {
    case Kind::Star:
      for (std::size_t k = ni; k <= n.size(); ++k)
        if (match(p, pi + 1, n, k)) return true;
      return false;
    case Kind::DosStar: {
      // Up to the last dot of the name (or to its end when it has none).
      std::size_t limit = n.size();
      for (std::size_t k = n.size(); k > ni; --k)
        if (n[k - 1] == ".") {
          limit = k - 1;
          break;
        }
      for (std::size_t k = ni; k <= limit; ++k)
        if (match(p, pi + 1, n, k)) return true;
      return false;
    }
    case Kind::DosQm:
      if (ni == n.size() || n[ni] == ".") return match(p, pi + 1, n, ni);
      return match(p, pi + 1, n, ni + 1);
    case Kind::DosDot:
      if (ni == n.size()) return match(p, pi + 1, n, ni);
      return n[ni] == "." && match(p, pi + 1, n, ni + 1);
    case Kind::Literal:
      return ni < n.size() && foldCase(n[ni]) == t.text && match(p, pi + 1, n, ni + 1);
  }
  return false;
}

}  // namespace

bool hasWildcard(const std::string& name) {
  for (const std::string& c : characters(name))
    if (c == "*" || c == "?") return true;
  return false;
}

bool matchesWildcard(const std::string& pattern, const std::string& name) {
  if (pattern == "*" || pattern == "*.*") return true;
  return match(compile(pattern), 0, characters(name), 0);
}

}  // namespace plat::posix
