// The keyword search of a law volume: the articles whose text holds one keyword, or two
// together, within the selected range, listed in place of the article list.
#pragma once

class TMain;

void KeywordSearch(TMain& main, int v);
