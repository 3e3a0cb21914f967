// The memo window's words (UTF-8; shown through the platform in code page 932).
#pragma once

namespace memomessages {

// The size question of the memo command: Yes maximised, No minimised, Cancel no window.
inline constexpr char kSizeQuestionCaption[] = "MemoWindow States";
inline constexpr char kSizeQuestion[] = "メモウインドウを画面一杯に大きくしますか。";

// The selected-text search with nothing selected in the pane.
inline constexpr char kSelectKeywordInArticle[] = "条文本文でキーワードを選択して下さい。";

}  // namespace memomessages
