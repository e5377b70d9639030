// The same reads and writes through the platform's profile API and through
// ours, from the same starting file: results and file bytes must agree, except
// in the rows marked with the reason why ours behaves differently. Those rows
// assert our own behaviour and record what the platform gave.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "profile/differential_support_win.h"
#include "support/temp_dir.h"

namespace vsmr::diff {
namespace {

struct Row {
  const char* name;
  std::optional<std::string> start;  // nullopt: no file
  std::vector<Op> ops;
  // Rows where the platform differs: why, and what ours must give instead.
  const char* difference = nullptr;
  std::vector<std::string> ours_reads = {};
  std::string ours_file = {};
};

std::vector<Op> ManyKeys() {
  std::vector<Op> ops;
  const char* sections[] = {"UserWindowData", "TimerAlarmData", "MailPopSetting", "ButtonLauncher"};
  for (int pass = 0; pass < 2; ++pass) {
    for (const char* s : sections) {
      for (int k = 1; k <= 150; ++k) {
        char key[32];
        std::snprintf(key, sizeof key, "Launcher%02dData", k);
        ops.push_back(W(s, key, std::to_string(pass) + "\tC:\\ソフト\\表" + std::to_string(k)));
      }
    }
  }
  ops.push_back(R("ButtonLauncher", "Launcher150Data", 520));
  return ops;
}

const std::string k40 = "0123456789012345678901234567890123456789";
const std::string kLong(3000, 'L');

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      // Reads of a missing file give the defaults and create nothing.
      {"absent file read", std::nullopt, {R("A", "k"), RI("A", "k", -5)}},
      // The first write creates the file with its section.
      {"absent file write", std::nullopt, {W("A", "k", "v"), R("A", "k")}},
      // A zero-byte file is like a missing one.
      {"empty file write", "", {W("A", "k", "v")}},
      // A new section goes to the end of the file, without a blank line.
      {"absent section", "[A]\r\nk=v\r\n", {R("B", "k"), W("B", "x", "1")}},
      // The same key in another section is left alone.
      {"same key other section", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n",
       {W("B", "k", "3"), R("A", "k"), R("B", "k")}},
      // Replacement keeps the line's place.
      {"in-place replacement", "[A]\r\na=1\r\nk=v\r\nz=2\r\n",
       {W("A", "k", "a longer value"), W("A", "a", "")}},
      // A new key goes to the end of its own section.
      {"new key in first section", "[A]\r\nk=v\r\n[B]\r\nx=1\r\n", {W("A", "k2", "v2")}},
      // Writing into the middle section of three.
      {"middle section of three", "[A]\r\nk=v\r\n[B]\r\nk=w\r\n[C]\r\nk=x\r\n",
       {W("B", "n", "1"), W("B", "k", "w2")}},
      // Comments and keys the program does not know are kept.
      {"unknown keys and comments kept", "; head\r\n[A]\r\n;c1\r\nold=1\r\nk=v\r\nfoo\r\n",
       {W("A", "k", "w"), W("A", "q", "1")}},
      // Blanks inside other lines: the platform rewrites them.
      {"other lines keep their blanks", "; head\r\n[A]\r\n ; c \r\n k = v \r\nother = 1\r\n",
       {W("A", "k", "w"), R("A", "other")},
       "the platform rewrites every line from its parsed form, dropping blanks around the "
       "names and values of lines that were not written; ours keeps them byte for byte",
       {"1"}, "; head\r\n[A]\r\n ; c \r\nk=w\r\nother = 1\r\n"},
      // Writing the value a key already holds changes nothing.
      {"unchanged value", "[A]\r\n k = v \r\n", {W("A", "k", "v")}},
      // An empty value is written and reads as empty text, or as the integer default.
      {"empty value", std::nullopt, {W("A", "k", ""), R("A", "k"), RI("A", "k", 7)}},
      // Integers are written as "%d".
      {"integer -12", std::nullopt,
       {WI("A", "n", -12), RI("A", "n"), WI("A", "min", INT32_MIN), RI("A", "min")}},
      // The leading number counts; letters after it do not.
      {"12abc", "[A]\r\nk=12abc\r\n", {RI("A", "k")}},
      // Letters alone read as 0.
      {"letters only", "[A]\r\nk=abc\r\n", {RI("A", "k")}},
      // Signs, blanks and quotes around numbers.
      {"integer forms", "[A]\r\na=+5\r\nb= 5 \r\nc=\"7\"\r\nd=-\r\ne=- 3\r\nf=010\r\n",
       {RI("A", "a"), RI("A", "b"), RI("A", "c"), RI("A", "d"), RI("A", "e"), RI("A", "f")}},
      // Numbers out of the 32-bit range wrap.
      {"integer overflow", "[A]\r\na=4294967297\r\nb=2147483648\r\nc=-2147483649\r\n",
       {RI("A", "a"), RI("A", "b"), RI("A", "c")}},
      // "0x" is no number base for us.
      {"hexadecimal text", "[A]\r\na=0x10\r\nb=-0x10\r\n", {RI("A", "a"), RI("A", "b")},
       "the platform reads a C-style hexadecimal number after \"0x\"; ours reads the leading "
       "decimal number only, as the settings file defines integers",
       {"0", "0"}, "[A]\r\na=0x10\r\nb=-0x10\r\n"},
      // A value of 40 characters read with length 32 gives 31 of them.
      {"cut to length - 1", "[A]\r\nk=" + k40 + "\r\n",
       {R("A", "k", 32), R("A", "k", 1), R("A", "k", 0), R("A", "none", 3)}},
      // Values of thousands of bytes are written and read whole, or cut.
      {"long value", std::nullopt, {W("A", "k", kLong), R("A", "k", 4000), R("A", "k", 1200)}},
      // CR LF files.
      {"CR LF file", "[A]\r\nk=v\r\n[B]\r\nx=1\r\n", {R("B", "x"), W("B", "x", "2")}},
      // LF files read like CR LF files.
      {"LF file read", "[A]\nk=v\n[B]\ny=2\n", {R("A", "k"), R("B", "y")}},
      // Written LF files: ours keeps their line ends.
      {"LF file write", "[A]\nk=v\n[B]\ny=2\n", {W("A", "k", "w"), W("B", "z", "3")},
       "the platform rewrites the whole file with CR LF; ours keeps the line ends of lines it "
       "does not add and ends added lines with CR LF",
       {}, "[A]\nk=w\n[B]\ny=2\nz=3\r\n"},
      // Lone CR line ends.
      {"CR file", "[A]\rk=1\rj=2\r", {R("A", "j"), W("A", "j", "3")},
       "the platform rewrites the whole file with CR LF; ours keeps the lines' own ends",
       {"2"}, "[A]\rk=1\rj=3\r"},
      // Blank lines are read over.
      {"blank lines read", "\r\n[A]\r\n\r\nk=v\r\n\r\n[B]\r\n\r\ny=2\r\n",
       {R("A", "k"), R("B", "y")}},
      // Blank lines between sections stay; the new key goes before them.
      {"blank lines kept", "[A]\r\nk=v\r\n\r\n[B]\r\ny=2\r\n", {W("A", "x", "1")},
       "the platform drops every blank line when it rewrites the file; ours keeps them",
       {}, "[A]\r\nk=v\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"},
      // A file of blank lines only gets its first section after them.
      {"only blank lines", "\r\n\r\n", {W("A", "k", "1")},
       "the platform drops the blank lines; ours keeps them", {},
       "\r\n\r\n[A]\r\nk=1\r\n"},
      // The first of two equal keys is read and replaced.
      {"duplicate keys", "[A]\r\nk=1\r\nk=2\r\n", {R("A", "k"), W("A", "k", "3"), R("A", "k")}},
      // Only the first of two equal sections counts.
      {"duplicate sections", "[A]\r\nk=1\r\n[A]\r\nj=2\r\n", {R("A", "j"), W("A", "j", "3")}},
      // Blanks around names and values are not part of them.
      {"surrounding blanks read", "[A]\r\n\tk \t= \t v w \t\r\n", {R("A", "k")}},
      // Written surrounding blanks: ours writes the value as given.
      {"surrounding blanks written", std::nullopt, {W("A", "k", "  sp  "), R("A", "k")},
       "the platform drops the blanks before a written value; ours writes the value as given "
       "(both read it back without blanks)",
       {"sp"}, "[A]\r\nk=  sp  \r\n"},
      // One pair of matching quotes around a value is removed on reading.
      {"quoted values", "[A]\r\nq=\"abc\"\r\nr='x'\r\ns=\" a\r\nt= \" b \" \r\nu=\"\"\r\n",
       {R("A", "q"), R("A", "r"), R("A", "s"), R("A", "t"), R("A", "u"), R("A", "q", 3)}},
      // Quotes are written as given.
      {"quotes written", std::nullopt, {W("A", "k", "\"C:\\a b\\c.exe\" -x"), R("A", "k")}},
      // Tabs at the end of a value are blanks.
      {"trailing tabs", "[A]\r\nk=0\t\t\r\n", {R("A", "k")}},
      // Ideographic spaces are characters, not blanks.
      {"ideographic spaces", "[A]\r\nk=　全角　\r\n", {R("A", "k")}},
      // Trail bytes 0x5C in values.
      {"Japanese values with 0x5C", std::nullopt,
       {W("A", "k", "ソ表能\\"), R("A", "k"), W("A", "k", "予定表"), R("A", "k")}},
      // Trail bytes 0x5C in section and key names.
      {"Japanese names", "[表示]\r\n能力=ソ\r\n",
       {R("表示", "能力"), W("表示", "能力", "ソフト"), W("表示", "機能", "1"), W("ソ", "表", "2")}},
      // A cut that falls inside a double-byte character.
      {"cut inside a double-byte character", "[A]\r\nk=ソソ\r\n",
       {R("A", "k", 4), R("A", "k", 3), R("A", "k", 2)},
       "the platform cuts whole characters but returns a length that leaves buffer bytes it "
       "never wrote before the terminator; ours cuts at length - 1 bytes and writes them all",
       {"ソ\x83", "ソ", "\x83"}, "[A]\r\nk=ソソ\r\n"},
      // A cut on a character boundary.
      {"cut at a double-byte boundary", "[A]\r\nk=ソフト\r\n", {R("A", "k", 5), R("A", "k", 7)}},
      // The last line without a line end gets one before a new key.
      {"no final line end, new key", "[A]\r\nk=v", {W("A", "x", "1")}},
      // ...and before a new section.
      {"no final line end, new section", "[A]\r\nk=v", {W("B", "x", "1")}},
      // ...and when it is the line replaced.
      {"no final line end, replaced", "[A]\r\nk=v", {W("A", "k", "w")}},
      // A header alone.
      {"empty section", "[A]", {R("A", "k"), W("A", "k", "1")}},
      // Names match without regard to ASCII case; the file keeps its spelling.
      {"case of names", "[UserWindowData]\r\nWindowPositionX=10\r\n",
       {RI("userwindowdata", "WINDOWPOSITIONX"), WI("USERWINDOWDATA", "windowpositionx", -20)}},
      // Letters that are trail bytes of double-byte characters are not folded.
      {"trail bytes are not letters", "[アイ]\r\nq=1\r\n", {R("\x83\x61\x83\x43", "q")}},
      // Keys before the first section belong to none.
      {"keys before first section", "k=0\r\n[A]\r\nj=1\r\n", {R("A", "k"), W("A", "k", "2")}},
      // The value starts after the first equals sign.
      {"equals sign in value", "[A]\r\nk==v\r\n", {R("A", "k"), W("A", "j", "a=b"), R("A", "j")}},
      // A header may carry text after its bracket; blanks around it.
      {"header forms", "[A] ; note\r\nk=1\r\n  [B]  \r\nk=2\r\n", {R("A", "k"), R("B", "k")}},
      // A header with blanks inside the brackets.
      {"header with inner blanks", "[ A ]\r\nk=1\r\n", {R("A", "k"), W("A", "k", "2")},
       "the platform rewrites the header without its blanks; ours keeps the line", {"1"},
       "[ A ]\r\nk=2\r\n"},
      // A line that opens a bracket but never closes it is no header.
      {"broken header", "[A\r\nk=1\r\n", {R("A", "k"), W("A", "k", "2")}},
      // A key line without "=": no key for reading.
      {"key without equals sign", "[A]\r\nk\r\n", {R("A", "k"), W("A", "k", "2"), R("A", "k")},
       "the platform fills the line that holds only the name with the value; ours reads and "
       "writes key lines only, so the old line stays and the key is added",
       {"DEF", "2"}, "[A]\r\nk\r\nk=2\r\n"},
      // A line break inside a written value.
      {"line break in value", std::nullopt, {W("A", "k", "a\r\nb=c"), R("A", "b")},
       "the platform writes the line break into the file, which turns the rest of the value "
       "into a key of its own; ours ends the value at the line break",
       {"DEF"}, "[A]\r\nk=a\r\n"},
      // A key name that makes its line look like a section header.
      {"key that reads as a header", "[A]\r\nk=1\r\n", {W("A", "[x]", "v"), R("A", "[x]")},
       "the platform writes \"[x]=v\", which reads back as a section and no longer as the key; "
       "ours refuses a key line it could not read back",
       {"DEF"}, "[A]\r\nk=1\r\n"},
      // Default text with blanks after it.
      {"default with trailing blanks", std::nullopt, {R("A", "k", 100, " d ")},
       "the platform drops trailing spaces of the default; ours gives the default as passed",
       {" d "}, kAbsent},
      // Default text in quotes.
      {"default in quotes", std::nullopt, {R("A", "k", 100, "\"d\"")},
       "the platform removes quotes around the default; ours gives the default as passed",
       {"\"d\""}, kAbsent},
      // The default for a compound key with empty fields keeps its tabs.
      {"default with tabs", std::nullopt, {R("ButtonLauncher", "Launcher01Data", 520, "0\t\t")}},
      // An old end-of-file mark after the last line.
      {"end-of-file mark", "[A]\r\nk=v\r\n\x1a", {R("A", "k"), W("A", "j", "2")},
       "the platform drops the 0x1A line as blank when it rewrites the file; ours keeps it",
       {"v"}, "[A]\r\nk=v\r\nj=2\r\n\x1a"},
      // A NUL byte inside a value ends it.
      {"NUL in value", std::string("[A]\r\nk=a\0b\r\n", 12), {R("A", "k")}},
      // A whole save: 600 keys in four sections, each written twice.
      {"600 keys written twice", std::nullopt, ManyKeys()},
  };
  return rows;
}

