#include "core/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mok {
namespace {

// path with suffix added to its file name, which is cut so the whole stays
// within NAME_MAX.
std::string WithSuffix(const std::string& path, const std::string& suffix) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t nameRoom = NAME_MAX - suffix.size();
  return path.substr(0, nameStart + std::min(path.size() - nameStart, nameRoom)) + suffix;
}

// The temporary file beside path: path's own name with a suffix, the name
// shortened so the whole stays within the file system's name limit (a target
// name may itself be up to that long).
std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return WithSuffix(path, ".mok-tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Journal: the magic, then temporary and target file names (no folder), then
// the end mark, each ended by a NUL byte, which no file name holds.
constexpr std::string_view kJournalMagic = "MOK-COMMIT";
constexpr std::string_view kJournalEnd = "END";
constexpr std::uint64_t kMaxJournalBytes = 64 << 10;

std::vector<std::uint8_t> JournalBytes(const std::vector<std::string>& names) {
  std::vector<std::uint8_t> bytes;
  auto add = [&](std::string_view part) {
    bytes.insert(bytes.end(), part.begin(), part.end());
    bytes.push_back(0);
  };
  add(kJournalMagic);
  for (const std::string& name : names) add(name.substr(FolderOf(name).size()));
  add(kJournalEnd);
  return bytes;
}

// The journal's names, or nothing when it is cut short or malformed.
std::optional<std::vector<std::string>> JournalNames(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != 0) continue;
    parts.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.begin() + static_cast<std::ptrdiff_t>(i));
    start = i + 1;
  }
  if (start != bytes.size() || parts.size() < 2 || parts.front() != kJournalMagic || parts.back() != kJournalEnd ||
      parts.size() % 2 != 0)
    return std::nullopt;
  return std::vector<std::string>(parts.begin() + 1, parts.end() - 1);
}

bool PlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// A source handing out bytes as its one piece.
ByteSource OnePiece(std::span<const std::uint8_t> bytes) {
  return [bytes, handedOut = false]() mutable -> std::span<const std::uint8_t> {
    if (handedOut) return {};
    handedOut = true;
    return bytes;
  };
}

// Creates path and writes the pieces to it, starting the writeback of each
// as soon as it is written; on success the file stays open, its descriptor
// in fd, for the sync before the commit.
FileErrorCause WriteOpen(const std::string& path, const ByteSource& pieces, const FileWriter& writer, int& fd) {
  fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return CauseFromErrno(errno);
  off_t written = 0;
  for (auto piece = pieces(); !piece.empty(); piece = pieces()) {
    if (FileErrorCause cause = writer(fd, piece); cause != FileErrorCause::None) {
      ::close(fd);
      fd = -1;
      return cause;
    }
#ifdef __linux__
    ::sync_file_range(fd, written, static_cast<off_t>(piece.size()), SYNC_FILE_RANGE_WRITE);
#endif
    written += static_cast<off_t>(piece.size());
  }
  return FileErrorCause::None;
}

// Puts the written files on the disk before any of them replaces its target.
// WriteOpen started the writeback of every file before this first wait, so
// the file system's own journal takes them in one commit instead of one each.
FileErrorCause SyncTogether(const std::vector<int>& fds) {
  for (int fd : fds)
    if (::fsync(fd) != 0 && errno != EINVAL) return CauseFromErrno(errno);
  return FileErrorCause::None;
}

FileErrorCause CloseAll(std::vector<int>& fds) {
  FileErrorCause first = FileErrorCause::None;
  for (int fd : fds)
    if (::close(fd) != 0 && first == FileErrorCause::None) first = CauseFromErrno(errno);
  fds.clear();
  return first;
}

// Keeps the mode of a file that is being replaced, so a save does not change
// who may read it.
void CopyModeIfPresent(const std::string& from, const std::string& to) {
  struct stat info;
  if (::stat(from.c_str(), &info) == 0) ::chmod(to.c_str(), info.st_mode & 07777);
}

}  // namespace

FileErrorCause CauseFromErrno(int errnoValue) {
  switch (errnoValue) {
    case 0: return FileErrorCause::None;
    case ENOENT: return FileErrorCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE: return FileErrorCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return FileErrorCause::AccessDenied;
    case EBUSY:
    case ETXTBSY: return FileErrorCause::SharingViolation;
    case ENOSPC:
    case EDQUOT: return FileErrorCause::DiskFull;
    case EIO: return FileErrorCause::HardIo;
    case EFBIG: return FileErrorCause::InvalidFile;
    default: return FileErrorCause::Generic;
  }
}

