#pragma once
// The label designer: one label of a layout on a QGraphicsView, drawn by the same
// renderer as the printer (data fields show their field names), with a frame over
// every element to select, drag and nudge. Every change goes through the undo stack as
// a pair of layouts, so undo restores exactly what was there.

#include "labels/LabelLayout.h"

#include <QMainWindow>

#include <string>

class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QUndoStack;

namespace qx7 {

class TQXDesigner : public QMainWindow
{
    Q_OBJECT
public:
    explicit TQXDesigner(QWidget* parent = nullptr);
    ~TQXDesigner() override;

    const LabelLayout& layout() const { return m_layout; }
    const std::string& fileName() const { return m_file; }
    QUndoStack* undoStack() const { return m_undo; }
    QGraphicsView* view() const { return m_view; }

    // Empty on success, else why the file could not be read; the open layout stays.
    std::string openLayout(const std::string& path);
    std::string saveLayoutAs(const std::string& path);

    // The element selected (index into the layout), -1 when none.
    int selectedElement() const { return m_selected; }
    void selectElement(int index);

    // Changes made as the mouse, keys and dialogs make them; each is one undo step.
    void changeLayout(const LabelLayout& after, const QString& what);
    void addTextElement(const std::string& caption);
    void moveSelected(double dxMm, double dyMm);
    void deleteSelected();

    // Grid in millimetres; positions snap to it while snapping is on.
    double gridMm() const { return m_gridMm; }
    void setGridMm(double mm);
    bool snap() const { return m_snap; }
    void setSnap(bool on) { m_snap = on; }
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);

    // Called by the element frames when a drag ends.
    void elementDragged(int index, QPointF newTopLeftMm);

signals:
    // A layout was written: the program remembers it as the last one and prints with it.
    void layoutSaved(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab walks the elements, not the widgets.
    bool focusNextPrevChild(bool next) override;

private:
    class Frame;
    class Snapshot;
    friend class Snapshot;
    void setLayoutQuietly(const LabelLayout& layout);
    void rebuildScene();
    double snapped(double mm) const;
    void updateStatus();

    LabelLayout m_layout;
    std::string m_file;
    QGraphicsScene* m_scene;
    QGraphicsView* m_view;
    QUndoStack* m_undo;
    QLabel* m_status;
    int m_selected = -1;
    double m_gridMm = 1.0;
    bool m_snap = true;
    double m_zoom = 1.0;
    bool m_rebuilding = false;
};

} // namespace qx7
