// The start-up sequence from the answer files to the data modules.
#include "app/Startup.h"

#include "app/TMain.h"
#include "display/ArticleDisplay.h"
#include "display/BookEntryDisplay.h"
#include "display/OutlineTree.h"
#include "display/RichTextView.h"
#include "nav/Navigation.h"
#include "platform/AnswerFiles.h"
#include "platform/Platform.h"
#include "platform/SingleInstance.h"
#include "store/Hbooks.h"
#include "store/Houjin.h"
#include "text/Cp932.h"

RunningProgram::RunningProgram(store::VolumeFiles files, Platform& platform, const std::string& titleUtf8)
    : m_platform(platform)
{
    deleteStaleAnswerFiles(".");
    const std::int64_t startTick = platform.tickCount();
    files.assignFileNames();
    platform.setApplicationTitle(text::cp932(titleUtf8));

    m_main = std::make_unique<TMain>(files, platform, startTick);
    VolumeRegistry& registry = m_main->registry();

    // Opening a sub table already displays its volume's first article, into the text views
    // the window has just made.
    // The files' states are taken before opening: a delivery made while they open is then
    // noticed at the first command.
    for (int v = 0; v < store::kLawVolumeCount; ++v)
        m_lawStates[static_cast<std::size_t>(v)] = store::statesOf(registry.files.lawFiles(v));
    for (int b = 0; b < store::kBookVolumeCount; ++b)
        m_bookStates[static_cast<std::size_t>(b)] = store::statesOf(registry.files.bookTableFiles(b));

    m_houjin = std::make_unique<store::THoujin>();
    m_houjin->onArticleScroll = [&registry](int v) { DisplayArticle(registry, v); };
    m_houjin->onOpenError = [&platform](const std::string& message) {
        platform.showError(errorTextOf(message));
    };
    m_houjin->HoujinCreate(registry.tables, registry.files);

    m_hbooks = std::make_unique<store::THbooks>();
    m_hbooks->onEntryScroll = [&platform, &registry](int b) { ShowBookEntry(platform, registry, b); };
    m_hbooks->onOpenError = [&platform](const std::string& message) {
        platform.showError(errorTextOf(message));
    };
    m_hbooks->HbooksCreate(registry.tables, registry.files);

    m_main->BindListGrids();
    m_main->BeforeCommand = [this] { return VolumesUnchanged(); };
}

namespace {

// The names of files whose states differ from those recorded.
std::vector<std::string> changedFiles(const std::vector<std::string>& files,
                                      const std::vector<std::optional<store::FileState>>& recorded)
{
    const auto now = store::statesOf(files);
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (i >= recorded.size() || now[i] != recorded[i])
            changed.push_back(files[i]);
    return changed;
}

std::string joinNames(const std::vector<std::string>& names)
{
    std::string out;
    for (const auto& n : names)
        out += (out.empty() ? "" : ", ") + n;
    return out;
}

}  // namespace

bool RunningProgram::VolumesUnchanged()
{
    const store::VolumeFiles& files = m_main->registry().files;
    bool unchanged = true;
    for (int v = 0; v < store::kLawVolumeCount; ++v) {
        if (!files.lawPresent(v))
            continue;
        const auto changed = changedFiles(files.lawFiles(v), m_lawStates[static_cast<std::size_t>(v)]);
        if (!changed.empty()) {
            unchanged = false;
            reopenLawVolume(v, changed);
        }
    }
    for (int b = 0; b < store::kBookVolumeCount; ++b) {
        if (!files.bookPresent(b))
            continue;
        const auto changed = changedFiles(files.bookTableFiles(b), m_bookStates[static_cast<std::size_t>(b)]);
        if (!changed.empty()) {
            unchanged = false;
            reopenBookVolume(b, changed);
        }
    }
    return unchanged;
}

std::string RunningProgram::tabCaption(QWidget* tab) const
{
    return m_main->MainPageControl->tabText(m_main->MainPageControl->indexOf(tab)).toStdString();
}

void RunningProgram::reopenLawVolume(int v, const std::vector<std::string>& changed)
{
    VolumeRegistry& r = m_main->registry();
    LawVolumeEntry& e = r.law[static_cast<std::size_t>(v)];
    // Taken before reading, as at start-up.
    m_lawStates[static_cast<std::size_t>(v)] = store::statesOf(r.files.lawFiles(v));
    r.History.ForgetTab(e.TabSheet);
    const std::string volume = tabCaption(e.TabSheet) + " のファイル (" + joinNames(changed) + ") が更新されました。";
    try {
        m_houjin->ReopenLawVolume(r.files, v);
    } catch (const std::exception& error) {
        m_houjin->CloseLawVolume(v);
        e.ArticleRtf.clear();
        e.RichEdit->loadPlainText({});
        e.TreeView->setNodes({});
        m_platform.showError(errorTextOf(volume + "巻を開き直せないので閉じました: " + error.what()));
        return;
    }
    ClearLawConditions(*m_main, v);
    ShowWholeLawVolume(*m_main, v);
    m_main->ResetLawListHeight(v);
    m_main->LoadOutline(v);
    m_platform.showMessage(text::cp932(volume + "巻を開き直して最初の条文を表示しています。もう一度操作してください"));
}

void RunningProgram::reopenBookVolume(int b, const std::vector<std::string>& changed)
{
    VolumeRegistry& r = m_main->registry();
    BookVolumeEntry& e = r.book[static_cast<std::size_t>(b)];
    m_bookStates[static_cast<std::size_t>(b)] = store::statesOf(r.files.bookTableFiles(b));
    r.History.ForgetTab(e.TabSheet);
    const std::string volume = tabCaption(e.TabSheet) + " のファイル (" + joinNames(changed) + ") が更新されました。";
    try {
        m_hbooks->ReopenBookVolume(r.files, b);
    } catch (const std::exception& error) {
        m_hbooks->CloseBookVolume(b);
        e.RichEdit->loadPlainText({});
        m_platform.showError(errorTextOf(volume + "巻を開き直せないので閉じました: " + error.what()));
        return;
    }
    ClearBookConditions(*m_main, b);
    ShowWholeBookVolume(*m_main, b);
    m_main->ResetBookDetailHeight(b);
    m_platform.showMessage(text::cp932(volume + "巻を開き直して最初の項目を表示しています。もう一度操作してください"));
}

RunningProgram::~RunningProgram()
{
    m_houjin->onArticleScroll = nullptr;
    m_hbooks->onEntryScroll = nullptr;
    m_main.reset();
}

void RestoreOnLaterStart(SingleInstance& instance, TMain& window)
{
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] { bringToFront(&window); });
}
