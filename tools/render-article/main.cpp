// render-article: the RTF document an article's text view shows, written to standard output as
// the code page 932 bytes of an RTF file, so that content editors can proof an article's layout
// in any RTF reader and scripts can check a volume's articles.
#include <cstdio>
#include <iostream>

#include "display/ArticleRenderer.h"
#include "display/ArticleSource.h"
#include "store/Table.h"
#include "tools/VolumeArguments.h"

namespace {

constexpr std::string_view kName = "render-article";

const std::string kUsage = std::string(
    "usage: render-article FOLDER LETTER GYO [--word1 WORD] [--word2 WORD] > article.rtf\n"
    "  FOLDER    the folder holding the volume's files (E1.db … E5.db for E)\n") +
    std::string(tools::kLetterHelp) +
    "  GYO       the article's Gyo\n"
    "  --word1 WORD   first highlight word, red (as a search leaves it: digits full width)\n"
    "  --word2 WORD   second highlight word, magenta\n"
    "Writes the document in code page 932, as the program's text view loads it.\n"
    "Exit status: 0 written, 1 no such article, 2 a wrong command line, 3 an unreadable volume.\n";

int run(int argc, char** argv)
{
    tools::Arguments args = tools::splitArguments(argc, argv, {"--word1", "--word2"});
    if (args.positional.size() != 3)
        throw tools::UsageError("expected a folder, a letter and a Gyo");
    const int volume = tools::lawVolumeArgument(args.positional[1]);
    const int gyo = tools::integerArgument(args.positional[2], "the Gyo");
    std::string word1, word2;
    if (auto it = args.options.find("--word1"); it != args.options.end())
        word1 = tools::cp932Argument(it->second, "word 1");
    if (auto it = args.options.find("--word2"); it != args.options.end())
        word2 = tools::cp932Argument(it->second, "word 2");

    display::LawVolumeFolder folder(args.positional[0], volume);
    if (!folder.showArticle(gyo)) {
        std::cerr << kName << ": " << folder.fileName(1) << " has no article with Gyo " << gyo << "\n";
        return tools::kNotFound;
    }
    if (folder.subTable().IsEmpty()) {
        std::cerr << kName << ": " << folder.fileName(2) << " has no text for Gyo " << gyo << "\n";
        return tools::kNotFound;
    }
    display::ArticleRenderInput input = display::ReadArticleRenderInput(folder.subTable(), folder.linkTable(), gyo);
    input.highlightWord1 = word1;
    input.highlightWord2 = word2;
    const std::string document = display::RenderArticle(input);
    std::fwrite(document.data(), 1, document.size(), stdout);
    return std::fflush(stdout) == 0 ? tools::kFound : tools::kVolumeError;
}

}  // namespace

int main(int argc, char** argv)
{
    return tools::runCommand(kName, kUsage, [&] { return run(argc, argv); });
}
