// The book volumes' ways of finding something: the contents search, the page jump, and the
// jump from an entry to the law article or document it discusses.
#pragma once

class MainWindowInterface;

void BookSearch(MainWindowInterface& main, int b);
void PageJump(MainWindowInterface& main, int b);
void OpenBookEntryTarget(MainWindowInterface& main, int b);
