// article-jump: the article number a typed number is rewritten to and the article the jump
// button finds for it in a volume's list, so that content editors can check the Bangou texts of
// a volume against the ways users type them.
#include <iostream>

#include "display/ArticleSource.h"
#include "search/ArticleNumber.h"
#include "store/RangePresets.h"
#include "store/Table.h"
#include "tools/VolumeArguments.h"

namespace {

constexpr std::string_view kName = "article-jump";

const std::string kUsage = std::string(
    "usage: article-jump FOLDER LETTER NUMBER [--range LABEL]\n"
    "  FOLDER    the folder holding the volume's files (E1.db … E5.db for E)\n") +
    std::string(tools::kLetterHelp) +
    "  NUMBER    the number as typed into the number edit, e.g. 35, 第35条, 35の2, 附則3\n"
    "  --range LABEL  the item selected in the volume's range list (default 全範囲); the list shows\n"
    "            the whole volume under that item's filter\n"
    "Prints the number as rewritten for the look-up, then Gyo<TAB>Title of the article the jump\n"
    "moves to, or 該当の条文はありません.\n"
    "Exit status: 0 found, 1 not found, 2 a wrong command line, 3 an unreadable volume.\n";

int run(int argc, char** argv)
{
    tools::Arguments args = tools::splitArguments(argc, argv, {"--range"});
    if (args.positional.size() != 3)
        throw tools::UsageError("expected a folder, a letter and an article number");
    const int volume = tools::lawVolumeArgument(args.positional[1]);
    const std::string typed = tools::cp932Argument(args.positional[2], "the number");
    const std::string range = tools::rangeArgument(args, volume);
    if (typed.empty())
        throw tools::UsageError("条文番号を入力してください");

    display::LawVolumeFolder folder(args.positional[0], volume);
    // Selecting the item filtered the list, which shows the main table; the jump searches it
    // under that filter.
    store::ApplyListRange(volume, range, folder.mainTable());
    const std::string bangou = search::NormaliseArticleNumber(typed, range);
    std::cout << tools::utf8(bangou) << "\n";
    if (!search::JumpToArticleNumber(volume, bangou, range, folder.mainTable(), folder.mainSource())) {
        std::cout << "該当の条文はありません\n";
        return tools::kNotFound;
    }
    std::cout << folder.mainTable().IntegerField("Gyo") << "\t" << tools::utf8(folder.mainTable().TextField("Title"))
              << "\n";
    return tools::kFound;
}

}  // namespace

int main(int argc, char** argv)
{
    return tools::runCommand(kName, kUsage, [&] { return run(argc, argv); });
}
