// The error box's text: the full stop rule and the message of whatever was thrown.
#include "toolkit/error_box.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/errors.h"

namespace {

TEST(ErrorBoxText, AddsAFullStopOnlyAfterCharactersAboveTheFullStop) {
  EXPECT_EQ(ErrorBoxText(L"Registry read failed"), L"Registry read failed.");
  EXPECT_EQ(ErrorBoxText(L"Value 7"), L"Value 7.");  // '7' is 0x37
  EXPECT_EQ(ErrorBoxText(L"Done."), L"Done.");
  EXPECT_EQ(ErrorBoxText(L"Key 'Foo'"), L"Key 'Foo'");  // apostrophe, 0x27
  EXPECT_EQ(ErrorBoxText(L"Key \"Foo\""), L"Key \"Foo\"");
  EXPECT_EQ(ErrorBoxText(L"a-"), L"a-");   // '-' is 0x2D
  EXPECT_EQ(ErrorBoxText(L"a/"), L"a/.");  // '/' is 0x2F, the first code above '.'
  EXPECT_EQ(ErrorBoxText(L"\x00E9t\x00E9"), L"\x00E9t\x00E9.");
  EXPECT_EQ(ErrorBoxText(L""), L"");
}

TEST(ErrorBoxText, TakesTheMessageOfWhateverWasThrown) {
  const auto messageOf = [](auto thrown) {
    try {
      throw thrown;
    } catch (...) {
      return ExceptionMessage(std::current_exception());
    }
  };
  EXPECT_EQ(messageOf(ERegistryException(L"Unsupported type \x00FC")), L"Unsupported type \x00FC");
  EXPECT_EQ(messageOf(std::runtime_error("narrow text")), L"narrow text");
  EXPECT_EQ(messageOf(42), L"Unknown error");
}

}  // namespace
