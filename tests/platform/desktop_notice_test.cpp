// The desktop notification client against a notification service of the
// test's own on a private session bus: what it sends, and that the button
// the person presses comes back.
#include "platform/desktop_notice.h"

#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "support/env_guard.h"
#include "support/session_bus.h"

namespace vorlo {
namespace {

using namespace std::chrono_literals;
using testing::PrivateSessionBus;

// A stand-in for the desktop's notification service. It records each
// Notify call and answers it as told: a button pressed, the notification
// closed, or nothing. Before its answer it sends one for another
// notification, as a service does for every program's notifications.
class FakeNotificationServer {
 public:
  enum class Answer { Press, Close, Nothing };

  FakeNotificationServer(const PrivateSessionBus& bus, bool buttons, Answer answer, std::string pressed = {})
      : buttons_(buttons), answer_(answer), pressed_(std::move(pressed)) {
    bus_ = bus.Connect();
    if (!bus_ || sd_bus_add_object_vtable(bus_, &slot_, kPath, kInterface, kVtable, this) < 0 ||
        sd_bus_request_name(bus_, "org.freedesktop.Notifications", 0) < 0)
      return;
    thread_ = std::thread([this] {
      while (!stop_) {
        if (sd_bus_process(bus_, nullptr) > 0) continue;
        sd_bus_wait(bus_, 20000);
      }
    });
  }
  ~FakeNotificationServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    sd_bus_slot_unref(slot_);
    sd_bus_flush_close_unref(bus_);
  }
  bool Running() const { return thread_.joinable(); }

  struct Shown {
    std::string app, icon, summary, body, desktopEntry;
    std::vector<std::string> actions;
  };
  std::vector<Shown> Notified() {
    const std::lock_guard lock(mutex_);
    return shown_;
  }
  std::vector<uint32_t> Withdrawn() {
    const std::lock_guard lock(mutex_);
    return withdrawn_;
  }

 private:
  static constexpr const char* kPath = "/org/freedesktop/Notifications";
  static constexpr const char* kInterface = "org.freedesktop.Notifications";
  static constexpr uint32_t kId = 7;

  static int GetCapabilities(sd_bus_message* m, void* data, sd_bus_error*) {
    auto& self = *static_cast<FakeNotificationServer*>(data);
    sd_bus_message* reply = nullptr;
    sd_bus_message_new_method_return(m, &reply);
    if (self.buttons_)
      sd_bus_message_append(reply, "as", 2, "actions", "body");
    else
      sd_bus_message_append(reply, "as", 1, "body");
    const int r = sd_bus_send(nullptr, reply, nullptr);
    sd_bus_message_unref(reply);
    return r;
  }

  static int Notify(sd_bus_message* m, void* data, sd_bus_error*) {
    auto& self = *static_cast<FakeNotificationServer*>(data);
    Shown shown;
    const char *app = nullptr, *icon = nullptr, *summary = nullptr, *body = nullptr;
    uint32_t replaces = 0;
    sd_bus_message_read(m, "susss", &app, &replaces, &icon, &summary, &body);
    shown = {app, icon, summary, body, {}, {}};
    char** actions = nullptr;
    sd_bus_message_read_strv(m, &actions);
    for (char** a = actions; a && *a; ++a) {
      shown.actions.emplace_back(*a);
      std::free(*a);
    }
    std::free(actions);
    sd_bus_message_enter_container(m, 'a', "{sv}");
    while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
      const char* key = nullptr;
      sd_bus_message_read(m, "s", &key);
      const std::string name = key ? key : "";
      const char* value = nullptr;
      if (name == "desktop-entry" && sd_bus_message_read(m, "v", "s", &value) >= 0 && value)
        shown.desktopEntry = value;
      else
        sd_bus_message_skip(m, "v");
      sd_bus_message_exit_container(m);
    }
    {
      const std::lock_guard lock(self.mutex_);
      self.shown_.push_back(std::move(shown));
    }
    const int r = sd_bus_reply_method_return(m, "u", kId);
    sd_bus* bus = sd_bus_message_get_bus(m);
    if (self.answer_ == Answer::Press) {
      sd_bus_emit_signal(bus, kPath, kInterface, "ActionInvoked", "us", kId + 1, "open-log");
      sd_bus_emit_signal(bus, kPath, kInterface, "ActionInvoked", "us", kId, self.pressed_.c_str());
    } else if (self.answer_ == Answer::Close) {
      sd_bus_emit_signal(bus, kPath, kInterface, "NotificationClosed", "uu", kId + 1, 2u);
      sd_bus_emit_signal(bus, kPath, kInterface, "NotificationClosed", "uu", kId, 2u);
    }
    return r;
  }

