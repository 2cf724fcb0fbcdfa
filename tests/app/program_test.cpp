// The load and unload sequences and Exit, run with the real playlist and
// settings file against the fake engine and scripted dialogs.
#include "app/program.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/fakeengine.h"
#include "tests/support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace quillet {
namespace {

// Records every step of the sequences, in order, and fails the steps it is told to.
class RecordingProgram : public Program {
public:
    using Program::Program;
    QStringList steps;
    QSet<QString> failing;

    void PlaySelected() override { Step("PlaySelected"); }
    void LoadCdTracks() override { Step("LoadCdTracks"); }

protected:
    void Step(const QString& name)
    {
        steps.append(name);
        if (failing.contains(name))
            throw std::runtime_error("step fails");
    }
    void ShellIntegration() override { Step("ShellIntegration"); }
    void LoadSkin() override { Step("LoadSkin"), Program::LoadSkin(); }
    void SizeSkinControls() override { Step("SizeSkinControls"), Program::SizeSkinControls(); }
    void AttachSkins() override { Step("AttachSkins"), Program::AttachSkins(); }
    void ReadSetting(SettingKey key, const QString& path) override
    {
        Step(QString("Read ") + NameOf(key).key), Program::ReadSetting(key, path);
    }
    void ApplyContinuousPlay() override { Step("ApplyContinuousPlay"); }
    void ApplyStayOnTop() override { Step("ApplyStayOnTop"); }
    void ApplyShuffle() override { Step("ApplyShuffle"); }
    void SetVolumeBar(int position) override { Step(QString("SetVolumeBar %1").arg(position)); }
    void SendBarsToVolumeStage() override { Step("SendBarsToVolumeStage"); }
    void SetBalanceBar(int position) override { Step(QString("SetBalanceBar %1").arg(position)); }
    void CreateEqualizerBands() override { Step("CreateEqualizerBands"); }
    void ApplyStoredPreset() override { Step("ApplyStoredPreset"); }
    void FillGenres() override { Step("FillGenres"), Program::FillGenres(); }
    void CentreWindow() override { Step("CentreWindow"), Program::CentreWindow(); }
    void ShowWindow() override { Step("ShowWindow"), Program::ShowWindow(); }
    void EndProcess() override { Step("EndProcess"); }
};

class Spine : public ::testing::Test {
protected:
    QString ProgramDir() const { return m_dir.path() + "/"; }
    QString IniPath() const { return ProgramDir() + "xquilletmp3.ini"; }

    QTemporaryDir m_dir;
    test::FakeEngine m_engine;
    test::FakeDialogs m_dialogs;
    RecordingProgram m_program{m_engine, m_dialogs, ProgramDir()};
};

// Every step in its place, each setting applied right after its own read; a failing step is
// skipped and the next runs; a setting that is not a number applies nothing.
TEST_F(Spine, LoadRunsEveryStepInItsPlaceAndSkipsTheFailingOnes)
{
    test::WriteFile(IniPath(), "[display]\nvolume=16000.5\nbalance=left\n");
    m_program.failing = {"ShellIntegration", "SizeSkinControls", "Read continuousPlay",
                         "ApplyShuffle",     "FillGenres",       "CentreWindow"};
    m_program.SetCommandLine("LCDA");
    m_program.transport().CdOpen = true;
    m_program.Timer1().start();
    m_program.Form_Load();

    EXPECT_FALSE(m_program.transport().CdOpen);
    EXPECT_FALSE(m_program.Timer1().isActive());
    EXPECT_EQ(m_program.steps.join(','),
              "ShellIntegration,LoadSkin,SizeSkinControls,AttachSkins,Read continuousPlay,"
              "ApplyContinuousPlay,Read setTop,ApplyStayOnTop,Read randomOrder,ApplyShuffle,"
              "Read volume,SetVolumeBar 16000,Read balance,SendBarsToVolumeStage,"
              "Read equalizerPreset,Read db32,Read db64,Read db130,Read db260,Read db500,"
              "Read db1K,Read db2K,Read db4K,Read db8K,Read db16K,CreateEqualizerBands,"
              "ApplyStoredPreset,FillGenres,CentreWindow,ShowWindow,LoadCdTracks,PlaySelected");
    EXPECT_EQ(m_program.settings()[SettingKey::balance], "left");
    EXPECT_TRUE(m_engine.Calls().isEmpty()); // loading plays nothing
}

TEST_F(Spine, UnloadWritesTheTextsThenStopsTheOutputThenEndsAndExitWritesNothing)
{
    test::WriteFile(IniPath(), "[display]\ncontinuousPlay=sometimes\nvolume=9000\n");
    m_program.Form_Load();
    m_program.settings()[SettingKey::setTop] = "1"; // as an option's owner would
    m_engine.waveOut().Start();                     // something plays
    m_program.transport().CdOpen = true;
    m_program.Timer1().start();
    m_engine.ClearCalls();
    bool writtenBeforeStop = false;
    QObject::connect(&m_engine.waveOut(), &WaveOut::OnStop, [&] {
        writtenBeforeStop = test::ReadFile(IniPath()).contains("setTop=1");
        m_program.steps.append("OnStop");
    });
    m_program.steps.clear();
    m_program.Form_Unload();

    EXPECT_TRUE(writtenBeforeStop);
    // The stop notification closes the output.
    EXPECT_EQ(m_engine.Calls(), (QStringList{"CDReader.Close", "WaveOut.Stop", "WaveOut.Close"}));
    EXPECT_EQ(m_program.steps, (QStringList{"OnStop", "EndProcess"}));
    const Transport& transport = m_program.transport();
    EXPECT_FALSE(transport.Playing() || transport.CdOpen || m_program.Timer1().isActive());
    EXPECT_TRUE(test::ReadFile(IniPath()).startsWith(
        "[display]\ncontinuousPlay=sometimes\nvolume=9000\nsetTop=1\n"));

    // Exit writes nothing, and failing engine calls do not keep the program from ending.
    const QByteArray before = test::ReadFile(IniPath());
    m_program.settings()[SettingKey::volume] = "20000";
    m_engine.FailOn("CDReader.Close");
    m_engine.FailOn("WaveOut.Stop");
    m_engine.ClearCalls();
    m_program.steps.clear();
    m_program.Timer1().start();
    m_program.exit_Click();
    EXPECT_EQ(m_engine.Calls(), (QStringList{"CDReader.Close", "WaveOut.Stop"}));
    EXPECT_EQ(m_program.steps, QStringList{"EndProcess"});
    EXPECT_FALSE(m_program.Timer1().isActive());
    EXPECT_EQ(test::ReadFile(IniPath()), before);
}

} // namespace
} // namespace quillet
