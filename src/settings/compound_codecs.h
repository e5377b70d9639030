// Each compound value of vsmrsys.ini described once, field by field: loading
// runs a description with a CompoundReader, saving with a CompoundWriter, so
// the two can never disagree on a field's order, separator or cut.
#pragma once
#include <cstdint>
#include <string_view>

#include "settings/compound_value.h"
#include "settings/settings_records.h"

namespace vsmr {

// Fills a record from a value. `Chars` fields are person-read code page 932
// text, cut on a character boundary; `Text` fields are cut at the byte.
class CompoundReader {
 public:
  explicit CompoundReader(std::string_view value) : fields_(value) {}

  void Number(std::int32_t& field, char separator) { field = NumericField(fields_.Next(separator)); }
  void TwoDigits(std::int32_t& field, char separator) { Number(field, separator); }
  template <std::size_t N>
  void Text(FixedText<N>& field, char separator) { field.Set(fields_.Next(separator)); }
  template <std::size_t N>
  void Chars(FixedText<N>& field, char separator) { field.SetChars(fields_.Next(separator)); }
  // The last field: the rest of the value, or up to `stop` when one is given.
  template <std::size_t N>
  void LastText(FixedText<N>& field) { field.Set(fields_.Rest()); }
  template <std::size_t N>
  void LastChars(FixedText<N>& field, char stop = '\0') {
    field.SetChars(stop ? fields_.Next(stop) : fields_.Rest());
  }

 private:
  FieldCursor fields_;
};

// Writes a record's fields, each followed by its separator but the last.
class CompoundWriter {
 public:
  explicit CompoundWriter(CompoundText& text) : text_(text) {}

  void Number(const std::int32_t& field, char separator) { text_.Number(field).Char(separator); }
  void TwoDigits(const std::int32_t& field, char separator) {
    text_.TwoDigits(field).Char(separator);
  }
  template <std::size_t N>
  void Text(const FixedText<N>& field, char separator) { text_.Text(StoredText(field)).Char(separator); }
  template <std::size_t N>
  void Chars(const FixedText<N>& field, char separator) { Text(field, separator); }
  template <std::size_t N>
  void LastText(const FixedText<N>& field) { text_.Text(StoredText(field)); }
  template <std::size_t N>
  void LastChars(const FixedText<N>& field, char = '\0') { LastText(field); }

 private:
  CompoundText& text_;
};

// "%d,%02d:%02d,%s": enabled, hour, minute, command.
template <class Io, class Timer>
void TimerFields(Io& io, Timer& timer) {
  io.Number(timer.enabled, ',');
  io.TwoDigits(timer.hour, ':');
  io.TwoDigits(timer.minute, ',');
  io.LastText(timer.command);
}

// "%d\t%s\t%s\t%s\t%s": enabled, server, user name, password, sound file.
template <class Io, class Account>
void AccountFields(Io& io, Account& account) {
  io.Number(account.enabled, '\t');
  io.Text(account.server, '\t');
  io.Text(account.user_name, '\t');
  io.Text(account.password, '\t');
  io.LastText(account.sound_file);
}

// "%d,%s": message count, key text.
template <class Io, class Entry>
void PreviousMailFields(Io& io, Entry& entry) {
  io.Number(entry.message_count, ',');
  io.LastText(entry.key_text);
}

// "%d\t%s\t%s": shown, path, comment.
template <class Io, class Item>
void ItemDataFields(Io& io, Item& item) {
  io.Number(item.shown, '\t');
  io.Chars(item.path, '\t');
  io.LastChars(item.comment);
}

// "%d\t%s": icon index, icon path; a further tab ends the path.
template <class Io, class Item>
void ItemIconFields(Io& io, Item& item) {
  io.Number(item.icon_index, '\t');
  io.LastChars(item.icon_path, '\t');
}

}  // namespace vsmr
