// The words of the output commands: printing, the clipboard and the word-processor export
// (UTF-8; shown through the platform in code page 932).
#pragma once

namespace outputmessages {

// The Word button on a law tab whose article view holds no text ("の", not "を", as the
// program has always shown it).
inline constexpr char kSelectArticleText[] = "条文の選択して下さい";
// The word processor could not be reached and the fallback file could not be written either.
inline constexpr char kWordCannotStart[] = "Microsoft Wordが起動できません";
// The title of every article print job.
inline constexpr char kArticlePrintJobTitle[] = "Sorvane 条文印刷";
// The pages chosen in the print dialog all lie beyond the article's last page.
inline constexpr char kNoPagesInRange[] = "指定されたページはありません";
// The printer refused the job or a page.
inline constexpr char kPrinterFailed[] = "プリンタへ印刷できません";

}  // namespace outputmessages
