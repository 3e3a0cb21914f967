// searchcheck: shows, for a law volume's files, what the main window's keyword search and
// article-number jump would do, so that content editors and scripts can check a volume without
// the window: the statement a search builds and the articles it finds, the number a typed
// article number becomes and the article it jumps to. Arguments and output are UTF-8.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "search/ArticleNumber.h"
#include "search/SearchStatements.h"
#include "store/Query.h"
#include "store/RangePresets.h"
#include "store/Table.h"
#include "store/Volumes.h"
#include "text/Cp932.h"

namespace {

constexpr std::string_view kUsage =
    "usage: searchcheck keywords FOLDER LETTER RANGE KEYWORD1 [KEYWORD2]\n"
    "       searchcheck number FOLDER LETTER RANGE NUMBER\n"
    "  FOLDER    the folder holding the volume's files (X1.db … X6.dl_)\n"
    "  LETTER    the volume's file letter: A 法人税, E 消費税, G 会社法民法, H 所得税, I 相続税,\n"
    "            K 国通徴印紙\n"
    "  RANGE     an item of the volume's range list, e.g. 全範囲 or 本法関係\n"
    "  keywords  prints the keywords as the key edits show them, the statement lines (each line\n"
    "            as sent, trailing blank included) and the Gyo of every article found\n"
    "  number    prints the article number as the number edit shows it and the Gyo of the\n"
    "            article the jump moves to, the list showing the whole volume under RANGE\n";

int refuse(std::string_view reason)
{
    std::cerr << "searchcheck: " << reason << "\n" << kUsage;
    return 2;
}

// A UTF-8 argument in code page 932; false when some character has no code page 932 form.
bool toCp932(const char* argument, std::string& out)
{
    text::Conversion converted = text::fromUtf8(argument);
    out = converted.text;
    return converted.clean();
}

std::string utf8(const std::string& cp932Text)
{
    return text::toUtf8(cp932Text).text;
}

int lawVolumeOfLetter(std::string_view letter)
{
    if (letter.size() != 1)
        return -1;
    const auto& letters = store::kLawLetters;
    const auto it = std::find(letters.begin(), letters.end(), letter[0]);
    return it == letters.end() ? -1 : static_cast<int>(it - letters.begin());
}

int checkKeywords(int v, char letter, const std::string& range, const std::string& key1, const std::string& key2)
{
    search::KeywordStatement statement = search::BuildKeywordStatement(
        v, std::string(1, letter) + "2.db", search::NormaliseKeywordText(key1), search::NormaliseKeywordText(key2), range);
    std::cout << "keywords\t" << utf8(statement.keyword1) << "\t" << utf8(statement.keyword2) << "\n";
    for (const std::string& line : statement.lines)
        std::cout << utf8(line) << "\n";
    store::Query query("searchcheck");
    query.SetSQL(statement.lines);
    query.Open();
    std::cout << "found\t" << query.RecordCount() << "\n";
    for (query.First(); !query.Eof(); query.Next())
        std::cout << "Gyo\t" << query.IntegerField("Gyo") << "\n";
    return 0;
}

int checkNumber(int v, char letter, const std::string& range, const std::string& typed)
{
    const std::string bangou = search::NormaliseArticleNumber(typed, range);
    std::cout << "number\t" << utf8(bangou) << "\n";
    store::Table mainTable("searchcheck");
    mainTable.SetTableName(std::string(1, letter) + "1.db");
    mainTable.Open();
    store::DataSource list;
    list.setDataSet(&mainTable);
    store::ApplyListRange(v, range, mainTable);
    if (!search::JumpToArticleNumber(v, bangou, range, mainTable, list)) {
        std::cout << "該当の条文はありません\n";
        return 1;
    }
    std::cout << "Gyo\t" << mainTable.IntegerField("Gyo") << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return refuse("expected keywords or number");
    const std::string_view command = argv[1];
    const bool keywords = command == "keywords";
    if (!keywords && command != "number")
        return refuse("the first argument must be keywords or number");
    if (keywords ? (argc < 6 || argc > 7) : argc != 6)
        return refuse(keywords ? "keywords takes a folder, a letter, a range and one or two keywords"
                               : "number takes a folder, a letter, a range and an article number");

    const std::filesystem::path folder = std::filesystem::u8path(argv[2]);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return refuse("the folder does not exist");
    const int v = lawVolumeOfLetter(argv[3]);
    if (v < 0)
        return refuse("the letter must be one of A E G H I K");
    std::string range;
    if (!toCp932(argv[4], range) || !store::FindLawRangePreset(v, range))
        return refuse("the range is none of the items of the volume's range list");

    std::vector<std::string> words;
    for (int i = 5; i < argc; ++i) {
        std::string word;
        if (!toCp932(argv[i], word))
            return refuse("an argument holds characters that code page 932 cannot represent");
        words.push_back(word);
    }
    if (keywords && words[0].empty() && (words.size() < 2 || words[1].empty()))
        return refuse("キーワードが入力されていません");
    if (!keywords && words[0].empty())
        return refuse("条文番号を入力してください");

    // The tables are found by bare file name, as the program finds them in its working folder.
    std::filesystem::current_path(folder, error);
    if (error)
        return refuse("the folder cannot be entered");
    try {
        const char letter = store::kLawLetters[static_cast<std::size_t>(v)];
        return keywords ? checkKeywords(v, letter, range, words[0], words.size() > 1 ? words[1] : std::string())
                        : checkNumber(v, letter, range, words[0]);
    } catch (const store::TableError& e) {
        std::cerr << "searchcheck: " << e.what() << "\n";
        return 3;
    }
}
