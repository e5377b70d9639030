// Quoted-printable decoding of the five sequences that ISO-2022-JP mail needs:
// the equals sign, ESC, soft line breaks, blank and tab.
#include <cstring>

#include "base/replace_all.h"
#include "mail/mime/mail_ascii.h"
#include "mail/mime/mail_codec.h"
#include "mail/mime/mail_record.h"

namespace vsmr {
void DecodeQuotedPrintable(std::string_view header_block, char* body) {
  if (header_block.size() > kEncodingSearchLimit) {
    header_block = header_block.substr(0, kEncodingSearchLimit);
  }
  char encoding[kHeaderValueSize];
  if (!FindHeaderField(header_block, "content-transfer-encoding:", encoding, sizeof encoding)) {
    return;  // no header: 7-bit
  }
  if (!StartsWithNoCase(encoding, "quoted-printable")) return;
  // Every row only shrinks the text, so the buffer's own length bounds it.
  // "=3D" goes first: "=3D20" therefore ends as a blank.
  std::size_t capacity = std::strlen(body) + 1;
  ReplaceAll(body, capacity, "=3D", "=");
  ReplaceAll(body, capacity, "=1B", std::string_view("\x1B", 1));
  ReplaceAll(body, capacity, "=\r\n", "");
  ReplaceAll(body, capacity, "=20", " ");
  ReplaceAll(body, capacity, "=09", "\t");
}

}  // namespace vsmr
