#pragma once
// A label designer on a temporary folder for the designer's window tests, with helpers
// to find its controls and to keep pictures of its windows for the documentation.

#include "core/Prompter.h"
#include "ui/designer/TQXDesigner.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace qx7::designertest {

// Pictures of the windows for the documentation when QX7_SCREENSHOT_DIR is set.
inline void keepPicture(QWidget& w, const char* name)
{
    QCoreApplication::processEvents();
    const QString dir = qEnvironmentVariable("QX7_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(w.grab().save(QDir(dir).filePath(QLatin1String(name) + ".png"))) << name;
    }
}

template <class T>
T* child(QWidget& w, const char* name)
{
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The designer with a prompter that keeps what it was told, and a folder for its files.
class DesignerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_designer.setPrompter(m_prompter);
    }

    QTemporaryDir m_dir;
    SilentPrompter m_prompter;
    TQXDesigner m_designer;
};

} // namespace qx7::designertest
