// File → Open Recent: the last models loaded, from a file, the game or a map's PK3, each
// opened again the way it was first opened, without its dialogs.
#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "app/main_window.h"
#include "app/menu_action.h"
#include "assets/archive_loads.h"

namespace {

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

// "knife.md3 (game)": the file's name and where it came from; the tooltip has the full path.
QString RecentCaption(const TRecentModel& model) {
    const QString name = QFileInfo(Text(model.paths.front())).fileName();
    switch (model.source) {
        case TRecentModel::Source::File:
            return name + QStringLiteral(" (file)");
        case TRecentModel::Source::Game:
            return name + QStringLiteral(" (game)");
        case TRecentModel::Source::Pk3:
            return name + QStringLiteral(" (PK3 ") + QFileInfo(Text(model.archive)).fileName() +
                   ')';
    }
    return name;
}

QString RecentTooltip(const TRecentModel& model) {
    QStringList paths;
    for (const std::string& path : model.paths)
        paths << Text(path);
    const QString files = paths.join(QStringLiteral(" + "));
    switch (model.source) {
        case TRecentModel::Source::Game:
            return QStringLiteral("From the game: ") + files;
        case TRecentModel::Source::Pk3:
            return Text(model.archive) + QStringLiteral(": ") + files;
        case TRecentModel::Source::File:
            break;
    }
    return files;
}

QString UpperSuffix(const std::string& path) {
    return '.' + QFileInfo(Text(path)).suffix().toUpper();
}

}  // namespace

void TMainWindow::RememberRecent(const TRecentModel& model) {
    AddRecentModel(desktop_.recent, model);
    RebuildRecentMenu();
}

void TMainWindow::RebuildRecentMenu() {
    menuRecent_->clear();
    int number = 0;
    for (const TRecentModel& model : desktop_.recent) {
        ++number;
        const QString caption =
            (number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("1&0 ")) +
            RecentCaption(model).replace('&', QStringLiteral("&&"));
        QAction* entry = menuRecent_->addAction(caption);
        entry->setObjectName(QStringLiteral("actionFileRecent%1").arg(number));
        entry->setToolTip(RecentTooltip(model));
        connect(entry, &QAction::triggered, this,
                [this, model] { Guarded([this, model] { OpenRecent(model); }); });
    }
    if (desktop_.recent.empty()) {
        menuRecent_->addAction(QStringLiteral("No recent models"))->setEnabled(false);
        return;
    }
    menuRecent_->addSeparator();
    QAction* clear = MakeAction(menuRecent_, "actionFileRecentClear", "Clear Recent Models");
    connect(clear, &QAction::triggered, this, [this] {
        desktop_.recent.clear();
        // Rebuilding deletes the entry that is running: later, once the menu let go of it.
        QMetaObject::invokeMethod(
            this, [this] { RebuildRecentMenu(); }, Qt::QueuedConnection);
    });
    menuRecent_->addAction(clear);
}

void TMainWindow::OpenRecent(const TRecentModel& model) {
    const std::string& first = model.paths.front();
    const QString suffix = UpperSuffix(first);
    if (model.source == TRecentModel::Source::Pk3) {
        LoadMD3FromPK3Entry(model.archive, first);
        return;
    }
    if (model.source == TRecentModel::Source::Game) {
        if (assets_.Paks().Empty()) {
            SetStatus("Not loaded: " + Text(first) + ": no game path is set");
        } else if (suffix == ".CHAR") {
            LoadCharacterFromGameEntry(first, std::string());
        } else if (model.paths.size() == 2) {
            const auto fromGame = [this](const std::string& entry,
                                         std::vector<std::string>& problems) {
                TEntryExtraction extraction =
                    ExtractFromGamePaks(assets_.Paks(), entry, assets_.TmpDir());
                problems.insert(problems.end(), extraction.problems.begin(),
                                extraction.problems.end());
                return extraction.path;
            };
            LoadMDMMDXFromGameEntries(first, model.paths[1], fromGame, fromGame);
        } else {
            LoadMD3FromGameEntry(first);
        }
        return;
    }
    for (const std::string& path : model.paths) {
        if (!QFileInfo::exists(Text(path))) {
            SetStatus("Not loaded: " + Text(path) + ": the file is no longer there");
            return;
        }
    }
    if (model.paths.size() == 2) {
        LoadMDMMDXFromFiles(Text(first), Text(model.paths[1]));
    } else if (suffix == ".MDM") {
        presetFileName_ = Text(first);
        skipDialog_ = true;
        RunLoadFrame(
            {},
            [this](const QString& fileName, TModelDocument& loaded, QString& status) {
                return LoadMDMFile(loaded, fileName, status);
            },
            "Save as MDM/MDX");
        skipDialog_ = false;
    } else {
        HandleDroppedFiles({Text(first)});
    }
}
