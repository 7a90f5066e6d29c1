#include "platform/SystemError.h"
#include "platform/Text.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <thread>

using namespace testing_support;

TEST(ScratchPools, NinthConversionReusesTheFirstBuffer) {
    const wchar_t* first = toWide("one");
    const wchar_t* results[7];
    for (int i = 0; i < 7; ++i)
        results[i] = toWide("other");
    EXPECT_STREQ(first, L"one") << "a result must survive seven further conversions";
    for (const wchar_t* result : results)
        EXPECT_NE(result, first);
    const wchar_t* ninth = toWide("ninth");
    EXPECT_EQ(ninth, first);
    EXPECT_STREQ(first, L"ninth");

    const char* narrowFirst = toNarrow(L"a");
    for (int i = 0; i < 7; ++i)
        formatText("%d", i); // formatting shares the narrow pool
    EXPECT_STREQ(narrowFirst, "a");
    EXPECT_EQ(toNarrow(L"b"), narrowFirst);
}

// The start-up converts on two threads at once: another thread's conversions never reuse
// this thread's buffers.
TEST(ScratchPools, EachThreadHasItsOwn) {
    const wchar_t* wide = toWide("mine");
    const char* narrow = toNarrow(L"mine too");
    std::thread other([] {
        for (int i = 0; i < 3 * kScratchBuffers; ++i) {
            toWide("theirs");
            formatText("theirs %d", i);
        }
    });
    other.join();
    EXPECT_STREQ(wide, L"mine");
    EXPECT_STREQ(narrow, "mine too");
}

TEST(ScratchPools, NullAndEmptyInputs) {
    EXPECT_EQ(toWide(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(toNarrow(nullptr), nullptr);
    EXPECT_EQ(toUpper(nullptr), nullptr);
    const wchar_t* empty = toWide(std::string());
    EXPECT_STREQ(empty, L"");
    EXPECT_EQ(toWide(std::string()), empty) << "empty strings share one static text";
    EXPECT_STREQ(toWide(""), L"");
    EXPECT_STREQ(toNarrow(L""), "");
}

TEST(ScratchPools, RoundTripsUtf8) {
    const char* text = "Zur\xC3\xBC"
                       "cksetzen \xF0\x9F\x8E\xAE";
    EXPECT_STREQ(toNarrow(toWide(text)), text);
    EXPECT_STREQ(toWide(std::string(text)), L"Zur\u00FCcksetzen \U0001F3AE");
    EXPECT_STREQ(toUpper("beenden \xC3\xBC"), "BEENDEN \xC3\x9C");
}

TEST(ScratchPools, LongTextIsCutAt1023) {
    std::string longText(1500, 'a');
    const wchar_t* wideResult = toWide(longText.c_str());
    EXPECT_EQ(wcslen(wideResult), 1023u);
    std::wstring longWide(1500, L'b');
    EXPECT_EQ(strlen(toNarrow(longWide.c_str())), 1023u);

    // Two-byte characters: the cut never splits a character.
    std::wstring umlauts(600, L'\u00FC');
    const char* cut = toNarrow(umlauts.c_str());
    EXPECT_EQ(strlen(cut), 1022u);
    EXPECT_EQ(toWide(cut), std::wstring(511, L'\u00FC'));
}

TEST(FormatText, FormatsAndCuts) {
    EXPECT_STREQ(formatText("[%s]", ".\\Vantorra.exe"), "[.\\Vantorra.exe]");
    EXPECT_STREQ(formatText("%u x %u", 1920u, 1080u), "1920 x 1080");
    std::string arguments(1500, 'x');
    const char* commandLine = formatText("\"%s\" %s", ".\\Vantorra.exe", arguments.c_str());
    ASSERT_EQ(strlen(commandLine), 1023u);
    EXPECT_EQ(std::string(commandLine, 17), "\".\\Vantorra.exe\" ");
}

TEST(SystemError, BoxShowsSystemTextAndContext) {
    MessageBoxCatcher catcher;
    SetLastError(ERROR_FILE_NOT_FOUND);
    showSystemError("[.\\Vantorra.exe]", false);
    auto boxes = catcher.boxes();
    ASSERT_EQ(boxes.size(), 1u);

    wchar_t expected[1023] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | 0xFF, nullptr,
                   ERROR_FILE_NOT_FOUND, 0x400, expected, 1023, nullptr);
    ASSERT_STRNE(expected, L"") << "the system must have a sentence for file-not-found";
    EXPECT_EQ(boxes[0].text, narrow(expected) + "\n[.\\Vantorra.exe]");
    EXPECT_EQ(boxes[0].caption, "Error") << "no caption of its own: the system's default";
}

TEST(SystemError, EmptyContextAddsNoLineAndThrowAfterThrows) {
    MessageBoxCatcher catcher;
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_THROW(showSystemError("", true), std::exception);
    auto boxes = catcher.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_EQ(boxes[0].text.find('\n'), std::string::npos);
}
