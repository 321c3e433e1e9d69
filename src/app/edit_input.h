// What the edit commands ask and tell: a number typed into an input box, and the note that
// positions had to be clamped.
#pragma once

#include <QString>
#include <optional>

struct TUserPrompts;

struct TTypedNumber {
    float value = 0.0f;
    QString text;  // as typed
};

// Asks for a decimal number with a point as separator; nothing when the box is cancelled or
// the text is not a number, which a message then says.
std::optional<TTypedNumber> AskDecimal(const TUserPrompts& prompts, const QString& caption,
                                       const QString& prompt, const QString& preset = QString());

// "\"abc\" is not a number: type <wanted>".
QString NotANumberText(const QString& typed, const QString& wanted);

// " (N coordinates clamped to the 16-bit range)" for N > 0, else empty: a stored position
// cannot leave about -512 ... +512 units, and a silent clamp would report a wrong model as
// edited.
QString ClampedText(int clamped);
