// The three runners of the differential test; see differential_support_win.h.
#include "profile/differential_support_win.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "base/file_io.h"
#include "profile/profile_access.h"

namespace vsmr::diff {
namespace {

constexpr char kSentinel = '\x7f';
constexpr std::size_t kSlack = 16;

// The text a string read left in a sentinel-filled buffer of `length` bytes.
std::string BufferText(const std::vector<char>& buffer, std::size_t length, bool& past) {
  const void* nul = std::memchr(buffer.data(), '\0', length);
  if (!nul) {
    bool untouched = true;
    for (char c : buffer) untouched = untouched && c == kSentinel;
    return untouched ? "<untouched>" : "<unterminated>";
  }
  std::size_t n = static_cast<const char*>(nul) - buffer.data();
  for (std::size_t i = n + 1; i < buffer.size(); ++i) past = past || buffer[i] != kSentinel;
  return std::string(buffer.data(), n);
}

std::string FileText(const std::string& path) {
  std::string bytes;
  return ReadWholeFile(path, bytes) ? bytes : kAbsent;
}

}  // namespace

Outcome RunOps(Side side, const std::string& path, const std::optional<std::string>& start,
            const std::vector<Op>& ops) {
  if (start && !WriteFileAtomically(path, *start)) return {{}, "<could not create>"};
  Outcome out;
  ProfileDocument doc;
  if (side == Side::kDocument) doc = ProfileDocument::Load(path);
  bool wrote = false;
  for (const Op& op : ops) {
    const char* s = op.section.c_str();
    const char* k = op.key.c_str();
    switch (op.kind) {
      case Op::kWrite:
      case Op::kWriteInt: {
        wrote = true;
        std::string text = op.kind == Op::kWrite ? op.text : std::to_string(op.number);
        if (side == Side::kPlatform) {
          WritePrivateProfileStringA(s, k, text.c_str(), path.c_str());
        } else if (side == Side::kOurs && op.kind == Op::kWrite) {
          WriteStringSetting(op.section, op.key, op.text, path);
        } else if (side == Side::kOurs) {
          WriteIntSetting(op.section, op.key, op.number, path);
        } else if (op.kind == Op::kWrite) {
          doc.WriteString(op.section, op.key, op.text);
        } else {
          doc.WriteInt(op.section, op.key, op.number);
        }
        break;
      }
      case Op::kRead: {
        std::vector<char> buffer(op.length + kSlack, kSentinel);
        if (side == Side::kPlatform) {
          GetPrivateProfileStringA(s, k, op.text.c_str(), buffer.data(),
                                   static_cast<DWORD>(op.length), path.c_str());
        } else if (side == Side::kOurs) {
          ReadStringSetting(op.section, op.key, op.text, buffer.data(), op.length, path);
        } else {
          doc.ReadString(op.section, op.key, op.text, buffer.data(), op.length);
        }
        out.reads.push_back(BufferText(buffer, op.length, out.wrote_past_terminator));
        break;
      }
      case Op::kReadInt: {
        std::int32_t n;
        if (side == Side::kPlatform) {
          n = static_cast<std::int32_t>(GetPrivateProfileIntA(s, k, op.number, path.c_str()));
        } else if (side == Side::kOurs) {
          n = ReadIntSetting(op.section, op.key, op.number, path);
        } else {
          n = doc.ReadInt(op.section, op.key, op.number);
        }
        out.reads.push_back(std::to_string(n));
        break;
      }
    }
  }
  if (side == Side::kPlatform) {
    // The platform may keep the file in a cache; this writes it out.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  }
  if (side == Side::kDocument && (start || wrote)) doc.Save(path);
  out.file = FileText(path);
  return out;
}

std::string Escape(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Describe(const Outcome& o) {
  std::string text;
  for (const std::string& r : o.reads) text += "read '" + Escape(r) + "'; ";
  text += "file '" + Escape(o.file) + "'";
  if (o.wrote_past_terminator) text += " (wrote past terminator)";
  return text;
}

}  // namespace vsmr::diff
