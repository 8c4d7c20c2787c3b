// The side table of attributes: one "hex-bits<TAB>relative host path" line per entry.
#include "platform/sys/posix/attribute_table.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/sys/types.h"

namespace plat::posix {
namespace {
constexpr std::uint32_t kKept = attr::kReadOnly | attr::kHidden | attr::kSystem | attr::kArchive;

bool isBelow(const std::string& key, const std::string& prefix) {
  return key == prefix || (key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0 &&
                           key[prefix.size()] == '/');
}
}  // namespace

AttributeTable::AttributeTable(std::string root) : root_(std::move(root)), file_(root_ + "/.attributes") { load(); }

std::string AttributeTable::key(const std::string& host) const {
  if (host.compare(0, root_.size() + 1, root_ + "/") == 0) return host.substr(root_.size() + 1);
  return host;
}

std::uint32_t AttributeTable::get(const std::string& host, bool isDir) {
  refresh();
  auto it = bits_.find(key(host));
  if (it != bits_.end()) return it->second;
  return isDir ? 0 : attr::kArchive;
}

void AttributeTable::set(const std::string& host, std::uint32_t bits, bool isDir) {
  refresh();
  bits &= kKept;
  const std::string k = key(host);
  auto it = bits_.find(k);
  if (bits == (isDir ? 0u : attr::kArchive)) {
    if (it == bits_.end()) return;
    bits_.erase(it);
  } else {
    if (it != bits_.end() && it->second == bits) return;
    bits_[k] = bits;
  }
  save();
}

void AttributeTable::erase(const std::string& host) {
  refresh();
  std::string k = key(host);
  bool changed = false;
  for (auto it = bits_.lower_bound(k); it != bits_.end() && isBelow(it->first, k) ;) {
    it = bits_.erase(it);
    changed = true;
  }
  if (changed) save();
}

void AttributeTable::rename(const std::string& fromHost, const std::string& toHost) {
  refresh();
  std::string from = key(fromHost), to = key(toHost);
  std::map<std::string, std::uint32_t> moved;
  for (auto it = bits_.lower_bound(from); it != bits_.end() && isBelow(it->first, from);) {
    moved[to + it->first.substr(from.size())] = it->second;
    it = bits_.erase(it);
  }
  // Whatever was recorded at the target is replaced along with the entry itself.
  for (auto it = bits_.lower_bound(to); it != bits_.end() && isBelow(it->first, to);) it = bits_.erase(it);
  bits_.insert(moved.begin(), moved.end());
  save();
}

void AttributeTable::refresh() {
  if (!(FileIdentity::of(file_) == seen_)) load();
}

void AttributeTable::load() {
  bits_.clear();
  seen_ = FileIdentity::of(file_);
  std::ifstream in(file_);
  std::string line;
  while (std::getline(in, line)) {
    std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    bits_[line.substr(tab + 1)] = static_cast<std::uint32_t>(std::strtoul(line.substr(0, tab).c_str(), nullptr, 16)) & kKept;
  }
}

void AttributeTable::save() {
  std::ostringstream out;
  for (const auto& [k, v] : bits_) out << std::hex << v << '\t' << k << '\n';
  // Written aside and renamed, so another reader sees the old table or the new one.
  const std::string temp = file_ + ".new";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    f << out.str();
  }
  std::rename(temp.c_str(), file_.c_str());
  seen_ = FileIdentity::of(file_);
}

}  // namespace plat::posix
