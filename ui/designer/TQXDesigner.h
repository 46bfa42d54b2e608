#pragma once
// The label designer: one label of a layout on a QGraphicsView, drawn by the same
// renderer as the printer (data fields show their field names), with a frame over
// every element to select, drag, resize and nudge. Every change goes through the undo
// stack as a pair of layouts, so undo restores exactly what was there.

#include "labels/LabelLayout.h"
#include "labels/LayoutAlign.h"
#include "ui/designer/DesignerOptions.h"
#include "ui/designer/ElementFrame.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QUndoStack;

namespace qx7 {

class Prompter;

class TQXDesigner : public QMainWindow, private FrameHost
{
    Q_OBJECT
public:
    explicit TQXDesigner(QWidget* parent = nullptr);
    ~TQXDesigner() override;

    const LabelLayout& layout() const { return m_layout; }
    const std::string& fileName() const { return m_file; }
    QUndoStack* undoStack() const { return m_undo; }
    QGraphicsView* view() const { return m_view; }
    bool isModified() const;

    // Messages and questions (message boxes unless a test gives its own).
    void setPrompter(Prompter& prompter) { m_prompter = &prompter; }
    // How the designer's dialogs (wizard, element properties) are run: exec() unless a
    // test fills them in and answers.
    using DialogRunner = std::function<int(QDialog&)>;
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

    // Empty on success, else why the file could not be read; the open layout stays.
    // An opened layout is checked at once: silent when it passes, else the findings are
    // shown, naming each element at fault, and the layout stays open for mending.
    std::string openLayout(const std::string& path);
    // The layout check ("Analyz&e layout settings" when `askedFor`); the number of faults.
    int runLayoutCheck(bool askedFor);
    std::string saveLayoutAs(const std::string& path);

    // "&New...": the settings wizard for a new layout, which has no file yet. False when
    // the user kept the modified layout or cancelled the wizard.
    bool newLayout();
    // "La&yout settings": the wizard for this layout; one undo step.
    bool layoutSettings();

    // The element selected last (index into the layout), -1 when none; the selection
    // holds every selected one, in the order they were picked.
    int selectedElement() const { return m_selected; }
    const std::vector<int>& selection() const { return m_selection; }
    void selectElement(int index);
    void setSelection(std::vector<int> indexes);
    // Shift+click: in or out of the selection.
    void toggleSelected(int index);

    // Changes made as the mouse, keys and dialogs make them; each is one undo step.
    void changeLayout(const LabelLayout& after, const QString& what);
    void addTextElement(const std::string& caption);
    // Places an element of `kind` and opens its dialog; Cancel places nothing.
    bool addElement(ElementKind kind, QPointF topLeftMm);
    // The next click on the label places an element of `kind`.
    void armTool(std::optional<ElementKind> kind) { m_tool = kind; }
    std::optional<ElementKind> armedTool() const { return m_tool; }
    // The dialog of the element's kind; accepted changes are one undo step.
    bool editElement(int index);
    // The frame and background of the label itself.
    bool editBandFrame();
    void moveSelected(double dxMm, double dyMm);
    void resizeSelected(double dwMm, double dhMm);
    void deleteSelected();
    void alignSelection(AlignMode mode);

    // Frames, grids, unit and grid dots as the options dialog sets them.
    const DesignerOptions& options() const { return m_options; }
    void setOptions(const DesignerOptions& options);
    // One grid in millimetres for the mouse and the keys, both directions; positions
    // snap to it while snapping is on.
    double gridMm() const { return m_options.gridXMm; }
    void setGridMm(double mm);
    bool snap() const { return m_options.snap; }
    void setSnap(bool on) { m_options.snap = on; }
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);

    // Called by the element frames when a drag ends.
    void elementDragged(int index, QPointF newTopLeftMm);
    void elementResized(int index, QRectF rectMm);
    // The frame over an element (for the mouse), nullptr for none.
    ElementFrame* frameOf(int index) const;

signals:
    // A layout was written: the program remembers it as the last one and prints with it.
    void layoutSaved(const QString& path);
    // The user changed the options (View > Options): the program keeps them.
    void optionsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab walks the elements, not the widgets.
    bool focusNextPrevChild(bool next) override;
    // Clicks on the label outside the elements: place an armed element or deselect.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Snapshot;
    friend class Snapshot;

    // FrameHost
    void framePressed(int index, bool extend) override;
    void frameMoved(int index, QPointF topLeftMm) override { elementDragged(index, topLeftMm); }
    void frameResized(int index, QRectF rectMm) override { elementResized(index, rectMm); }
    void frameDoubleClicked(int index) override;
    double frameZoom() const override { return m_zoom; }
    double snapXMm(double mm) const override { return snappedX(mm); }
    double snapYMm(double mm) const override { return snappedY(mm); }
    QPen framePen() const override;

    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    bool mayDiscard();
    int runDialog(QDialog& dialog);
    void changeLater(const LabelLayout& after, const QString& what);
    void setLayoutQuietly(const LabelLayout& layout);
    void rebuildScene();
    void refreshFrames();
    double snappedX(double mm) const;
    double snappedY(double mm) const;
    void updateStatus();
    void updateCaption();

    LabelLayout m_layout;
    std::string m_file;
    QGraphicsScene* m_scene;
    QGraphicsView* m_view;
    QUndoStack* m_undo;
    QLabel* m_status;
    std::vector<ElementFrame*> m_frames;
    std::vector<int> m_selection;
    int m_selected = -1;
    std::optional<ElementKind> m_tool;
    DesignerOptions m_options;
    double m_zoom = 1.0;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    DialogRunner m_runDialog;
};

} // namespace qx7
