// The playback routines wired together as the program wires them, against the fake engine
// and scripted dialogs. Playlist entries are given by their sources: a file path, or a CD
// track index as decimal text. UI thread. Times in ms.
#pragma once

#include "playback/audiocd.h"
#include "playback/endoftrack.h"
#include "playback/timedisplay.h"
#include "playback/transport.h"
#include "playlist/playlist.h"
#include "tags/songdetails.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/fakeengine.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <initializer_list>

namespace quillet::test {

struct PlaybackWorld {
    FakeEngine engine;
    FakeDialogs dialogs;
    Playlist playlist;
    SongDetails songDetails;
    QTimer timer1; // never runs by itself here: tests call the tick
    QString continuousText = QStringLiteral("0");
    QString shuffleText = QStringLiteral("0");
    AudioCd audioCd{engine.cd, engine.out, playlist, dialogs};
    Transport transport{engine, dialogs, playlist, songDetails, audioCd, timer1};
    TimeDisplay timeDisplay{engine, transport};
    EndOfTrack endOfTrack{playlist, transport, engine.file, timer1, continuousText, shuffleText};

    // Appends entries (the display name is the source itself), selecting none.
    void Fill(std::initializer_list<QString> sources)
    {
        for (const QString& source : sources)
            ASSERT_TRUE(playlist.Append(source, source, false));
    }
    void PlayEntry(int index)
    {
        playlist.Select(index);
        transport.PlaySelected();
    }
    // The output reaches the end of the data; the notification arrives between events.
    void TrackEnds()
    {
        engine.out.Finish();
        QCoreApplication::sendPostedEvents();
    }
    // The calls made since the last look.
    QStringList TakeCalls()
    {
        const QStringList calls = engine.Calls();
        engine.ClearCalls();
        return calls;
    }
};

} // namespace quillet::test
