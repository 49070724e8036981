// Read-ahead for a folder walk on a cold cache. While the walk works on one
// folder, a small pool lists the folders it will come to next (in the walk's
// own depth-first order, a bounded stretch ahead of it) and looks at their
// sub-folders and the files the walk will ask about, so that the walk finds
// the kernel's folder and inode caches warm. The walk itself still opens,
// reads and checks every folder: the read-ahead changes its speed, never
// what it finds or in which order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/dir_listing.h"

namespace vorlo {

enum class ReadAhead : uint8_t {
  Auto,    // on, resting while what it reads is all in the cache already
  Off,     // the walk reads alone
  Always,  // on, never resting (tests)
};

class DirPrefetch {
 public:
  // Whether the walk goes into the sub-folder `name` of the folder at
  // `parentPath`; called on the pool.
  using EnterTest = std::function<bool(std::string_view parentPath, std::string_view name)>;
  // Picks the entries of a listing the walk will look at one by one (files
  // it stats). Each pool thread works with its own copy.
  using FilePicker = std::function<void(const DirEntries& listing, std::vector<size_t>& out)>;

  DirPrefetch(ReadAhead mode, EnterTest enter, FilePicker pick);
  ~DirPrefetch();  // stops and joins the pool
  DirPrefetch(const DirPrefetch&) = delete;
  DirPrefetch& operator=(const DirPrefetch&) = delete;

  // A new top folder: its listing as the walk read it. Read-ahead starts
  // below it; whatever was ahead of an earlier top folder is dropped.
  void Begin(const DirListing& top, std::string_view path, const DirEntries& entries);
  // The walk has entered a folder; `position` is its place below the top
  // folder: the index in its parent's entries of each folder on the way.
  void Entered(std::span<const uint32_t> position);
  // The walk is done with the top folder: the pool drops its work and
  // closes every folder it holds before this returns.
  void End();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace vorlo
