// File and folder services over the wide file functions; LZ expansion over the ANSI-only LZ library.
#include <windows.h>
#include <lzexpand.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/sys/win32/win32_services.h"
#include "platform/sys/win32/win32_util.h"

namespace plat {

using win32::lastError;
using win32::narrow;
using win32::wide;

namespace {

FileTime fromFiletime(const FILETIME& ft) {
  return (static_cast<FileTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// Closes a file handle when it goes out of scope.
struct Handle {
  HANDLE h;
  explicit Handle(HANDLE v) : h(v) {}
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  bool ok() const { return h != INVALID_HANDLE_VALUE; }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
};

// The LZ library takes ANSI paths only. A path whose characters the ANSI code page cannot carry
// is handed over by its short (8.3) name, which is plain ASCII; none of the two gives kInvalidName.
ErrorCode ansiPath(const std::string& path, std::string& out) {
  std::wstring w = wide(path);
  auto convert = [](const std::wstring& s, std::string& result) {
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    std::string buf(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.c_str(), -1, &buf[0], n, nullptr, nullptr);
    buf.resize(static_cast<size_t>(n - 1));
    result = buf;
    return true;
  };
  if (convert(w, out)) return err::kSuccess;
  DWORD n = GetShortPathNameW(w.c_str(), nullptr, 0);
  if (n == 0) return lastError();
  std::wstring shortName(n, L'\0');
  n = GetShortPathNameW(w.c_str(), &shortName[0], n);
  if (n == 0) return lastError();
  shortName.resize(n);
  return convert(shortName, out) ? err::kSuccess : err::kInvalidName;
}

// LZ library results below zero, as system error codes.
ErrorCode fromLzError(INT code) {
  switch (code) {
    case LZERROR_BADINHANDLE:
    case LZERROR_BADOUTHANDLE: return err::kInvalidHandle;
    case LZERROR_READ: return 30;   // ERROR_READ_FAULT
    case LZERROR_WRITE: return 29;  // ERROR_WRITE_FAULT
    case LZERROR_GLOBALLOC:
    case LZERROR_GLOBLOCK: return err::kNotEnoughMemory;
    case LZERROR_UNKNOWNALG: return 13;  // ERROR_INVALID_DATA
    default: return err::kInvalidParameter;
  }
}

// Read-only files refuse to be replaced, as on Windows (Wine lets CREATE_ALWAYS and CopyFile
// overwrite them).
bool isReadOnlyFile(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY) && (a & FILE_ATTRIBUTE_READONLY);
}

// The shell deletes read-only files without asking when told not to confirm; Wine's shell refuses
// them instead. Clearing the flag on what the pattern names, and below it, gives the same result.
void clearReadOnly(const std::wstring& pattern, bool recurse) {
  size_t slash = pattern.find_last_of(L"\\/");
  std::wstring folder = slash == std::wstring::npos ? std::wstring() : pattern.substr(0, slash + 1);
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring full = folder + name;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
      SetFileAttributesW(full.c_str(), fd.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (recurse && (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) clearReadOnly(full + L"\\*", true);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

}  // namespace

ErrorCode Win32FileSystem::findFiles(const std::string& pattern, std::vector<DirEntry>& out) {
  out.clear();
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(wide(pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return lastError();
  do {
    DirEntry e;
    // A name that code page 932 cannot spell is given by its short name, which it can.
    if (!win32::narrowExactly(fd.cFileName, e.name) && fd.cAlternateFileName[0])
      e.name = narrow(fd.cAlternateFileName);
    e.attributes = fd.dwFileAttributes;
    e.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    e.lastWrite = fromFiletime(fd.ftLastWriteTime);
    out.push_back(std::move(e));
  } while (FindNextFileW(h, &fd));
  DWORD end = GetLastError();
  FindClose(h);
  return end == ERROR_NO_MORE_FILES ? err::kSuccess : static_cast<ErrorCode>(end);
}

ErrorCode Win32FileSystem::getAttributes(const std::string& path, std::uint32_t& attributes) {
  DWORD a = GetFileAttributesW(wide(path).c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return lastError();
  attributes = a;
  return err::kSuccess;
}

ErrorCode Win32FileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  return SetFileAttributesW(wide(path).c_str(), attributes) ? err::kSuccess : lastError();
}

ErrorCode Win32FileSystem::createDirectory(const std::string& path) {
  return CreateDirectoryW(wide(path).c_str(), nullptr) ? err::kSuccess : lastError();
}

ErrorCode Win32FileSystem::removeDirectory(const std::string& path) {
  return RemoveDirectoryW(wide(path).c_str()) ? err::kSuccess : lastError();
}

ErrorCode Win32FileSystem::deleteFile(const std::string& path) {
  return DeleteFileW(wide(path).c_str()) ? err::kSuccess : lastError();
}

ErrorCode Win32FileSystem::copyFile(const std::string& source, const std::string& target, bool failIfExists) {
  if (!failIfExists && isReadOnlyFile(wide(target))) return err::kAccessDenied;
  return CopyFileW(wide(source).c_str(), wide(target).c_str(), failIfExists ? TRUE : FALSE) ? err::kSuccess
                                                                                            : lastError();
}

ErrorCode Win32FileSystem::moveFile(const std::string& source, const std::string& target) {
  return MoveFileW(wide(source).c_str(), wide(target).c_str()) ? err::kSuccess : lastError();
}

ErrorCode Win32FileSystem::readFile(const std::string& path, std::string& data) {
  Handle f(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.ok()) return lastError();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(f.h, &size)) return lastError();
  if (static_cast<unsigned long long>(size.QuadPart) > data.max_size()) return err::kNotEnoughMemory;
  std::string buf(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < buf.size()) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(buf.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(f.h, &buf[done], want, &got, nullptr)) return lastError();
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  buf.resize(done);
  data.swap(buf);
  return err::kSuccess;
}

ErrorCode Win32FileSystem::writeFile(const std::string& path, const std::string& data) {
  if (isReadOnlyFile(wide(path))) return err::kAccessDenied;
  Handle f(CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.ok()) return lastError();
  size_t done = 0;
  while (done < data.size()) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(f.h, data.data() + done, want, &put, nullptr)) return lastError();
    done += put;
  }
  if (!FlushFileBuffers(f.h)) return lastError();
  return err::kSuccess;
}

ErrorCode Win32FileSystem::stamp(const std::string& path, FileStamp& out) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &d)) return lastError();
  if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return err::kAccessDenied;  // what opening it would say
  out.size = (static_cast<std::uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
  out.lastWrite = fromFiletime(d.ftLastWriteTime);
  return err::kSuccess;
}

ErrorCode Win32FileSystem::setLastWriteTime(const std::string& path, FileTime time) {
  Handle f(CreateFileW(wide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!f.ok()) return lastError();
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(time >> 32);
  return SetFileTime(f.h, nullptr, nullptr, &ft) ? err::kSuccess : lastError();
}

ErrorCode Win32FileSystem::freeSpaceExtended(const std::string& rootPath, std::uint64_t& freeBytes) {
  // Looked up at run time: the first 32-bit systems lack it.
  auto fn = win32::findExport<GetDiskFreeSpaceExFn>(win32::systemModule(L"kernel32.dll"), "GetDiskFreeSpaceExW");
  if (!fn) return err::kProcNotFound;
  ULARGE_INTEGER caller, total, free;
  if (!fn(wide(rootPath).c_str(), &caller, &total, &free)) return lastError();
  freeBytes = caller.QuadPart;
  return err::kSuccess;
}

ErrorCode Win32FileSystem::freeSpaceClusters(const std::string& rootPath, std::uint64_t& freeBytes) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceW(wide(rootPath).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
    return lastError();
  freeBytes = static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector * freeClusters;
  return err::kSuccess;
}

std::string Win32FileSystem::currentDirectory() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return std::string();
  std::wstring buf(n, L'\0');
  n = GetCurrentDirectoryW(n, &buf[0]);
  buf.resize(n);
  return win32::narrowPath(buf);
}

ErrorCode Win32FileSystem::setCurrentDirectory(const std::string& path) {
  if (SetCurrentDirectoryW(wide(path).c_str())) return err::kSuccess;
  ErrorCode code = lastError();
  // A missing last folder reads "file not found" from the system; callers ask for a folder.
  return code == err::kFileNotFound ? err::kPathNotFound : code;
}

ErrorCode Win32FileSystem::shellDelete(const std::string& pathOrPattern) {
  std::wstring from = wide(pathOrPattern);
  clearReadOnly(from, true);
  from.push_back(L'\0');  // the list ends with an empty name
  SHFILEOPSTRUCTW op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;  // 0x0414
  int rc = SHFileOperationW(&op);
  if (rc != 0) return static_cast<ErrorCode>(rc);
  return op.fAnyOperationsAborted ? 1223u /* ERROR_CANCELLED */ : err::kSuccess;
}

ErrorCode Win32FileSystem::lzExpand(const std::string& source, const std::string& target) {
  std::string src;
  if (ErrorCode e = ansiPath(source, src)) return e;
  // The target must exist before it has a short name: create it with the wide function first.
  {
    Handle t(CreateFileW(wide(target).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr));
    if (!t.ok()) return lastError();
  }
  std::string dst;
  if (ErrorCode e = ansiPath(target, dst)) return e;
  OFSTRUCT so = {}, to = {};
  INT in = LZOpenFileA(&src[0], &so, OF_READ | OF_SHARE_DENY_WRITE);
  if (in < 0) return so.nErrCode ? static_cast<ErrorCode>(so.nErrCode) : fromLzError(in);
  INT outH = LZOpenFileA(&dst[0], &to, OF_CREATE | OF_WRITE);
  if (outH < 0) {
    LZClose(in);
    return to.nErrCode ? static_cast<ErrorCode>(to.nErrCode) : fromLzError(outH);
  }
  LONG copied = LZCopy(in, outH);
  LZClose(outH);
  LZClose(in);
  return copied < 0 ? fromLzError(static_cast<INT>(copied)) : err::kSuccess;
}

ErrorCode Win32FileSystem::lzExpandedName(const std::string& source, std::string& name) {
  std::string src;
  if (ErrorCode e = ansiPath(source, src)) return e;
  char buf[MAX_PATH * 2] = {};
  INT rc = GetExpandedNameA(&src[0], buf);
  if (rc < 0) return fromLzError(rc);
  // Back from the ANSI code page to code page 932.
  int n = MultiByteToWideChar(CP_ACP, 0, buf, -1, nullptr, 0);
  if (n <= 0) return lastError();
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, buf, -1, &w[0], n);
  w.resize(static_cast<size_t>(n - 1));
  name = narrow(w);
  return err::kSuccess;
}

}  // namespace plat
