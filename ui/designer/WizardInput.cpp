#include "ui/designer/WizardInput.h"

#include "labels/CustomGeometry.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QSpinBox>

namespace qx7 {

namespace {

QString separator()
{
    return QLocale().decimalPoint();
}

// Lets through the keys that move the caret, the focus or the value, and the digits
// 1..9 while the count has fewer than two of them.
class NonZeroDigitFilter : public QObject
{
public:
    NonZeroDigitFilter(QSpinBox* spin) : QObject(spin), m_spin(spin) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return false;
        default:
            break;
        }
        if (key->key() >= Qt::Key_1 && key->key() <= Qt::Key_9 &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            QLineEdit* edit = m_spin->findChild<QLineEdit*>();
            const int kept = edit ? int(edit->text().size() - edit->selectedText().size()) : 0;
            return kept >= 2;
        }
        return true;
    }

private:
    QSpinBox* m_spin;
};

} // namespace

QValidator* measureValidator(QObject* parent)
{
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*[.,]?[0-9]*")),
                                           parent);
}

void useLocaleSeparator(QLineEdit* edit)
{
    QString text = edit->text();
    const QString sep = separator();
    const int caret = edit->cursorPosition();
    text.replace(QLatin1Char('.'), sep).replace(QLatin1Char(','), sep);
    if (text != edit->text()) {
        edit->setText(text);
        edit->setCursorPosition(caret);
    }
}

QString measureText(double value)
{
    return QString::fromStdString(formatMeasure(value)).replace(QLatin1Char('.'), separator());
}

double measureValue(const QString& text)
{
    QString t = text.trimmed();
    t.replace(separator(), QStringLiteral(".")).replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? v : 0.0;
}

void refuseAllButNonZeroDigits(QSpinBox* spin)
{
    auto* filter = new NonZeroDigitFilter(spin);
    spin->installEventFilter(filter);
    if (QLineEdit* edit = spin->findChild<QLineEdit*>())
        edit->installEventFilter(filter);
}

} // namespace qx7
