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
    if (!ParseDecimal(text->toStdString(), number.value)) return std::nullopt;
    return number;
}

QString ClampedText(int clamped) {
    if (clamped <= 0) return QString();
    return QStringLiteral(" (%1 coordinate%2 clamped to the 16-bit range)")
        .arg(clamped)
        .arg(clamped == 1 ? "" : "s");
}
