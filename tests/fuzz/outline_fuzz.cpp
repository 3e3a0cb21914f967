// Fuzz target: any bytes as a law volume's outline file X6.dl_, loaded into the real outline
// tree as the main window loads it. A file read as an outline must write back (as the delivery
// writes outlines) to a file that reads as the same nodes, and the tree must hold every node at
// the depth the file gives it.
#include <QApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "display/OutlineTree.h"
#include "store/VolumeWriter.h"
#include "tests/fuzz/FuzzFiles.h"

namespace {

void fail(const char* what)
{
    std::fprintf(stderr, "outline_fuzz: %s\n", what);
    std::abort();
}

OutlineTree* tree = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "outline_fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    tree = new OutlineTree;
    tree->resize(235, 300);
    tree->show();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parsed = ParseOutline(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool loaded = tree->loadOutlineFile(fuzz::writeScratch("E6.dl_", data, size));
    if (loaded != parsed.has_value())
        fail("the tree and the parser disagree on whether the file is an outline");
    if (!parsed) {
        if (tree->nodeCount() != 0)
            fail("a refused file left nodes in the tree");
        return 0;
    }
    const auto reread = ParseOutline(store::outlineFileText(*parsed));
    if (!reread || reread->size() != parsed->size())
        fail("a written outline does not read back");
    for (std::size_t i = 0; i < parsed->size(); ++i)
        if ((*reread)[i].depth != (*parsed)[i].depth || (*reread)[i].caption != (*parsed)[i].caption)
            fail("a written outline reads back with other nodes");
    if (tree->nodeCount() != static_cast<int>(parsed->size()))
        fail("the tree does not hold every node");
    for (int i = 0; i < tree->nodeCount(); ++i)
        if (tree->levelAt(i) != (*parsed)[static_cast<std::size_t>(i)].depth)
            fail("a node sits at another depth than the file gives");
    if (tree->nodeCount() > 0) {
        const int last = tree->nodeCount() - 1;
        tree->selectPositionShowingFrom(last, size % tree->nodeCount());
        if (tree->selectedPosition() != last)
            fail("the selected node is not the one asked for");
        tree->collapseEverything();
    }
    return 0;
}
