// The whole program assembled: the audio chain, the dialogs, the routines (Program) and the
// main window, wired to each other. main() builds one; the window tests build one too.
// UI thread only (needs a QApplication).
#pragma once

#include "app/program.h"
#include "desktop/handover.h"
#include "desktop/mpris.h"
#include "ui/frmmain.h"
#include "ui/qtuserdialogs.h"

#include <memory>

namespace quillet {

// The program's routine objects that the main window's controls are bound to.
[[nodiscard]] MainWindowParts WindowParts(Program& program);

class Jukebox {
public:
    // programDir ends in "/"; arguments: the program's arguments after its name.
    // runtimeDir: where the hand-over socket lives ("" for the user's runtime directory).
    Jukebox(std::unique_ptr<AudioEngine> engine, const QString& programDir,
            const QStringList& arguments, const QString& runtimeDir = {});
    ~Jukebox();

    // Creates the window's state by running the load sequence to its end, then shows it,
    // takes command lines from later copies and, once the window is up, joins the session
    // bus.
    void Start();

    [[nodiscard]] Mpris& mpris() { return m_mpris; }

    [[nodiscard]] Program& program() { return m_program; }
    [[nodiscard]] frmMain& window() { return m_window; }

private:
    std::unique_ptr<AudioEngine> m_engine;
    QtUserDialogs m_dialogs;
    Program m_program;
    frmMain m_window;
    HandOverServer m_handOver;
    Mpris m_mpris;
    QString m_runtimeDir;
};

} // namespace quillet
