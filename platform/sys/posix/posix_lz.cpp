// LZ (SZDD) expansion with libmspack; files that are not compressed are copied as they are.
#include <mspack.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "platform/sys/posix/cp932.h"
#include "platform/sys/posix/posix_services.h"

namespace plat::posix {
namespace {

constexpr ErrorCode kInvalidData = 13;

struct Decompressor {
  Decompressor() : d(mspack_create_szdd_decompressor(nullptr)) {}
  ~Decompressor() {
    if (d) mspack_destroy_szdd_decompressor(d);
  }
  msszdd_decompressor* d;
};

// Opens an SZDD header; null with isCompressed false for a file that is not compressed.
msszddd_header* openHeader(Decompressor& z, const std::string& host, bool& isCompressed, ErrorCode& code) {
  isCompressed = false;
  code = err::kSuccess;
  if (!z.d) {
    code = err::kNotEnoughMemory;
    return nullptr;
  }
  msszddd_header* h = z.d->open(z.d, const_cast<char*>(host.c_str()));
  if (h) {
    isCompressed = true;
    return h;
  }
  int e = z.d->last_error(z.d);
  if (e == MSPACK_ERR_OPEN) code = err::kFileNotFound;
  else if (e == MSPACK_ERR_READ) code = 30;  // the system cannot read from the device
  else if (e != MSPACK_ERR_SIGNATURE) code = kInvalidData;
  return nullptr;
}

}  // namespace

ErrorCode PosixFileSystem::lzExpand(const std::string& source, const std::string& target) {
  if (ErrorCode code = s_.faults.hit("lzExpand", {&source, &target})) return code;
  HostEntry from, to;
  if (ErrorCode code = s_.locate(source, from)) return code;
  if (!from.exists) return err::kFileNotFound;
  if (from.isDir) return err::kAccessDenied;
  if (ErrorCode code = s_.locate(target, to)) return code;
  if (to.exists && (to.isDir || (s_.attributes.get(to.host, false) & attr::kReadOnly))) return err::kAccessDenied;
  if (!to.exists && !isValidName(to.name)) return err::kInvalidName;

  Decompressor z;
  bool compressed = false;
  ErrorCode code;
  msszddd_header* h = openHeader(z, from.host, compressed, code);
  if (code) return code;
  std::string data;
  if (compressed) {
    // Expanded outside the drives, so no half-made file ever shows in a folder.
    std::string temp = s_.root + "/.expand.tmp";
    int r = z.d->extract(z.d, h, const_cast<char*>(temp.c_str()));
    z.d->close(z.d, h);
    if (r != MSPACK_ERR_OK) {
      ::unlink(temp.c_str());
      return r == MSPACK_ERR_WRITE || r == MSPACK_ERR_OPEN ? err::kAccessDenied : kInvalidData;
    }
    std::string expanded;
    FILE* f = std::fopen(temp.c_str(), "rb");
    if (!f) return err::kAccessDenied;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) expanded.append(buf, n);
    std::fclose(f);
    ::unlink(temp.c_str());
    data.swap(expanded);
  } else if ((code = doReadFile(source, data)) != err::kSuccess) {
    return code;
  }
  return doWriteFile(target, data);
}

ErrorCode PosixFileSystem::lzExpandedName(const std::string& source, std::string& name) {
  if (ErrorCode code = s_.faults.hit("lzExpandedName", {&source})) return code;
  HostEntry from;
  if (ErrorCode code = s_.locate(source, from)) return code;
  if (!from.exists) return err::kFileNotFound;
  name = source;
  if (from.isDir) return err::kSuccess;
  Decompressor z;
  bool compressed = false;
  ErrorCode code;
  msszddd_header* h = openHeader(z, from.host, compressed, code);
  if (!compressed) return err::kSuccess;
  char missing = h->missing_char;
  z.d->close(z.d, h);
  // Only a final "_" that is a character of its own stands for the stored last character.
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < name.size(); i += charLength(name, i)) last = i;
  if (missing == '\0' || last == std::string::npos || name[last] != '_' || charLength(name, last) != 1)
    return err::kSuccess;
  // The stored character follows the case of the file name's own letters.
  std::size_t base = 0;
  for (std::size_t i = 0; i < name.size(); i += charLength(name, i))
    if (charLength(name, i) == 1 && (name[i] == '\\' || name[i] == '/' || name[i] == ':')) base = i + 1;
  bool lower = false, upper = false;
  for (std::size_t i = base; i < name.size(); i += charLength(name, i)) {
    if (charLength(name, i) != 1) continue;
    if (name[i] >= 'a' && name[i] <= 'z') lower = true;
    if (name[i] >= 'A' && name[i] <= 'Z') upper = true;
  }
  if (missing >= 'A' && missing <= 'Z' && lower && !upper) missing = static_cast<char>(missing - 'A' + 'a');
  if (missing >= 'a' && missing <= 'z' && !(lower && !upper)) missing = static_cast<char>(missing - 'a' + 'A');
  name[last] = missing;
  return err::kSuccess;
}

}  // namespace plat::posix
