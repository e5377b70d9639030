// Times one full save of 600 keys: ProfileDocument (one parse, one atomic
// replacement) against 600 WritePrivateProfileStringA calls, in the same run,
// and checks that both leave the same bytes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "settings/settings_access.h"

namespace {

struct Entry {
  std::string section, key, value;
};

// The shape of the program's own file: its sections, compound values, and an
// older file's per-key launcher entries that make up the rest.
std::vector<Entry> SaveSet() {
  std::vector<Entry> set;
  char key[32];
  for (int i = 1; i <= 13; ++i) set.push_back({"UserWindowData", "Value" + std::to_string(i), "100"});
  for (int i = 1; i <= 8; ++i) {
    std::snprintf(key, sizeof key, "CommandTimer%02d", i);
    set.push_back({"TimerAlarmData", key, "0,00:00,"});
  }
  for (int i = 1; i <= 5; ++i) {
    set.push_back({"MailPopSetting", "Mail" + std::to_string(i) + "AccountData",
                   "1\tpop.example.jp\tuser\tpass\tC:\\音\\new.wav"});
  }
  for (int i = 1; i <= 64; ++i) {
    std::snprintf(key, sizeof key, "Launcher%02dData", i);
    set.push_back({"ButtonLauncher", key, "1\tC:\\Program Files\\ソフト\\a.exe\t表示"});
    std::snprintf(key, sizeof key, "Launcher%02dIcon", i);
    set.push_back({"ButtonLauncher", key, "0\tC:\\Tools\\vesmira.exe"});
  }
  for (int i = 1; set.size() < 600; ++i) {
    set.push_back({"OtherSettings", "ApplicationPath" + std::to_string(i), "not found"});
  }
  return set;
}

double Seconds() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  const std::vector<Entry> set = SaveSet();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string platform_path = std::string(temp) + "vsmr_bench_platform.ini";
  const std::string ours_path = std::string(temp) + "vsmr_bench_ours.ini";
  DeleteFileA(platform_path.c_str());
  DeleteFileA(ours_path.c_str());
  std::vector<double> platform, ours;
  // Round 0 creates the files; later rounds replace every value in place.
  for (int round = 0; round < 5; ++round) {
    const std::string suffix = std::to_string(round);
    double t0 = Seconds();
    for (const Entry& e : set) {
      WritePrivateProfileStringA(e.section.c_str(), e.key.c_str(), (e.value + suffix).c_str(),
                                 platform_path.c_str());
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, platform_path.c_str());
    double t1 = Seconds();
    vsmr::ProfileDocument doc = vsmr::ProfileDocument::Load(ours_path);
    for (const Entry& e : set) doc.WriteString(e.section, e.key, e.value + suffix);
    doc.Save(ours_path);
    double t2 = Seconds();
    platform.push_back(t1 - t0);
    ours.push_back(t2 - t1);
  }
  std::string a, b;
  vsmr::ReadWholeFile(platform_path, a);
  vsmr::ReadWholeFile(ours_path, b);
  std::printf("%zu keys, %zu bytes, files identical: %s\n", set.size(), b.size(),
              a == b ? "yes" : "NO");
  std::printf("platform, 600 single writes: median %.2f ms\n", Median(platform) * 1e3);
  std::printf("ProfileDocument save:        median %.2f ms\n", Median(ours) * 1e3);
  std::printf("ratio: %.1fx faster\n", Median(platform) / Median(ours));
  DeleteFileA(platform_path.c_str());
  DeleteFileA(ours_path.c_str());
  return a == b ? 0 : 1;
}
