#include "platform/dir_prefetch.h"

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

namespace vorlo {

namespace {

// Pool threads: they mostly wait for the disk, and the more requests are
// under way the better a disk does (four measured best here; eight lost to
// the cost of switching between them).
constexpr size_t kThreads = 4;
// How many folders the read-ahead may list beyond the walk: far enough to
// keep the disk busy, near enough that the cache still holds them.
constexpr uint64_t kLead = 512;
// Folders held open for their sub-folders still to be read ahead.
constexpr int kMaxOpen = 24;
// In Auto mode each thread checks after this many folders whether it had
// to read anything from the disk; when not, the pool rests while the walk
// enters kRest folders, then looks again, resting twice as long each time
// it finds the cache warm again (up to kLongestRest).
constexpr uint64_t kProbe = 32;
constexpr uint64_t kRest = 2048;
constexpr uint64_t kLongestRest = 32768;

constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

using Position = std::vector<uint32_t>;

// True when the walk, at `walk`, has already been to `p` and left it: `p`
// comes first in depth-first order and is not a folder on the walk's way.
bool Passed(const Position& p, const Position& walk) {
  const size_t n = std::min(p.size(), walk.size());
  for (size_t i = 0; i < n; ++i)
    if (p[i] != walk[i]) return p[i] < walk[i];
  return false;
}

// Blocks this thread has read from a device.
long BlocksRead() {
  rusage ru{};
  if (getrusage(RUSAGE_THREAD, &ru) != 0) return 0;
  return ru.ru_inblock;
}

}  // namespace

struct DirPrefetch::Shared {
  // An open folder whose sub-folders are queued.
  struct Folder {
    Folder(Shared& s, DirListing d, std::string p, MountKey m, Position pos)
        : shared(s), dir(std::move(d)), path(std::move(p)), mount(m), position(std::move(pos)) {
      ++shared.openFolders;
    }
    ~Folder() { --shared.openFolders; }
    Shared& shared;
    DirListing dir;
    std::string path;
    MountKey mount;
    Position position;
  };

  struct Item {
    std::shared_ptr<Folder> parent;
    std::string name;
    Position position;
  };
  // Earliest in the walk's order on top.
  struct Later {
    bool operator()(const Item& a, const Item& b) const { return a.position > b.position; }
  };

  Shared(ReadAhead m, EnterTest e, FilePicker p) : mode(m), enter(std::move(e)), pick(std::move(p)) {}

