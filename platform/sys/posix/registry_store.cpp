// Registry tree and its text file. The file is readable (ASCII paths and strings stay as they
// are), stable (keys in the system's order, values in writing order) and keeps every byte.
#include "platform/sys/posix/registry_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/sys/posix/cp932.h"

namespace plat::posix {
namespace {

const std::pair<RegRoot, const char*> kRootNames[] = {
    {RegRoot::ClassesRoot, "HKCR"},
    {RegRoot::CurrentUser, "HKCU"},
    {RegRoot::LocalMachine, "HKLM"},
    {RegRoot::Users, "HKU"},
};

std::string escape(const std::string& text, const char* special) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = charLength(text, i);
    for (std::size_t k = 0; k < n; ++k) {
      unsigned char c = static_cast<unsigned char>(text[i + k]);
      bool plain = n == 1 && c >= 0x20 && c < 0x7F && c != '%' && !std::strchr(special, c);
      if (plain) {
        out += static_cast<char>(c);
      } else {
        out += '%';
        out += hex[c >> 4];
        out += hex[c & 15];
      }
    }
    i += n;
  }
  return out;
}

bool unescape(const std::string& text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    unsigned v = 0;
    if (std::sscanf(text.substr(i + 1, 2).c_str(), "%2x", &v) != 1) return false;
    out += static_cast<char>(v);
    i += 2;
  }
  return true;
}

// Key paths split at "\" only ("/" belongs to names such as "text/plain"), never at a trail byte.
std::vector<std::string> splitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string current;
  for (std::size_t i = 0; i < path.size();) {
    std::size_t n = charLength(path, i);
    if (n == 1 && path[i] == '\\') {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current.append(path, i, n);
    }
    i += n;
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

std::string keyEscape(const std::string& name) { return escape(name, "\\[]\""); }
std::string quoted(const std::string& s) { return "\"" + escape(s, "\"") + "\""; }

void writeKey(std::ostringstream& out, const std::string& path, const RegKey& key, bool isRoot) {
  if (!isRoot || !key.values.empty()) {
    out << "[" << path << "]\n";
    for (const auto& [name, value] : key.values) {
      out << (name.empty() ? std::string("@") : quoted(name)) << "=";
      if (value.type == regtype::kString) {
        out << "sz:" << quoted(value.data);
      } else if (value.type == regtype::kExpandString) {
        out << "expand_sz:" << quoted(value.data);
      } else if (value.isDword()) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08x", value.asDword());
        out << "dword:" << buf;
      } else {
        out << "hex(" << value.type << "):";
        for (std::size_t i = 0; i < value.data.size(); ++i) {
          char buf[4];
          std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(value.data[i]));
          out << (i ? "," : "") << buf;
        }
      }
      out << "\n";
    }
    out << "\n";
  }
  for (const auto& [folded, sub] : key.subKeys) writeKey(out, path + "\\" + keyEscape(sub->name), *sub, false);
}

// Reads a quoted, escaped string at text[pos]; pos ends after the closing quote.
bool readQuoted(const std::string& text, std::size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  std::size_t end = text.find('"', pos + 1);
  if (end == std::string::npos) return false;
  if (!unescape(text.substr(pos + 1, end - pos - 1), out)) return false;
  pos = end + 1;
  return true;
}

bool parseValue(const std::string& line, std::string& name, RegValue& value) {
  std::size_t pos = 0;
  if (line[0] == '@') {
    name.clear();
    pos = 1;
  } else if (!readQuoted(line, pos, name)) {
    return false;
  }
  if (pos >= line.size() || line[pos] != '=') return false;
  std::string rest = line.substr(pos + 1);
  std::size_t colon = rest.find(':');
  if (colon == std::string::npos) return false;
  std::string type = rest.substr(0, colon), data = rest.substr(colon + 1);
  std::size_t p = 0;
  if (type == "sz" || type == "expand_sz") {
    value.type = type == "sz" ? regtype::kString : regtype::kExpandString;
    return readQuoted(data, p, value.data) && p == data.size();
  }
  if (type == "dword") {
    unsigned v = 0;
    if (data.size() != 8 || std::sscanf(data.c_str(), "%8x", &v) != 1) return false;
    value = RegValue::dword(v);
    return true;
  }
  unsigned t = 0;
  if (std::sscanf(type.c_str(), "hex(%u)", &t) != 1) return false;
  value.type = t;
  value.data.clear();
  for (std::size_t i = 0; i < data.size(); i += 3) {
    unsigned b = 0;
    if (std::sscanf(data.substr(i, 2).c_str(), "%2x", &b) != 1) return false;
    value.data += static_cast<char>(b);
  }
  return true;
}

}  // namespace

