// Throughput of ComposeMailText on a 1 MiB ISO-2022-JP message and on a 1 MiB
// UTF-8 one against iconv(3) converting the same body to CP932, measured in
// one run.
#include <iconv.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "mail/mime/mail_compose.h"

namespace {

// CPU time of this thread: the build machines are shared, and wall time would
// count the time other processes hold the core.
double Now() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// One line of typical Japanese mail text: kanji and kana with ASCII between,
// in ISO-2022-JP and in UTF-8.
const char kLine[] =
    "\x1b$B$3$s$K$A$O!\";3ED$G$9!#Mh=5$N2q5D$N;qNA$rAw$j$^$9!#\x1b(B"
    " ABC 123 \x1b$B%F%9%H\x1b(B (2003/01/05)\r\n";
const char kUtf8Line[] =
    "\xe3\x81\x93\xe3\x82\x93\xe3\x81\xab\xe3\x81\xa1\xe3\x81\xaf\xe3\x80\x81\xe5\xb1\xb1"
    "\xe7\x94\xb0\xe3\x81\xa7\xe3\x81\x99\xe3\x80\x82\xe6\x9d\xa5\xe9\x80\xb1\xe3\x81\xae"
    "\xe4\xbc\x9a\xe8\xad\xb0\xe3\x81\xae\xe8\xb3\x87\xe6\x96\x99\xe3\x82\x92\xe9\x80\x81"
    "\xe3\x82\x8a\xe3\x81\xbe\xe3\x81\x99\xe3\x80\x82 ABC 123 \xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88"
    " (2003/01/05)\r\n";

std::string MakeBody(std::string_view line, std::size_t size) {
  std::string body;
  while (body.size() + line.size() <= size) body += line;
  body.append(size - body.size(), 'x');
  return body;
}

// Seconds per call of one round of about 0.2 s.
template <typename F>
double RoundTime(F&& call) {
  int calls = 0;
  double start = Now();
  double elapsed = 0;
  do {
    call();
    ++calls;
    elapsed = Now() - start;
  } while (elapsed < 0.2);
  return elapsed / calls;
}

struct Figures {
  double ours, string_form, theirs;
  std::size_t shown, converted;
};

// The view text of `message` (whose body is `body`) against iconv converting
// `body` from `from` to CP932.
Figures Measure(const std::string& message, const std::string& body, const char* from) {
  iconv_t cd = iconv_open("CP932", from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    std::perror("iconv_open");
    std::exit(1);
  }
  Figures f{1e9, 1e9, 1e9, 0, 0};
  std::vector<char> out(body.size() * 2);
  auto run_iconv = [&] {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(body.data());
    std::size_t in_left = body.size();
    char* o = out.data();
    std::size_t out_left = out.size();
    iconv(cd, &in, &in_left, &o, &out_left);
    f.converted = out.size() - out_left;
  };
  // The mail job's way: the retrieved text is copied into the job's message
  // buffer (it is decoded in place) and composed into the display buffer.
  std::vector<char> work(message.size() + 1);
  std::vector<char> display(message.size() + vsmr::kMailDisplaySpare);
  auto run_ours = [&] {
    std::memcpy(work.data(), message.c_str(), message.size() + 1);
    f.shown = vsmr::ComposeMailText(work.data(), message.size(), display.data(), display.size());
  };
  // The convenience form that allocates both buffers on every call.
  auto run_string = [&] { vsmr::ComposeMailText(message, message.size()); };

  // Rounds alternate between the three so that all see the same machine; the
  // best round of each counts.
  for (int round = 0; round < 7; ++round) {
    f.ours = std::min(f.ours, RoundTime(run_ours));
    f.string_form = std::min(f.string_form, RoundTime(run_string));
    f.theirs = std::min(f.theirs, RoundTime(run_iconv));
  }
  iconv_close(cd);
  return f;
}

void Print(const char* name, const Figures& f, std::size_t body_size) {
  const double mib = static_cast<double>(body_size) / (1 << 20);
  std::printf("%s: ComposeMailText, job buffers: %.1f MiB/s (%zu bytes shown)\n", name, mib / f.ours,
              f.shown);
  std::printf("%s: ComposeMailText, std::string form: %.1f MiB/s\n", name, mib / f.string_form);
  std::printf("%s: iconv -> CP932: %.1f MiB/s (%zu bytes)\n", name, mib / f.theirs, f.converted);
  std::printf("%s: ratio ComposeMailText / iconv: %.2fx (std::string form %.2fx)\n", name,
              f.theirs / f.ours, f.theirs / f.string_form);
}

}  // namespace

int main() {
  const std::size_t kBodySize = 1 << 20;
  const std::string head =
      "+OK 1048800 octets\r\nFrom: taro@example.jp\r\nTo: hanako@example.jp\r\n"
      "Subject: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=\r\nDate: Sun, 5 Jan 2003 12:34:56 +0900\r\n";
  const std::string jis_body = MakeBody(kLine, kBodySize);
  const std::string jis = head + "Content-Type: text/plain; charset=\"iso-2022-jp\"\r\n\r\n" + jis_body;
  const std::string utf8_body = MakeBody(kUtf8Line, kBodySize);
  const std::string utf8 = head + "Content-Type: text/plain; charset=\"utf-8\"\r\n"
                                  "Content-Transfer-Encoding: 8bit\r\n\r\n" + utf8_body;
  Print("ISO-2022-JP", Measure(jis, jis_body, "ISO-2022-JP"), kBodySize);
  Print("UTF-8", Measure(utf8, utf8_body, "UTF-8"), kBodySize);
  return 0;
}
