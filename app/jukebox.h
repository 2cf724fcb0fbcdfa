// The whole program assembled: the audio chain, the dialogs, the routines (Program) and the
// main window, wired to each other. main() builds one; the window tests build one too.
// UI thread only (needs a QApplication).
#pragma once

#include "app/program.h"
#include "ui/frmmain.h"
#include "ui/qtuserdialogs.h"

#include <memory>

namespace quillet {

// The program's routine objects that the main window's controls are bound to.
[[nodiscard]] MainWindowParts WindowParts(Program& program);

class Jukebox {
public:
    // programDir ends in "/"; commandLine as JoinCommandLine made it.
    Jukebox(std::unique_ptr<AudioEngine> engine, const QString& programDir,
            const QString& commandLine);
    ~Jukebox();

    // Creates the window's state by running the load sequence to its end, then shows it.
    void Start();

    [[nodiscard]] Program& program() { return m_program; }
    [[nodiscard]] frmMain& window() { return m_window; }

private:
    std::unique_ptr<AudioEngine> m_engine;
    QtUserDialogs m_dialogs;
    Program m_program;
    frmMain m_window;
};

} // namespace quillet
