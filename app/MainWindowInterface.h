// What the operations (display, search, navigation, memo, output, authoring) may ask of the main
// window: the registry, the platform, the active page, the list fits, the status text, the outline
// load, the web menu and the link editor. The window implements it; an operation never sees the
// window's widgets, so nothing here includes a widget header.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class QMenu;
class QString;
class QWidget;
class Platform;
class THyperLink;
struct VolumeRegistry;

class MainWindowInterface {
public:
    // The volume index the last command resolved, -1 when the active tab served none. The
    // command handlers set it; the tool palette reads it and sets it when it comes back to a
    // saved position.
    int CurrentVolume = -1;

    virtual VolumeRegistry& registry() = 0;
    virtual Platform& platformOfWindow() = 0;
    // The window itself: the parent of the dialogs and windows an operation makes.
    virtual QWidget* MainWidget() = 0;

    // The active tab sheet, and its activation from code (which is not a user's tab change: no
    // history entry is recorded for it).
    virtual QWidget* ActivePage() const = 0;
    virtual void SetActivePage(QWidget* tabSheet) = 0;

    // (Re)loads a law volume's outline tree from its outline file.
    virtual void LoadOutline(int lawIndex) = 0;
    // The last column of a list grid fills the grid's remaining width; the list and detail
    // panels go back to their first heights.
    virtual void FitListColumns() = 0;
    virtual void FitLawListColumns(int lawIndex) = 0;
    virtual void FitBookListColumns(int bookIndex) = 0;
    virtual void ResetLawListHeight(int lawIndex) = 0;
    virtual void ResetBookDetailHeight(int bookIndex) = 0;

    // Status bar panels 0 (hints, search state) and 1 (start-up and search times).
    virtual QString StatusPanelText(int panel) const = 0;
    virtual void SetStatusPanelText(int panel, const QString& text) = 0;
    // Paints the status panels now, before a long statement runs or after it ended.
    virtual void RepaintStatusPanels() = 0;

    // The web menu of the button bar; its items are the external links'.
    virtual QMenu* NetPopupMenu() const = 0;

    // The link editor while one is open (null otherwise), and its registration when one opens.
    virtual THyperLink* LinkEditor() const = 0;
    virtual void SetLinkEditor(THyperLink* editor) = 0;

protected:
    MainWindowInterface() = default;
    ~MainWindowInterface() = default;
    MainWindowInterface(const MainWindowInterface&) = delete;
    MainWindowInterface& operator=(const MainWindowInterface&) = delete;
};

// Seconds in general decimal form, as the status bar shows elapsed times: the milliseconds
// divided by 1000 with no trailing zeros ("1.5", "2", "0.012").
std::string FormatElapsedSeconds(std::int64_t milliseconds);
// An elapsed time as status panel 1 shows it (UTF-8): prefix, the seconds, " 秒".
std::string ElapsedTimeText(std::string_view prefixUtf8, std::int64_t milliseconds);
