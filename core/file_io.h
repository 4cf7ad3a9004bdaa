#pragma once
// Whole-file reads and crash-safe writes.
//
// Every write goes to a temporary file beside the target and replaces the
// target only when all bytes were written and flushed, so a failed save never
// destroys the file that was there. A FileSet commits several files together:
// nothing is replaced unless every temporary file was written.
//
// FileErrorCause numbers the reasons a file operation fails; the numbers are
// the ones users of the mapping commands see after "Error Saving: " and
// "Error Loading: " and are stable:
//   0 none, 1 generic, 2 file not found, 3 bad path, 4 too many open files,
//   5 access denied, 6 invalid file, 8 directory full, 10 hardware I/O error,
//   11 sharing violation, 13 disk full, 14 unexpected end of file.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace mok {

enum class FileErrorCause : int {
  None = 0,
  Generic = 1,
  FileNotFound = 2,
  BadPath = 3,
  TooManyOpenFiles = 4,
  AccessDenied = 5,
  InvalidFile = 6,
  DirectoryFull = 8,
  HardIo = 10,
  SharingViolation = 11,
  DiskFull = 13,
  EndOfFile = 14,
};

FileErrorCause CauseFromErrno(int errnoValue);

struct FileReadResult {
  std::vector<std::uint8_t> bytes;
  FileErrorCause cause = FileErrorCause::None;
  bool notRegularFile = false;  // the name is a directory, FIFO, device or socket
  bool ok() const { return cause == FileErrorCause::None; }
};

// Reads a whole regular file. Anything else is refused before it is opened
// (a FIFO would block the open): a directory with AccessDenied, other kinds
// with InvalidFile. Files larger than maxBytes fail with InvalidFile (nothing
// is allocated for them).
FileReadResult ReadWholeFile(const std::string& path, std::uint64_t maxBytes = 1ull << 31);

// True when the path names a regular file that can be opened for reading.
bool CanOpenForReading(const std::string& path);

// Writes all bytes to an open file descriptor.
FileErrorCause WriteAllBytes(int fd, std::span<const std::uint8_t> bytes);

// How a FileSet puts bytes into its temporary files: WriteAllBytes, or a
// test's writer that fails on purpose.
using FileWriter = std::function<FileErrorCause(int fd, std::span<const std::uint8_t> bytes)>;

// A file's bytes handed out a piece at a time: each call returns the next
// piece, an empty one after the last.
using ByteSource = std::function<std::span<const std::uint8_t>()>;

// Writes bytes to path through a temporary file and a rename.
FileErrorCause WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The journal of a FileSet committing path and the files beside it: a name
// in the same folder, within the file-name limit.
std::string CommitJournalFor(const std::string& path);

// Completes a commit whose journal survived its writer: each temporary file
// the journal names that is still there is renamed over its target, then the
// journal is removed. Only a journal written to its end is followed, only
// names in the journal's own folder, and only targets among `targets`; an
// incomplete or foreign journal is removed and nothing else is touched.
// True when files were renamed.
bool FinishInterruptedCommit(const std::string& journal, const std::vector<std::string>& targets);

// Several files written together: stage() writes each to its temporary file,
// commit() puts them all on the disk and then renames them over their targets
// (when the sync fails, none is renamed); a FileSet destroyed without a
// commit removes its temporary files and leaves the targets alone.
class FileSet {
 public:
  explicit FileSet(FileWriter writer = WriteAllBytes) : writer_(std::move(writer)) {}
  FileSet(const FileSet&) = delete;
  FileSet& operator=(const FileSet&) = delete;
  ~FileSet();

  // Writes the temporary file for path; returns its failure cause.
  FileErrorCause stage(const std::string& path, std::span<const std::uint8_t> bytes);
  // The same for a file written as its source hands out the pieces.
  FileErrorCause stage(const std::string& path, const ByteSource& pieces);
  // Replaces every staged target; returns the first failure cause.
  FileErrorCause commit();
  // The same as one step for the next reader: a journal naming each
  // temporary file and its target is written before the first rename and
  // removed after the last, so FinishInterruptedCommit can complete a commit
  // that was killed half-way. Without room for the journal the files are
  // renamed all the same.
  FileErrorCause commit(const std::string& journal);

 private:
  struct Staged {
    std::string target;
    std::string temporary;
    int fd = -1;  // open from stage() until the sync before the commit
  };
  // Syncs the staged files (and the journal, when open) and renames them.
  FileErrorCause commitWith(int journalFd);
  // Closes and removes every staged temporary file.
  void Discard();
  FileWriter writer_;
  std::vector<Staged> staged_;
};

}  // namespace mok
