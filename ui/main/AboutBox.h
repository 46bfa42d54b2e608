#pragma once
// The about box: the program's name and version, with a way to its web page.

#include <QDialog>

#include <functional>

namespace qx7 {

class TQXAboutBox : public QDialog
{
    Q_OBJECT
public:
    // `openWebsite` runs when "&QX Website" is pressed.
    TQXAboutBox(std::function<void()> openWebsite, QWidget* parent = nullptr);
};

} // namespace qx7