bool SameOutcome(const Outcome& a, const Outcome& b) {
  return a.reads == b.reads && a.file == b.file;
}

TEST(ProfileDifferential, PlatformAndOurs) {
  std::vector<std::string> notes;
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    Outcome platform = RunOps(Side::kPlatform, dir.File("platform.ini"), row.start, row.ops);
    Outcome ours = RunOps(Side::kOurs, dir.File("ours.ini"), row.start, row.ops);
    Outcome doc = RunOps(Side::kDocument, dir.File("document.ini"), row.start, row.ops);
    EXPECT_FALSE(ours.wrote_past_terminator);
    // The document gives what the single-key functions give, always.
    EXPECT_TRUE(SameOutcome(ours, doc)) << "ours:     " << Describe(ours)
                                        << "\ndocument: " << Describe(doc);
    if (!row.difference) {
      EXPECT_TRUE(SameOutcome(platform, ours)) << "platform: " << Describe(platform)
                                               << "\nours:     " << Describe(ours);
      continue;
    }
    EXPECT_EQ(row.ours_reads, ours.reads) << Describe(ours);
    EXPECT_EQ(Escape(row.ours_file), Escape(ours.file));
    // A marked row whose difference has gone away should lose its mark.
    EXPECT_FALSE(SameOutcome(platform, ours)) << "platform now agrees: " << Describe(platform);
    notes.push_back(std::string("- ") + row.name + ": " + row.difference +
                    "\n    platform: " + Describe(platform) + "\n    ours:     " + Describe(ours));
  }
  std::printf("%zu rows, %zu known differences from the platform:\n", Rows().size(),
              notes.size());
  for (const std::string& n : notes) std::printf("%s\n", n.c_str());
}

}  // namespace
}  // namespace vsmr::diff
