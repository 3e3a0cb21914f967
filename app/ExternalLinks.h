// What the main window opens outside itself: the web menu's reference sites, the help file, and
// the About box.
#pragma once

#include <string>
#include <vector>

class Platform;
class QMenu;
class TMain;

// One item of the web menu, in menu order; a separator has no label.
struct WebTarget {
    const char* item;     // the menu item's name
    const char* label;    // UTF-8; the caption is label + " " + address + "(&" + accelerator + ")"
    const char* address;  // what the shell is asked to open
    char accelerator;
};

// The web menu's items, separators included, in order.
const std::vector<WebTarget>& WebTargets();

// The caption of a web menu item (UTF-8).
std::string WebTargetCaption(const WebTarget& target);

// Fills main's NetPopupMenu1 with the web targets: the help item runs HTML1Click, every other
// item opens its address.
void FillNetPopupMenu(TMain& main);

// Asks the shell to OPEN the target's address; the program neither waits nor checks.
void OpenWebTarget(Platform& platform, const WebTarget& target);

// Asks the shell to OPEN "SorvaneHelp.html" in the working directory; a missing file is not
// reported by the program.
void OpenHelp(Platform& platform);

// The help file's bare name.
inline constexpr char kHelpFile[] = "SorvaneHelp.html";

// The About box: caption "Sorvane バージョン情報", the information icon, OK.
void ShowAbout(Platform& platform);
// Its text, code page 932: the version line, the seven maker lines, the data-currency lines,
// each line followed by a lone carriage return.
std::string AboutText();
