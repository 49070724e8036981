#include "platform/environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file_ops.h"

namespace vorlo {

namespace {

std::string WithoutTrailingSlash(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

std::string WithTrailingSlash(std::string s) {
  if (!s.empty() && s.back() != '/') s += '/';
  return s;
}

std::string PasswdHome() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(size > 0 ? static_cast<size_t>(size) : 16384);
  struct passwd pw;
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found || !found->pw_dir)
    return {};
  return found->pw_dir;
}

// An XDG base folder: the variable when it holds an absolute path, else the
// default below the home folder.
std::string XdgFolder(const char* variable, const char* belowHome) {
  const std::string value = GetEnv(variable);
  if (!value.empty() && value[0] == '/') return WithoutTrailingSlash(value);
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  return (home == "/" ? std::string() : home) + belowHome;
}

}  // namespace

std::string GetEnv(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  return v ? std::string(v) : std::string();
}

std::string HomeFolder() {
  std::string home = GetEnv("HOME");
  if (home.empty() || home[0] != '/') home = PasswdHome();
  return WithoutTrailingSlash(home);
}

std::string DataHome() { return XdgFolder("XDG_DATA_HOME", "/.local/share"); }

std::string ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", "/.config"); }

std::string CacheHome() { return XdgFolder("XDG_CACHE_HOME", "/.cache"); }

std::string getWinSpecialFolder(int CSIDLFolder) {
  switch (CSIDLFolder) {
    case CSIDL_APPDATA:
      return WithTrailingSlash(ConfigHome());
    case CSIDL_LOCAL_APPDATA:
      return WithTrailingSlash(DataHome());
    default:
      return {};
  }
}

std::string IECache() { return {}; }

std::string GetTempDir() { return GetEnv("TMPDIR"); }

std::string SystemTempPath() {
  const std::string tmpdir = GetEnv("TMPDIR");
  if (!tmpdir.empty() && tmpdir[0] == '/' && FolderExists(tmpdir)) return WithTrailingSlash(tmpdir);
  return "/tmp/";
}

std::string ProgramFolder() {
  std::string exe(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
  if (n <= 0 || static_cast<size_t>(n) >= exe.size()) return {};
  exe.resize(static_cast<size_t>(n));
  const size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : exe.substr(0, slash);
}

std::string WorkingFolder() {
  std::string folder(4096, '\0');
  while (::getcwd(folder.data(), folder.size()) == nullptr) {
    if (errno != ERANGE) return {};
    folder.resize(folder.size() * 2);
  }
  folder.resize(std::char_traits<char>::length(folder.c_str()));
  return folder;
}

std::string DataFolder() {
  const std::string base = getWinSpecialFolder(CSIDL_LOCAL_APPDATA);
  return base.empty() ? std::string() : base + "Vorlo/";
}

uint32_t EffectiveUserId() { return ::geteuid(); }

}  // namespace vorlo
