#pragma once
// Expectations that the tests of every platform share.
#include <gtest/gtest.h>

// Expects `statement` to raise `type` whose message is exactly `message`,
// as fmt's gtest-extra.h has it.
#define EXPECT_THROW_MSG(statement, type, message)                                                                     \
    do {                                                                                                               \
        try {                                                                                                          \
            statement;                                                                                                 \
            ADD_FAILURE() << #statement " raised nothing";                                                             \
        } catch (const type& dnRaised) {                                                                               \
            EXPECT_STREQ(dnRaised.what(), message) << #statement;                                                      \
        }                                                                                                              \
    } while (false)
