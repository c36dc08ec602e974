// The real programs under Wine: each opens its window with its caption, picture
// and buttons; the buttons start what they should; -u closes a program by itself.
#include "e2e_test_support.h"

namespace {

class LauncherWindow : public GameTest, public ::testing::WithParamInterface<ProgramCase> {
protected:
    HWND Open(const std::string& tail = std::string()) {
        EXPECT_TRUE(Start(Launcher(GetParam()), tail, m_program));
        HWND window = WaitForDialog(m_program, GetParam().title, kWindowWait);
        EXPECT_NE(window, nullptr) << "no window \"" << GetParam().title << "\"";
        return window;
    }
};

TEST_P(LauncherWindow, OpensWithItsCaptionPictureAndButtonsAndCancelCloses) {
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    const int buttons[] = {IDOK, 1000, 1006, IDCANCEL};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ItemText(window, buttons[i]), GetParam().captions[i]);
        EXPECT_TRUE(ItemVisible(window, buttons[i]));
    }
    EXPECT_EQ(ItemText(window, 1003), "Taunt-Be-Good");
    EXPECT_FALSE(ItemVisible(window, 1003));
    HWND picture = GetDlgItem(window, 1009);
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(ItemVisible(window, 1009));
    EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "no picture loaded";
    EXPECT_EQ(GetWindowLongA(picture, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
    // The window's icons cannot be read from another process under Wine; the
    // unit tests check them.

    Click(window, IDCANCEL);
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    EXPECT_EQ(GameLog(), "");
    EXPECT_EQ(RecorderLog(), "");
}

TEST_P(LauncherWindow, EscapeAndTheCloseBoxCloseIt) {
    for (void (*close)(HWND) : {PressEscape, CloseBox}) {
        HWND window = Open();
        ASSERT_NE(window, nullptr);
        close(window);
        EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    }
    EXPECT_EQ(GameLog(), "");
}

TEST_P(LauncherWindow, PlayHidesTheWindowThenStartsTheGameMinimisedInTheInstallPath) {
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    Click(window, IDOK);
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    const std::string log = WaitForLog(true, kEndWait);
    EXPECT_NE(log.find("started dir=" + m_install + " "), std::string::npos) << log;
    EXPECT_NE(log.find(" show=2 "), std::string::npos) << log;
    EXPECT_NE(log.find(" flux=0 "), std::string::npos) << log;
    EXPECT_NE(log.find(" launcher_visible=0 "), std::string::npos) << log;
}

TEST_P(LauncherWindow, ReadmeOpensTheReadmeOfTheInstallPathAndTheWindowStays) {
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    Click(window, 1000);
    const std::string log = WaitForLog(false, kEndWait);
    EXPECT_NE(log.find(" full=" + m_install + "\\" + GetParam().readme + " exists=1"), std::string::npos) << log;
    EXPECT_TRUE(IsWindowVisible(window));
    Click(window, IDCANCEL);
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
}

TEST_P(LauncherWindow, VisitSiteOpensTheAddressAndTheWindowStays) {
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    Click(window, 1006);
    const std::string log = WaitForLog(false, kEndWait);
    EXPECT_NE(log.find(GetParam().site), std::string::npos) << log;
    EXPECT_TRUE(IsWindowVisible(window));
    Click(window, IDCANCEL);
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    EXPECT_EQ(GameLog(), "");
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, LauncherWindow, ::testing::Values(kValkor, kNovalkor));

class CommandLine : public GameTest {};

TEST_F(CommandLine, MinusUAnywhereInTheTailClosesTheProgramByItselfWithoutTheGame) {
    struct Case {
        const ProgramCase* program;
        const char* tail;
        bool silent;
    } cases[] = {
        {&kNovalkor, "-u", true},   {&kValkor, "-U", true},  {&kValkor, "one -u two", true},
        {&kValkor, "x-undo", true}, {&kValkor, "/u", false}, {&kNovalkor, "u /U", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.program->exe) + " " + c.tail);
        ASSERT_TRUE(Start(Launcher(*c.program), c.tail, m_program));
        if (c.silent) {
            EXPECT_TRUE(WaitForEnd(m_program, kEndWait)) << "did not close by itself";
            Kill(m_program);
        } else {
            HWND window = WaitForDialog(m_program, c.program->title, kWindowWait);
            ASSERT_NE(window, nullptr);
            Click(window, IDCANCEL);
            EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
        }
    }
    EXPECT_EQ(GameLog(), "");
}

TEST_F(CommandLine, MinusUInTheProgramsOwnPathDoesNotCount) {
    const std::string directory = m_root + "\\not-undone";
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    const std::string copy = directory + "\\valkor.exe";
    ASSERT_TRUE(CopyFileA(Launcher(kValkor).c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(Start(copy, "", m_program));
    HWND window = WaitForDialog(m_program, kValkor.title, kWindowWait);
    ASSERT_NE(window, nullptr);
    Click(window, IDCANCEL);
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
}

}  // namespace
