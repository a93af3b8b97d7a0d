// The script reference for game authors lists every registered function with its arguments.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Script/FunctionTable.h"
#include "Script/ScriptConstants.h"

namespace {

struct Documented {
    int arguments = 0;
    bool result_noted = false;  // "(integer)" and the like after the heading's names
    int line = 0;
    int times = 0;
};

int count_arguments(const std::string& list) {
    if (list.find_first_not_of(' ') == std::string::npos)
        return 0;
    int n = 1;
    for (char c : list)
        n += c == ',';
    return n;
}

// Headings "#### `lf:name(a, b)`", possibly several names separated by ", ", then an optional
// result kind in parentheses.
std::map<std::string, Documented> read_reference(const std::string& path) {
    std::map<std::string, Documented> found;
    std::ifstream in(path);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.rfind("#### ", 0) != 0)
            continue;
        const size_t last_tick = line.rfind('`');
        const bool noted =
            last_tick != std::string::npos && line.find('(', last_tick) != std::string::npos;
        for (size_t at = line.find("`lf:"); at != std::string::npos;
             at = line.find("`lf:", at + 1)) {
            const size_t open = line.find('(', at);
            const size_t close = line.find(")`", at);
            if (open == std::string::npos || close == std::string::npos || close < open)
                continue;
            Documented& d = found[line.substr(at + 4, open - at - 4)];
            d.arguments = count_arguments(line.substr(open + 1, close - open - 1));
            d.result_noted = noted;
            d.line = number;
            ++d.times;
        }
    }
    return found;
}

const std::string reference_path = std::string(VELDEN_TEST_DATA) + "/../../docs/scripting.md";
const std::string tutorial_path = std::string(VELDEN_TEST_DATA) + "/../../docs/tutorial.md";
const std::string extensions_heading = "## Engine extensions";

std::string read_text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines [first, last) of the section under the heading, up to the next heading of its
// level; {0, 0} when there is none.
std::pair<int, int> section(const std::string& path, const std::string& heading) {
    std::ifstream in(path);
    std::string line;
    int number = 0, first = 0;
    while (std::getline(in, line)) {
        ++number;
        if (first == 0 && line == heading)
            first = number;
        else if (first != 0 && line.rfind("## ", 0) == 0)
            return {first, number};
    }
    return {first, first == 0 ? 0 : number + 1};
}

// Every "velden.family.NAME" the text mentions.
std::vector<std::string> constants_mentioned(const std::string& text) {
    std::vector<std::string> found;
    auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    // The end of the identifier starting at i (i itself when there is none).
    auto identifier = [&](size_t i) {
        while (i < text.size() && word(text[i]))
            ++i;
        return i;
    };
    const std::string prefix = "velden.";
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
        if (at > 0 && (word(text[at - 1]) || text[at - 1] == '/'))
            continue;
        const size_t family_end = identifier(at + prefix.size());
        if (family_end == at + prefix.size() || family_end >= text.size() ||
            text[family_end] != '.')
            continue;
        const size_t name_end = identifier(family_end + 1);
        if (name_end > family_end + 1)
            found.push_back(text.substr(at, name_end - at));
    }
    return found;
}

}  // namespace

TEST(ScriptReference, EveryRegisteredFunctionIsDocumentedWithItsArguments) {
    const std::map<std::string, Documented> documented = read_reference(reference_path);
    ASSERT_FALSE(documented.empty()) << "no function headings in " << reference_path;
    std::map<std::string, bool> registered;
    for (const MethodEntry& e : function_table()) {
        registered[e.name] = true;
        auto it = documented.find(e.name);
        if (it == documented.end()) {
            ADD_FAILURE() << e.name << " is registered but has no heading in docs/scripting.md";
            continue;
        }
        const Documented& d = it->second;
        EXPECT_EQ(d.arguments, static_cast<int>(e.args.size()))
            << e.name << " (docs/scripting.md line " << d.line
            << ") is documented with a different number of arguments";
        EXPECT_EQ(d.result_noted, !e.result.empty())
            << e.name << " (line " << d.line << "): "
            << (e.result.empty() ? "returns nothing but its heading notes a result"
                                 : "returns a value but its heading does not say what kind");
        EXPECT_EQ(d.times, 1) << e.name << " has more than one heading";
    }
    for (const auto& [name, d] : documented)
        EXPECT_TRUE(registered.count(name))
            << name << " (docs/scripting.md line " << d.line << ") is documented, not registered";
}

// The reading of headings, on headings written for the test.
TEST(ScriptReference, HeadingsWithSeveralFunctionsAndResultNotes) {
    const std::string path = testing::TempDir() + "velden-reference-test.md";
    std::ofstream(path) << "## Part\n"
                           "#### `lf:one()`\n"
                           "#### `lf:two(a, b)`, `lf:three(c)` (numbers)\n"
                           "text mentioning `lf:four(x)` is not a heading\n"
                           "#### `lf:five(a, b, c)` (integer)\n";
    const std::map<std::string, Documented> d = read_reference(path);
    std::remove(path.c_str());
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d.at("one").arguments, 0);
    EXPECT_FALSE(d.at("one").result_noted);
    EXPECT_EQ(d.at("two").arguments, 2);
    EXPECT_TRUE(d.at("two").result_noted);
    EXPECT_EQ(d.at("three").arguments, 1);
    EXPECT_TRUE(d.at("three").result_noted);
    EXPECT_EQ(d.at("five").arguments, 3);
    EXPECT_EQ(d.count("four"), 0u);
}

// Extensions have their own section; the core functions are documented outside it.
TEST(ScriptReference, ExtensionsAreDocumentedInTheirOwnSection) {
    const auto [first, last] = section(reference_path, extensions_heading);
    ASSERT_GT(first, 0) << "docs/scripting.md has no section \"" << extensions_heading << "\"";
    const std::map<std::string, Documented> documented = read_reference(reference_path);
    const std::vector<MethodEntry>& table = function_table();
    for (size_t i = 0; i < table.size(); ++i) {
        auto it = documented.find(table[i].name);
        if (it == documented.end())
            continue;  // reported by the test above
        const bool inside = it->second.line > first && it->second.line < last;
        if (i < core_function_count)
            EXPECT_FALSE(inside) << table[i].name
                                 << " is a core function, documented as an extension";
        else
            EXPECT_TRUE(inside) << table[i].name << " (line " << it->second.line
                                << ") is an extension, documented outside \"" << extensions_heading
                                << "\"";
    }
}

// Each named constant is documented, and the documents name no constant that does not exist.
TEST(ScriptReference, EveryNamedConstantIsDocumentedAndNoOtherIs) {
    const std::string reference = read_text(reference_path);
    std::map<std::string, int32_t> known;
    for (const ScriptConstants::Constant& c : ScriptConstants::all()) {
        const std::string name = std::string("velden.") + c.family + "." + c.name;
        known[name] = c.value;
        EXPECT_NE(reference.find(name), std::string::npos)
            << name << " is not mentioned in docs/scripting.md";
    }
    for (const std::string& path : {reference_path, tutorial_path}) {
        const std::vector<std::string> mentioned = constants_mentioned(read_text(path));
        EXPECT_FALSE(mentioned.empty()) << path;
        for (const std::string& name : mentioned)
            EXPECT_TRUE(known.count(name)) << name << " in " << path << " is no constant";
    }
}
