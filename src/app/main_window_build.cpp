// Building the main window: layout, tabs, actions, menus and the paired view switches.
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include "app/animation_controls.h"
#include "app/check_dialog.h"
#include "app/gl_view_widget.h"
#include "app/help_text.h"
#include "app/text_browser_filled_on_show.h"
#include "app/main_window.h"
#include "app/menu_action.h"
#include "app/model_panels.h"
#include "app/view_switch_pair.h"
#include "check/level_of_detail_check.h"
#include "check/model_check.h"
#include "math/scalar.h"
#include "render/gl/sky_box.h"
#include "render/view_control.h"

namespace {

// A menu icon showing a colour as a square with a black outline.
QIcon ColourSquare(std::uint32_t colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    painter.drawRect(2, 2, 11, 11);
    return QIcon(pixmap);
}

}  // namespace

void TMainWindow::BuildLayout() {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName("splitter");

    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    gbOGL_ = new QGroupBox(left);
    gbOGL_->setObjectName("gbOGL");
    auto* oglLayout = new QVBoxLayout(gbOGL_);
    oglLayout->setContentsMargins(2, 2, 2, 2);
    glView_ = new TGLViewWidget(gbOGL_);
    glView_->setObjectName("oglView");
    glView_->installEventFilter(this);
    glView_->onContextReady = [this] { OnContextReady(); };
    glView_->onPaint = [this] { DrawFrame(); };
    glView_->onResize = [this](int w, int h) { ogl_.Resize(w, h); };
    oglLayout->addWidget(glView_);
    leftLayout->addWidget(gbOGL_, 1);
    animationHost_ = new QWidget(left);
    animationHost_->setObjectName("animationHost");
    new QVBoxLayout(animationHost_);
    animationHost_->layout()->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(animationHost_);

    gbModel_ = new QGroupBox(splitter);
    gbModel_->setObjectName("gbModel");
    auto* modelLayout = new QVBoxLayout(gbModel_);
    pcTabs_ = new QTabWidget(gbModel_);
    pcTabs_->setObjectName("pcTabs");
    // The pages scroll, so the tab names are what sets the panel's width: all of them show.
    pcTabs_->setUsesScrollButtons(false);
    modelLayout->addWidget(pcTabs_);
    viewTab_ = BuildViewTab();
    helpTab_ = BuildHelpTab();
    panels_ = new TModelPanels(pcTabs_, viewTab_, helpTab_, cbTagPivots_, document_.md3, this);
    panels_->SetSkeletalModels(&document_.mdm, &document_.mdx);
    BuildTagEntry();
    connect(pcTabs_, &QTabWidget::currentChanged, this, &TMainWindow::OnTabChanged);

    timerFPS_ = new QTimer(this);
    timerFPS_->setObjectName("TimerFPS");
    connect(timerFPS_, &QTimer::timeout, this, &TMainWindow::OnTimerTick);
    timerOGLFPS_ = new QTimer(this);
    timerOGLFPS_->setObjectName("TimerOGLFPS");
    timerOGLFPS_->setInterval(1000);
    connect(timerOGLFPS_, &QTimer::timeout, this, [this] { ogl_.LatchFrameCount(); });

    animation_ = new TAnimationControls(animationHost_);
    animationHost_->layout()->addWidget(animation_->Group());
    connect(animation_, &TAnimationControls::currentFrameChanged, this, [this] { RedrawView(); });
    connect(animation_, &TAnimationControls::playToggled, this, [this] { RedrawView(); });
    connect(animation_, &TAnimationControls::timerIntervalChanged, this,
            [this](int ms) { timerFPS_->setInterval(ms); });
    animation_->useAnimationFile = [this](std::size_t file) {
        return UseCharacterAnimationFile(file);
    };

    splitter->addWidget(left);
    splitter->addWidget(gbModel_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    // The view gets most of the room; the tabs need about a third.
    splitter->setSizes({740, 360});
    setCentralWidget(splitter);
    statusBar()->setObjectName("StatusBar");
    resize(1100, 720);
}

QWidget* TMainWindow::BuildViewTab() {
    auto* tab = new QWidget;
    tab->setObjectName("tabView");
    auto* layout = new QVBoxLayout(tab);
    // First on the page, so that it needs no scrolling on a small screen.
    bPrtScr_ = new QPushButton("PrtScr", tab);
    bPrtScr_->setObjectName("bPrtScr");
    bPrtScr_->setToolTip("Save the view as screenshot<N>.tga beside the program");
    connect(bPrtScr_, &QPushButton::clicked, this,
            [this] { Guarded([this] { TakeScreenshot(); }); });
    layout->addWidget(bPrtScr_);
    const std::pair<const char*, const char*> boxes[] = {
        {"cbLightingEnabled", "Lighting"},
        {"cbShowTags", "Show Tags"},
        {"cbShowSkeleton", "Show Skeleton"},
        {"cbShowNormals", "Show Normals"},
        {"cbWireframe", "Wireframe"},
        {"cbTwoSided", "Two-Sided"},
        {"cbSmoothFlat", "Flat Shading"},
        {"cbShowGroundplane", "Show Groundplane"},
        {"cbShowAxis", "Show Axis"},
        {"cbCenterModel", "Center Model"},
        {"cbMouseControl", "Mouse Control Type 1"},
        {"cbAlphaPreview", "Show Alpha in Preview"}};
    for (const auto& [name, caption] : boxes) {
        auto* box = new QCheckBox(caption, tab);
        box->setObjectName(name);
        layout->addWidget(box);
    }
    cbLockView_ = new QCheckBox("Lock View", tab);
    cbLockView_->setObjectName("cbLockView");
    connect(cbLockView_, &QCheckBox::toggled, this, [this](bool on) { view_.lockView = on; });
    layout->addWidget(cbLockView_);
    cbPauseShaders_ = new QCheckBox("Pause Shaders", tab);
    cbPauseShaders_->setObjectName("cbPauseShaders");
    cbPauseShaders_->setToolTip("Hold animated shaders at the time shown");
    connect(cbPauseShaders_, &QCheckBox::toggled, this, [this](bool on) {
        shaderClock_.SetPaused(on);
        RedrawView();
    });
    layout->addWidget(cbPauseShaders_);

    auto* pivotLabel = new QLabel("Pivot", tab);
    layout->addWidget(pivotLabel);
    cbTagPivots_ = new QComboBox(tab);
    pivotLabel->setBuddy(cbTagPivots_);
    cbTagPivots_->setObjectName("cbTagPivots");
    connect(cbTagPivots_, qOverload<int>(&QComboBox::activated), this, &TMainWindow::OnPivotChosen);
    layout->addWidget(cbTagPivots_);
    BuildMD3LevelChoice(tab, layout);

    gbLOD_ = new QGroupBox("LOD", tab);
    gbLOD_->setObjectName("gbLOD");
    auto* lodLayout = new QVBoxLayout(gbLOD_);
    cbLODEnabled_ = new QCheckBox("Enabled", gbLOD_);
    cbLODEnabled_->setObjectName("cbLODEnabled");
    tLODpresence_ = new QLabel("info", gbLOD_);
    tLODpresence_->setObjectName("tLODpresence");
    lodLayout->addWidget(cbLODEnabled_);
    lodLayout->addWidget(tLODpresence_);
    gbLOD_->setEnabled(false);
    layout->addWidget(gbLOD_);

    layout->addStretch(1);
    return tab;
}

QWidget* TMainWindow::BuildHelpTab() {
    auto* tab = new QWidget;
    tab->setObjectName("tabHelp");
    auto* layout = new QVBoxLayout(tab);
    auto* text = new TTextBrowserFilledOnShow(&HelpText, tab);
    text->setObjectName("helpText");
    layout->addWidget(text);
    return tab;
}

void TMainWindow::BuildActions() {
    actionFileLoadAnyFromFile_ =
        MakeAction(this, "actionFileLoadAnyFromFile", "Load From File...", "Ctrl+Alt+L");
    actionFileLoad_ = MakeAction(this, "actionFileLoad", "&Load MD3 From File...", "Ctrl+Alt+3");
    actionFileSaveAs_ = MakeAction(this, "actionFileSaveAs", "&Save As...", "Ctrl+S");
    actionFileExit_ = MakeAction(this, "actionFileExit", "E&xit");
    actionModelClear_ = MakeAction(this, "actionModelClear", "Clear");
    actionSettingsGamedir_ = MakeAction(this, "actionSettingsGamedir", "Select &Game Path...");
    actionHelp_ = MakeAction(this, "actionHelp", "&Help");
    connect(actionFileLoadAnyFromFile_, &QAction::triggered, this,
            [this] { Guarded([this] { LoadAnyFromFileCommand(); }); });
    connect(actionFileLoad_, &QAction::triggered, this,
            [this] { Guarded([this] { LoadMD3Command(); }); });
    connect(actionFileSaveAs_, &QAction::triggered, this,
            [this] { Guarded([this] { SaveAsCommand(); }); });
    connect(actionFileExit_, &QAction::triggered, this, &QWidget::close);
    connect(actionModelClear_, &QAction::triggered, this,
            [this] { Guarded([this] { ClearCommand(); }); });
    connect(actionSettingsGamedir_, &QAction::triggered, this,
            [this] { Guarded([this] { SelectGamePath(); }); });
    connect(actionHelp_, &QAction::triggered, this, &TMainWindow::ToggleHelp);
    BuildMapAction();
    BuildSkeletalActions();
    BuildCharacterAction();
    BuildGltfExportAction();
    BuildImportActions();
    BuildEditActions();
    BuildDesktopActions();
}

void TMainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("menuFile");
    file->addAction(actionFileLoadAnyFromFile_);
    file->addAction(actionFileLoad_);
    file->addAction(findChild<QAction*>("actionFileImportMapAsMD3", Qt::FindDirectChildrenOnly));
    const char* const skeletal[] = {
        "actionFileLoadMDMMDX", "actionFileLoadMDS",      nullptr,
        "actionFileLoadMDX",    "actionFileLoadMDXbones", "actionFileLoadMDXframes",
        "actionFileLoadMDMtags"};
    for (const char* name : skeletal) {
        if (name == nullptr) {
            file->addSeparator();
        } else {
            file->addAction(findChild<QAction*>(name, Qt::FindDirectChildrenOnly));
        }
    }
    AddCharacterMenuEntries(*file);
    AddDesktopMenuEntries(*file);
    file->addSeparator();
    for (const char* name : {"actionFileLoadASE", "actionFileLoadMS3D", "actionFileLoadGLTF",
                             "actionFileImportOptions"})
        file->addAction(findChild<QAction*>(name, Qt::FindDirectChildrenOnly));
    file->addSeparator();
    file->addAction(actionFileSaveAs_);
    file->addAction(findChild<QAction*>("actionFileExportGltf", Qt::FindDirectChildrenOnly));
    file->addSeparator();
    file->addAction(actionFileExit_);

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("menuEdit");
    BuildUndoActions(edit);
    edit->addAction(actionModelClear_);

    BuildEditMenus();

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("menuView");
    menuView_ = view;

    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->setObjectName("menuTools");
    menuToolsColorconvertRadiant_ =
        MakeAction(this, "menuToolsColorconvertRadiant", kColorConvertInitialCaption);
    menuToolsColorconvertRadiant_->setIcon(ColourSquare(convertColour_));
    connect(menuToolsColorconvertRadiant_, &QAction::triggered, this, &TMainWindow::ColourConvert);
    tools->addAction(menuToolsColorconvertRadiant_);
    QAction* checkModel = MakeAction(this, "menuToolsCheckModel", "Check Model...");
    connect(checkModel, &QAction::triggered, this, [this] {
        // The MDS loader leaves its model as the MDM/MDX pair, so that pair is what is checked.
        const bool skeletalModel = IsSkeletalFamily(document_.kind);
        auto check = [this, skeletalModel](const TEngineLimits& limits) {
            if (!skeletalModel) {
                TCheckFindings findings = CheckMD3(document_.md3, limits);
                // The levels of detail the game loads with the model go with it.
                if (!md3Levels_.empty()) {
                    AppendFindings(findings,
                                   CheckModelLevels(document_.md3, md3Levels_.front().file,
                                                    {md3Levels_.begin() + 1, md3Levels_.end()}),
                                   "");
                }
                return findings;
            }
            TCheckFindings findings = CheckMDM(document_.mdm, limits);
            for (const TCheckFinding& f : CheckMDX(document_.mdx, limits))
                findings.push_back(f);
            for (const TCheckFinding& f : CheckAnincRanges(
                     document_.aninc, static_cast<std::int64_t>(document_.mdx.header.numFrames)))
                findings.push_back(f);
            // A character's head and accessories go into the game with it.
            for (const TAttachedModel& a : document_.attachments)
                AppendFindings(findings, CheckMD3(a.model, limits), a.where.gamePath);
            return findings;
        };
        TdlgCheck dialog(check, !document_.Empty(), this);
        dialog.exec();
    });
    tools->addAction(checkModel);

    QMenu* settings = menuBar()->addMenu("&Settings");
    settings->setObjectName("menuSettings");
    settings->addAction(actionSettingsGamedir_);
    // Shown ticked and fixed: the settings file records clean-up as always on.
    QAction* cleanup = MakeAction(this, "menuSettingsCleanup", "Clean-up");
    cleanup->setCheckable(true);
    cleanup->setChecked(true);
    cleanup->setEnabled(false);
    cleanup->setToolTip("Remove \"tmp\"-directory after use");
    settings->setToolTipsVisible(true);
    settings->addAction(cleanup);
    BuildScreenshotCommands(*settings);

    BuildHelpMenu();
}