  void Queue(const std::shared_ptr<Folder>& folder, const DirEntries& entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries.Kind(i) != EntryKind::Folder || !enter(folder->path, entries.Name(i))) continue;
      Position p = folder->position;
      p.push_back(static_cast<uint32_t>(i));
      queue.push_back(Item{folder, std::string(entries.Name(i)), std::move(p)});
      std::push_heap(queue.begin(), queue.end(), Later{});
    }
  }

  // What a thread may take next, or nothing (then `wakeAt` tells which
  // count of entered folders lets it go on).
  std::optional<Item> Next() {
    for (;;) {
      if (queue.empty()) return std::nullopt;
      if (walked < restUntil) {
        wakeAt = std::min(wakeAt, restUntil);
        return std::nullopt;
      }
      if (listed >= walked + kLead) {
        wakeAt = std::min(wakeAt, listed - kLead + 1);
        return std::nullopt;
      }
      std::pop_heap(queue.begin(), queue.end(), Later{});
      Item it = std::move(queue.back());
      queue.pop_back();
      if (!Passed(it.position, walkPosition)) return it;
    }
  }

  void Work() {
    FilePicker myPick = pick;  // pickers keep scratch space of their own
    DirEntries entries;
    std::vector<size_t> picked;
    uint64_t probed = 0;
    long blocks = BlocksRead();

    std::unique_lock lock(mutex);
    for (;;) {
      std::optional<Item> it;
      while (!quit && !(it = Next())) {
        ++waiting;
        wake.wait(lock);
        --waiting;
      }
      if (quit) return;
      ++busy;
      const uint64_t myGeneration = generation;
      lock.unlock();

      // The walk's own checks: a folder, on the same mount, and the one
      // looked at, opened without following a link.
      std::shared_ptr<Folder> child;
      try {
        const Folder& parent = *it->parent;
        const std::optional<FolderId> seen = parent.dir.SubfolderId(it->name.c_str());
        if (seen && seen->mount == parent.mount) {
          DirListing dir = DirListing::OpenAt(parent.dir, it->name);
          if (dir.IsOpen() && dir.Id() == seen && dir.Read(entries)) {
            if (myPick) {
              myPick(entries, picked);
              for (const size_t i : picked) (void)dir.Stat(entries.CName(i));
            }
            bool hasSubfolders = false;
            for (size_t i = 0; i < entries.size() && !hasSubfolders; ++i)
              hasSubfolders = entries.Kind(i) == EntryKind::Folder;
            if (hasSubfolders && openFolders < kMaxOpen) {
              std::string path = parent.path;
              if (path.empty() || path.back() != '/') path.push_back('/');
              path += it->name;
              child = std::make_shared<Folder>(*this, std::move(dir), std::move(path), parent.mount,
                                               std::move(it->position));
            }
          }
        }
      } catch (...) {
        child.reset();  // out of memory: this folder is not read ahead
      }
      it.reset();

      lock.lock();
      --busy;
      if (myGeneration == generation) {
        ++listed;
        const size_t queued = queue.size();
        if (child) Queue(child, entries);
        // One waiting thread per new folder; waking them all would only
        // have them fight over the lock.
        for (size_t n = queue.size() - queued, w = waiting; n > 0 && w > 0; --n, --w) wake.notify_one();
        if (mode == ReadAhead::Auto && ++probed == kProbe) {
          probed = 0;
          const long now = BlocksRead();
          if (now == blocks) {
            // All of it came from the cache: rest, and count the folders
            // the walk passes meanwhile as listed.
            restUntil = walked + rest;
            listed = std::max(listed, restUntil);
            rest = std::min(rest * 2, kLongestRest);
          } else {
            rest = kRest;
          }
          blocks = now;
        }
      } else {
        child.reset();
      }
      if (busy == 0) idle.notify_all();
    }
  }

  const ReadAhead mode;
  const EnterTest enter;
  const FilePicker pick;

  std::mutex mutex;
  std::condition_variable wake;  // pool threads wait here
  std::condition_variable idle;  // End waits here for busy == 0
  std::vector<Item> queue;  // a heap, earliest on top
  Position walkPosition;
  uint64_t walked = 0;     // folders the walk entered below the top folder
  uint64_t listed = 0;     // folders the pool read ahead
  uint64_t restUntil = 0;  // Auto: the pool waits until walked reaches this
  uint64_t rest = kRest;   // Auto: the next rest
  uint64_t wakeAt = kNever;
  uint64_t generation = 0;
  int busy = 0;
  int waiting = 0;
  std::atomic<int> openFolders{0};
  bool quit = false;
  std::vector<std::thread> threads;
};

DirPrefetch::DirPrefetch(ReadAhead mode, EnterTest enter, FilePicker pick)
    : shared_(mode == ReadAhead::Off ? nullptr : std::make_shared<Shared>(mode, std::move(enter), std::move(pick))) {}

DirPrefetch::~DirPrefetch() {
  if (!shared_) return;
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->quit = true;
    shared_->queue.clear();
  }
  shared_->wake.notify_all();
  for (std::thread& t : shared_->threads) t.join();
}

void DirPrefetch::Begin(const DirListing& top, std::string_view path, const DirEntries& entries) {
  if (!shared_) return;
  Shared& s = *shared_;
  End();
  // Its own descriptor of the top folder, and the one the walk has open.
  const std::optional<FolderId> id = top.Id();
  if (!id) return;
  DirListing dir = DirListing::Open(std::string(path));
  if (!dir.IsOpen() || dir.Id() != id) return;

  if (s.threads.empty()) {
    try {
      for (size_t i = 0; i < kThreads; ++i) s.threads.emplace_back([&s] { s.Work(); });
    } catch (const std::system_error&) {
      // Fewer threads, or none: the walk reads for itself.
      if (s.threads.empty()) return;
    }
  }
  const std::lock_guard lock(s.mutex);
  s.walkPosition.clear();
  s.walked = s.listed = s.restUntil = 0;
  s.rest = kRest;
  s.wakeAt = kNever;
  s.Queue(std::make_shared<Shared::Folder>(s, std::move(dir), std::string(path), id->mount, Position{}), entries);
  s.wake.notify_all();
}

void DirPrefetch::Entered(std::span<const uint32_t> position) {
  if (!shared_) return;
  Shared& s = *shared_;
  const std::lock_guard lock(s.mutex);
  s.walkPosition.assign(position.begin(), position.end());
  ++s.walked;
  if (s.walked >= s.wakeAt) {
    s.wakeAt = kNever;
    s.wake.notify_all();
  }
}

void DirPrefetch::End() {
  if (!shared_) return;
  Shared& s = *shared_;
  std::unique_lock lock(s.mutex);
  ++s.generation;
  s.queue.clear();
  s.idle.wait(lock, [&s] { return s.busy == 0; });
}

}  // namespace vorlo
