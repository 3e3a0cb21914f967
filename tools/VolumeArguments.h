// The command line shared by the commands that show what the program does on one law volume
// (search-statement, article-jump, render-article): FOLDER LETTER, then positional arguments and
// "--name VALUE" options, all UTF-8. A wrong command line ends with the reason and the usage text.
#pragma once

#include <charconv>
#include <cstdio>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "display/ArticleSource.h"
#include "store/RangePresets.h"
#include "store/Volumes.h"
#include "text/Cp932.h"

namespace tools {

// Exit statuses: the answer was found, the volume has no such article, the command line is
// wrong, the volume cannot be read.
inline constexpr int kFound = 0;
inline constexpr int kNotFound = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kVolumeError = 3;

inline constexpr std::string_view kLetterHelp =
    "  LETTER    the volume's file letter: A 法人税, E 消費税, G 会社法民法, H 所得税, I 相続税,\n"
    "            K 国通徴印紙\n";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Arguments {
    std::vector<std::string> positional;        // UTF-8, as given
    std::map<std::string, std::string> options;  // "--range" → its value
};

// Splits argv into positional arguments and the options named in valueOptions (each taking the
// next argument, or written "--name=VALUE"). "--" ends the options, so a keyword may start with
// "--".
inline Arguments splitArguments(int argc, char** argv, const std::vector<std::string>& valueOptions)
{
    Arguments out;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (optionsEnded || a.size() < 2 || a.compare(0, 2, "--") != 0) {
            out.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = a, value;
        bool inlineValue = false;
        if (std::size_t eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            inlineValue = true;
        }
        bool known = false;
        for (const auto& o : valueOptions)
            known = known || o == name;
        if (!known)
            throw UsageError("unknown option " + name);
        if (!inlineValue) {
            if (i + 1 >= argc)
                throw UsageError(name + " needs a value");
            value = argv[++i];
        }
        if (out.options.count(name))
            throw UsageError(name + " is given twice");
        out.options[name] = value;
    }
    return out;
}

// An argument in code page 932, the system's text; what code page 932 cannot hold is refused
// rather than searched for as 〓.
inline std::string cp932Argument(const std::string& utf8, std::string_view what)
{
    text::Conversion c = text::fromUtf8(utf8);
    if (!c.clean())
        throw UsageError(std::string(what) + " holds characters that code page 932 cannot represent");
    return c.text;
}

inline int lawVolumeArgument(const std::string& letter)
{
    int v = letter.size() == 1 ? display::LawVolumeOfLetter(letter[0]) : -1;
    if (v < 0)
        throw UsageError("the letter must be one of A E G H I K, not \"" + letter + "\"");
    return v;
}

// The text of the range list item the user selected; it must be an item of the volume's list,
// since the list offers nothing else. Without the option: 全範囲.
inline std::string rangeArgument(const Arguments& args, int lawVolume)
{
    auto it = args.options.find("--range");
    if (it == args.options.end())
        return text::cp932("全範囲");
    std::string label = cp932Argument(it->second, "the range label");
    if (store::FindLawRangePreset(lawVolume, label))
        return label;
    std::string items;
    for (const auto& item : store::LawRangeItems(lawVolume))
        items += (items.empty() ? "" : ", ") + text::toUtf8(item).text;
    throw UsageError("the range list of volume " + std::string(1, store::kLawLetters[static_cast<std::size_t>(lawVolume)]) +
                     " has no item \"" + it->second + "\"; its items are " + items);
}

inline int integerArgument(const std::string& argument, std::string_view what)
{
    int value = 0;
    const char* end = argument.data() + argument.size();
    auto [stop, error] = std::from_chars(argument.data(), end, value);
    if (argument.empty() || error != std::errc() || stop != end)
        throw UsageError(std::string(what) + " must be a whole number, not \"" + argument + "\"");
    return value;
}

inline std::string utf8(const std::string& cp932Text)
{
    return text::toUtf8(cp932Text).text;
}

// Runs a command's body and turns its failures into a message and an exit status.
template <typename Body>
int runCommand(std::string_view name, std::string_view usage, Body&& body)
{
    try {
        return body();
    } catch (const UsageError& e) {
        std::cerr << name << ": " << e.what() << "\n" << usage;
        return kUsageError;
    } catch (const std::exception& e) {
        std::cerr << name << ": " << e.what() << "\n";
        return kVolumeError;
    }
}

}  // namespace tools
