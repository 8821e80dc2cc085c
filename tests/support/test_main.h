#pragma once

// Every test class of a program registers itself with QUILLFEN_TEST(Class); the one main of
// support/test_main.cpp runs them all in one application.

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace testing {

inline std::vector<std::function<std::unique_ptr<QObject>()>>& registeredTests() {
    static std::vector<std::function<std::unique_ptr<QObject>()>> tests;
    return tests;
}

} // namespace testing

#define QUILLFEN_TEST(Class)                                                                                 \
    [[maybe_unused]] static const bool registered##Class =                                                   \
        (testing::registeredTests().push_back([] { return std::unique_ptr<QObject>(new Class); }), true);
