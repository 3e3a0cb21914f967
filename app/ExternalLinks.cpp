// The web menu's table, the help file and the About box.
#include "app/ExternalLinks.h"

#include <QAction>
#include <QMenu>
#include <string_view>

#include "app/TMain.h"
#include "platform/Platform.h"
#include "text/Cp932.h"

namespace {

constexpr char kAboutCaption[] = "Sorvane バージョン情報";

// The lines of the About box, in order.
constexpr const char* kAboutLines[] = {
    "Sorvane 36 Lite Ver 1.0",
    // The maker and how to reach it.
    "開発・販売　Sorvane 開発チーム",
    "税法条文データベース　Sorvane シリーズ",
    "お問い合わせ　Sorvane サポート窓口",
    "ホームページ　https://www.sorvane.example/",
    "サポート　https://www.sorvane.example/support/",
    "電子メール　support@sorvane.example",
    "受付時間　平日 9:00～17:00（祝日・年末年始を除く）",
    "",
    "収録条文　令和5年6月1日現在",
    "",
    "適用事業年度開始日",
    "　令和5年4月1日～令和6年3月31日",
    "適用事業年度終了日",
    "　令和6年3月31日～令和7年3月30日",
};

}  // namespace

const std::vector<WebTarget>& WebTargets()
{
    static const std::vector<WebTarget> targets = {
        {"HTML2", "HTMLヘルプ", kHelpFile, 'H'},
        {"SorvaneHomePage", "Sorvane ｻﾎﾟｰﾄﾎｰﾑﾍﾟｰｼﾞ", "https://www.sorvane.example/support/", 'S'},
        {"N1", nullptr, nullptr, 0},
        {"HoureiDataBase", "e-Gov法令検索", "https://laws.e-gov.go.jp/", 'L'},
        {"KokuzeiTutatu", "国税庁 通達ﾎｰﾑﾍﾟｰｼﾞ", "https://www.nta.go.jp/law/tsutatsu/menu.htm", 'T'},
        {"TaxAnswer", "国税庁 ﾀｯｸｽｱﾝｻｰ", "https://www.nta.go.jp/taxes/shiraberu/taxanswer/index2.htm", 'F'},
        {"N11", nullptr, nullptr, 0},
        {"KokuzeiHp", "国税庁", "https://www.nta.go.jp/", 'G'},
        {"KokuzeiRosen", "国税庁 路線価図", "https://www.rosenka.nta.go.jp/", 'R'},
        {"HuhukuSaiketu", "国税不服審判所 裁決事例", "https://www.kfs.go.jp/service/index.html", 'K'},
        {"N12", nullptr, nullptr, 0},
        // The Bank of Japan's statistics: month-end exchange rates, interest rates and share prices.
        {"QyxKawase", "QYX 外国為替レート・金利・株価　月末推移表", "https://www.stat-search.boj.or.jp/", 'D'},
    };
    return targets;
}

std::string WebTargetCaption(const WebTarget& target)
{
    if (!target.label)
        return "-";
    return std::string(target.label) + " " + target.address + "(&" + target.accelerator + ")";
}

void FillNetPopupMenu(TMain& main)
{
    QMenu* menu = main.NetPopupMenu1;
    for (const WebTarget& target : WebTargets()) {
        if (!target.label) {
            menu->addSeparator()->setObjectName(QString::fromLatin1(target.item));
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(WebTargetCaption(target)));
        action->setObjectName(QString::fromLatin1(target.item));
        if (std::string_view(target.item) == "HTML2")
            QObject::connect(action, &QAction::triggered, &main, [&main] { runCommand(main.platformOfWindow(), [&main] { main.HTML1Click(); }); });
        else
            QObject::connect(action, &QAction::triggered, &main, [&main, &target] {
                runCommand(main.platformOfWindow(), [&main, &target] { OpenWebTarget(main.platformOfWindow(), target); });
            });
    }
}

void OpenWebTarget(Platform& platform, const WebTarget& target)
{
    platform.shellOpen(text::cp932(target.address));
}

void OpenHelp(Platform& platform)
{
    platform.shellOpen(kHelpFile);
}

std::string AboutText()
{
    std::string out;
    for (const char* line : kAboutLines)
        out += text::cp932(line) + "\r";
    return out;
}

void ShowAbout(Platform& platform)
{
    platform.inform(text::cp932(kAboutCaption), AboutText(), MessageIcon::Information);
}
