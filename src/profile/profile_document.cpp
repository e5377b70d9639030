// ProfileDocument: reads and writes over one in-memory copy of a profile file.
#include "base/file_io.h"
#include "profile/profile_access.h"
#include "profile/profile_model.h"

namespace vsmr {

struct ProfileDocument::Impl {
  profile::Model model;
};

ProfileDocument::ProfileDocument() : impl_(std::make_unique<Impl>()) {}
ProfileDocument::~ProfileDocument() = default;
ProfileDocument::ProfileDocument(ProfileDocument&&) noexcept = default;
ProfileDocument& ProfileDocument::operator=(ProfileDocument&&) noexcept = default;

ProfileDocument ProfileDocument::Load(const std::string& path, FileRead* read) {
  std::string bytes;
  const FileRead result = ReadFileChecked(path, bytes);
  if (read) *read = result;
  return result.outcome == FileReadOutcome::kRead ? FromBytes(bytes) : ProfileDocument();
}

ProfileDocument ProfileDocument::FromBytes(std::string_view bytes) {
  ProfileDocument doc;
  doc.impl_->model = profile::Model::Parse(bytes);
  return doc;
}

std::int32_t ProfileDocument::ReadInt(std::string_view section, std::string_view key,
                                      std::int32_t default_value) const {
  return impl_ ? impl_->model.ReadInt(section, key, default_value) : default_value;
}

void ProfileDocument::ReadString(std::string_view section, std::string_view key,
                                 std::string_view default_text, char* buffer,
                                 std::size_t length) const {
  if (impl_) {
    impl_->model.ReadString(section, key, default_text, buffer, length);
  } else {
    profile::Model().ReadString(section, key, default_text, buffer, length);
  }
}

bool ProfileDocument::Has(std::string_view section, std::string_view key) const {
  std::string_view value;
  return impl_ && impl_->model.Find(section, key, value);
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

bool ProfileDocument::Save(const std::string& path, std::string* reason) const {
  return WriteFileAtomically(path, Bytes(), reason);
}

}  // namespace vsmr
