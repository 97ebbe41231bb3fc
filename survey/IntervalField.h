#pragma once

#include <QString>

// Reads an unsigned whole number from a text field and checks its range,
// with the messages the settings dialog shows when it cannot.
class IntervalField {
public:
    static constexpr quint32 kMinimum = 0;
    static constexpr quint32 kMaximum = 500;

    struct Parsed {
        bool ok = false;
        quint32 value = 0;
        // Empty when ok.
        QString message;
    };

    // Blanks around the digits are allowed; a sign, other characters or no
    // digits at all are not.
    static Parsed Parse(const QString& text, quint32 minimum = kMinimum,
                        quint32 maximum = kMaximum);
    static QString NotANumberMessage();
    static QString RangeMessage(quint32 minimum, quint32 maximum);

private:
    static bool AllDigits(const QString& text);
};
