#include "core/found_results.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "core/found_file.h"
#include "core/text.h"
#include "platform/dir_listing.h"

namespace vorlo {

static_assert(std::endian::native == std::endian::little, "the results file is little-endian");

namespace {

constexpr std::string_view kMagic = "VORLOFND";
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 24;
constexpr size_t kTrailerSize = 40;
constexpr uint32_t kStoppedFlag = 1;
constexpr size_t kBlockSize = 1 << 20;
// A results file larger than this is not read (a million files take some 40 MB).
constexpr size_t kMaxFileBytes = size_t{4} << 30;

constexpr const char* kNotResults = "%s is not a file of found files.";
constexpr const char* kNewer = "%s was written by a newer version of Vorlo.";
constexpr const char* kDamaged = "%s is damaged: %s.";
constexpr const char* kCannotRead = "Cannot read %s: %s";

constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

uint64_t Fnv(uint64_t h, std::string_view bytes) {
  for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * kFnvPrime;
  return h;
}

void PutVarint(std::string& out, uint64_t v) {
  while (v >= 0x80) {
    out += static_cast<char>((v & 0x7F) | 0x80);
    v >>= 7;
  }
  out += static_cast<char>(v);
}

uint64_t Zigzag(int64_t v) { return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63); }
int64_t Unzigzag(uint64_t v) { return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1); }

template <typename T>
void PutFixed(std::string& out, T v) {
  char bytes[sizeof v];
  std::memcpy(bytes, &v, sizeof v);
  out.append(bytes, sizeof v);
}

