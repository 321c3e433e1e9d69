// The "Surfaces" page: the surface names (editable, Enter renames the chosen surface) and the
// selected surface's shaders, counts and flags. The texturing fields are filled by the
// shader resolution, not from the model.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "app/model_panels.h"
#include "app/number_text.h"
#include "app/panel_widgets.h"
#include "md3/md3.h"
#include "render/scene_settings.h"
#include "skeletal/mdm.h"

namespace {

// Enter is handled by the panel; the list must neither add the text as an item nor complete
// it into the name of another surface.
QComboBox* MakeEnterList(QComboBox* list) {
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    return list;
}

}  // namespace

void TModelPanels::BuildSurfacesPage() {
    surfacesPage_ = NamedWidget(new QWidget, "tsSurfaces");
    auto* form = new QFormLayout(surfacesPage_);
    leNumSurfaces_ = AddField(form, "leNumSurfaces", QStringLiteral("# Surfaces"));
    cbNamesSurfaces_ = MakeEnterList(AddList(form, "cbNamesSurfaces", QStringLiteral("Surface")));
    cbNamesShaders_ = MakeEnterList(AddList(form, "cbNamesShaders", QStringLiteral("Shader")));
    leNumShaders_ = AddField(form, "leNumShaders", QStringLiteral("# Shaders"));
    leNumVerts_ = AddField(form, "leNumVerts", QStringLiteral("# Vertices"));
    leNumTriangles_ = AddField(form, "leNumTriangles", QStringLiteral("# Triangles"));
    leSurfaceFlags_ = AddField(form, "leSurfaceFlags", QStringLiteral("Flags"));
    leSkin_ = AddField(form, "leSkin", QStringLiteral("Skin"));
    cbShaderTextures_ = AddList(form, "cbShaderTextures", QStringLiteral("Images"));

    auto* properties = NamedWidget(new QGroupBox, "pShaderProps");
    auto* propertyForm = new QFormLayout(properties);
    const std::pair<const char*, const char*> boxes[] = {
        {"cbHasAlpha", "Alpha Channel"},  {"cbAlphaFunc", "AlphaFunc"},
        {"cbEnvironment", "Environment"}, {"cbAnimMap", "animMap"},
        {"cbVideoMap", "videoMap"},       {"cbClamped", "Clamped"},
    };
    for (const auto& [name, caption] : boxes) {
        auto* box = NamedWidget(new QCheckBox(QString::fromLatin1(caption)), name);
        // They report the shader; clicking must not change what they report.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        propertyForm->addRow(box);
        shaderProperties_.push_back(box);
    }
    leCull_ = AddField(propertyForm, "leCull", QStringLiteral("Cull"));
    form->addRow(properties);

    connect(cbNamesSurfaces_, &QComboBox::currentIndexChanged, this,
            &TModelPanels::OnSurfaceChosen);
    connect(cbNamesSurfaces_, &QComboBox::activated, this,
            [this](int index) { chosenSurface_ = index; });
    // The list, not its edit: the list holds the keyboard focus and hands keys to the edit
    // directly, past any filter on the edit.
    cbNamesSurfaces_->installEventFilter(this);
    cbNamesShaders_->installEventFilter(this);
}

// Enter is taken before the list sees it: the list would otherwise select an entry of the
// same text (another surface) before the rename, and hand the Enter on to its edit.
bool TModelPanels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == cbNamesSurfaces_) {
                OnSurfaceNameEntered();
                return true;
            }
            if (watched == cbNamesShaders_) {
                OnShaderNameEntered();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

int TModelPanels::SelectedSurface() const {
    return cbNamesSurfaces_->currentIndex();
}

void TModelPanels::FillSurfaceLists() {
    const THeader& header = md3_.header;
    leNumSurfaces_->setText(QString::number(header.numSurfaces));
    for (int s = 0; md3_.ValidSurface(s); ++s)
        cbNamesSurfaces_->addItem(NameText(header.surfaces[static_cast<std::size_t>(s)].name));
    cbNamesSurfaces_->setCurrentIndex(cbNamesSurfaces_->count() > 0 ? 0 : -1);
}

void TModelPanels::EmptySurfaceDetails() {
    cbNamesShaders_->clear();
    cbNamesShaders_->clearEditText();
    cbShaderTextures_->clear();
    for (QLineEdit* count : {leNumShaders_, leNumVerts_, leNumTriangles_})
        count->setText(QStringLiteral("0"));
    leSurfaceFlags_->clear();
    leSkin_->clear();
    leCull_->clear();
    for (QCheckBox* box : shaderProperties_)
        box->setChecked(false);
}

void TModelPanels::ShowSurfaceDetails(int surface) {
    EmptySurfaceDetails();
    if (IsSkeletalFamily(modelKind_)) {
        ShowMDMSurfaceDetails(surface);
        return;
    }
    if (!IsMD3Family(modelKind_) || !md3_.ValidSurface(surface)) return;
    const TSurface& s = md3_.header.surfaces[static_cast<std::size_t>(surface)];
    const int shaders = std::min(s.numShaders, static_cast<int>(s.shaders.size()));
    for (int i = 0; i < shaders; ++i)
        cbNamesShaders_->addItem(NameText(s.shaders[static_cast<std::size_t>(i)].name));
    cbNamesShaders_->setCurrentIndex(shaders > 0 ? 0 : -1);
    leNumShaders_->setText(QString::number(s.numShaders));
    leNumVerts_->setText(QString::number(s.numVerts));
    leNumTriangles_->setText(QString::number(s.numTriangles));
    leSurfaceFlags_->setText(QString::fromStdString(FlagsText(s.flags)));
}

void TModelPanels::OnSurfaceChosen(int index) {
    ShowSurfaceDetails(index);
    if (index >= 0) emit surfaceSelected(index);
}

void TModelPanels::OnSurfaceNameEntered() {
    const int surface = chosenSurface_;
    const std::string name = cbNamesSurfaces_->currentText().toLatin1().toStdString();
    if (IsMD3Family(modelKind_) && md3_.ValidSurface(surface)) {
        if (beforeSurfaceRename) beforeSurfaceRename();
        SetName64(name, md3_.header.surfaces[static_cast<std::size_t>(surface)].name);
        RefreshMD3Panels(modelKind_);
    } else if (IsSkeletalFamily(modelKind_) && mdm_ != nullptr && mdm_->ValidSurface(surface)) {
        if (beforeSurfaceRename) beforeSurfaceRename();
        SetName64(name, mdm_->surfaces[static_cast<std::size_t>(surface)].name);
        RefreshSkeletalPanels(modelKind_);
    } else {
        return;
    }
    cbNamesSurfaces_->setCurrentIndex(surface);
    chosenSurface_ = surface;
    emit surfaceRenamed(surface);
}

void TModelPanels::OnShaderNameEntered() {
    const int surface = SelectedSurface();
    if (surface < 0) return;
    emit shaderNameEntered(surface, cbNamesShaders_->currentText());
}
