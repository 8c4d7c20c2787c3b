// The profile (INI) engine: parses CP932 files the way the system's private-profile functions do,
// keeps the parsed copy per file and rewrites the whole file on every change.
#include "platform/sys/profile.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace plat {

namespace {

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The system counts control characters 9..13, ^Z (a DOS end-of-file mark) and the blank as space.
// None of them can be the second byte of a double-byte character, so trimming bytes is safe.
bool isProfileSpace(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

// Blanks go from both ends. A lead byte always takes the byte after it, even a blank (which makes
// the pair invalid): were that blank trimmed, the name would end in a bare lead byte that swallows
// the "]" or "=" written after it, and the line would mean something else when read back.
std::string trim(const std::string& s) {
  size_t b = 0;
  while (b < s.size() && isProfileSpace(static_cast<unsigned char>(s[b]))) ++b;
  size_t e = b;
  for (size_t i = b; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (isLeadByte(c)) {
      i = std::min(i + 2, s.size());
      e = i;
    } else {
      ++i;
      if (!isProfileSpace(c)) e = i;
    }
  }
  return s.substr(b, e - b);
}

std::string trimLeft(const std::string& s) {
  size_t b = 0;
  while (b < s.size() && isProfileSpace(static_cast<unsigned char>(s[b]))) ++b;
  return s.substr(b);
}

// Case folding for name comparison: ASCII letters only, as the system's profile functions do
// (full-width letters keep their case). Second bytes of double-byte characters are never folded:
// 0x83 0x41 (ア) is not 0x83 0x61 (ャ).
std::string fold(const std::string& s) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (isLeadByte(c)) {
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c + 32);
    }
  }
  return out;
}

struct Entry {
  std::string name;
  bool hasValue = false;
  std::string value;  // trimmed, quotes kept
};

struct Section {
  std::string name;  // "" for the lines before the first header
  std::vector<Entry> entries;
  std::unordered_map<std::string, size_t> firstKey;  // folded name -> first entry with that name

  void reindex() {
    firstKey.clear();
    firstKey.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) firstKey.emplace(fold(entries[i].name), i);
  }
  const Entry* find(const std::string& foldedKey) const {
    auto it = firstKey.find(foldedKey);
    return it == firstKey.end() ? nullptr : &entries[it->second];
  }
};

struct Document {
  bool loaded = false;
  bool exists = false;
  FileStamp stamp;
  std::vector<Section> sections;
  std::unordered_map<std::string, size_t> firstSection;  // folded name -> first section

  void reindex() {
    firstSection.clear();
    firstSection.reserve(sections.size());
    for (size_t i = 0; i < sections.size(); ++i) firstSection.emplace(fold(sections[i].name), i);
  }
  Section* find(const std::string& foldedName) {
    auto it = firstSection.find(foldedName);
    return it == firstSection.end() ? nullptr : &sections[it->second];
  }
};

// Position of the last "]" of a line that is a character of its own, or npos.
size_t lastCloseBracket(const std::string& line) {
  size_t found = std::string::npos;
  for (size_t i = 0; i < line.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (isLeadByte(c) && i + 1 < line.size()) {
      ++i;
      continue;
    }
    if (c == ']') found = i;
  }
  return found;
}

void parse(const std::string& text, Document& doc) {
  doc.sections.clear();
  doc.sections.emplace_back();  // the lines before the first header
  Section* cur = &doc.sections.back();

  // A line ends at "\r" or "\n".
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    std::string line = trim(text.substr(pos, end - pos));
    pos = text.find_first_not_of("\r\n", end);
    if (pos == std::string::npos) pos = text.size();

    if (line.empty()) continue;  // blank lines are not kept
    if (line[0] == '[') {
      size_t close = lastCloseBracket(line);
      if (close != std::string::npos && close > 0) {
        doc.sections.emplace_back();
        cur = &doc.sections.back();
        cur->name = trim(line.substr(1, close - 1));
        continue;
      }
    }
    Entry e;
    size_t eq = line.find('=');
    if (eq != std::string::npos) {
      e.name = trim(line.substr(0, eq));
      e.value = trim(line.substr(eq + 1));
      e.hasValue = true;
    } else {
      e.name = line;
    }
    cur->entries.push_back(std::move(e));
  }
  for (auto& s : doc.sections) s.reindex();
  doc.reindex();
}

std::string serialize(const Document& doc) {
  std::string out;
  for (const auto& s : doc.sections) {
    if (!s.name.empty()) {
      out += '[';
      out += s.name;
      out += "]\r\n";
    }
    for (const auto& e : s.entries) {
      out += e.name;
      if (e.hasValue) {
        out += '=';
        out += e.value;
      }
      out += "\r\n";
    }
  }
  return out;
}