  static int CloseNotification(sd_bus_message* m, void* data, sd_bus_error*) {
    auto& self = *static_cast<FakeNotificationServer*>(data);
    uint32_t id = 0;
    sd_bus_message_read(m, "u", &id);
    {
      const std::lock_guard lock(self.mutex_);
      self.withdrawn_.push_back(id);
    }
    return sd_bus_reply_method_return(m, "");
  }

  static constexpr sd_bus_vtable kVtable[] = {
      SD_BUS_VTABLE_START(0),
      SD_BUS_METHOD("GetCapabilities", "", "as", GetCapabilities, SD_BUS_VTABLE_UNPRIVILEGED),
      SD_BUS_METHOD("Notify", "susssasa{sv}i", "u", Notify, SD_BUS_VTABLE_UNPRIVILEGED),
      SD_BUS_METHOD("CloseNotification", "u", "", CloseNotification, SD_BUS_VTABLE_UNPRIVILEGED),
      SD_BUS_SIGNAL("ActionInvoked", "us", 0),
      SD_BUS_SIGNAL("NotificationClosed", "uu", 0),
      SD_BUS_VTABLE_END,
  };

  bool buttons_;
  Answer answer_;
  std::string pressed_;
  sd_bus* bus_ = nullptr;
  sd_bus_slot* slot_ = nullptr;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<Shown> shown_;
  std::vector<uint32_t> withdrawn_;
};

const DesktopNotice kNotice{"Vorlo's scheduled clean-up",
                            "Removed 3 files (12 bytes).",
                            {{"undo", "Undo"}, {"open-log", "Open log"}}};

class DesktopNoticeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!bus_.Ready()) GTEST_SKIP() << "dbus-daemon could not be started (Debian package dbus)";
    env_.Set("DBUS_SESSION_BUS_ADDRESS", bus_.Address());
  }
  PrivateSessionBus bus_;
  testing::EnvGuard env_;
};

TEST_F(DesktopNoticeTest, ThePressedButtonComesBack) {
  using Answer = FakeNotificationServer::Answer;
  using Outcome = NoticeAnswer::Outcome;
  const struct {
    const char* name;
    bool buttons;
    Answer answer;
    const char* pressed;
    Outcome outcome;
  } cases[] = {
      {"Undo", true, Answer::Press, "undo", Outcome::Chosen},
      {"Open log", true, Answer::Press, "open-log", Outcome::Chosen},
      {"closed", true, Answer::Close, "", Outcome::Closed},
      {"no answer", true, Answer::Nothing, "", Outcome::TimedOut},
      {"a service without buttons", false, Answer::Nothing, "", Outcome::NoButtons},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeNotificationServer server(bus_, c.buttons, c.answer, c.pressed);
    ASSERT_TRUE(server.Running());
    const NoticeAnswer answer = ShowDesktopNotice(kNotice, 300ms);
    EXPECT_EQ(answer.outcome, c.outcome) << answer.error;
    EXPECT_EQ(answer.action, c.pressed);
    const auto shown = server.Notified();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].app, "Vorlo");
    EXPECT_EQ(shown[0].icon, "vorlo");
    EXPECT_EQ(shown[0].desktopEntry, "vorlo");
    EXPECT_EQ(shown[0].summary, kNotice.summary);
    EXPECT_EQ(shown[0].body, kNotice.body);
    using Actions = std::vector<std::string>;
    EXPECT_EQ(shown[0].actions, c.buttons ? Actions({"undo", "Undo", "open-log", "Open log"}) : Actions());
    // A notification nobody answered is withdrawn, so no button stays that
    // nobody listens to.
    using Ids = std::vector<uint32_t>;
    EXPECT_EQ(server.Withdrawn(), c.outcome == Outcome::TimedOut ? Ids{7} : Ids{});
  }
}

TEST_F(DesktopNoticeTest, WithoutAServiceOrABusNothingIsShown) {
  NoticeAnswer answer = ShowDesktopNotice(kNotice, 300ms);
  EXPECT_EQ(answer.outcome, NoticeAnswer::Outcome::Unavailable);
  EXPECT_TRUE(answer.error.starts_with("no notification service: ")) << answer.error;

  env_.Set("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
  env_.Set("XDG_RUNTIME_DIR", std::nullopt);
  answer = ShowDesktopNotice(kNotice, 300ms);
  EXPECT_EQ(answer.outcome, NoticeAnswer::Outcome::Unavailable);
  EXPECT_TRUE(answer.error.starts_with("no session bus: ")) << answer.error;
}

}  // namespace
}  // namespace vorlo
