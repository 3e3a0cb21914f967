// Fuzz target: any bytes as a law in the standard law XML, imported as `importer import` does
// (the bytes are recognised by content, so what is no XML goes the law page's way, as it would).
#include "tests/fuzz/ImportOne.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::importOne(data, size, "129AC0000000089_20260401_505AC0000000053.xml");
    return 0;
}
