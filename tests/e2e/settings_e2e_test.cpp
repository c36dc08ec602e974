// Play and silent mode on real files under Wine: the patches leave flux.ini as
// expected byte for byte and the game can open it afterwards; a file that
// cannot be loaded is reported and left as it was.
#include "e2e_test_support.h"

namespace {

const char kExpected[] = "C:\\expected";

class Patching : public GameTest {
protected:
    std::string Flux() const { return ReadWholeFile(m_install + "\\flux.ini"); }
    std::string Expected(const char* name) const { return ReadWholeFile(std::string(kExpected) + "\\" + name); }

    // Starts the program, presses Play and waits for it to end.
    void Play(const ProgramCase& program) {
        ASSERT_TRUE(Start(Launcher(program), "", m_program));
        HWND window = WaitForDialog(m_program, program.title, kWindowWait);
        ASSERT_NE(window, nullptr);
        Click(window, IDOK);
    }
    std::string Answer(const char* caption) { return AnswerMessageBox(m_program, caption); }
};

TEST_F(Patching, PlayInValkorThenInNovalkorSwitchesTheModOnAndOff) {
    ASSERT_FALSE(Expected("flux_enabled.ini").empty());
    Play(kValkor);
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    EXPECT_EQ(Flux(), Expected("flux_enabled.ini"));
    std::string log = WaitForLog(true, kEndWait);
    EXPECT_NE(log.find(" flux=0 "), std::string::npos) << log;

    Play(kNovalkor);
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    EXPECT_EQ(Flux(), Expected("flux_disabled.ini"));
    // The game's second start, once it has written its record.
    for (DWORD waited = 0; (log = GameLog()).find('\n') + 1 == log.size() && waited < kEndWait; waited += 100)
        Sleep(100);
    const std::string second = log.substr(log.find('\n') + 1);
    EXPECT_NE(second.find("started dir=" + m_install + " "), std::string::npos) << log;
    EXPECT_NE(second.find(" flux=0 "), std::string::npos) << log;
}

TEST_F(Patching, SilentNovalkorSwitchesTheModOffAndClosesByItself) {
    ASSERT_TRUE(WriteWholeFile(m_install + "\\flux.ini", Expected("flux_enabled.ini")));
    ASSERT_TRUE(Start(Launcher(kNovalkor), "-u", m_program));
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    EXPECT_EQ(Flux(), Expected("flux_disabled.ini"));
    EXPECT_EQ(GameLog(), "");
}

TEST_F(Patching, FluxHeldOpenByAnotherProgramIsReportedAndLeftAlone) {
    const std::string before = Flux();
    HANDLE held = CreateFileA((m_install + "\\flux.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Play(kValkor);
    EXPECT_EQ(Answer(kValkor.title), "Error opening the file flux.ini.");
    EXPECT_EQ(Answer(kValkor.title), "Error loading standard options");
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    CloseHandle(held);
    EXPECT_EQ(Flux(), before);
    EXPECT_EQ(GameLog(), "");
}

TEST_F(Patching, MissingDefaultsAreReportedAndFluxIsLeftAsItWas) {
    ASSERT_TRUE(WriteWholeFile(m_install + "\\flux.ini", Expected("flux_enabled.ini")));
    ASSERT_TRUE(DeleteFileA((m_install + "\\defaults.ini").c_str()));
    Play(kNovalkor);
    EXPECT_EQ(Answer(kNovalkor.title), "Error opening the file defaults.ini.");
    EXPECT_EQ(Answer(kNovalkor.title), "Error loading standard options");
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    EXPECT_EQ(Flux(), Expected("flux_enabled.ini"));
    EXPECT_EQ(GameLog(), "");
}

}  // namespace
