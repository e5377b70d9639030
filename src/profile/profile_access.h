// A profile (INI) file as every other part of the program sees it: integer
// and string values read and written by section and key. Every free function
// goes to the file itself (no cache); ProfileDocument batches many reads or
// writes over one in-memory copy.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/file_io.h"

namespace vsmr {

// Integer key: absent key or empty value -> `default_value`; otherwise the
// leading signed decimal number of the text (no number -> 0).
std::int32_t ReadIntSetting(std::string_view section, std::string_view key,
                            std::int32_t default_value, const std::string& path);

// String key into `buffer` of `length` bytes, NUL-terminated, cut to length - 1.
// Absent key -> `default_text` (also cut).
void ReadStringSetting(std::string_view section, std::string_view key,
                       std::string_view default_text, char* buffer, std::size_t length,
                       const std::string& path);

// Writes "%d" of `value` as the key's string.
void WriteIntSetting(std::string_view section, std::string_view key, std::int32_t value,
                     const std::string& path);

// Replaces the key's line in place, or appends it to its section (creating the
// section at the end of the file, and the file) when absent. The file is
// replaced atomically.
void WriteStringSetting(std::string_view section, std::string_view key, std::string_view text,
                        const std::string& path);

// An INI file held in memory. Reads and writes on it give exactly the results
// and bytes that the same sequence of free-function calls would give on disk;
// Save() then replaces the file once, atomically.
class ProfileDocument {
 public:
  ProfileDocument();
  ~ProfileDocument();
  ProfileDocument(ProfileDocument&&) noexcept;
  ProfileDocument& operator=(ProfileDocument&&) noexcept;

  // Loads `path` (a missing or unreadable file is an empty document; `read`,
  // when given, says which).
  static ProfileDocument Load(const std::string& path, FileRead* read = nullptr);
  // The document of a file that holds `bytes`: Load without the file.
  static ProfileDocument FromBytes(std::string_view bytes);

  std::int32_t ReadInt(std::string_view section, std::string_view key,
                       std::int32_t default_value) const;
  void ReadString(std::string_view section, std::string_view key, std::string_view default_text,
                  char* buffer, std::size_t length) const;
  // True when the section holds the key (names match without regard to ASCII case).
  bool Has(std::string_view section, std::string_view key) const;
  void WriteInt(std::string_view section, std::string_view key, std::int32_t value);
  void WriteString(std::string_view section, std::string_view key, std::string_view text);

  // The file's bytes as they stand after the writes so far.
  std::string Bytes() const;
  // Replaces the file at `path` with Bytes() atomically. Returns false on
  // failure, with the system's reason in `reason` when given.
  bool Save(const std::string& path, std::string* reason = nullptr) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;  // null only after a move: reads as empty
};

}  // namespace vsmr
