// The command line of the importer.
#include "tools/importer/Command.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

#include "store/TableError.h"
#include "store/UserDataFolder.h"
#include "store/Volumes.h"
#include "tools/importer/BookSource.h"
#include "tools/importer/Delivery.h"
#include "tools/importer/EditorsWork.h"
#include "tools/importer/HelpPages.h"
#include "tools/importer/LawSources.h"
#include "tools/importer/LinkMeasurement.h"
#include "tools/importer/PageParser.h"
#include "tools/importer/VolumeImport.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

const char* kUsage =
    "使い方:\n"
    "  importer import  目録 作業フォルダ 巻\n"
    "  importer deliver 作業フォルダ 巻 [出力フォルダ]\n"
    "  importer build   目録 作業フォルダ 巻 [出力フォルダ]\n"
    "  importer book    元データ 書籍の巻(B/F/J) [出力フォルダ]\n"
    "  importer check   ページまたは法令標準XML\n"
    "  importer measure 目録\n"
    "巻は A E G H I K または 0 から 5。-v で参照先のない参照を全部表示します。\n"
    "目録には法令のページ (HTML) も法令標準XML のファイルも書けます。同じ法令の版がいくつもあるときは\n"
    "--as-of YYYY-MM-DD (省略すると今日) に施行されている版を取ります。\n"
    "--ignore-page-links (import, build): ページのリンクを使わず、本文から見つけた参照だけでリンクします。\n"
    "measure: ページのリンクと本文から見つけたリンクを法令ごとに比べます (-v で食い違いを全部表示)。\n"
    "取り込み直すと、リンクエディタで登録したリンクと編集した本文を新しい作業用データに引き継ぎます。\n"
    "置けなかったものは作業用データの 引き継ぎ報告.txt に書きます。\n"
    "目録の bytes と sha256 の列は、書いてあればファイルと照合します。\n"
    "出力フォルダを省くと、プログラムが次の起動で読むデータフォルダ\n"
    "($XDG_DATA_HOME/sorvane36lite、既定は ~/.local/share/sorvane36lite) に書きます。\n";

int lawVolumeOf(const std::string& s)
{
    for (int v = 0; v < store::kLawVolumeCount; ++v)
        if (s == std::string(1, store::kLawLetters[static_cast<std::size_t>(v)]) || s == std::to_string(v))
            return v;
    throw UsageError("法令の巻がわかりません: " + s);
}

char bookLetterOf(const std::string& s)
{
    for (char c : store::kBookLetters)
        if (s == std::string(1, c))
            return c;
    throw UsageError("書籍の巻がわかりません: " + s);
}

void reportImport(const VolumeImport& result, bool verbose, std::ostream& out, std::ostream& err)
{
    for (const auto& law : result.laws) {
        out << summaryLine(law) << "\n";
        if (!law.revision.empty())
            out << law.name << ": " << law.revision << "\n";
        for (const auto& p : law.problems)
            err << "警告: " << law.name << ": " << p << "\n";
        if (verbose)
            for (const auto& u : law.unresolved)
                out << "  参照先なし: " << u << "\n";
    }
    out << "合計: 条文 " << result.volume.articles.size() << " 行, リンク " << result.volume.links.size() << " 件\n";
}

void runImport(const std::string& manifest, const std::string& root, int volume, bool verbose, ImportOptions options,
               std::ostream& out, std::ostream& err)
{
    auto entries = readManifest(manifest);
    VolumeImport result = importVolume(entries, [&](const std::string& m) { out << m << "\n"; }, options);
    // A re-import carries what editors did in the previous copy; a copy that cannot be read
    // stops it, since its links would be lost unseen.
    std::optional<CarriedWork> carried;
    const fs::path jyobun = jyobunDirectory(root, volume);
    if (hasAuthoringCopy(root, volume)) {
        AuthoringVolume previous;
        try {
            previous = readAuthoringVolume(root, volume, false);
        } catch (const store::TableError& e) {
            throw ImportError("前の作業用データ " + jyobun.string() + " が読めないので、編集者の作業を引き継げません (" +
                              e.what() + ")。読めるように直すか、別の場所へ移してから取り込んでください");
        }
        carried = carryEditorsWork(previous, result.volume);
    }
    writeAuthoringVolume(root, volume, result.volume, carried ? carriedWorkReport(*carried) : std::string());
    reportImport(result, verbose, out, err);
    if (carried) {
        out << "編集者の作業: リンク " << carried->linksCarried << " 件, 本文 " << carried->textsCarried
            << " 件を引き継ぎました。置けなかったもの " << carried->notPlaced.size() << " 件 (報告: "
            << carryReportPath(root, volume).string() << ")\n";
        for (const auto& line : carried->notPlaced)
            err << "警告: 引き継げません: " << line << "\n";
        for (const auto& line : carried->toCheck)
            err << "警告: " << line << "\n";
    }
    out << "作業用データを書きました: " << jyobun.string() << "\n";
}

void runDeliver(const std::string& root, int volume, const std::string& target, std::ostream& out, std::ostream& err)
{
    Delivery d = deliverVolume(root, volume, target);
    // The program opens its help pages beside the volumes it shows.
    writeHelpPages(target);
    for (const auto& law : d.laws)
        out << summaryLine(law) << "\n";
    for (const auto& p : d.problems)
        err << "警告: " << p << "\n";
    out << "配布データを書きました: " << target << " (" << d.content.letter << "1.db … " << d.content.letter
        << "6.dl_): 条文 " << d.content.articles.size() << ", リンク " << d.content.links.size() << ", 参照索引 "
        << d.content.references.size() << ", 目次 " << d.content.outline.size() << ", 置換した文字 "
        << d.replacedCharacters << "\n";
}

