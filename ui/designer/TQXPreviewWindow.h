#pragma once
// The preview of a print run: the sheets exactly as the printer would get them (the same
// drawing as printing), with the label cells outlined, page by page. Nothing is marked
// printed. "Print" closes the window with acceptance so the caller can go on printing.

#include "labels/LabelLayout.h"
#include "labels/LabelSource.h"
#include "labels/render/PainterSheetOutput.h"

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;

namespace qx7 {

class TQXPreviewWindow : public QDialog
{
    Q_OBJECT
public:
    TQXPreviewWindow(const LabelLayout& layout, const std::string& imageFolder, LabelSource& source,
                     QWidget* parent = nullptr);

    int pageCount() const { return static_cast<int>(m_files.size()); }
    int currentPage() const { return m_page; }
    // Labels whose text was cut by its element (framed red on the pages), in run order.
    int cutLabelCount() const { return static_cast<int>(m_cut.size()); }
    // "Page 1, column 2, row 3: QRDBText1" for each of them.
    QStringList cutLabelTexts() const;

    // Why nothing could be drawn; empty when the pages are there.
    const std::string& error() const { return m_error; }

    void showPage(int page); // from 1
    // The sheet as drawn, before it is fitted to the window.
    QImage pageImage(int page) const;

protected:
    // The sheet follows the window's width.
    void resizeEvent(QResizeEvent* event) override;

private:
    QTemporaryDir m_dir;
    std::vector<std::string> m_files;
    std::vector<PainterSheetOutput::CutLabel> m_cut;
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
