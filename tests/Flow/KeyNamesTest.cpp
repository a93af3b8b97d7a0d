#include <gtest/gtest.h>

#include <cstdint>

#include "Flow/KeyNames.h"

TEST(KeyNames, ACodeKeepsItsFirstNameAndANameResolvesToItsSmallestCode) {
    KeyNames& names = KeyNames::instance();
    EXPECT_EQ(names.code_of("left"), 0);
    EXPECT_TRUE(names.add(65, "left"));
    EXPECT_EQ(names.code_of("left"), 65);
    EXPECT_TRUE(names.add(37, "left"));
    EXPECT_EQ(names.code_of("left"), 37);
    // A later, larger code with the same name changes nothing.
    EXPECT_TRUE(names.add(90, "left"));
    EXPECT_EQ(names.code_of("left"), 37);
    // A second name for a code is refused: code 37 stays "left", "arrow" names no key.
    EXPECT_FALSE(names.add(37, "arrow"));
    ASSERT_NE(names.name_of(37), nullptr);
    EXPECT_EQ(*names.name_of(37), "left");
    EXPECT_EQ(names.code_of("arrow"), 0);
    EXPECT_EQ(names.name_of(38), nullptr);
    EXPECT_EQ(names.code_of(""), 0);
}

TEST(KeyNames, NumbersThatAreNoKeyCodesAreNotNamed) {
    KeyNames& names = KeyNames::instance();
    for (int32_t code : {0, -1, 256, 1000000, INT32_MIN, INT32_MAX})
        EXPECT_FALSE(names.add(code, "left")) << code;
    EXPECT_EQ(names.code_of("left"), 0);
    // So they cannot shadow a real key of the same name.
    EXPECT_TRUE(names.add(255, "left"));
    EXPECT_TRUE(names.add(1, "left"));
    EXPECT_EQ(names.code_of("left"), 1);
}
