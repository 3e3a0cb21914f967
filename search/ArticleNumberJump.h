// The article-number jump of a law volume: the typed number rewritten into the form the main
// table stores, and the list moved to the first article with exactly that number in range.
#pragma once

class MainWindowInterface;

void ArticleNumberJump(MainWindowInterface& main, int v);
// Rewrites v's number edit in place into Bangou form.
void NormaliseArticleNumber(MainWindowInterface& main, int v);
