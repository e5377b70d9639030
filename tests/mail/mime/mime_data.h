// The mail decoding tests' data files: messages and Python's decodings of them
// (tests/mail/mime/data, written by the scripts there).
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "base/file_io.h"

namespace vsmr::test {

inline std::string MimeDataPath(const std::string& file) {
#ifdef _WIN32
  return std::string(VSMR_SOURCE_DIR) + "\\tests\\mail\\mime\\data\\" + file;
#else
  return std::string(VSMR_SOURCE_DIR) + "/tests/mail/mime/data/" + file;
#endif
}

inline std::string LoadMimeData(const std::string& file) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(MimeDataPath(file), bytes)) << file;
  return bytes;
}

}  // namespace vsmr::test
