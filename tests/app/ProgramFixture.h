// Small volumes written into a temporary working directory, and the program started on them
// with the recording platform, as the tests of the main window use them.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "app/BuildVariant.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "platform/RecordingPlatform.h"
#include "store/VolumeWriter.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"

namespace apptest {

using text::cp932;

// A law volume of `count` articles numbered from firstGyo: article i is "第i条" of lawName with
// two lines of text; the first article links its bytes 4-7 to the second.
inline store::LawVolumeContent lawVolume(char letter, const std::string& lawName, int firstGyo, int count = 4,
                                         int kubunNo = 110, const std::string& kubun = "消法")
{
    store::LawVolumeContent v;
    v.letter = letter;
    v.outline.push_back({0, cp932(lawName)});
    for (int i = 0; i < count; ++i) {
        const int gyo = firstGyo + i;
        const std::string n = text::ToFullWidthDigits(std::to_string(i + 1));
        v.articles.push_back({gyo, kubunNo, cp932(kubun), n + cp932("条"), cp932("第") + n + cp932("条（趣旨）"),
                              cp932("第") + n + cp932("条　") + cp932(lawName) + cp932("の本文") + n + "\r\n" +
                                  cp932("２　前項の規定は適用しない。") + "\r\n"});
        v.treePositions.push_back({gyo, i + 1});
        v.outline.push_back({1, cp932("第") + n + cp932("条")});
    }
    if (count > 1)
        v.links.push_back({firstGyo, 4, 4, firstGyo + 1, 1});
    return v;
}

inline store::BookVolumeContent bookVolume(char letter)
{
    store::BookVolumeContent b;
    b.letter = letter;
    b.entries = {{10, 1, 1, cp932("基通"), "1", 12.5, cp932("　問１　寄附金の範囲")},
                 {11, 20, 2, cp932("税通"), "2", 30, cp932("問２　交際費の損金算入")},
                 {12, 20, 2, cp932("税通"), "3", 31, cp932("問３　役員給与")}};
    b.books = {{1, 1, cp932("法人税基本通達逐条解説"), cp932("十訂版"), cp932("税務研究会")},
               {20, 2, cp932("週刊税務通信"), cp932("第３０００号"), cp932("税務研究会")}};
    b.jumps = {{10, 1, 1}};
    b.urls = {{11, "https://example.invalid/a.pdf"}};
    return b;
}

// Flags from six law digits and three book digits, 1 = absent.
inline store::VolumeFiles flags(std::array<int, 6> law, std::array<int, 3> book = {1, 1, 1})
{
    store::VolumeFiles f;
    f.LawVolumeAbsent = law;
    f.BookVolumeAbsent = book;
    return f;
}

using testsupport::typeText;

class ProgramTest : public testsupport::MainWindowFixture<> {
protected:

    // The two law volumes of the product, 消費税 (E) and 会社法民法 (G).
    void writeProductVolumes()
    {
        store::writeLawVolume(dir.path(), lawVolume('E', "消費税法", 1));
        store::writeLawVolume(dir.path(), lawVolume('G', "会社法", 101, 3, 410, "会社法"));
    }
    void writeBookVolume(char letter = 'B') { store::writeBookVolume(dir.path(), bookVolume(letter)); }

    void start(const store::VolumeFiles& files, const char* titleUtf8 = kStandardTitle)
    {
        startProgram(files, titleUtf8);
    }
};

}  // namespace apptest
