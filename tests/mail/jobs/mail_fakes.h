// A mail host that writes every call into one ordered event list, and a mail
// server that serves fixed mailboxes, one per account slot.
#pragma once
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "mail/jobs/mail_job.h"

namespace vsmr::testing {

struct FakeMessage {
  std::string id;
  std::string subject;
  std::string from = "Sender <s@example.jp>";
  bool multipart = false;
  std::string body = "body\r\n";
};

inline std::string HeaderOf(const FakeMessage& m) {
  std::string h = "Message-ID: " + m.id + "\r\nSubject: " + m.subject + "\r\nFrom: " + m.from +
                  "\r\nDate: Sun, 5 Jan 2003 12:34:56 +0900\r\n";
  if (m.multipart) h += "Content-Type: multipart/mixed; boundary=x\r\n";
  return h + "\r\n";
}

class EventHost : public MailJobHost {
 public:
  std::vector<std::string> events;
  bool window_exists = true;
  int rows_before_close = -1;  // the window closes once this many rows are listed
  int rows = 0;

  void ShowStatus(std::string_view text) override { Add("status " + std::string(text)); }
  void SetStatusWord(std::string_view code) override { Add("word " + std::string(code)); }
  MailAccount ReadAccount(int) override { return {}; }
  void OfferAccountSetup(std::string_view, std::string_view) override { Add("setup"); }
  bool AskPartialDownload(std::string_view, std::string_view) override { return false; }
  bool MailWindowExists() override { return window_exists; }
  void ClearRows() override { Add("clear"); }
  void AddRow(const MailListRow& row, int account) override {
    Add("row " + std::to_string(account) + " " + row.subject + " image " +
        std::to_string(row.image));
    if (++rows == rows_before_close) window_exists = false;
  }
  void RefreshCount() override { Add("count"); }
  void ShowAndRaiseWindow() override { Add("show"); }
  void PlaySoundFile(std::string_view path) override { Add("sound " + std::string(path)); }
  void RunLine(const MarkedLine& line, int context) override {
    Add("run " + std::to_string(context) + " " + line.text);
  }
  void StoreState(int account, int count, std::string_view key) override {
    Add("store " + std::to_string(account) + " " + std::to_string(count) + " " + std::string(key));
  }
  void RememberLauncherRuns(std::span<const std::uint64_t> ids) override {
    Add("remember " + std::to_string(ids.size()));
  }
  bool delete_answer = true;  // the user's answer to the deletion's question
  std::function<void()> while_asked;  // what happens elsewhere while the question is up
  void ClearText() override { Add("clear text"); }
  void SetText(std::string_view text) override { Add("text " + std::string(text)); }
  void MessageShown(int row) override { Add("shown " + std::to_string(row)); }
  void JobEnded() override { Add("ended"); }
  bool AskDelete(std::string_view text, std::string_view caption) override {
    Add("ask " + std::string(caption) + " " + std::string(text));
    if (while_asked) while_asked();
    return delete_answer;
  }
  void TellDeleted(std::string_view text, std::string_view caption) override {
    Add("tell " + std::string(caption) + " " + std::string(text));
  }

  // The events that begin with `prefix`.
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& e : events) {
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    }
    return out;
  }

 protected:
  virtual void Add(std::string event) { events.push_back(std::move(event)); }
};

class FakeServer final : public MailServer {
 public:
  std::map<int, std::vector<FakeMessage>> boxes;  // by account slot
  std::map<int, bool> refuses_login;
  bool refuses_retrieve = false;
  bool refuses_delete = false;
  bool offers_uidl = true;
  std::vector<std::string> calls;

  bool Connect(int account, int) override {
    calls.push_back("connect " + std::to_string(account));
    current_ = account;
    return !refuses_login[account];
  }
  int Stat() override { return static_cast<int>(boxes[current_].size()); }
  int FetchHeader(int number, std::string& header) override {
    const auto& box = boxes[current_];
    header.clear();
    if (number < 1 || number > static_cast<int>(box.size())) return -1;
    header = HeaderOf(box[number - 1]);
    return 1000 + number;
  }
  bool Uidl(int number, std::string& uid) override {
    calls.push_back("uidl " + std::to_string(number));
    const auto& box = boxes[current_];
    uid.clear();
    if (offers_uidl && number >= 1 && number <= static_cast<int>(box.size())) {
      uid = "uid" + box[number - 1].id;
    }
    return true;
  }
  // The whole message; LIST gives its size, 0 for a message that is not there.
  std::string MessageOf(int number) {
    const auto& box = boxes[current_];
    if (number < 1 || number > static_cast<int>(box.size())) return {};
    return HeaderOf(box[number - 1]) + box[number - 1].body;
  }
  int ListForDownload(int number) override {
    calls.push_back("list " + std::to_string(number));
    return static_cast<int>(MessageOf(number).size());
  }
  bool Retrieve(int number, int, MessageText& text) override {
    calls.push_back("retr " + std::to_string(number));
    if (refuses_retrieve) return false;
    // As a server sends it: lines beginning with "." get one more, and a "." line ends it.
    std::string answer = "+OK message follows\r\n";
    const std::string message = MessageOf(number);
    for (std::size_t line = 0; line < message.size();) {
      const std::size_t end = message.find("\r\n", line);
      const std::size_t next = end == std::string::npos ? message.size() : end + 2;
      answer += (message[line] == '.' ? "." : "") + message.substr(line, next - line);
      line = next;
    }
    answer += ".\r\n";
    text.length = std::min(answer.size(), text.bytes.size() - 1);
    std::copy_n(answer.data(), text.length, text.bytes.data());
    return true;
  }
  bool Delete(int number) override {
    calls.push_back("dele " + std::to_string(number));
    if (refuses_delete) return false;
    auto& box = boxes[current_];
    box.erase(box.begin() + (number - 1));
    return true;
  }
  void Quit() override { calls.push_back("quit " + std::to_string(current_)); }

 private:
  int current_ = -1;
};

}  // namespace vsmr::testing
