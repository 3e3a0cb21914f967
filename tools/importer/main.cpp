// The importer command: law pages to authoring copies, delivery builds, book volumes.
#include <iostream>

#include "tools/importer/Command.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return importer::runCommand(args, std::cout, std::cerr);
}
