#include "ui/wizard/TQXSaveADIFForm.h"

#include "core/Prompter.h"
#include "datamodule/TQXDM.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace qx7 {

TQXSaveADIFForm::TQXSaveADIFForm(TQXDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TQXSaveADIFForm"));
    setWindowTitle(tr("Export Print Queue to ADIF File"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(tr("ADIF file:")));
    auto* row = new QHBoxLayout;
    m_file = new QLineEdit;
    m_file->setObjectName(QStringLiteral("AdifFileEdit"));
    m_file->setReadOnly(true);
    m_file->setMinimumWidth(360);
    auto* browseButton = new QPushButton(tr("&Browse..."));
    browseButton->setObjectName(QStringLiteral("BrowseButton"));
    row->addWidget(m_file);
    row->addWidget(browseButton);
    v->addLayout(row);
    m_appendGroup = new QGroupBox;
    m_appendGroup->setObjectName(QStringLiteral("AppendRadioGroup"));
    auto* g = new QVBoxLayout(m_appendGroup);
    m_append = new QRadioButton(tr("Append new data to ADIF file"));
    m_append->setObjectName(QStringLiteral("AppendRadio"));
    m_overwrite = new QRadioButton(tr("Overwrite ADIF file"));
    m_overwrite->setObjectName(QStringLiteral("OverwriteRadio"));
    m_append->setChecked(true);
    g->addWidget(m_append);
    g->addWidget(m_overwrite);
    v->addWidget(m_appendGroup);
    m_empty = new QCheckBox(tr("Empty Print Queue after Export"));
    m_empty->setObjectName(QStringLiteral("EmptyQueueCheckBox"));
    m_empty->setChecked(true);
    v->addWidget(m_empty);
    auto* buttons = new QHBoxLayout;
    m_export = new QPushButton(tr("&Export"));
    m_export->setObjectName(QStringLiteral("ExportButton"));
    m_export->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons->addStretch();
    buttons->addWidget(m_export);
    buttons->addWidget(cancel);
    v->addLayout(buttons);
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
    connect(m_export, &QPushButton::clicked, this, [this] { exportNow(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    showFile(QString::fromStdString(m_dm.QXADIFExportPath));
}

QString TQXSaveADIFForm::exportFile() const
{
    return m_file->text();
}

void TQXSaveADIFForm::showFile(const QString& file)
{
    m_file->setText(file);
    m_export->setEnabled(!file.isEmpty());
    m_appendGroup->setVisible(!file.isEmpty() && QFileInfo::exists(file));
}

void TQXSaveADIFForm::browse()
{
    const QString current = m_file->text();
    const QString folder =
        current.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                                QStringLiteral("/*.adi")
                          : current;
    const QString filter = tr("ADIF Files (*.adi)");
    QString chosen =
        m_choose ? m_choose(tr("Export Print Queue to ADIF File"), folder, filter)
                 : QFileDialog::getSaveFileName(this, tr("Export Print Queue to ADIF File"), folder,
                                                filter, nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) {
        m_export->setEnabled(false);
        return;
    }
    // The journal itself cannot be its own target: the export reads it while writing.
    if (QFileInfo(chosen).absoluteFilePath() ==
        QFileInfo(QString::fromStdString(m_dm.journal().path())).absoluteFilePath()) {
        m_export->setEnabled(false);
        return;
    }
    if (QFileInfo(chosen).suffix().compare(QLatin1String("adi"), Qt::CaseInsensitive) != 0)
        chosen = QDir(QFileInfo(chosen).path())
                     .filePath(QFileInfo(chosen).completeBaseName() + QStringLiteral(".adi"));
    m_dm.QXADIFExportPath = QDir::toNativeSeparators(chosen).toStdString();
    showFile(QDir::toNativeSeparators(chosen));
}

void TQXSaveADIFForm::exportNow()
{
    const QString file = m_file->text();
    if (file.isEmpty())
        return;
    const bool append = m_appendGroup->isVisible() && m_append->isChecked();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = m_dm.ExportAdifFile(file.toStdString(), append);
    QApplication::restoreOverrideCursor();
    m_dm.QXADIFExportPath = file.toStdString();
    if (!ok) {
        m_dm.prompter().error("Cannot write the ADIF file " + file.toStdString());
        return;
    }
    if (m_empty->isChecked())
        m_dm.EmptyPrintQueue();
    accept();
}

} // namespace qx7
