#pragma once

#include <QString>

// Qt's raster engine splits large fills, scalings and conversions among a
// pool of threads and waits for every part; a part whose thread the system
// refused to start (a process or address-space limit) is never done, and
// the drawing waits forever. Drawing a picture starts only when the pool's
// threads can all start. (A limit that bites between the question and the
// drawing is not seen.)
class DrawingThreads {
public:
    // Whether as many threads as the pool may use can run at once now.
    static bool CanStart();
    // For a picture that could not be made: the reason when it is that the
    // threads cannot start, else nothing (the cause lies elsewhere).
    static QString Refusal(const QString& picture);
};