void runCheck(const std::string& page, std::ostream& out, std::ostream& err)
{
    std::ifstream in(page, std::ios::binary);
    if (!in)
        throw ImportError("ページが読めません: " + page);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string content = bytes.str();
    const bool xml = looksLikeLawXml(content);
    if (!xml)
        if (auto defect = pageDefect(content))
            throw ImportError("ページ " + page + " が読めません: " + *defect);
    LawXml law;
    if (xml)
        law = readLawXml(content, page);
    LawPage p = xml ? std::move(law.page) : parseLawPage(content);
    if (!xml)
        if (auto defect = lawPageDefect(p))
            throw ImportError("ページ " + page + " が読めません: " + *defect);
    if (xml)
        out << toUtf8(p.title) << ": " << revisionLine(law.revision) << "\n";
    std::size_t supplementary = 0;
    for (const auto& b : p.supplementary)
        supplementary += b.provisions.size();
    out << toUtf8(p.title) << " (" << toUtf8(p.promulgation) << "): 見出し " << p.headings.size() << ", 条文 "
        << p.articles.size() << ", 附則 " << p.supplementary.size() << " 件 " << supplementary << " 行, 別表 "
        << p.appendedTables.size() << ", リンク " << p.links.size() << "\n";
    for (const auto& problem : p.problems)
        err << "警告: " << problem << "\n";
}

void runMeasure(const std::string& manifest, bool verbose, std::ostream& out)
{
    auto measures = measureFoundLinks(readManifest(manifest));
    out << "法令\tページのリンク\t一致\t再現率\t再現率 (引用の中へ戻る同を除く)\t本文からのリンク\t一致\t適合率\t適合率 (表と読点の後の列挙を除く)\t附則・別表へ\n";
    for (const auto& m : measures)
        out << measureLine(m) << "\n";
    if (verbose)
        for (const auto& m : measures) {
            for (const auto& miss : m.missed)
                out << "  見つからない: " << m.name << " " << miss << "\n";
            for (const auto& wrong : m.unmatched)
                out << "  ページにない: " << m.name << " " << wrong << "\n";
        }
}

}  // namespace

int runCommand(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> args;
    bool verbose = false;
    ImportOptions options;
    std::optional<std::string> asOfText;
    for (std::size_t i = 0; i < rawArgs.size(); ++i) {
        const std::string& a = rawArgs[i];
        if (a == "-v")
            verbose = true;
        else if (a == "--ignore-page-links")
            options.ignorePageLinks = true;
        else if (a == "--as-of")
            asOfText = i + 1 < rawArgs.size() ? rawArgs[++i] : std::string();
        else if (a.rfind("--as-of=", 0) == 0)
            asOfText = a.substr(8);
        else
            args.push_back(a);
    }
    try {
        if (asOfText) {
            auto day = parseIsoDate(*asOfText);
            if (!day)
                throw UsageError("--as-of の日付は YYYY-MM-DD で書いてください: " + *asOfText);
            options.asOf = *day;
        }
        if (args.empty())
            throw UsageError("コマンドがありません");
        const std::string& cmd = args[0];
        auto need = [&](std::size_t n) {
            if (args.size() != n + 1)
                throw UsageError(cmd + " の引数は " + std::to_string(n) + " 個です");
        };
        // The output folder, the last of n arguments, may be left out: the user's data folder,
        // where the installed program finds the volumes at its next start (the volume writer
        // makes the folder).
        auto needOutput = [&](std::size_t n) {
            if (args.size() == n) {
                const std::filesystem::path data = store::UserDataFolder();
                if (data.empty())
                    throw UsageError("出力フォルダを指定して下さい (HOME がありません)");
                args.push_back(data.string());
            }
            need(n);
        };
        if (cmd == "import") {
            need(3);
            runImport(args[1], args[2], lawVolumeOf(args[3]), verbose, options, out, err);
        } else if (cmd == "deliver") {
            needOutput(3);
            runDeliver(args[1], lawVolumeOf(args[2]), args[3], out, err);
        } else if (cmd == "build") {
            needOutput(4);
            int volume = lawVolumeOf(args[3]);
            runImport(args[1], args[2], volume, verbose, options, out, err);
            runDeliver(args[2], volume, args[4], out, err);
        } else if (cmd == "book") {
            needOutput(3);
            char letter = bookLetterOf(args[2]);
            auto content = readBookSource(args[1], letter, args[3]);
            store::writeBookVolume(args[3], content);
            writeHelpPages(args[3]);
            out << "書籍データを書きました: " << args[3] << " (" << letter << "1.db …): 項目 " << content.entries.size()
                << ", 書籍 " << content.books.size() << ", 条文へ " << content.jumps.size() << ", 文書へ "
                << content.urls.size() << "\n";
        } else if (cmd == "measure") {
            need(1);
            runMeasure(args[1], verbose, out);
        } else if (cmd == "check") {
            need(1);
            runCheck(args[1], out, err);
        } else {
            throw UsageError("知らないコマンドです: " + cmd);
        }
    } catch (const UsageError& e) {
        err << "importer: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        err << "importer: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace importer
