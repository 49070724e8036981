// The folders of a junk type's list as a run takes them: resolved once when
// the scan starts, so that the walk and every removal method mean the same
// folder by the same path.
#pragma once

#include <string>

namespace vorlo {

// `entry` with the links in its own path followed and "." and ".." resolved
// the way the kernel resolves them (a home reached through a link is its
// real folder); nothing below it is looked at. The part that does not exist
// is kept as written below its resolved ancestor, so a missing folder stays
// missing. A relative entry or one that cannot be resolved comes back as it
// is.
[[nodiscard]] std::string ResolvedFolder(const std::string& entry);

struct FolderResolution {
  std::string path;
  int error = 0;  // kUnsafeLink: refused
};
// A junk type's folder entry as a scan takes it: ResolvedFolder's path, but
// when running as root, a link on the way that another user owns, or that
// lies in a folder another user may change (writable by others, without the
// sticky bit, or owned by another user), refuses the entry: that user could
// point it at any folder of root's.
[[nodiscard]] FolderResolution ResolveFolderEntry(const std::string& entry);

}  // namespace vorlo
