// The junk list file: junk type records back to back, each value tagged with
// its kind. No header, no count: a reader reads records until the end.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/junk_type.h"

namespace vorlo {

// Value tags of the list file.
enum ValueTag : uint8_t {
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaString = 6,
  vaFalse = 8,
  vaTrue = 9,
  vaLString = 12,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
};

class ListReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Appends tagged values to a byte string.
class ByteWriter {
 public:
  explicit ByteWriter(std::string& out) : out_(out) {}
  void WriteInteger(int32_t v);  // smallest form that holds it
  void WriteBoolean(bool v);
  void WriteDate(double dayNumber);
  void WriteText(std::string_view utf8);

 private:
  void Raw(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
  template <typename T>
  void Tagged(ValueTag tag, T v);
  std::string& out_;
};

// Reads tagged values from bytes; any fault raises ListReadError. Lengths
// are checked against the bytes left before anything is allocated.
class ByteReader {
 public:
  explicit ByteReader(std::string_view data) : data_(data) {}
  bool AtEnd() const { return pos_ >= data_.size(); }
  size_t Position() const { return pos_; }
  int32_t ReadInteger();
  bool ReadBoolean();
  double ReadDate();
  std::string ReadText();
  // An entry count: a negative count means none. A count that the bytes
  // left cannot hold, at `minBytes` an entry, is a fault, found before
  // anything is allocated for the entries.
  size_t ReadCount(size_t minBytes);

 private:
  uint8_t Tag();
  std::string_view Take(uint64_t n);
  template <typename T>
  T Number();
  int64_t Length();
  [[noreturn]] void Fail(const std::string& why) const;
  std::string_view data_;
  size_t pos_ = 0;
};

// The records of a whole list, in list order.
std::string WriteJunkList(const std::vector<TJunkFileObj>& list);

struct JunkListRead {
  std::vector<TJunkFileObj> types;  // the records read before any fault
  std::optional<std::string> error;
};
JunkListRead ReadJunkList(std::string_view bytes);

// The largest list file read.
inline constexpr size_t kListFileLimit = 64u << 20;

// Reads a list file; a fault names the file. A missing file is an error too,
// and so is anything but a regular file (or a link to one).
JunkListRead LoadJTFromFile(const std::string& path);
// The same for bytes already read from `path`, which only names the file.
JunkListRead ReadJunkListFile(const std::string& path, std::string_view bytes);

// Writes the list so that a failure leaves any earlier file intact; throws
// std::runtime_error with the platform's message on failure.
void SaveJTToFile(const std::string& path, const std::vector<TJunkFileObj>& list);

}  // namespace vorlo
