// Fuzz target: any bytes as a book volume's source, read as `importer book` reads it (jump
// records looked up in a delivered law volume) and, when accepted, written as the book volume.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "store/TableError.h"
#include "store/VolumeWriter.h"
#include "store/Volumes.h"
#include "tests/fuzz/FuzzFiles.h"
#include "text/Cp932.h"
#include "tools/importer/BookSource.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Law volume 0 with two articles for the jump records to find.
    store::LawVolumeContent law;
    law.letter = store::kLawLetters[0];
    law.articles.push_back({1, 10, text::cp932("法法"), text::cp932("２条"), text::cp932("第２条（定義）"),
                            text::cp932("第２条　この法律において…")});
    law.articles.push_back({2, 40, text::cp932("法令"), text::cp932("３条"), text::cp932("第３条"),
                            text::cp932("第３条　法第２条に規定する…")});
    law.outline.push_back({0, text::cp932("法人税法")});
    store::writeLawVolume(fuzz::scratchFolder() / "law", law);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    store::BookVolumeContent content;
    try {
        content = importer::readBookSource(fuzz::writeScratch("book.tsv", data, size), 'B', fuzz::scratchFolder() / "law");
    } catch (const importer::BookSourceError&) {
        return 0;
    }
    try {
        store::writeBookVolume(fuzz::scratchFolder() / "book", content);
    } catch (const store::TableError& e) {
        std::fprintf(stderr, "book_source_fuzz: an accepted source does not write: %s\n", e.what());
        std::abort();
    }
    return 0;
}
