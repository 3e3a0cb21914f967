// Where an article's render input comes from: its text and category code on the sub table, its
// link rows in the link table. And one law volume's tables opened from a folder the way the
// program opens them, for the commands that show what the program would show.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "display/ArticleRenderer.h"
#include "store/Houjin.h"
#include "store/Volumes.h"

namespace store {
class DataSet;
class DataSource;
class Query;
class Table;
}  // namespace store

namespace display {

// Honbun and KubunNo of the sub table's current row, and the link rows of gyo in the link table's
// order. The link table is indexed on Gyo and holds the rows of one Gyo in ascending Sel, so the
// rows are those from the first row of gyo up to the first row of another Gyo. Moves the link
// table's current row. No highlight words: display mode sets them, link-to-memo mode has none.
// An empty sub table gives an empty Honbun, which renders as the head alone.
ArticleRenderInput ReadArticleRenderInput(store::DataSet& subTableOnArticle, store::Table& linkTable, int gyo);

// The link table's rows of one article, in the link table's order (Gyo, then file order). The
// link table's current row stays.
std::vector<ArticleLinkRow> linkRowsOfArticle(store::DataSet& linkTable, long long gyo);

// The law volume whose file letter is letter (A E G H I K, either case), or -1.
int LawVolumeOfLetter(char letter);

// A law volume's browsing tables (X1, X2, X4, X5.db), opened from a folder by the law data module
// with only that volume present: the same required fields, order and master link as at start-up.
// The folder becomes the working directory, since queries name their table files by bare name.
class LawVolumeFolder {
public:
    // Throws store::TableError naming the folder when it is missing, or the table file that is
    // missing or is no table file of the volume.
    LawVolumeFolder(const std::filesystem::path& folder, int lawVolume);
    ~LawVolumeFolder();
    LawVolumeFolder(const LawVolumeFolder&) = delete;
    LawVolumeFolder& operator=(const LawVolumeFolder&) = delete;

    int volume() const { return m_volume; }
    const store::VolumeFiles& files() const { return m_files; }
    // LawFileNames of the volume: role 1 "E1.db" (main table) … role 2 the searched sub table.
    const std::string& fileName(int role) const;

    store::Table& mainTable() const;
    store::Table& subTable() const;
    store::Table& linkTable() const;
    store::DataSource& mainSource() const;
    // The first query of the law pool, its look-up fields (Kubun, Bangou, Title) reading this
    // volume's main table, as a search takes it.
    store::Query& searchQuery() const;

    // Makes article gyo the main table's current row; the sub table follows. False when the main
    // table (under its current filter) holds no such article.
    bool showArticle(int gyo);

private:
    std::unique_ptr<store::THoujin> m_houjin;
    store::TableRegistry m_registry;
    store::VolumeFiles m_files;
    int m_volume;
};

}  // namespace display