FileIdentity FileIdentity::of(const std::string& path) {
  FileIdentity id;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return id;
  id.present = true;
  id.device = st.st_dev;
  id.inode = st.st_ino;
  id.size = static_cast<unsigned long long>(st.st_size);
  id.seconds = st.st_mtim.tv_sec;
  id.nanoseconds = st.st_mtim.tv_nsec;
  return id;
}

RegistryStore::RegistryStore(std::string file) : file_(std::move(file)) { load(); }

void RegistryStore::load() {
  std::map<RegRoot, RegKey> roots;
  for (const auto& [root, name] : kRootNames) roots[root].name = name;
  seen_ = FileIdentity::of(file_);
  std::ifstream in(file_, std::ios::binary);
  if (in) {
    std::stringstream buffer;
    buffer << in.rdbuf();
    if (!parse(buffer.str(), roots)) throw std::runtime_error("registry file cannot be read: " + file_);
  }
  roots_ = std::move(roots);
}

void RegistryStore::refresh() {
  if (!(FileIdentity::of(file_) == seen_)) load();
}

RegKey* RegistryStore::find(RegRoot root, const std::string& path, bool create) {
  refresh();
  auto it = roots_.find(root);
  if (it == roots_.end()) return nullptr;
  RegKey* key = &it->second;
  for (const std::string& part : splitKeyPath(path)) {
    std::string folded = foldCase(part);
    auto sub = key->subKeys.find(folded);
    if (sub == key->subKeys.end()) {
      if (!create) return nullptr;
      auto fresh = std::make_unique<RegKey>();
      fresh->name = part;
      sub = key->subKeys.emplace(folded, std::move(fresh)).first;
    }
    key = sub->second.get();
  }
  return key;
}

bool RegistryStore::remove(RegRoot root, const std::string& path) {
  std::vector<std::string> parts = splitKeyPath(path);
  if (parts.empty()) return false;
  std::string last = parts.back();
  parts.pop_back();
  std::string parentPath;
  for (const std::string& p : parts) parentPath += p + "\\";
  RegKey* parent = find(root, parentPath, false);
  return parent && parent->subKeys.erase(foldCase(last)) > 0;
}

std::string RegistryStore::text() {
  refresh();
  return serialize(roots_);
}

void RegistryStore::save() {
  std::string tmp = file_ + ".new";
  std::string data = text();
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw std::runtime_error("registry file cannot be written: " + file_);
  // Written aside and renamed over the old file, so a reader never sees half a registry.
  bool ok = ::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
  ::close(fd);
  if (!ok || std::rename(tmp.c_str(), file_.c_str()) != 0)
    throw std::runtime_error("registry file cannot be written: " + file_);
  seen_ = FileIdentity::of(file_);
}

std::string RegistryStore::serialize(const std::map<RegRoot, RegKey>& roots) {
  std::ostringstream out;
  out << "; machine registry\n\n";
  for (const auto& [root, name] : kRootNames) {
    auto it = roots.find(root);
    if (it != roots.end()) writeKey(out, name, it->second, true);
  }
  return out.str();
}

bool RegistryStore::parse(const std::string& text, std::map<RegRoot, RegKey>& roots) {
  std::istringstream in(text);
  std::string line;
  RegKey* current = nullptr;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']') return false;
      std::string inner = line.substr(1, line.size() - 2);
      std::vector<std::string> parts;
      std::size_t start = 0;
      for (std::size_t i = 0; i <= inner.size(); ++i) {
        if (i == inner.size() || inner[i] == '\\') {
          parts.push_back(inner.substr(start, i - start));
          start = i + 1;
        }
      }
      current = nullptr;
      for (const auto& [root, name] : kRootNames)
        if (parts[0] == name) current = &roots[root];
      if (!current) return false;
      current->name = parts[0];
      for (std::size_t i = 1; i < parts.size(); ++i) {
        std::string name;
        if (!unescape(parts[i], name) || name.empty()) return false;
        std::string folded = foldCase(name);
        auto sub = current->subKeys.find(folded);
        if (sub == current->subKeys.end()) {
          auto fresh = std::make_unique<RegKey>();
          fresh->name = name;
          sub = current->subKeys.emplace(folded, std::move(fresh)).first;
        }
        current = sub->second.get();
      }
      continue;
    }
    std::string name;
    RegValue value;
    if (!current || !parseValue(line, name, value)) return false;
    current->values.emplace_back(name, value);
  }
  return true;
}

}  // namespace plat::posix
