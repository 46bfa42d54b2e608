#pragma once
// "QSL sent/rcvd Date": the dates that flagging a QSL as sent or received writes beside
// the flag. Each is a day or no date; "Today" takes effect at once, the fields on OK.

#include "core/DateFormat.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace qx7 {

class TQXQslDateDlg : public QDialog
{
    Q_OBJECT
public:
    TQXQslDateDlg(std::optional<Date>& sent, std::optional<Date>& rcvd, QWidget* parent = nullptr);

    QLineEdit* sentEdit() const { return m_sent; }
    QLineEdit* rcvdEdit() const { return m_rcvd; }
    QPushButton* okButton() const { return m_ok; }

    // "dd-mm-yyyy": `valid` false when the text is neither that nor the blank form; the
    // result is the day, or nothing for the blank form.
    static std::optional<Date> parse(const QString& text, bool& valid);
    static QString format(const std::optional<Date>& d);

private:
    QLineEdit* makeField(QWidget* parent);
    void takeFields();

    std::optional<Date>& m_sentDate;
    std::optional<Date>& m_rcvdDate;
    QLineEdit* m_sent = nullptr;
    QLineEdit* m_rcvd = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace qx7
