// Memory a list read takes, counted by replacing the global allocation
// functions of this test program (counting only: they call malloc and free).
#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/junk_list_file.h"
#include "support/temp_dir.h"

namespace {

std::atomic<size_t> gLive{0};
std::atomic<size_t> gPeak{0};

void* Counted(size_t n) {
  void* p = std::malloc(n == 0 ? 1 : n);
  if (p == nullptr) throw std::bad_alloc();
  const size_t live = gLive += malloc_usable_size(p);
  size_t peak = gPeak.load();
  while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
  }
  return p;
}

void Released(void* p) {
  if (p == nullptr) return;
  gLive -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

void* operator new(size_t n) { return Counted(n); }
void* operator new[](size_t n) { return Counted(n); }
void operator delete(void* p) noexcept { Released(p); }
void operator delete[](void* p) noexcept { Released(p); }
void operator delete(void* p, size_t) noexcept { Released(p); }
void operator delete[](void* p, size_t) noexcept { Released(p); }

namespace vorlo {
namespace {

// Bytes allocated at the peak of `work`, above what was live before it.
template <class F>
size_t PeakOf(F&& work) {
  const size_t before = gLive.load();
  gPeak = before;
  work();
  return gPeak.load() - before;
}

TEST(ListMemory, ManyEmptyTextsCostAFewTimesTheFileNotTensOfBytesMore) {
  testing::TempDir dir;
  const std::string path = dir / "Vorlo.DAT";
  constexpr size_t kEntries = 400'000;  // 5 bytes each in the file: 2 MB
  {
    TJunkFileObj t;
    t.SetDeletes(SpecList(kEntries));
    SaveJTToFile(path, {t});
  }
  const size_t fileSize = testing::ReadFile(path).size();
  size_t read = 0;
  const size_t peak = PeakOf([&] {
    const JunkListRead list = LoadJTFromFile(path);
    read = list.types.empty() ? 0 : list.types[0].Deletes().size();
  });
  EXPECT_EQ(read, kEntries);
  // The file's bytes once and an end offset per entry (an empty text takes
  // nothing more): under twice the file, no room to spare beyond that.
  EXPECT_LE(peak, fileSize + kEntries * sizeof(uint32_t) + (64u << 10)) << "file " << fileSize;
  EXPECT_LE(peak, 2 * fileSize);
}

TEST(ListMemory, ACountTheFileCannotHoldIsRefusedBeforeAllocating) {
  using namespace std::string_literals;
  // A record announcing 2^31 - 1 delete texts, followed by a few bytes.
  const std::string bytes = "\x06\x01\x41\x09\x02\x00\x02\x00\x04\xFF\xFF\xFF\x7F"s + std::string(64, '\x12');
  JunkListRead list;
  EXPECT_LT(PeakOf([&] { list = ReadJunkList(bytes); }), 4096u);
  EXPECT_TRUE(list.error);
}

}  // namespace
}  // namespace vorlo
