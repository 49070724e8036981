// The info files of a trash (freedesktop.org Trash specification 1.0):
// their content, the temporary each is written under before it is
// published, and the clean-up of what crashed sends left in info/. Private
// to the platform layer (trash.cpp).
#pragma once

#include <string>
#include <string_view>

#include "platform/trash.h"

namespace vorlo {

inline constexpr char kInfoSuffix[] = ".trashinfo";
inline constexpr size_t kInfoSuffixLength = sizeof kInfoSuffix - 1;

// Bytes other than unreserved URI characters and "/" as %XX, so names with
// newlines or invalid UTF-8 survive the info file.
std::string TrashPathEncoded(const std::string& path);

// fsync, where the file system can flush that kind of file at all.
int Flush(int fd);

// Removes from `info` the temporaries of sends that did not finish, and the
// info files they published whose file never reached `files`.
void RemoveAbandonedDrafts(int info, int files);

// Whether `infoName` in `info` is an info file for the same original path
// as `ourInfo` whose file `trashName` never reached `files` (a send cut
// short between publishing and moving): the next send of that path takes
// it over, so the trash lists the path once.
bool IsOrphanInfo(int files, int info, const std::string& trashName, const std::string& infoName,
                  std::string_view ourInfo);

// An info file's content under a temporary name in info/, until it is
// published under its own name. The temporary name stays, as a second link,
// until the draft ends: after the file has moved, or when the send failed.
// Left behind by a crash, it tells a later send which info file may lack its
// file.
class InfoDraft {
 public:
  InfoDraft(int info, const TrashStepHook& hook) : info_(info), hook_(hook) {}
  InfoDraft(const InfoDraft&) = delete;
  InfoDraft& operator=(const InfoDraft&) = delete;
  ~InfoDraft() { Discard(); }

  // Writes `content` to a new temporary and flushes it to disk.
  int Write(const std::string& content);
  bool written() const { return !name_.empty(); }
  // Gives the temporary the name `infoName` as well, never replacing one
  // that exists (EEXIST).
  int Publish(const std::string& infoName);
  void Discard();

 private:
  int info_;
  const TrashStepHook& hook_;
  std::string name_;
};

}  // namespace vorlo
