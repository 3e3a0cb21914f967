// What the benchmark programs share: the options they take beside Google Benchmark's own
// flags, and the real 消費税 volume built from the corpus by the importer.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace bench {

// The value of "--name=value" among the arguments, removed from them so that the benchmark
// library does not see it; empty when it is not given.
inline std::string optionValue(int& argc, char** argv, const std::string& name)
{
    std::string value;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind(name + "=", 0) == 0)
            value = arg.substr(name.size() + 1);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return value;
}

// The build's folder: the parent of bench/, where the benchmark programs lie.
inline std::filesystem::path buildFolder()
{
    return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
}

// A path quoted for the shell.
inline std::string quoted(const std::filesystem::path& p)
{
    std::string out = "'";
    for (char c : p.string())
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The 消費税 pages of the corpus through the importer: a manifest of the corpus's shohi rows with
// absolute paths in work, then "importer build MANIFEST ROOT E TARGET". False, with the reason
// on standard error, when there is no corpus, no page of it, or the importer fails.
inline bool importShohiVolume(const std::filesystem::path& importer, const std::filesystem::path& corpus,
                              const std::filesystem::path& work, const std::filesystem::path& target)
{
    std::ifstream in(corpus / "MANIFEST.tsv", std::ios::binary);
    if (!in || !std::filesystem::exists(importer)) {
        std::cerr << "skipped the corpus: " << (in ? "no importer at " + importer.string() : "no corpus at " + corpus.string())
                  << "\n";
        return false;
    }
    std::filesystem::create_directories(work);
    std::ofstream manifest(work / "shohi.tsv", std::ios::binary | std::ios::trunc);
    std::string line;
    bool header = true;
    int pages = 0;
    while (std::getline(in, line)) {
        if (header) {
            manifest << line << "\n";
            header = false;
        } else if (line.rfind("shohi/", 0) == 0) {
            manifest << (corpus / line).string() << "\n";  // the path is the first column
            ++pages;
        }
    }
    manifest.close();
    if (pages == 0)
        return false;
    const std::string command = quoted(importer) + " build " + quoted(work / "shohi.tsv") + " " +
                                quoted(work / "authoring") + " E " + quoted(target) + " > " +
                                quoted(work / "importer.log") + " 2>&1";
    std::cerr << "building the 消費税 volume: " << command << "\n";
    if (std::system(command.c_str()) != 0) {
        std::cerr << "the importer failed; see " << (work / "importer.log").string() << "\n";
        return false;
    }
    return std::filesystem::exists(target / "E2.db");
}

}  // namespace bench
