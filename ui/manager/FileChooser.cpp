#include "ui/manager/FileChooser.h"

#include <QDir>
#include <QFileDialog>

namespace qx7 {

QString chooseFileWithDialog(QWidget* parent, FileRequest& request)
{
    QFileDialog dialog(parent, request.caption, request.folder);
    dialog.setNameFilters(request.filters);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.defaultName.isEmpty())
        dialog.selectFile(request.defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    request.chosenFilter =
        std::max<int>(0, static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().first();
}

} // namespace qx7
