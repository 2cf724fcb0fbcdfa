// The audio chain as the program sees it: a file source, a CD source, the equalizer, the
// volume stage, the wave output and the display feed. The program talks to sound only
// through these interfaces; components/audio implements them, tests use a fake.
// UI thread only (the implementations do their work on threads of their own).
// Times are whole milliseconds; CD sectors are 1/75 s (2352 bytes of 44.1 kHz stereo).
#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <span>
#include <stdexcept>

namespace quillet {

// A call on the audio chain failed (no such file, undecodable data, no drive, no server...).
class ComponentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file source: MP1, MP2, MP3 and WAV.
class AudioFile {
public:
    virtual ~AudioFile() = default;
    // Opens the file as the source; throws ComponentError when it cannot be opened or decoded.
    // Never blocks on a FIFO or a device node.
    virtual void SetFileName(const QString& path) = 0;
    // The last path put ("" before the first), or the prepared one once its join is heard.
    [[nodiscard]] virtual QString FileName() const = 0;
    [[nodiscard]] virtual int Position() const = 0;  // audible position, ms
    virtual void SetPosition(int ms) = 0;            // sample-exact seek
    [[nodiscard]] virtual int Length() const = 0;    // exact duration, ms
    virtual void SetOutput(const QString& name) = 0; // "Eq": this source feeds the chain

    // Gapless joins. Opens `path` to follow the file that plays, its first sample right after
    // that file's last, once WaveOut has told OnSourceDecoded; throws ComponentError when it
    // cannot be opened. False, keeping nothing, when it cannot follow without reopening the
    // output (no file plays; another rate or channel count). Replaces one prepared before.
    // When the join is heard, WaveOut tells OnNextStarted and FileName, Length and Position
    // are the new file's. Pause, a seek and Stop drop what was prepared.
    virtual bool PrepareNext(const QString& path) = 0;
    // Drops what was prepared: the play ends at the current file's end. False when it is too
    // late: the join is already on its way to the speakers and will be heard.
    virtual bool CancelNext() = 0;
};

// One track of the disc's table of contents.
struct CdTrack {
    int TrackNumber = 0;
    int TrackStart = 0;  // first sector
    int TrackEnd = 0;    // last sector (inclusive)
};

class CdTracks {
public:
    virtual ~CdTracks() = default;
    [[nodiscard]] virtual int Count() const = 0;
    [[nodiscard]] virtual CdTrack Item(int index) const = 0;  // throws for an index out of range
};

// The CD source: the system's default drive (or an image file, in tests).
class CDReader {
public:
    virtual ~CDReader() = default;
    virtual void Open() = 0;   // makes the drive readable; throws ComponentError
    virtual void Close() = 0;  // releases the drive; never throws
    [[nodiscard]] virtual bool Ready() const = 0;           // a readable disc is in the drive
    [[nodiscard]] virtual bool DirectoryValid() const = 0;  // its table of contents was read
    [[nodiscard]] virtual const CdTracks& Tracks() const = 0;
    virtual void SelectRange(int trackStart, int trackEnd) = 0;  // sectors played at Start
    virtual void SetOutput(const QString& name) = 0;             // "Eq": this source feeds the chain
};

class EqBand {
public:
    virtual ~EqBand() = default;
    virtual void SetGain(double dB) = 0;
    [[nodiscard]] virtual double Gain() const = 0;
};

class EqBands {
public:
    virtual ~EqBands() = default;
    // Creates the next band between two edges in hertz; the third argument is always 0.
    virtual void Add(double lowEdge, double highEdge, int reserved) = 0;
    [[nodiscard]] virtual int Count() const = 0;
    [[nodiscard]] virtual EqBand& Item(int index) = 0;  // throws ComponentError when out of range
};

// The graphic equalizer between the source and the volume stage.
class Eq {
public:
    virtual ~Eq() = default;
    [[nodiscard]] virtual EqBands& Filters() = 0;
};

// The volume stage between the equalizer and the output.
class MasterVolume {
public:
    virtual ~MasterVolume() = default;
    virtual void SetVolume(int volume) = 0;    // 0 (silent) … 32000 (unity)
    virtual void SetBalance(int balance) = 0;  // -16000 (left only) … 0 … 16000 (right only)
};

// The wave output. Its notifications reach the UI thread only: OnStart before Start returns,
// OnStop before Stop returns, and once, queued, when the data has been played to its end.
// A notification queued by a play that has ended or has been replaced since is dropped.
class WaveOut : public QObject {
    Q_OBJECT
public:
    enum StateBits { Started = 4, Paused = 8 };

    [[nodiscard]] virtual int DeviceCount() = 0;  // asks the sound server afresh; 0: none
    virtual void Start() = 0;    // a second Start while started changes nothing
    virtual void Pause() = 0;
    virtual void Restart() = 0;  // resumes after Pause
    virtual void Reset() = 0;    // drops everything queued (source read-ahead and server)
    virtual void Stop() = 0;
    virtual void Close() = 0;    // releases the device after a stop
    [[nodiscard]] virtual int State() const = 0;     // StateBits
    [[nodiscard]] virtual int Position() const = 0;  // ms played since Start

signals:
    void OnStart();
    void OnStop();
    // The file that plays has been decoded to its end: a file prepared now (PrepareNext)
    // follows it without a gap. Queued, once per file.
    void OnSourceDecoded();
    // The prepared file is heard now, in the same play (no OnStop, no OnStart). Queued.
    void OnNextStarted();
};

// The display feed: what is audible now, for the level meters, spectrum and oscilloscope.
// Readings are taken on the UI thread (about 30 times a second); cheap, never blocking.
class Connector {
public:
    static constexpr int SpectrumBins = 256;

    virtual ~Connector() = default;
    // Peak level of each channel over the 99 samples audible now, in dBFS (≤ 0; a floor
    // value for silence). False when nothing is sounding.
    [[nodiscard]] virtual bool Levels(float& leftDb, float& rightDb) const = 0;
    // Magnitudes in dBFS of SpectrumBins bands from 0 Hz to half the sample rate.
    [[nodiscard]] virtual bool Spectrum(std::span<float, SpectrumBins> magnitudesDb) const = 0;
    // The most recent audible samples (mono mix, −1…1), oldest first; returns how many.
    [[nodiscard]] virtual int Scope(std::span<float> samples) const = 0;
};

// The whole chain. Owned by the program for its lifetime.
class AudioEngine {
public:
    virtual ~AudioEngine() = default;
    [[nodiscard]] virtual AudioFile& audioFile() = 0;
    [[nodiscard]] virtual CDReader& cdReader() = 0;
    [[nodiscard]] virtual Eq& eq() = 0;
    [[nodiscard]] virtual MasterVolume& masterVolume() = 0;
    [[nodiscard]] virtual WaveOut& waveOut() = 0;
    [[nodiscard]] virtual const Connector& connector() const = 0;
};

}  // namespace quillet
