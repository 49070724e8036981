// The files an analysis found, kept so that they can be reviewed and exactly
// those cleaned up: the results file of the data folder, its writer, and the
// loaded form, compact enough for a million files (one buffer holds every
// path; each file is a record of fixed size).
//
// The file, little-endian, varints in LEB128:
//   header   "VORLOFND", u32 format version, u32 0, i64 start of the
//            analysis (seconds since 1970 UTC)
//   records  one per found file, in the order found: type index; 0, or for
//            a file an earlier type found too that type's index + 1; bytes
//            shared with the previous record's path, length of the rest,
//            the rest; size; modification time in ns (zigzag); device; inode
//   types    one per junk type of the analysis: row (zigzag), name length,
//            name
//   trailer  u64 offset of the types, u64 record count, u64 bytes of all
//            paths, u32 type count, u32 flags (1: the analysis was
//            stopped), u64 FNV-1a of every byte before it
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_ops.h"

namespace vorlo {

struct FileIdentity;
struct FoundFile;

struct FoundType {
  int32_t row = 0;  // the type's row in the junk list at the analysis
  std::string name;
  bool operator==(const FoundType&) const = default;
};

// What the analysis saw of one file, as handed to the writer.
struct FoundEntry {
  static constexpr uint32_t kNotDupe = UINT32_MAX;

  uint32_t type = 0;  // index of the type (as AddType gave it)
  std::string_view path;
  int64_t size = 0;
  int64_t mtimeNs = 0;  // last write, nanoseconds since 1970 UTC
  uint64_t dev = 0;
  uint64_t ino = 0;
  uint32_t dupeOf = kNotDupe;  // the earlier type that found the same path

  // A file the scan passed to type `type`, its figures as the scan saw them.
  static FoundEntry Of(const FoundFile& file, uint32_t type, uint32_t dupeOf = kNotDupe);
};

struct FoundRecord {
  uint64_t pathOffset = 0;  // in the results' path buffer
  uint32_t pathLength = 0;
  uint32_t nameOffset = 0;  // where the name begins in the path, after its last "/"
  uint32_t type = 0;
  uint32_t dupeOf = FoundEntry::kNotDupe;
  int64_t size = 0;
  int64_t mtimeNs = 0;
  uint64_t dev = 0;
  uint64_t ino = 0;

  bool IsDupe() const { return dupeOf != FoundEntry::kNotDupe; }
  // True while the file at the path is the one found, as found: the same
  // device and inode, size and modification time.
  bool Unchanged(const FileIdentity& now) const;
};

class FoundResults {
 public:
  int64_t startedAt = 0;  // the analysis's start, seconds since 1970 UTC
  bool stopped = false;   // the analysis was stopped before its end

  const std::vector<FoundType>& Types() const { return types_; }
  const std::vector<FoundRecord>& Records() const { return records_; }
  size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  const FoundRecord& operator[](size_t i) const { return records_[i]; }

  std::string_view Path(size_t i) const {
    return {paths_.data() + records_[i].pathOffset, records_[i].pathLength};
  }
  std::string_view Name(size_t i) const { return Path(i).substr(records_[i].nameOffset); }
  // The path up to its last "/", without it ("/" for a file in the root).
  std::string_view Folder(size_t i) const;
  size_t PathBytes() const { return paths_.size(); }

  // Building, for the reader and for tests: a type's index, then its files.
  uint32_t AddType(int32_t row, std::string_view name);
  void Add(const FoundEntry& entry);
  void Reserve(size_t records, size_t pathBytes);

  // The given records (indices into this), in that order, with every type.
  FoundResults Subset(const std::vector<uint32_t>& records) const;

 private:
  std::vector<FoundType> types_;
  std::vector<FoundRecord> records_;
  std::string paths_;
};

// Writes the results file as an analysis goes: one Add per found file on the
// scan thread, the file written in blocks, and put in place of the old one
// by Finish only. Write errors are kept (the first one) and end the writing;
// the old file then stays. One thread at a time uses it: a run adds a type
// on the main thread before that type's scan, the scan thread adds its
// files, and the main thread finishes after the last scan has ended.
class FoundResultsWriter {
 public:
  FoundResultsWriter() = default;
  FoundResultsWriter(const FoundResultsWriter&) = delete;
  FoundResultsWriter& operator=(const FoundResultsWriter&) = delete;

  // Starts a new file beside `path`: 0 or the errno.
  [[nodiscard]] int Begin(const std::string& path, int64_t startedAt);
  bool IsOpen() const { return file_.IsOpen(); }
  // The index of a junk type the analysis starts, for Add.
  uint32_t AddType(int32_t row, std::string_view name);
  void Add(const FoundEntry& entry);
  // Writes the types and the trailer and replaces the file at `path`: 0 or
  // the errno of the first failure.
  [[nodiscard]] int Finish(bool stopped);
  // Drops the new file; the old one stays.
  void Abandon();

  int Error() const { return error_; }
  uint64_t Count() const { return count_; }

 private:
  void Put(std::string_view bytes);
  void Flush();

  ReplacingFile file_;
  std::string block_;
  std::string previous_;  // the previous record's path
  std::vector<FoundType> types_;
  uint64_t written_ = 0;  // bytes before block_
  uint64_t count_ = 0;
  uint64_t pathBytes_ = 0;
  uint64_t hash_ = 0;
  int error_ = 0;
};

struct FoundResultsRead {
  FoundResults results;
  int error = 0;        // errno when the file could not be read (ENOENT: no analysis kept its results)
  std::string message;  // why it could not be loaded; empty when loaded
  bool ok() const { return message.empty(); }
};

// Loads a results file; a file that is not one, is of a newer format or is
// damaged is refused with a message naming it.
FoundResultsRead LoadFoundResults(const std::string& path);
// The same from the file's bytes; `path` names it in messages.
FoundResultsRead ParseFoundResults(std::string_view bytes, const std::string& path);

}  // namespace vorlo
