// ProfileDocument: reads and writes over one in-memory copy of a profile file.
#include "base/file_io.h"
#include "base/fixed_text.h"
#include "settings/profile_model.h"
#include "settings/profile_syntax.h"
#include "settings/settings_access.h"

namespace vsmr {

struct ProfileDocument::Impl {
  profile::Model model;
};

ProfileDocument::ProfileDocument() : impl_(std::make_unique<Impl>()) {}
ProfileDocument::~ProfileDocument() = default;
ProfileDocument::ProfileDocument(ProfileDocument&&) noexcept = default;
ProfileDocument& ProfileDocument::operator=(ProfileDocument&&) noexcept = default;

ProfileDocument ProfileDocument::Load(const std::string& path) {
  ProfileDocument doc;
  std::string bytes;
  if (ReadWholeFile(path, bytes)) doc.impl_->model = profile::Model::Parse(bytes);
  return doc;
}

std::int32_t ProfileDocument::ReadInt(std::string_view section, std::string_view key,
                                      std::int32_t default_value) const {
  std::string_view value;
  if (!impl_ || !impl_->model.Find(section, key, value)) return default_value;
  value = profile::StripQuotes(value);
  return value.empty() ? default_value : profile::LeadingInt(value);
}

void ProfileDocument::ReadString(std::string_view section, std::string_view key,
                                 std::string_view default_text, char* buffer,
                                 std::size_t length) const {
  if (!buffer || length == 0) return;
  std::string_view value;
  if (impl_ && impl_->model.Find(section, key, value)) {
    CopyCut(buffer, length, profile::StripQuotes(value));
  } else {
    CopyCut(buffer, length, default_text);
  }
}

void ProfileDocument::WriteInt(std::string_view section, std::string_view key,
                               std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void ProfileDocument::WriteString(std::string_view section, std::string_view key,
                                  std::string_view text) {
  if (!impl_) impl_ = std::make_unique<Impl>();
  impl_->model.Write(section, key, text);
}

std::string ProfileDocument::Bytes() const { return impl_ ? impl_->model.Bytes() : std::string(); }

bool ProfileDocument::Save(const std::string& path) const {
  return WriteFileAtomically(path, Bytes());
}

}  // namespace vsmr
