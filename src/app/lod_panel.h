// The LOD group of the View tab beyond its check box and presence label: the surface choice
// seLODSurfaceNr, the surface's name tLODSurfacename and the track bar tbLODMinimum that shows
// and edits the surface's LOD minimum, with its hint "<minimum> of <vertices> vertices".
#pragma once

#include <functional>

#include <QObject>

class QCheckBox;
class QGroupBox;
class QLabel;
class QSlider;
class QSpinBox;
class TMDM;

class TLodPanel : public QObject {
    Q_OBJECT
  public:
    // Adds the controls to `group`, whose layout already holds `enabled` and `presence`.
    TLodPanel(QGroupBox* group, QCheckBox* enabled, QLabel* presence, TMDM& mesh);

    // A model load starts: preview off, no surface chosen.
    void ResetForLoad();
    // A mesh was loaded, converted or edited: "present", "absent" or, for collapse maps that
    // cannot be walked, "broken"; preview off; surface 0 chosen; the display table from the
    // surfaces' minLod when the mesh has LOD data.
    void RefreshFromMesh();
    // "Calculate LOD" has filled the mesh's LOD data.
    void ShowCalculated();

    QSpinBox* SurfaceNr() const { return seLODSurfaceNr_; }
    // Called just before the slider writes a new minimum into the mesh (for the undo copy).
    std::function<void()> beforeMinimumChange;
    QSlider* Minimum() const { return tbLODMinimum_; }

  signals:
    // The slider wrote a surface's minimum into the mesh.
    void minimumChanged();

  private:
    void OnSurfaceChanged(int surface);
    void OnMinimumChanged(int position);
    void UpdateHint(int surface);

    QCheckBox* cbLODEnabled_;
    QLabel* tLODpresence_;
    QSpinBox* seLODSurfaceNr_;
    QLabel* tLODSurfacename_;
    QSlider* tbLODMinimum_;
    TMDM& mesh_;
};
