// The resolver's rules as tables: law names and abbreviations, the relative references that
// hold in every volume, and each law volume's own relative references, tried in that order.
#include "authoring/ReferenceResolver.h"

#include <array>
#include <climits>
#include <initializer_list>
#include <string>
#include <vector>

#include "authoring/LawNames.h"
#include "text/Cp932.h"

namespace authoring {

namespace {

// A set of current codes as inclusive ranges; no range at all means every code.
struct CodeSet {
    struct Range {
        int low;
        int high;
    };
    std::vector<Range> ranges;

    bool holds(int code) const
    {
        if (ranges.empty())
            return true;
        for (const Range& range : ranges) {
            if (code >= range.low && code <= range.high)
                return true;
        }
        return false;
    }
};

const CodeSet kAnyCode{};

CodeSet exactly(std::initializer_list<int> codes)
{
    CodeSet set;
    for (int code : codes)
        set.ranges.push_back({code, code});
    return set;
}

CodeSet between(int low, int high)
{
    return CodeSet{{{low, high}}};
}

// One possible answer of a rule: the code it gives when the current code is in the set.
struct Choice {
    CodeSet when;
    int code;
};

// A rule's answer: the first choice whose set holds the current code. A plain code is a single
// choice for every current code.
struct Answer {
    Answer(int code) : choices{{kAnyCode, code}} {}
    Answer(std::initializer_list<Choice> list) : choices(list) {}
    std::vector<Choice> choices;
};

// A rule applies when the current code is in `when` and the phrase contains any of its texts.
// The texts are written here in UTF-8 and turned into code page 932 once, when a table is
// first used.
struct Rule {
    std::vector<std::string> texts;
    CodeSet when;
    Answer answer;
};

std::vector<Rule> inCodePage932(std::vector<Rule> rules)
{
    for (Rule& rule : rules) {
        for (std::string& t : rule.texts)
            t = text::cp932(t);
    }
    return rules;
}

// Law names and abbreviations, whatever the volume: the law-name table, in its order.
const std::vector<Rule>& nameRules()
{
    static const std::vector<Rule> rules = [] {
        std::vector<Rule> out;
        for (const LawNameEntry& entry : LawNameTable()) {
            Rule rule{{}, kAnyCode, entry.code};
            for (const LawName& name : entry.names)
                rule.texts.emplace_back(name.text);
            if (entry.codeInOldCommercialCode)
                rule.answer = Answer{{between(900, 999), entry.codeInOldCommercialCode}, {kAnyCode, entry.code}};
            out.push_back(std::move(rule));
        }
        return inCodePage932(std::move(out));
    }();
    return rules;
}

// Relative references inside the disaster special-provisions texts, whatever the volume: their
// order and rules refer to their own act, their rules to their own order.
const std::vector<Rule>& commonRelativeRules()
{
    static const std::vector<Rule> rules = inCodePage932({
        {{"法第"}, exactly({820, 830}), 810},
        {{"令第"}, exactly({830}), 820},
    });
    return rules;
}

// Where an article's own family of texts ends and the special-measures texts begin: below 700
// an article's 法第 means its own act; the special-measures circulars (740, in volume 0 also
// the consolidated one, 750) refer back to the volume's own act as well.
const CodeSet kOwnLawBand0{{{INT_MIN, 699}, {740, 740}, {750, 750}}};
const CodeSet kOwnLawBand3{{{INT_MIN, 699}, {740, 740}}};
const CodeSet kOwnLawBand4{{{INT_MIN, 699}}};

// Each law volume's relative references, by volume index. "省令第" comes before "令第", and a
// "法第" limited to some current codes before the general "法第".
const std::array<std::vector<Rule>, 6>& volumeRules()
{
    static const std::array<std::vector<Rule>, 6> rules = {
        // 0 法人税
        inCodePage932({
            {{"基本通達"}, exactly({750}), 40},
            {{"－"}, kAnyCode,
             {{exactly({40}), 40}, {exactly({50}), 50}, {exactly({80}), 80}, {exactly({740}), 740},
              {exactly({750}), 750}, {exactly({840}), 840}, {kAnyCode, 40}}},
            {{"法第"}, exactly({860, 870}), 860},
            {{"法第", "法附則"}, kAnyCode, {{kOwnLawBand0, 10}, {kAnyCode, 710}}},
            {{"省令第"}, kAnyCode, 70},
            {{"令第", "令附則"}, kAnyCode, {{kOwnLawBand0, 20}, {kAnyCode, 720}}},
            {{"規則第"}, kAnyCode, {{kOwnLawBand0, 30}, {kAnyCode, 730}}},
        }),
        // 1 消費税: the local tax texts (600s) and the special measures (700 and above) have
        // their own act, order and rules.
        inCodePage932({
            {{"別表"}, kAnyCode, 110},
            {{"取扱い"}, kAnyCode, 150},
            {{"－"}, kAnyCode, 140},
            {{"法第", "法附則"}, kAnyCode,
             {{between(INT_MIN, 599), 110}, {between(600, 699), 610}, {kAnyCode, 710}}},
            {{"令第", "令附則"}, kAnyCode,
             {{between(INT_MIN, 599), 120}, {between(600, 699), 620}, {kAnyCode, 720}}},
            {{"規則第"}, kAnyCode,
             {{between(INT_MIN, 599), 130}, {between(600, 699), 630}, {kAnyCode, 730}}},
        }),
        // 2 会社法民法
        inCodePage932({
            {{"原則", "注解"}, kAnyCode, 930},
            {{"法第"}, exactly({960}), 950},
            {{"法第"}, between(411, 499), 410},
        }),
        // 3 所得税
        inCodePage932({
            {{"－"}, kAnyCode, {{exactly({740}), 740}, {exactly({840}), 840}, {kAnyCode, 240}}},
            {{"法第"}, exactly({863, 873}), 860},
            {{"法第", "法附則"}, kAnyCode, {{kOwnLawBand3, 210}, {kAnyCode, 710}}},
            {{"令第", "令附則"}, kAnyCode, {{kOwnLawBand3, 220}, {kAnyCode, 720}}},
            {{"規則第"}, kAnyCode, {{kOwnLawBand3, 230}, {kAnyCode, 730}}},
        }),
        // 4 相続税
        inCodePage932({
            {{"法第", "法附則"}, kAnyCode, {{kOwnLawBand4, 310}, {kAnyCode, 710}}},
            {{"令第", "令附則"}, kAnyCode, {{kOwnLawBand4, 320}, {kAnyCode, 720}}},
            {{"規則第"}, kAnyCode, {{kOwnLawBand4, 330}, {kAnyCode, 730}}},
        }),
        // 5 国通徴印紙: each of the three acts' texts refers to its own act, order and rules.
        inCodePage932({
            {{"別表"}, kAnyCode, 360},
            {{"法第"}, kAnyCode,
             {{exactly({160, 170, 180, 190}), 160},
              {exactly({260, 270, 280, 290}), 260},
              {exactly({360, 370, 380, 390}), 360},
              {exactly({710, 720, 730}), 710},
              {kAnyCode, 160}}},
            {{"令第"}, kAnyCode,
             {{exactly({170, 180, 190}), 170},
              {exactly({270, 280, 290}), 270},
              {exactly({370, 380, 390}), 370},
              {exactly({720, 730}), 720},
              {kAnyCode, 170}}},
            {{"規則第"}, kAnyCode,
             {{exactly({180, 190}), 180},
              {exactly({280, 290}), 280},
              {exactly({380, 390}), 380},
              {exactly({730}), 730},
              {kAnyCode, 180}}},
        }),
    };
    return rules;
}

bool applies(const Rule& rule, std::string_view phrase, int currentCode)
{
    if (!rule.when.holds(currentCode))
        return false;
    for (const std::string& t : rule.texts) {
        if (text::contains(phrase, t))
            return true;
    }
    return false;
}

int answerFor(const Answer& answer, int currentCode)
{
    for (const Choice& choice : answer.choices) {
        if (choice.when.holds(currentCode))
            return choice.code;
    }
    return currentCode;
}

// The first rule of the table that applies, or null when none does.
const Rule* firstApplying(const std::vector<Rule>& rules, std::string_view phrase, int currentCode)
{
    for (const Rule& rule : rules) {
        if (applies(rule, phrase, currentCode))
            return &rule;
    }
    return nullptr;
}

}  // namespace

std::string ResolveCategoryCode(std::string_view phrase, int volumeIndex, int currentCode,
                                std::string_view lastLinkCode)
{
    const Rule* rule = firstApplying(nameRules(), phrase, currentCode);
    if (!rule)
        rule = firstApplying(commonRelativeRules(), phrase, currentCode);
    if (!rule && volumeIndex >= 0 && volumeIndex < static_cast<int>(volumeRules().size()))
        rule = firstApplying(volumeRules()[volumeIndex], phrase, currentCode);
    if (!rule)
        return std::to_string(currentCode);
    int code = answerFor(rule->answer, currentCode);
    if (code == kSameLawAsLastLink)
        return std::string(lastLinkCode);
    return std::to_string(code);
}

std::string ExtractArticleNumber(std::string_view phrase, std::string_view codeField)
{
    static const std::string kScheduleOne = text::cp932("別表第１");
    static const std::vector<std::string> kWholeSchedulePhrases = [] {
        std::vector<std::string> phrases;
        for (const char* p : {"課税物件表", "通則１", "通則２", "通則３", "通則４", "通則５", "通則６"})
            phrases.push_back(text::cp932(p));
        return phrases;
    }();
    static const std::string kClosingParen = text::cp932("）");
    static const std::string kDai = text::cp932("第");
    static const std::string kBeppyo = text::cp932("別表");
    static const std::string kFuhyo = text::cp932("付表");
    static const std::string kDigits = text::cp932("０１２３４５６７８９");
    static const std::string kDigitsAndTables = text::cp932("０１２３４５６７８９別付");

    for (const std::string& p : kWholeSchedulePhrases) {
        if (phrase == p)
            return kScheduleOne;
    }

    // Leading characters are dropped one whole character at a time (a half-width character is
    // one byte), so a phrase mixing half-width digits never loses half of a full-width one.
    std::string_view t = phrase;
    auto dropThroughLast = [&t](const std::string& marker) {
        while (t.size() > 3 && text::contains(t, marker))
            t.remove_prefix(text::charLength(t, 0));
    };
    // The special-measures circulars' item numbers hold parentheses (「６１の４（１）－１」);
    // in the stamp tax act and the consumption tax act a reference to a schedule keeps its 第
    // (「別表第１」).
    if (codeField != "740" && codeField != "750")
        dropThroughLast(kClosingParen);
    if (codeField != "360" && codeField != "110")
        dropThroughLast(kDai);

    const std::string& starts =
        text::contains(t, kBeppyo) || text::contains(t, kFuhyo) ? kDigitsAndTables : kDigits;
    std::vector<std::string_view> startChars = text::characters(starts);
    for (std::size_t pos = 0; pos < t.size(); pos += text::charLength(t, pos)) {
        std::string_view character = t.substr(pos, text::charLength(t, pos));
        for (std::string_view start : startChars) {
            if (character == start)
                return std::string(t.substr(pos));
        }
    }
    // No digit to start from: the field is left empty for the author to type the number, rather
    // than receiving a lone byte that may be half of a character.
    return {};
}

}  // namespace authoring
