// What every end-to-end test shares: where things lie in the test prefix, a
// fresh game installation per test, and the game's registry key.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include "driver.h"

// Fixed places in the test prefix, laid out by tests/e2e/run.sh.
extern const char kLaunchers[];  // the two programs
extern const char kTools[];      // the stand-in game and the recorder
extern const char kSample[];     // the sample installation, without the game's executable

const DWORD kWindowWait = 30000;
const DWORD kEndWait = 30000;

struct ProgramCase {
    const char* exe;
    const char* title;
    const char* captions[4];
    const char* readme;
    const char* site;
};
extern const ProgramCase kValkor;
extern const ProgramCase kNovalkor;
void PrintTo(const ProgramCase& program, std::ostream* out);

// A fresh copy of the sample installation for the running test, registered as
// the game's installation, with the stand-ins' logs beside it.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Launcher(const ProgramCase& program) const { return std::string(kLaunchers) + "\\" + program.exe; }
    // The lines the stand-in game and the recorder wrote so far.
    std::string GameLog() const { return ReadWholeFile(m_logs + "\\standin.log"); }
    std::string RecorderLog() const { return ReadWholeFile(m_logs + "\\recorder.log"); }
    // Waits up to the time for a log to hold something.
    std::string WaitForLog(bool game, DWORD milliseconds) const;

    std::string m_root;     // C:\e2e\<test>
    std::string m_install;  // the game's directory
    std::string m_logs;
    Program m_program;
};

// The game's Settings key, as the launchers read it.
void SetInstallPath(const std::string& path);
void DeleteGameKeys();
// The mod's key with the notice accepted, as an earlier start leaves it.
void AcceptNotice();

// Waits for the program's next message box, checks its caption, answers it with
// OK and waits until it is gone; its text.
std::string AnswerMessageBox(const Program& program, const std::string& caption);
