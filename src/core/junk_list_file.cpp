#include "core/junk_list_file.h"

#include <bit>
#include <cstring>

#include "core/text.h"
#include "platform/file_ops.h"

namespace vorlo {

static_assert(std::endian::native == std::endian::little, "the list file is little-endian");

template <typename T>
void ByteWriter::Tagged(ValueTag tag, T v) {
  out_.push_back(static_cast<char>(tag));
  Raw(&v, sizeof v);
}

void ByteWriter::WriteInteger(int32_t v) {
  if (v >= -128 && v <= 127)
    Tagged(vaInt8, static_cast<int8_t>(v));
  else if (v >= -32768 && v <= 32767)
    Tagged(vaInt16, static_cast<int16_t>(v));
  else
    Tagged(vaInt32, v);
}

void ByteWriter::WriteBoolean(bool v) { out_.push_back(static_cast<char>(v ? vaTrue : vaFalse)); }

void ByteWriter::WriteDate(double dayNumber) { Tagged(vaDate, dayNumber); }

void ByteWriter::WriteText(std::string_view u) {
  // Bytes that are not UTF-8 (a path with a stray byte) are kept as they are.
  if (!IsValidUtf8(u)) {
    Tagged(vaUTF8String, static_cast<int32_t>(u.size()));
    Raw(u.data(), u.size());
    return;
  }
  const std::u16string utf16 = Utf8ToUtf16(u);
  if (u.size() < 2 * utf16.size()) {
    if (!IsAscii(u))
      Tagged(vaUTF8String, static_cast<int32_t>(u.size()));
    else if (u.size() <= 255)
      Tagged(vaString, static_cast<uint8_t>(u.size()));
    else
      Tagged(vaLString, static_cast<int32_t>(u.size()));
    Raw(u.data(), u.size());
    return;
  }
  Tagged(vaWString, static_cast<int32_t>(utf16.size()));
  for (char16_t c : utf16) Raw(&c, sizeof c);
}

void ByteReader::Fail(const std::string& why) const {
  throw ListReadError(why + " at byte " + std::to_string(pos_));
}

std::string_view ByteReader::Take(uint64_t n) {
  if (n > data_.size() - pos_) Fail(AtEnd() ? "unexpected end of file" : "value runs past the end of the file");
  const std::string_view s = data_.substr(pos_, n);
  pos_ += n;
  return s;
}

uint8_t ByteReader::Tag() { return static_cast<uint8_t>(Take(1)[0]); }

template <typename T>
T ByteReader::Number() {
  T v;
  std::memcpy(&v, Take(sizeof v).data(), sizeof v);
  return v;
}

int64_t ByteReader::Length() {
  const auto n = Number<int32_t>();
  if (n < 0) Fail("negative length");
  return n;
}

int32_t ByteReader::ReadInteger() {
  switch (const uint8_t tag = Tag()) {
    case vaInt8: return Number<int8_t>();
    case vaInt16: return Number<int16_t>();
    case vaInt32: return Number<int32_t>();
    default: --pos_, Fail("integer expected, found tag " + std::to_string(tag));
  }
}

bool ByteReader::ReadBoolean() {
  switch (const uint8_t tag = Tag()) {
    case vaFalse: return false;
    case vaTrue: return true;
    default: --pos_, Fail("boolean expected, found tag " + std::to_string(tag));
  }
}

double ByteReader::ReadDate() {
  switch (const uint8_t tag = Tag()) {
    case vaDate: return Number<double>();
    case vaInt8: return Number<int8_t>();
    case vaInt16: return Number<int16_t>();
    case vaInt32: return Number<int32_t>();
    case vaInt64: return static_cast<double>(Number<int64_t>());
    default: --pos_, Fail("date expected, found tag " + std::to_string(tag));
  }
}

std::string ByteReader::ReadText() {
  switch (const uint8_t tag = Tag()) {
    case vaString: return std::string(Take(Number<uint8_t>()));
    case vaLString: return std::string(Take(Length()));
    case vaUTF8String: return std::string(Take(Length()));
    case vaWString: {
      const std::string_view bytes = Take(2 * Length());
      if (bytes.empty()) return {};
      std::u16string units(bytes.size() / 2, u'\0');
      std::memcpy(units.data(), bytes.data(), bytes.size());
      return Utf16ToUtf8(units);
    }
    default: --pos_, Fail("text expected, found tag " + std::to_string(tag));
  }
}

size_t ByteReader::ReadCount(size_t minBytes) {
  const int32_t n = ReadInteger();
  if (n <= 0) return 0;
  if (static_cast<uint64_t>(n) * minBytes > data_.size() - pos_) Fail("count runs past the end of the file");
  return static_cast<size_t>(n);
}

namespace {

// A restriction is stored as on/off, comparison type and its two values:
// dates as dates, counts and sizes as integers.
void WriteValue(ByteWriter& w, double v) { w.WriteDate(v); }
void WriteValue(ByteWriter& w, int32_t v) { w.WriteInteger(v); }
void ReadValue(ByteReader& r, double& v) { v = r.ReadDate(); }
void ReadValue(ByteReader& r, int32_t& v) { v = r.ReadInteger(); }

template <class T>
void WriteRestriction(ByteWriter& w, const Restriction<T>& x) {
  w.WriteBoolean(x.on);
  w.WriteInteger(x.type);
  WriteValue(w, x.data1);
  WriteValue(w, x.data2);
}

template <class T>
void ReadRestriction(ByteReader& r, Restriction<T>& x) {
  x.on = r.ReadBoolean();
  x.type = r.ReadInteger();
  ReadValue(r, x.data1);
  ReadValue(r, x.data2);
}

}  // namespace

// Methods and rules are stored as their numbers, as read: a number outside
// the named values is kept and written back unchanged.

void TJunkFileObj::SaveToStream(std::string& out) const {
  ByteWriter w(out);
  w.WriteText(fName);
  w.WriteBoolean(fChecked);
  w.WriteInteger(static_cast<int32_t>(fBacktype));
  w.WriteInteger(static_cast<int32_t>(fDirs.size()));
  for (const FolderEntry& d : fDirs) {
    w.WriteText(d.path);
    w.WriteInteger(static_cast<int32_t>(d.rule));
  }
  w.WriteInteger(static_cast<int32_t>(fDeletes.size()));
  for (const std::string_view s : fDeletes) w.WriteText(s);
  w.WriteInteger(static_cast<int32_t>(fProts.size()));
  for (const std::string_view s : fProts) w.WriteText(s);
  WriteRestriction(w, fDate);
  WriteRestriction(w, fAge);
  WriteRestriction(w, fSize);
  w.WriteInteger(fSize.unit);
}

namespace {

// The fewest bytes a text takes (a short text's tag and length), and a
// folder entry (its text and a one-byte integer).
constexpr size_t kMinTextBytes = 2;
constexpr size_t kMinFolderBytes = kMinTextBytes + 2;

// Room for exactly the entries the file announces, so that a long list is
// not grown by doubling (which holds up to three times its size at once).
void ReadSpecs(ByteReader& r, SpecList& specs) {
  const size_t n = r.ReadCount(kMinTextBytes);
  specs.reserve(specs.size() + n);
  for (size_t i = 0; i < n; ++i) specs.push_back(r.ReadText());
}

}  // namespace

void TJunkFileObj::LoadFromStream(ByteReader& r) {
  fName = r.ReadText();
  fChecked = r.ReadBoolean();
  fBacktype = CleanupMethod{r.ReadInteger()};
  const size_t dirs = r.ReadCount(kMinFolderBytes);
  fDirs.reserve(fDirs.size() + dirs);
  for (size_t i = 0; i < dirs; ++i) {
    std::string path = r.ReadText();
    const FolderRule rule{r.ReadInteger()};
    fDirs.push_back({std::move(path), rule});
  }
  ReadSpecs(r, fDeletes);
  ReadSpecs(r, fProts);
  ReadRestriction(r, fDate);
  ReadRestriction(r, fAge);
  ReadRestriction(r, fSize);
  fSize.unit = r.ReadInteger();
}

std::string WriteJunkList(const std::vector<TJunkFileObj>& list) {
  std::string out;
  for (const TJunkFileObj& t : list) t.SaveToStream(out);
  return out;
}

JunkListRead ReadJunkList(std::string_view bytes) {
  JunkListRead result;
  ByteReader reader(bytes);
  while (!reader.AtEnd()) {
    TJunkFileObj t;
    try {
      t.LoadFromStream(reader);
    } catch (const ListReadError& e) {
      result.error = "record " + std::to_string(result.types.size() + 1) + ": " + e.what();
      break;
    }
    result.types.push_back(std::move(t));
  }
  return result;
}

JunkListRead LoadJTFromFile(const std::string& path) {
  const FileRead file = ReadWholeFile(path, kListFileLimit);
  if (file.error != 0) return {{}, "Cannot read " + path + ": " + ErrorText(file.error)};
  return ReadJunkListFile(path, file.bytes);
}

JunkListRead ReadJunkListFile(const std::string& path, std::string_view bytes) {
  JunkListRead result = ReadJunkList(bytes);
  if (result.error) result.error = "Read error in " + path + ", " + *result.error;
  return result;
}

void SaveJTToFile(const std::string& path, const std::vector<TJunkFileObj>& list) {
  if (const int err = WriteFileReplacing(path, WriteJunkList(list)); err != 0)
    throw std::runtime_error("Cannot write " + path + ": " + ErrorText(err));
}

}  // namespace vorlo
