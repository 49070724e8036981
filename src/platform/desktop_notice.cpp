#include "platform/desktop_notice.h"

#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace vorlo {

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";

struct Bus {
  sd_bus* bus = nullptr;
  ~Bus() { sd_bus_flush_close_unref(bus); }
};
struct Message {
  sd_bus_message* m = nullptr;
  ~Message() { sd_bus_message_unref(m); }
};
struct Error {
  sd_bus_error e = SD_BUS_ERROR_NULL;
  ~Error() { sd_bus_error_free(&e); }
};
struct Slot {
  sd_bus_slot* slot = nullptr;
  ~Slot() { sd_bus_slot_unref(slot); }
};

std::string Why(int r, const Error& error) {
  if (sd_bus_error_is_set(&error.e) && error.e.message) return error.e.message;
  return std::strerror(-r);
}

NoticeAnswer Unavailable(std::string error) { return {NoticeAnswer::Outcome::Unavailable, {}, std::move(error)}; }

// The answer for our notification, from the signals the service sends to
// every client: the first that names our id counts.
struct Waiting {
  uint32_t id = 0;
  bool done = false;
  NoticeAnswer answer;
};

int OnActionInvoked(sd_bus_message* m, void* data, sd_bus_error*) {
  auto& w = *static_cast<Waiting*>(data);
  uint32_t id = 0;
  const char* key = nullptr;
  if (w.done || sd_bus_message_read(m, "us", &id, &key) < 0 || id != w.id) return 0;
  w.answer = {NoticeAnswer::Outcome::Chosen, key ? key : "", {}};
  w.done = true;
  return 0;
}

int OnClosed(sd_bus_message* m, void* data, sd_bus_error*) {
  auto& w = *static_cast<Waiting*>(data);
  uint32_t id = 0;
  uint32_t reason = 0;
  if (w.done || sd_bus_message_read(m, "uu", &id, &reason) < 0 || id != w.id) return 0;
  w.answer = {NoticeAnswer::Outcome::Closed, {}, {}};
  w.done = true;
  return 0;
}

// Whether the service shows buttons; nothing (with `error`) when there is
// no service to ask.
std::optional<bool> OffersButtons(sd_bus* bus, std::string& error) {
  Error e;
  Message reply;
  int r = sd_bus_call_method(bus, kService, kPath, kInterface, "GetCapabilities", &e.e, &reply.m, "");
  if (r < 0) {
    error = "no notification service: " + Why(r, e);
    return std::nullopt;
  }
  char** capabilities = nullptr;
  if (sd_bus_message_read_strv(reply.m, &capabilities) < 0) return false;
  bool buttons = false;
  for (char** c = capabilities; c && *c; ++c) {
    buttons = buttons || std::strcmp(*c, "actions") == 0;
    std::free(*c);
  }
  std::free(capabilities);
  return buttons;
}

int AppendNotify(sd_bus_message* m, const DesktopNotice& notice, bool buttons) {
  int r = sd_bus_message_append(m, "susss", "Vorlo", uint32_t{0}, "vorlo", notice.summary.c_str(), notice.body.c_str());
  if (r >= 0) r = sd_bus_message_open_container(m, 'a', "s");
  if (buttons)
    for (const auto& [key, label] : notice.actions)
      if (r >= 0) r = sd_bus_message_append(m, "ss", key.c_str(), label.c_str());
  if (r >= 0) r = sd_bus_message_close_container(m);
  // The desktop shows the program's name and icon from its desktop entry.
  if (r >= 0) r = sd_bus_message_append(m, "a{sv}", 1, "desktop-entry", "s", "vorlo");
  if (r >= 0) r = sd_bus_message_append(m, "i", int32_t{-1});
  return r;
}

}  // namespace

NoticeAnswer ShowDesktopNotice(const DesktopNotice& notice, std::chrono::milliseconds wait) {
  Bus bus;
  if (const int r = sd_bus_open_user(&bus.bus); r < 0) return Unavailable(std::string("no session bus: ") + std::strerror(-r));
  std::string error;
  const std::optional<bool> buttons = OffersButtons(bus.bus, error);
  if (!buttons) return Unavailable(error);
  const bool waits = *buttons && !notice.actions.empty();

  // The signals are subscribed to before the notification exists, so that
  // an answer given at once is not missed.
  Waiting w;
  Slot invoked, closed;
  if (waits) {
    int r = sd_bus_match_signal(bus.bus, &invoked.slot, nullptr, kPath, kInterface, "ActionInvoked", OnActionInvoked, &w);
    if (r >= 0) r = sd_bus_match_signal(bus.bus, &closed.slot, nullptr, kPath, kInterface, "NotificationClosed", OnClosed, &w);
    if (r < 0) return Unavailable(std::string("cannot follow the notification service: ") + std::strerror(-r));
  }
  Message call, reply;
  Error e;
  int r = sd_bus_message_new_method_call(bus.bus, &call.m, kService, kPath, kInterface, "Notify");
  if (r >= 0) r = AppendNotify(call.m, notice, waits);
  if (r >= 0) r = sd_bus_call(bus.bus, call.m, 0, &e.e, &reply.m);
  if (r >= 0) r = sd_bus_message_read(reply.m, "u", &w.id);
  if (r < 0) return Unavailable("the notification was not shown: " + Why(r, e));
  if (!waits) return {NoticeAnswer::Outcome::NoButtons, {}, {}};

  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (!w.done) {
    r = sd_bus_process(bus.bus, nullptr);
    if (r < 0) return {NoticeAnswer::Outcome::Closed, {}, std::string("the session bus went away: ") + std::strerror(-r)};
    if (r > 0) continue;
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    if (r = sd_bus_wait(bus.bus, static_cast<uint64_t>(left.count())); r < 0 && r != -EINTR)
      return {NoticeAnswer::Outcome::Closed, {}, std::string("the session bus went away: ") + std::strerror(-r)};
  }
  if (w.done) return w.answer;
  Error ignored;
  sd_bus_call_method(bus.bus, kService, kPath, kInterface, "CloseNotification", &ignored.e, nullptr, "u", w.id);
  return {NoticeAnswer::Outcome::TimedOut, {}, {}};
}

}  // namespace vorlo
