// What the POP3 client shows: status-line texts, StatusWord codes and the
// texts of its two questions, exactly as the user sees them.
#pragma once

namespace vsmr::pop3_text {

// Status-line texts.
inline constexpr char kCannotStart[] = "接続を開始できません";
inline constexpr char kHostNotFoundFormat[] = "%sが見つかりません";
inline constexpr char kCannotOpenSocket[] = "ソケットをオープンできません";
inline constexpr char kConnectFailed[] = "サーバソケットに接続失敗";
inline constexpr char kGreetingRefused[] = "POPサーバと接続を開始できません";
inline constexpr char kUserRefused[] = "ユーザ名の認証失敗";
inline constexpr char kPassRefused[] = "パスワードの認証失敗";
inline constexpr char kReceiveFailed[] = "サーバからの受信失敗";
inline constexpr char kSendFailed[] = "サーバへの送信失敗";
inline constexpr char kReceiveTimeout[] = "タイムアウトしました\n";
inline constexpr char kSendTimeout[] = "タイムアウトしました";
inline constexpr char kOutOfMemory[] = "メモリの確保に失敗しました";
inline constexpr char kProgressFormat[] = "%d%%ダウンロード終了";
// TLS: each way a secured connection can fail before the log-in.
inline constexpr char kTlsUntrusted[] = "サーバ証明書が信頼されていません";
inline constexpr char kTlsNameMismatch[] = "サーバ証明書の名前がサーバ名と一致しません";
inline constexpr char kTlsExpired[] = "サーバ証明書の有効期限が切れています";
inline constexpr char kTlsHandshakeFailed[] = "TLSで接続を開始できません";
inline constexpr char kStlsNotOffered[] = "サーバがSTLSに対応していません";
// Accounts that are never logged in to.
inline constexpr char kServerEmpty[] = "POP3サーバーが未設定です";
inline constexpr char kSecurityUnknown[] = "暗号化の設定が不明です";

// Questions.
inline constexpr char kAccountIncomplete[] = "アカウントのPOP3設定を行って下さい。";
inline constexpr char kAccountIncompleteCaption[] = "注意";
inline constexpr char kPartialDownload[] =
    "サイズが大きくダウンロードに時間がかかるかもしれません。\n一部のみのダウンロードにしますか？";
inline constexpr char kPartialDownloadCaption[] = "警告";

// StatusWord codes.
inline constexpr char kErrStartup[] = "MailErr0";
inline constexpr char kErrHost[] = "MailErrH";
inline constexpr char kErrSocket[] = "MailErrS";
inline constexpr char kErrConnect[] = "MailErrC";
inline constexpr char kErrGreeting[] = "MailErrP";
inline constexpr char kErrLogin[] = "MailErrU";
inline constexpr char kErrReceive[] = "MailErr1";
inline constexpr char kErrTimeout[] = "MailErrT";
inline constexpr char kErrSend[] = "MailErr3";
inline constexpr char kErrAnswer[] = "MailErrE";
inline constexpr char kErrMemory[] = "MailErrM";
inline constexpr char kErrTlsUntrusted[] = "MailErrA";
inline constexpr char kErrTlsName[] = "MailErrN";
inline constexpr char kErrTlsExpired[] = "MailErrX";
inline constexpr char kErrTlsHandshake[] = "MailErrL";
inline constexpr char kErrStlsNotOffered[] = "MailErrF";
inline constexpr char kErrServerEmpty[] = "MailErrB";
inline constexpr char kErrSecurityUnknown[] = "MailErrK";

}  // namespace vsmr::pop3_text
