#pragma once
// The preview of a print run: the sheets exactly as the printer would get them (the same
// drawing as printing), with the label cells outlined, page by page. Nothing is marked
// printed. "Print" closes the window with acceptance so the caller can go on printing.
// A page is drawn when it is shown, so a long queue opens at once; the labels whose text
// is cut are looked for in the background meanwhile.

#include "labels/LabelLayout.h"
#include "labels/LabelSource.h"
#include "labels/render/CutTextCheck.h"
#include "labels/render/PainterSheetOutput.h"

#include <QDialog>
#include <QImage>
#include <QStringList>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTimer;

namespace qx7 {

class TQXPreviewWindow : public QDialog
{
    Q_OBJECT
public:
    TQXPreviewWindow(const LabelLayout& layout, const std::string& imageFolder, LabelSource& source,
                     QWidget* parent = nullptr);

    ~TQXPreviewWindow() override;

    int pageCount() const { return static_cast<int>(m_pageSheets.size()); }
    int currentPage() const { return m_page; }
    // Labels whose text was cut by its element (framed red on the pages), in run order;
    // finishes the background search first.
    int cutLabelCount();
    // "Page 1, column 2, row 3: QRDBText1" for each of them.
    QStringList cutLabelTexts();
    // Pages drawn so far (each at most once while it stays in the window's memory).
    int pagesDrawn() const { return m_pagesDrawn; }

    // Why nothing could be drawn; empty when the pages are there.
    const std::string& error() const { return m_error; }

    void showPage(int page); // from 1
    // The sheet as drawn, before it is fitted to the window.
    QImage pageImage(int page);

protected:
    // The sheet follows the window's width.
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage drawPage(int page);
    void scanForCutLabels();
    void showCutNote();

    LabelLayout m_run;
    std::string m_imageFolder;
    LabelSource& m_source;
    std::vector<LabelPlacement> m_plan;
    std::vector<int> m_pageSheets;   // the sheet number of each page
    std::vector<size_t> m_pageStart; // each page's first entry of m_plan, and the end
    std::map<int, QImage> m_drawn;   // a few pages kept, the one shown among them
    int m_pagesDrawn = 0;
    std::unique_ptr<CutLabelScan> m_scan;
    QTimer* m_scanTimer;
    std::string m_error;
    int m_page = 0;
    QLabel* m_picture;
    QLabel* m_status;
    QLabel* m_cutNote;
    QScrollArea* m_scroll;
    QPushButton* m_prev;
    QPushButton* m_next;
};

} // namespace qx7