FileErrorCause WriteAllBytes(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return CauseFromErrno(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  return FileErrorCause::None;
}

namespace {

// Why a file of this mode cannot be read as a document: none for a regular
// file; a directory is access denied, anything else (FIFO, device, socket)
// an invalid file.
FileErrorCause CauseForMode(mode_t mode) {
  if (S_ISREG(mode)) return FileErrorCause::None;
  return S_ISDIR(mode) ? FileErrorCause::AccessDenied : FileErrorCause::InvalidFile;
}

FileReadResult Refused(FileErrorCause cause, bool notRegular) {
  FileReadResult result;
  result.cause = cause;
  result.notRegularFile = notRegular;
  return result;
}

}  // namespace

FileReadResult ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
  // A FIFO or device would block the open itself: refuse it first, and open
  // without blocking in case the name changed in between.
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return Refused(CauseFromErrno(errno), false);
  if (FileErrorCause cause = CauseForMode(info.st_mode); cause != FileErrorCause::None) return Refused(cause, true);
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Refused(CauseFromErrno(errno), false);
  FileReadResult result;
  if (::fstat(fd, &info) != 0) {
    result.cause = CauseFromErrno(errno);
  } else if (FileErrorCause cause = CauseForMode(info.st_mode); cause != FileErrorCause::None) {
    result = Refused(cause, true);
  } else if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
    result.cause = FileErrorCause::InvalidFile;
  }
  if (!result.ok()) {
    ::close(fd);
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < result.bytes.size()) {
    ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.cause = CauseFromErrno(errno);
      break;
    }
    if (n == 0) break;  // the file shrank while we read it
    done += static_cast<std::size_t>(n);
  }
  result.bytes.resize(done);
  ::close(fd);
  return result;
}

bool CanOpenForReading(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return regular;
}

FileErrorCause WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  FileSet set;
  FileErrorCause cause = set.stage(path, bytes);
  if (cause != FileErrorCause::None) return cause;
  return set.commit();
}

FileSet::~FileSet() { Discard(); }

void FileSet::Discard() {
  for (Staged& s : staged_) {
    if (s.fd >= 0) ::close(s.fd);
    ::unlink(s.temporary.c_str());
  }
  staged_.clear();
}

FileErrorCause FileSet::stage(const std::string& path, std::span<const std::uint8_t> bytes) {
  return stage(path, OnePiece(bytes));
}

FileErrorCause FileSet::stage(const std::string& path, const ByteSource& pieces) {
  // A directory in the way could not be replaced at commit time; fail now,
  // before any file of the set is touched.
  struct stat target;
  if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) return FileErrorCause::AccessDenied;
  Staged s{path, TemporaryNameFor(path), -1};
  FileErrorCause cause = WriteOpen(s.temporary, pieces, writer_, s.fd);
  if (cause != FileErrorCause::None) {
    ::unlink(s.temporary.c_str());
    return cause;
  }
  CopyModeIfPresent(path, s.temporary);
  staged_.push_back(std::move(s));
  return FileErrorCause::None;
}

std::string CommitJournalFor(const std::string& path) { return WithSuffix(path, ".mok-commit"); }

bool FinishInterruptedCommit(const std::string& journal, const std::vector<std::string>& targets) {
  FileReadResult file = ReadWholeFile(journal, kMaxJournalBytes);
  if (file.cause == FileErrorCause::FileNotFound) return false;
  bool renamed = false;
  const std::string folder = FolderOf(journal);
  if (auto names = JournalNames(file.bytes)) {
    for (std::size_t i = 0; i + 1 < names->size(); i += 2) {
      const std::string& temporary = (*names)[i];
      const std::string target = folder + (*names)[i + 1];
      const bool known = std::find(targets.begin(), targets.end(), target) != targets.end();
      if (!known || !PlainName(temporary) || temporary.find(".mok-tmp-") == std::string::npos) continue;
      struct stat info;
      if (::lstat((folder + temporary).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
      renamed |= ::rename((folder + temporary).c_str(), target.c_str()) == 0;
    }
  }
  if (!file.notRegularFile) ::unlink(journal.c_str());
  return renamed;
}

FileErrorCause FileSet::commit(const std::string& journal) {
  std::vector<std::string> names;
  for (const Staged& s : staged_) {
    names.push_back(s.temporary);
    names.push_back(s.target);
  }
  // Without room for the journal the files are renamed all the same; an
  // incomplete journal is never followed and is removed with the rest.
  int journalFd = -1;
  WriteOpen(journal, OnePiece(JournalBytes(names)), WriteAllBytes, journalFd);
  FileErrorCause cause = commitWith(journalFd);
  ::unlink(journal.c_str());
  return cause;
}

FileErrorCause FileSet::commit() { return commitWith(-1); }

FileErrorCause FileSet::commitWith(int journalFd) {
  std::vector<int> fds;
  for (Staged& s : staged_) fds.push_back(std::exchange(s.fd, -1));
  if (journalFd >= 0) fds.push_back(journalFd);
  FileErrorCause synced = SyncTogether(fds);
  if (FileErrorCause closed = CloseAll(fds); synced == FileErrorCause::None) synced = closed;
  if (synced != FileErrorCause::None) {
    Discard();
    return synced;
  }
  FileErrorCause first = FileErrorCause::None;
  for (const Staged& s : staged_) {
    if (::rename(s.temporary.c_str(), s.target.c_str()) != 0) {
      if (first == FileErrorCause::None) first = CauseFromErrno(errno);
      ::unlink(s.temporary.c_str());
    }
  }
  staged_.clear();
  return first;
}

}  // namespace mok
