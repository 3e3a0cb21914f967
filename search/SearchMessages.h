// The words of the searches and jumps: their messages and the status bar's search state
// (UTF-8; shown through the platform in code page 932).
#pragma once

namespace searchmessages {

inline constexpr char kNoKeyword[] = "キーワードが入力されていません";
inline constexpr char kNoArticle[] = "該当の条文はありません";
inline constexpr char kNoArticleNumber[] = "条文番号を入力してください";
inline constexpr char kNoReferringArticle[] = "この条文を参照している条文はありません";
inline constexpr char kNoContentsEntry[] = "該当の文献目次はありません";
inline constexpr char kNoPageNumber[] = "ページ番号を入力してください";
// The reference search on a tab that is not a present law volume.
inline constexpr char kSelectArticle[] = "条文を選択して下さい";

// Status panel 0 while a statement runs and after it; panel 1 holds the prefix and the seconds
// (ElapsedTimeText puts the seconds after it, as for the start-up time).
inline constexpr char kSearching[] = "検索中";
inline constexpr char kSearchEnded[] = "検索終了";
inline constexpr char kSearchTimePrefix[] = "検索時間： ";

}  // namespace searchmessages
