// The main window's own messages and status texts (UTF-8; shown through the platform in code
// page 932).
#pragma once

namespace mainmessages {

// A law-only command on a tab that is not a present law volume.
inline constexpr char kSelectArticle[] = "条文を選択して下さい";
// Selection search with nothing selected.
inline constexpr char kSelectKeywordInArticle[] = "条文本文でキーワードを選択して下さい。";
inline constexpr char kSelectKeywordInContents[] = "目次ウインドウでキーワードを選択して下さい。";
// A page edit takes half-width digits and the decimal point only.
inline constexpr char kPageDigitsOnly[] = "半角数字と小数点しか入力出来ません";
// The start-up time in status panel 1 (ElapsedTimeText puts the seconds after it).
inline constexpr char kStartupTimePrefix[] = "起動時間： ";

}  // namespace mainmessages