// One pair of matching quotes around a value is removed on read.
std::string unquote(const std::string& v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

std::string trimTrailingBlanks(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

struct ProfileStore::Impl {
  FileSystem& files;
  std::unordered_map<std::string, Document> cache;  // by folded path

  explicit Impl(FileSystem& f) : files(f) {}

  // The parsed copy of a file, re-read when its size or write time changed.
  Document& load(const std::string& path) {
    Document& doc = cache[fold(path)];
    FileStamp st;
    ErrorCode e = files.stamp(path, st);
    bool exists = e == err::kSuccess;
    if (doc.loaded && doc.exists == exists && (!exists || doc.stamp == st)) return doc;
    std::string text;
    if (exists && files.readFile(path, text) != err::kSuccess) {
      exists = false;
      text.clear();
    }
    parse(text, doc);
    doc.loaded = true;
    doc.exists = exists;
    doc.stamp = st;
    return doc;
  }

  // Writes the whole file; the copy kept is then what a fresh read of the file gives, since
  // names written with blanks around them come back trimmed.
  bool save(const std::string& path, Document& doc) {
    std::string text = serialize(doc);
    if (files.writeFile(path, text) != err::kSuccess) {
      doc.loaded = false;  // the disk still has the old text
      return false;
    }
    parse(text, doc);
    FileStamp st;
    if (files.stamp(path, st) == err::kSuccess) {
      doc.exists = true;
      doc.stamp = st;
    } else {
      doc.loaded = false;
    }
    return true;
  }
};

ProfileStore::ProfileStore(FileSystem& files) : impl_(std::make_unique<Impl>(files)) {}
ProfileStore::~ProfileStore() = default;

std::string ProfileStore::read(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& defaultValue) {
  std::string def = unquote(trimTrailingBlanks(defaultValue));
  std::string k = trim(key);
  if (k.empty()) return def;
  Document& doc = impl_->load(file);
  Section* s = doc.find(fold(trim(section)));
  if (!s) return def;
  const Entry* e = s->find(fold(k));
  if (!e || !e->hasValue) return def;
  return unquote(e->value);
}

bool ProfileStore::contains(const std::string& file, const std::string& section, const std::string& key) {
  std::string k = trim(key);
  if (k.empty()) return false;
  Document& doc = impl_->load(file);
  Section* s = doc.find(fold(trim(section)));
  if (!s) return false;
  const Entry* e = s->find(fold(k));
  return e && e->hasValue;
}

bool ProfileStore::write(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& value) {
  Document& doc = impl_->load(file);
  std::string secName = trimLeft(section);
  std::string keyName = trimLeft(key);
  std::string v = trimLeft(value);
  Section* s = doc.find(fold(trim(section)));
  if (!s) {
    doc.sections.emplace_back();
    doc.sections.back().name = secName;
    doc.reindex();
    s = &doc.sections.back();
  }
  std::string fk = fold(trim(key));
  auto it = s->firstKey.find(fk);
  if (it != s->firstKey.end()) {
    Entry& e = s->entries[it->second];
    if (e.hasValue && e.value == v) return true;  // nothing changes on disk
    e.hasValue = true;
    e.value = v;
  } else {
    Entry e;
    e.name = keyName;
    e.hasValue = true;
    e.value = v;
    s->entries.push_back(std::move(e));
    s->firstKey.emplace(fk, s->entries.size() - 1);
  }
  return impl_->save(file, doc);
}

bool ProfileStore::deleteKey(const std::string& file, const std::string& section, const std::string& key) {
  Document& doc = impl_->load(file);
  std::string fs = fold(section), fk = fold(key);
  for (auto& s : doc.sections) {
    if (fold(s.name) != fs) continue;
    auto it = s.firstKey.find(fk);
    if (it == s.firstKey.end()) continue;
    s.entries.erase(s.entries.begin() + static_cast<std::ptrdiff_t>(it->second));
    s.reindex();
    return impl_->save(file, doc);
  }
  return true;
}

bool ProfileStore::deleteSection(const std::string& file, const std::string& section) {
  Document& doc = impl_->load(file);
  std::string fs = fold(section);
  // Only the first section of that name goes, as with the system's function.
  for (size_t i = 0; i < doc.sections.size(); ++i) {
    if (fold(doc.sections[i].name) == fs) {
      doc.sections.erase(doc.sections.begin() + static_cast<std::ptrdiff_t>(i));
      return impl_->save(file, doc);
    }
  }
  return true;
}

std::vector<std::string> ProfileStore::sectionNames(const std::string& file) {
  Document& doc = impl_->load(file);
  std::vector<std::string> names;
  for (const auto& s : doc.sections)
    if (!s.name.empty()) names.push_back(s.name);
  return names;
}

std::vector<std::string> ProfileStore::keyNames(const std::string& file, const std::string& section) {
  Document& doc = impl_->load(file);
  std::vector<std::string> names;
  Section* s = doc.find(fold(section));
  if (!s) return names;
  for (const auto& e : s->entries) {
    if (!e.hasValue || (!e.name.empty() && e.name[0] == ';')) continue;
    names.push_back(e.name);
  }
  return names;
}

void ProfileStore::flush() { impl_->cache.clear(); }

}  // namespace plat
