// The script reference for game authors lists every registered function with its arguments.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Script/FunctionTable.h"

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
