#pragma once

// Checks many tests make: a text holding a part, and the message of a refusal.

#include <gtest/gtest.h>

#include <exception>
#include <string>

namespace scorewell::test {

// True when text holds part; either way the message shows both, for EXPECT_TRUE and EXPECT_FALSE.
inline ::testing::AssertionResult Has(const std::string& text, const std::string& part) {
    const bool has = text.find(part) != std::string::npos;
    return (has ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << "\"" << part << (has ? "\" is in:\n" : "\" is not in:\n") << text;
}

// The message of the exception that work throws; a failure when it throws none.
template <typename Work>
std::string ErrorOf(Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        return e.what();
    }
    ADD_FAILURE() << "no error";
    return "no error";
}

} // namespace scorewell::test
