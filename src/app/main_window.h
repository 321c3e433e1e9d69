// The main window: the 3-D view with its animation group, the model tabs, the menus and the
// status bar, and the wiring of every command to the loaded model's document.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/built_on_first_use.h"
#include "app/model_document.h"
#include "app_settings/desktop_state.h"
#include "app_settings/settings_location.h"
#include "assets/character_files.h"
#include "assets/game_assets.h"
#include "assets/missing_textures.h"
#include "assets/model_file_names.h"
#include "assets/model_origin.h"
#include "assets/status_text.h"
#include "import/ase.h"
#include "import/ms3d.h"
#include "md3/md3.h"
#include "render/gl/obj_texture.h"
#include "render/gl/ogl.h"
#include "render/gl/scene_renderer.h"
#include "render/scene_settings.h"
#include "render/shader_clock.h"
#include "render/view_control.h"
#include "render/view_presets.h"
#include "render/view_state.h"
#include "shader/q3_shaders.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QVBoxLayout;
class TAnimationControls;
class TdlgPK3;
class TTexturePanel;
class TGLViewWidget;
class TLodPanel;
class TModelPanels;
class TTagEntry;
class TViewSwitchPair;

// The answer to a Yes/No/Cancel question.
enum class TAnswer { Yes, No, Cancel };

// Dialogs the window asks through, so tests can answer them.
struct TUserPrompts {
    // An existing file to open; empty for cancel.
    std::function<QString(const QString& title, const QStringList& filters, int& filterIndex)>
        openFile;
    // A file to save (the dialog asks before overwriting); empty for cancel.
    std::function<QString(const QString& title, const QString& filter, const QString& suffix)>
        saveFile;
    // A folder; empty for cancel.
    std::function<QString(const QString& caption)> chooseFolder;
    // A message with an OK button.
    std::function<void(const QString& title, const QString& text, bool error)> message;
    // A colour, or nothing for cancel.
    std::function<std::optional<std::uint32_t>(std::uint32_t initial)> chooseColour;
    // One line of text, starting with `text`; nothing for cancel.
    std::function<std::optional<QString>(const QString& caption, const QString& prompt,
                                         const QString& text)>
        askText;
    // A question with the buttons Yes, No and Cancel.
    std::function<TAnswer(const QString& caption, const QString& text)> askYesNoCancel;
    // A question with the buttons Yes and No.
    std::function<TAnswer(const QString& caption, const QString& text)> askYesNo;
    // Several existing files to open; empty for cancel.
    std::function<QStringList(const QString& title, const QString& filter)> openFiles;
};

class TMainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // `appDir` is the program folder (the executable's, unless a test gives its own).
    explicit TMainWindow(const QString& appDir, QWidget* parent = nullptr);
    ~TMainWindow() override;

    // Exit code requested during start-up (1 when the installation is broken), else 0.
    int StartupExitCode() const { return startupExitCode_; }

    TUserPrompts& Prompts() { return prompts_; }
    TMD3& MD3() { return document_.md3; }
    TMDM& MDM() { return document_.mdm; }
    TMDX& MDX() { return document_.mdx; }
    int ModelKind() const { return document_.kind; }
    int ModelSource() const { return document_.source; }
    QString GamePath() const { return QString::fromStdString(assets_.GamePath()); }
    TGameAssets& Assets() { return assets_; }
    TShaders& Shaders() { return shaders_; }
    TdlgPK3& PK3Dialog() { return *pk3Dialog_; }
    bool Busy() const { return busy_; }
    QString StatusText() const;
    TViewState& View() { return view_; }
    const TViewSwitches& Switches() const { return switches_; }
    TOGL& Ogl() { return ogl_; }
    TSceneRenderer& Renderer() { return renderer_; }
    int CurrentFrame() const;

    // The drop handler's work, for tests and the drop event alike.
    void HandleDroppedFiles(const QStringList& files);
    // Files named on the command line (a file manager's "Open With"), loaded as a drop once
    // the view is ready.
    void OpenAtStart(const QStringList& files) { startFiles_ = files; }
    // Opens the files a file manager hands over (main_window_open_alone.cpp): what a drop
    // opens, and the kinds a drop takes only with others or on a loaded model, alone.
    void OpenStartFiles(const QStringList& files);
    // "&Load MD3 From File..." with the file already chosen, as a drop does it.
    void LoadMD3FromFile(const QString& fileName);
    // "Load MAP From File..." with the file already chosen, as a drop does it.
    void LoadMapFromFile(const QString& fileName);
    // "Load MDM/MDX From File..." with both files already chosen, as a drop does it.
    void LoadMDMMDXFromFiles(const QString& mdmFile, const QString& mdxFile);
    // "Load Character From File..." with the file already chosen, as a drop does it.
    void LoadCharacterFromFile(const QString& fileName);
    // "Load MDS From File..." with the file already chosen, as a drop does it.
    void LoadMDSFromFile(const QString& fileName);
    // Draws the view now if it can (the periodic redraw does the same).
    void RedrawView();

    // What the window remembers between runs (recent models, dialog folders, its place).
    TDesktopState& Remembered() { return desktop_; }
    // The folder a file dialog titled `title` starts in: where it was left last, else the
    // loaded model's, else the user's home.
    QString DialogFolder(const QString& title) const;
    // The dialog titled `title` was left in `folder`.
    void RememberDialogFolder(const QString& title, const QString& folder);
    // The file name a save dialog starts with: the model's, with the dialog's suffix.
    QString SuggestedSaveName() const { return suggestedSaveName_; }

  signals:
    // A frame of the view was drawn.
    void frameDrawn();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Start-up and shutdown.
    void CreateFolders();
    TSettingsFiles SettingsFiles() const;
    void LoadSettings();
    void SaveSettings();
    void OnContextReady();
    void FirstShowing();

    // Building the window.
    void BuildLayout();
    QWidget* BuildViewTab();
    QWidget* BuildHelpTab();
    void BuildActions();
    void BuildMenus();
    void BuildSwitches();
    void UpdateColourIcons();

    // Loading and saving.
    // No model: kinds, models, panels, tabs and model commands back to their empty state.
    void ForgetModel();
    void ResetEnvironment();
    void ResetLodAndAnimationNames();
    void LoadMD3Command();
    void LoadAnyFromFileCommand();
    void SaveAsCommand();
    // "Save As" of the loaded model; `status` gets the text to show (empty for cancel).
    void SaveModelAs(QString& status);
    void ClearCommand();
    // Reads a file into a fresh model; `status` gets the text to show, with the reason on
    // failure.
    using TReadFile =
        std::function<bool(const QString& fileName, TModelDocument& model, QString& status)>;
    // The common frame of a whole-model load: `chooseFile` names the file (empty for cancel,
    // not asked while a dropped file is preset), `read` reads it, and the model read
    // replaces the loaded one, shown with `saveHint`. `prepare`, when given, runs first:
    // work the user may cancel, and false keeps the status text `prepare` set. Whatever
    // fails keeps the loaded model, its unsaved edits and its history.
    void RunLoadFrame(const std::function<QString()>& chooseFile, const TReadFile& read,
                      const QString& saveHint,
                      const std::function<bool(const QString&)>& prepare = {});
    // The model read replaces the loaded one, once unsaved changes were saved or given up;
    // false (with `status` saying so) when the user keeps them.
    bool ReplaceModel(TModelDocument&& model, QString& status);
    // Asks "Save changes to ...?" when the model differs from its saved state; false when
    // the user cancels or the save does not happen.
    bool SettleUnsavedChanges();
    bool LoadMD3File(TModelDocument& model, const QString& fileName, QString& status);
    void EndCommand(const QString* status);
    // The surface chosen on the "Surfaces" tab of a loaded MD3 model, or -1.
    int SelectedMD3Surface() const;
    void AfterModelLoaded(const QString& fileName, const QString& status, const QString& saveHint);
    void ShowFamily();
    void EnableModelCommands();

    // Maps converted into the MD3 model (main_window_map.cpp).
    void BuildMapAction();
    void LoadMapCommand();
    // A map converted aside, before the environment is reset for it.
    struct TConvertedMap {
        enum class Result { Converted, Failed, Cancelled } result = Result::Failed;
        TMD3 model;
        QString status;  // the text to show
    };
    // Reads and converts a map with a progress dialog, leaving the loaded model alone. A
    // limit of the format is shown in a message box.
    TConvertedMap ConvertMapFile(const QString& fileName);
    // Moves the converted map into `model`; false when there is none. `status` gets the
    // text to show.
    bool TakeConvertedMap(TConvertedMap& map, TModelDocument& model, QString& status);
    // The importers (main_window_import.cpp): `ms3d` chooses MilkShape, else 3ds Max ASCII.
    void BuildImportActions();
    void LoadImportCommand(bool ms3d);
    void ImportOptionsCommand();
    // The command with the file already chosen, as a drop does it.
    void LoadImportFromFile(const QString& fileName, bool ms3d);
    // Read and convert into `model`; `status` gets the text to show.
    bool LoadMS3DFile(TModelDocument& model, const QString& fileName, QString& status);
    bool LoadASEFile(TModelDocument& model, const QString& fileName, QString& status);
    // glTF (main_window_gltf_import.cpp): baked into MD3 frames, or a skin as MDM/MDX.
    void LoadGltfCommand();
    void LoadGltfFromFile(const QString& fileName);
    bool LoadGltfFile(TModelDocument& model, const QString& fileName, QString& status);

    // The skeletal family (main_window_skeletal_*.cpp).
    void BuildSkeletalActions();
    void LoadMDMMDXCommand();
    // A player from a .char (main_window_character.cpp).
    void BuildCharacterAction();
    // Puts the character loads after "Load MDS From File..." in the File menu.
    void AddCharacterMenuEntries(QMenu& file);
    // File > "Export As glTF..." (main_window_gltf.cpp).
    void BuildGltfExportAction();
    void ExportGltfCommand();
    void LoadCharacterCommand();
    void LoadCharacterFromGameCommand();
    void LoadCharacter(const QString& fileName);
    // A character's head and accessories (main_window_attachments.cpp): read after its body,
    // textured with it, drawn on it; forgotten with the model. What cannot be read is added
    // to `status`.
    void BuildAttachmentSwitch();
    void LoadAttachments(const std::vector<TCharacterAttachment>& attachments, QString& status);
    // Needs the view's context current; returns the problems met.
    std::vector<std::string> TextureAttachments();
    // The lower levels of detail of a loaded MD3 (main_window_md3_levels.cpp): found when the
    // model is loaded (FindMD3Levels with the name it was loaded by and where to look), one
    // shown instead of the model from the View tab's "LOD" choice, forgotten with the model.
    void BuildMD3LevelChoice(QWidget* tab, QVBoxLayout* layout);
    void FindMD3Levels(const std::string& name, const TGameFileFinder& find);
    void ForgetMD3Levels();
    // Level 0 is the model; a level that cannot be read leaves the model shown.
    void ShowMD3Level(int level);
    // Needs the view's context current; returns the problems met.
    std::vector<std::string> TextureMD3Level();
    // Makes the character's animation file `file` the one posing the mesh (a load that can
    // be undone); false, with the reason in the status bar, leaves the pose as it was.
    bool UseCharacterAnimationFile(std::size_t file);
    bool LoadCharacterAnimationFile(std::size_t file, QString& status);
    // The partial loads into a loaded skeletal model: MDX, its bones or frames, MDM tags.
    enum class TPartialLoad { Animation, Bones, Frames, Tags };
    void LoadPartCommand(TPartialLoad part);
    // Reads an MDM with its MDX into `model`; `status` gets the text to show, with the
    // reason on failure.
    bool LoadMDMMDXFiles(TModelDocument& model, const QString& mdmFile, const QString& mdxFile,
                         QString& status);
    // Reads the mesh alone (the general loader's MDM entry).
    bool LoadMDMFile(TModelDocument& model, const QString& fileName, QString& status);
    // Reads a part into the loaded skeletal model; on failure the model stays as it was.
    bool LoadPartFile(TPartialLoad part, const QString& fileName, QString& status);
    // The panels and frame controls after a part was loaded.
    void ShowLoadedPart(TPartialLoad part);
    // Fills cbAnimName from the .aninc beside the MDX; a problem with the list is added to
    // `status`.
    void ShowAnimationNames(const QString& mdxFile, QString& status);
    // Files opened alone from the file manager (main_window_open_alone.cpp).
    // A mesh posed by the game's body animation, else unposed.
    void OpenMeshAlone(const QString& meshFile);
    // An animation on the first mesh of the game that fits it.
    void OpenAnimationAlone(const QString& animFile);
    // A tag file's tags on a model of their own.
    void OpenTagFileAlone(const QString& tagFile);
    // A skin on the model beside it that its name names.
    void OpenSkinAlone(const QString& skinFile);
    // The archive's models in the PK3 browser.
    void OpenArchiveInBrowser(const QString& archive);
    // "Save As" of a skeletal model: the MDM, then the MDX.
    void SaveSkeletalAs(QString& status);
    void ExportFramesCommand();
    void RenameBonesCommand();
    void ScaleWeightsCommand();
    void SmoothSkeletalSurfaceCommand();
    // Level of detail and MDS models (main_window_lod.cpp).
    void BuildLodCommands();
    void CalculateLodCommand();
    void LoadMDSCommand();
    // Reads an MDS file and converts it into the MDM/MDX pair of `model`.
    bool LoadMDSFile(TModelDocument& model, const QString& fileName, QString& status);
    // The surface chosen on the "Surfaces" tab of a loaded skeletal model, or -1.
    int SelectedMDMSurface() const;
    // The view.
    void DrawFrame();
    // Drawing and fitting pose the skeletal mesh, which writes its pose buffers.
    TSceneModel SceneModel();
    std::optional<TBounds> ModelBounds();
    void ResetView();
    void ResetAnimationControls();
    void OnTimerTick();
    void OnTabChanged(int index);
    // The view sits beside every tab: it is shown unless the window is minimised or hidden.
    bool ViewShown() const;
    void OnPivotChosen(int index);
    void OnSwitchChanged(const QString& name, bool on);
    void SetSkyBoxShown(bool shown);
    void ChooseSkyColour(bool top);
    void ChooseGamma(float gamma);
    void ColourConvert();
    void TakeScreenshot();
    void ToggleHelp();
    void SelectGamePath();
    void SetGamePath(const QString& path);
    void SetStatus(const QString& text);
    StatusFn StatusReporter();
    // Runs a command; an error that escapes it is shown and the program goes on.
    void Guarded(const std::function<void()>& command);

    // Edit commands (main_window_edit_build.cpp builds them; main_window_geometry.cpp,
    // _surfaces.cpp, _normals.cpp, _frames.cpp and _tags.cpp run them).
    void BuildEditActions();
    void BuildEditMenus();
    void BuildTagEntry();
    void EnableEditCommands();
    void MarkModelChanged();
    void AfterFrameEdit();
    void MirrorCommand(int axis);
    void MirrorNormalsCommand();
    void ReverseWindingCommand();
    void RotateCommand(int axis);
    void ScaleCommand();
    void TagAsOriginCommand();
    void TagAxesCommand(void (TMD3::*edit)());
    void SwapTexCoordsCommand();
    void RemoveSurfaceCommand();
    void CompactSurfacesCommand();
    void RecalculateNormalsCommand();
    void SmoothSurfaceCommand();
    void FixCracksCommand();
    void AddFramesCommand(bool allFrames);
    void AddFrameSequenceCommand();
    void DeleteFrameCommand();
    void AddTagsFromFileCommand();
    // After an edit of a skeletal model: the panels and the view show it.
    void AfterSkeletalEdit();
    void AddTagManuallyCommand();
    void SaveTagsCommand();

    // Game data and texturing (main_window_game.cpp, main_window_texturing.cpp).
    void BuildTexturing();
    void BuildGameGroup();
    void BuildTexturingMenu();
    void StartGameData();
    void EnableGameCommands();
    // The list anew with entry `selected` chosen.
    void RefreshPakList(int selected = 0);
    void AddPakCommand();
    void DeletePakCommand();
    // Moves the chosen PAK `step` places; a later PAK overrides an earlier one.
    void MovePakCommand(int step);
    void RescanGame();
    void LoadMD3FromGameCommand();
    void LoadMD3FromPK3Command();
    // `recent` is what Open Recent offers to load it again.
    void AfterArchiveLoad(const QString& name, const QString& fileName, const QString& saveHint,
                          const TRecentModel& recent);
    // A model was loaded: the skin goes, and the surfaces are textured. `dialogFolder` is the
    // folder of the file the open dialog gave, empty for archive loads.
    void TextureLoadedModel(const QString& dialogFolder);
    // The model is gone: map archive, shader store, skin and texturing fields with it.
    void ForgetTexturing();
    // Makes `archive` the map archive again after a load out of another one failed; empty
    // for none.
    void RestoreMapArchive(const std::string& archive);
    void ResolveSurfaces();
    TModelOrigin ModelOrigin() const;
    void ShowSelectedSurfaceTexturing();
    void ShowProblems(const std::vector<std::string>& problems);
    // Names the surfaces drawn without their textures in the status bar and on the
    // "Surfaces" tab; nothing when all were found.
    void ShowMissingTextures(const std::vector<TSurfaceMissingTextures>& missing);
    void SkinFromGameCommand();
    void SkinFromFileCommand();
    void LoadSkinFile(const QString& fileName);
    void LoadSkinFromDrop(const QString& fileName);
    void ClearSkinCommand();
    void ForgetSkin();
    // Makes the document's skin the one surfaces are matched with, or none when its file is
    // not there.
    void UseDocumentSkin();
    void EmbedSkinCommand();
    void EnableEmbedSkin();
    void AddShaderFileCommand();
    void ClearShaderListCommand();
    void RebuildShaderList();
    void EnterShaderName(int surface, const QString& name);
    // The panels of the loaded family anew, with `surface` selected.
    void RefreshFamilyPanels(int surface);
    void LoadMDMMDXFromGameCommand();

    // Desktop conventions (main_window_desktop.cpp): plain Save, the window title, the help
    // window and the About box.
    void BuildDesktopActions();
    // Puts Save and Open Recent in place.
    void AddDesktopMenuEntries(QMenu& file);
    void BuildHelpMenu();
    void SaveCommand();
    // Writes the model back to the file it came from; false when its format cannot be
    // written there (the caller then asks where to save).
    bool SaveInPlace(QString& status);
    void ShowHelpWindow();
    void ShowAbout();
    void ShowTitle();
    // The name a save dialog with `suffix` starts with, from `base` (a file name).
    void SuggestSaveName(const std::string& base, const QString& suffix);
    // Open Recent (main_window_recent.cpp).
    void RememberRecent(const TRecentModel& model);
    void RebuildRecentMenu();
    void OpenRecent(const TRecentModel& model);
    // The loads out of the game's PAKs and a map's PK3 with the entries already chosen.
    void LoadMD3FromGameEntry(const std::string& entry);
    void LoadMD3FromPK3Entry(const std::string& archive, const std::string& entry);
    // `extract` takes an entry out of the PAK it was chosen from.
    using TEntryExtractor =
        std::function<std::string(const std::string& entry, std::vector<std::string>& problems)>;
    void LoadMDMMDXFromGameEntries(const std::string& meshEntry, const std::string& animEntry,
                                   const TEntryExtractor& extractMesh,
                                   const TEntryExtractor& extractAnim);
    void LoadCharacterFromGameEntry(const std::string& entry, const std::string& pak);
    // View presets, the opening view and reloading (main_window_view_presets.cpp).
    void BuildViewPresets();
    TViewPreset OpeningView() const;
    // The View menu's choice after the settings were read.
    void ShowOpeningViewChoice();
    void ShowViewPreset(TViewPreset preset);
    void ReloadShadersAndTextures();
    // Screenshots: View → Save Screenshot (the Print key) and Settings → Screenshot Folder.
    void BuildScreenshotCommands(QMenu& settings);
    QString ScreenshotFolder() const;  // with a trailing separator
    void ShowScreenshotFolder();
    // The class's skins of a player from the game (main_window_class_skins.cpp).
    void BuildClassSkinList();
    void ForgetClassSkins();
    void OfferClassSkins(const std::string& meshEntry);
    void UseClassSkin(int index);
    // Remembered window state (main_window_remembered.cpp): applied at start-up and at the
    // first showing, taken when the window closes.
    void RestoreWindowPlace();
    void RestoreChosenTab();
    void TakeWindowPlace();

    // Undo and redo (main_window_undo.cpp). Undoable runs a command that may change the
    // loaded model and records the model as it was when the command changed it.
    void BuildUndoActions(QMenu* edit);
    void Undoable(const QString& name, const std::function<void()>& command);
    void Undoable(QAction* action, const std::function<void()>& command);
    void RecordIfChanged(const QString& name, TModelSnapshot before);
    void UndoCommand(bool redo);
    void MarkModelSaved();
    // The menu texts and the caption's "*" after the history changed.
    void ShowUndoState();

    // The loaded model, replaced as a whole by every load.
    TModelDocument document_;

    // Drawing and game data, alive for the whole run.
    TMS3D ms3d_;
    TASE ase_;
    std::vector<TModelLevelFile> md3Levels_;  // every level found, the model's file first
    int md3LevelShown_ = 0;
    TMD3 md3Level_;
    TShaders md3LevelShaders_;  // forgets its textures: they are the store's, shared
    TOGL ogl_;
    TObjTexture textures_;
    TShaders shaders_;
    TSceneRenderer renderer_;
    TViewState view_;
    TViewSwitches switches_;
    TSceneColors colours_;
    double gamma_ = 1.0;  // as stored, so that a hand-set 2.2 is written back as 2.2
    TGameAssets assets_;

    bool busy_ = false;
    bool skipDialog_ = false;
    QString presetFileName_;
    QString presetMDXFileName_;  // the animation of a dropped MDM/MDX pair

    // Program state.
    QString appDir_;
    QString workDir_;  // screenshots and the tmp folder
    QString tmpDir_;
    // The game path and PAK list as the settings gave them; the game data holds them once
    // the window has started them (the PAKs at start-up, the game path at the first showing).
    QString settingsGamePath_;
    QStringList settingsPaks_;
    QStringList shaderList_;
    // The folder of the MD3 file last chosen to load: stage images are looked for there first.
    QString md3DialogFolder_;
    int startupExitCode_ = 0;
    // An error box is about to end the program: the first showing must not open dialogs.
    bool ending_ = false;
    bool firstShowingDone_ = false;
    QStringList startFiles_;
    TUserPrompts prompts_;

    // Widgets.
    TGLViewWidget* glView_ = nullptr;
    QGroupBox* gbOGL_ = nullptr;
    QGroupBox* gbModel_ = nullptr;
    QTabWidget* pcTabs_ = nullptr;
    QWidget* viewTab_ = nullptr;
    QWidget* helpTab_ = nullptr;
    QWidget* animationHost_ = nullptr;
    TModelPanels* panels_ = nullptr;
    TTexturePanel* texturePanel_ = nullptr;
    TBuiltOnFirstUse<TdlgPK3> pk3Dialog_;
    QComboBox* cbPAKsList_ = nullptr;
    QComboBox* cbShaderList_ = nullptr;
    TAnimationControls* animation_ = nullptr;
    QMenu* menuView_ = nullptr;
    QComboBox* cbTagPivots_ = nullptr;
    QComboBox* cbMD3Lod_ = nullptr;
    QCheckBox* cbLockView_ = nullptr;
    QCheckBox* cbPauseShaders_ = nullptr;
    TShaderClock shaderClock_;
    QGroupBox* gbLOD_ = nullptr;
    QCheckBox* cbLODEnabled_ = nullptr;
    QLabel* tLODpresence_ = nullptr;
    TLodPanel* lodPanel_ = nullptr;
    QPushButton* bPrtScr_ = nullptr;
    QLabel* lMissingTextures_ = nullptr;
    QTimer* timerFPS_ = nullptr;
    QTimer* timerOGLFPS_ = nullptr;
    std::vector<std::unique_ptr<TViewSwitchPair>> switchPairs_;

    // Actions and menus.
    QAction* actionFileLoadAnyFromFile_ = nullptr;
    QAction* actionFileLoad_ = nullptr;
    QAction* actionFileSaveAs_ = nullptr;
    QAction* actionFileExit_ = nullptr;
    QAction* actionModelClear_ = nullptr;
    QAction* actionSettingsGamedir_ = nullptr;
    QAction* actionHelp_ = nullptr;
    QAction* actionFileLoadfrompk3_ = nullptr;
    QAction* actionFileLoadfrommappk3_ = nullptr;
    QAction* actionFileLoadfromgameMDMMDX_ = nullptr;
    QAction* actionFileSelectSkinfrompk3_ = nullptr;
    QAction* actionModelSkinpermanent_ = nullptr;
    QAction* menuViewShowskybox_ = nullptr;
    QMenu* menuViewSkycolors_ = nullptr;
    QAction* menuViewSkycolortop_ = nullptr;
    QAction* menuViewSkycolorbottom_ = nullptr;
    QAction* menuToolsColorconvertRadiant_ = nullptr;
    std::vector<std::pair<float, QAction*>> gammaItems_;
    std::uint32_t convertColour_ = 0;

    // Edit commands: those of the MD3 family only, those of both families, and the tag entry
    // group of the "Tags" tab.
    QMenu* menuModel_ = nullptr;
    std::vector<QAction*> md3EditActions_;
    std::vector<QAction*> modelEditActions_;
    std::vector<QAction*> skeletalActions_;
    QMenu* menuBones_ = nullptr;
    std::unique_ptr<TTagEntry> tagEntry_;

    // Copies taken before an edit a widget makes itself, recorded once the edit is done.
    std::optional<TModelSnapshot> renameSnapshot_;
    std::optional<TModelSnapshot> lodSnapshot_;  // taken when a slider drag starts changing
    int undoDepth_ = 0;
    QAction* actionEditUndo_ = nullptr;
    QAction* actionEditRedo_ = nullptr;

    // Desktop conventions.
    TDesktopState desktop_;
    // What the next AfterModelLoaded records in Open Recent instead of the file it shows (a
    // character taken out of the game is loaded from its extracted copy).
    std::optional<TRecentModel> pendingRecent_;
    QString suggestedSaveName_;
    QMenu* menuRecent_ = nullptr;
    QAction* actionFileSave_ = nullptr;
    QAction* actionHelpContents_ = nullptr;
    QAction* actionHelpAbout_ = nullptr;
    QPointer<QWidget> helpWindow_;
    struct TClassSkin {
        std::string entry;
        std::string pak;
    };
    std::vector<TClassSkin> classSkins_;
    QWidget* classSkinRow_ = nullptr;
    QComboBox* cbClassSkins_ = nullptr;
};
