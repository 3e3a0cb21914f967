// Opening the link editor on the main window's article: the authoring copy's drive, the one editor
// at a time, the checks of a proposal, and the first scroll of the article text.
#include <filesystem>
#include <string>
#include <system_error>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "authoring/AuthoringDrive.h"
#include "authoring/AuthoringMessages.h"
#include "authoring/EditorScrolling.h"
#include "authoring/THyperLink.h"
#include "platform/Platform.h"
#include "text/Cp932.h"

namespace {

using namespace authoringmessages;

std::string ArticleTablePath(const std::string& drive, int v)
{
    return drive + authoring::JyobunDirectory(v) + "\\" + authoring::kArticleTableFile;
}

// The places the article table was looked for, one a line, each as the Windows path and the
// folder it means here, so that a user can see which Wine prefix was read (code page 932).
std::string NotFoundPlaces(int v)
{
    std::string out = "\r\n" + text::cp932(kLookedIn);
    for (const char* drive : {authoring::kFirstDrive, authoring::kSecondDrive}) {
        const std::string windows = ArticleTablePath(drive, v);
        const std::filesystem::path here = authoring::ResolveWindowsPath(windows);
        out += "\r\n" + text::fromUtf8(windows).text + text::cp932(" → ");
        out += here.empty() ? text::cp932(kNoDriveMapping) : text::fromUtf8(here.string()).text;
    }
    return out;
}

}  // namespace

void OpenLinkEditor(MainWindowInterface& main, int v)
{
    VolumeRegistry& registry = main.registry();
    Platform& platform = main.platformOfWindow();
    auto message = [&](const char* utf8) { platform.showMessage(text::cp932(utf8)); };
    auto articleTableExists = [v](const std::string& drive) {
        std::error_code ec;
        return std::filesystem::exists(authoring::ResolveWindowsPath(ArticleTablePath(drive, v)), ec);
    };

    registry.AuthoringDrive = authoring::kFirstDrive;
    if (!articleTableExists(registry.AuthoringDrive)) {
        registry.AuthoringDrive = authoring::kSecondDrive;
        if (!articleTableExists(registry.AuthoringDrive)) {
            platform.showMessage(text::cp932(kNoArticleData) + NotFoundPlaces(v));
            return;
        }
    }

    if (registry.LinkEditorOpen) {
        message(kAlreadyOpen);
        if (THyperLink* open = main.LinkEditor()) {
            open->showMaximized();
            open->raise();
            open->activateWindow();
            return;
        }
        // The editor the flag speaks of is gone: a new one is made.
        registry.LinkEditorOpen = 0;
    }

    auto* editor = new THyperLink(main);
    try {
        editor->FormCreate(v);
    } catch (const std::exception& e) {
        delete editor;
        registry.LinkEditorOpen = 0;
        // The table and the engine's cause follow, so that a damaged file can be found.
        platform.showMessage(text::cp932(kOpenFailed) + "\r\n" + text::fromUtf8(e.what()).text);
        return;
    }
    auto release = [&](const char* utf8) {
        message(utf8);
        delete editor;
        registry.LinkEditorOpen = 0;
    };
    if (registry.LinkEditorArticleMissing) {
        release(kArticleDeleted);
        return;
    }
    if (!editor->AnotherArticle.empty()) {
        platform.showMessage(editor->AnotherArticle);
        delete editor;
        registry.LinkEditorOpen = 0;
        return;
    }
    if (!editor->Phrase.empty()) {
        if (editor->ProposalAlreadyRegistered()) {
            release(kAlreadyRegistered);
            return;
        }
        if (editor->ProposalPointsToItself()) {
            release(kSameAsArticle);
            return;
        }
    }
    main.SetLinkEditor(editor);
    editor->showMaximized();
    editor->raise();
    editor->activateWindow();
    editor->repaint();
    if (platform.screenHeight() < authoring::kScreenHeightForScrolling && authoring::FirstVisibleLine(editor->DBRichEdit1) > 5)
        authoring::ScrollDownLines(editor->DBRichEdit1, 5);
}
