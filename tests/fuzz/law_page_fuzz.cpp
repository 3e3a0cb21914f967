// Fuzz target: any bytes as a saved law page, imported as `importer import` does; it must
// neither crash nor read outside its input, whatever the markup, and what it imports must
// deliver as an outline the program can load.
#include "tests/fuzz/ImportOne.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::importOne(data, size, "law.htm");
    return 0;
}