void TMainWindow::BuildSwitches() {
    // Menu twins of the "View" tab's check boxes, in the menu's order.
    const std::pair<const char*, const char*> twins[] = {
        {"cbLightingEnabled", "menuViewLighting"},
        {"cbShowTags", "menuViewShowtags"},
        {"cbShowSkeleton", "menuViewShowskeleton"},
        {"cbShowNormals", "menuViewShowNormals"},
        {"cbWireframe", "menuViewWireFrame"},
        {"cbTwoSided", "menuViewTwoSided"},
        {"cbSmoothFlat", "menuViewFlatShading"},
        {"cbShowGroundplane", "menuViewShowGroundplane"},
        {"cbShowAxis", "menuViewShowAxis"},
        {"cbCenterModel", "menuViewCenterModel"},
        {"cbMouseControl", "menuViewMouseControl"},
        {"cbAlphaPreview", "menuViewShowAlphapreview"}};
    for (const auto& [boxName, itemName] : twins) {
        auto* box = viewTab_->findChild<QCheckBox*>(boxName);
        QAction* item = MakeAction(this, itemName, box->text());
        const QString name = boxName;
        switchPairs_.push_back(std::make_unique<TViewSwitchPair>(
            box, item, [this, name](bool on) { OnSwitchChanged(name, on); }));
        menuView_->addAction(item);
    }
    BuildAttachmentSwitch();
    // The state before the settings are applied.
    for (const auto& pair : switchPairs_) {
        const QString name = pair->Box()->objectName();
        const bool on =
            name == "cbLightingEnabled" || name == "cbShowTags" || name == "cbAlphaPreview";
        pair->SetQuietly(on);
    }

    menuView_->addSeparator();
    QMenu* gamma = menuView_->addMenu("Gamma");
    gamma->setObjectName("menuViewGammaSW");
    auto* gammaGroup = new QActionGroup(this);
    const std::pair<const char*, float> gammas[] = {
        {"menuViewGammaSW1", 1.0f},   {"menuViewGammaSW1_5", 1.5f}, {"menuViewGammaSW2", 2.0f},
        {"menuViewGammaSW2_5", 2.5f}, {"menuViewGammaSW3", 3.0f},   {"menuViewGammaSW3_5", 3.5f},
        {"menuViewGammaSW4", 4.0f},   {"menuViewGammaSW4_5", 4.5f}, {"menuViewGammaSW5", 5.0f}};
    for (const auto& [name, value] : gammas) {
        const QString caption =
            value == 1.0f ? QString("1.0 (default)") : QString::number(value, 'f', 1);
        QAction* item = MakeAction(this, name, caption);
        item->setCheckable(true);
        gammaGroup->addAction(item);
        gamma->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, value] { Guarded([this, value] { ChooseGamma(value); }); });
        gammaItems_.emplace_back(value, item);
    }
    gammaItems_.front().second->setChecked(true);

    menuViewShowskybox_ = MakeAction(this, "menuViewShowskybox", "Show SkyBox");
    menuViewShowskybox_->setCheckable(true);
    menuViewShowskybox_->setChecked(true);
    connect(menuViewShowskybox_, &QAction::toggled, this, &TMainWindow::SetSkyBoxShown);
    menuView_->addAction(menuViewShowskybox_);
    menuViewSkycolors_ = menuView_->addMenu("Sky Colors");
    menuViewSkycolors_->setObjectName("menuViewSkycolors");
    menuViewSkycolortop_ = MakeAction(this, "menuViewSkycolortop", "Top");
    menuViewSkycolorbottom_ = MakeAction(this, "menuViewSkycolorbottom", "Bottom");
    connect(menuViewSkycolortop_, &QAction::triggered, this, [this] { ChooseSkyColour(true); });
    connect(menuViewSkycolorbottom_, &QAction::triggered, this, [this] { ChooseSkyColour(false); });
    menuViewSkycolors_->addAction(menuViewSkycolortop_);
    menuViewSkycolors_->addAction(menuViewSkycolorbottom_);
    UpdateColourIcons();
}

void TMainWindow::UpdateColourIcons() {
    menuViewSkycolortop_->setIcon(ColourSquare(colours_.skyTop));
    menuViewSkycolorbottom_->setIcon(ColourSquare(colours_.skyBottom));
    menuToolsColorconvertRadiant_->setIcon(ColourSquare(convertColour_));
}
