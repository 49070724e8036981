// The environment and the user's special folders: XDG data, config and cache
// homes, the temporary folders, the program's own folder and Vorlo's data
// folder. Nothing here creates a folder.
#pragma once

#include <cstdint>
#include <string>

namespace vorlo {

// The value of an environment variable; empty when it is not set.
std::string GetEnv(const std::string& name);

// The user's home folder: $HOME, else the password database; empty when
// neither knows it. No trailing "/" (except for "/" itself).
std::string HomeFolder();

// $XDG_DATA_HOME, default ~/.local/share; $XDG_CONFIG_HOME, default
// ~/.config. A relative value is ignored, as the XDG rules require.
// No trailing "/"; empty when the home folder is unknown.
std::string DataHome();
std::string ConfigHome();
// $XDG_CACHE_HOME, default ~/.cache; the same rules.
std::string CacheHome();

inline constexpr int CSIDL_APPDATA = 26;
inline constexpr int CSIDL_LOCAL_APPDATA = 28;
inline constexpr int CSIDL_INTERNET_CACHE = 32;

// CSIDL_APPDATA: config home; CSIDL_LOCAL_APPDATA: data home; each with a
// trailing "/". Empty for any other number and when the folder is unknown.
std::string getWinSpecialFolder(int CSIDLFolder);

// There is no internet cache folder on Linux: always empty.
std::string IECache();

// The value of TMPDIR as it is; empty when unset.
std::string GetTempDir();

// $TMPDIR when it is an absolute path of an existing folder, else "/tmp";
// with a trailing "/".
std::string SystemTempPath();

// The folder of the running program file, without a trailing "/".
std::string ProgramFolder();

// The process's current folder; empty when it cannot be read.
std::string WorkingFolder();

// The user the process acts as (its effective user id).
uint32_t EffectiveUserId();

// Vorlo's data folder: data home + "/Vorlo/"; empty when the home is unknown.
std::string DataFolder();

}  // namespace vorlo
