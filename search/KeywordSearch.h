// The keyword search of a law volume: the articles whose text holds one keyword, or two
// together, within the selected range, listed in place of the article list.
#pragma once

class MainWindowInterface;

// Whether the search listed rows (the list then shows the result, its first article displayed).
bool KeywordSearch(MainWindowInterface& main, int v);
