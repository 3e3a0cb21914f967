// The words of the article display and its links (UTF-8; shown through the platform in code
// page 932).
#pragma once

namespace displaymessages {

// A followed link names an article its target volume does not have.
inline constexpr char kNoTargetArticle[] = "該当の条文はありません";

}  // namespace displaymessages
