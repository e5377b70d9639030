// Arbitrary bytes as a settings file: the parse keeps every byte, reads never
// write past their buffer, a written key reads back (cut to the buffer) while
// every other key reads as before, and the model after writes behaves like a
// fresh parse of its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/fixed_text.h"
#include "profile/profile_model.h"
#include "profile/profile_syntax.h"

using vsmr::profile::Model;

namespace {

// Name pieces: letters in both cases (matching ignores ASCII case), a comment
// mark, and double-byte characters whose trail bytes are 0x5C or letters; the
// pieces after kCleanPieces make names that do not read back as written.
constexpr std::string_view kPieces[] = {"a", "A", "k", "K", "1", ";", "_", "ソ", "表",
                                        "\x83\x41", "\x83\x61", " ", "=", "[", "]",
                                        "\x83", "\r", "\t"};
constexpr std::size_t kCleanPieces = 11;

// Input layout: [control bytes][name bytes][0xFF][value][0xFF][file].
struct Input {
  std::string section, key, value;
  bool clean = true;  // the names read back as written
  std::string_view file;
  std::size_t small = 1;  // a small buffer length
};

std::string NameFrom(std::string_view bytes, bool& clean) {
  std::string name;
  for (unsigned char c : bytes) {
    std::size_t piece = c % std::size(kPieces);
    clean = clean && piece < kCleanPieces;
    name += kPieces[piece];
  }
  return name;
}

std::string_view Take(std::string_view& rest) {
  std::size_t end = rest.find('\xff');
  std::string_view part = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return part;
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

std::string ReadText(const Model& m, std::string_view section, std::string_view key,
                     std::size_t length) {
  constexpr char kSentinel = '\x7f';
  std::string buffer(length + 8, kSentinel);
  m.ReadString(section, key, "<absent>", buffer.data(), length);
  std::size_t n = buffer.find('\0');
  Check(n < length, "terminator within the buffer");
  for (std::size_t i = n + 1; i < buffer.size(); ++i) {
    Check(buffer[i] == kSentinel, "nothing written after the terminator");
  }
  return buffer.substr(0, n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  if (rest.size() < 2) return 0;
  Input in;
  in.small = 1 + static_cast<unsigned char>(rest[0]) % 12;
  std::size_t split = static_cast<unsigned char>(rest[1]) % 4;
  rest.remove_prefix(2);
  std::string_view names = Take(rest);
  in.section = NameFrom(names.substr(0, split), in.clean);
  in.key = NameFrom(names.substr(std::min(split, names.size())), in.clean);
  in.value = std::string(Take(rest));
  in.file = rest;
  in.clean = in.clean && !in.section.empty() && !in.key.empty();

  Model model = Model::Parse(in.file);
  Check(model.Bytes() == in.file, "parsing keeps every byte");

  // Keys whose reads must not change when another key is written.
  const std::string probes[][2] = {{"a", "k"}, {"A", "K"}, {"ソ", "表"}, {in.section, "a"},
                                   {"a", in.key}, {"k", "1"}};
  std::string before[std::size(probes)];
  for (std::size_t i = 0; i < std::size(probes); ++i) {
    before[i] = ReadText(model, probes[i][0], probes[i][1], in.small);
    model.ReadInt(probes[i][0], probes[i][1], 5);
  }

  model.Write(in.section, in.key, in.value);
  std::string written = model.Bytes();
  Model reparsed = Model::Parse(written);
  Check(reparsed.Bytes() == written, "written bytes parse back whole");

  // What reads back: one line, without surrounding blanks or one pair of quotes.
  std::string_view line = vsmr::profile::SingleLine(in.value);
  std::string expected(vsmr::profile::StripQuotes(vsmr::profile::TrimBlanks(line)));
  std::string cut(in.small, '\0');
  vsmr::CopyCut(cut.data(), cut.size(), expected);
  cut.resize(std::strlen(cut.c_str()));

  for (const Model* m : {&model, &reparsed}) {
    if (in.clean) {
      Check(ReadText(*m, in.section, in.key, expected.size() + 1) == expected,
            "written key reads back");
      Check(ReadText(*m, in.section, in.key, in.small) == cut, "written key reads back cut");
    }
    for (std::size_t i = 0; i < std::size(probes); ++i) {
      if (!in.clean ||
          (vsmr::profile::FoldName(probes[i][0]) == vsmr::profile::FoldName(in.section) &&
           vsmr::profile::FoldName(probes[i][1]) == vsmr::profile::FoldName(in.key))) {
        continue;
      }
      Check(ReadText(*m, probes[i][0], probes[i][1], in.small) == before[i],
            "other keys unchanged");
    }
  }
  if (in.clean) {
    Model again = reparsed;
    again.Write(in.section, in.key, in.value);
    Check(again.Bytes() == written, "writing the same value again changes nothing");
  }
  // The model after a write behaves like a fresh parse of its bytes: the same
  // later writes give the same bytes (a document equals single writes).
  const std::string next_key = in.key.empty() ? "k" : in.key.substr(0, in.key.size() / 2 + 1);
  for (Model* m : {&model, &reparsed}) {
    m->Write(in.section, in.key, in.value);
    m->Write(in.section, next_key, "second");
    m->Write(next_key, in.section, in.value);
  }
  Check(model.Bytes() == reparsed.Bytes(), "document equals reparsed file");
  return 0;
}
