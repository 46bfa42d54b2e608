#pragma once
// The help window: a browser over the compiled-in topics with their list beside it.
// One window serves the whole program; asking for a topic brings it to the front.

#include <QDialog>

class QDialogButtonBox;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QWidget;

namespace qx7 {

class HelpWindow final : public QDialog
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the one help window at `topic` (and creates it first when needed).
    static HelpWindow* showTopic(const QString& topic, QWidget* parent = nullptr);
    // The window shown by showTopic, or nullptr.
    static HelpWindow* instance();

    void openTopic(const QString& topic);
    QString currentTopic() const { return m_topic; }

private:
    void connectSignals();

    QListWidget* m_list;
    QTextBrowser* m_browser;
    QString m_topic;
};

// Adds "&Help" to a dialog's buttons; pressing it opens `topic`.
QPushButton* addHelpButton(QDialogButtonBox& buttons, const char* topic);

} // namespace qx7
