#include "app/messages.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Messages, EachHasItsOwnThreeDigitCode) {
    std::set<int> codes;
    for (const ErrorMessage& message : errorMessages::all) {
        codes.insert(message.code);
    }
    EXPECT_EQ(codes, (std::set<int>{101, 104, 105, 106, 113, 114, 115}));
}

} // namespace
