// The Color button's command: the typed keywords coloured in the article being read, without a
// search.
#pragma once

struct VolumeRegistry;

// Law volume v's two key edits normalised in place (digits to full width, "-" and "ー" to "－"),
// made its highlight words, and its current article rendered again with them. Nothing when
// both edits are empty; no search runs, the list stays, no history is recorded.
void ColorKeywords(VolumeRegistry& registry, int v);
