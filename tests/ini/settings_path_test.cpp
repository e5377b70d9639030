// The settings file sits beside the executable; a trail byte 0x5C in a folder
// name is not a path separator.
#include <gtest/gtest.h>

#include "settings/settings_access.h"

namespace vsmr {
namespace {

TEST(SettingsPath, BesideExecutable) {
  struct Case {
    const char* name;
    const char* exe;
    const char* expected;
  } cases[] = {
      {"plain", "C:\\Tools\\vesmira.exe", "C:\\Tools\\vsmrsys.ini"},
      {"root folder", "C:\\vesmira.exe", "C:\\vsmrsys.ini"},
      {"folder ending in ソ", "C:\\ソ\\vesmira.exe", "C:\\ソ\\vsmrsys.ini"},
      {"executable name with trail bytes", "D:\\予定表\\能.exe", "D:\\予定表\\vsmrsys.ini"},
      {"no folder", "vesmira.exe", "\\vsmrsys.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, SettingsPath(c.exe));
  }
}

}  // namespace
}  // namespace vsmr
