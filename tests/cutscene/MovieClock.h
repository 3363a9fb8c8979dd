#pragma once

// A millisecond clock the tests move by hand, for the waits of scripts.
struct MovieClock {
    static unsigned now;
    static unsigned read() { return now; }
};
inline unsigned MovieClock::now = 0;
