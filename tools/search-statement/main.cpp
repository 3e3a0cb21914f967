// search-statement: the statement the keyword search builds for a volume, keywords and range,
// and the articles it finds when the table engine runs it over the volume's files, so that
// content editors and scripts can check what a search finds without the program.
#include <iostream>

#include "display/ArticleSource.h"
#include "search/SearchStatements.h"
#include "store/Query.h"
#include "tools/VolumeArguments.h"

namespace {

constexpr std::string_view kName = "search-statement";

const std::string kUsage = std::string(
    "usage: search-statement FOLDER LETTER KEYWORD1 [KEYWORD2] [--range LABEL]\n"
    "  FOLDER    the folder holding the volume's files (E1.db … E5.db for E)\n") +
    std::string(tools::kLetterHelp) +
    "  KEYWORD1  the first keyword (\"\" to search the second alone)\n"
    "  KEYWORD2  the second keyword; an article must hold both\n"
    "  --range LABEL  the item selected in the volume's range list, e.g. 本法関係 (default 全範囲)\n"
    "The keywords are normalised as the search does (digits to full width, ー to －). Prints the\n"
    "statement's lines as built (trailing blanks kept), an empty line, then Gyo<TAB>Title of every\n"
    "article found, in list order, or 該当の条文はありません.\n"
    "Exit status: 0 articles found, 1 none, 2 a wrong command line, 3 an unreadable volume.\n";

int run(int argc, char** argv)
{
    tools::Arguments args = tools::splitArguments(argc, argv, {"--range"});
    if (args.positional.size() < 3 || args.positional.size() > 4)
        throw tools::UsageError("expected a folder, a letter and one or two keywords");
    const int volume = tools::lawVolumeArgument(args.positional[1]);
    std::string keyword1 = search::NormaliseKeywordText(tools::cp932Argument(args.positional[2], "keyword 1"));
    std::string keyword2 = args.positional.size() > 3
                               ? search::NormaliseKeywordText(tools::cp932Argument(args.positional[3], "keyword 2"))
                               : std::string();
    const std::string range = tools::rangeArgument(args, volume);
    if (keyword1.empty() && keyword2.empty())
        throw tools::UsageError("キーワードが入力されていません");

    display::LawVolumeFolder folder(args.positional[0], volume);
    search::KeywordStatement statement =
        search::BuildKeywordStatement(volume, folder.fileName(2), keyword1, keyword2, range);
    for (const auto& line : statement.lines)
        std::cout << tools::utf8(line) << "\n";
    std::cout << "\n";

    store::Query& query = folder.searchQuery();
    query.SetSQL(statement.lines);
    query.Open();
    if (query.IsEmpty()) {
        std::cout << "該当の条文はありません\n";
        return tools::kNotFound;
    }
    for (query.First(); !query.Eof(); query.Next())
        std::cout << query.IntegerField("GYO") << "\t" << tools::utf8(query.TextField("Title")) << "\n";
    return tools::kFound;
}

}  // namespace

int main(int argc, char** argv)
{
    return tools::runCommand(kName, kUsage, [&] { return run(argc, argv); });
}
