// The main window driven through its real message loop filter.
#include <gtest/gtest.h>

#include <string>

#include "app/MainForm.h"
#include "tests/gui/harness.h"
#include "tests/logic/conversion_rows.h"

namespace {

using M = MainForm;

struct MainFormTest : ::testing::Test {
  static void SetUpTestSuite() { harness::InitUi(); }
  void SetUp() override {
    form.Load(nullptr);
    form.Show();
    SetForegroundWindow(form.hWnd());
    harness::Pump();
  }
  harness::Recorder rec;
  MainForm form;
};

// Keys from a fresh window (see harness::Play) and what the user sees after.
struct KeyRow {
  const wchar_t* keys;
  int focus;
  const wchar_t *address, *integer;
  bool open, ended;
  const char* url;  // handed to the shell, "" for none
};

constexpr KeyRow kKeyRows[] = {
    {L"192.168.0.1", M::kText1, L"192.168.0.1", L"3232235521", true, false, ""},
    {L"1 2,3-4a.B.c.\xe9+E", M::kText1, L"1234...", L"20703084544", true, false, ""},
    {L"\xff11.2.3.4", M::kText1, L".2.3.4", L"131844", true, false, ""},  // full-width 1
    {L"1.2.3.45\b", M::kText1, L"1.2.3.4", L"16909060", true, false, ""},
    {L"1.2.3.4\b\b", M::kText1, L"1.2.3", L"", false, false, ""},
    {L"255.255.255.2559", M::kText1, L"255.255.255.255", L"4294967295", true, false, ""},
    {L"\x11", M::kText1, L"10.0.0.1a", L"167772161", true, false, ""},  // Ctrl+V pastes unfiltered
    {L"\x16\x03\x1a" L"7...", M::kText1, L"7...", L"117440512", true, false, ""},  // bare codes dropped
    {L"1.2.3.4\x1b", M::kText1, L"1.2.3.4", L"16909060", true, false, ""},         // Esc does nothing
    {L"1.2.3.4\x01i99", M::kText2, L"1.2.3.4", L"16909060", true, false, ""},      // read-only
    {L"\t\t", M::kText2, L"", L"", false, false, ""},
    {L"\t\t\t", M::kCommand1, L"", L"", false, false, ""},  // a disabled Open is skipped
    {L"1.2.3.4\t\t\t", M::kCommand3, L"1.2.3.4", L"16909060", true, false, ""},
    {L"\x01i\x01o\x01" L"a", M::kText1, L"", L"", false, false, ""},  // Alt+O on a disabled Open
    {L"127.0.0.1\x01o", M::kCommand3, L"127.0.0.1", L"2130706433", true, false, "http://2130706433/"},
    {L"999999999999...\t\t\t\r", M::kCommand3, L"999999999999...", L"1.67772159999832E+19", true,
     false, "http://1.67772159999832E+19/"},
    {L"1.2.3.4\r", 0, L"", L"", false, true, ""},  // Enter: Close is the default button
    {L"1.2.3.4\x01i\r", 0, L"", L"", false, true, ""},
    {L"\x18", 0, L"", L"", false, true, ""},
};

TEST(MainForm, KeyScripts) {
  harness::InitUi();
  harness::CopyToClipboard(L"10.0.0.1a");
  for (const KeyRow& row : kKeyRows) {
    SCOPED_TRACE(testing::Message() << "keys " << testing::PrintToString(std::wstring(row.keys)));
    harness::Recorder rec;
    MainForm form;
    form.Load(nullptr);
    form.Show();
    harness::Play(row.keys);
    EXPECT_EQ(harness::FocusId(), row.focus);
    EXPECT_EQ(form.Text1().Text(), row.address);
    EXPECT_EQ(form.Text2().Text(), row.integer);
    EXPECT_EQ(form.IsLoaded() && form.Command3().Enabled(), row.open);
    EXPECT_EQ(!form.IsLoaded() && rec.ends == 1, row.ended);
    EXPECT_EQ(rec.urls.empty() ? "" : rec.urls.back(), row.url);
  }
}

TEST_F(MainFormTest, ConvertsEveryRowOfTheTable) {
  for (const auto& [text, expected] : quadsum_test::kConversionRows) {
    form.Text1().SetText(ui::FromUtf8(text));
    EXPECT_EQ(form.Text2().Text(), ui::FromUtf8(expected)) << "text: \"" << text << '"';
    EXPECT_EQ(form.Command3().Enabled(), *expected != '\0') << "text: \"" << text << '"';
  }
  EXPECT_TRUE(rec.messages.empty());
}

TEST_F(MainFormTest, EndsOnCloseAndSessionEndOnly) {
  struct Row { const char* name; UINT msg; WPARAM wParam; bool ends; } rows[] = {
      {"WM_ENDSESSION FALSE", WM_ENDSESSION, FALSE, false},
      {"IDCANCEL (Esc)", WM_COMMAND, IDCANCEL, false},
      {"WM_ENDSESSION TRUE", WM_ENDSESSION, TRUE, true},
  };
  for (const Row& row : rows) {
    SendMessageW(form.hWnd(), row.msg, row.wParam, 0);
    EXPECT_EQ(!form.IsLoaded() && rec.ends == 1, row.ends) << row.name;
  }
}

TEST_F(MainFormTest, LayoutFollowsTheDpi) {
  harness::ExpectLayout(form, "main window");
  harness::ChangeDpi(form, 144);
  harness::ExpectLayout(form, "main window");
}

}  // namespace
