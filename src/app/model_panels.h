// The tab pages beside the view that show the loaded model: "General", "Animation", "Tags",
// "Surfaces" and "Bones", followed by the main window's own "View" and "Help" pages. The
// pages are read-only views of the model except for renaming a surface.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "app/panel_bones.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;
class QTreeWidget;
class QWidget;
class TMD3;
class TMDM;
class TMDX;

class TModelPanels : public QObject {
    Q_OBJECT
  public:
    // Adds the five model pages to pcTabs, then viewTab as "View" and helpTab as "Help".
    // cbTagPivots lives on the view page; the refresh fills it.
    TModelPanels(QTabWidget* pcTabs, QWidget* viewTab, QWidget* helpTab, QComboBox* cbTagPivots,
                 TMD3& md3, QObject* parent = nullptr);

    // The skeletal models the skeletal refresh shows; without them it shows none.
    void SetSkeletalModels(TMDM* mdm, const TMDX* mdx) {
        mdm_ = mdm;
        mdx_ = mdx;
    }

    // Every list and field empty, counts "0". The file name field is left alone: the load
    // commands and the reset of the environment own it.
    void EmptyPanels();
    // Empties the panels, then fills them from the MD3 model for the MD3 family.
    void RefreshMD3Panels(int modelKind);
    // Empties the bones tree; for the skeletal family it then empties the panels and fills the
    // bones tree, the pivot list, the surface lists and the LOD presence.
    void RefreshSkeletalPanels(int modelKind);
    // The tabs of the family, with "View" active.
    void ShowTabsOfFamily(int modelKind);
    // Only the "Help" tab, active.
    void ShowHelpOnly();
    bool HelpOnlyShowing() const;
    // The page the tab widget shows (each page sits in a scroll area of its own).
    QWidget* CurrentPage() const;

    // Run after every skeletal refresh: the LOD controls follow the mesh.
    std::function<void()> afterSkeletalRefresh;
    // Called just before a surface name entered on the "Surfaces" tab is written.
    std::function<void()> beforeSurfaceRename;

    // The bones of a skeletal animation as the tree shows them; RefreshSkeletalPanels empties
    // the tree first.
    void FillBonesTree(const std::vector<TBoneNode>& bones);

    QLineEdit* NameField() const { return leName_; }
    QWidget* GeneralPage() const { return generalPage_; }
    QWidget* AnimationPage() const { return animationPage_; }
    QWidget* TagsPage() const { return tagsPage_; }
    QWidget* SurfacesPage() const { return surfacesPage_; }
    QWidget* BonesPage() const { return bonesPage_; }
    QComboBox* SurfaceList() const { return cbNamesSurfaces_; }
    // The surface selected in cbNamesSurfaces, -1 for none.
    int SelectedSurface() const;
    QComboBox* ShaderList() const { return cbNamesShaders_; }
    QComboBox* ShaderTextureList() const { return cbShaderTextures_; }
    QLineEdit* SkinField() const { return leSkin_; }
    QLineEdit* CullField() const { return leCull_; }
    QTreeWidget* BonesTree() const { return tvBones_; }
    // Every node of the bones tree, at any depth.
    int BonesTreeEntries() const;

  signals:
    // After a surface got a new name and the panels show it.
    void surfaceRenamed(int surface);
    // A surface was selected, by the user or by a refresh.
    void surfaceSelected(int surface);
    // Enter in the shader list: the text is meant as the surface's new shader name.
    void shaderNameEntered(int surface, const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The tab that holds `page`: its scroll area.
    QWidget* TabOf(QWidget* page) const;

    void BuildGeneralPage();
    void BuildAnimationPage();
    void BuildTagsPage();
    void BuildSurfacesPage();
    void BuildBonesPage();

    void FillGeneral();
    void FillFrameLists();
    void FillTagLists();
    void FillSurfaceLists();
    void FillPivots();
    void FillSkeletalLists();
    void ShowMDMSurfaceDetails(int surface);
    void EmptySurfaceDetails();
    void ShowSurfaceDetails(int surface);
    void EnableTagLists();

    void OnFrameChosen(int index);
    void OnTagNameOrFrameChosen();
    void OnTagEntryChosen(QComboBox* source, int entry);
    void OnSurfaceChosen(int index);
    void OnSurfaceNameEntered();
    void OnShaderNameEntered();

    TMD3& md3_;
    TMDM* mdm_ = nullptr;
    const TMDX* mdx_ = nullptr;
    QTabWidget* pcTabs_;
    QWidget* viewTab_;
    QWidget* helpTab_;
    QComboBox* cbTagPivots_;
    QWidget* generalPage_ = nullptr;
    QWidget* animationPage_ = nullptr;
    QWidget* tagsPage_ = nullptr;
    QWidget* surfacesPage_ = nullptr;
    QWidget* bonesPage_ = nullptr;

    QLineEdit* leName_ = nullptr;
    QLineEdit* leHeaderIdent_ = nullptr;
    QLineEdit* leVersion_ = nullptr;
    QLineEdit* leHeaderName_ = nullptr;
    QLineEdit* leHeaderFlags_ = nullptr;

    QLineEdit* leNumFrames_ = nullptr;
    // cbNamesFrames, cbBBMinFrames, cbBBMaxFrames, cbOriginFrames, cbRadiusFrames
    std::vector<QComboBox*> frameLists_;

    QLineEdit* leNumTags_ = nullptr;
    QComboBox* cbNamesTags_ = nullptr;
    QComboBox* cbTagFrameNr_ = nullptr;
    QComboBox* cbTagOrigins_ = nullptr;
    QComboBox* cbTagAxis_ = nullptr;

    QLineEdit* leNumSurfaces_ = nullptr;
    QComboBox* cbNamesSurfaces_ = nullptr;
    QComboBox* cbNamesShaders_ = nullptr;
    QLineEdit* leNumShaders_ = nullptr;
    QLineEdit* leNumVerts_ = nullptr;
    QLineEdit* leNumTriangles_ = nullptr;
    QLineEdit* leSurfaceFlags_ = nullptr;
    QLineEdit* leSkin_ = nullptr;
    QComboBox* cbShaderTextures_ = nullptr;
    std::vector<QCheckBox*> shaderProperties_;
    QLineEdit* leCull_ = nullptr;

    QTreeWidget* tvBones_ = nullptr;

    int modelKind_ = 0;
    // The tag count of the last refresh: the tag lists are indexed frame * count + tag.
    int tagCount_ = 0;
    // The surface the user chose last; Enter renames it. -1 until one is chosen.
    int chosenSurface_ = -1;
    // Set while one list of a linked group moves the others.
    bool linking_ = false;
};
