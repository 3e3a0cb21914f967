// The start-up sequence from the answer files to the data modules.
#include "app/Startup.h"

#include "app/TMain.h"
#include "display/ArticleDisplay.h"
#include "display/BookEntryDisplay.h"
#include "platform/AnswerFiles.h"
#include "platform/Platform.h"
#include "platform/SingleInstance.h"
#include "store/Hbooks.h"
#include "store/Houjin.h"
#include "text/Cp932.h"

RunningProgram::RunningProgram(store::VolumeFiles files, Platform& platform, const std::string& titleUtf8)
{
    deleteStaleAnswerFiles(".");
    const std::int64_t startTick = platform.tickCount();
    files.assignFileNames();
    platform.setApplicationTitle(text::cp932(titleUtf8));

    m_main = std::make_unique<TMain>(files, platform, startTick);
    VolumeRegistry& registry = m_main->registry();

    // Opening a sub table already displays its volume's first article, into the text views
    // the window has just made.
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
