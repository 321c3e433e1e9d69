#include "app/edit_input.h"

#include "app/main_window.h"
#include "md3/md3_input.h"

std::optional<TTypedNumber> AskDecimal(const TUserPrompts& prompts, const QString& caption,
                                       const QString& prompt, const QString& preset) {
    if (!prompts.askText) return std::nullopt;
    const std::optional<QString> text = prompts.askText(caption, prompt, preset);
    if (!text) return std::nullopt;
    TTypedNumber number;
    number.text = *text;
    if (!ParseDecimal(text->toStdString(), number.value)) {
        // Silence would look as if the command had run.
        if (prompts.message)
            prompts.message(
                caption, NotANumberText(*text, "a decimal number with a point, such as 1.5"), true);
        return std::nullopt;
    }
    return number;
}

QString NotANumberText(const QString& typed, const QString& wanted) {
    return QStringLiteral("\"%1\" is not a number: type %2").arg(typed.trimmed(), wanted);
}

QString ClampedText(int clamped) {
    if (clamped <= 0) return QString();
    return QStringLiteral(" (%1 coordinate%2 clamped to the 16-bit range)")
        .arg(clamped)
        .arg(clamped == 1 ? "" : "s");
}