template <typename T>
T GetFixed(const char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

size_t SharedPrefix(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  size_t i = 0;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// Reads varints from a range; any value that runs past the end, or has more
// than 64 bits, makes it fail for good.
class VarintReader {
 public:
  VarintReader(std::string_view bytes) : p_(bytes.data()), end_(bytes.data() + bytes.size()) {}
  bool ok() const { return ok_; }
  bool AtEnd() const { return p_ == end_; }

  uint64_t Next() {
    uint64_t v = 0;
    for (int shift = 0; ok_; shift += 7) {
      if (p_ == end_ || shift > 63) return Fail();
      const auto b = static_cast<unsigned char>(*p_++);
      if (shift == 63 && b > 1) return Fail();
      v |= uint64_t{b & 0x7Fu} << shift;
      if (b < 0x80) return v;
    }
    return 0;
  }
  std::string_view Bytes(uint64_t n) {
    if (!ok_ || n > static_cast<uint64_t>(end_ - p_)) return Fail(), std::string_view();
    const std::string_view s(p_, n);
    p_ += n;
    return s;
  }

 private:
  uint64_t Fail() {
    ok_ = false;
    return 0;
  }
  const char* p_;
  const char* end_;
  bool ok_ = true;
};

uint32_t AppendType(std::vector<FoundType>& types, int32_t row, std::string_view name) {
  types.push_back({row, std::string(name)});
  return static_cast<uint32_t>(types.size() - 1);
}

// A file must name types that were added before it.
void CheckTypes(const FoundEntry& e, size_t types) {
  if (e.type >= types || (e.dupeOf != FoundEntry::kNotDupe && e.dupeOf >= types))
    throw std::invalid_argument("found file of an unknown junk type");
}

FoundResultsRead Refused(const char* format, const std::string& path, const std::string& reason = {}) {
  FoundResultsRead read;
  read.message = FormatText(format, ShownName(path).c_str(), reason.c_str());
  return read;
}

}  // namespace

// ---------------------------------------------------------------------------
// Records

FoundEntry FoundEntry::Of(const FoundFile& file, uint32_t type, uint32_t dupeOf) {
  const FileIdentity& id = file.stat.identity;
  return {type, file.path, file.stat.size, id.mtimeNs, id.dev, id.ino, dupeOf};
}

bool FoundRecord::Unchanged(const FileIdentity& now) const {
  return now.dev == dev && now.ino == ino && now.size == size && now.mtimeNs == mtimeNs;
}

std::string_view FoundResults::Folder(size_t i) const {
  const std::string_view path = Path(i);
  const uint32_t slash = records_[i].nameOffset;
  if (slash == 0) return {};
  return slash == 1 ? path.substr(0, 1) : path.substr(0, slash - 1);
}

uint32_t FoundResults::AddType(int32_t row, std::string_view name) { return AppendType(types_, row, name); }

void FoundResults::Add(const FoundEntry& e) {
  CheckTypes(e, types_.size());
  if (e.path.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("path too long");
  FoundRecord r;
  r.pathOffset = paths_.size();
  r.pathLength = static_cast<uint32_t>(e.path.size());
  const size_t slash = e.path.rfind('/');
  r.nameOffset = slash == std::string_view::npos ? 0 : static_cast<uint32_t>(slash + 1);
  r.type = e.type;
  r.dupeOf = e.dupeOf;
  r.size = e.size;
  r.mtimeNs = e.mtimeNs;
  r.dev = e.dev;
  r.ino = e.ino;
  paths_.append(e.path);
  records_.push_back(r);
}

void FoundResults::Reserve(size_t records, size_t pathBytes) {
  records_.reserve(records);
  paths_.reserve(pathBytes);
}

FoundResults FoundResults::Subset(const std::vector<uint32_t>& records) const {
  FoundResults subset;
  subset.startedAt = startedAt;
  subset.stopped = stopped;
  subset.types_ = types_;
  size_t bytes = 0;
  for (const uint32_t i : records) bytes += records_.at(i).pathLength;
  subset.Reserve(records.size(), bytes);
  for (const uint32_t i : records) {
    const FoundRecord& r = records_[i];
    subset.Add({r.type, Path(i), r.size, r.mtimeNs, r.dev, r.ino, r.dupeOf});
  }
  return subset;
}

// ---------------------------------------------------------------------------
// Writer

int FoundResultsWriter::Begin(const std::string& path, int64_t startedAt) {
  Abandon();
  error_ = file_.Open(path);
  if (error_ != 0) return error_;
  block_.reserve(kBlockSize + 4096);
  std::string header(kMagic);
  PutFixed(header, kVersion);
  PutFixed(header, uint32_t{0});
  PutFixed(header, startedAt);
  Put(header);
  return error_;
}

uint32_t FoundResultsWriter::AddType(int32_t row, std::string_view name) { return AppendType(types_, row, name); }

void FoundResultsWriter::Add(const FoundEntry& e) {
  CheckTypes(e, types_.size());
  if (error_ != 0 || !file_.IsOpen()) return;
  const size_t shared = SharedPrefix(previous_, e.path);
  const size_t start = block_.size();
  PutVarint(block_, e.type);
  PutVarint(block_, e.dupeOf == FoundEntry::kNotDupe ? 0 : uint64_t{e.dupeOf} + 1);
  PutVarint(block_, shared);
  PutVarint(block_, e.path.size() - shared);
  block_.append(e.path.substr(shared));
  PutVarint(block_, static_cast<uint64_t>(e.size));
  PutVarint(block_, Zigzag(e.mtimeNs));
  PutVarint(block_, e.dev);
  PutVarint(block_, e.ino);
  hash_ = Fnv(hash_, std::string_view(block_).substr(start));
  previous_.assign(e.path);
  ++count_;
  pathBytes_ += e.path.size();
  if (block_.size() >= kBlockSize) Flush();
}

void FoundResultsWriter::Put(std::string_view bytes) {
  hash_ = Fnv(hash_, bytes);
  block_.append(bytes);
}

void FoundResultsWriter::Flush() {
  if (error_ == 0 && !block_.empty()) error_ = file_.Write(block_);
  written_ += block_.size();
  block_.clear();
  if (error_ != 0) file_.Abandon();
}

int FoundResultsWriter::Finish(bool stopped) {
  if (error_ == 0 && !file_.IsOpen()) error_ = EBADF;
  if (error_ != 0) {
    const int err = error_;
    Abandon();
    return err;
  }
  const uint64_t typesAt = written_ + block_.size();
  std::string tail;
  for (const FoundType& t : types_) {
    PutVarint(tail, Zigzag(t.row));
    PutVarint(tail, t.name.size());
    tail += t.name;
  }
  PutFixed(tail, typesAt);
  PutFixed(tail, count_);
  PutFixed(tail, pathBytes_);
  PutFixed(tail, static_cast<uint32_t>(types_.size()));
  PutFixed(tail, stopped ? kStoppedFlag : uint32_t{0});
  Put(tail);
  PutFixed(block_, hash_);
  Flush();
  if (error_ == 0) error_ = file_.Commit();
  const int err = error_;
  Abandon();
  return err;
}

void FoundResultsWriter::Abandon() {
  file_.Abandon();
  block_.clear();
  previous_.clear();
  types_.clear();
  written_ = count_ = pathBytes_ = 0;
  hash_ = kFnvOffset;
  error_ = 0;
}

// ---------------------------------------------------------------------------
// Reader

FoundResultsRead LoadFoundResults(const std::string& path) {
  const FileRead file = ReadWholeFile(path, kMaxFileBytes);
  if (file.error != 0) {
    FoundResultsRead read = Refused(kCannotRead, path, ErrorText(file.error));
    read.error = file.error;
    return read;
  }
  return ParseFoundResults(file.bytes, path);
}

FoundResultsRead ParseFoundResults(std::string_view bytes, const std::string& path) {
  if (bytes.size() < kMagic.size() + 4 || !bytes.starts_with(kMagic)) return Refused(kNotResults, path);
  const uint32_t version = GetFixed<uint32_t>(bytes.data() + kMagic.size());
  if (version > kVersion) return Refused(kNewer, path);
  const auto damaged = [&path](const std::string& why) { return Refused(kDamaged, path, why); };
  if (version == 0) return damaged("its format version is 0");
  if (bytes.size() < kHeaderSize + kTrailerSize) return damaged("it ends early");
  const size_t sumAt = bytes.size() - sizeof(uint64_t);
  if (Fnv(kFnvOffset, bytes.substr(0, sumAt)) != GetFixed<uint64_t>(bytes.data() + sumAt))
    return damaged("its contents do not match their check sum");

  const char* trailer = bytes.data() + bytes.size() - kTrailerSize;
  const uint64_t typesAt = GetFixed<uint64_t>(trailer);
  const uint64_t count = GetFixed<uint64_t>(trailer + 8);
  const uint64_t pathBytes = GetFixed<uint64_t>(trailer + 16);
  const uint32_t typeCount = GetFixed<uint32_t>(trailer + 24);
  const uint32_t flags = GetFixed<uint32_t>(trailer + 28);
  const size_t trailerAt = bytes.size() - kTrailerSize;
  // Every record takes at least 8 bytes, every type 2: counts past that are
  // refused before anything is allocated for them.
  if (typesAt < kHeaderSize || typesAt > trailerAt || count > (typesAt - kHeaderSize) / 8 ||
      typeCount > (trailerAt - typesAt) / 2)
    return damaged("its table of contents is not valid");

  FoundResultsRead read;
  FoundResults& results = read.results;
  results.startedAt = GetFixed<int64_t>(bytes.data() + 16);
  results.stopped = (flags & kStoppedFlag) != 0;

  VarintReader types(bytes.substr(typesAt, trailerAt - typesAt));
  for (uint32_t i = 0; i < typeCount && types.ok(); ++i) {
    const int64_t row = Unzigzag(types.Next());
    const std::string_view name = types.Bytes(types.Next());
    if (row < 0 || row > std::numeric_limits<int32_t>::max()) return damaged("its junk types are not valid");
    results.AddType(static_cast<int32_t>(row), name);
  }
  if (!types.ok() || !types.AtEnd()) return damaged("its junk types are not valid");

  // Paths share their beginnings in the file, so they take more room loaded;
  // a path total beyond any real ratio is not reserved up front.
  results.Reserve(count, std::min<uint64_t>(pathBytes, uint64_t{32} * bytes.size()));
  VarintReader records(bytes.substr(kHeaderSize, typesAt - kHeaderSize));
  std::string current;
  for (uint64_t i = 0; i < count; ++i) {
    FoundEntry e;
    const uint64_t type = records.Next();
    const uint64_t dupe = records.Next();
    const uint64_t shared = records.Next();
    const std::string_view rest = records.Bytes(records.Next());
    const uint64_t size = records.Next();
    e.mtimeNs = Unzigzag(records.Next());
    e.dev = records.Next();
    e.ino = records.Next();
    // Only absolute paths without a zero byte name a file.
    const bool valid = records.ok() && type < typeCount && dupe <= typeCount && shared <= current.size() &&
                       size <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) &&
                       shared + rest.size() <= std::numeric_limits<uint32_t>::max() &&
                       shared + rest.size() <= pathBytes - results.PathBytes() &&
                       rest.find('\0') == std::string_view::npos && (shared > 0 || rest.starts_with('/'));
    if (!valid) return damaged("file record " + std::to_string(i + 1) + " is not valid");
    current.resize(shared);
    current.append(rest);
    e.type = static_cast<uint32_t>(type);
    e.dupeOf = dupe == 0 ? FoundEntry::kNotDupe : static_cast<uint32_t>(dupe - 1);
    e.path = current;
    e.size = static_cast<int64_t>(size);
    results.Add(e);
  }
  if (!records.AtEnd() || results.PathBytes() != pathBytes) return damaged("its table of contents is not valid");
  return read;
}

}  // namespace vorlo
