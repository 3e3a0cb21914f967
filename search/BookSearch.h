// The book volumes' ways of finding something: the contents search, the page jump, and the
// jump from an entry to the law article or document it discusses.
#pragma once

class TMain;

void BookSearch(TMain& main, int b);
void PageJump(TMain& main, int b);
void OpenBookEntryTarget(TMain& main, int b);
