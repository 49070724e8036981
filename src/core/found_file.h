// A file the scan found and let pass, and the sink the scan hands it to.
// The value carries what the walk already has (the open folder, the name in
// it, the path, the stat), so acting on the file needs no second lookup. It
// borrows all of that from the walk: it is valid only during the sink call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "platform/dir_listing.h"

namespace vorlo {

class TJunkFileObj;

// A found file that passed the type's tests and is handed on, looked at
// afresh (`stat`, which removal checks again before it acts). With `error`
// set, it is no file but a file or folder at `path` that the walk could not
// look at (or, running as root, a folder entry it refused): the sink logs
// it, so that nothing is passed over unseen.
struct FoundFile {
  const TJunkFileObj* type = nullptr;  // the junk type the file is offered to
  int folder = -1;                     // descriptor of its folder, open during the call, not owned
  FolderId folderId;                   // which folder that is
  std::string_view name;               // within `folder`; zero-terminated, for the *at calls
  std::string_view path;               // full path
  EntryStat stat;                      // the link itself for a link
  int error = 0;                       // errno, kUnsafeLink; 0 for a found file

  int64_t Size() const { return stat.size; }
};

// A non-owning reference to whatever takes found files: one indirect call
// per file and nothing allocated. Empty, the scan only counts. What it
// refers to must outlive the scan.
class FoundFileSink {
 public:
  FoundFileSink() = default;
  FoundFileSink(std::nullptr_t) {}

  // A member function of an object.
  template <auto Method, class T>
  static FoundFileSink To(T& object) {
    return FoundFileSink(&object, [](void* o, const FoundFile& f) { (static_cast<T*>(o)->*Method)(f); });
  }

  // A callable kept alive by the caller; a temporary would not outlive the scan.
  template <class F>
    requires std::is_invocable_v<F&, const FoundFile&> && (!std::is_same_v<std::remove_cv_t<F>, FoundFileSink>)
  explicit FoundFileSink(F& callable)
      : object_(const_cast<void*>(static_cast<const void*>(&callable))),
        take_([](void* o, const FoundFile& f) { (*static_cast<F*>(o))(f); }) {}
  template <class F>
    requires(!std::is_lvalue_reference_v<F>) && (!std::is_same_v<std::remove_cvref_t<F>, FoundFileSink>)
  explicit FoundFileSink(F&& callable) = delete;

  explicit operator bool() const { return take_ != nullptr; }
  void operator()(const FoundFile& file) const { take_(object_, file); }

 private:
  using Take = void (*)(void*, const FoundFile&);
  FoundFileSink(void* object, Take take) : object_(object), take_(take) {}

  void* object_ = nullptr;
  Take take_ = nullptr;
};

}  // namespace vorlo
