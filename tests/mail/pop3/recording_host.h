// A PopHost that records what the client reports and answers its questions
// from fields set by the test.
#pragma once
#include <string>
#include <vector>

#include "mail/pop3/pop3_session.h"

namespace vsmr::testing {

class RecordingHost final : public PopHost {
 public:
  // Answers.
  MailAccount account;
  MailAccount account_after_setup;  // what the options dialog leaves behind
  bool answer_partial = false;
  bool window_exists = true;
  int window_closes_after_status = -1;  // the mail window closes after this many status texts

  // Records.
  std::vector<std::string> statuses;
  std::string status_word = "--------";
  int setup_offers = 0;
  std::string setup_text, setup_caption;
  int partial_questions = 0;
  std::string question_text, question_caption;

  std::string LastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }

  void ShowStatus(std::string_view text) override {
    statuses.emplace_back(text);
    if (window_closes_after_status >= 0 && static_cast<int>(statuses.size()) >= window_closes_after_status) {
      window_exists = false;
    }
  }
  void SetStatusWord(std::string_view code) override { status_word.assign(code); }
  MailAccount ReadAccount(int) override { return setup_offers > 0 ? account_after_setup : account; }
  void OfferAccountSetup(std::string_view text, std::string_view caption) override {
    ++setup_offers;
    setup_text.assign(text);
    setup_caption.assign(caption);
  }
  bool AskPartialDownload(std::string_view text, std::string_view caption) override {
    ++partial_questions;
    question_text.assign(text);
    question_caption.assign(caption);
    return answer_partial;
  }
  bool MailWindowExists() override { return window_exists; }

  static MailAccount Account(const char* server, const char* user, const char* password) {
    MailAccount a;
    a.server.Set(server);
    a.user_name.Set(user);
    a.password.Set(password);
    return a;
  }
};

}  // namespace vsmr::testing
