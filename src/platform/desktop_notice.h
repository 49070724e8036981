// A desktop notification through the freedesktop notification service on
// the session bus (org.freedesktop.Notifications): a summary, a body and
// buttons, and the wait for the person's answer. Without a session bus or a
// notification service nothing is shown and the caller is told why, so it
// can rely on its log alone.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace vorlo {

struct DesktopNotice {
  std::string summary;
  std::string body;
  // The buttons, in order: a key that comes back when it is pressed, and
  // its label. Both UTF-8.
  std::vector<std::pair<std::string, std::string>> actions;
};

struct NoticeAnswer {
  enum class Outcome {
    Chosen,       // a button was pressed: `action` holds its key
    Closed,       // the person (or the service) closed it without a button
    TimedOut,     // nobody answered in time; the notification was withdrawn
    NoButtons,    // shown, but the service offers no buttons: nothing to wait for
    Unavailable,  // not shown: `error` says why
  };
  Outcome outcome = Outcome::Unavailable;
  std::string action;
  std::string error;
};

// Shows `notice` and, when it has buttons, waits at most `wait` for one to
// be pressed or the notification to be closed. A notification still open
// when the wait ends is withdrawn, so that no button is left that nobody
// listens to.
NoticeAnswer ShowDesktopNotice(const DesktopNotice& notice, std::chrono::milliseconds wait);

}  // namespace vorlo
