// The article-number jump of a law volume: the typed number rewritten into the form the main
// table stores, and the list moved to the first article with exactly that number in range.
#pragma once

class TMain;

void ArticleNumberJump(TMain& main, int v);
// Rewrites v's number edit in place into Bangou form.
void NormaliseArticleNumber(TMain& main, int v);
