// Shared by the flow, XTP flow and sync point tests: a scratch directory per test and a check
// for the exact error a call raises.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "quorex/Errors.h"

// A fresh directory under /tmp for one test's files, removed with everything in it at the end.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char pattern[] = "/tmp/quorex-test-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Runs call and expects it to raise Error with exactly this text from this module.
template <class Error, class Call>
void ExpectError(Call&& call, const char* text, const char* module) {
    try {
        call();
        ADD_FAILURE() << "expected \"" << text << "\"";
    } catch (const Error& error) {
        EXPECT_STREQ(error.GetMessage(), text);
        EXPECT_STREQ(error.GetFile(), module);
    }
}
