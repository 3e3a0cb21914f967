// The screenshot of the main window that scripts/screenshot takes: the program started as its
// entry starts it, on the sample volumes (or on volumes written here when the samples are not
// built), shown and grabbed into a PNG. Runs only when that script asks for it.
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <filesystem>

#include "ProgramFixture.h"
#include "display/DataGrid.h"
#include "store/Table.h"

using namespace apptest;
namespace fs = std::filesystem;

namespace {

// A short consumption-tax volume of our own wording, enough to fill the window.
store::LawVolumeContent illustrationVolume()
{
    store::LawVolumeContent v;
    v.letter = 'E';
    struct Article {
        int kubunNo;
        const char* kubun;
        const char* bangou;
        const char* title;
        const char* text;
    };
    const Article articles[] = {
        {110, "消法", "１条", "第１条（趣旨）",
         "第１条　この法律は、消費税の課税の対象、納税義務者及び税額の計算について定めるものとする。\r\n"
         "２　消費税の収入の使途については、別に法律で定める。"},
        {110, "消法", "２条", "第２条（定義）",
         "第２条　この法律において、次の各号に掲げる用語の意義は、当該各号に定めるところによる。\r\n"
         "一　事業者　個人事業者及び法人をいう。\r\n"
         "二　資産の譲渡等　事業として対価を得て行われる資産の譲渡及び貸付け並びに役務の提供をいう。\r\n"
         "三　課税期間　第１９条に規定する期間をいう。"},
        {110, "消法", "４条", "第４条（課税の対象）",
         "第４条　国内において事業者が行った資産の譲渡等には、この法律により、消費税を課する。\r\n"
         "２　保税地域から引き取られる外国貨物には、この法律により、消費税を課する。"},
        {110, "消法", "５条", "第５条（納税義務者）",
         "第５条　事業者は、国内において行った課税資産の譲渡等につき、消費税を納める義務がある。"},
        {110, "消法", "９条", "第９条（小規模事業者に係る納税義務の免除）",
         "第９条　基準期間における課税売上高が千万円以下である事業者については、消費税を納める義務を免除する。\r\n"
         "（注）基準期間の意義は、第２条第１項第十四号による。"},
        {120, "消令", "１条", "第１条（定義）",
         "第１条　この政令において「資産」とは、取引の対象となる一切の資産をいう。"},
        {140, "消基通", "１－１－１", "１－１－１（個人事業者と給与所得者の区分）",
         "１－１－１　事業者とは自己の計算において独立して事業を行う者をいうから、雇用契約に基づく労務の提供は事業に該当しない。"},
    };
    int gyo = 1;
    v.outline.push_back({0, cp932("消費税法")});
    v.outline.push_back({1, cp932("第一章　総則")});
    for (const Article& a : articles) {
        v.articles.push_back({gyo, a.kubunNo, cp932(a.kubun), cp932(a.bangou), cp932(a.title), cp932(a.text) + "\r\n"});
        if (a.kubunNo == 120 && v.outline.back().depth != 0)
            v.outline.push_back({0, cp932("消費税法施行令")});
        if (a.kubunNo == 140)
            v.outline.push_back({0, cp932("消費税法基本通達")});
        v.treePositions.push_back({gyo, static_cast<int>(v.outline.size())});
        v.outline.push_back({a.kubunNo == 110 ? 2 : 1, cp932(a.title)});
        ++gyo;
    }
    // References drawn as links: 第１９条 in article 2, 第２条第１項第十四号 in article 5.
    auto link = [&v](int gyo, const char* phrase, int target) {
        const std::string& honbun = v.articles[static_cast<std::size_t>(gyo - 1)].honbun;
        const std::size_t at = text::find(honbun, cp932(phrase));
        if (at != std::string::npos)
            v.links.push_back({gyo, static_cast<int>(at), static_cast<int>(cp932(phrase).size()), target, 1});
    };
    link(2, "第１９条", 4);
    link(5, "第２条第１項第十四号", 2);
    return v;
}

}  // namespace

TEST(Screenshot, ofTheMainWindow)
{
    const QByteArray output = qgetenv("SORVANE_SCREENSHOT_FILE");
    if (output.isEmpty())
        GTEST_SKIP() << "taken by scripts/screenshot";
    const fs::path volumes = qEnvironmentVariable("SORVANE_SCREENSHOT_VOLUMES").toStdString();

    testsupport::TempWorkingDir dir;
    if (!volumes.empty() && fs::exists(volumes / "E1.db")) {
        for (const auto& entry : fs::directory_iterator(volumes))
            if (entry.is_regular_file())
                fs::copy_file(entry.path(), dir.path() / entry.path().filename());
    } else {
        store::writeLawVolume(dir.path(), illustrationVolume());
        store::LawVolumeContent company = lawVolume('G', "会社法", 101, 3, 410, "会社法");
        store::writeLawVolume(dir.path(), company);
    }
    RecordingPlatform platform;
    platform.setTickCount(0);
    RunningProgram program(store::VolumeFiles::productDefault(), platform, kStandardTitle);
    TMain& window = program.main();
    platform.setTickCount(1250);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.registry().tables.law[1].mainTable->MoveTo(1);
    QTest::qWait(300);
    // A palette of 256 colours keeps the committed picture small; the window has few colours.
    QImage shot = window.grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AutoColor);
    ASSERT_TRUE(shot.save(QString::fromLocal8Bit(output), "PNG", 0));
    window.close();
}
