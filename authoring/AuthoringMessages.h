// The words of the link editor and the tool palette: messages, questions and their captions
// (UTF-8; shown through the platform in code page 932).
#pragma once

namespace authoringmessages {

// Opening the link editor.
inline constexpr char kNoArticleData[] = "該当の条文データがセットされていません";
// Follows kNoArticleData: the places looked in, one a line, "C:\… → the folder it means here".
inline constexpr char kLookedIn[] = "探した場所:";
inline constexpr char kNoDriveMapping[] = "（ホームフォルダがわからず、Wine のドライブ割り当てを読めません）";
inline constexpr char kAlreadyOpen[] = "すでにフォームが起動されています";
inline constexpr char kOpenFailed[] = "リンクフォームの起動に失敗しました";
// The browser's article is another one in the authoring copy: kAnotherArticleStart, the shown
// 区分 and number, kAnotherArticleRow, the row's ＫＥＹ, 「, its 条文区分 and 条文本文, kAnotherArticleEnd.
inline constexpr char kAnotherArticleStart[] = "巻が変わっています: 表示中の条文「";
inline constexpr char kAnotherArticleRow[] = "」は、条文データでは ＫＥＹ ";
inline constexpr char kAnotherArticleEnd[] = "」の行です。配信後の巻を読むため、プログラムを起動し直してください";
inline constexpr char kArticleDeleted[] = "該当の条文は削除されています";
inline constexpr char kAlreadyRegistered[] = "同一条件で既に登録されています";
inline constexpr char kSameAsArticle[] = "条文本文と同一です";

// The registration checks, in the order they run (kSameAsArticle and kAlreadyRegistered too).
inline constexpr char kNoDai[] = "条文に、「第」がありません";
inline constexpr char kNoJou[] = "条文に、「条」がありません";
inline constexpr char kConditionTooLong[] = "条件は、全角５０文字以内です";
inline constexpr char kTargetNumberTooLong[] = "リンク条文本文は、全角５０文字以内です";
inline constexpr char kKeyMismatch[] = "ＫＥＹデータが正しく入力されていません";
inline constexpr char kFieldsMissing[] = "データが正しく入力されていません";
inline constexpr char kBadFirstCharacter[] = "リンク条文本文の最初のデータがおかしいです";
inline constexpr char kBadLastCharacter[] = "リンク条文本文の最終データがおかしいです";
inline constexpr char kCircularWithJou[] = "通達に「条」が含まれています";
inline constexpr char kCircularWithDai[] = "通達に「第」が含まれています";
// 登録２: "「" + 条件 + "」をリンク登録しました".
inline constexpr char kRegisteredOpen[] = "「";
inline constexpr char kRegisteredClose[] = "」をリンク登録しました";

// The category label of a code the master does not know.
inline constexpr char kUnregistered[] = "未登録";

// Deleting a link, deleting and clearing an article row.
inline constexpr char kDeleteQuestion[] = "データを削除して良いですか";
inline constexpr char kLinkTableCaption[] = "LinkTable Delete";
inline constexpr char kMainTableCaption[] = "MainTable Delete";
inline constexpr char kClearQuestion[] = "表題、条文番号、本文をクリアーして良いですか";

// Article authoring.
inline constexpr char kDigitsOnly[] = "半角数字しか入力出来ません";
inline constexpr char kUnknownCategory[] = "該当の条文区分がありませんので再入力してください";
inline constexpr char kClearOrAddFirst[] = "Clear又は追加して実行してください";
inline constexpr char kNotFound[] = "該当なし";
inline constexpr char kNothingSelected[] = "選択文字がありません";
// Typing, pasting or dropping into the article text past its limit of 100000 characters.
inline constexpr char kArticleTextTooLong[] = "条文内容は、１０００００文字以内です";

// The tool palette.
inline constexpr char kSavePositionQuestion[] = "現在の情報を保存しますか";
inline constexpr char kSavePositionCaption[] = "PositionSave Infomation";
inline constexpr char kCannotReturn[] = "保存データに移動できません";

}  // namespace authoringmessages
