// Out-of-line anchor for the engine interfaces (gives WaveOut's signals a home).
#include "playback/audioengine.h"
