#include "app/app_user_prompts.h"

#include <QStringList>

#include "app/main_window.h"

namespace {

PromptAnswer FromAnswer(TAnswer answer) {
    switch (answer) {
        case TAnswer::Yes:
            return PromptAnswer::Yes;
        case TAnswer::No:
            return PromptAnswer::No;
        case TAnswer::Cancel:
            break;
    }
    return PromptAnswer::Cancel;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

PromptAnswer TAppUserPrompts::Ask(const std::string& caption, const std::string& text,
                                  PromptButtons buttons) {
    // The toolkit breaks lines at "\n"; a "\r" before it would show as a stray character.
    const QString message = Text(text).replace("\r\n", "\n");
    if (buttons == PromptButtons::YesNo) {
        // Nobody to ask is a No: a question exists because going on is not the safe choice.
        return prompts_.askYesNo ? FromAnswer(prompts_.askYesNo(Text(caption), message))
                                 : PromptAnswer::No;
    }
    return prompts_.askYesNoCancel ? FromAnswer(prompts_.askYesNoCancel(Text(caption), message))
                                   : PromptAnswer::Cancel;
}

std::optional<std::string> TAppUserPrompts::AskText(const std::string& caption,
                                                    const std::string& prompt,
                                                    const std::string& preset) {
    if (!prompts_.askText) return std::nullopt;
    const std::optional<QString> text = prompts_.askText(Text(caption), Text(prompt), Text(preset));
    if (!text) return std::nullopt;
    return text->toStdString();
}

std::optional<std::string> TAppUserPrompts::ChooseFile(const FileChoice& choice) {
    QString name;
    if (choice.mode == FileChoice::Mode::Save) {
        if (!prompts_.saveFile) return std::nullopt;
        name = prompts_.saveFile(Text(choice.title), DialogFilter(choice.filter),
                                 DialogSuffix(choice.defaultExtension));
    } else {
        if (!prompts_.openFile) return std::nullopt;
        int filterIndex = 0;
        name = prompts_.openFile(Text(choice.title), DialogFilter(choice.filter).split(";;"),
                                 filterIndex);
    }
    if (name.isEmpty()) return std::nullopt;
    return name.toStdString();
}

QString DialogFilter(const std::string& coreFilter) {
    const QStringList parts = Text(coreFilter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            patterns << pattern;
            if (pattern.toLower() != pattern) patterns << pattern.toLower();
        }
        entries << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return entries.join(";;");
}

QString DialogSuffix(const std::string& defaultExtension) {
    QString suffix = Text(defaultExtension).toLower();
    if (suffix.startsWith('.')) suffix.remove(0, 1);
    return suffix;
}
